#include "skin/skin_bitmap.h"

#include "common/handles.h"
#include "skin/scaled_art.h"

BitmapCacheTable BitmapCache;

namespace {

int FindSlotInUse(BitmapId id, UINT dpi) {
    for (int slot = 0; slot < kBitmapCacheSlots; ++slot)
        if (BitmapCache.refCounts[slot] > 0 && BitmapCache.ids[slot] == id &&
            BitmapCache.dpis[slot] == dpi)
            return slot;
    return -1;
}

int FindSlotOfDc(HDC memoryDc) {
    for (int slot = 0; slot < kBitmapCacheSlots; ++slot)
        if (BitmapCache.refCounts[slot] > 0 && BitmapCache.memoryDcs[slot] == memoryDc) return slot;
    return -1;
}

// The size of a bitmap; zero for none.
BITMAP Shape(HBITMAP bitmap) {
    BITMAP description = {};
    GetObjectA(bitmap, sizeof description, &description);
    return description;
}

int FindFreeSlot() {
    for (int slot = 0; slot < kBitmapCacheSlots; ++slot)
        if (BitmapCache.refCounts[slot] == 0) return slot;
    return -1;
}

}  // namespace

HBITMAP CreateBlankBitmap(HDC dc, int width, int height) {
    if (width <= 0 || height <= 0) return nullptr;
    BITMAPINFOHEADER header = {sizeof header, width, -height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    return CreateDIBitmap(dc, &header, 0, nullptr, reinterpret_cast<BITMAPINFO*>(&header),
                          DIB_RGB_COLORS);
}

SkinBitmap::SkinBitmap(HINSTANCE instance, HDC dc, BitmapId id, UINT dpi, int cells) {
    created = LoadShared(instance, dc, id, dpi, cells);
}

int SkinBitmap::LoadShared(HINSTANCE instance, HDC dc, BitmapId id, UINT dpi, int cells) {
    int slot = FindSlotInUse(id, dpi);
    if (slot >= 0) {
        memoryDc = BitmapCache.memoryDcs[slot];
        bitmap = BitmapCache.bitmaps[slot];
        width = BitmapCache.widths[slot];
        height = BitmapCache.heights[slot];
        ++BitmapCache.refCounts[slot];
        return 0;
    }

    WORD resource = static_cast<WORD>(id & 0xFFFF);
    if (cells == kSquareCells && dpi != kBaseDpi) {
        // Cells are counted on the artwork as drawn for 96 DPI.
        GdiObject<HBITMAP> base(LoadSkinArt(instance, resource, kBaseDpi, 1));
        BITMAP shape = Shape(base.Get());
        cells = shape.bmHeight ? shape.bmWidth / shape.bmHeight : 1;
    }
    bitmap = LoadSkinArt(instance, resource, dpi, cells);
    memoryDc = CreateCompatibleDC(dc);
    if (bitmap) {
        BITMAP shape = Shape(bitmap);
        width = shape.bmWidth;
        height = shape.bmHeight;
    } else {
        width = ScalePixels(id & 0x3FF, dpi);
        height = ScalePixels((id >> 16) & 0x3FF, dpi);
        bitmap = CreateBlankBitmap(dc, width, height);
    }
    if (memoryDc && bitmap) SelectObject(memoryDc, bitmap);

    // A bitmap without a DC cannot be shared usefully; the next load retries.
    slot = memoryDc ? FindFreeSlot() : -1;
    if (slot < 0) return 1;
    BitmapCache.ids[slot] = id;
    BitmapCache.dpis[slot] = dpi;
    BitmapCache.refCounts[slot] = 1;
    BitmapCache.widths[slot] = width;
    BitmapCache.heights[slot] = height;
    BitmapCache.memoryDcs[slot] = memoryDc;
    BitmapCache.bitmaps[slot] = bitmap;
    return 1;
}

void SkinBitmap::ReleaseShared() {
    if (!memoryDc && !bitmap) return;
    int slot = FindSlotOfDc(memoryDc);
    bool last = true;
    if (slot >= 0) {
        last = --BitmapCache.refCounts[slot] == 0;
        if (last) BitmapCache.ids[slot] = 0;
    }
    if (last) {
        // The DC goes first: the bitmap must not be selected when deleted.
        if (memoryDc) DeleteDC(memoryDc);
        if (bitmap) DeleteObject(bitmap);
    }
    memoryDc = nullptr;
    bitmap = nullptr;
}

void ReleaseSkinBitmap(SkinBitmap*& bitmap) {
    if (!bitmap) return;
    bitmap->ReleaseShared();
    delete bitmap;
    bitmap = nullptr;
}
