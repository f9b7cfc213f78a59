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
// owns. At 96 DPI it is the bitmap resource itself. At any other DPI the
// bitmap is split into `cells` equal cells across and each cell is drawn at
// ScalePixels of its size, as a top-down 32-bit DIB section decoded by the
// system's imaging component from the PNG rendering for the smallest
// rendering DPI at least `dpi` (res/resource_ids.h): pixel for pixel at that
// DPI, scaled down with a high-quality filter below it, enlarged smoothly
// above the largest. A bitmap without a rendering of its size (a build's own
// background) is enlarged from its 96-DPI bitmap. Null when the resource
// cannot be loaded or decoded.
HBITMAP LoadSkinArt(HINSTANCE instance, WORD id, UINT dpi, int cells);
