#include "skin/text_label.h"

#include <oleacc.h>

#include "common/bounded_text.h"
#include "skin/skin_bitmap.h"
#include "skin/skin_draw.h"

TextLabel::TextLabel(ControlHost* host, int x, int y, const char* text, const char* statusText)
    : SkinControl(host, statusText), bounds{x, y, x, y} {
    active = 0;
    this->text[0] = '\0';
    if (text) CopyText(this->text, text);
}

int TextLabel::OnMouse(HWND, UINT, WPARAM, LPARAM) {
    return 0;
}

void TextLabel::Paint(HDC dc) {
    if (!visible) {
        if (host->background) host->background->TileFill(dc, bounds);
        return;
    }
    SetTextColor(dc, 0);
    bounds = DrawMeasuredText(dc, bounds.left, bounds.top, text);
}

RECT TextLabel::Bounds() {
    return bounds;
}

int TextLabel::AccessibleRole() {
    return ROLE_SYSTEM_STATICTEXT;
}

const char* TextLabel::AccessibleName() {
    return text;
}
