#include "skin_test_support.h"

#include "support/test_support.h"

COLORREF PatternColour(int c, int j, int tag, bool keyed) {
    if (keyed && (c + 2 * j) % 5 == 0) return TransparentKey;
    return RGB(10 + 4 * c, 20 + 15 * j, 90 + tag);
}

COLORREF Background(int x, int y) {
    return PatternColour(x % 6, y % 4, kPatternTag, false);
}

COLORREF StripColour(int c, int j) {
    if (c < 0 || c >= 52 || j < 0 || j >= 13) return kUntouched;
    return PatternColour(c, j, kStripTag, true);
}

COLORREF LargePatternColour(int x, int y) {
    return RGB(x & 0xFF, y & 0xFF, 1 + 16 * (x >> 8) + 64 * (y >> 8));
}

HINSTANCE TestInstance() {
    return GetModuleHandleA(nullptr);
}

BitmapId BlankId(int width, int height) {
    return static_cast<BitmapId>(height) << 16 | static_cast<BitmapId>(width);
}

Canvas::Canvas(int width, int height, COLORREF fill) : width_(width), height_(height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<DWORD*>(bits);
    dc_ = CreateCompatibleDC(nullptr);
    previous_ = SelectObject(dc_, bitmap_);
    EXPECT_TRUE(bitmap_ && dc_);
    Fill(fill);
}

Canvas::~Canvas() {
    SelectObject(dc_, previous_);
    DeleteDC(dc_);
    DeleteObject(bitmap_);
}

namespace {

DWORD DibValue(COLORREF colour) {
    return GetRValue(colour) << 16 | GetGValue(colour) << 8 | GetBValue(colour);
}

}  // namespace

void Canvas::Fill(COLORREF colour) {
    GdiFlush();
    for (int i = 0; i < width_ * height_; ++i) bits_[i] = DibValue(colour);
}

void Canvas::Put(int x, int y, COLORREF colour) {
    GdiFlush();
    bits_[y * width_ + x] = DibValue(colour);
}

COLORREF Canvas::Pixel(int x, int y) const {
    GdiFlush();
    DWORD value = bits_[y * width_ + x];
    return RGB(value >> 16 & 0xFF, value >> 8 & 0xFF, value & 0xFF);
}

void Canvas::CopyFrom(HDC source, int x, int y) {
    BitBlt(dc_, 0, 0, width_, height_, source, x, y, SRCCOPY);
}

int Mismatches(const Canvas& canvas, const std::function<COLORREF(int, int)>& expected) {
    int wrong = 0;
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x) wrong += canvas.Pixel(x, y) != expected(x, y);
    return wrong;
}

int Canvas::Mismatches(const std::function<COLORREF(int, int)>& expected, const RECT* area) const {
    RECT all = {0, 0, width_, height_};
    if (area) IntersectRect(&all, &all, area);
    int wrong = 0;
    for (int y = all.top; y < all.bottom; ++y)
        for (int x = all.left; x < all.right; ++x) wrong += Pixel(x, y) != expected(x, y);
    return wrong;
}

bool Inside(const RECT& rect, int x, int y) {
    return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

void FillLargePattern(const SkinBitmap& bitmap) {
    Canvas pattern(bitmap.width, bitmap.height);
    for (int y = 0; y < bitmap.height; ++y)
        for (int x = 0; x < bitmap.width; ++x) pattern.Put(x, y, LargePatternColour(x, y));
    BitBlt(bitmap.memoryDc, 0, 0, bitmap.width, bitmap.height, pattern.Dc(), 0, 0, SRCCOPY);
}

namespace {

const char kWindowClass[] = "SkinTestWindow";

void RegisterWindowClass() {
    static bool registered;
    if (registered) return;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = TestInstance();
    windowClass.lpszClassName = kWindowClass;
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    registered = RegisterClassA(&windowClass) != 0;
}

}  // namespace

TestWindow::TestWindow(int width, int height, int x, int y) {
    RegisterWindowClass();
    window_ = CreateWindowExA(WS_EX_TOOLWINDOW, kWindowClass, "", WS_POPUP | WS_VISIBLE, x, y,
                              width, height, nullptr, nullptr, TestInstance(), nullptr);
    EXPECT_NE(nullptr, window_);
    PumpMessages();
    ValidateRect(window_, nullptr);
}

TestWindow::~TestWindow() {
    DestroyWindow(window_);
    PumpMessages();
}

void TestWindow::Capture(Canvas* canvas) const {
    HDC dc = GetDC(window_);
    canvas->CopyFrom(dc, 0, 0);
    ReleaseDC(window_, dc);
}

void TestWindow::Flood(COLORREF colour) const {
    HDC dc = GetDC(window_);
    HBRUSH brush = CreateSolidBrush(colour);
    RECT client;
    GetClientRect(window_, &client);
    FillRect(dc, &client, brush);
    DeleteObject(brush);
    ReleaseDC(window_, dc);
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

void SkinTest::SetUp() {
    ASSERT_EQ(0, SlotsInUse()) << "a test before left bitmaps cached";
}

void SkinTest::TearDown() {
    EXPECT_EQ(0, SlotsInUse()) << "the test left bitmaps cached";
}

RecordingControl::RecordingControl(ControlHost* host, int tag, std::vector<ControlEvent>* log,
                                   const char* statusText)
    : SkinControl(host, statusText), tag(tag), log(log) {}

RecordingControl::~RecordingControl() {
    log->push_back({tag, "deleted", 0, nullptr});
}

int RecordingControl::OnMouse(HWND, UINT message, WPARAM, LPARAM) {
    log->push_back({tag, "mouse", message, host->currentDc});
    if (onMouse) onMouse();
    return consume;
}

void RecordingControl::Paint(HDC dc) {
    log->push_back({tag, "paint", 0, dc});
    if (!visible) {
        if (host->background) host->background->TileFill(dc, area);
        return;
    }
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &area, brush);
    DeleteObject(brush);
}

int CountEvents(const std::vector<ControlEvent>& log, const std::string& what, int control) {
    int count = 0;
    for (const ControlEvent& event : log)
        if (event.what == what && (control < 0 || event.control == control)) ++count;
    return count;
}

std::vector<int> Tags(const std::vector<ControlEvent>& log, const std::string& what) {
    std::vector<int> tags;
    for (const ControlEvent& event : log)
        if (event.what == what) tags.push_back(event.control);
    return tags;
}

SkinWindowTest::SkinWindowTest(int width, int height, int x, int y)
    : width(width), height(height), screen(width, height) {
    RegisterWindowClass();
    window = CreateWindowExA(WS_EX_TOOLWINDOW, kWindowClass, "", WS_POPUP | WS_VISIBLE, x, y, width,
                             height, nullptr, nullptr, TestInstance(), nullptr);
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
    screen.CopyFrom(dc.Get(), 0, 0);
    return screen;
}
