// Helpers of the skin tests: canvases whose pixels can be read exactly, a
// real popup window with a skin attached, the colours of the test bitmaps,
// and a control that records what the skin asks of it.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/handles.h"
#include "skin/skin_context.h"
#include "skin/strip_selector.h"
#include "skin_test_ids.h"

constexpr COLORREF kUntouched = RGB(1, 2, 3);  // in no test bitmap
constexpr COLORREF kBlue = RGB(0, 0, 255);
// The 6 x 4 pattern tiled from (0, 0): a skinned test window's background.
COLORREF Background(int x, int y);
// Pixel (c, j) of the keyed 52 x 13 strip; kUntouched outside it.
COLORREF StripColour(int c, int j);
// A colour for every pixel up to 512 x 512: all differ, none is white.
COLORREF LargePatternColour(int x, int y);
void FillLargePattern(const SkinBitmap& bitmap);

inline HINSTANCE TestInstance() {
    return GetModuleHandleA(nullptr);
}
// The id of a blank bitmap: its low word names no resource.
inline BitmapId BlankId(int width, int height) {
    return static_cast<BitmapId>(height) << 16 | static_cast<BitmapId>(width);
}
inline bool Inside(const RECT& rect, int x, int y) {
    return PtInRect(&rect, POINT{x, y});
}
inline std::function<COLORREF(int, int)> Solid(COLORREF colour) {
    return [colour](int, int) { return colour; };
}

// A 32-bit DIB section in a memory DC of its own, filled with kUntouched.
class Canvas {
  public:
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Dc() const { return dc_; }
    COLORREF Pixel(int x, int y) const;
    void Put(int x, int y, COLORREF colour);
    void CopyFrom(HDC source) { BitBlt(dc_, 0, 0, width_, height_, source, 0, 0, SRCCOPY); }
    // Pixels (inside `area` when given) that differ from `expected` there.
    int Mismatches(const std::function<COLORREF(int, int)>& expected,
                   const RECT* area = nullptr) const;

  private:
    int width_, height_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ previous_;
    DWORD* bits_;
};

int SlotsInUse();
int SlotOf(BitmapId id);  // -1 when not cached

// Every skin test starts and ends with an empty bitmap cache.
class SkinTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(0, SlotsInUse()) << "a test before left bitmaps cached"; }
    void TearDown() override { EXPECT_EQ(0, SlotsInUse()) << "the test left bitmaps cached"; }
    // A bitmap loaded for the screen; the test releases it.
    SkinBitmap Load(BitmapId id) { return SkinBitmap(TestInstance(), screenDc.Get(), id); }

    WindowDc screenDc{nullptr};
};

struct ControlEvent {
    int control;       // the control's tag
    std::string what;  // "mouse", "paint", "deleted"
    HDC dc;            // painted on, or the host's current DC during OnMouse
};
// The tags of the controls behind the events of one kind, in order.
std::vector<int> Tags(const std::vector<ControlEvent>& log, const std::string& what);

// Fills `area` with `colour` when painted (the background when hidden),
// answers mouse messages with `consume`, and logs every call.
class RecordingControl : public SkinControl {
  public:
    RecordingControl(ControlHost* host, int tag, std::vector<ControlEvent>* log,
                     const char* statusText = nullptr)
        : SkinControl(host, statusText), tag(tag), log(log) {}
    ~RecordingControl() override { log->push_back({tag, "deleted", nullptr}); }
    int OnMouse(HWND, UINT, WPARAM, LPARAM) override {
        log->push_back({tag, "mouse", host->currentDc});
        if (onMouse) onMouse();
        return consume;
    }
    void Paint(HDC dc) override;

    int tag;
    int consume = 0;
    RECT area = {0, 0, 0, 0};
    COLORREF colour = RGB(200, 0, 0);
    std::function<void()> onMouse;  // run inside OnMouse when set
    std::vector<ControlEvent>* log;
};

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
