// High contrast: while the user's contrast theme is on, the skin draws in the
// system's colours instead of its artwork (no background bitmap, texts in the
// theme's text colour, the buttons framed in its button colours, the check
// cells drawn by the system). With it off, nothing of the skin changes.
#pragma once

#include <windows.h>

#include "skin/control_host.h"

// Whether the theme was on when ReadHighContrast last asked; 0 before.
extern int HighContrast;

// Asks the system whether a contrast theme is on and records it; a failing
// query counts as off. The dialog's one system control, the list, has no
// visual style (the manifest asks for no themed controls), so the system
// draws it in the theme's colours by itself.
void ReadHighContrast();

// The colour of the skin's texts: black, or the theme's text colour.
COLORREF SkinTextColour();

// Fills `rect` of `dc` with what lies behind the controls: the host's
// background tiled, or the theme's window colour. Nothing without a
// background (the system then erases the window).
void FillBehind(const ControlHost* host, HDC dc, const RECT& rect);

// Fills `rect` of `dc` with the system colour `index`, or frames it with a
// line of that colour `frame` pixels wide (0 fills).
void FillSystemColour(HDC dc, RECT rect, int index, int frame = 0);
