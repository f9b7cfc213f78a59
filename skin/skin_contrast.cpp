#include "skin/skin_contrast.h"

#include "skin/skin_bitmap.h"

int HighContrast;

void ReadHighContrast() {
    HIGHCONTRASTA contrast = {sizeof contrast, 0, nullptr};
    HighContrast = SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
                   (contrast.dwFlags & HCF_HIGHCONTRASTON);
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
