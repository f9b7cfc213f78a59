#include "skin/scaled_art.h"

#include "common/handles.h"

// A stand-in until the larger renderings travel in the program: the 100 %
// bitmap, enlarged cell by cell with the system's halftone filter.
HBITMAP LoadSkinArt(HINSTANCE instance, WORD id, UINT dpi, int cells) {
    HBITMAP base = LoadBitmapA(instance, MAKEINTRESOURCEA(id));
    if (!base || dpi == kBaseDpi || cells < 1) return base;
    GdiObject<HBITMAP> source(base);
    BITMAP description = {};
    GetObjectA(base, sizeof description, &description);
    int cellWidth = description.bmWidth / cells;
    int scaledCell = ScalePixels(cellWidth, dpi);
    int height = ScalePixels(description.bmHeight, dpi);
    WindowDc screen(nullptr);
    HBITMAP scaled = CreateCompatibleBitmap(screen.Get(), scaledCell * cells, height);
    if (!scaled) return nullptr;
    MemoryDc from(CreateCompatibleDC(screen.Get())), to(CreateCompatibleDC(screen.Get()));
    SelectGuard fromBitmap(from.Get(), base), toBitmap(to.Get(), scaled);
    SetStretchBltMode(to.Get(), HALFTONE);
    for (int cell = 0; cell < cells; ++cell)
        StretchBlt(to.Get(), cell * scaledCell, 0, scaledCell, height, from.Get(),
                   cell * cellWidth, 0, cellWidth, description.bmHeight, SRCCOPY);
    return scaled;
}
