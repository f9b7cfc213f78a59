// The drawing helpers the controls share besides their bitmaps.
#pragma once

#include <windows.h>

// Draws the whole NUL-terminated `text` with its top-left corner at (x, y),
// in the DC's font, colour and background mode.
void DrawTextAt(HDC dc, int x, int y, const char* text);
// DrawTextAt, then measures the text in the DC's font: returns the rectangle
// it covers, from (x, y) to (x + width, y + height).
RECT DrawMeasuredText(HDC dc, int x, int y, const char* text);

// Copies `rect` of `source` to the same place on `dest` with one block
// transfer; returns the block transfer's result (zero on failure).
BOOL BlitRect(HDC dest, HDC source, const RECT* rect);
