#include <stdlib.h>

#include <climits>
#include <new>

#include "skin/skin_draw.h"
#include "skin_test_support.h"

// Lets a test make the n-th next nothrow allocation fail; otherwise a plain
// heap allocation, as in the shipped program.
int FailNothrowNewAt;
void* operator new(size_t size, const std::nothrow_t&) noexcept {
    if (FailNothrowNewAt > 0 && --FailNothrowNewAt == 0) return nullptr;
    return malloc(size ? size : 1);
}

namespace {

class StripSelectorTest : public SkinWindowTest {
  protected:
    StripSelectorTest() : SkinWindowTest(160, 120) {}

    RECT above = {0, 0, 160, 104};  // all but the status line
};

// Selector 0 is a check box (odd values are pressed looks): a press ended
// outside falls back without notice, at any message. Without pressed phases
// (1) every press is a step. Selector 2 starts at 1: a step past the highest
// value goes there, only one below 0 to the highest; command 0 posts nothing.
TEST_F(StripSelectorTest, PressesStepWithWrapAroundAndPressedPhases) {
    StripSelector* selectors[] = {
        AddStrip(10, 10, IDB_TEST_STRIP, 0, -3),
        AddStrip(40, 10, IDB_TEST_STRIP, 0, 3),
        AddStrip(70, 10, IDB_TEST_STRIP, 1, 3, 0, "", 0x80148000u, 0),
    };
    selectors[0]->value = 2;
    selectors[2]->value = 3;
    struct Step {
        int selector;
        UINT message;
        bool inside;  // at the cell's bottom-right corner, else one pixel right of it
        int value, consumed;
        size_t notices;
    } steps[] = {
        {0, WM_LBUTTONDOWN, true, 3, 1, 0},
        {0, WM_LBUTTONUP, true, 0, 1, 1},
        {0, WM_LBUTTONDOWN, true, 1, 1, 0},
        {0, WM_LBUTTONUP, true, 2, 1, 1},
        {0, WM_RBUTTONDOWN, true, 1, 1, 0},
        {0, WM_RBUTTONUP, true, 0, 1, 1},
        {0, WM_RBUTTONDOWN, true, 3, 1, 0},
        {0, WM_RBUTTONUP, true, 2, 1, 1},
        {0, WM_LBUTTONUP, true, 2, 0, 0},
        {0, WM_MOUSEMOVE, true, 2, 0, 0},
        {0, WM_LBUTTONDOWN, true, 3, 1, 0},
        {0, WM_MOUSEMOVE, false, 2, 0, 0},
        {0, WM_LBUTTONUP, true, 2, 0, 0},
        {0, WM_RBUTTONDOWN, true, 1, 1, 0},
        {0, WM_LBUTTONUP, false, 0, 0, 0},
        {0, WM_RBUTTONUP, true, 0, 0, 0},
        {0, WM_LBUTTONDOWN, false, 0, 0, 0},
        // A quick second press arrives as a double click: a press like any.
        {0, WM_LBUTTONDBLCLK, true, 1, 1, 0},
        {0, WM_LBUTTONUP, true, 2, 1, 1},
        {0, WM_RBUTTONDBLCLK, true, 1, 1, 0},
        {0, WM_RBUTTONUP, true, 0, 1, 1},
        {1, WM_LBUTTONDOWN, true, 1, 1, 1},
        {1, WM_LBUTTONUP, true, 1, 0, 0},
        {1, WM_LBUTTONDOWN, true, 2, 1, 1},
        {1, WM_LBUTTONDOWN, true, 3, 1, 1},
        {1, WM_LBUTTONDOWN, true, 0, 1, 1},
        {1, WM_RBUTTONDOWN, true, 3, 1, 1},
        {1, WM_RBUTTONDOWN, true, 2, 1, 1},
        {1, WM_RBUTTONDOWN, true, 1, 1, 1},
        {1, WM_MOUSEMOVE, false, 1, 0, 0},
        {2, WM_LBUTTONDOWN, true, 1, 1, 0},
        {2, WM_RBUTTONDOWN, true, 0, 1, 0},
    };
    for (const Step& step : steps) {
        StripSelector* selector = selectors[step.selector];
        SCOPED_TRACE(testing::Message()
                     << step.selector << ": " << step.message << (step.inside ? " in" : " out"));
        int before = selector->value;
        Flood(kBlue);
        const RECT& cell = selector->cellRect;
        EXPECT_EQ(step.consumed, Mouse(step.message, cell.right + !step.inside, cell.bottom));
        EXPECT_EQ(step.value, selector->value);
        EXPECT_EQ(step.notices, Notices().size());
        if (step.message == WM_MOUSEMOVE) {
            EXPECT_EQ(step.inside, selector->statusState == 1);
        }
        auto shown = [&](int x, int y) {
            if (!Inside(cell, x, y) || step.value == before) return kBlue;
            return StripColour(13 * step.value + x - cell.left, y - cell.top);
        };
        EXPECT_EQ(0, Screen().Mismatches(shown, &above)) << "only the cell is drawn";
    }
}

TEST_F(StripSelectorTest, CaptionIsDrawnAtItsOffsetFromTheCell) {
    struct Case {
        unsigned offset;
        int dx, dy;  // dy upwards
    } cases[] = {{0x80148000u, 20, 0}, {0x7FFC8010u, -4, 16}};
    for (const Case& c : cases) {
        StripSelector* selector = AddStrip(30, 40, IDB_TEST_STRIP, 0, -3, 0, "Caption", c.offset);
        Canvas painted(width, height), expected(width, height);
        PrepareSkinDc(painted.Dc());
        selector->Paint(painted.Dc());
        PrepareSkinDc(expected.Dc());
        for (int j = 0; j < 13; ++j)
            for (int k = 0; k < 13; ++k) expected.Put(30 + k, 40 + j, StripColour(k, j));
        DrawTextAt(expected.Dc(), 30 + c.dx, 40 - c.dy, "Caption");
        EXPECT_EQ(0, painted.Mismatches([&](int x, int y) { return expected.Pixel(x, y); }));
        EXPECT_GT(painted.Mismatches(Solid(kUntouched)), 13 * 13) << "the caption must show";
    }
}

// A check box (pressed phases, strip mode) takes its caption, as painted,
// into its hit area, and the gap before it; a strip without pressed phases
// keeps to its cell.
TEST_F(StripSelectorTest, ACheckBoxIsClickedAndHoveredOnItsCaptionToo) {
    StripSelector* box = AddStrip(10, 10, IDB_TEST_STRIP, 0, -3, 0, "Caption");
    StripSelector* stepper = AddStrip(10, 40, IDB_TEST_STRIP, 0, 3, 0, "Caption");
    box->value = 2;
    EXPECT_EQ(0, Mouse(WM_LBUTTONDOWN, 35, 15)) << "not before the caption is painted";
    PaintCycle();
    const RECT& caption = box->captionRect;
    EXPECT_EQ(30, caption.left);
    EXPECT_EQ(10, caption.top);
    RECT hit = box->Bounds();
    RECT expected = {10, 10, caption.right, caption.bottom > 23 ? caption.bottom : 23};
    EXPECT_TRUE(EqualRect(&expected, &hit));

    EXPECT_EQ(0, Mouse(WM_MOUSEMOVE, caption.right, 15));
    EXPECT_EQ(1, box->statusState);
    EXPECT_EQ(1, Mouse(WM_LBUTTONDOWN, caption.right, 15));
    EXPECT_EQ(1, Mouse(WM_LBUTTONUP, 25, 15)) << "the gap before the caption";
    EXPECT_EQ(0, box->value);
    EXPECT_EQ(std::vector<WPARAM>{2000}, Notices());
    EXPECT_EQ(0, Mouse(WM_LBUTTONDOWN, caption.right + 1, 15));

    EXPECT_EQ(0, Mouse(WM_LBUTTONDOWN, 35, 45));
    EXPECT_EQ(0, stepper->value);
    RECT cell = stepper->Bounds();
    EXPECT_TRUE(EqualRect(&stepper->cellRect, &cell));
    EXPECT_TRUE(Notices().empty());
}

TEST_F(StripSelectorTest, KeyedTransposedAndDoubleWidthCells) {
    StripSelector* keyed = AddStrip(10, 10, IDB_TEST_STRIP, 0, -3, kStripKeyed);
    StripSelector* transposed =
        AddStrip(30, 10, IDB_TEST_STRIP, 0, -3, kStripTransposed | kStripKeyed);
    StripSelector* wide = AddStrip(50, 10, BlankId(104, 13), 0, 3, kStripDoubleWidth);
    FillLargePattern(*wide->strip);
    RECT wideCell = {50, 10, 76, 23};
    EXPECT_TRUE(EqualRect(&wideCell, &wide->cellRect));
    Flood(kBlue);
    for (StripSelector* selector : {keyed, transposed, wide}) {
        selector->value = 2;
        selector->Redraw();
    }
    Screen();
    // White shows the background restored beneath the cell.
    EXPECT_EQ(0, screen.Mismatches(
                     [](int x, int y) {
                         COLORREF colour = StripColour(26 + x - 10, y - 10);
                         return colour == TransparentKey ? Background(x, y) : colour;
                     },
                     &keyed->cellRect));
    // Rows and columns exchanged; transposing takes precedence over keying.
    EXPECT_EQ(0, screen.Mismatches([](int x, int y) { return StripColour(26 + y - 10, x - 30); },
                                   &transposed->cellRect));
    EXPECT_EQ(0, screen.Mismatches([](int x, int y) { return LargePatternColour(2 + x, y - 10); },
                                   &wideCell));
}

TEST_F(StripSelectorTest, CellOutsideTheStripDrawsNothing) {
    StripSelector* keyed = AddStrip(10, 10, IDB_TEST_STRIP, 0, 9, kStripKeyed, "Caption");
    // The caption of this one goes below its cell, to leave the cell clear.
    StripSelector* wide =
        AddStrip(40, 10, IDB_TEST_STRIP, 0, 9, kStripDoubleWidth, "Caption", 0x80007FECu);
    StripSelector* transposed = AddStrip(10, 40, IDB_TEST_STRIP, 0, 9, kStripTransposed, "Caption");
    Flood(kBlue);
    for (int value : {4, 5, -1, -13, INT_MAX, INT_MIN}) {
        for (StripSelector* selector : {keyed, wide, transposed}) {
            selector->value = value;
            selector->Redraw();
        }
        EXPECT_EQ(0, Screen().Mismatches(Solid(kBlue))) << value;
    }
    // The double-width cell ending at the strip's end is still drawn.
    wide->value = 1;
    wide->Redraw();
    EXPECT_EQ(0, Screen().Mismatches([](int x, int y) { return StripColour(x - 14, y - 10); },
                                     &wide->cellRect));
}

TEST_F(StripSelectorTest, ValueOnlySelectorNeverPaintsAndIgnoresTheMouse) {
    StripSelector* bare = AddStrip(10, 10, IDB_TEST_STRIP, 5, 9, kStripValueOnly);
    EXPECT_EQ(-1, SlotOf(IDB_TEST_STRIP));
    bare->SetValue(-7);
    EXPECT_EQ(-7, bare->GetValue());
    Flood(kBlue);
    bare->Redraw();
    bare->Show(0);
    bare->Show(1);
    for (UINT message : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN})
        EXPECT_EQ(0, Mouse(message, 0, 0));
    EXPECT_EQ(-7, bare->value);
    EXPECT_TRUE(Notices().empty());
    EXPECT_EQ(0, Screen().Mismatches(Solid(kBlue)));
}

