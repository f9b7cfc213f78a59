// The skin's art for a display's DPI: the 96-DPI bitmaps as they are, the
// renderings for larger scales decoded from the program's PNG resources, and
// every other scale filtered from the nearest larger art, cell by cell.
#include <wincodec.h>

#include <algorithm>
#include <string>
#include <vector>

#include "res/resource_ids.h"
#include "skin/scaled_art.h"
#include "skin_test_support.h"

namespace {

// An image's pixels as 0x00RRGGBB, by rows from the top.
struct Image {
    int width = 0, height = 0;
    std::vector<DWORD> pixels;
    int Channel(int x, int y, int shift) const { return pixels[y * width + x] >> shift & 0xFF; }
};

Image FromBitmap(HBITMAP bitmap) {
    Image image;
    BITMAP description = {};
    if (!GetObjectA(bitmap, sizeof description, &description)) return image;
    image.width = description.bmWidth;
    image.height = description.bmHeight;
    image.pixels.resize(image.width * image.height);
    BITMAPINFO info = {};
    info.bmiHeader = {
        sizeof(BITMAPINFOHEADER), image.width, -image.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    WindowDc screen(nullptr);
    GetDIBits(screen.Get(), bitmap, 0, image.height, image.pixels.data(), &info, DIB_RGB_COLORS);
    for (DWORD& pixel : image.pixels) pixel &= 0xFFFFFF;
    return image;
}

Image LoadArt(WORD id, UINT dpi, int cells) {
    GdiObject<HBITMAP> art(LoadSkinArt(TestInstance(), id, dpi, cells));
    return FromBitmap(art.Get());
}

// A committed rendering, read from the source tree (ART_FOLDER) by the
// imaging component on its own, apart from the program's resources.
Image ReadPng(const char* name) {
    std::wstring path = L"" ART_FOLDER;
    for (const char* c = name; *c; ++c) path += static_cast<wchar_t>(*c);
    ComRef<IWICImagingFactory> factory;
    ComRef<IWICBitmapDecoder> decoder;
    ComRef<IWICBitmapFrameDecode> frame;
    ComRef<IWICFormatConverter> pixels;
    Image image;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(factory.Out()))) ||
        FAILED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                  WICDecodeMetadataCacheOnDemand, decoder.Out())) ||
        FAILED(decoder->GetFrame(0, frame.Out())) ||
        FAILED(factory->CreateFormatConverter(pixels.Out())) ||
        FAILED(pixels->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone,
                                  nullptr, 0.0, WICBitmapPaletteTypeCustom)))
        return image;
    UINT width = 0, height = 0;
    pixels->GetSize(&width, &height);
    image.pixels.resize(width * height);
    if (FAILED(pixels->CopyPixels(nullptr, width * 4, width * height * 4,
                                  reinterpret_cast<BYTE*>(image.pixels.data()))))
        return image;
    image = {static_cast<int>(width), static_cast<int>(height), image.pixels};
    for (DWORD& pixel : image.pixels) pixel &= 0xFFFFFF;
    return image;
}

// Pixels of `art` that no filter could make of `from`: each channel must lie
// within `slack` of the range it spans around the same place of the same
// cell, as a filter blends neighbours and brings in nothing from elsewhere.
int Strays(const Image& art, const Image& from, int cells, int slack) {
    int cell = art.width / cells, fromCell = from.width / cells, strays = 0;
    for (int y = 0; y < art.height; ++y)
        for (int x = 0; x < art.width; ++x) {
            int first = x / cell * fromCell, fromX = first + x % cell * fromCell / cell;
            int fromY = y * from.height / art.height;
            for (int shift : {0, 8, 16}) {
                int low = 255, high = 0;
                for (int j = std::max(fromY - 1, 0); j <= std::min(fromY + 2, from.height - 1); ++j)
                    for (int i = std::max(fromX - 1, first);
                         i <= std::min(fromX + 2, first + fromCell - 1); ++i) {
                        low = std::min(low, from.Channel(i, j, shift));
                        high = std::max(high, from.Channel(i, j, shift));
                    }
                int value = art.Channel(x, y, shift);
                strays += value < low - slack || value > high + slack;
            }
        }
    return strays;
}

class SkinArtTest : public SkinTest {
  protected:
    void SetUp() override {
        SkinTest::SetUp();
        com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    }
    void TearDown() override {
        if (com) CoUninitialize();
        SkinTest::TearDown();
    }
    bool com = false;
};

TEST_F(SkinArtTest, AtEachRenderedDpiEachBitmapIsItsArtPixelForPixel) {
    struct Art {
        WORD id;
        int cells;
        const char* name;
        int width, height;
    } arts[] = {
        {IDB_BACKGROUND, 1, "background", 500, 292}, {IDB_CANCEL_FACE, 1, "cancel", 58, 19},
        {IDB_INSTALL_FACE, 1, "install", 60, 19},    {IDB_CLOSE_FACE, 1, "close", 60, 19},
        {IDB_PICTURE, 1, "picture", 257, 206},       {IDB_CHECK_STRIP, 4, "check-strip", 52, 13},
    };
    for (const Art& art : arts)
        for (UINT dpi : {96u, 144u, 192u}) {
            Image got = LoadArt(art.id, dpi, art.cells);
            EXPECT_EQ(art.cells * ScalePixels(art.width / art.cells, dpi), got.width) << art.name;
            EXPECT_EQ(ScalePixels(art.height, dpi), got.height) << art.name << " " << dpi;
            GdiObject<HBITMAP> resource(LoadBitmapA(TestInstance(), MAKEINTRESOURCEA(art.id)));
            std::string png = std::string(art.name) + "-" + std::to_string(dpi) + ".png";
            Image want = dpi == 96 ? FromBitmap(resource.Get()) : ReadPng(png.c_str());
            EXPECT_TRUE(want.pixels == got.pixels) << art.name << " at " << dpi;
        }
}

TEST_F(SkinArtTest, OtherDpisFilterTheNearestLargerArtCellByCell) {
    struct Case {
        WORD id;
        int cells;
        UINT dpi;
        const char* from;  // null: the 96-DPI bitmap, which has no rendering
        int width, height;
    } cases[] = {
        {IDB_BACKGROUND, 1, 120, "background-144.png", 625, 365},
        {IDB_CHECK_STRIP, 4, 168, "check-strip-192.png", 92, 23},
        {IDB_PICTURE, 1, 288, "picture-192.png", 771, 618},
        {IDB_TEST_STRIP, 4, 144, nullptr, 80, 20},
    };
    for (const Case& c : cases) {
        Image got = LoadArt(c.id, c.dpi, c.cells);
        EXPECT_EQ(c.width, got.width) << c.id;
        EXPECT_EQ(c.height, got.height) << c.id;
        GdiObject<HBITMAP> resource(LoadBitmapA(TestInstance(), MAKEINTRESOURCEA(c.id)));
        Image from = c.from ? ReadPng(c.from) : FromBitmap(resource.Get());
        if (got.width == c.width && from.width) {
            EXPECT_EQ(0, Strays(got, from, c.cells, 16)) << c.id;
        }
    }
}

TEST_F(SkinArtTest, NoArtForAnIdWithoutABitmap) {
    for (UINT dpi : {96u, 144u}) EXPECT_EQ(nullptr, LoadSkinArt(TestInstance(), 3199, dpi, 1));
    EXPECT_EQ(nullptr, LoadSkinArt(TestInstance(), IDB_BACKGROUND, 144, 0));
}

}  // namespace
