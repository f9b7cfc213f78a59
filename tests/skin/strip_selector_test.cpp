#include <stdlib.h>

#include <climits>
#include <new>
#include <string>

#include "res/resource_ids.h"
#include "skin/skin_draw.h"
#include "strip_test_fixture.h"

// Lets a test make the n-th next nothrow allocation fail; otherwise a plain
// heap allocation, as in the shipped program.
int FailNothrowNewAt;
void* operator new(size_t size, const std::nothrow_t&) noexcept {
    if (FailNothrowNewAt > 0 && --FailNothrowNewAt == 0) return nullptr;
    return malloc(size ? size : 1);
}

namespace {

const COLORREF kBlue = RGB(0, 0, 255);

// Pixel (k, j) of cell n of the 52 x 13 test strip.
COLORREF StripCell(int n, int k, int j) {
    return PatternColour(13 * n + k, j, kStripTag, true);
}

int CellShown(const Canvas& canvas, const StripSelector* selector, int n) {
    return CellMismatches(canvas, selector->cellRect,
                          [n](int k, int j) { return StripCell(n, k, j); });
}

using StripSelectorTest = StripTest;

class DialogOptionTest : public StripTest {
  protected:
    DialogOptionTest() : StripTest(500, 292) {}
};

TEST_F(DialogOptionTest, OptionsAreBuiltAsTheDialogAsksAndTickLikeCheckBoxes) {
    StripSelector* plugIn =
        Make({250, 80, 0, 0}, IDB_CHECK_STRIP, 0, -3, 0, "Pastel Craft Plug-in", 0x80148000u, 2000,
             "PastelCraft", "Select to install Pastel Craft Plug-in");
    StripSelector* presets = Make({250, 100, 0, 20}, IDB_CHECK_STRIP, 0, -3, 0,
                                  "Additional presets: Portrait01 - Portrait12", 0x80148000u, 2000,
                                  "PresetsPastels", "Select to install additional presets");
    ASSERT_TRUE(plugIn && presets);
    plugIn->value = presets->value = 2;

    RECT cell = {250, 80, 263, 93};
    EXPECT_TRUE(EqualRect(&cell, &plugIn->cellRect));
    RECT area = {250, 100, 250, 120};
    EXPECT_TRUE(EqualRect(&area, &presets->area));
    EXPECT_EQ(0, plugIn->minValue);
    EXPECT_EQ(3, plugIn->maxValue);
    EXPECT_EQ(1, plugIn->twoPhase);
    EXPECT_EQ(20, plugIn->captionDx);
    EXPECT_EQ(0, plugIn->captionDy);
    EXPECT_EQ(2000, plugIn->commandId);
    EXPECT_STREQ("PastelCraft", plugIn->name);
    EXPECT_STREQ("PresetsPastels", presets->name);
    EXPECT_STREQ("Pastel Craft Plug-in", plugIn->caption);
    EXPECT_STREQ("Additional presets: Portrait01 - Portrait12", presets->caption);
    EXPECT_EQ(52, plugIn->strip->width);
    EXPECT_EQ(13, plugIn->strip->height);
    EXPECT_EQ(2, BitmapCache.refCounts[SlotOf(IDB_CHECK_STRIP)]);

    // The cells are the real check strip's.
    HDC cells = plugIn->strip->memoryDc;
    auto shows = [&](int n) {
        return CellMismatches(Screen(), plugIn->cellRect,
                              [&](int k, int j) { return GetPixel(cells, 13 * n + k, j); });
    };
    EXPECT_EQ(1, MouseAt(WM_LBUTTONDOWN, plugIn));
    EXPECT_EQ(3, plugIn->value);
    EXPECT_EQ(0, shows(3));
    EXPECT_TRUE(Notices().empty());
    EXPECT_EQ(1, MouseAt(WM_LBUTTONUP, plugIn));
    EXPECT_EQ(0, plugIn->value);
    EXPECT_EQ(0, shows(0));
    EXPECT_EQ(std::vector<WPARAM>{2000}, Notices());
    EXPECT_EQ(2, presets->value);
}

TEST_F(StripSelectorTest, CheckBoxShowsPressedPhasesAndPostsOnceOnRelease) {
    StripSelector* box = Add(10, 10, IDB_TEST_STRIP, 0, -3);
    box->value = 2;
    struct Step {
        UINT message;
        int value;
    } steps[] = {
        // Left: 2 -> 3 -> 0, then 0 -> 1 -> 2.
        {WM_LBUTTONDOWN, 3},
        {WM_LBUTTONUP, 0},
        {WM_LBUTTONDOWN, 1},
        {WM_LBUTTONUP, 2},
        // Right: 2 -> 1 -> 0, then 0 -> 3 (wrapped) -> 2.
        {WM_RBUTTONDOWN, 1},
        {WM_RBUTTONUP, 0},
        {WM_RBUTTONDOWN, 3},
        {WM_RBUTTONUP, 2},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.message);
        window.Flood(kBlue);
        EXPECT_EQ(1, MouseAt(step.message, box));
        EXPECT_EQ(step.value, box->value);
        EXPECT_EQ(0, CellShown(BackBuffer(), box, step.value));
        EXPECT_EQ(0, CellShown(Screen(), box, step.value));
        // Only the cell is drawn: the window around it is untouched.
        EXPECT_EQ(0, Mismatches(screen, [&](int x, int y) {
                      return Inside(box->cellRect, x, y) ? StripCell(step.value, x - 10, y - 10)
                                                         : kBlue;
                  }));
        bool release = step.message == WM_LBUTTONUP || step.message == WM_RBUTTONUP;
        EXPECT_EQ(release ? std::vector<WPARAM>{2000} : std::vector<WPARAM>{}, Notices());
    }
    // A release without a press before it does nothing.
    EXPECT_EQ(0, MouseAt(WM_LBUTTONUP, box));
    EXPECT_EQ(2, box->value);
    EXPECT_TRUE(Notices().empty());
}

