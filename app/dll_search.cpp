#include "app/dll_search.h"

#include <windows.h>

namespace {

using SetDefaultDllDirectoriesProc = BOOL(WINAPI*)(DWORD);
using SetDllDirectoryProc = BOOL(WINAPI*)(LPCSTR);

// Looked up at run time: Windows versions without the call must still start.
FARPROC KernelProc(const char* name) {
    return GetProcAddress(GetModuleHandleA("kernel32.dll"), name);
}

}  // namespace

void RestrictDllSearch() {
    auto setDefault =
        reinterpret_cast<SetDefaultDllDirectoriesProc>(KernelProc("SetDefaultDllDirectories"));
    if (setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
    auto setDirectory = reinterpret_cast<SetDllDirectoryProc>(KernelProc("SetDllDirectoryA"));
    if (setDirectory) setDirectory("");
}