TEST_F(StripSelectorTest, SetValueClampsToTheRangeAndGetValueCountsFromTheStart) {
    StripSelector* selector = AddStrip(40, 10, IDB_TEST_STRIP, 2, 6);
    EXPECT_EQ(0, selector->GetValue());
    Flood(kBlue);
    struct Case {
        int set, value;
    } cases[] = {{1, 3}, {10, 6}, {-5, 2}, {INT_MAX, 6}, {INT_MIN, 2}};
    for (const Case& c : cases) {
        selector->SetValue(c.set);
        EXPECT_EQ(c.value, selector->value) << c.set;
        EXPECT_EQ(c.value - 2, selector->GetValue());
    }
    EXPECT_EQ(0, Screen().Mismatches(Solid(kBlue))) << "no repaint";
}

TEST_F(StripSelectorTest, WithoutMemoryForTheStripTheCellIsThePlaceAndShowsTheNumber) {
    RECT place = {10, 20, 30, 16};
    FailNothrowNewAt = 2;  // the control itself, then its strip
    StripSelector* selector = Make<StripSelector>(&place, IDB_TEST_STRIP, 0x80148000u, "Caption", 0,
                                                  -3, nullptr, 2000, 0, nullptr);
    FailNothrowNewAt = 0;
    ASSERT_EQ(nullptr, selector->strip);
    RECT expectedCell = {10, 20, 40, 36};
    EXPECT_TRUE(EqualRect(&expectedCell, &selector->cellRect));
    selector->value = 2;
    Canvas painted(width, height), expected(width, height);
    PrepareSkinDc(painted.Dc());
    selector->Paint(painted.Dc());
    PrepareSkinDc(expected.Dc());
    host.background->TileFill(expected.Dc(), expectedCell);
    DrawTextAt(expected.Dc(), 30, 20, "02");
    EXPECT_EQ(0, painted.Mismatches([&](int x, int y) { return expected.Pixel(x, y); }));
    // It still steps and notifies.
    EXPECT_EQ(1, Mouse(WM_LBUTTONDOWN, 12, 22));
    EXPECT_EQ(1, Mouse(WM_LBUTTONUP, 12, 22));
    EXPECT_EQ(0, selector->value);
    EXPECT_EQ(std::vector<WPARAM>{2000}, Notices());
}

TEST_F(StripSelectorTest, HiddenSelectorRestoresTheBackgroundOverItsArea) {
    RECT place = {10, 20, 90, 16};
    StripSelector* selector = Make<StripSelector>(&place, IDB_TEST_STRIP, 0x80148000u, "Caption", 0,
                                                  -3, nullptr, 2000, 0, nullptr);
    Flood(kBlue);
    selector->Show(0);
    EXPECT_EQ(0, Screen().Mismatches([&](int x, int y) {
        return Inside(selector->area, x, y) ? Background(x, y) : kBlue;
    }));
}

}  // namespace
