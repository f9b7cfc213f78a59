// The benchmarks' clock.
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
