// The system's themed controls (common controls 6) for the windows the system
// draws for the program: the folder browser and the message boxes. The
// process's manifest does not ask for them, because loading them before the
// dialog shows delays it and the skinned dialog does not need them.
#pragma once

#include <windows.h>

// While it lives, windows this thread creates take the themed controls,
// from the module's manifest resource IDR_THEMED_MANIFEST. Where that cannot be
// activated (no such resource, a system without activation contexts), they
// take the classic look and nothing else changes.
class ThemedControls {
  public:
    ThemedControls();
    ~ThemedControls();
    ThemedControls(const ThemedControls&) = delete;
    ThemedControls& operator=(const ThemedControls&) = delete;

  private:
    ULONG_PTR cookie_ = 0;
    bool active_ = false;
};
