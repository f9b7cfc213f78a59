// SkinContext::DispatchWindow: the skinned window's messages besides the mouse's.
#include <oleacc.h>

#include "skin/skin_accessible.h"
#include "skin/skin_context.h"
#include "skin/skin_contrast.h"
#include "skin/skin_control.h"
#include "skin/skin_focus.h"

namespace {

// A point outside every control: offered as a move, it wipes the status text
// and ends a pressed phase.
const LPARAM kNowhere = MAKELPARAM(0xFFFF, 0xFFFF);

POINT ClientPoint(HWND window, LPARAM screen) {
    POINT point = {static_cast<short>(LOWORD(screen)), static_cast<short>(HIWORD(screen))};
    ScreenToClient(window, &point);
    return point;
}

// Enter presses a button or a link; elsewhere it keeps the window's meaning.
bool EnterPresses(SkinControl* control) {
    int role = control->AccessibleRole();
    return role == ROLE_SYSTEM_PUSHBUTTON || role == ROLE_SYSTEM_LINK;
}

}  // namespace

int SkinContext::DispatchWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                LRESULT* result) {
    *result = 0;
    SkinControl* focused = host->focused;
    switch (message) {
    case WM_NEXTDLGCTL:
        if (LOWORD(lParam)) return 0;
        StepSkinFocus(host, wParam != 0);
        return 1;
    case WM_GETDLGCODE: {
        if (!focused) return 0;
        const MSG* key = reinterpret_cast<const MSG*>(lParam);
        *result = DLGC_WANTARROWS;
        if (key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN && EnterPresses(focused))
            *result |= DLGC_WANTMESSAGE;
        return 1;
    }
    case WM_KEYDOWN:
        if (!focused) return 0;
        // The first press only: a held key does not repeat the action.
        if ((wParam == VK_SPACE || wParam == VK_RETURN) && !(lParam & 0x40000000) &&
            focused->CanTakeFocus()) {
            ShowFocusCues(host);
            focused->DoDefaultAction(window);
        }
        return 1;
    case WM_ACTIVATE:
        // A dialog would give the focus back to the child that had it last.
        if (!focused || LOWORD(wParam) == WA_INACTIVE) return 0;
        SetFocus(window);
        return 1;
    case WM_SETFOCUS:
        if (!focused) return 0;
        UpdateFocusMark(host, nullptr, false);
        focused->NotifyEvent(EVENT_OBJECT_FOCUS);
        return 1;
    case WM_KILLFOCUS:
        // A child window takes the focus from the controls; another window
        // only hides the mark until the focus comes back.
        host->focused = nullptr;
        UpdateFocusMark(host, nullptr, false);
        if (!wParam || !IsChild(window, reinterpret_cast<HWND>(wParam))) host->focused = focused;
        return 0;
    case WM_NCHITTEST: {
        POINT point = ClientPoint(window, lParam);
        RECT client;
        GetClientRect(window, &client);
        if (!PtInRect(&client, point) || ControlAt(host, point, true)) return 0;
        *result = HTCAPTION;
        return 1;
    }
    case WM_SETCURSOR: {
        if (reinterpret_cast<HWND>(wParam) != window || LOWORD(lParam) != HTCLIENT) return 0;
        POINT point;
        GetCursorPos(&point);
        ScreenToClient(window, &point);
        SkinControl* control = ControlAt(host, point, true);
        HCURSOR cursor = control ? control->Cursor() : nullptr;
        if (!cursor) return 0;
        SetCursor(cursor);
        *result = TRUE;
        return 1;
    }
    case WM_MOUSEMOVE:
        if (!host->trackingLeave) {
            TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, window, 0};
            host->trackingLeave = TrackMouseEvent(&track) ? 1 : 0;
        }
        return 0;
    case WM_MOUSELEAVE:
        host->trackingLeave = 0;
        DispatchMouse(window, WM_MOUSEMOVE, 0, kNowhere);
        return 0;
    case WM_NCMOUSEMOVE: {
        POINT point = ClientPoint(window, lParam);
        DispatchMouse(window, WM_MOUSEMOVE, 0, MAKELPARAM(point.x, point.y));
        return 0;
    }
    case WM_SETTINGCHANGE:
        if (wParam != SPI_SETHIGHCONTRAST) return 0;
        [[fallthrough]];
    case WM_SYSCOLORCHANGE:
    case WM_THEMECHANGED:
        // The theme or its colours changed: drawn again in the look asked
        // for now; the window's own handling follows.
        ReadHighContrast();
        InvalidateRect(window, nullptr, TRUE);
        return 0;
    case WM_GETOBJECT:
        *result = AnswerGetObject(host, wParam, lParam);
        return *result != 0;
    }
    return 0;
}
