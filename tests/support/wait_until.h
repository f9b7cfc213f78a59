// A bounded wait for something another thread or process does. Header only:
// the tests and the start-up benchmark share it.
#pragma once

#include <windows.h>

#include <functional>

// Asks `done` every few milliseconds until it says yes or `wait` ms have
// passed; its last answer.
inline bool WaitUntil(const std::function<bool()>& done, DWORD wait) {
    DWORD start = GetTickCount();
    for (;;) {
        if (done()) return true;
        if (GetTickCount() - start >= wait) return false;
        Sleep(5);
    }
}
