#include "skin/skin_contrast.h"

#include "common/system_function.h"
#include "skin/skin_bitmap.h"

int HighContrast;

void ReadHighContrast(HWND window) {
    HIGHCONTRASTA contrast = {sizeof contrast, 0, nullptr};
    int was = HighContrast;
    HighContrast = SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
                   (contrast.dwFlags & HCF_HIGHCONTRASTON);
    if (HighContrast == was) return;
    // A child's visual style (uxtheme.dll, loaded with the common controls)
    // has colours of its own. Windows leaves it out in a contrast theme; the
    // program does so too, for a system that would keep it.
    using SetTheme = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
    auto setTheme = SystemFunction<SetTheme>("uxtheme.dll", "SetWindowTheme");
    // A name of no style: an empty one is taken as the default by some.
    const wchar_t* style = HighContrast ? L" " : nullptr;
    for (HWND child = GetWindow(window, GW_CHILD); setTheme && child;
         child = GetWindow(child, GW_HWNDNEXT))
        setTheme(child, style, style);
}

COLORREF SkinTextColour() {
    return HighContrast ? GetSysColor(COLOR_WINDOWTEXT) : RGB(0, 0, 0);
}

void FillBehind(const ControlHost* host, HDC dc, const RECT& rect) {
    if (!host->background) return;
    if (HighContrast)
        FillSystemColour(dc, rect, COLOR_WINDOW);
    else
        host->background->TileFill(dc, rect);
}

// The DC's own brush takes the colour, so no brush is made or owned.
void FillSystemColour(HDC dc, RECT rect, int index, int frame) {
    SetDCBrushColor(dc, GetSysColor(index));
    auto brush = static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
    if (!frame) {
        FillRect(dc, &rect, brush);
        return;
    }
    for (int line = 0; line < frame; ++line, InflateRect(&rect, -1, -1))
        FrameRect(dc, &rect, brush);
}
