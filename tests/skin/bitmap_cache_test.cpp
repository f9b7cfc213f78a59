#include <vector>

#include "skin_test_support.h"

namespace {

using BitmapCacheTest = SkinTest;

TEST_F(BitmapCacheTest, RecordsOfOneIdShareDcAndBitmapUntilTheLastRelease) {
    SkinBitmap first = Load(IDB_TEST_PATTERN);
    auto* second = new SkinBitmap(TestInstance(), screenDc.Get(), IDB_TEST_PATTERN);
    EXPECT_EQ(1, first.created);
    EXPECT_EQ(0, second->created);
    EXPECT_EQ(first.memoryDc, second->memoryDc);
    EXPECT_EQ(first.bitmap, second->bitmap);
    EXPECT_EQ(4, second->height);
    int slot = SlotOf(IDB_TEST_PATTERN);
    HDC dc = first.memoryDc;
    HBITMAP bitmap = first.bitmap;
    first.ReleaseShared();
    first.ReleaseShared();  // must not take the other record's share
    EXPECT_EQ(1, BitmapCache.refCounts[slot]);
    EXPECT_EQ(Background(5, 3), GetPixel(second->memoryDc, 5, 3));

    ReleaseSkinBitmap(second);
    EXPECT_EQ(nullptr, second);
    EXPECT_EQ(0u, GetObjectType(dc));
    EXPECT_EQ(0u, GetObjectType(bitmap));
    EXPECT_EQ(0, SlotsInUse());
    ReleaseSkinBitmap(second);
}

TEST_F(BitmapCacheTest, FreedSlotsAreReusedFirstFreeFirst) {
    SkinBitmap a = Load(IDB_TEST_PATTERN);
    SkinBitmap b = Load(IDB_TEST_STRIP);
    SkinBitmap c = Load(BlankId(5, 5));
    a.ReleaseShared();
    b.ReleaseShared();
    SkinBitmap bAgain = Load(IDB_TEST_STRIP);
    SkinBitmap aAgain = Load(IDB_TEST_PATTERN);
    EXPECT_EQ(1, bAgain.created);
    EXPECT_EQ(0, SlotOf(IDB_TEST_STRIP));
    EXPECT_EQ(1, SlotOf(IDB_TEST_PATTERN));
    EXPECT_EQ(2, SlotOf(BlankId(5, 5)));
    EXPECT_EQ(StripColour(2, 1), GetPixel(bAgain.memoryDc, 2, 1));
    for (SkinBitmap* held : {&aAgain, &bAgain, &c}) held->ReleaseShared();
}

TEST_F(BitmapCacheTest, TheFiftyFirstIdIsUsedButNotCached) {
    std::vector<SkinBitmap> held;
    for (int k = 1; k <= kBitmapCacheSlots; ++k) held.push_back(Load(BlankId(k, 2)));
    SkinBitmap extra = Load(BlankId(51, 2));
    EXPECT_EQ(-1, SlotOf(BlankId(51, 2)));
    SetPixelV(extra.memoryDc, 50, 1, RGB(9, 8, 7));
    Canvas canvas(60, 4);
    EXPECT_EQ(1, extra.TileFill(canvas.Dc(), RECT{0, 0, 51, 2}));
    EXPECT_EQ(RGB(9, 8, 7), canvas.Pixel(50, 1));
    SkinBitmap shared = Load(BlankId(7, 2));
    EXPECT_EQ(0, shared.created) << "a cached id is still shared";
    shared.ReleaseShared();

    // Alone with its bitmap, the record frees it on release.
    HDC dc = extra.memoryDc;
    HBITMAP bitmap = extra.bitmap;
    extra.ReleaseShared();
    EXPECT_EQ(0u, GetObjectType(dc));
    EXPECT_EQ(0u, GetObjectType(bitmap));
    EXPECT_EQ(kBitmapCacheSlots, SlotsInUse());
    for (SkinBitmap& record : held) record.ReleaseShared();
}

// Held together: one id at two DPIs is two records.
TEST_F(BitmapCacheTest, BlankBitmapTakesItsSizeFromBits0To9And16To25) {
    struct Case {
        BitmapId id;
        UINT dpi;
        int width, height;
    } cases[] = {{BlankId(32, 20), 96, 32, 20},
                 {0xFC14FC20, 96, 32, 20},
                 {63, 96, 63, 0},
                 {BlankId(32, 20), 192, 64, 40}};
    std::vector<SkinBitmap> blanks;
    for (const Case& c : cases) blanks.emplace_back(TestInstance(), screenDc.Get(), c.id, c.dpi);
    for (size_t k = 0; k < blanks.size(); ++k) {
        const Case& c = cases[k];
        EXPECT_EQ(1, blanks[k].created) << c.id << " at " << c.dpi;
        EXPECT_EQ(c.width, blanks[k].width) << c.id << " at " << c.dpi;
        EXPECT_EQ(c.height, blanks[k].height) << c.id << " at " << c.dpi;
        EXPECT_GE(SlotOf(c.id), 0) << "cached under the whole id " << c.id;
    }
    // Each release frees its own record, not the one of the id at 96 DPI.
    HDC at192 = blanks.back().memoryDc;
    blanks.back().ReleaseShared();
    EXPECT_EQ(0u, GetObjectType(at192));
    EXPECT_EQ(DWORD{OBJ_MEMDC}, GetObjectType(blanks.front().memoryDc));
    for (SkinBitmap& blank : blanks) blank.ReleaseShared();
}

}  // namespace
