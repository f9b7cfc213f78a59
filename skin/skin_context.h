// The skin context: turns one borderless window into a skinned surface with a
// tiled background, a window-sized back buffer, a paint cycle and routing of
// mouse messages to the skinned controls registered with its ControlHost.
#pragma once

#include <windows.h>

#include "skin/control_host.h"
#include "skin/skin_bitmap.h"

class SkinContext {
  public:
    // Binds to `host` and makes it empty: no controls, window or DCs. The
    // host's earlier contents are forgotten, not freed.
    SkinContext(ControlHost* host, HINSTANCE instance);
    ~SkinContext();  // runs Destroy
    SkinContext(const SkinContext&) = delete;
    SkinContext& operator=(const SkinContext&) = delete;

    // Binds to `window` at `dpi` (0: the window's own, WindowDpi): copies
    // `status` into the host's status rectangle (empty when null), makes the
    // fonts and the hand cursor (resource `cursorId`) for that DPI unless
    // they exist for it, and loads the background `backgroundId` for it
    // through the host's current DC or a DC of the window. Attaching again
    // replaces the background, and at another DPI rescales the skin. A step
    // that fails leaves what it would replace (fonts are replaced as a pair);
    // without a background only controls paint.
    void Attach(HWND window, BitmapId backgroundId, int cursorId, const RECT* status, UINT dpi = 0);
    // A font of `faceName` (at most 31 characters, else the mapper's default
    // face) with cell height `height`; null when GDI refuses.
    static HFONT CreateSkinFont(const char* faceName, int height, int underline);
    // The skin's face with cell height `height` at 96 DPI, for `dpi`: at 96 the
    // bitmap face the artwork was drawn around, else (it has only a few
    // sizes) a TrueType face of the same look at the scaled height. Null when
    // GDI refuses.
    static HFONT CreateScaledFont(int height, int underline, UINT dpi);
    // Replaces the back buffer and its memory DC with ones reaching from the
    // client origin to the window's bottom-right corner (the whole window for
    // a borderless popup), NormalFont and transparent mode selected; on
    // failure the host's memoryDc or the bitmap stays null.
    void CreateBackBuffer(HWND window);

    // The paint cycle, for WM_PAINT: BeginSkinPaint pauses 50 ms, begins the
    // paint and returns the window DC the cycle draws through (null without
    // window or DC); PaintAll tiles the background over the update rectangle
    // and paints every visible control; PaintText draws a text in NormalFont
    // (nothing outside a cycle); EndSkinPaint gives the DC back, restoring a
    // mouse dispatch's DC when the cycle ran inside one. Cycles do not nest.
    HDC BeginSkinPaint();
    void PaintAll();
    void PaintText(int x, int y, const char* text);
    void EndSkinPaint();

    // Offers a mouse message (low 16 bits 0x200 to 0x209) to every active
    // control in creation order, with a window DC as the host's current DC,
    // until one consumes it: then 1, else 0. Other messages, and any while no
    // control is registered, return 0 without taking a DC.
    int DispatchMouse(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // The window's other messages that the skin answers, offered before
    // DispatchMouse. Returns 1 when answered, the result in `result`; 0 to
    // let the window handle the message.
    // - Keyboard focus, for a dialog window: WM_NEXTDLGCTL for Tab (from the
    //   keyboard, not for a given window) steps along the focus order; while
    //   a control has the focus, the window keeps the real focus through
    //   WM_ACTIVATE and WM_SETFOCUS, asks for the arrow keys (ignored) and
    //   for Enter on a button or link through WM_GETDLGCODE, and Space (on any
    //   control) or such an Enter runs its default action. The focus leaves
    //   the controls when a child window takes the real focus.
    // - The pointer: WM_NCHITTEST answers HTCAPTION over client area where no
    //   active control is, so the window is dragged by its background;
    //   WM_SETCURSOR sets the cursor of the control under the pointer, if it
    //   has one; a non-client move, and the pointer leaving the window
    //   (WM_MOUSELEAVE, asked for at each entry), are offered to the controls
    //   as a move outside them, which wipes the status text.
    // - WM_GETOBJECT for the client area: the controls for screen readers.
    // - WM_SYSCOLORCHANGE, WM_THEMECHANGED and WM_SETTINGCHANGE for
    //   SPI_SETHIGHCONTRAST: asks again whether high contrast is on and
    //   repaints the whole window; never answered.
    int DispatchWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

    // Deletes every registered control, once; the host then holds none, and
    // no focus or status text of theirs.
    void RemoveControls();
    // Frees the background, back buffer and memory DC, lets go of the screen
    // readers' object and runs RemoveControls. The fonts and the cursor stay.
    // Calling it again does nothing.
    void Destroy();

    ControlHost* host;
    PAINTSTRUCT paintInfo;
    RECT windowRect;
    GdiObject<HBITMAP> backBuffer;

  private:
    void ReleaseBackBuffer();
    MemoryDc memoryDc;  // the host's memoryDc; goes before the bitmap it holds
    WindowDc paintDc;   // the paint cycle's DC
    HDC outerDc;        // the host's current DC when the paint cycle began
};
