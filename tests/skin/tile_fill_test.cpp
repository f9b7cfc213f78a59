#include "skin_test_support.h"

namespace {

using TileFillTest = SkinTest;

// Tiles start at multiples of the bitmap's size from the destination's
// origin, whatever the rectangle; nothing lands left of or above the origin.
TEST_F(TileFillTest, TilesFromTheOriginClippedToTheRectangle) {
    struct Case {
        BitmapId id;
        RECT rect;
        int copies;
    } cases[] = {
        {BlankId(500, 292), {0, 0, 500, 292}, 1},
        {BlankId(500, 292), {600, 10, 700, 40}, 1},  // the second tile column
        {IDB_TEST_PATTERN, {5, 3, 20, 11}, 12},      // tiles at x 0, 6, 12, 18 and y 0, 4, 8
        {IDB_TEST_PATTERN, {-5, -3, 4, 2}, 1},
        {IDB_TEST_PATTERN, {10, 10, 10, 20}, 0},
        {IDB_TEST_PATTERN, {10, 10, 5, 20}, 0},
        {IDB_TEST_PATTERN, {10, 10, 20, 5}, 0},
        {IDB_TEST_PATTERN, {-5, 0, 0, 10}, 0},
        {IDB_TEST_PATTERN, {0, -5, 10, 0}, 0},
        {BlankId(8, 0), {0, 0, 30, 20}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.id << " " << c.rect.left << "," << c.rect.top);
        SkinBitmap tile = Load(c.id);
        if (tile.width == 500) FillLargePattern(tile);
        Canvas canvas(800, 300);
        EXPECT_EQ(c.copies, tile.TileFill(canvas.Dc(), c.rect));
        EXPECT_EQ(0, canvas.Mismatches([&](int x, int y) {
            if (!c.copies || !Inside(c.rect, x, y)) return kUntouched;
            return tile.width == 500 ? LargePatternColour(x % 500, y % 292) : Background(x, y);
        }));
        tile.ReleaseShared();
    }
}

}  // namespace
