// What a skinned window shares with its controls: the control table, the
// window, the DCs of the moment and the background. Controls reach their
// window through this block, never through the skin context.
#pragma once

#include <windows.h>

#include "common/handles.h"

struct SkinBitmap;
class SkinControl;
struct FocusStop;
class SkinAccessible;

constexpr int kMaxControls = 150;

struct ControlHost {
    int controlCount;
    HINSTANCE instance;  // holds the background, control bitmaps and cursor
    HWND window;
    // A window DC while a paint cycle or a mouse dispatch runs (or while the
    // window's owner sets it for its own set-up); null otherwise.
    HDC currentDc;
    HDC memoryDc;  // the back buffer's, owned by the skin context; made with PrepareSkinDc
    SkinBitmap* background;  // owned by the skin context; may be null
    // Registered controls in creation order, entries below controlCount;
    // owned until the skin context's RemoveControls or Destroy.
    SkinControl* controls[kMaxControls];
    RECT statusRect;                 // where controls show their status text
    const SkinControl* statusOwner;  // whose status text shows; compared, never followed

    // The control that has the keyboard focus while the window itself holds
    // the real focus; null when none does (a child window may have it).
    SkinControl* focused;
    const FocusStop* focusOrder;  // the window's keyboard focus order, not owned
    int focusStops;
    int focusCues;      // the keyboard has been used: the focus mark shows from then on
    RECT focusMark;     // where the focus mark is drawn now; empty without one
    int trackingLeave;  // a WM_MOUSELEAVE has been asked for and not yet come
    // The window's client area for screen readers, made on the first request;
    // holds a reference.
    SkinAccessible* accessible;
};

// Process-wide and owned here, made by Attach for the skin's DPI and made
// again when that changes: the fonts, and the hand cursor at the system's
// cursor size for the DPI. The window's owner may replace NormalFont with
// ReplaceNormalFont; later paints select whatever it holds.
extern GdiObject<HFONT> NormalFont;
extern GdiObject<HFONT> UnderlineFont;
extern CursorHandle HandCursor;
// The DPI the skin is drawn for: every length, the art and the fonts scale
// from 96 by it (ScalePixels). 96 until Attach measures a window.
extern UINT SkinDpi;

// Gives NormalFont to `font` (null keeps the old one): selects it into the
// back buffer's DC and deletes the font it held.
void ReplaceNormalFont(ControlHost* host, HFONT font);

// The DPI of `window`: its own where the system tells it (Windows 10 1607 and
// later), else the screen's. 96 when neither answers.
UINT WindowDpi(HWND window);

// Makes a DC ready for skin drawing: NormalFont, transparent background.
void PrepareSkinDc(HDC dc);

// A window DC made ready with PrepareSkinDc, given back with its own font.
// Get() is null for a null window or when the window gives none.
class SkinDc {
  public:
    explicit SkinDc(HWND window);
    ~SkinDc();
    HDC Get() const { return dc_.Get(); }

  private:
    WindowDc dc_;
    SelectGuard font_;  // selects nothing new; puts the DC's own font back
};

// The window of a host without a current DC, for a SkinDc to draw through.
inline HWND WindowWithoutDc(const ControlHost* host) {
    return host->currentDc ? nullptr : host->window;
}
