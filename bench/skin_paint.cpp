// Times the skin's drawing on a real 500 x 292 popup window: whole paint
// cycles in the dialog's two looks, and each per-pixel copy at the sizes the
// dialog uses beside one block transfer of the same area. The bitmaps are
// blank ones filled with a pattern that has white in it, so the figures do
// not depend on the artwork. Then the time to make the background's art for
// a display's DPI.
#include <windows.h>

#include <objbase.h>

#include <stdio.h>

#include "bench/bench_support.h"
#include "res/resource_ids.h"
#include "skin/scaled_art.h"
#include "skin/skin_bitmap.h"
#include "skin/skin_context.h"
#include "skin/skin_control.h"
#include "skin/skin_draw.h"

namespace {

constexpr int kWidth = 500;
constexpr int kHeight = 292;

BitmapId BlankId(int width, int height) {
    return static_cast<BitmapId>(height) << 16 | static_cast<BitmapId>(width);
}

// Every fifth pixel white, the rest a gradient.
void FillPattern(const SkinBitmap& bitmap) {
    for (int y = 0; y < bitmap.height; ++y)
        for (int x = 0; x < bitmap.width; ++x)
            SetPixelV(bitmap.memoryDc, x, y,
                      (x + 2 * y) % 5 == 0 ? TransparentKey : RGB(x & 0xFF, y & 0xFF, 90));
}

SkinBitmap* LoadFilled(ControlHost* host, HDC dc, BitmapId id) {
    SkinBitmap* bitmap = new SkinBitmap(host->instance, dc, id);
    FillPattern(*bitmap);
    return bitmap;
}

// Stands in for a bitmap button: its face drawn centre-out into the back
// buffer and copied to the window, or straight onto the window.
class FaceControl : public SkinControl {
  public:
    FaceControl(ControlHost* host, BitmapId id, int x, int y, bool direct)
        : SkinControl(host, nullptr), face(LoadFilled(host, host->currentDc, id)), direct(direct) {
        SetRect(&bounds, x, y, x + face->width, y + face->height);
    }
    ~FaceControl() override { ReleaseSkinBitmap(face); }
    int OnMouse(HWND, UINT, WPARAM, LPARAM) override { return 0; }
    void Paint(HDC dc) override {
        host->background->TileFill(host->memoryDc, bounds);
        if (direct) {
            face->DrawCentreOutDirect(dc, bounds.left, bounds.top, 0, 0);
            return;
        }
        face->DrawCentreOut(host->memoryDc, bounds.left, bounds.top, 0, 0);
        BlitRect(dc, host->memoryDc, &bounds);
    }

    SkinBitmap* face;
    bool direct;
    RECT bounds;
};

// Stands in for a check box: one 13 x 13 cell of a strip and its caption.
class CellControl : public SkinControl {
  public:
    CellControl(ControlHost* host, SkinBitmap* strip, int x, int y, const char* caption)
        : SkinControl(host, nullptr), strip(strip), caption(caption) {
        SetRect(&cell, x, y, x + 13, y + 13);
    }
    int OnMouse(HWND, UINT, WPARAM, LPARAM) override { return 0; }
    void Paint(HDC dc) override {
        strip->CopyColumns(host->memoryDc, 26, cell.left, 39, cell.top);
        BlitRect(dc, host->memoryDc, &cell);
        DrawTextAt(dc, cell.left + 20, cell.top, caption);
    }

