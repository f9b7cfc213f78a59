// Skin bitmaps: bitmap resources loaded once per id and shared through a
// process-wide cache with reference counts, and the ways the skin puts their
// pixels on a DC (tiled by block transfers, or pixel by pixel, white keyed,
// transposed or from the centre outward).
#pragma once

#include <windows.h>

#include "skin/scaled_art.h"

// Pure white: the keyed copies leave such pixels unwritten.
constexpr COLORREF TransparentKey = 0xFFFFFF;

// A bitmap id names the bitmap resource of its low 16 bits. When that cannot
// be loaded, a blank bitmap stands in: bits 0-9 give its width, bits 16-25
// its height. The whole 32-bit value is the cache key; 0 is never requested.
using BitmapId = DWORD;

// Square cells: a strip whose cells are as wide as it is high (LoadShared).
constexpr int kSquareCells = 0;

// A bitmap selected into a memory DC of its own. Records of one id and DPI
// share the DC and the bitmap. The owner creates it with new, and disposes of
// it with ReleaseSkinBitmap.
struct SkinBitmap {
    // Runs LoadShared and keeps its result in `created`.
    SkinBitmap(HINSTANCE instance, HDC dc, BitmapId id, UINT dpi = kBaseDpi, int cells = 1);
    // Moved, never copied: a share is counted once.
    SkinBitmap(SkinBitmap&& other) noexcept
        : width(other.width),
          height(other.height),
          memoryDc(other.memoryDc),
          created(other.created),
          bitmap(other.bitmap) {
        other.memoryDc = nullptr;
        other.bitmap = nullptr;
    }
    SkinBitmap(const SkinBitmap&) = delete;
    SkinBitmap& operator=(const SkinBitmap&) = delete;

    // Takes the cached bitmap of `id` for `dpi`, or loads it (LoadSkinArt in
    // `cells` cells across, or with kSquareCells as many as its width holds
    // its height; a blank one of the id's size scaled to `dpi` when the
    // resource cannot be loaded) into a memory DC compatible with `dc` and
    // enters it in the first free cache slot. Returns 1 when the bitmap was
    // made here, 0 when it was shared. With every slot in use, or without a
    // memory DC, the new bitmap is not cached: this record owns it alone.
    int LoadShared(HINSTANCE instance, HDC dc, BitmapId id, UINT dpi = kBaseDpi, int cells = 1);
    // Gives the bitmap back: the last user of a cached id deletes the DC and
    // bitmap and frees the slot; an uncached record deletes its own. A second
    // release does nothing.
    void ReleaseShared();

    // Repeats the bitmap from the destination's origin over `rect`, clipped to
    // x >= 0 and y >= 0, with one block transfer per tile; returns how many
    // were made. Nothing is drawn without a memory DC or for an empty bitmap.
    int TileFill(HDC dest, RECT rect) const;

    // The per-pixel copies: GetPixel on the bitmap, SetPixelV (SetPixel for
    // DrawCentreOutDirect) on `dest`. A source pixel outside the bitmap is not
    // read, and its target is left as it was. Without a memory DC every target
    // pixel is written black. A range that is empty or reversed writes nothing.

    // The whole bitmap, columns from the centre outward, white skipped; pixel
    // (c, j) lands at (x + c + dx, y + j + dy).
    void DrawCentreOut(HDC dest, int x, int y, int dx, int dy) const;
    void DrawCentreOutDirect(HDC dest, int x, int y, int dx, int dy) const;
    // Columns firstColumn up to endColumn, drawn with their left at x.
    void CopyColumns(HDC dest, int firstColumn, int x, int endColumn, int y) const;
    void CopyColumnsKeyed(HDC dest, int firstColumn, int x, int endColumn, int y) const;
    // Writes at (x + k, y + j) the pixel (firstColumn + j, k), for k below
    // endColumn - firstColumn and j below the bitmap's height.
    void CopyColumnsTransposed(HDC dest, int firstColumn, int x, int endColumn, int y) const;
    // The area of `dest` from (left, top) to (right, bottom) receives the
    // bitmap's pixels from (sourceX, sourceY) on.
    void CopyBlock(HDC dest, int left, int top, int right, int bottom, int sourceX,
                   int sourceY) const;
    // Writes at (left + m, top + n) the pixel (sourceX + n, sourceY + m), for n
    // below right - left and m below bottom - top.
    void CopyBlockTransposed(HDC dest, int left, int top, int right, int bottom, int sourceX,
                             int sourceY) const;

    int width;
    int height;
    HDC memoryDc;
    int created;
    HBITMAP bitmap;

  private:
    enum PixelWrite { kCopy, kKeyed, kKeyedSetPixel };
    void CopyPixel(HDC dest, int sourceX, int sourceY, int destX, int destY,
                   PixelWrite write) const;
    void DrawCentreOutWith(HDC dest, int x, int y, PixelWrite write) const;
    // Column by column; transposed, source column n becomes destination row n.
    void CopyArea(HDC dest, int sourceX, int sourceY, int columns, int rows, int destX, int destY,
                  PixelWrite write, bool transposed) const;
};

// ReleaseShared and delete; `bitmap` becomes null. Does nothing for null.
void ReleaseSkinBitmap(SkinBitmap*& bitmap);

// The column drawn at step `step` (0 ... width - 1) of a centre-out drawing:
// width / 2, then alternately one further left and one further right.
int CentreOutColumn(int width, int step);

// A device-compatible 24-bit top-down bitmap of the given size with undefined
// pixels; null when the size is zero or the call fails.
HBITMAP CreateBlankBitmap(HDC dc, int width, int height);

constexpr int kBitmapCacheSlots = 50;

// The process-wide cache, in parallel columns. A slot is in use while its
// count is non-zero; no two slots in use share both id and DPI.
struct BitmapCacheTable {
    BitmapId ids[kBitmapCacheSlots];
    UINT dpis[kBitmapCacheSlots];
    int refCounts[kBitmapCacheSlots];
    int widths[kBitmapCacheSlots];
    int heights[kBitmapCacheSlots];
    HDC memoryDcs[kBitmapCacheSlots];
    HBITMAP bitmaps[kBitmapCacheSlots];
};

// Zero at start; only the GUI thread touches it. Nothing is freed at exit.
extern BitmapCacheTable BitmapCache;
