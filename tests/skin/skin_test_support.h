// Helpers of the skin tests: DIB-section canvases whose pixels can be read
// exactly, real popup windows, the colours of the test bitmaps, and a small
// control that records what the skin asks of it.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/handles.h"
#include "skin/skin_bitmap.h"
#include "skin/skin_context.h"
#include "skin/skin_control.h"
#include "skin/strip_selector.h"
#include "skin_test_ids.h"

// Tags of the test bitmaps' patterns (see make-bitmaps.py).
constexpr int kPatternTag = 0;
constexpr int kStripTag = 40;

// Pixel (c, j) of a test bitmap resource.
COLORREF PatternColour(int c, int j, int tag, bool keyed);
// A colour for every pixel of a blank bitmap up to 512 x 512: all differ,
// none is white.
COLORREF LargePatternColour(int x, int y);
// A colour that no test pattern uses, for untouched pixels.
constexpr COLORREF kUntouched = RGB(1, 2, 3);
constexpr COLORREF kBlue = RGB(0, 0, 255);
// The 6 x 4 pattern tiled from (0, 0): a skinned test window's background.
COLORREF Background(int x, int y);
// Pixel (c, j) of the keyed 52 x 13 strip; kUntouched outside it.
COLORREF StripColour(int c, int j);

HINSTANCE TestInstance();

// A blank-bitmap id: width and height taken from the id (the low word names
// no resource of the tests).
BitmapId BlankId(int width, int height);

// A 32-bit top-down DIB section selected into a memory DC of its own.
class Canvas {
  public:
    Canvas(int width, int height, COLORREF fill = kUntouched);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Dc() const { return dc_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void Fill(COLORREF colour);
    COLORREF Pixel(int x, int y) const;
    void Put(int x, int y, COLORREF colour);
    // Copies the whole area of `source` at (x, y) into this canvas.
    void CopyFrom(HDC source, int x, int y);
    // Pixels (inside `area` when given) that differ from `expected` there.
    int Mismatches(const std::function<COLORREF(int, int)>& expected,
                   const RECT* area = nullptr) const;

  private:
    int width_;
    int height_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ previous_;
    DWORD* bits_;
};

// Pixels of `canvas` that differ from `expected`, which is given each pixel's
// position and says what it should be.
int Mismatches(const Canvas& canvas, const std::function<COLORREF(int, int)>& expected);
bool Inside(const RECT& rect, int x, int y);
inline std::function<COLORREF(int, int)> Solid(COLORREF colour) {
    return [colour](int, int) { return colour; };
}

// Fills a bitmap's memory DC with LargePatternColour.
void FillLargePattern(const SkinBitmap& bitmap);

// A shown, borderless popup with a client area of the given size, at the
// screen position given. Nothing erases or paints it by itself.
class TestWindow {
  public:
    TestWindow(int width, int height, int x = 40, int y = 40);
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND Handle() const { return window_; }
    // What the window shows: copied from a window DC into `canvas`.
    void Capture(Canvas* canvas) const;
    // Draws a solid colour over the whole client area.
    void Flood(COLORREF colour) const;

  private:
    HWND window_;
};

// The number of cache slots in use.
int SlotsInUse();
// The slot holding `id`, or -1.
int SlotOf(BitmapId id);

// Every skin test starts and ends with an empty bitmap cache.
class SkinTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // A bitmap loaded for the screen; the test releases it.
    SkinBitmap Load(BitmapId id) { return SkinBitmap(TestInstance(), screenDc.Get(), id); }

    WindowDc screenDc{nullptr};
};

// What a RecordingControl saw, in order.
struct ControlEvent {
    int control;       // the control's tag
    std::string what;  // "mouse", "paint", "deleted"
    UINT message;
    HDC dc;  // the DC painted on, or the host's current DC during OnMouse
};

// A control that fills `area` with `colour` when painted (the background when
// hidden), answers mouse messages with `consume`, and logs every call.
class RecordingControl : public SkinControl {
  public:
    RecordingControl(ControlHost* host, int tag, std::vector<ControlEvent>* log,
                     const char* statusText = nullptr);
    ~RecordingControl() override;

    int OnMouse(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint(HDC dc) override;

    int tag;
    int consume = 0;
    RECT area = {0, 0, 0, 0};
    COLORREF colour = RGB(200, 0, 0);
    std::function<void()> onMouse;  // run inside OnMouse when set
    std::vector<ControlEvent>* log;
};

// Counts the events of one kind in a log.
int CountEvents(const std::vector<ControlEvent>& log, const std::string& what, int control = -1);

// The tags of the controls behind the events of one kind, in order.
std::vector<int> Tags(const std::vector<ControlEvent>& log, const std::string& what);

// A skin attached to a shown, borderless popup whose background is the 6 x 4
// test pattern, with the status line along its bottom 16 rows. Nothing but
// the test paints the window.
class SkinWindowTest : public SkinTest {
  protected:
    explicit SkinWindowTest(int width = 120, int height = 60, int x = 40, int y = 40);
    ~SkinWindowTest() override;
    void SetUp() override;
    void TearDown() override;

    // Made as the window's owner makes its controls: with a window DC as
    // the host's current DC.
    template <typename Control, typename... Args>
    Control* Make(Args&&... args) {
        WindowDc dc(window);
        host.currentDc = dc.Get();
        Control* control = NewControl<Control>(&host, std::forward<Args>(args)...);
        host.currentDc = nullptr;
        EXPECT_NE(nullptr, control);
        return control;
    }
    // A strip selector with its cell at (x, y).
    StripSelector* AddStrip(int x, int y, BitmapId stripId, int startValue, int rangeArg,
                            int flags = 0, const char* caption = "",
                            unsigned captionOffset = 0x80148000, int commandId = 2000);
    RecordingControl* AddRecorder(int tag, RECT area = {0, 0, 0, 0});

    // Offers a mouse message at (x, y) to the controls as the window
    // procedure does; returns whether a control consumed it.
    int Mouse(UINT message, int x, int y) {
        return skin->DispatchMouse(window, message, 0, MAKELPARAM(x, y));
    }
    // The command ids posted with WM_CONTROL_NOTIFY since the last call.
    std::vector<WPARAM> Notices();
    void Flood(COLORREF colour);
    // Invalidates the whole window and runs the skin's paint cycle.
    void PaintCycle();
    // What the window shows.
    Canvas& Screen();

    int width, height;
    HWND window;
    Canvas screen;
    std::vector<ControlEvent> log;  // before the skin: its controls log their deletion
    ControlHost host{};
    std::unique_ptr<SkinContext> skin;
};
