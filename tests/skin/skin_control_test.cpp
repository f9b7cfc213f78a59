#include <string>

#include "skin/bitmap_button.h"
#include "skin/link_label.h"
#include "skin/skin_draw.h"
#include "skin_test_support.h"

namespace {

const COLORREF kWhite = RGB(255, 255, 255);

class SkinControlTest : public SkinWindowTest {
  protected:
    void SetUp() override {
        SkinWindowTest::SetUp();
        StatusTextColor = kWhite;
    }
    void TearDown() override {
        StatusTextColor = 0;
        SkinWindowTest::TearDown();
    }
    RecordingControl* WithStatus(const char* text) {
        return NewControl<RecordingControl>(&host, 0, &log, text);
    }
    // The status line drawn onto a canvas as the current DC by `show`.
    void ShowOn(Canvas* canvas, const std::function<void()>& show) {
        host.currentDc = canvas->Dc();
        show();
        host.currentDc = nullptr;
    }
    // Pixels of the status line that differ from the background with `text`
    // (none when null) drawn white at its corner.
    int StatusMismatches(const Canvas& shown, const char* text) {
        Canvas expected(width, height);
        const RECT& rect = host.statusRect;
        host.background->TileFill(expected.Dc(), rect);
        PrepareSkinDc(expected.Dc());
        SetTextColor(expected.Dc(), kWhite);
        if (text) DrawTextAt(expected.Dc(), rect.left, rect.top, text);
        return shown.Mismatches([&](int x, int y) { return expected.Pixel(x, y); }, &rect);
    }
};

TEST_F(SkinControlTest, StatusStatesShowTheirPartOfTheText) {
    struct Case {
        const char* text;
        int state;
        const char* shown;
    } cases[] = {
        {"Hello", 1, "Hello"},       {"Hello@World", 1, "Hello"},
        {"Hello@World", 2, "World"}, {"Hello@World@Again", 2, "World@Again"},
        {"Hello", 2, nullptr},       {"@After", 1, nullptr},
        {"@After", 2, "After"},      {"Hello", 3, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.text << " " << c.state);
        Canvas shown(width, height);
        ShowOn(&shown, [&] { WithStatus(c.text)->ShowStatus(c.state); });
        EXPECT_EQ(0, StatusMismatches(shown, c.shown));
        EXPECT_EQ(c.shown != nullptr, StatusMismatches(shown, nullptr) > 0) << "the text shows";
    }
}

TEST_F(SkinControlTest, StatusIsDrawnOnlyWhenTheStateChanges) {
    RecordingControl* control = WithStatus("Hello");
    RecordingControl* silent = WithStatus(nullptr);
    for (int state : {1, 1, 0, 0}) {
        Canvas shown(width, height);
        bool change = control->statusState != state;
        ShowOn(&shown, [&] {
            control->ShowStatus(state);
            silent->ShowStatus(state);
        });
        EXPECT_EQ(state, control->statusState);
        EXPECT_EQ(0, silent->statusState);
        EXPECT_EQ(0, change ? StatusMismatches(shown, state ? "Hello" : nullptr)
                            : shown.Mismatches(Solid(kUntouched)));
    }
}

// The pointer goes from the second control straight onto the first: one
// move is offered in registration order, so the second one's leaving comes
// last and must not wipe the text of the first.
TEST_F(SkinControlTest, LeavingControlKeepsTheTextOfTheOneEntered) {
    RecordingControl* first = WithStatus("First");
    RecordingControl* second = WithStatus("Second");
    Canvas shown(width, height);
    ShowOn(&shown, [&] {
        second->ShowStatus(1);
        first->ShowStatus(1);
        second->ShowStatus(0);
    });
    EXPECT_EQ(0, second->statusState);
    EXPECT_EQ(0, StatusMismatches(shown, "First"));
    ShowOn(&shown, [&] { first->ShowStatus(0); });
    EXPECT_EQ(0, StatusMismatches(shown, nullptr));
}

TEST_F(SkinControlTest, HidingErasesOnceUntilTheNextShow) {
    Canvas shown(width, height);
    RecordingControl* control = AddRecorder(1, {4, 4, 14, 14});
    ShowOn(&shown, [&] {
        control->Show(0);
        control->Show(0);
    });
    EXPECT_EQ(1u, Tags(log, "paint").size());
    EXPECT_FALSE(control->visible || control->active);
    EXPECT_EQ(Background(4, 4), shown.Pixel(4, 4));
    ShowOn(&shown, [&] {
        control->Show(1);
        control->Show(1);
    });
    EXPECT_EQ(3u, Tags(log, "paint").size());
    EXPECT_TRUE(control->visible && control->active);
    EXPECT_EQ(control->colour, shown.Pixel(4, 4));
    // Direct writes leave `erased` alone: only Show(1) clears it.
    ShowOn(&shown, [&] {
        control->visible = 0;
        control->Redraw();
        control->visible = 1;
        control->Redraw();
    });
    EXPECT_EQ(4u, Tags(log, "paint").size());
}

TEST_F(SkinControlTest, RedrawOutsideACycleTakesAWindowDc) {
    Flood(kBlue);
    RecordingControl* control = AddRecorder(1, {4, 4, 14, 14});
    control->Redraw();
    EXPECT_EQ(0, Screen().Mismatches([&](int x, int y) {
        return Inside(control->area, x, y) ? control->colour : kBlue;
    }));
    // Without a window there is nothing to draw on (not the screen).
    ControlHost unattached{};
    RecordingControl loose(&unattached, 99, &log);
    loose.Redraw();
    EXPECT_EQ(1u, Tags(log, "paint").size());
}

// A text that does not fit is refused, but a strip selector's caption is
// cut to fit; a button's text needs a placement.
TEST_F(SkinControlTest, TextsThatDoNotFitAreRefusedButACaptionIsCut) {
    std::string tooLong(80, 'x');
    RECT place = {0, 0, 0, 0};
    StripSelector* strip = Make<StripSelector>(&place, IDB_TEST_STRIP, 0x80148000u, tooLong.c_str(),
                                               0, -3, tooLong.c_str(), 1, 0, tooLong.c_str());
    EXPECT_EQ(tooLong.substr(0, 63), strip->caption);
    EXPECT_STREQ("", strip->name);
    EXPECT_STREQ("", strip->statusText);
    EXPECT_STREQ("", Make<LinkLabel>(&place, tooLong.c_str(), 1, nullptr)->text);
    EXPECT_STREQ("", Make<BitmapButton>(&place, 0, 0, 1, nullptr, tooLong.c_str(), &place)->text);
    EXPECT_STREQ("", Make<BitmapButton>(&place, 0, 0, 1, nullptr, "Go", nullptr)->text);
}

TEST(SkinControlHitTest, IncludesAllFourEdges) {
    struct Case {
        int left, top, right, bottom, x, y, hit;
    } cases[] = {
        {10, 20, 30, 40, 10, 20, 1},
        {10, 20, 30, 40, 30, 40, 1},
        {10, 20, 30, 40, 31, 40, 0},
        {10, 20, 30, 40, 30, 41, 0},
        {10, 20, 30, 40, 9, 20, 0},
        {10, 20, 30, 40, 10, 19, 0},
        // The coordinates are unsigned 16-bit values.
        {-5, -5, 10, 10, 0xFFFF, 0, 0},
        {0, 0, 70000, 10, 0xFFFF, 0, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.hit,
                  SkinControl::HitTest(c.left, c.top, c.right, c.bottom, MAKELPARAM(c.x, c.y)))
            << c.x << "," << c.y;
}

TEST(MakeRect, SignExtendsTheLow16Bits) {
    struct Case {
        int x, y, width, height;
        RECT expected;
    } cases[] = {
        {0x1FFFF, 5, 10, 20, {-1, 5, 9, 25}},
        {0x7FFF, static_cast<int>(0xFFFF8000), 0x10001, -1, {32767, -32768, 32768, -32769}},
    };
    for (const Case& c : cases) {
        RECT rect;
        EXPECT_EQ(&rect, MakeRect(&rect, c.x, c.y, c.width, c.height));
        EXPECT_TRUE(EqualRect(&c.expected, &rect)) << c.x;
    }
}

}  // namespace
