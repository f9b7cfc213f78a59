// The real keyboard, typed into another program the way a user types: the
// system hands each key to the window that has the keyboard focus in the
// foreground program. Header only, beside pointer_input.h.
#pragma once

#include <windows.h>

#include <vector>

#include "support/wait_until.h"

// Puts `window` in the foreground, where typed keys go; false when it does
// not get there within a second.
inline bool BringToFront(HWND window) {
    SetForegroundWindow(window);
    return WaitUntil([&] { return GetForegroundWindow() == window; }, 1000);
}

// Presses and releases `key`, with Shift held around it when asked.
inline bool TypeKey(WORD key, bool shift = false) {
    std::vector<INPUT> keys;
    auto add = [&](WORD code, DWORD flags) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = code;
        input.ki.dwFlags = flags;
        keys.push_back(input);
    };
    if (shift) add(VK_SHIFT, 0);
    add(key, 0);
    add(key, KEYEVENTF_KEYUP);
    if (shift) add(VK_SHIFT, KEYEVENTF_KEYUP);
    UINT count = static_cast<UINT>(keys.size());
    return SendInput(count, keys.data(), sizeof keys[0]) == count;
}

// The window that has the keyboard focus in the thread of `window`.
inline HWND FocusOf(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}
