// What a skinned window shares with its controls: the control table, the
// window, the DCs of the moment and the background. Controls reach their
// window through this block, never through the skin context.
#pragma once

#include <windows.h>

struct SkinBitmap;
class SkinControl;

constexpr int kMaxControls = 150;

struct ControlHost {
    int controlCount;
    HINSTANCE instance;  // holds the background, control bitmaps and cursor
    HWND window;
    // A window DC while a paint cycle or a mouse dispatch runs (or while the
    // window's owner sets it for its own set-up); null otherwise.
    HDC currentDc;
    // The back buffer's DC: NormalFont selected, transparent background.
    HDC memoryDc;
    SkinBitmap* background;  // owned by the skin context; may be null
    // Registered controls in creation order, entries below controlCount;
    // owned from their construction until the skin context's Destroy.
    SkinControl* controls[kMaxControls];
    RECT statusRect;  // where controls show their status text
    // The control whose status text was drawn last; only it wipes the text.
    // Compared, never followed.
    const SkinControl* statusOwner;
};

// Process-wide, made by the first Attach and never deleted by the skin. The
// window's owner may replace NormalFont; later paints select whatever it holds.
extern HFONT NormalFont;
extern HFONT UnderlineFont;
extern HCURSOR HandCursor;

// Makes a window DC ready for skin drawing: NormalFont, transparent background.
void PrepareSkinDc(HDC dc);
