#include "skin/skin_control.h"

#include <oleacc.h>
#include <string.h>

#include "common/bounded_text.h"

SkinControl::SkinControl(ControlHost* host, const char* text)
    : active(1), visible(1), erased(0), statusState(0), commandId(0), host(host) {
    statusText[0] = '\0';
    if (text) CopyText(statusText, text);
    if (host->controlCount < kMaxControls) host->controls[host->controlCount++] = this;
}

SkinControl::~SkinControl() {
    for (int i = 0; i < host->controlCount; ++i) {
        if (host->controls[i] != this) continue;
        int after = host->controlCount - i - 1;
        memmove(&host->controls[i], &host->controls[i + 1], after * sizeof host->controls[0]);
        host->controls[--host->controlCount] = nullptr;
        return;
    }
}

bool SkinControl::CanTakeFocus() {
    return active && visible && DefaultActionName();
}

int SkinControl::ChildId() const {
    for (int i = 0; i < host->controlCount; ++i)
        if (host->controls[i] == this) return i + 1;
    return CHILDID_SELF;
}

void SkinControl::NotifyEvent(DWORD event) {
    if (int id = ChildId()) NotifyWinEvent(event, host->window, OBJID_CLIENT, id);
}

void SkinControl::Show(int shown) {
    if (shown) erased = 0;
    visible = active = shown ? 1 : 0;
    Redraw();
}

void SkinControl::Redraw() {
    if (erased) return;
    SkinDc own(WindowWithoutDc(host));
    if (HDC dc = host->currentDc ? host->currentDc : own.Get()) Paint(dc);
    if (!visible) erased = 1;
}

int SkinControl::HitTest(int left, int top, int right, int bottom, LPARAM lParam) {
    int x = LOWORD(lParam);
    int y = HIWORD(lParam);
    return left <= x && x <= right && top <= y && y <= bottom;
}

void SkinControl::PostNotify(HWND window, int id) {
    if (id) PostMessageA(window, WM_CONTROL_NOTIFY, static_cast<WPARAM>(id), 0);
}

SkinControl* ControlAt(const ControlHost* host, POINT point, bool activeOnly) {
    LPARAM at = MAKELPARAM(point.x, point.y);
    for (int i = 0; i < host->controlCount; ++i) {
        SkinControl* control = host->controls[i];
        RECT b = control->Bounds();
        if ((activeOnly ? control->active : control->visible) &&
            SkinControl::HitTest(b.left, b.top, b.right, b.bottom, at))
            return control;
    }
    return nullptr;
}

RECT* MakeRect(RECT* out, int x, int y, int width, int height) {
    int left = static_cast<short>(x);
    int top = static_cast<short>(y);
    SetRect(out, left, top, left + static_cast<short>(width), top + static_cast<short>(height));
    return out;
}