// The dialog's window class reports a quick second press on the same place
// as a double click.
TEST_F(StripSelectorTest, DoubleClickPressesLikeAnyPress) {
    StripSelector* box = Add(10, 10, IDB_TEST_STRIP, 0, -3);
    box->value = 2;
    EXPECT_EQ(1, MouseAt(WM_LBUTTONDOWN, box));
    EXPECT_EQ(1, MouseAt(WM_LBUTTONUP, box));
    EXPECT_EQ(0, box->value);
    EXPECT_EQ(1, MouseAt(WM_LBUTTONDBLCLK, box));
    EXPECT_EQ(1, box->value);
    EXPECT_EQ(0, CellShown(Screen(), box, 1));
    EXPECT_EQ(1, MouseAt(WM_LBUTTONUP, box));
    EXPECT_EQ(2, box->value);
    EXPECT_EQ(1, MouseAt(WM_RBUTTONDBLCLK, box));
    EXPECT_EQ(1, MouseAt(WM_RBUTTONUP, box));
    EXPECT_EQ(0, box->value);
    EXPECT_EQ((std::vector<WPARAM>{2000, 2000, 2000}), Notices());
}

TEST_F(StripSelectorTest, PressEndedOutsideTheCellFallsBackWithoutNotice) {
    StripSelector* box = Add(10, 10, IDB_TEST_STRIP, 0, -3);
    box->value = 2;
    // The cell's right and bottom edges are still inside.
    EXPECT_EQ(0, Mouse(WM_MOUSEMOVE, 23, 23));
    EXPECT_EQ(1, box->statusState);

    EXPECT_EQ(1, Mouse(WM_LBUTTONDOWN, 23, 23));
    EXPECT_EQ(3, box->value);
    EXPECT_EQ(0, Mouse(WM_MOUSEMOVE, 24, 23));
    EXPECT_EQ(2, box->value);
    EXPECT_EQ(0, box->statusState);
    EXPECT_EQ(0, CellShown(Screen(), box, 2));
    EXPECT_EQ(0, MouseAt(WM_LBUTTONUP, box));
    EXPECT_EQ(2, box->value);

    // Any message outside ends the pressed phase, not only a move.
    EXPECT_EQ(1, MouseAt(WM_RBUTTONDOWN, box));
    EXPECT_EQ(1, box->value);
    EXPECT_EQ(0, Mouse(WM_LBUTTONUP, 60, 60));
    EXPECT_EQ(0, box->value);
    EXPECT_EQ(0, CellShown(Screen(), box, 0));
    EXPECT_EQ(0, MouseAt(WM_RBUTTONUP, box));
    EXPECT_EQ(0, box->value);
    EXPECT_TRUE(Notices().empty());

    // Resting values are left alone outside.
    EXPECT_EQ(0, Mouse(WM_LBUTTONDOWN, 60, 60));
    EXPECT_EQ(0, box->value);
}

