// The base of the skinned controls: registration with the window's
// ControlHost, showing and hiding, immediate repainting, the hover text in the
// host's status rectangle, the inclusive hit test and the click notification.
#pragma once

#include <windows.h>

#include <new>
#include <utility>

#include "skin/control_host.h"

// Posted (never sent) by a control to its window: wParam is the control's
// command id, lParam 0.
constexpr UINT WM_CONTROL_NOTIFY = WM_USER + 0x100;

// The colour of every status text; black until the window's owner sets it.
extern COLORREF StatusTextColor;

constexpr int kStatusTextSize = 80;  // NUL included

class SkinControl {
  public:
    // Registers the control at the end of the host's table: creation order is
    // the order of dispatch and painting. The host then owns it and deletes it
    // in the skin context's RemoveControls or Destroy. With the table full the
    // control is not registered and its creator keeps it; NewControl never
    // leaves one so.
    // A status text longer than 79 characters is refused: the control then
    // has none, as with a null text.
    SkinControl(ControlHost* host, const char* statusText);
    // Leaves the host's table if still listed in it, so deleting a control
    // directly never leaves the host a dangling pointer.
    virtual ~SkinControl();
    SkinControl(const SkinControl&) = delete;
    SkinControl& operator=(const SkinControl&) = delete;

    // A mouse message, while the host's currentDc holds a window DC. Non-zero
    // consumes it: later controls and the window do not see it.
    virtual int OnMouse(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // Draws the control on `dc`; one that is not visible erases its area.
    virtual void Paint(HDC dc) = 0;
    virtual int GetValue();
    virtual void SetValue(int value);

    // What the control covers on the window: the window is not dragged there
    // (its right and bottom edges taken in, as the controls' hit tests do),
    // the focus mark goes just outside it, and screen readers are told it as
    // its place. Base: the empty rectangle.
    virtual RECT Bounds();
    // How a screen reader sees the control: a ROLE_SYSTEM_ role (base: a
    // graphic), a name (base: none), the STATE_SYSTEM_ bits of its own such
    // as checked (base: none; the skin adds visibility and focus), and the
    // name of its default action (base: null, none: it never takes the
    // keyboard focus).
    virtual int AccessibleRole();
    virtual const char* AccessibleName();
    virtual int AccessibleState();
    virtual const char* DefaultActionName();
    // Does what a completed click does, posting to `window` what the click
    // posts; for the keyboard and screen readers. Base: nothing.
    virtual void DoDefaultAction(HWND window);
    // The cursor shown while the pointer is over the control; null leaves it
    // to the window.
    virtual HCURSOR Cursor();

    // Shows (non-zero) or hides the control, activity following, and
    // repaints it; a hide repaints only once until the next show.
    void Show(int shown);
    // Paints at once: through the host's current DC when one is set, else
    // through a window DC of its own (nothing without a window). Does nothing
    // once a hidden control has been erased.
    void Redraw();
    // Shows the status text in the host's status rectangle: state 1 the text
    // before the first "@" (all of it without one), state 2 the text after
    // it, any other state none. Composed in the back buffer and copied to the
    // host's current DC (to nothing when none is set). Does nothing when the
    // state is unchanged or the text is empty; state 0 wipes the rectangle
    // only while it holds this control's text, not another's drawn since.
    void ShowStatus(int state);
    // Whether the mouse position in a mouse message's lParam lies inside the
    // rectangle, all four edges included.
    static int HitTest(int left, int top, int right, int bottom, LPARAM lParam);
    // Posts WM_CONTROL_NOTIFY with `id` to `window`; nothing for id 0.
    static void PostNotify(HWND window, int id);
    // The control's child id in the window's object for screen readers: its
    // place in the host's table, counted from 1; 0 when it is not registered.
    int ChildId() const;
    // Tells screen readers that something of the control changed (an
    // EVENT_OBJECT_ event, for its child id).
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
