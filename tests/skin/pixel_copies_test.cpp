#include <vector>

#include "skin_test_support.h"

namespace {

COLORREF Strip(int c, int j) {
    return PatternColour(c, j, kStripTag, true);
}

std::vector<int> CentreOutOrder(int width) {
    std::vector<int> order;
    for (int step = 0; step < width; ++step) order.push_back(CentreOutColumn(width, step));
    return order;
}

TEST(CentreOutColumn, StartsAtTheCentreAndAlternatesOutward) {
    EXPECT_EQ((std::vector<int>{3, 2, 4, 1, 5, 0}), CentreOutOrder(6));
    EXPECT_EQ((std::vector<int>{2, 1, 3, 0, 4}), CentreOutOrder(5));
    std::vector<int> wide = CentreOutOrder(257);
    EXPECT_EQ((std::vector<int>{128, 127, 129, 126}),
              std::vector<int>(wide.begin(), wide.begin() + 4));
    EXPECT_EQ((std::vector<int>{0, 256}), std::vector<int>(wide.end() - 2, wide.end()));
    for (int width = 1; width <= 300; ++width) {
        std::vector<int> seen(width, 0);
        for (int column : CentreOutOrder(width)) {
            ASSERT_TRUE(column >= 0 && column < width) << width;
            ++seen[column];
        }
        EXPECT_EQ(std::vector<int>(width, 1), seen) << "width " << width;
    }
}

using PixelCopyTest = SkinTest;

TEST_F(PixelCopyTest, CentreOutDrawingsSkipWhite) {
    SkinBitmap keyed = Load(IDB_TEST_KEYED);
    auto expected = [](int x, int y) {
        // Drawn at (4, 2) shifted by (1, 3).
        int c = x - 5, j = y - 5;
        if (c < 0 || c >= 5 || j < 0 || j >= 3) return kUntouched;
        COLORREF colour = PatternColour(c, j, kKeyedTag, true);
        return colour == TransparentKey ? kUntouched : colour;
    };
    Canvas canvas(16, 12);
    keyed.DrawCentreOut(canvas.Dc(), 4, 2, 1, 3);
    EXPECT_EQ(0, Mismatches(canvas, expected));
    Canvas direct(16, 12);
    keyed.DrawCentreOutDirect(direct.Dc(), 4, 2, 1, 3);
    EXPECT_EQ(0, Mismatches(direct, expected));
    keyed.ReleaseShared();
}

TEST_F(PixelCopyTest, CentreOutDrawingWritesEveryPixelButWhite) {
    SkinBitmap white = Load(IDB_TEST_WHITE);
    Canvas canvas(8, 8);
    white.DrawCentreOut(canvas.Dc(), 0, 0, 0, 0);
    white.DrawCentreOutDirect(canvas.Dc(), 0, 0, 0, 0);
    EXPECT_EQ(0, Mismatches(canvas, [](int, int) { return kUntouched; }));
    white.ReleaseShared();

    // The picture's width, so that every column of the centre-out order lands.
    SkinBitmap picture = Load(BlankId(257, 6));
    FillLargePattern(picture);
    Canvas wide(257, 6);
    picture.DrawCentreOutDirect(wide.Dc(), 0, 0, 0, 0);
    EXPECT_EQ(0, Mismatches(wide, LargePatternColour));
    picture.ReleaseShared();
}

TEST_F(PixelCopyTest, ColumnCopiesKeepOrSkipWhite) {
    SkinBitmap strip = Load(IDB_TEST_STRIP);
    auto cell = [](bool keyed) {
        return [keyed](int x, int y) {
            // Cell 2 (columns 26 to 38) drawn at (3, 4).
            int c = x - 3 + 26, j = y - 4;
            if (c < 26 || c >= 39 || j < 0 || j >= 13) return kUntouched;
            return keyed && Strip(c, j) == TransparentKey ? kUntouched : Strip(c, j);
        };
    };
    Canvas plain(20, 20);
    strip.CopyColumns(plain.Dc(), 26, 3, 39, 4);
    EXPECT_EQ(0, Mismatches(plain, cell(false)));
    Canvas keyed(20, 20);
    strip.CopyColumnsKeyed(keyed.Dc(), 26, 3, 39, 4);
    EXPECT_EQ(0, Mismatches(keyed, cell(true)));
    strip.ReleaseShared();
}

TEST_F(PixelCopyTest, TransposedColumnsExchangeRowsAndColumns) {
    SkinBitmap strip = Load(IDB_TEST_STRIP);
    for (int n = 0; n < 4; ++n) {
        Canvas canvas(20, 20);
        strip.CopyColumnsTransposed(canvas.Dc(), 13 * n, 2, 13 * n + 13, 5);
        EXPECT_EQ(0, Mismatches(canvas,
                                [n](int x, int y) {
                                    int k = x - 2, j = y - 5;
                                    if (k < 0 || k >= 13 || j < 0 || j >= 13) return kUntouched;
                                    return Strip(13 * n + j, k);
                                }))
            << "cell " << n;
    }
    strip.ReleaseShared();
}

TEST_F(PixelCopyTest, BlocksCopyFromTheirSourceCorner) {
    SkinBitmap strip = Load(IDB_TEST_STRIP);
    Canvas plain(24, 24);
    strip.CopyBlock(plain.Dc(), 2, 3, 12, 9, 20, 4);
    EXPECT_EQ(0, Mismatches(plain, [](int x, int y) {
                  int n = x - 2, m = y - 3;
                  if (n < 0 || n >= 10 || m < 0 || m >= 6) return kUntouched;
                  return Strip(20 + n, 4 + m);
              }));
    // Transposed: (bottom - top) wide and (right - left) high.
    Canvas transposed(24, 24);
    strip.CopyBlockTransposed(transposed.Dc(), 2, 3, 12, 9, 20, 4);
    EXPECT_EQ(0, Mismatches(transposed, [](int x, int y) {
                  int m = x - 2, n = y - 3;
                  if (m < 0 || m >= 6 || n < 0 || n >= 10) return kUntouched;
                  return Strip(20 + n, 4 + m);
              }));
    strip.ReleaseShared();
}

TEST_F(PixelCopyTest, EmptyOrReversedRangesWriteNothing) {
    SkinBitmap strip = Load(IDB_TEST_STRIP);
    Canvas canvas(20, 20);
    strip.CopyColumns(canvas.Dc(), 13, 0, 13, 0);
    strip.CopyColumnsKeyed(canvas.Dc(), 13, 0, 10, 0);
    strip.CopyColumnsTransposed(canvas.Dc(), 13, 0, 12, 0);
    strip.CopyBlock(canvas.Dc(), 5, 5, 5, 10, 0, 0);
    strip.CopyBlock(canvas.Dc(), 5, 5, 10, 4, 0, 0);
    strip.CopyBlockTransposed(canvas.Dc(), 5, 5, 4, 10, 0, 0);
    EXPECT_EQ(0, Mismatches(canvas, [](int, int) { return kUntouched; }));
    strip.ReleaseShared();
}

TEST_F(PixelCopyTest, PixelsOutsideTheBitmapAreNotRead) {
    SkinBitmap strip = Load(IDB_TEST_STRIP);
    // Columns 48 to 55 of a 52-wide strip: only 48 to 51 exist.
    Canvas columns(20, 20);
    strip.CopyColumns(columns.Dc(), 48, 0, 56, 0);
    EXPECT_EQ(0, Mismatches(columns, [](int x, int y) {
                  return x < 4 && y < 13 ? Strip(48 + x, y) : kUntouched;
              }));
    // A transposed range wider than the strip is high would read rows 13 on.
    Canvas transposed(24, 20);
    strip.CopyColumnsTransposed(transposed.Dc(), 0, 0, 20, 0);
    EXPECT_EQ(0, Mismatches(transposed, [](int x, int y) {
                  return x < 13 && y < 13 ? Strip(y, x) : kUntouched;
              }));
    // A block reaching left of and above the bitmap.
    Canvas block(10, 10);
    strip.CopyBlock(block.Dc(), 0, 0, 4, 4, -2, -1);
    EXPECT_EQ(0, Mismatches(block, [](int x, int y) {
                  return x >= 2 && x < 4 && y >= 1 && y < 4 ? Strip(x - 2, y - 1) : kUntouched;
              }));
    strip.ReleaseShared();
}

TEST_F(PixelCopyTest, WithoutAMemoryDcTheWholeTargetIsBlack) {
    SkinBitmap strip = Load(IDB_TEST_STRIP);
    SkinBitmap withoutDc = strip;
    withoutDc.memoryDc = nullptr;
    Canvas canvas(60, 20);
    withoutDc.CopyColumnsKeyed(canvas.Dc(), 0, 0, 3, 0);
    withoutDc.DrawCentreOut(canvas.Dc(), 0, 0, 0, 0);
    EXPECT_EQ(0, Mismatches(canvas, [](int x, int y) {
                  return x < 52 && y < 13 ? RGB(0, 0, 0) : kUntouched;
              }));
    strip.ReleaseShared();
}

}  // namespace
