#include "skin/skin_control.h"

#include <string.h>

#include "common/bounded_text.h"
#include "common/handles.h"

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

int SkinControl::GetValue() {
    return 0;
}

void SkinControl::SetValue(int) {}

void SkinControl::Show(int shown) {
    if (shown) erased = 0;
    visible = active = shown ? 1 : 0;
    Redraw();
}

void SkinControl::Redraw() {
    if (erased) return;
    if (host->currentDc) {
        Paint(host->currentDc);
    } else if (host->window) {
        WindowDc dc(host->window);
        if (dc) {
            SelectGuard font(dc.Get(), NormalFont);
            SetBkMode(dc.Get(), TRANSPARENT);
            Paint(dc.Get());
        }
    }
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

RECT* MakeRect(RECT* out, int x, int y, int width, int height) {
    int left = static_cast<short>(x);
    int top = static_cast<short>(y);
    SetRect(out, left, top, left + static_cast<short>(width), top + static_cast<short>(height));
    return out;
}
