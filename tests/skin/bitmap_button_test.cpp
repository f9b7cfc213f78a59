#include <string>

#include "res/resource_ids.h"
#include "skin/bitmap_button.h"
#include "skin/skin_draw.h"
#include "skin_test_support.h"

namespace {

const COLORREF kBlue = RGB(0, 0, 255);

class BitmapButtonTest : public SkinWindowTest {
  protected:
    // Made as the window's owner makes its buttons: with a window DC held as
    // the current DC.
    BitmapButton* Make(int normalId, int pressedId, int commandId, const char* text = nullptr,
                       const RECT* textPlace = nullptr, RECT place = {20, 10, 20, 10}) {
        WindowDc dc(window.Handle());
        host.currentDc = dc.Get();
        BitmapButton* button = NewControl<BitmapButton>(&host, &place, normalId, pressedId,
                                                        commandId, statusText, text, textPlace);
        host.currentDc = nullptr;
        return button;
    }
    // Pixels of `canvas`, above the status rectangle, that differ from `face`
    // keyed over the background at the button's position moved by `shift`
    // inside its bounds, and from `outside` elsewhere.
    int FaceMismatches(const Canvas& canvas, const BitmapButton& button, const SkinBitmap* face,
                       int shift, COLORREF (*outside)(int, int)) {
        return Mismatches(canvas, [&](int x, int y) {
            if (y >= host.statusRect.top) return canvas.Pixel(x, y);
            if (!Inside(button.bounds, x, y)) return outside(x, y);
            int c = x - button.position.x - shift, j = y - button.position.y - shift;
            if (face && c >= 0 && j >= 0 && c < face->width && j < face->height) {
                COLORREF pixel = GetPixel(face->memoryDc, c, j);
                if (pixel != TransparentKey) return pixel;
            }
            return Background(x, y);
        });
    }
    int WindowMismatches(const BitmapButton& button, const SkinBitmap* face, int shift) {
        Canvas screen(120, 60);
        Capture(&screen);
        return FaceMismatches(screen, button, face, shift, [](int, int) { return kBlue; });
    }
    bool WindowUntouched() {
        Canvas screen(120, 60);
        Capture(&screen);
        return Mismatches(screen, [&](int x, int y) {
                   return y < host.statusRect.top ? kBlue : screen.Pixel(x, y);
               }) == 0;
    }

