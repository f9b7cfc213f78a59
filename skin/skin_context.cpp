#include "skin/skin_context.h"

#include <new>

#include "common/bounded_text.h"
#include "common/handles.h"
#include "common/system_function.h"
#include "skin/scaled_art.h"
#include "skin/skin_accessible.h"
#include "skin/skin_control.h"
#include "skin/skin_draw.h"
#include "skin/skin_focus.h"

HFONT NormalFont;
HFONT UnderlineFont;
HCURSOR HandCursor;

namespace {

const char kSkinFace[] = "MS Sans Serif";
// Its TrueType counterpart, also in every Windows since 2000; Wine maps it
// to a face of its own.
const char kScalableFace[] = "Microsoft Sans Serif";
constexpr int kSkinFontHeight = 13;
constexpr DWORD kPaintPauseMs = 50;

// The owners of the fonts that NormalFont and UnderlineFont name, and the
// DPI they were made for.
GdiObject<HFONT> NormalFontOwner;
GdiObject<HFONT> UnderlineFontOwner;
UINT FontDpi;
// The owner of the cursor that HandCursor names, and the DPI it was made for.
CursorHandle HandCursorOwner;
UINT CursorDpi;

// The cursor resource `id` at the system's cursor size for `dpi` (Windows 10
// 1607 and later tell it for any DPI; before, the system's DPI is all).
HCURSOR LoadScaledCursor(HINSTANCE instance, int id, UINT dpi) {
    using MetricForDpi = int(WINAPI*)(int, UINT);
    auto metric = SystemFunction<MetricForDpi>("user32.dll", "GetSystemMetricsForDpi");
    int size = metric ? metric(SM_CXCURSOR, dpi) : GetSystemMetrics(SM_CXCURSOR);
    return static_cast<HCURSOR>(
        LoadImageA(instance, MAKEINTRESOURCEA(id & 0xFFFF), IMAGE_CURSOR, size, size, 0));
}

}  // namespace

void ReplaceNormalFont(ControlHost* host, HFONT font) {
    if (!font) return;
    // The back buffer's DC lets go of the old font before it is deleted.
    if (host && host->memoryDc) SelectObject(host->memoryDc, font);
    NormalFont = font;
    NormalFontOwner.Reset(font);
}

UINT WindowDpi(HWND window) {
    using DpiOfWindow = UINT(WINAPI*)(HWND);
    auto dpiOf = SystemFunction<DpiOfWindow>("user32.dll", "GetDpiForWindow");
    UINT dpi = dpiOf ? dpiOf(window) : 0;
    if (!dpi) {
        WindowDc dc(window);
        dpi = static_cast<UINT>(GetDeviceCaps(dc.Get(), LOGPIXELSY));
    }
    return dpi ? dpi : kBaseDpi;
}

void PrepareSkinDc(HDC dc) {
    SelectObject(dc, NormalFont);
    SetBkMode(dc, TRANSPARENT);
}

HostDc::HostDc(const ControlHost* host)
    : window_(nullptr), dc_(host ? host->currentDc : nullptr), font_(nullptr) {
    if (!host || dc_ || !host->window) return;
    dc_ = GetDC(host->window);
    if (!dc_) return;
    window_ = host->window;
    font_ = SelectObject(dc_, NormalFont);
    SetBkMode(dc_, TRANSPARENT);
}

HostDc::~HostDc() {
    if (!window_) return;
    if (font_ && font_ != HGDI_ERROR) SelectObject(dc_, font_);
    ReleaseDC(window_, dc_);
}

SkinContext::SkinContext(ControlHost* host, HINSTANCE instance)
    : host(host), paintInfo(), windowRect(), backBuffer(nullptr), outerDc(nullptr) {
    host->instance = instance;
    host->controlCount = 0;
    host->currentDc = nullptr;
    host->statusOwner = nullptr;
    host->memoryDc = nullptr;
    host->background = nullptr;
    host->focused = nullptr;
    host->focusOrder = nullptr;
    host->focusStops = 0;
    host->focusCues = 0;
    SetRectEmpty(&host->focusMark);
    host->trackingLeave = 0;
    host->accessible = nullptr;
    host->dpi = kBaseDpi;
}

SkinContext::~SkinContext() {
    Destroy();
}

void SkinContext::Attach(HWND window, BitmapId backgroundId, int cursorId, const RECT* status,
                         UINT dpi) {
    host->window = window;
    host->dpi = dpi = dpi ? dpi : WindowDpi(window);
    if (!NormalFont || FontDpi != dpi) {
        ReplaceNormalFont(host, CreateScaledFont(kSkinFontHeight, 0, dpi));
        UnderlineFontOwner.Reset(CreateScaledFont(kSkinFontHeight, 1, dpi));
        UnderlineFont = UnderlineFontOwner.Get();
        FontDpi = dpi;
    }
    if (!HandCursor || CursorDpi != dpi) {
        HandCursorOwner.Reset(LoadScaledCursor(host->instance, cursorId, dpi));
        HandCursor = HandCursorOwner.Get();
        CursorDpi = dpi;
    }
    if (status)
        host->statusRect = *status;
    else
        SetRect(&host->statusRect, 0, 0, 0, 0);
    CreateBackBuffer(window);

    ReleaseSkinBitmap(host->background);
    if (host->currentDc) {
        host->background =
            new (std::nothrow) SkinBitmap(host->instance, host->currentDc, backgroundId, dpi);
    } else {
        WindowDc dc(window);
        host->background =
            new (std::nothrow) SkinBitmap(host->instance, dc.Get(), backgroundId, dpi);
    }
}

