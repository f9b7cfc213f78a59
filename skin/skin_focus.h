// Keyboard focus among the skinned controls of a window, and its mark. The
// controls are no windows: while one of them has the focus, the window itself
// holds the real keyboard focus and the skin remembers for which control.
#pragma once

#include <windows.h>

#include "skin/control_host.h"

// A stop of the focus order, which the window's owner gives: a skinned
// control, or with control null a child window, which takes the real focus
// itself. A stop with neither never takes the focus.
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
// to the first (last). A child window can take it while visible and enabled.
// Shows the focus cues.
void StepSkinFocus(ControlHost* host, bool backward);

// The keyboard has been used: the mark shows from now on.
void ShowFocusCues(ControlHost* host);

// Brings the mark on `dc` (the host's DC of the moment when null) up to date:
// a dotted frame one pixel outside the focused control's bounds while the
// cues show (always in high contrast), the control is visible and the window holds the real focus;
// otherwise none. `repaint` draws it even when it is already there (the paint
// cycle has painted over it). Each dot is black on light ground, white on dark;
// in high contrast the theme's text colour.
void UpdateFocusMark(ControlHost* host, HDC dc, bool repaint);
