// The base of the skinned controls: registration with the window's
// ControlHost, showing and hiding, immediate repainting, the hover text in the
// host's status rectangle, the inclusive hit test and the click notification.
#pragma once

#include <windows.h>

#include <oleacc.h>

#include <new>
#include <utility>

#include "skin/control_host.h"

// Posted (never sent) by a control to its window: wParam is the control's
// command id, lParam 0.
constexpr UINT WM_CONTROL_NOTIFY = WM_USER + 0x100;

// The colour of every status text (in high contrast the theme's text colour);
// black until the window's owner sets it.
extern COLORREF StatusTextColor;

constexpr int kStatusTextSize = 80;  // NUL included

class SkinControl {
  public:
    // Registers the control at the end of the host's table (the order of
    // dispatch and painting); the host owns it from then on. With the table
    // full it stays its creator's (NewControl never leaves one so). A status
    // text over 79 characters is refused, leaving none, as a null one does.
    SkinControl(ControlHost* host, const char* statusText);
    // Leaves the host's table if still listed in it.
    virtual ~SkinControl();
    SkinControl(const SkinControl&) = delete;
    SkinControl& operator=(const SkinControl&) = delete;

    // A mouse message, while the host's currentDc holds a window DC. Non-zero
    // consumes it: later controls and the window do not see it.
    virtual int OnMouse(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // Draws the control on `dc`; one that is not visible erases its area.
    virtual void Paint(HDC dc) = 0;
    virtual int GetValue() { return 0; }
    virtual void SetValue(int) {}

    // What the control covers on the window: the window is not dragged there
    // (its right and bottom edges taken in, as the controls' hit tests do),
    // the focus mark goes just outside it, and screen readers are told it as
    // its place.
    virtual RECT Bounds() { return RECT(); }
    // How a screen reader sees the control: its role, its name, the
    // STATE_SYSTEM_ bits of its own such as checked (the skin adds visibility
    // and focus), and the name of its default action (null: it never takes
    // the keyboard focus).
    virtual int AccessibleRole() { return ROLE_SYSTEM_GRAPHIC; }
    virtual const char* AccessibleName() { return ""; }
    virtual int AccessibleState() { return 0; }
    virtual const char* DefaultActionName() { return nullptr; }
    // Does what a completed click does, posting to `window` what the click
    // posts; for the keyboard and screen readers.
    virtual void DoDefaultAction(HWND) {}
    // The cursor shown while the pointer is over the control; null leaves it
    // to the window.
    virtual HCURSOR Cursor() { return nullptr; }

    // Shows (non-zero) or hides the control, activity following, and
    // repaints it; a hide repaints only once until the next show.
    void Show(int shown);
    // Paints at once, through the host's current DC or else a window DC of its
    // own; nothing once a hidden control has been erased.
    void Redraw();
    // Shows the status text in the host's status rectangle, through the back
    // buffer to the current DC: state 1 the text before the first "@" (all of
    // it without one), state 2 the text after it, any other state none.
    // Nothing when the state is unchanged or the text is empty; state 0 wipes
    // the rectangle only while it holds this control's text.
    void ShowStatus(int state);
    // Whether the mouse position in a mouse message's lParam lies inside the
    // rectangle, all four edges included.
    static int HitTest(int left, int top, int right, int bottom, LPARAM lParam);
    // Posts WM_CONTROL_NOTIFY with `id` to `window`; nothing for id 0.
    static void PostNotify(HWND window, int id);
    // The control's child id in the window's object for screen readers: its
    // place in the host's table, counted from 1; 0 when it is not registered.
    int ChildId() const;
    // Tells screen readers of an EVENT_OBJECT_ event of the control.
    void NotifyEvent(DWORD event);
    // Active, visible and with a default action.
    bool CanTakeFocus();

    char statusText[kStatusTextSize];
    int active;       // offered mouse messages
    int visible;      // painted by the paint cycle
    int erased;       // hidden and already erased by Redraw
    int statusState;  // the state last drawn by ShowStatus
    int commandId;    // posted with WM_CONTROL_NOTIFY; 0 posts nothing
    ControlHost* host;
};

// Creates a control registered with `host`: null, with nothing allocated,
// when memory runs out or the host's table is full.
template <typename Control, typename... Args>
Control* NewControl(ControlHost* host, Args&&... args) {
    if (host->controlCount >= kMaxControls) return nullptr;
    return new (std::nothrow) Control(host, std::forward<Args>(args)...);
}

// The first registered control, in table order, whose Bounds take in `point`
// (edges included): among the active controls, or among the visible ones when
// `activeOnly` is false. Null when there is none.
SkinControl* ControlAt(const ControlHost* host, POINT point, bool activeOnly);

// out = (x, y, x + width, y + height), each argument cut to its low 16 bits
// and sign-extended first. Returns out.
RECT* MakeRect(RECT* out, int x, int y, int width, int height);