HFONT SkinContext::CreateSkinFont(const char* faceName, int height, int underline) {
    LOGFONTA font = {};
    font.lfHeight = height;
    font.lfUnderline = static_cast<BYTE>(underline);
    CopyText(font.lfFaceName, faceName);
    return CreateFontIndirectA(&font);
}

HFONT SkinContext::CreateScaledFont(int height, int underline, UINT dpi) {
    return CreateSkinFont(dpi == kBaseDpi ? kSkinFace : kScalableFace, ScalePixels(height, dpi),
                          underline);
}

void SkinContext::CreateBackBuffer(HWND window) {
    ReleaseBackBuffer();
    GetWindowRect(window, &windowRect);
    POINT corner = {windowRect.right, windowRect.bottom};
    ScreenToClient(window, &corner);
    SetRect(&windowRect, 0, 0, corner.x, corner.y);

    WindowDc dc(window);
    backBuffer = CreateBlankBitmap(dc.Get(), windowRect.right, windowRect.bottom);
    host->memoryDc = CreateCompatibleDC(dc.Get());
    if (!host->memoryDc) return;
    if (backBuffer) SelectObject(host->memoryDc, backBuffer);
    if (NormalFont) SelectObject(host->memoryDc, NormalFont);
    SetBkMode(host->memoryDc, TRANSPARENT);
}

void SkinContext::ReleaseBackBuffer() {
    // The DC goes first: the bitmap must not be selected when deleted.
    if (host->memoryDc) DeleteDC(host->memoryDc);
    host->memoryDc = nullptr;
    if (backBuffer) DeleteObject(backBuffer);
    backBuffer = nullptr;
}

HDC SkinContext::BeginSkinPaint() {
    Sleep(kPaintPauseMs);
    outerDc = host->currentDc;
    paintInfo = PAINTSTRUCT();
    HDC dc = nullptr;
    if (host->window) {
        // BeginPaint validates the window and gives the update rectangle;
        // its DC is clipped and so not the one drawn through.
        BeginPaint(host->window, &paintInfo);
        dc = GetDC(host->window);
        if (dc) PrepareSkinDc(dc);
    }
    host->currentDc = dc;
    return dc;
}

void SkinContext::PaintAll() {
    HDC dc = host->currentDc;
    if (!dc) return;
    if (host->background) host->background->TileFill(dc, paintInfo.rcPaint);
    for (int i = 0; i < host->controlCount; ++i)
        if (host->controls[i]->visible) host->controls[i]->Paint(dc);
    UpdateFocusMark(host, dc, true);
}

void SkinContext::PaintText(int x, int y, const char* text) {
    if (host->currentDc) DrawTextAt(host->currentDc, x, y, text);
}

void SkinContext::EndSkinPaint() {
    if (host->currentDc) ReleaseDC(host->window, host->currentDc);
    host->currentDc = outerDc;
    outerDc = nullptr;
    if (host->window) EndPaint(host->window, &paintInfo);
}

int SkinContext::DispatchMouse(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    UINT code = message & 0xFFFF;
    if (code < WM_MOUSEMOVE || code > WM_MBUTTONDBLCLK || host->controlCount <= 0) return 0;

    WindowDc dc(window);
    SelectGuard font(dc.Get(), NormalFont);
    SetBkMode(dc.Get(), TRANSPARENT);
    HDC outer = host->currentDc;
    host->currentDc = dc.Get();
    int consumed = 0;
    for (int i = 0; i < host->controlCount && !consumed; ++i) {
        SkinControl* control = host->controls[i];
        if (control->active) consumed = control->OnMouse(window, message, wParam, lParam) ? 1 : 0;
    }
    host->currentDc = outer;
    return consumed;
}

void SkinContext::Destroy() {
    ReleaseAccessible(host);
    host->focusStops = 0;
    ReleaseSkinBitmap(host->background);
    ReleaseBackBuffer();
    RemoveControls();
}

void SkinContext::RemoveControls() {
    host->focused = nullptr;
    SetRectEmpty(&host->focusMark);
    // Emptying the table first keeps each control's destructor from
    // reordering it while it is walked.
    int count = host->controlCount;
    host->controlCount = 0;
    host->statusOwner = nullptr;
    for (int i = 0; i < count; ++i) {
        delete host->controls[i];
        host->controls[i] = nullptr;
    }
}