    const char* statusText = nullptr;
    std::vector<ControlEvent> log;
};

TEST_F(BitmapButtonTest, OneBitmapForBothFacesPressesOnePixelRightAndDown) {
    BitmapButton* button = Make(IDB_CANCEL_FACE, IDB_CANCEL_FACE, 2);
    ASSERT_TRUE(button && button->normalFace && button->pressedFace);
    EXPECT_EQ(1, button->pressOffset);
    RECT grown = {20, 10, 20 + 58 + 1, 10 + 19 + 1};
    EXPECT_TRUE(EqualRect(&grown, &button->bounds));
    EXPECT_EQ(2, BitmapCache.refCounts[SlotOf(IDB_CANCEL_FACE)]);
    // The rounded corners are white: the background must show there.
    ASSERT_EQ(TransparentKey, GetPixel(button->normalFace->memoryDc, 0, 0));

    // Pressed, the top row and left column of the bounds are uncovered.
    window.Flood(kBlue);
    EXPECT_EQ(0, Mouse(WM_LBUTTONDOWN, 40, 20));
    EXPECT_EQ(0, WindowMismatches(*button, button->pressedFace, 1));
    EXPECT_EQ(1, Mouse(WM_LBUTTONUP, 40, 20));
    EXPECT_EQ(0, WindowMismatches(*button, button->normalFace, 0));
}

TEST_F(BitmapButtonTest, AClickPostsOnceOnTheReleaseWhichIsConsumed) {
    BitmapButton* button = Make(IDB_INSTALL_FACE, IDB_INSTALL_FACE, 219);
    NewControl<RecordingControl>(&host, 1, &log);
    EXPECT_EQ(0, Mouse(WM_LBUTTONDOWN, 40, 20));
    EXPECT_EQ(BitmapButton::kPressed, button->pressState);
    EXPECT_EQ(0, Mouse(WM_MOUSEMOVE, 45, 22));
    EXPECT_TRUE(Notifications().empty());
    EXPECT_EQ(1, Mouse(WM_LBUTTONUP, 45, 22));
    EXPECT_EQ(std::vector<WPARAM>{219}, Notifications());
    EXPECT_EQ(BitmapButton::kClicked, button->pressState);
    EXPECT_EQ(2, CountEvents(log, "mouse")) << "the press and the move go on, the release not";

    // A release without a press is no click.
    EXPECT_EQ(0, Mouse(WM_LBUTTONUP, 45, 22));
    EXPECT_EQ(BitmapButton::kIdle, button->pressState);
    EXPECT_TRUE(Notifications().empty());
    // A press after a click starts afresh.
    Mouse(WM_LBUTTONDOWN, 40, 20);
    EXPECT_EQ(1, Mouse(WM_LBUTTONUP, 40, 20));
    EXPECT_EQ(std::vector<WPARAM>{219}, Notifications());
}

TEST_F(BitmapButtonTest, AMoveOutsideAbandonsThePress) {
    statusText = "Hover";
    BitmapButton* button = Make(IDB_CANCEL_FACE, IDB_CANCEL_FACE, 2);
    Mouse(WM_MOUSEMOVE, 40, 20);
    EXPECT_EQ(1, button->statusState);
    Mouse(WM_LBUTTONDOWN, 40, 20);
    window.Flood(kBlue);
    EXPECT_EQ(0, Mouse(WM_MOUSEMOVE, 100, 35));
    EXPECT_EQ(BitmapButton::kIdle, button->pressState);
    EXPECT_EQ(0, button->statusState);
    EXPECT_EQ(0, WindowMismatches(*button, button->normalFace, 0)) << "released face redrawn";

    // Coming back with the button held does not press it again.
    window.Flood(kBlue);
    Mouse(WM_MOUSEMOVE, 40, 20);
    EXPECT_EQ(0, Mouse(WM_LBUTTONUP, 40, 20));
    EXPECT_TRUE(Notifications().empty());
    EXPECT_TRUE(WindowUntouched());
}

TEST_F(BitmapButtonTest, APressOutsideReleasedInsideIsNoClick) {
    Make(IDB_CANCEL_FACE, IDB_CANCEL_FACE, 2);
    window.Flood(kBlue);
    EXPECT_EQ(0, Mouse(WM_LBUTTONDOWN, 100, 35));
    Mouse(WM_MOUSEMOVE, 40, 20);
    EXPECT_EQ(0, Mouse(WM_LBUTTONUP, 40, 20));
    EXPECT_TRUE(Notifications().empty());
    EXPECT_TRUE(WindowUntouched());
}

TEST_F(BitmapButtonTest, CommandZeroCompletesTheClickWithoutPosting) {
    BitmapButton* button = Make(IDB_CANCEL_FACE, IDB_CANCEL_FACE, 0);
    Mouse(WM_LBUTTONDOWN, 40, 20);
    window.Flood(kBlue);
    EXPECT_EQ(1, Mouse(WM_LBUTTONUP, 40, 20));
    EXPECT_EQ(BitmapButton::kClicked, button->pressState);
    EXPECT_TRUE(Notifications().empty());
    EXPECT_EQ(0, WindowMismatches(*button, button->normalFace, 0));
}

TEST_F(BitmapButtonTest, TheHitTestExcludesEveryEdge) {
    BitmapButton* button = Make(IDB_CANCEL_FACE, IDB_CANCEL_FACE, 2);  // 59 x 20 at (20, 10)
    auto hit = [&](int x, int y) { return button->HitTestStrict(MAKELPARAM(x, y), 20, 10); };
    EXPECT_EQ(0, hit(20, 15));
    EXPECT_EQ(1, hit(21, 15));
    EXPECT_EQ(0, hit(40, 10));
    EXPECT_EQ(1, hit(40, 11));
    EXPECT_EQ(0, hit(79, 15));
    EXPECT_EQ(1, hit(78, 15));
    EXPECT_EQ(0, hit(40, 30));
    EXPECT_EQ(1, hit(40, 29));
    Mouse(WM_LBUTTONDOWN, 20, 15);
    Mouse(WM_LBUTTONDOWN, 40, 10);
    EXPECT_EQ(BitmapButton::kIdle, button->pressState);
}

TEST_F(BitmapButtonTest, WithoutBothFacesNothingLooksPressed) {
    RECT place = {20, 10, 50, 18};
    BitmapButton* faceless = Make(0, IDB_CANCEL_FACE, 5, nullptr, nullptr, place);
    EXPECT_EQ(nullptr, faceless->normalFace);
    EXPECT_EQ(0, faceless->pressOffset);
    EXPECT_TRUE(EqualRect(&place, &faceless->bounds));
    BitmapButton* plain = Make(IDB_INSTALL_FACE, 0, 6, nullptr, nullptr, {56, 20, 56, 20});
    RECT faceSize = {56, 20, 56 + 60, 20 + 19};
    EXPECT_TRUE(EqualRect(&faceSize, &plain->bounds));

    window.Flood(kBlue);
    faceless->Redraw();
    Mouse(WM_LBUTTONDOWN, 30, 12);
    EXPECT_EQ(1, Mouse(WM_LBUTTONUP, 30, 12));
    Mouse(WM_LBUTTONDOWN, 70, 30);
    EXPECT_EQ(BitmapButton::kPressed, plain->pressState);
    EXPECT_TRUE(WindowUntouched());
    EXPECT_EQ(1, Mouse(WM_LBUTTONUP, 70, 30));
    EXPECT_EQ((std::vector<WPARAM>{5, 6}), Notifications());
}

TEST_F(BitmapButtonTest, NewFacesGiveBackTheOldOnes) {
    BitmapButton* button = Make(IDB_CANCEL_FACE, IDB_CANCEL_FACE, 2);
    button->pressState = BitmapButton::kClicked;
    RECT place = {30, 5, 30, 5};
    button->SetFaces(&place, IDB_INSTALL_FACE, IDB_CLOSE_FACE, 9);
    EXPECT_EQ(-1, SlotOf(IDB_CANCEL_FACE));
    EXPECT_EQ(1, BitmapCache.refCounts[SlotOf(IDB_INSTALL_FACE)]);
    EXPECT_EQ(1, BitmapCache.refCounts[SlotOf(IDB_CLOSE_FACE)]);
    RECT faceSize = {30, 5, 30 + 60, 5 + 19};
    EXPECT_TRUE(EqualRect(&faceSize, &button->bounds));
    EXPECT_EQ(0, button->pressOffset);
    EXPECT_EQ(BitmapButton::kIdle, button->pressState);
    EXPECT_EQ(9, button->commandId);
}

TEST_F(BitmapButtonTest, TheTextIsComposedBesideTheFaceAndHidingRestoresTheBackground) {
    RECT textPlace = {64, 2, 30, 14};
    BitmapButton* button = Make(IDB_CANCEL_FACE, IDB_CANCEL_FACE, 2, "Go", &textPlace);
    RECT textRect = {84, 12, 114, 26};
    ASSERT_TRUE(EqualRect(&textRect, &button->textRect));

    window.Flood(kBlue);
    button->Redraw();
    Canvas expected(120, 60, kBlue);
    host.background->TileFill(expected.Dc(), button->bounds);
    host.background->TileFill(expected.Dc(), textRect);
    button->normalFace->DrawCentreOut(expected.Dc(), 20, 10, 0, 0);
    SelectObject(expected.Dc(), NormalFont);
    SetBkMode(expected.Dc(), TRANSPARENT);
    DrawTextAt(expected.Dc(), 84, 12, "Go");
    Canvas screen(120, 60);
    Capture(&screen);
    EXPECT_EQ(0, Mismatches(screen, [&](int x, int y) { return expected.Pixel(x, y); }));
    int ink = 0;
    for (int y = textRect.top; y < textRect.bottom; ++y)
        for (int x = textRect.left; x < textRect.right; ++x)
            ink += expected.Pixel(x, y) != Background(x, y);
    EXPECT_GT(ink, 0);

    window.Flood(kBlue);
    button->Show(0);
    Capture(&screen);
    EXPECT_EQ(0, Mismatches(screen, [&](int x, int y) {
                  bool covered = Inside(button->bounds, x, y) || Inside(textRect, x, y);
                  return covered ? Background(x, y) : kBlue;
              }));
}

TEST_F(BitmapButtonTest, ATextNeedsAPlacementAndMustFit) {
    RECT textPlace = {0, 0, 10, 10};
    BitmapButton* unplaced = Make(IDB_CANCEL_FACE, IDB_CANCEL_FACE, 2, "Go");
    EXPECT_STREQ("", unplaced->text);
    EXPECT_TRUE(IsRectEmpty(&unplaced->textRect));
    std::string longest(59, 'x');
    EXPECT_EQ(longest, Make(0, 0, 2, longest.c_str(), &textPlace)->text);
    EXPECT_STREQ("", Make(0, 0, 2, std::string(60, 'x').c_str(), &textPlace)->text);
}

TEST_F(BitmapButtonTest, DrawDirectPutsTheFaceStraightOntoTheWindow) {
    BitmapButton* picture = Make(IDB_CLOSE_FACE, IDB_CLOSE_FACE, 1);
    picture->drawDirect = 1;
    picture->active = 0;
    PatBlt(host.memoryDc, 0, 0, 120, 60, BLACKNESS);

    // In the paint cycle the face lands on the freshly tiled background.
    window.Flood(kBlue);
    InvalidateRect(window.Handle(), nullptr, FALSE);
    skin->BeginSkinPaint();
    skin->PaintAll();
    skin->EndSkinPaint();
    Canvas screen(120, 60);
    Capture(&screen);
    EXPECT_EQ(0, FaceMismatches(screen, *picture, picture->normalFace, 0, Background));
    // The back buffer holds the background under the picture, never the face.
    Canvas buffer(120, 60);
    buffer.CopyFrom(host.memoryDc, 0, 0);
    EXPECT_EQ(0,
              FaceMismatches(buffer, *picture, nullptr, 0, [](int, int) { return RGB(0, 0, 0); }));

    // Outside a cycle it lands on whatever the window shows.
    window.Flood(kBlue);
    picture->Redraw();
    Capture(&screen);
    EXPECT_EQ(0, Mismatches(screen, [&](int x, int y) {
                  int c = x - 20, j = y - 10;
                  if (c < 0 || j < 0 || c >= 60 || j >= 19) return kBlue;
                  COLORREF pixel = GetPixel(picture->normalFace->memoryDc, c, j);
                  return pixel == TransparentKey ? kBlue : pixel;
              }));
}

}  // namespace