    SkinBitmap* strip;
    const char* caption;
    RECT cell;
};

struct CycleTimes {
    double whole, begin, paintAll, texts, end;
};

CycleTimes TimeCycles(SkinContext* skin, const char* const* texts, int textCount, int cycles) {
    CycleTimes total = {};
    for (int i = 0; i < cycles; ++i) {
        InvalidateRect(skin->host->window, nullptr, FALSE);
        double t0 = NowMs();
        skin->BeginSkinPaint();
        double t1 = NowMs();
        skin->PaintAll();
        double t2 = NowMs();
        for (int line = 0; line < textCount; ++line)
            skin->PaintText(20, 100 + 16 * line, texts[line]);
        double t3 = NowMs();
        skin->EndSkinPaint();
        double t4 = NowMs();
        total.whole += t4 - t0;
        total.begin += t1 - t0;
        total.paintAll += t2 - t1;
        total.texts += t3 - t2;
        total.end += t4 - t3;
    }
    total.whole /= cycles;
    total.begin /= cycles;
    total.paintAll /= cycles;
    total.texts /= cycles;
    total.end /= cycles;
    return total;
}

double TimeSleep50(int times) {
    double start = NowMs();
    for (int i = 0; i < times; ++i) Sleep(50);
    return (NowMs() - start) / times;
}

void PrintCycle(const char* name, const CycleTimes& times, double pause) {
    printf("%-32s %9.3f ms whole, %9.3f ms without the pause\n", name, times.whole,
           times.whole - pause);
    printf(
        "    BeginSkinPaint beyond the pause %7.3f ms, PaintAll %7.3f ms, texts %7.3f ms, "
        "EndSkinPaint %7.3f ms\n",
        times.begin - pause, times.paintAll, times.texts, times.end);
}

// One per-pixel copy, timed over `times` calls.
enum Copy {
    kDrawCentreOut,
    kDrawCentreOutDirect,
    kCopyColumns,
    kCopyColumnsKeyed,
    kCopyColumnsTransposed,
    kCopyBlock,
    kCopyBlockTransposed,
    kBitBlt,
    kCopyCount
};
const char* const kCopyNames[kCopyCount] = {
    "DrawCentreOut",         "DrawCentreOutDirect", "CopyColumns",         "CopyColumnsKeyed",
    "CopyColumnsTransposed", "CopyBlock",           "CopyBlockTransposed", "BitBlt (one block)",
};

struct CopyCase {
    const char* name;
    int width, height;  // the area drawn
    int times;
};

void TimeCopies(ControlHost* host, HDC windowDc, const CopyCase& size) {
    int w = size.width, h = size.height;
    SkinBitmap* plain = LoadFilled(host, windowDc, BlankId(w, h));
    // CopyColumnsTransposed reads a square block: columns up to the height,
    // rows up to the number of columns. A square source covers the area.
    int side = w > h ? w : h;
    SkinBitmap* square = LoadFilled(host, windowDc, BlankId(side, side));
    HDC back = host->memoryDc;
    printf("%s, %d x %d = %d pixels, %d calls each:\n", size.name, w, h, w * h, size.times);
    for (int copy = 0; copy < kCopyCount; ++copy) {
        double start = NowMs();
        for (int i = 0; i < size.times; ++i) {
            switch (copy) {
            case kDrawCentreOut:
                plain->DrawCentreOut(back, 10, 10, 0, 0);
                break;
            case kDrawCentreOutDirect:
                plain->DrawCentreOutDirect(windowDc, 10, 10, 0, 0);
                break;
            case kCopyColumns:
                plain->CopyColumns(back, 0, 10, w, 10);
                break;
            case kCopyColumnsKeyed:
                plain->CopyColumnsKeyed(back, 0, 10, w, 10);
                break;
            // h columns of the square's first `side` rows: an h x side area,
            // the same number of pixels when the square's side is w.
            case kCopyColumnsTransposed:
                square->CopyColumnsTransposed(back, 0, 10, w < h ? w : h, 10);
                break;
            case kCopyBlock:
                plain->CopyBlock(back, 10, 10, 10 + w, 10 + h, 0, 0);
                break;
            case kCopyBlockTransposed:
                plain->CopyBlockTransposed(back, 10, 10, 10 + w, 10 + h, 0, 0);
                break;
            case kBitBlt:
                BitBlt(back, 10, 10, w, h, plain->memoryDc, 0, 0, SRCCOPY);
                break;
            }
        }
        double each = (NowMs() - start) / size.times;
        int pixels = copy == kCopyColumnsTransposed ? (w < h ? w : h) * side : w * h;
        printf("    %-24s %10.4f ms a call, %8.4f us a pixel (%d pixels)\n", kCopyNames[copy], each,
               each * 1000.0 / pixels, pixels);
    }
    ReleaseSkinBitmap(plain);
    ReleaseSkinBitmap(square);
}

// The background's art for a display's DPI, from the program's resources:
// the 96-DPI bitmap, a rendering decoded as it is, and one scaled down.
void TimeArt() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    for (UINT dpi : {96u, 192u, 168u}) {
        double fastest = 1e9, total = 0;
        for (int run = 0; run < 10; ++run) {
            double start = NowMs();
            DeleteObject(LoadSkinArt(GetModuleHandleA(nullptr), IDB_BACKGROUND, dpi, 1));
            double taken = NowMs() - start;
            fastest = taken < fastest ? taken : fastest;
            total += taken;
        }
        printf("Background art at %u DPI: %8.3f ms fastest, %8.3f ms mean of 10\n", dpi, fastest,
               total / 10);
    }
    CoUninitialize();
}

}  // namespace

