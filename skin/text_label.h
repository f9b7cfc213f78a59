// A line of text painted on the skin: a label that screen readers read as
// static text. It never takes the mouse or the keyboard focus. The link label
// is one that does.
#pragma once

#include <windows.h>

#include "skin/skin_control.h"

constexpr int kLabelTextSize = 60;  // NUL included

class TextLabel : public SkinControl {
  public:
    // The text's top-left corner at (x, y). A text longer than 59 characters,
    // or none, leaves the label empty. Created inactive; until the first
    // Paint the label covers only that corner point.
    TextLabel(ControlHost* host, int x, int y, const char* text, const char* statusText = nullptr);

    // Puts the text's top-left corner at (x, y); until the next Paint the
    // label covers only that point.
    void MoveTo(int x, int y) { SetRect(&bounds, x, y, x, y); }

    int OnMouse(HWND, UINT, WPARAM, LPARAM) override { return 0; }
    // Visible: the text in the skin's text colour (SkinTextColour) in the DC's font, measured into
    // `bounds`. Hidden: the background over the measured bounds.
    void Paint(HDC dc) override;
    // The measured text, as static text named by it.
    RECT Bounds() override { return bounds; }
    int AccessibleRole() override { return ROLE_SYSTEM_STATICTEXT; }
    const char* AccessibleName() override { return text; }

    RECT bounds;  // the text's rectangle as last measured
    char text[kLabelTextSize];
};
