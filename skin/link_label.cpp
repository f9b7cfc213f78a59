#include "skin/link_label.h"

#include <oleacc.h>

#include "common/handles.h"
#include "skin/skin_contrast.h"
#include "skin/skin_draw.h"

LinkLabel::LinkLabel(ControlHost* host, const RECT* place, const char* text, int commandId,
                     const char* statusText)
    : TextLabel(host, place->left, place->top, text, statusText), visited(0) {
    active = 1;
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
        SetCursor(HandCursor.Get());
        return 1;
    }
    if (code == WM_LBUTTONDOWN) {
        DoDefaultAction(window);
        return 1;
    }
    return 0;
}

int LinkLabel::AccessibleState() {
    return STATE_SYSTEM_LINKED | (visited ? STATE_SYSTEM_TRAVERSED : 0);
}

void LinkLabel::DoDefaultAction(HWND window) {
    visited = 1;
    PostNotify(window, commandId);
}

void LinkLabel::Paint(HDC dc) {
    if (!visible) {
        TextLabel::Paint(dc);
        return;
    }
    SelectGuard font(dc, UnderlineFont.Get());
    SetTextColor(dc, HighContrast ? GetSysColor(COLOR_HOTLIGHT)
                     : visited    ? kVisitedLinkColour
                                  : kLinkColour);
    bounds = DrawMeasuredText(dc, bounds.left, bounds.top, text);
    // Whoever draws on this DC next expects the skin's text colour.
    SetTextColor(dc, SkinTextColour());
}
