#include "skin/bitmap_button.h"
#include "res/resource_ids.h"
#include "skin/skin_draw.h"
#include "skin_test_support.h"

namespace {

class BitmapButtonTest : public SkinWindowTest {
  protected:
    // At (20, 10); the cancel face is 58 x 19.
    BitmapButton* Add(int normalId, int pressedId, int commandId, const char* text = nullptr,
                      const RECT* textPlace = nullptr, RECT place = {20, 10, 20, 10}) {
        return Make<BitmapButton>(&place, normalId, pressedId, commandId, "Hover", text, textPlace);
    }
    // Pixels above the status line that differ from `face` (none when null)
    // keyed over the background and moved by `shift` inside the button's
    // bounds, and from `outside` elsewhere.
    int FaceMismatches(const Canvas& canvas, const BitmapButton& button, const SkinBitmap* face,
                       int shift, const std::function<COLORREF(int, int)>& outside) {
        auto expected = [&](int x, int y) {
            if (!Inside(button.bounds, x, y)) return outside(x, y);
            int c = x - button.position.x - shift, j = y - button.position.y - shift;
            COLORREF pixel = face ? GetPixel(face->memoryDc, c, j) : CLR_INVALID;
            return pixel == CLR_INVALID || pixel == TransparentKey ? Background(x, y) : pixel;
        };
        return canvas.Mismatches(expected, &above);
    }

