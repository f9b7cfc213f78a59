#include "skin/text_label.h"

#include "common/bounded_text.h"
#include "skin/skin_bitmap.h"
#include "skin/skin_contrast.h"
#include "skin/skin_draw.h"

TextLabel::TextLabel(ControlHost* host, int x, int y, const char* text, const char* statusText)
    : SkinControl(host, statusText), bounds{x, y, x, y} {
    active = 0;
    this->text[0] = '\0';
    if (text) CopyText(this->text, text);
}

void TextLabel::Paint(HDC dc) {
    if (!visible) {
        FillBehind(host, dc, bounds);
        return;
    }
    SetTextColor(dc, SkinTextColour());
    bounds = DrawMeasuredText(dc, bounds.left, bounds.top, text);
}
