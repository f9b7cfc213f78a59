#include "skin_test_support.h"

#include "support/test_support.h"

namespace {

// Pixel (c, j) of a test bitmap: see make-bitmaps.py.
COLORREF PatternColour(int c, int j, int tag, bool keyed) {
    if (keyed && (c + 2 * j) % 5 == 0) return TransparentKey;
    return RGB(10 + 4 * c, 20 + 15 * j, 90 + tag);
}

}  // namespace

COLORREF Background(int x, int y) {
    return PatternColour(x % 6, y % 4, 0, false);
}

COLORREF StripColour(int c, int j) {
    if (c < 0 || c >= 52 || j < 0 || j >= 13) return kUntouched;
    return PatternColour(c, j, 40, true);
}

COLORREF LargePatternColour(int x, int y) {
    return RGB(x & 0xFF, y & 0xFF, 1 + 16 * (x >> 8) + 64 * (y >> 8));
}

void FillLargePattern(const SkinBitmap& bitmap) {
    Canvas pattern(bitmap.width, bitmap.height);
    for (int y = 0; y < bitmap.height; ++y)
        for (int x = 0; x < bitmap.width; ++x) pattern.Put(x, y, LargePatternColour(x, y));
    BitBlt(bitmap.memoryDc, 0, 0, bitmap.width, bitmap.height, pattern.Dc(), 0, 0, SRCCOPY);
}

Canvas::Canvas(int width, int height) : width_(width), height_(height) {
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<DWORD*>(bits);
    dc_ = CreateCompatibleDC(nullptr);
    previous_ = SelectObject(dc_, bitmap_);
    EXPECT_TRUE(bitmap_ && dc_);
    for (int i = 0; i < width * height; ++i) Put(i % width, i / width, kUntouched);
}

Canvas::~Canvas() {
    SelectObject(dc_, previous_);
    DeleteDC(dc_);
    DeleteObject(bitmap_);
}

// A DIB section holds its pixels as 0x00RRGGBB.
void Canvas::Put(int x, int y, COLORREF colour) {
    GdiFlush();
    bits_[y * width_ + x] = GetRValue(colour) << 16 | GetGValue(colour) << 8 | GetBValue(colour);
}

COLORREF Canvas::Pixel(int x, int y) const {
    GdiFlush();
    DWORD value = bits_[y * width_ + x];
    return RGB(value >> 16 & 0xFF, value >> 8 & 0xFF, value & 0xFF);
}

int Canvas::Mismatches(const std::function<COLORREF(int, int)>& expected, const RECT* area) const {
    RECT all = {0, 0, width_, height_};
    if (area) IntersectRect(&all, &all, area);
    int wrong = 0;
    for (int y = all.top; y < all.bottom; ++y)
        for (int x = all.left; x < all.right; ++x) wrong += Pixel(x, y) != expected(x, y);
    return wrong;
}

int SlotsInUse() {
    int used = 0;
    for (int count : BitmapCache.refCounts) used += count > 0;
    return used;
}

int SlotOf(BitmapId id) {
    for (int slot = 0; slot < kBitmapCacheSlots; ++slot)
        if (BitmapCache.refCounts[slot] > 0 && BitmapCache.ids[slot] == id) return slot;
    return -1;
}

std::vector<int> Tags(const std::vector<ControlEvent>& log, const std::string& what) {
    std::vector<int> tags;
    for (const ControlEvent& event : log)
        if (event.what == what) tags.push_back(event.control);
    return tags;
}

void RecordingControl::Paint(HDC dc) {
    log->push_back({tag, "paint", dc});
    if (!visible) {
        if (host->background) host->background->TileFill(dc, area);
        return;
    }
    GdiObject<HBRUSH> brush(CreateSolidBrush(colour));
    FillRect(dc, &area, brush.Get());
}

SkinWindowTest::SkinWindowTest(int width, int height, int x, int y)
    : width(width), height(height), screen(width, height) {
    static const ATOM windowClass = [] {
        WNDCLASSA windowClass = {0,       DefWindowProcA, 0,       0,       TestInstance(),
                                 nullptr, nullptr,        nullptr, nullptr, "SkinTestWindow"};
        return RegisterClassA(&windowClass);
    }();
    EXPECT_NE(0, windowClass);
    window = CreateWindowExA(WS_EX_TOOLWINDOW, "SkinTestWindow", "", WS_POPUP | WS_VISIBLE, x, y,
                             width, height, nullptr, nullptr, TestInstance(), nullptr);
    EXPECT_NE(nullptr, window);
    PumpMessages();
    ValidateRect(window, nullptr);
}

SkinWindowTest::~SkinWindowTest() {
    DestroyWindow(window);
    PumpMessages();
}

void SkinWindowTest::SetUp() {
    SkinTest::SetUp();
    skin.reset(new SkinContext(&host, TestInstance()));
    RECT status = {0, height - 16, 100, height};
    skin->Attach(window, IDB_TEST_PATTERN, IDC_TEST_CURSOR, &status);
    skin->CreateBackBuffer(window);
}

void SkinWindowTest::TearDown() {
    skin.reset();
    Notices();
    SkinTest::TearDown();
}

StripSelector* SkinWindowTest::AddStrip(int x, int y, BitmapId stripId, int startValue,
                                        int rangeArg, int flags, const char* caption,
                                        unsigned captionOffset, int commandId) {
    RECT place = {x, y, 0, 0};
    return Make<StripSelector>(&place, stripId, captionOffset, caption, startValue, rangeArg,
                               "Status", commandId, flags, "Name");
}

RecordingControl* SkinWindowTest::AddRecorder(int tag, RECT area) {
    RecordingControl* control = NewControl<RecordingControl>(&host, tag, &log);
    control->area = area;
    return control;
}

std::vector<WPARAM> SkinWindowTest::Notices() {
    std::vector<WPARAM> ids;
    MSG message;
    while (PeekMessageA(&message, window, WM_CONTROL_NOTIFY, WM_CONTROL_NOTIFY, PM_REMOVE)) {
        EXPECT_EQ(0, message.lParam);
        ids.push_back(message.wParam);
    }
    return ids;
}

void SkinWindowTest::Flood(COLORREF colour) {
    WindowDc dc(window);
    GdiObject<HBRUSH> brush(CreateSolidBrush(colour));
    RECT client = {0, 0, width, height};
    FillRect(dc.Get(), &client, brush.Get());
}

void SkinWindowTest::PaintCycle() {
    InvalidateRect(window, nullptr, FALSE);
    skin->BeginSkinPaint();
    skin->PaintAll();
    skin->EndSkinPaint();
}

Canvas& SkinWindowTest::Screen() {
    WindowDc dc(window);
    screen.CopyFrom(dc.Get());
    return screen;
}