    RECT above = {0, 0, 120, 44};  // all but the status line
};

// A click; a press abandoned by a move outside; presses outside, on the
// left and on the top edge.
TEST_F(BitmapButtonTest, OnlyAReleaseAfterAPressInsideClicks) {
    enum Look { kNothing, kReleased, kPressed };
    struct Step {
        UINT message;
        int x, y, consumed;
        Look look;  // after the step, with the window flooded blue before it
        size_t notices;
    } steps[] = {
        {WM_LBUTTONDOWN, 40, 20, 0, kPressed, 0},  {WM_MOUSEMOVE, 45, 22, 0, kNothing, 0},
        {WM_LBUTTONUP, 45, 22, 1, kReleased, 1},   {WM_LBUTTONUP, 45, 22, 0, kNothing, 0},
        {WM_LBUTTONDOWN, 40, 20, 0, kPressed, 0},  {WM_MOUSEMOVE, 100, 35, 0, kReleased, 0},
        {WM_MOUSEMOVE, 40, 20, 0, kNothing, 0},    {WM_LBUTTONUP, 40, 20, 0, kNothing, 0},
        {WM_LBUTTONDOWN, 100, 35, 0, kNothing, 0}, {WM_LBUTTONUP, 40, 20, 0, kNothing, 0},
        {WM_LBUTTONDOWN, 20, 15, 0, kNothing, 0},  {WM_LBUTTONDOWN, 40, 10, 0, kNothing, 0},
        {WM_LBUTTONUP, 40, 20, 0, kNothing, 0},
    };
    BitmapButton* button = Add(IDB_CANCEL_FACE, IDB_CANCEL_FACE, 219);
    for (const Step& step : steps) {
        SCOPED_TRACE(testing::Message() << step.message << " at " << step.x << "," << step.y);
        Flood(kBlue);
        EXPECT_EQ(step.consumed, Mouse(step.message, step.x, step.y));
        EXPECT_EQ(step.notices, Notices().size());
        const SkinBitmap* face = step.look == kPressed ? button->pressedFace : button->normalFace;
        if (step.look == kNothing)
            EXPECT_EQ(0, Screen().Mismatches(Solid(kBlue), &above));
        else
            EXPECT_EQ(0,
                      FaceMismatches(Screen(), *button, face, step.look == kPressed, Solid(kBlue)));
    }
}

// One bitmap for both faces: the pressed one lies a pixel right and down,
// so the bounds take in one more column and row.
TEST_F(BitmapButtonTest, TheHitTestExcludesEveryEdgeOfTheGrownBounds) {
    BitmapButton* button = Add(IDB_CANCEL_FACE, IDB_CANCEL_FACE, 2);
    RECT grown = {20, 10, 20 + 58 + 1, 10 + 19 + 1};
    EXPECT_TRUE(EqualRect(&grown, &button->bounds));
    ASSERT_EQ(TransparentKey, GetPixel(button->normalFace->memoryDc, 0, 0)) << "keyed corners";
    struct Case {
        int x, y, hit;
    } cases[] = {{20, 15, 0}, {21, 15, 1}, {40, 10, 0}, {40, 11, 1},
                 {79, 15, 0}, {78, 15, 1}, {40, 30, 0}, {40, 29, 1}};
    for (const Case& c : cases) {
        Mouse(WM_MOUSEMOVE, c.x, c.y);
        EXPECT_EQ(c.hit, button->statusState) << c.x << "," << c.y;
    }
}

TEST_F(BitmapButtonTest, WithoutBothFacesNothingLooksPressed) {
    RECT place = {20, 10, 50, 18};
    BitmapButton* faceless = Add(0, IDB_CANCEL_FACE, 5, nullptr, nullptr, place);
    EXPECT_TRUE(EqualRect(&place, &faceless->bounds)) << "sized by its place";
    Add(IDB_INSTALL_FACE, 0, 6, nullptr, nullptr, {56, 20, 56, 20});
    Flood(kBlue);
    faceless->Redraw();
    for (POINT at : {POINT{30, 12}, POINT{70, 30}}) {
        Mouse(WM_LBUTTONDOWN, at.x, at.y);
        EXPECT_EQ(1, Mouse(WM_LBUTTONUP, at.x, at.y));
    }
    EXPECT_EQ(0, Screen().Mismatches(Solid(kBlue), &above));
    EXPECT_EQ((std::vector<WPARAM>{5, 6}), Notices());
}

TEST_F(BitmapButtonTest, NewFacesGiveBackTheOldOnes) {
    BitmapButton* button = Add(IDB_CANCEL_FACE, IDB_CANCEL_FACE, 2);
    Mouse(WM_LBUTTONDOWN, 40, 20);
    RECT place = {30, 5, 30, 5};
    button->SetFaces(&place, IDB_INSTALL_FACE, IDB_CLOSE_FACE, 9);
    EXPECT_EQ(-1, SlotOf(IDB_CANCEL_FACE));
    EXPECT_EQ(1, BitmapCache.refCounts[SlotOf(IDB_INSTALL_FACE)]);
    EXPECT_EQ(1, BitmapCache.refCounts[SlotOf(IDB_CLOSE_FACE)]);
    RECT faceSize = {30, 5, 30 + 60, 5 + 19};
    EXPECT_TRUE(EqualRect(&faceSize, &button->bounds));
    EXPECT_EQ(0, Mouse(WM_LBUTTONUP, 40, 20)) << "the press starts again";
}

TEST_F(BitmapButtonTest, TheTextIsComposedBesideTheFaceAndHidingRestoresTheBackground) {
    RECT textPlace = {64, 2, 30, 14};
    BitmapButton* button = Add(IDB_CANCEL_FACE, IDB_CANCEL_FACE, 2, "Go", &textPlace);
    RECT textRect = {84, 12, 114, 26};
    ASSERT_TRUE(EqualRect(&textRect, &button->textRect));
    Flood(kBlue);
    button->Redraw();
    Canvas text(width, height);
    host.background->TileFill(text.Dc(), textRect);
    PrepareSkinDc(text.Dc());
    DrawTextAt(text.Dc(), 84, 12, "Go");
    EXPECT_GT(text.Mismatches(Background, &textRect), 0) << "the text must show";
    EXPECT_EQ(0, FaceMismatches(Screen(), *button, button->normalFace, 0, [&](int x, int y) {
                  return Inside(textRect, x, y) ? text.Pixel(x, y) : kBlue;
              }));

    Flood(kBlue);
    button->Show(0);
    EXPECT_EQ(0, Screen().Mismatches([&](int x, int y) {
        bool covered = Inside(button->bounds, x, y) || Inside(textRect, x, y);
        return covered ? Background(x, y) : kBlue;
    }));
}

TEST_F(BitmapButtonTest, DrawDirectPutsTheFaceStraightOntoTheWindow) {
    BitmapButton* picture = Add(IDB_CLOSE_FACE, IDB_CLOSE_FACE, 1);
    picture->drawDirect = 1;
    PaintCycle();
    EXPECT_EQ(0, FaceMismatches(Screen(), *picture, picture->normalFace, 0, Background));
    // Outside a cycle it lands on whatever the window shows.
    Flood(kBlue);
    picture->Redraw();
    EXPECT_EQ(0, Screen().Mismatches([&](int x, int y) {
        COLORREF pixel = GetPixel(picture->normalFace->memoryDc, x - 20, y - 10);
        return pixel == CLR_INVALID || pixel == TransparentKey ? kBlue : pixel;
    }));
}

}  // namespace
