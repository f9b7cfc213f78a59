#include <string.h>

#include "skin/skin_bitmap.h"
#include "skin/skin_contrast.h"
#include "skin/skin_control.h"
#include "skin/skin_draw.h"

COLORREF StatusTextColor;

// The text goes into the back buffer over freshly tiled background and then
// to the window in one block transfer, so it never flickers.
void SkinControl::ShowStatus(int state) {
    if (state == statusState || statusText[0] == '\0') return;
    // One move can take the pointer from a control straight onto one
    // registered before it, which has then drawn its text already: the
    // control left behind must not wipe that.
    if (state == 0 && host->statusOwner != this) {
        statusState = 0;
        return;
    }
    HDC memoryDc = host->memoryDc;
    const RECT& rect = host->statusRect;
    FillBehind(host, memoryDc, rect);
    SetTextColor(memoryDc, HighContrast ? SkinTextColour() : StatusTextColor);

    const char* at = strchr(statusText, '@');
    const char* part = state == 1 ? statusText : state == 2 && at ? at + 1 : "";
    int length = state == 1 && at ? static_cast<int>(at - statusText) : lstrlenA(part);
    if (length) TextOutA(memoryDc, rect.left, rect.top, part, length);
    if (host->currentDc) BlitRect(host->currentDc, memoryDc, &rect);
    host->statusOwner = state == 0 ? nullptr : this;
    statusState = state;
}
