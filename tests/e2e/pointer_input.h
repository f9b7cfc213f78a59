// The real mouse pointer, moved and clicked over another program's window
// the way a user would: the system moves the pointer and the window under it
// receives the messages. Header only: the end-to-end tests and the
// benchmarks share it.
#pragma once

#include <windows.h>

#include "support/wait_until.h"

namespace pointer_input_detail {

inline bool PointerIsAt(POINT target) {
    POINT now = {};
    return GetCursorPos(&now) && now.x == target.x && now.y == target.y;
}

}  // namespace pointer_input_detail

// Moves the pointer to a point of the screen; false when it does not stay
// there within a second. Under Wine the system's idea of the pointer can
// lag behind the display's: a program just started may believe the pointer
// is where it wants it while the display has it elsewhere (and Wine moves
// the display's pointer only when the system's changes), and a window under
// the pointer may still report where an earlier move took it. So a pointer
// believed there already is first nudged one pixel aside, and it is moved
// again until it stays.
inline bool MovePointer(int x, int y) {
    using pointer_input_detail::PointerIsAt;
    POINT target = {x, y};
    if (PointerIsAt(target)) SetCursorPos(x + 1, y);
    DWORD start = GetTickCount();
    do {
        if (SetCursorPos(x, y) && PointerIsAt(target)) {
            Sleep(5);
            if (PointerIsAt(target)) return true;
        }
        Sleep(5);
    } while (GetTickCount() - start < 1000);
    return false;
}

// Moves the pointer to the point (x, y) of the window's client area.
inline bool PointAt(HWND window, int x, int y) {
    POINT target = {x, y};
    return ClientToScreen(window, &target) && MovePointer(target.x, target.y);
}

// Moves the pointer to the screen's top-left corner, away from any dialog
// centred on the screen.
inline bool ParkPointer() {
    return MovePointer(0, 0);
}

// The left button at a point of the screen: down, up, or (by default)
// both, a click. The pointer goes there with the button, in the same input:
// under Wine a program busy painting may still report a place the pointer
// left, and a button pressed "where the pointer is" could land there.
inline bool PressLeftButton(POINT at, bool down = true, bool up = true) {
    // Absolute places run from 0 to 65536 across the primary screen; this
    // rounds up so that the system's rounding down gives back `at`.
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    INPUT clicks[2] = {};
    UINT count = 0;
    if (down) clicks[count++].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    if (up) clicks[count++].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    for (UINT i = 0; i < count; ++i) {
        clicks[i].type = INPUT_MOUSE;
        clicks[i].mi.dwFlags |= MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        clicks[i].mi.dx = static_cast<LONG>((at.x * 65536LL + width - 1) / width);
        clicks[i].mi.dy = static_cast<LONG>((at.y * 65536LL + height - 1) / height);
    }
    return SendInput(count, clicks, sizeof clicks[0]) == count;
}

// Waits until the thread of `window` has left the system's move loop and
// holds no capture: only then has a drag ended. A window may already stand
// where the drag took it while the loop still runs, and a key sent then
// reaches the loop (which takes Escape as "put the window back").
inline bool WaitForDragEnd(HWND window, DWORD wait) {
    DWORD thread = GetWindowThreadProcessId(window, nullptr);
    return WaitUntil(
        [&] {
            GUITHREADINFO info = {};
            info.cbSize = sizeof info;
            return GetGUIThreadInfo(thread, &info) && !(info.flags & GUI_INMOVESIZE) &&
                   !info.hwndCapture;
        },
        wait);
}
