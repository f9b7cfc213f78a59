// Calls that only newer Windows versions have, looked up at run time so that
// the program still starts on the older ones.
#pragma once

#include <windows.h>

// The function `name` of the loaded system module `module` (kernel32.dll,
// user32.dll), as a `Function` pointer; null where this Windows lacks it.
template <typename Function>
Function SystemFunction(const char* module, const char* name) {
    return reinterpret_cast<Function>(GetProcAddress(GetModuleHandleA(module), name));
}

// Loads the system library `name` (bcrypt.dll, xmllite.dll) by its full path
// in the system folder, and the libraries it imports from there first: never
// a copy beside the program or in the current folder, on every Windows the
// program runs on. Null, with the platform's error (ERROR_FILENAME_EXCED_RANGE
// for a path that does not fit), when it cannot be loaded.
HMODULE LoadSystemLibrary(const char* name);
