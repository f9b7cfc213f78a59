#include "skin/skin_focus.h"

#include <oleacc.h>

#include "skin/skin_bitmap.h"
#include "skin/skin_contrast.h"
#include "skin/skin_control.h"
#include "skin/skin_draw.h"

namespace {

// The stop that has the focus now, or -1.
int CurrentStop(const ControlHost* host) {
    HWND focus = GetFocus();
    for (int i = 0; i < host->focusStops; ++i) {
        const FocusStop& stop = host->focusOrder[i];
        bool here = stop.control ? focus == host->window && stop.control == host->focused
                                 : focus && (focus == stop.child || IsChild(stop.child, focus));
        if (here) return i;
    }
    return -1;
}

bool CanTakeFocus(const FocusStop& stop) {
    if (stop.control) return stop.control->CanTakeFocus();
    return IsWindowVisible(stop.child) && IsWindowEnabled(stop.child);
}

RECT WantedMark(const ControlHost* host) {
    RECT mark = {};
    SkinControl* control = host->focused;
    // A contrast theme shows the mark before the keyboard has been used.
    bool cues = host->focusCues || HighContrast;
    if (control && control->visible && cues && GetFocus() == host->window) {
        mark = control->Bounds();
        InflateRect(&mark, 1, 1);
    }
    return mark;
}

// Composes the frame's edges over the background in the back buffer, dotted
// when `dotted`, and copies them to `dest`: the control inside is untouched.
void DrawFrame(const ControlHost* host, HDC dest, const RECT& frame, bool dotted) {
    HDC memoryDc = host->memoryDc;
    if (!memoryDc) return;
    const RECT& f = frame;
    RECT edges[] = {
        {f.left, f.top, f.right, f.top + 1},
        {f.left, f.bottom - 1, f.right, f.bottom},
        {f.left, f.top, f.left + 1, f.bottom},
        {f.right - 1, f.top, f.right, f.bottom},
    };
    for (const RECT& edge : edges) FillBehind(host, memoryDc, edge);
    // Every other pixel of the frame; the frame is at least two pixels each
    // way, so no pixel is visited twice.
    auto dot = [memoryDc](int x, int y) {
        if ((x + y) & 1) return;
        COLORREF ground = GetPixel(memoryDc, x, y);
        int light = GetRValue(ground) * 3 + GetGValue(ground) * 6 + GetBValue(ground);
        COLORREF ink = light < 128 * 10 ? RGB(255, 255, 255) : RGB(0, 0, 0);
        SetPixelV(memoryDc, x, y, HighContrast ? SkinTextColour() : ink);
    };
    if (dotted) {
        for (int x = f.left; x < f.right; ++x) {
            dot(x, f.top);
            dot(x, f.bottom - 1);
        }
        for (int y = f.top + 1; y < f.bottom - 1; ++y) {
            dot(f.left, y);
            dot(f.right - 1, y);
        }
    }
    for (const RECT& edge : edges) BlitRect(dest, memoryDc, &edge);
}

}  // namespace

void SetSkinFocus(ControlHost* host, SkinControl* control) {
    host->focused = control;
    // Taking the real focus brings WM_SETFOCUS, whose handling in
    // DispatchWindow tells screen readers; otherwise it is told here.
    bool taking = control && GetFocus() != host->window;
    if (taking) SetFocus(host->window);
    UpdateFocusMark(host, nullptr, false);
    if (control && !taking) control->NotifyEvent(EVENT_OBJECT_FOCUS);
}

void StepSkinFocus(ControlHost* host, bool backward) {
    int count = host->focusStops;
    int at = CurrentStop(host);
    int start = at >= 0 ? at : backward ? 0 : count - 1;
    host->focusCues = 1;
    for (int step = 1; step <= count; ++step) {
        const FocusStop& stop =
            host->focusOrder[(start + (backward ? count - step : step)) % count];
        if (!CanTakeFocus(stop)) continue;
        SetSkinFocus(host, stop.control);
        if (!stop.control) SetFocus(stop.child);
        return;
    }
    UpdateFocusMark(host, nullptr, false);
}

void ShowFocusCues(ControlHost* host) {
    host->focusCues = 1;
    UpdateFocusMark(host, nullptr, false);
}

void UpdateFocusMark(ControlHost* host, HDC dc, bool repaint) {
    RECT wanted = WantedMark(host);
    RECT& shown = host->focusMark;
    if (!repaint && EqualRect(&wanted, &shown)) return;
    SkinDc own(dc ? nullptr : WindowWithoutDc(host));
    HDC dest = dc ? dc : host->currentDc ? host->currentDc : own.Get();
    if (!dest) return;
    if (!IsRectEmpty(&shown) && !EqualRect(&wanted, &shown)) DrawFrame(host, dest, shown, false);
    if (!IsRectEmpty(&wanted)) DrawFrame(host, dest, wanted, true);
    shown = wanted;
}