TEST_F(StripSelectorTest, WithoutTwoPhasesEveryPressStepsAndPosts) {
    StripSelector* selector = Add(10, 10, IDB_TEST_STRIP, 0, 3);
    EXPECT_EQ(0, selector->twoPhase);
    for (int expected : {1, 2, 3, 0}) {
        EXPECT_EQ(1, MouseAt(WM_LBUTTONDOWN, selector));
        EXPECT_EQ(expected, selector->value);
        EXPECT_EQ(0, CellShown(Screen(), selector, expected));
        EXPECT_EQ(0, MouseAt(WM_LBUTTONUP, selector));
        EXPECT_EQ(std::vector<WPARAM>{2000}, Notices());
    }
    for (int expected : {3, 2}) {
        EXPECT_EQ(1, MouseAt(WM_RBUTTONDOWN, selector));
        EXPECT_EQ(expected, selector->value);
        EXPECT_EQ(std::vector<WPARAM>{2000}, Notices());
    }
    // Odd values are resting values here: leaving the cell keeps them.
    EXPECT_EQ(1, MouseAt(WM_RBUTTONDOWN, selector));
    EXPECT_EQ(0, Mouse(WM_MOUSEMOVE, 60, 60));
    EXPECT_EQ(1, selector->value);
    EXPECT_EQ(std::vector<WPARAM>{2000}, Notices());

    // A step past the highest value wraps to the start value; a command id
    // of 0 posts nothing.
    StripSelector* offset = Add(40, 10, IDB_TEST_STRIP, 1, 3, 0, "", 0x80148000u, 0);
    offset->value = 3;
    EXPECT_EQ(1, MouseAt(WM_LBUTTONDOWN, offset));
    EXPECT_EQ(1, offset->value);
    EXPECT_EQ(0, offset->GetValue());
    EXPECT_TRUE(Notices().empty());
}

TEST_F(StripSelectorTest, CaptionIsDrawnAtItsOffsetFromTheCell) {
    struct Case {
        unsigned offset;
        int dx;
        int dy;
    } cases[] = {{0x80148000u, 20, 0}, {0x7FFC8010u, -4, 16}};
    for (const Case& c : cases) {
        StripSelector* selector = Add(30, 40, IDB_TEST_STRIP, 0, -3, 0, "Caption", c.offset);
        EXPECT_EQ(c.dx, selector->captionDx);
        EXPECT_EQ(c.dy, selector->captionDy);

        Canvas painted(width, height);
        PrepareSkinDc(painted.Dc());
        selector->Paint(painted.Dc());
        Canvas expected(width, height);
        PrepareSkinDc(expected.Dc());
        for (int j = 0; j < 13; ++j)
            for (int k = 0; k < 13; ++k) expected.Put(30 + k, 40 + j, StripCell(0, k, j));
        DrawTextAt(expected.Dc(), 30 + c.dx, 40 - c.dy, "Caption");
        EXPECT_EQ(0, Mismatches(painted, [&](int x, int y) { return expected.Pixel(x, y); }));
        EXPECT_GT(Mismatches(painted,
                             [&](int x, int y) {
                                 return Inside(selector->cellRect, x, y)
                                            ? StripCell(0, x - 30, y - 40)
                                            : kUntouched;
                             }),
                  0)
            << "the caption must show";
    }
}

