#include "skin/skin_context.h"

#include <new>

#include "common/bounded_text.h"
#include "common/handles.h"
#include "common/system_function.h"
#include "skin/scaled_art.h"
#include "skin/skin_accessible.h"
#include "skin/skin_contrast.h"
#include "skin/skin_control.h"
#include "skin/skin_draw.h"
#include "skin/skin_focus.h"

GdiObject<HFONT> NormalFont;
GdiObject<HFONT> UnderlineFont;
CursorHandle HandCursor;
UINT SkinDpi = kBaseDpi;

namespace {

const char kSkinFace[] = "MS Sans Serif";
// Its TrueType counterpart, also in every Windows since 2000; Wine maps it
// to a face of its own.
const char kScalableFace[] = "Microsoft Sans Serif";
constexpr int kSkinFontHeight = 13;
constexpr DWORD kPaintPauseMs = 50;

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
    NormalFont.Reset(font);
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
    SelectObject(dc, NormalFont.Get());
    SetBkMode(dc, TRANSPARENT);
}

SkinDc::SkinDc(HWND window)
    : dc_(window ? WindowDc(window) : WindowDc()),
      font_(dc_.Get(), GetCurrentObject(dc_.Get(), OBJ_FONT)) {
    if (dc_) PrepareSkinDc(dc_.Get());
}

SkinDc::~SkinDc() = default;

SkinContext::SkinContext(ControlHost* host, HINSTANCE instance)
    : host(host), paintInfo(), windowRect(), outerDc(nullptr) {
    *host = ControlHost();
    host->instance = instance;
}

SkinContext::~SkinContext() {
    Destroy();
}

void SkinContext::Attach(HWND window, BitmapId backgroundId, int cursorId, const RECT* status,
                         UINT dpi) {
    host->window = window;
    dpi = dpi ? dpi : WindowDpi(window);
    bool rescaled = dpi != SkinDpi;
    SkinDpi = dpi;
    if (rescaled || !NormalFont) {
        GdiObject<HFONT> normal(CreateScaledFont(kSkinFontHeight, 0, dpi));
        GdiObject<HFONT> underline(CreateScaledFont(kSkinFontHeight, 1, dpi));
        if (normal && underline) {
            ReplaceNormalFont(host, normal.Release());
            UnderlineFont = std::move(underline);
        }
    }
    if (rescaled || !HandCursor)
        if (HCURSOR hand = LoadScaledCursor(host->instance, cursorId, dpi)) HandCursor.Reset(hand);
    if (status)
        host->statusRect = *status;
    else
        SetRectEmpty(&host->statusRect);

    ReleaseSkinBitmap(host->background);
    WindowDc own = host->currentDc ? WindowDc() : WindowDc(window);
    host->background = new (std::nothrow) SkinBitmap(
        host->instance, host->currentDc ? host->currentDc : own.Get(), backgroundId, dpi);
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
    backBuffer.Reset(CreateBlankBitmap(dc.Get(), windowRect.right, windowRect.bottom));
    memoryDc.Reset(CreateCompatibleDC(dc.Get()));
    host->memoryDc = memoryDc.Get();
    if (!memoryDc) return;
    if (backBuffer) SelectObject(memoryDc.Get(), backBuffer.Get());
    PrepareSkinDc(memoryDc.Get());
}

void SkinContext::ReleaseBackBuffer() {
    // The DC goes first: the bitmap must not be selected when deleted.
    host->memoryDc = nullptr;
    memoryDc.Reset();
    backBuffer.Reset();
}

HDC SkinContext::BeginSkinPaint() {
    Sleep(kPaintPauseMs);
    outerDc = host->currentDc;
    paintInfo = PAINTSTRUCT();
    if (host->window) {
        // BeginPaint validates the window and gives the update rectangle;
        // its DC is clipped and so not the one drawn through.
        BeginPaint(host->window, &paintInfo);
        paintDc = WindowDc(host->window);
        if (paintDc) PrepareSkinDc(paintDc.Get());
    }
    host->currentDc = paintDc.Get();
    return paintDc.Get();
}

void SkinContext::PaintAll() {
    HDC dc = host->currentDc;
    if (!dc) return;
    FillBehind(host, dc, paintInfo.rcPaint);
    for (int i = 0; i < host->controlCount; ++i)
        if (host->controls[i]->visible) host->controls[i]->Paint(dc);
    UpdateFocusMark(host, dc, true);
}

void SkinContext::PaintText(int x, int y, const char* text) {
    if (host->currentDc) DrawTextAt(host->currentDc, x, y, text);
}

void SkinContext::EndSkinPaint() {
    paintDc = WindowDc();
    host->currentDc = outerDc;
    outerDc = nullptr;
    if (host->window) EndPaint(host->window, &paintInfo);
}

int SkinContext::DispatchMouse(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    UINT code = message & 0xFFFF;
    if (code < WM_MOUSEMOVE || code > WM_MBUTTONDBLCLK || host->controlCount <= 0) return 0;

    SkinDc dc(window);
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
