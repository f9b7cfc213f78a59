#include <utility>
#include <vector>

#include "skin_test_support.h"

namespace {

TEST(CentreOutColumn, StartsAtTheCentreAndTakesEveryColumnOnce) {
    auto order = [](int width) {
        std::vector<int> columns;
        for (int step = 0; step < width; ++step) columns.push_back(CentreOutColumn(width, step));
        return columns;
    };
    EXPECT_EQ((std::vector<int>{3, 2, 4, 1, 5, 0}), order(6));
    EXPECT_EQ((std::vector<int>{2, 1, 3, 0, 4}), order(5));
    for (int width = 1; width <= 300; ++width) {
        std::vector<int> seen(width, 0);
        for (int column : order(width)) {
            ASSERT_TRUE(column >= 0 && column < width) << width;
            ++seen[column];
        }
        EXPECT_EQ(std::vector<int>(width, 1), seen) << "width " << width;
    }
}

using PixelCopyTest = SkinTest;

// Every copy of the keyed 52 x 13 test strip: the block of the canvas from
// `target` on, `size` large, shows the strip from `source` on (with rows and
// columns exchanged when transposed), white skipped when keyed, and nothing
// else is written. A source pixel outside the strip leaves its target alone.
TEST_F(PixelCopyTest, CopiesLandWhereTheirCoordinatesSay) {
    struct Case {
        int targetX, targetY, width, height, sourceX, sourceY;
        bool transposed, keyed;
        void (*draw)(const SkinBitmap& strip, HDC dc);
    } cases[] = {
        {5, 5, 52, 13, 0, 0, false, true,
         [](const SkinBitmap& s, HDC dc) { s.DrawCentreOut(dc, 4, 2, 1, 3); }},
        {5, 5, 52, 13, 0, 0, false, true,
         [](const SkinBitmap& s, HDC dc) { s.DrawCentreOutDirect(dc, 4, 2, 1, 3); }},
        {3, 4, 13, 13, 26, 0, false, false,
         [](const SkinBitmap& s, HDC dc) { s.CopyColumns(dc, 26, 3, 39, 4); }},
        {3, 4, 13, 13, 26, 0, false, true,
         [](const SkinBitmap& s, HDC dc) { s.CopyColumnsKeyed(dc, 26, 3, 39, 4); }},
        {2, 5, 13, 13, 26, 0, true, false,
         [](const SkinBitmap& s, HDC dc) { s.CopyColumnsTransposed(dc, 26, 2, 39, 5); }},
        {2, 3, 10, 6, 20, 4, false, false,
         [](const SkinBitmap& s, HDC dc) { s.CopyBlock(dc, 2, 3, 12, 9, 20, 4); }},
        {2, 3, 6, 10, 20, 4, true, false,
         [](const SkinBitmap& s, HDC dc) { s.CopyBlockTransposed(dc, 2, 3, 12, 9, 20, 4); }},
        {0, 0, 8, 13, 48, 0, false, false,
         [](const SkinBitmap& s, HDC dc) { s.CopyColumns(dc, 48, 0, 56, 0); }},
        {0, 0, 20, 13, 0, 0, true, false,
         [](const SkinBitmap& s, HDC dc) { s.CopyColumnsTransposed(dc, 0, 0, 20, 0); }},
        {0, 0, 4, 4, -2, -1, false, false,
         [](const SkinBitmap& s, HDC dc) { s.CopyBlock(dc, 0, 0, 4, 4, -2, -1); }},
        {0, 0, 0, 0, 0, 0, false, false,
         [](const SkinBitmap& s, HDC dc) {  // empty and reversed ranges
             s.CopyColumns(dc, 13, 0, 13, 0);
             s.CopyColumnsKeyed(dc, 13, 0, 10, 0);
             s.CopyColumnsTransposed(dc, 13, 0, 12, 0);
             s.CopyBlock(dc, 5, 5, 5, 10, 0, 0);
             s.CopyBlock(dc, 5, 5, 10, 4, 0, 0);
             s.CopyBlockTransposed(dc, 5, 5, 4, 10, 0, 0);
         }},
    };
    SkinBitmap strip = Load(IDB_TEST_STRIP);
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        Canvas canvas(64, 24);
        c.draw(strip, canvas.Dc());
        EXPECT_EQ(0, canvas.Mismatches([&](int x, int y) {
            int dx = x - c.targetX, dy = y - c.targetY;
            if (dx < 0 || dy < 0 || dx >= c.width || dy >= c.height) return kUntouched;
            COLORREF colour = c.transposed ? StripColour(c.sourceX + dy, c.sourceY + dx)
                                           : StripColour(c.sourceX + dx, c.sourceY + dy);
            return c.keyed && colour == TransparentKey ? kUntouched : colour;
        }));
    }
    // Without a memory DC every target pixel is written black.
    SkinBitmap withoutDc = std::move(strip);
    HDC memoryDc = std::exchange(withoutDc.memoryDc, nullptr);
    Canvas canvas(64, 24);
    withoutDc.CopyColumnsKeyed(canvas.Dc(), 0, 0, 3, 0);
    withoutDc.DrawCentreOut(canvas.Dc(), 0, 0, 0, 0);
    EXPECT_EQ(0, canvas.Mismatches(
                     [](int x, int y) { return x < 52 && y < 13 ? RGB(0, 0, 0) : kUntouched; }));
    withoutDc.memoryDc = memoryDc;
    withoutDc.ReleaseShared();
}

}  // namespace
