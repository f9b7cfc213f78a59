// Keyboard focus among the skinned controls of a window, and its mark. The
// controls are no windows: while one of them has the focus, the window itself
// holds the real keyboard focus and the skin remembers which control it is
// for. The window's owner says the order in which Tab visits the controls and
// the child windows; the skin draws a dotted frame around the focused control
// once the keyboard has been used, as the system does for its own controls.
#pragma once

#include <windows.h>

#include "skin/control_host.h"

// A stop of the focus order: a skinned control, or with control null a child
// window of the skinned window, which takes the real focus itself. A stop
// with neither never takes the focus.
struct FocusStop {
    SkinControl* control;
    HWND child;
};

// Gives the focus to `control` (which should be able to take it), moving the
// real focus to the skinned window, brings the mark up to date and tells
// screen readers. Null takes it from every control; the mark goes.
void SetSkinFocus(ControlHost* host, SkinControl* control);

// Tab (backward: Shift+Tab): from the stop that has the focus now, moves it
// to the next (previous) stop that can take it, round the order; from none,
// to the first (last). A control can take it while active, visible and with
// a default action, a child window while visible and enabled. Shows the focus
// cues.
void StepSkinFocus(ControlHost* host, bool backward);

// The keyboard has been used: the mark shows from now on.
void ShowFocusCues(ControlHost* host);

// Brings the mark on `dc` (the host's DC of the moment when null) up to date:
// a dotted frame one pixel outside the focused control's bounds while the
// cues show, the control is visible and the window holds the real focus;
// otherwise none. `repaint` draws it even when it is already there (the paint
// cycle has painted over it). The frame is composed in the back buffer over
// the background and copied edge by edge; each dot is black on light ground
// and white on dark.
void UpdateFocusMark(ControlHost* host, HDC dc, bool repaint);
