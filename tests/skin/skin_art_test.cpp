// The skin's art for a display's DPI: the 96-DPI bitmaps as they are, the
// renderings for larger scales decoded from the program's PNG resources, and
// every other scale filtered from the nearest larger art, cell by cell.
#include <windows.h>

#include <objidl.h>  // before GDI+, which takes it as given

#include <gdiplus.h>

#include <algorithm>
#include <string>
#include <vector>

#include "res/resource_ids.h"
#include "skin/scaled_art.h"
#include "skin_test_support.h"
#include "support/screen_capture.h"

namespace {

// The art asked of the program, or with `resource` the 96-DPI bitmap.
Pixels Art(WORD id, UINT dpi, int cells, bool resource = false) {
    return resource ? LoadArtwork(id) : TakePixels(LoadSkinArt(TestInstance(), id, dpi, cells));
}

// A committed rendering, read from the source tree (ART_FOLDER) by GDI+ on
// its own, apart from the program's resources and its imaging code.
Pixels ReadPng(const std::string& name) {
    std::wstring path = L"" ART_FOLDER + std::wstring(name.begin(), name.end());
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    HBITMAP bitmap = nullptr;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok) {
        Gdiplus::Bitmap(path.c_str()).GetHBITMAP(Gdiplus::Color(), &bitmap);
        Gdiplus::GdiplusShutdown(token);
    }
    return TakePixels(bitmap);
}

// Channels of `art` that no filter could make of `from`: each must lie within
// `slack` of what the channel spans around the same place of the same cell,
// as a filter blends neighbours and brings in nothing from elsewhere.
int Strays(const Pixels& art, const Pixels& from, int cells, int slack) {
    int cell = art.width / cells, fromCell = from.width / cells, strays = 0;
    for (int y = 0; y < art.height; ++y)
        for (int x = 0; x < art.width; ++x)
            for (int shift : {0, 8, 16}) {
                int first = x / cell * fromCell, fromX = first + x % cell * fromCell / cell;
                int fromY = y * from.height / art.height, low = 255, high = 0;
                for (int j = std::max(fromY - 1, 0); j <= std::min(fromY + 2, from.height - 1); ++j)
                    for (int i = std::max(fromX - 1, first);
                         i <= std::min(fromX + 2, first + fromCell - 1); ++i) {
                        low = std::min<int>(low, from.At(i, j) >> shift & 0xFF);
                        high = std::max<int>(high, from.At(i, j) >> shift & 0xFF);
                    }
                int value = art.At(x, y) >> shift & 0xFF;
                strays += value < low - slack || value > high + slack;
            }
    return strays;
}

using SkinArtTest = SkinTest;

TEST_F(SkinArtTest, AtEachRenderedDpiEachBitmapIsItsArtPixelForPixel) {
    const struct {
        WORD id;
        int cells;
        const char* name;
    } rows[] = {
        {IDB_BACKGROUND, 1, "background"}, {IDB_CANCEL_FACE, 1, "cancel"},
        {IDB_INSTALL_FACE, 1, "install"},  {IDB_CLOSE_FACE, 1, "close"},
        {IDB_PICTURE, 1, "picture"},       {IDB_CHECK_STRIP, 4, "check-strip"},
    };
    for (const auto& row : rows)
        for (UINT dpi : {96u, 144u, 192u}) {
            Pixels got = Art(row.id, dpi, row.cells);
            Pixels want = dpi == 96 ? Art(row.id, dpi, 1, true)
                                    : ReadPng(row.name + ("-" + std::to_string(dpi)) + ".png");
            EXPECT_TRUE(want.width == got.width && want.data == got.data)
                << row.name << " at " << dpi;
        }
}

TEST_F(SkinArtTest, OtherDpisFilterTheNearestLargerArtCellByCell) {
    struct Row {
        WORD id;
        int cells;
        UINT dpi;
        const char* from;  // null: the 96-DPI bitmap, which has no rendering
        int width, height;
    } rows[] = {
        {IDB_BACKGROUND, 1, 120, "background-144.png", 625, 365},
        {IDB_CHECK_STRIP, 4, 168, "check-strip-192.png", 92, 23},
        {IDB_PICTURE, 1, 288, "picture-192.png", 771, 618},
        {IDB_TEST_STRIP, 4, 144, nullptr, 80, 20},
    };
    for (const Row& row : rows) {
        Pixels got = Art(row.id, row.dpi, row.cells);
        Pixels from = row.from ? ReadPng(row.from) : Art(row.id, 96, 1, true);
        ASSERT_EQ(row.width, got.width) << row.id;
        EXPECT_EQ(row.height, got.height) << row.id;
        EXPECT_EQ(0, Strays(got, from, row.cells, 16)) << row.id;
    }
}

TEST_F(SkinArtTest, NoArtForAnIdWithoutABitmap) {
    for (UINT dpi : {96u, 144u}) EXPECT_EQ(nullptr, LoadSkinArt(TestInstance(), 3199, dpi, 1));
    EXPECT_EQ(nullptr, LoadSkinArt(TestInstance(), IDB_BACKGROUND, 144, 0));
}

}  // namespace
