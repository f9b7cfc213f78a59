#include "skin/link_label.h"
#include "skin_test_support.h"

namespace {

const COLORREF kPurple = RGB(0x80, 0, 0x80);

class LinkLabelTest : public SkinWindowTest {
  protected:
    LinkLabel* Add() {
        RECT place = {10, 8, 0, 0};
        return Make<LinkLabel>(&place, "example.test", 1029, "Visit");
    }
    int PixelsOf(COLORREF colour) { return width * height - Screen().Mismatches(Solid(colour)); }
};

TEST_F(LinkLabelTest, BlueUntilClickedAndPurpleFromTheNextPaint) {
    LinkLabel* label = Add();
    PaintCycle();
    EXPECT_GT(PixelsOf(kBlue), 0);
    EXPECT_EQ(0, PixelsOf(kPurple));
    EXPECT_EQ(1, Mouse(WM_LBUTTONDOWN, 12, 10));
    EXPECT_EQ(1, label->visited);
    EXPECT_EQ(0, PixelsOf(kPurple)) << "the click itself repaints nothing";
    PaintCycle();
    EXPECT_GT(PixelsOf(kPurple), 0);
    EXPECT_EQ(0, PixelsOf(kBlue));
}

TEST_F(LinkLabelTest, EveryPressInsideTheMeasuredTextPosts) {
    LinkLabel* label = Add();
    // Before the first paint only the corner point is the label.
    EXPECT_EQ(0, Mouse(WM_LBUTTONDOWN, 11, 8));
    EXPECT_EQ(0, Mouse(WM_LBUTTONDOWN, 10, 9));
    EXPECT_EQ(1, Mouse(WM_LBUTTONDOWN, 10, 8));
    EXPECT_EQ(0, Mouse(WM_LBUTTONUP, 10, 8));
    PaintCycle();
    SIZE extent = {};
    {
        WindowDc dc(window);
        SelectGuard font(dc.Get(), UnderlineFont.Get());
        GetTextExtentPoint32A(dc.Get(), "example.test", 12, &extent);
    }
    RECT measured = {10, 8, 10 + extent.cx, 8 + extent.cy};
    EXPECT_TRUE(EqualRect(&measured, &label->bounds));
    EXPECT_EQ(1, Mouse(WM_LBUTTONDOWN, measured.right, measured.bottom));
    EXPECT_EQ(0, Mouse(WM_LBUTTONDOWN, measured.right + 1, 8));
    EXPECT_EQ(0, Mouse(WM_LBUTTONDOWN, 10, measured.bottom + 1));
    EXPECT_EQ((std::vector<WPARAM>{1029, 1029}), Notices());
}

TEST_F(LinkLabelTest, AMoveOverTheLabelSetsTheHandCursorAndIsConsumed) {
    LinkLabel* label = Add();
    AddRecorder(1);
    PaintCycle();
    HCURSOR arrow = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    SetCursor(arrow);
    EXPECT_EQ(1, Mouse(WM_MOUSEMOVE, 12, 10));
    EXPECT_EQ(HandCursor.Get(), GetCursor());
    EXPECT_EQ(1, label->statusState);
    // Off the label only the status text goes; the cursor is the window's.
    SetCursor(arrow);
    EXPECT_EQ(0, Mouse(WM_MOUSEMOVE, 100, 30));
    EXPECT_EQ(arrow, GetCursor());
    EXPECT_EQ(0, label->statusState);
    EXPECT_EQ(std::vector<int>{1}, Tags(log, "mouse"));
}

TEST_F(LinkLabelTest, PaintLeavesTheFontAsItWasAndTheTextBlack) {
    LinkLabel* label = Add();
    WindowDc dc(window);
    SelectObject(dc.Get(), NormalFont.Get());
    SetTextColor(dc.Get(), RGB(255, 0, 0));
    label->Paint(dc.Get());
    EXPECT_EQ(NormalFont.Get(), GetCurrentObject(dc.Get(), OBJ_FONT));
    EXPECT_EQ(0u, GetTextColor(dc.Get()));
}

TEST_F(LinkLabelTest, HiddenItErasesOnlyWhatItHasMeasured) {
    LinkLabel* label = Add();
    Flood(kBlue);
    label->Show(0);
    EXPECT_EQ(0, Screen().Mismatches(Solid(kBlue))) << "nothing measured yet";
    label->Show(1);
    Flood(kBlue);
    label->Show(0);
    EXPECT_EQ(0, Screen().Mismatches([&](int x, int y) {
        return Inside(label->bounds, x, y) ? Background(x, y) : kBlue;
    }));
}

}  // namespace
