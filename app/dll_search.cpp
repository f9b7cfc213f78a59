#include "app/dll_search.h"

#include <windows.h>

#include "common/system_function.h"

void RestrictDllSearch() {
    // Windows 7 has SetDefaultDllDirectories only with an update installed.
    using SetDefaultDllDirectoriesProc = BOOL(WINAPI*)(DWORD);
    auto setDefault =
        SystemFunction<SetDefaultDllDirectoriesProc>("kernel32.dll", "SetDefaultDllDirectories");
    if (!setDefault || !setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) SetDllDirectoryA("");
}