TEST_F(StripSelectorTest, KeyedTransposedAndDoubleWidthCells) {
    StripSelector* keyed = Add(10, 10, IDB_TEST_STRIP, 0, -3, kStripKeyed);
    StripSelector* transposed = Add(30, 10, IDB_TEST_STRIP, 0, -3, kStripTransposed | kStripKeyed);
    StripSelector* wide = Add(50, 10, BlankId(104, 13), 0, 3, kStripDoubleWidth);
    FillLargePattern(*wide->strip);
    keyed->value = transposed->value = wide->value = 2;
    RECT wideCell = {50, 10, 76, 23};
    EXPECT_TRUE(EqualRect(&wideCell, &wide->cellRect));

    window.Flood(kBlue);
    for (StripSelector* selector : {keyed, transposed, wide}) selector->Redraw();
    Screen();
    // White shows the background restored beneath the cell.
    EXPECT_EQ(0, CellMismatches(screen, keyed->cellRect, [](int k, int j) {
                  COLORREF colour = StripCell(2, k, j);
                  return colour == TransparentKey ? Background(10 + k, 10 + j) : colour;
              }));
    // Rows and columns exchanged; transposing takes precedence over keying.
    EXPECT_EQ(0, CellMismatches(screen, transposed->cellRect,
                                [](int k, int j) { return StripCell(2, j, k); }));
    EXPECT_EQ(0, CellMismatches(screen, wide->cellRect,
                                [](int k, int j) { return LargePatternColour(52 + k, j); }));
}

TEST_F(StripSelectorTest, CellOutsideTheStripDrawsNothing) {
    StripSelector* box = Add(10, 10, IDB_TEST_STRIP, 0, 9, kStripKeyed, "Caption");
    // The caption of this one goes below its cell, to leave the cell clear.
    StripSelector* wide =
        Add(40, 10, IDB_TEST_STRIP, 0, 9, kStripDoubleWidth, "Caption", 0x80007FECu);
    StripSelector* transposed = Add(10, 40, IDB_TEST_STRIP, 0, 9, kStripTransposed, "Caption");
    window.Flood(kBlue);
    for (int value : {4, 5, -1, -13, INT_MAX, INT_MIN}) {
        for (StripSelector* selector : {box, wide, transposed}) {
            selector->value = value;
            selector->Redraw();
        }
        EXPECT_EQ(0, Mismatches(Screen(), [](int, int) { return kBlue; })) << value;
    }
    // The double-width cell's end at the strip's end is still drawn.
    wide->value = 1;
    wide->Redraw();
    EXPECT_EQ(0, CellMismatches(Screen(), wide->cellRect, [](int k, int j) {
                  return PatternColour(26 + k, j, kStripTag, true);
              }));
}

TEST_F(StripSelectorTest, ValueOnlySelectorNeverPaintsAndIgnoresTheMouse) {
    StripSelector* bare = Add(10, 10, IDB_TEST_STRIP, 5, 9, kStripValueOnly);
    EXPECT_EQ(nullptr, bare->strip);
    EXPECT_EQ(-1, SlotOf(IDB_TEST_STRIP));
    EXPECT_EQ(0, bare->commandId);
    EXPECT_STREQ("Name", bare->name);
    bare->SetValue(-7);
    EXPECT_EQ(-7, bare->value);
    EXPECT_EQ(-7, bare->GetValue());

    window.Flood(kBlue);
    bare->Redraw();
    bare->Show(0);
    bare->Show(1);
    for (UINT message : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN})
        EXPECT_EQ(0, Mouse(message, 0, 0));
    EXPECT_EQ(-7, bare->value);
    EXPECT_EQ(0, bare->statusState);
    EXPECT_TRUE(Notices().empty());
    EXPECT_EQ(0, Mismatches(Screen(), [](int, int) { return kBlue; }));
}

