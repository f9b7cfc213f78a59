#include "skin/scaled_art.h"

#include <wincodec.h>

#include "common/com_apartment.h"
#include "common/handles.h"
#include "res/resource_ids.h"

namespace {

// The imaging component's factory and the pixel format asked of it, written
// out here so that the program links no GUID library.
constexpr GUID kImagingFactory = {
    0xcacaf262, 0x9370, 0x4615, {0xa1, 0x3b, 0x9f, 0x55, 0x39, 0xda, 0x4c, 0x0a}};
constexpr GUID kPixels32Bgr = {
    0x6fddc324, 0x4e03, 0x4bfe, {0xb1, 0x85, 0x3d, 0x77, 0x76, 0x8d, 0xc9, 0x0e}};
// The sharpest filter, from Windows 10 on; older systems refuse it.
constexpr auto kHighQualityCubic = static_cast<WICBitmapInterpolationMode>(4);

// Copies `source`, cut into `cells` cells side by side and each scaled on its
// own to cellWidth x height, into `bits`: a top-down 32-bit DIB as wide as
// the cells. Returns false when a step fails.
bool DrawCells(IWICImagingFactory* factory, IWICBitmapSource* source, int cells, int cellWidth,
               int height, BYTE* bits) {
    UINT sourceWidth = 0, sourceHeight = 0;
    source->GetSize(&sourceWidth, &sourceHeight);
    INT sourceCell = static_cast<INT>(sourceWidth) / cells;
    UINT stride = cells * cellWidth * 4;
    for (int cell = 0; cell < cells; ++cell) {
        ComRef<IWICBitmapClipper> clipper;
        WICRect rect = {cell * sourceCell, 0, sourceCell, static_cast<INT>(sourceHeight)};
        if (FAILED(factory->CreateBitmapClipper(clipper.Out())) ||
            FAILED(clipper->Initialize(source, &rect)))
            return false;
        IWICBitmapSource* piece = clipper.Get();
        // A rendering of the very size is copied as it is, pixel for pixel.
        ComRef<IWICBitmapScaler> scaler;
        if (sourceCell != cellWidth || static_cast<int>(sourceHeight) != height) {
            if (FAILED(factory->CreateBitmapScaler(scaler.Out())) ||
                (FAILED(scaler->Initialize(piece, cellWidth, height, kHighQualityCubic)) &&
                 FAILED(
                     scaler->Initialize(piece, cellWidth, height, WICBitmapInterpolationModeFant))))
                return false;
            piece = scaler.Get();
        }
        UINT offset = cell * cellWidth * 4;
        if (FAILED(piece->CopyPixels(nullptr, stride, stride * height - offset, bits + offset)))
            return false;
    }
    return true;
}

HBITMAP DecodeArt(HINSTANCE instance, WORD id, UINT dpi, int cells) {
    // The 96-DPI bitmap's header gives the size everything scales from.
    HRSRC base = FindResourceA(instance, MAKEINTRESOURCEA(id), RT_BITMAP);
    auto* header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(instance, base)));
    if (!header || cells < 1) return nullptr;
    int baseCell = header->biWidth / cells, baseHeight = header->biHeight;
    if (baseHeight < 0) baseHeight = -baseHeight;
    ComRef<IWICImagingFactory> factory;
    auto create = OleFunction<decltype(&CoCreateInstance)>("CoCreateInstance");
    if (!create || FAILED(create(kImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                 __uuidof(IWICImagingFactory), factory.OutVoid())))
        return nullptr;

    // The smallest rendering at least as large as asked, else the largest.
    UINT drawnAt = dpi <= ART_DPI_MEDIUM ? ART_DPI_MEDIUM : ART_DPI_LARGE;
    HRSRC png = FindResourceA(instance, MAKEINTRESOURCEA(IDR_ART_PNG(id, drawnAt)), RT_RCDATA);
    ComRef<IWICStream> stream;
    ComRef<IWICBitmapDecoder> decoder;
    ComRef<IWICBitmapFrameDecode> frame;
    UINT width = 0, height = 0;
    if (png && SUCCEEDED(factory->CreateStream(stream.Out())) &&
        SUCCEEDED(stream->InitializeFromMemory(
            static_cast<BYTE*>(LockResource(LoadResource(instance, png))),
            SizeofResource(instance, png))) &&
        SUCCEEDED(factory->CreateDecoderFromStream(
            stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.Out())) &&
        SUCCEEDED(decoder->GetFrame(0, frame.Out())))
        frame->GetSize(&width, &height);
    IWICBitmapSource* source = frame.Get();
    // Without a rendering of this very bitmap (a build may bring a bitmap of
    // its own), the 96-DPI bitmap itself is enlarged.
    ComRef<IWICBitmap> copy;
    if (static_cast<int>(width) != cells * ScalePixels(baseCell, drawnAt) ||
        static_cast<int>(height) != ScalePixels(baseHeight, drawnAt)) {
        GdiObject<HBITMAP> bitmap(LoadBitmapA(instance, MAKEINTRESOURCEA(id)));
        if (FAILED(factory->CreateBitmapFromHBITMAP(bitmap.Get(), nullptr, WICBitmapIgnoreAlpha,
                                                    copy.Out())))
            return nullptr;
        source = copy.Get();
    }
    ComRef<IWICFormatConverter> pixels;
    if (FAILED(factory->CreateFormatConverter(pixels.Out())) ||
        FAILED(pixels->Initialize(source, kPixels32Bgr, WICBitmapDitherTypeNone, nullptr, 0.0,
                                  WICBitmapPaletteTypeCustom)))
        return nullptr;

    int cellWidth = ScalePixels(baseCell, dpi), artHeight = ScalePixels(baseHeight, dpi);
    BITMAPINFO info = {};
    info.bmiHeader = {
        sizeof info.bmiHeader, cells * cellWidth, -artHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    GdiObject<HBITMAP> art(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!art || !DrawCells(factory.Get(), pixels.Get(), cells, cellWidth, artHeight,
                           static_cast<BYTE*>(bits)))
        return nullptr;
    return art.Release();
}

}  // namespace

HBITMAP LoadSkinArt(HINSTANCE instance, WORD id, UINT dpi, int cells) {
    if (dpi == kBaseDpi) return LoadBitmapA(instance, MAKEINTRESOURCEA(id));
    // The imaging component needs COM on this thread, which joins it now
    // (only at a display scale above 100 %) and stays.
    JoinApartment();
    return DecodeArt(instance, id, dpi, cells);
}
