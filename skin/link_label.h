// A line of underlined text that behaves like a hyperlink: blue until it has
// been clicked and purple afterwards, the hand cursor over it, and a
// WM_CONTROL_NOTIFY as soon as the left button goes down on it.
#pragma once

#include <windows.h>

#include "skin/text_label.h"

constexpr COLORREF kLinkColour = RGB(0, 0, 0xFF);
constexpr COLORREF kVisitedLinkColour = RGB(0x80, 0, 0x80);

class LinkLabel : public TextLabel {
  public:
    // A TextLabel at the top-left corner of `place` (the rest is not used),
    // but created active.
    LinkLabel(ControlHost* host, const RECT* place, const char* text, int commandId,
              const char* statusText);

    // Over the label (edges included): a move shows the status text, sets the
    // hand cursor and is consumed; a left-button press marks the label
    // visited, posts `commandId` and is consumed. A move elsewhere clears the
    // status text. Every other message returns 0.
    int OnMouse(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    // Visible: draws the text in UnderlineFont and the link's colour (in high
    // contrast the system's, visited or not) onto `dc` without erasing, and
    // measures it into `bounds`; `dc` keeps its font and is left with the
    // skin's text colour. Hidden: the background over the measured
    // bounds (nothing before the first paint).
    void Paint(HDC dc) override;
    // A link, visited once clicked, whose action jumps: marks it visited and
    // posts `commandId`, as a click does.
    int AccessibleRole() override { return ROLE_SYSTEM_LINK; }
    int AccessibleState() override;
    const char* DefaultActionName() override { return "Jump"; }
    void DoDefaultAction(HWND window) override;
    HCURSOR Cursor() override { return HandCursor.Get(); }
    // The value of a link: 1 once visited. Setting it marks or clears that.
    int GetValue() override { return visited; }
    void SetValue(int value) override { visited = value; }

    int visited;  // clicked at least once; only SetValue clears it
};
