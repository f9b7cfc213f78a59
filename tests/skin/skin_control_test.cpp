#include <algorithm>
#include <memory>
#include <string>

#include "skin/skin_draw.h"
#include "skin_test_support.h"

namespace {

const COLORREF kWhite = RGB(255, 255, 255);

class SkinControlTest : public SkinTest {
  protected:
    void SetUp() override {
        SkinTest::SetUp();
        skin.reset(new SkinContext(&host, TestInstance()));
        RECT status = {4, 4, 84, 24};
        skin->Attach(window.Handle(), IDB_TEST_PATTERN, IDC_TEST_CURSOR, &status);
        StatusTextColor = kWhite;
    }
    void TearDown() override {
        StatusTextColor = 0;
        skin.reset();
        SkinTest::TearDown();
    }

    RecordingControl* Add(const char* statusText = nullptr, RECT area = {0, 0, 0, 0}) {
        RecordingControl* control =
            NewControl<RecordingControl>(&host, host.controlCount, &log, statusText);
        control->area = area;
        return control;
    }
    std::vector<COLORREF> StatusArea(const Canvas& canvas) const {
        std::vector<COLORREF> pixels;
        const RECT& rect = host.statusRect;
        for (int y = rect.top; y < rect.bottom; ++y)
            for (int x = rect.left; x < rect.right; ++x) pixels.push_back(canvas.Pixel(x, y));
        return pixels;
    }
    // The status area after a new control with `text` has shown `state`.
    std::vector<COLORREF> Shown(const char* text, int state) {
        Canvas screen(120, 40);
        host.currentDc = screen.Dc();
        Add(text)->ShowStatus(state);
        host.currentDc = nullptr;
        return StatusArea(screen);
    }
    // The background with `text` (none when null) drawn at the status corner.
    std::vector<COLORREF> Expected(const char* text) {
        Canvas screen(120, 40);
        const RECT& rect = host.statusRect;
        host.background->TileFill(screen.Dc(), rect);
        SelectObject(screen.Dc(), NormalFont);
        SetBkMode(screen.Dc(), TRANSPARENT);
        SetTextColor(screen.Dc(), kWhite);
        if (text) DrawTextAt(screen.Dc(), rect.left, rect.top, text);
        return StatusArea(screen);
    }

