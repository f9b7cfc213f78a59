#include "skin/skin_draw.h"

void DrawTextAt(HDC dc, int x, int y, const char* text) {
    TextOutA(dc, x, y, text, lstrlenA(text));
}

RECT DrawMeasuredText(HDC dc, int x, int y, const char* text) {
    int length = lstrlenA(text);
    TextOutA(dc, x, y, text, length);
    SIZE extent = {};
    GetTextExtentPoint32A(dc, text, length, &extent);
    return RECT{x, y, x + extent.cx, y + extent.cy};
}

BOOL BlitRect(HDC dest, HDC source, const RECT* rect) {
    return BitBlt(dest, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top,
                  source, rect->left, rect->top, SRCCOPY);
}
