#include "skin/link_label.h"

#include "common/bounded_text.h"
#include "common/handles.h"
#include "skin/skin_bitmap.h"
#include "skin/skin_draw.h"

LinkLabel::LinkLabel(ControlHost* host, const RECT* place, const char* text, int commandId,
                     const char* statusText)
    : SkinControl(host, statusText), visited(0) {
    SetRect(&bounds, place->left, place->top, place->left, place->top);
    this->text[0] = '\0';
    if (text) CopyText(this->text, text);
    this->commandId = commandId;
}

// The click is reported on the press: the release may happen anywhere.
int LinkLabel::OnMouse(HWND window, UINT message, WPARAM, LPARAM lParam) {
    UINT code = message & 0xFFFF;
    if (!HitTest(bounds.left, bounds.top, bounds.right, bounds.bottom, lParam)) {
        if (code == WM_MOUSEMOVE) ShowStatus(0);
        return 0;
    }
    if (code == WM_MOUSEMOVE) {
        ShowStatus(1);
        SetCursor(HandCursor);
        return 1;
    }
    if (code == WM_LBUTTONDOWN) {
        visited = 1;
        PostNotify(window, commandId);
        return 1;
    }
    return 0;
}

void LinkLabel::Paint(HDC dc) {
    if (!visible) {
        if (host->background) host->background->TileFill(dc, bounds);
        return;
    }
    SelectGuard font(dc, UnderlineFont);
    SetTextColor(dc, visited ? kVisitedLinkColour : kLinkColour);
    DrawTextAt(dc, bounds.left, bounds.top, text);
    // Whoever draws on this DC next expects black text.
    SetTextColor(dc, 0);
    SIZE extent = {};
    GetTextExtentPoint32A(dc, text, lstrlenA(text), &extent);
    bounds.right = bounds.left + extent.cx;
    bounds.bottom = bounds.top + extent.cy;
}
