// The skin at display scales other than 100 %: the one rounding rule for
// every length the dialog scales, and artwork drawn for a given DPI.
#pragma once

#include <windows.h>

// The DPI at which every length of the skin is as the artwork gives it.
constexpr UINT kBaseDpi = 96;

// `value` at `dpi`: value * dpi / 96, rounded to the nearest whole pixel
// (halves away from zero). Every scaled length, place and size uses this.
inline int ScalePixels(int value, UINT dpi) {
    return MulDiv(value, static_cast<int>(dpi), static_cast<int>(kBaseDpi));
}

// The artwork of bitmap resource `id` for `dpi`, as a new bitmap the caller
// owns. At 96 DPI it is the bitmap resource itself, pixel for pixel. At any
// other DPI the bitmap is split into `cells` equal cells across its width
// and each cell is drawn at ScalePixels of its size: width
// cells * ScalePixels(width96 / cells, dpi), height ScalePixels(height96, dpi).
// Returns null when the resource cannot be loaded or decoded.
HBITMAP LoadSkinArt(HINSTANCE instance, WORD id, UINT dpi, int cells);