    std::vector<ControlEvent> log;
    ControlHost host{};
    TestWindow window{120, 40};
    std::unique_ptr<SkinContext> skin;
};

TEST_F(SkinControlTest, StatusTextLongerThan79CharactersIsRefused) {
    std::string longest(79, 'x');
    EXPECT_EQ(longest, Add(longest.c_str())->statusText);
    std::string tooLong(80, 'x');
    EXPECT_STREQ("", Add(tooLong.c_str())->statusText);
}

TEST_F(SkinControlTest, StatusStatesShowTheirPartOfTheText) {
    std::vector<COLORREF> background = Expected(nullptr);
    std::vector<COLORREF> hello = Expected("Hello");
    ASSERT_NE(background, hello) << "the text must show";
    EXPECT_NE(hello.end(), std::find(hello.begin(), hello.end(), kWhite));

    EXPECT_EQ(hello, Shown("Hello", 1));
    EXPECT_EQ(hello, Shown("Hello@World", 1));
    EXPECT_EQ(Expected("World"), Shown("Hello@World", 2));
    EXPECT_EQ(Expected("World@Again"), Shown("Hello@World@Again", 2));
    EXPECT_EQ(background, Shown("Hello", 2));
    EXPECT_EQ(background, Shown("@After", 1));
    EXPECT_EQ(Expected("After"), Shown("@After", 2));
    EXPECT_EQ(background, Shown("Hello", 3));
    EXPECT_EQ(kWhite, GetTextColor(host.memoryDc));
}

TEST_F(SkinControlTest, StatusIsDrawnOnlyWhenTheStateChanges) {
    Canvas screen(120, 40);
    host.currentDc = screen.Dc();
    RecordingControl* control = Add("Hello");
    control->ShowStatus(1);
    EXPECT_EQ(1, control->statusState);
    EXPECT_EQ(Expected("Hello"), StatusArea(screen));

    screen.Fill(kUntouched);
    control->ShowStatus(1);
    EXPECT_EQ(0, Mismatches(screen, [](int, int) { return kUntouched; }));
    control->ShowStatus(0);
    EXPECT_EQ(0, control->statusState);
    EXPECT_EQ(Expected(nullptr), StatusArea(screen));

    screen.Fill(kUntouched);
    control->ShowStatus(0);
    Add("Other")->ShowStatus(0);
    RecordingControl* silent = Add();
    silent->ShowStatus(1);
    EXPECT_EQ(0, silent->statusState);
    EXPECT_EQ(0, Mismatches(screen, [](int, int) { return kUntouched; }));
    host.currentDc = nullptr;
}

// One move offered in registration order, with the pointer gone from the
// second control straight onto the first.
TEST_F(SkinControlTest, LeavingControlKeepsTheTextOfTheOneEntered) {
    Canvas screen(120, 40);
    host.currentDc = screen.Dc();
    RecordingControl* first = Add("First");
    RecordingControl* second = Add("Second");
    second->ShowStatus(1);
    first->ShowStatus(1);
    second->ShowStatus(0);
    EXPECT_EQ(0, second->statusState);
    EXPECT_EQ(Expected("First"), StatusArea(screen));

    first->ShowStatus(0);
    EXPECT_EQ(Expected(nullptr), StatusArea(screen));
    host.currentDc = nullptr;
}

TEST_F(SkinControlTest, StatusWithoutACurrentDcStaysInTheBackBuffer) {
    window.Flood(RGB(0, 0, 255));
    RecordingControl* control = Add("Hello");
    control->ShowStatus(1);
    EXPECT_EQ(1, control->statusState);
    Canvas screen(120, 40);
    window.Capture(&screen);
    EXPECT_EQ(0, Mismatches(screen, [](int, int) { return RGB(0, 0, 255); }));
}

TEST_F(SkinControlTest, ShowRepaintsAndHidingErasesOnce) {
    Canvas screen(120, 40);
    host.currentDc = screen.Dc();
    RecordingControl* control = Add(nullptr, {4, 4, 14, 14});

    control->Show(0);
    EXPECT_EQ(0, control->visible);
    EXPECT_EQ(0, control->active);
    EXPECT_EQ(1, control->erased);
    control->Show(0);
    EXPECT_EQ(1, CountEvents(log, "paint"));

    control->Show(1);
    EXPECT_EQ(1, control->visible);
    EXPECT_EQ(1, control->active);
    EXPECT_EQ(0, control->erased);
    control->Show(1);
    EXPECT_EQ(3, CountEvents(log, "paint"));
    for (const ControlEvent& event : log) EXPECT_EQ(screen.Dc(), event.dc);
    EXPECT_EQ(control->colour, screen.Pixel(4, 4));

    // Direct writes leave `erased` alone: only Show(1) clears it.
    control->visible = 0;
    control->Redraw();
    EXPECT_EQ(1, control->erased);
    control->visible = 1;
    control->Redraw();
    EXPECT_EQ(4, CountEvents(log, "paint"));
    host.currentDc = nullptr;
}

TEST_F(SkinControlTest, RedrawOutsideACycleTakesAWindowDc) {
    window.Flood(RGB(0, 0, 255));
    RecordingControl* control = Add(nullptr, {4, 4, 14, 14});
    control->Redraw();
    ASSERT_EQ(1, CountEvents(log, "paint"));
    EXPECT_EQ(static_cast<DWORD>(OBJ_DC), GetObjectType(log[0].dc));
    Canvas screen(120, 40);
    window.Capture(&screen);
    EXPECT_EQ(0, Mismatches(screen, [&](int x, int y) {
                  return Inside(control->area, x, y) ? control->colour : RGB(0, 0, 255);
              }));

    // Without a window there is nothing to draw on.
    ControlHost unattached{};
    RecordingControl loose(&unattached, 99, &log);
    loose.Redraw();
    EXPECT_EQ(0, CountEvents(log, "paint", 99));
}

TEST(SkinControlHitTest, IncludesAllFourEdges) {
    auto at = [](int x, int y) { return SkinControl::HitTest(10, 20, 30, 40, MAKELPARAM(x, y)); };
    EXPECT_EQ(1, at(10, 20));
    EXPECT_EQ(1, at(30, 40));
    EXPECT_EQ(0, at(31, 40));
    EXPECT_EQ(0, at(30, 41));
    EXPECT_EQ(0, at(9, 20));
    EXPECT_EQ(0, at(10, 19));
    // The coordinates are unsigned 16-bit values.
    EXPECT_EQ(0, SkinControl::HitTest(-5, -5, 10, 10, MAKELPARAM(0xFFFF, 0)));
    EXPECT_EQ(1, SkinControl::HitTest(0, 0, 70000, 10, MAKELPARAM(0xFFFF, 0)));
}

TEST(MakeRect, SignExtendsTheLow16Bits) {
    RECT rect;
    EXPECT_EQ(&rect, MakeRect(&rect, 0x1FFFF, 5, 10, 20));
    EXPECT_EQ(-1, rect.left);
    EXPECT_EQ(5, rect.top);
    EXPECT_EQ(9, rect.right);
    EXPECT_EQ(25, rect.bottom);
    MakeRect(&rect, 0x7FFF, static_cast<int>(0xFFFF8000), 0x10001, -1);
    EXPECT_EQ(32767, rect.left);
    EXPECT_EQ(-32768, rect.top);
    EXPECT_EQ(32768, rect.right);
    EXPECT_EQ(-32769, rect.bottom);
}

TEST_F(SkinControlTest, PostNotifyPostsNonZeroIds) {
    EXPECT_EQ(0x500u, WM_CONTROL_NOTIFY);
    SkinControl::PostNotify(window.Handle(), 0);
    SkinControl::PostNotify(window.Handle(), 219);
    MSG message;
    ASSERT_TRUE(
        PeekMessageA(&message, window.Handle(), WM_CONTROL_NOTIFY, WM_CONTROL_NOTIFY, PM_REMOVE));
    EXPECT_EQ(219u, message.wParam);
    EXPECT_EQ(0, message.lParam);
    EXPECT_FALSE(
        PeekMessageA(&message, window.Handle(), WM_CONTROL_NOTIFY, WM_CONTROL_NOTIFY, PM_REMOVE));
}

}  // namespace