TEST_F(StripSelectorTest, SetValueClampsToTheRangeAndGetValueCountsFromTheStart) {
    StripSelector* box = Add(10, 10, IDB_TEST_STRIP, 0, -3);
    window.Flood(kBlue);
    box->SetValue(5);
    EXPECT_EQ(3, box->value);
    box->SetValue(-2);
    EXPECT_EQ(0, box->value);
    EXPECT_EQ(0, Mismatches(Screen(), [](int, int) { return kBlue; })) << "no repaint";

    StripSelector* offset = Add(40, 10, IDB_TEST_STRIP, 2, 6);
    EXPECT_EQ(2, offset->value);
    EXPECT_EQ(0, offset->GetValue());
    offset->SetValue(1);
    EXPECT_EQ(3, offset->value);
    EXPECT_EQ(1, offset->GetValue());
    offset->SetValue(10);
    EXPECT_EQ(6, offset->value);
    offset->SetValue(-5);
    EXPECT_EQ(2, offset->value);
    offset->SetValue(INT_MAX);
    EXPECT_EQ(6, offset->value);
    offset->SetValue(INT_MIN);
    EXPECT_EQ(2, offset->value);
}

TEST_F(StripSelectorTest, TextsAreBoundedAndMayBeMissing) {
    std::string longest(39, 'c'), tooLong(70, 'n');
    StripSelector* kept = Make({10, 10, 0, 0}, IDB_TEST_STRIP, 0, -3, 0, longest.c_str(),
                               0x80148000u, 1, longest.c_str());
    StripSelector* cut = Make({10, 10, 0, 0}, IDB_TEST_STRIP, 0, -3, 0, tooLong.c_str(),
                              0x80148000u, 1, tooLong.c_str());
    StripSelector* none =
        Make({10, 10, 0, 0}, IDB_TEST_STRIP, 0, -3, 0, nullptr, 0x80148000u, 1, nullptr, nullptr);
    EXPECT_EQ(longest, kept->caption);
    EXPECT_EQ(longest, kept->name);
    EXPECT_EQ(tooLong.substr(0, 63), cut->caption);
    EXPECT_STREQ("", cut->name) << "a name is refused rather than cut";
    EXPECT_STREQ("", none->caption);
    EXPECT_STREQ("", none->name);
    none->Redraw();

    // The most negative range argument must not overflow when negated.
    StripSelector* extreme = Add(40, 10, IDB_TEST_STRIP, 0, INT_MIN);
    EXPECT_EQ(1, MouseAt(WM_LBUTTONDOWN, extreme));
}

TEST_F(StripSelectorTest, WithoutMemoryForTheStripTheCellIsThePlaceAndShowsTheNumber) {
    FailNothrowNewAt = 2;  // the control itself, then its strip
    StripSelector* selector = Make({10, 20, 30, 16}, IDB_TEST_STRIP, 0, -3, 0, "Caption");
    FailNothrowNewAt = 0;
    ASSERT_NE(nullptr, selector);
    EXPECT_EQ(nullptr, selector->strip);
    EXPECT_EQ(-1, SlotOf(IDB_TEST_STRIP));
    RECT expectedArea = {10, 20, 40, 36};
    EXPECT_TRUE(EqualRect(&expectedArea, &selector->cellRect));
    EXPECT_TRUE(EqualRect(&expectedArea, &selector->area));

    selector->value = 2;
    Canvas painted(width, height);
    PrepareSkinDc(painted.Dc());
    selector->Paint(painted.Dc());
    Canvas expected(width, height);
    PrepareSkinDc(expected.Dc());
    host.background->TileFill(expected.Dc(), selector->cellRect);
    DrawTextAt(expected.Dc(), 30, 20, "02");
    EXPECT_EQ(0, Mismatches(painted, [&](int x, int y) { return expected.Pixel(x, y); }));

    // It still steps and notifies.
    EXPECT_EQ(1, Mouse(WM_LBUTTONDOWN, 12, 22));
    EXPECT_EQ(1, Mouse(WM_LBUTTONUP, 12, 22));
    EXPECT_EQ(0, selector->value);
    EXPECT_EQ(std::vector<WPARAM>{2000}, Notices());
}

TEST_F(StripSelectorTest, HiddenSelectorRestoresTheBackgroundOverItsArea) {
    StripSelector* selector = Make({10, 20, 90, 16}, IDB_TEST_STRIP, 0, -3, 0, "Caption");
    window.Flood(kBlue);
    selector->Show(0);
    EXPECT_EQ(0, Mismatches(Screen(), [&](int x, int y) {
                  return Inside(selector->area, x, y) ? Background(x, y) : kBlue;
              }));
}

}  // namespace
