// The benchmarks' clock and their plain test window.
#pragma once

#include <windows.h>

// Milliseconds from an arbitrary start, from the performance counter.
inline double NowMs() {
    static LARGE_INTEGER frequency;
    if (!frequency.QuadPart) QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart * 1000.0 / frequency.QuadPart;
}

inline LRESULT CALLBACK QuietWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) return 1;
    return DefWindowProcA(window, message, wParam, lParam);
}

// A visible popup of `width` x `height` that erases nothing, its first
// messages handled; null when it cannot be made.
inline HWND CreateBenchWindow(const char* className, int width, int height) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = QuietWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, className, "", WS_POPUP | WS_VISIBLE, 40, 40,
                                  width, height, nullptr, nullptr, windowClass.hInstance, nullptr);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    return window;
}
