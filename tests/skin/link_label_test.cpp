#include "skin/link_label.h"
#include "skin_test_support.h"

namespace {

const COLORREF kBlue = 0xFF0000;
const COLORREF kPurple = 0x800080;
const COLORREF kFlood = RGB(0, 160, 0);

class LinkLabelTest : public SkinWindowTest {
  protected:
    LinkLabel* Make(int commandId) {
        RECT place = {10, 8, 0, 0};
        return NewControl<LinkLabel>(&host, &place, "example.test", commandId, "Visit");
    }
    void PaintCycle() {
        InvalidateRect(window.Handle(), nullptr, FALSE);
        skin->BeginSkinPaint();
        skin->PaintAll();
        skin->EndSkinPaint();
    }
    int CountOnWindow(COLORREF colour) {
        Canvas screen(120, 60);
        Capture(&screen);
        return 120 * 60 - Mismatches(screen, [&](int, int) { return colour; });
    }

    std::vector<ControlEvent> log;
};

TEST_F(LinkLabelTest, BlueUntilClickedAndPurpleFromTheNextPaint) {
    LinkLabel* label = Make(1029);
    PaintCycle();
    EXPECT_GT(CountOnWindow(kBlue), 0);
    EXPECT_EQ(0, CountOnWindow(kPurple));

    EXPECT_EQ(1, Mouse(WM_LBUTTONDOWN, 12, 10));
    EXPECT_EQ(1, label->visited);
    EXPECT_EQ(0, CountOnWindow(kPurple)) << "the click itself repaints nothing";
    PaintCycle();
    EXPECT_GT(CountOnWindow(kPurple), 0);
    EXPECT_EQ(0, CountOnWindow(kBlue));
}

TEST_F(LinkLabelTest, EveryPressInsideTheMeasuredTextPosts) {
    LinkLabel* label = Make(1029);
    // Before the first paint only the corner point is the label.
    EXPECT_EQ(0, Mouse(WM_LBUTTONDOWN, 11, 8));
    EXPECT_EQ(0, Mouse(WM_LBUTTONDOWN, 10, 9));
    EXPECT_EQ(1, Mouse(WM_LBUTTONDOWN, 10, 8));
    EXPECT_EQ(0, Mouse(WM_LBUTTONUP, 10, 8));

    PaintCycle();
    SIZE extent = {};
    {
        WindowDc dc(window.Handle());
        SelectGuard font(dc.Get(), UnderlineFont);
        GetTextExtentPoint32A(dc.Get(), label->text, lstrlenA(label->text), &extent);
    }
    ASSERT_GT(extent.cx, 0);
    RECT measured = {10, 8, 10 + extent.cx, 8 + extent.cy};
    EXPECT_TRUE(EqualRect(&measured, &label->bounds));
    EXPECT_EQ(1, Mouse(WM_LBUTTONDOWN, measured.right, measured.bottom));
    EXPECT_EQ(0, Mouse(WM_LBUTTONDOWN, measured.right + 1, 8));
    EXPECT_EQ(0, Mouse(WM_LBUTTONDOWN, 10, measured.bottom + 1));
    EXPECT_EQ((std::vector<WPARAM>{1029, 1029}), Notifications());

    // Without a command id the press still counts and is consumed.
    label->commandId = 0;
    label->visited = 0;
    EXPECT_EQ(1, Mouse(WM_LBUTTONDOWN, 10, 8));
    EXPECT_EQ(1, label->visited);
    EXPECT_TRUE(Notifications().empty());
}

TEST_F(LinkLabelTest, AMoveOverTheLabelSetsTheHandCursorAndIsConsumed) {
    ASSERT_NE(nullptr, HandCursor);
    LinkLabel* label = Make(1029);
    NewControl<RecordingControl>(&host, 1, &log);
    PaintCycle();
    HCURSOR arrow = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    SetCursor(arrow);
    EXPECT_EQ(1, Mouse(WM_MOUSEMOVE, 12, 10));
    EXPECT_EQ(HandCursor, GetCursor());
    EXPECT_EQ(1, label->statusState);
    EXPECT_EQ(0, CountEvents(log, "mouse"));

    // Off the label only the status text goes; the cursor is the window's.
    SetCursor(arrow);
    EXPECT_EQ(0, Mouse(WM_MOUSEMOVE, 100, 30));
    EXPECT_EQ(arrow, GetCursor());
    EXPECT_EQ(0, label->statusState);
    EXPECT_EQ(1, CountEvents(log, "mouse"));
}

TEST_F(LinkLabelTest, PaintLeavesTheFontAsItWasAndTheTextBlack) {
    LinkLabel* label = Make(1029);
    WindowDc dc(window.Handle());
    SelectObject(dc.Get(), NormalFont);
    SetTextColor(dc.Get(), RGB(255, 0, 0));
    label->Paint(dc.Get());
    EXPECT_EQ(NormalFont, GetCurrentObject(dc.Get(), OBJ_FONT));
    EXPECT_EQ(0u, GetTextColor(dc.Get()));
}

TEST_F(LinkLabelTest, HiddenItErasesOnlyWhatItHasMeasured) {
    LinkLabel* label = Make(1029);
    window.Flood(kFlood);
    label->Show(0);
    EXPECT_EQ(120 * 60, CountOnWindow(kFlood));

    label->Show(1);
    window.Flood(kFlood);
    label->Show(0);
    Canvas screen(120, 60);
    Capture(&screen);
    EXPECT_EQ(0, Mismatches(screen, [&](int x, int y) {
                  return Inside(label->bounds, x, y) ? Background(x, y) : kFlood;
              }));
}

TEST(LinkLabelText, LongerThan59CharactersIsRefused) {
    ControlHost host{};
    RECT place = {0, 0, 0, 0};
    std::string longest(59, 'x');
    LinkLabel fits(&host, &place, longest.c_str(), 1, nullptr);
    EXPECT_EQ(longest, fits.text);
    LinkLabel refused(&host, &place, std::string(60, 'x').c_str(), 1, nullptr);
    EXPECT_STREQ("", refused.text);
}

}  // namespace