int main() {
    HWND window = CreateBenchWindow("SkinPaintBench", kWidth, kHeight);
    if (!window) {
        printf("no window\n");
        return 1;
    }
    static ControlHost host;
    SkinContext* skin = new SkinContext(&host, GetModuleHandleA(nullptr));
    HDC setupDc = GetDC(window);
    host.currentDc = setupDc;
    RECT status = {20, 273, 355, 293};
    skin->Attach(window, BlankId(kWidth, kHeight), 120, &status);
    skin->CreateBackBuffer(window);
    FillPattern(*host.background);

    // The dialog's look at start: two button faces, the link text and two
    // check boxes; the picture and the close button are hidden.
    SkinBitmap* strip = LoadFilled(&host, setupDc, BlankId(52, 13));
    new FaceControl(&host, BlankId(58, 19), kWidth - 63, kHeight - 21, false);
    new FaceControl(&host, BlankId(60, 19), kWidth - 125, kHeight - 21, false);
    // A bit above the size bits gives the close face an id of its own.
    FaceControl* close =
        new FaceControl(&host, BlankId(60, 19) | 0x04000000, kWidth - 65, kHeight - 21, false);
    FaceControl* picture = new FaceControl(&host, BlankId(257, 206), 6, 6, true);
    new CellControl(&host, strip, 250, 80, "Pastel Craft Plug-in");
    new CellControl(&host, strip, 250, 100, "Additional presets: Portrait01 - Portrait12");
    close->visible = 0;
    picture->visible = 0;
    host.currentDc = nullptr;
    ReleaseDC(window, setupDc);

    double pause = TimeSleep50(10);
    printf("Sleep(50) takes %.3f ms here; it is taken off the cycles below.\n\n", pause);

    const char* prompt[] = {"Select folder where setup will install files:"};
    PrintCycle("Paint cycle, start look:", TimeCycles(skin, prompt, 1, 20), pause);

    for (int i = 0; i < host.controlCount; ++i) host.controls[i]->visible = 0;
    close->visible = 1;
    picture->visible = 1;
    const char* completed[] = {"   Installation completed. Please", "restart your image editor to",
                               "activate the plug-ins installed."};
    PrintCycle("Paint cycle, completed look:", TimeCycles(skin, completed, 3, 5), pause);
    printf("\n");

    HDC windowDc = GetDC(window);
    const CopyCase sizes[] = {
        {"Check box cell", 13, 13, 200},
        {"Button face", 60, 19, 50},
        {"Picture", 257, 206, 3},
    };
    for (const CopyCase& size : sizes) TimeCopies(&host, windowDc, size);
    ReleaseDC(window, windowDc);

    printf("\n");
    TimeArt();

    ReleaseSkinBitmap(strip);
    skin->Destroy();
    delete skin;
    DestroyWindow(window);
    return 0;
}
