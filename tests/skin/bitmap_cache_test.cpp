#include <vector>

#include "skin_test_support.h"

namespace {

using BitmapCacheTest = SkinTest;

TEST_F(BitmapCacheTest, RecordsOfOneIdShareDcAndBitmapUntilTheLastRelease) {
    SkinBitmap first = Load(IDB_TEST_PATTERN);
    SkinBitmap second = Load(IDB_TEST_PATTERN);
    EXPECT_EQ(1, first.created);
    EXPECT_EQ(0, second.created);
    EXPECT_EQ(first.memoryDc, second.memoryDc);
    EXPECT_EQ(first.bitmap, second.bitmap);
    EXPECT_EQ(6, second.width);
    EXPECT_EQ(4, second.height);
    int slot = SlotOf(IDB_TEST_PATTERN);
    ASSERT_GE(slot, 0);
    EXPECT_EQ(2, BitmapCache.refCounts[slot]);

    HDC dc = first.memoryDc;
    HBITMAP bitmap = first.bitmap;
    first.ReleaseShared();
    EXPECT_EQ(static_cast<DWORD>(OBJ_MEMDC), GetObjectType(dc));
    EXPECT_EQ(static_cast<DWORD>(OBJ_BITMAP), GetObjectType(bitmap));
    EXPECT_EQ(1, BitmapCache.refCounts[slot]);
    // Releasing the same record again must not take the other one's share.
    first.ReleaseShared();
    EXPECT_EQ(1, BitmapCache.refCounts[slot]);
    EXPECT_EQ(PatternColour(5, 3, kPatternTag, false), GetPixel(second.memoryDc, 5, 3));

    second.ReleaseShared();
    EXPECT_EQ(0u, GetObjectType(dc));
    EXPECT_EQ(0u, GetObjectType(bitmap));
    EXPECT_EQ(0u, BitmapCache.ids[slot]);
    EXPECT_EQ(0, BitmapCache.refCounts[slot]);
}

TEST_F(BitmapCacheTest, LoadedBitmapHoldsTheResourcePixels) {
    SkinBitmap strip = Load(IDB_TEST_STRIP);
    ASSERT_EQ(52, strip.width);
    ASSERT_EQ(13, strip.height);
    int wrong = 0;
    for (int j = 0; j < 13; ++j)
        for (int c = 0; c < 52; ++c)
            wrong += GetPixel(strip.memoryDc, c, j) != PatternColour(c, j, kStripTag, true);
    EXPECT_EQ(0, wrong);
    strip.ReleaseShared();
}

TEST_F(BitmapCacheTest, FreedSlotsAreReusedFirstFreeFirst) {
    SkinBitmap pattern = Load(IDB_TEST_PATTERN);
    SkinBitmap keyed = Load(IDB_TEST_KEYED);
    SkinBitmap strip = Load(IDB_TEST_STRIP);
    EXPECT_EQ(0, SlotOf(IDB_TEST_PATTERN));
    EXPECT_EQ(1, SlotOf(IDB_TEST_KEYED));
    EXPECT_EQ(2, SlotOf(IDB_TEST_STRIP));

    pattern.ReleaseShared();
    keyed.ReleaseShared();
    SkinBitmap keyedAgain = Load(IDB_TEST_KEYED);
    EXPECT_EQ(1, keyedAgain.created);
    EXPECT_EQ(0, SlotOf(IDB_TEST_KEYED)) << "a lower slot than before";
    SkinBitmap patternAgain = Load(IDB_TEST_PATTERN);
    EXPECT_EQ(1, SlotOf(IDB_TEST_PATTERN));
    EXPECT_EQ(PatternColour(2, 1, kKeyedTag, true), GetPixel(keyedAgain.memoryDc, 2, 1));

    keyedAgain.ReleaseShared();
    patternAgain.ReleaseShared();
    strip.ReleaseShared();
}

TEST_F(BitmapCacheTest, TheFiftyFirstIdIsUsedButNotCached) {
    std::vector<SkinBitmap> held;
    for (int k = 1; k <= kBitmapCacheSlots; ++k) held.push_back(Load(BlankId(k, 2)));
    EXPECT_EQ(kBitmapCacheSlots, SlotsInUse());

    SkinBitmap extra = Load(BlankId(51, 2));
    EXPECT_EQ(1, extra.created);
    EXPECT_EQ(-1, SlotOf(BlankId(51, 2)));
    EXPECT_EQ(51, extra.width);
    // It draws like any other.
    SetPixelV(extra.memoryDc, 50, 1, RGB(9, 8, 7));
    Canvas canvas(60, 4);
    EXPECT_EQ(1, extra.TileFill(canvas.Dc(), RECT{0, 0, 51, 2}));
    EXPECT_EQ(RGB(9, 8, 7), canvas.Pixel(50, 1));
    // An id that is cached is still shared while the cache is full.
    SkinBitmap shared = Load(BlankId(7, 2));
    EXPECT_EQ(0, shared.created);
    shared.ReleaseShared();

    // Alone with its bitmap, the record frees it on release.
    HDC dc = extra.memoryDc;
    HBITMAP bitmap = extra.bitmap;
    extra.ReleaseShared();
    EXPECT_EQ(0u, GetObjectType(dc));
    EXPECT_EQ(0u, GetObjectType(bitmap));
    EXPECT_EQ(kBitmapCacheSlots, SlotsInUse());
    for (SkinBitmap& bitmapRecord : held) bitmapRecord.ReleaseShared();
}

TEST_F(BitmapCacheTest, BlankBitmapTakesItsSizeFromTheId) {
    // High word 20, low word 32: no resource 32, so a blank 32 x 20 bitmap.
    SkinBitmap blank = Load(BlankId(32, 20));
    EXPECT_EQ(1, blank.created);
    EXPECT_EQ(32, blank.width);
    EXPECT_EQ(20, blank.height);
    BITMAP description = {};
    ASSERT_TRUE(GetObjectA(blank.bitmap, sizeof description, &description));
    EXPECT_EQ(32, description.bmWidth);
    EXPECT_EQ(20, description.bmHeight);
    EXPECT_GE(SlotOf(BlankId(32, 20)), 0);

    // Only bits 0-9 and 16-25 count for the size; the low word names no
    // resource either.
    SkinBitmap masked = Load(0xFC14FC20);
    EXPECT_EQ(32, masked.width);
    EXPECT_EQ(20, masked.height);
    EXPECT_GE(SlotOf(0xFC14FC20), 0) << "cached under the whole id";

    // A plain id without a resource: its low ten bits wide, no height.
    SkinBitmap flat = Load(63);
    EXPECT_EQ(63, flat.width);
    EXPECT_EQ(0, flat.height);

    blank.ReleaseShared();
    masked.ReleaseShared();
    flat.ReleaseShared();
}

TEST_F(BitmapCacheTest, ReleaseSkinBitmapReleasesDeletesAndClears) {
    SkinBitmap* bitmap = new SkinBitmap(TestInstance(), screen.Get(), IDB_TEST_KEYED);
    EXPECT_EQ(1, SlotsInUse());
    ReleaseSkinBitmap(bitmap);
    EXPECT_EQ(nullptr, bitmap);
    EXPECT_EQ(0, SlotsInUse());
    ReleaseSkinBitmap(bitmap);
}

}  // namespace
