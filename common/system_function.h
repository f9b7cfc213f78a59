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
