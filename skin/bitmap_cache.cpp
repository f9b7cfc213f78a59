#include "skin/skin_bitmap.h"

BitmapCacheTable BitmapCache;

namespace {

int FindSlotInUse(BitmapId id) {
    for (int slot = 0; slot < kBitmapCacheSlots; ++slot)
        if (BitmapCache.refCounts[slot] > 0 && BitmapCache.ids[slot] == id) return slot;
    return -1;
}

int FindSlotOfDc(HDC memoryDc) {
    for (int slot = 0; slot < kBitmapCacheSlots; ++slot)
        if (BitmapCache.refCounts[slot] > 0 && BitmapCache.memoryDcs[slot] == memoryDc) return slot;
    return -1;
}

int FindFreeSlot() {
    for (int slot = 0; slot < kBitmapCacheSlots; ++slot)
        if (BitmapCache.refCounts[slot] == 0) return slot;
    return -1;
}

}  // namespace

HBITMAP CreateBlankBitmap(HDC dc, int width, int height) {
    if (width <= 0 || height <= 0) return nullptr;
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = -height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    return CreateDIBitmap(dc, &header, 0, nullptr, reinterpret_cast<BITMAPINFO*>(&header),
                          DIB_RGB_COLORS);
}

SkinBitmap::SkinBitmap(HINSTANCE instance, HDC dc, BitmapId id) {
    created = LoadShared(instance, dc, id);
}

int SkinBitmap::LoadShared(HINSTANCE instance, HDC dc, BitmapId id) {
    int slot = FindSlotInUse(id);
    if (slot >= 0) {
        memoryDc = BitmapCache.memoryDcs[slot];
        bitmap = BitmapCache.bitmaps[slot];
        width = BitmapCache.widths[slot];
        height = BitmapCache.heights[slot];
        ++BitmapCache.refCounts[slot];
        return 0;
    }

    bitmap = LoadBitmapA(instance, MAKEINTRESOURCEA(id & 0xFFFF));
    memoryDc = CreateCompatibleDC(dc);
    if (bitmap) {
        BITMAP description = {};
        GetObjectA(bitmap, sizeof description, &description);
        width = description.bmWidth;
        height = description.bmHeight;
    } else {
        width = id & 0x3FF;
        height = (id >> 16) & 0x3FF;
        bitmap = CreateBlankBitmap(dc, width, height);
    }
    if (memoryDc && bitmap) SelectObject(memoryDc, bitmap);

    // A bitmap without a DC cannot be shared usefully; the next load retries.
    slot = memoryDc ? FindFreeSlot() : -1;
    if (slot < 0) return 1;
    BitmapCache.ids[slot] = id;
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
