
#include "skin_test_support.h"

namespace {

// Pixels of `canvas` that differ from `expected`, which is given the pixel's
// position and says what it should be.
using TileFillTest = SkinTest;

TEST_F(TileFillTest, WholeBitmapOverItsOwnAreaIsOneCopy) {
    SkinBitmap background = Load(BlankId(500, 292));
    FillLargePattern(background);
    Canvas canvas(500, 292);
    EXPECT_EQ(1, background.TileFill(canvas.Dc(), RECT{0, 0, 500, 292}));
    EXPECT_EQ(0, Mismatches(canvas, LargePatternColour));
    background.ReleaseShared();
}

TEST_F(TileFillTest, RectangleInTheSecondTileColumnCopiesFromItsOffset) {
    SkinBitmap background = Load(BlankId(500, 292));
    FillLargePattern(background);
    Canvas canvas(800, 300);
    RECT rect = {600, 10, 700, 40};
    EXPECT_EQ(1, background.TileFill(canvas.Dc(), rect));
    EXPECT_EQ(0, Mismatches(canvas, [&](int x, int y) {
                  return Inside(rect, x, y) ? LargePatternColour(x - 500, y) : kUntouched;
              }));
    background.ReleaseShared();
}

TEST_F(TileFillTest, TilesRepeatFromTheDestinationOrigin) {
    SkinBitmap tile = Load(IDB_TEST_PATTERN);
    Canvas canvas(30, 20);
    RECT rect = {5, 3, 20, 11};
    // Columns of tiles at x 0, 6, 12, 18 and rows at y 0, 4, 8.
    EXPECT_EQ(12, tile.TileFill(canvas.Dc(), rect));
    EXPECT_EQ(0, Mismatches(canvas, [&](int x, int y) {
                  return Inside(rect, x, y) ? PatternColour(x % 6, y % 4, kPatternTag, false)
                                            : kUntouched;
              }));
    tile.ReleaseShared();
}

TEST_F(TileFillTest, NegativeEdgesStopAtTheOrigin) {
    SkinBitmap tile = Load(IDB_TEST_PATTERN);
    Canvas canvas(12, 8);
    EXPECT_EQ(1, tile.TileFill(canvas.Dc(), RECT{-5, -3, 4, 2}));
    EXPECT_EQ(0, Mismatches(canvas, [&](int x, int y) {
                  return Inside(RECT{0, 0, 4, 2}, x, y) ? PatternColour(x, y, kPatternTag, false)
                                                        : kUntouched;
              }));
    tile.ReleaseShared();
}

TEST_F(TileFillTest, EmptyRectanglesAndEmptyBitmapsDrawNothing) {
    SkinBitmap tile = Load(IDB_TEST_PATTERN);
    Canvas canvas(30, 20);
    const RECT empty[] = {
        {10, 10, 10, 20}, {10, 10, 5, 20}, {10, 10, 20, 10},
        {10, 10, 20, 5},  {-5, 0, 0, 10},  {0, -5, 10, 0},
    };
    for (const RECT& rect : empty) EXPECT_EQ(0, tile.TileFill(canvas.Dc(), rect));

    SkinBitmap noHeight = Load(BlankId(8, 0));
    EXPECT_EQ(0, noHeight.TileFill(canvas.Dc(), RECT{0, 0, 30, 20}));
    SkinBitmap withoutDc = tile;
    withoutDc.memoryDc = nullptr;
    EXPECT_EQ(0, withoutDc.TileFill(canvas.Dc(), RECT{0, 0, 30, 20}));

    EXPECT_EQ(0, Mismatches(canvas, [](int, int) { return kUntouched; }));
    tile.ReleaseShared();
    noHeight.ReleaseShared();
}

}  // namespace
