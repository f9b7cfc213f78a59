// Calls that only newer Windows versions have, looked up at run time so that
// the program still starts on the older ones; and system DLLs that only some
// runs need, loaded when they do.
#pragma once

#include <windows.h>

#include "common/bounded_text.h"

// The function `name` of the loaded system module `module` (kernel32.dll,
// user32.dll), as a `Function` pointer; null where this Windows lacks it.
template <typename Function>
Function SystemFunction(const char* module, const char* name) {
    return reinterpret_cast<Function>(GetProcAddress(GetModuleHandleA(module), name));
}

// Loads the system DLL `name` by its full path in the system folder, so that
// no file of that name beside the program or in the current folder is taken,
// on any Windows version. Null when it cannot be loaded.
inline HMODULE LoadSystemLibrary(const char* name) {
    char path[MAX_PATH];
    UINT length = GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH || !AppendText(path, "\\") || !AppendText(path, name))
        return nullptr;
    return LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
