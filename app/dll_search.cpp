#include "app/dll_search.h"

#include <windows.h>

#include "common/system_function.h"

namespace {

using SetDefaultDllDirectoriesProc = BOOL(WINAPI*)(DWORD);
using SetDllDirectoryProc = BOOL(WINAPI*)(LPCSTR);

}  // namespace

void RestrictDllSearch() {
    auto setDefault =
        SystemFunction<SetDefaultDllDirectoriesProc>("kernel32.dll", "SetDefaultDllDirectories");
    if (setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
    auto setDirectory = SystemFunction<SetDllDirectoryProc>("kernel32.dll", "SetDllDirectoryA");
    if (setDirectory) setDirectory("");
}
