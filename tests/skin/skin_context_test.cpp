#include <string.h>
#include <memory>

#include "skin_test_support.h"

namespace {

class SkinContextTest : public SkinTest {
  protected:
    void SetUp() override {
        SkinTest::SetUp();
        skin.reset(new SkinContext(&host, TestInstance()));
    }
    void TearDown() override {
        skin.reset();
        SkinTest::TearDown();
    }

    void Attach() { skin->Attach(window.Handle(), IDB_TEST_PATTERN, IDC_TEST_CURSOR, nullptr); }
    RecordingControl* Add(int tag, RECT area = {0, 0, 0, 0}) {
        RecordingControl* control = NewControl<RecordingControl>(&host, tag, &log);
        control->area = area;
        return control;
    }
    // What the window shows where no control is: the test pattern tiled.
    static COLORREF Background(int x, int y) {
        return PatternColour(x % 6, y % 4, kPatternTag, false);
    }
    std::vector<int> Tags(const std::string& what) const {
        std::vector<int> tags;
        for (const ControlEvent& event : log)
            if (event.what == what) tags.push_back(event.control);
        return tags;
    }

    std::vector<ControlEvent> log;
    ControlHost host{};
    TestWindow window{60, 40};
    std::unique_ptr<SkinContext> skin;
};

TEST_F(SkinContextTest, AttachMakesFontsCursorBackBufferAndBackground) {
    TestWindow dialog(500, 292);
    RECT status = {20, 273, 355, 293};
    skin->Attach(dialog.Handle(), IDB_TEST_PATTERN, IDC_TEST_CURSOR, &status);

    EXPECT_EQ(dialog.Handle(), host.window);
    EXPECT_TRUE(EqualRect(&status, &host.statusRect));
    LOGFONTA font = {};
    ASSERT_TRUE(GetObjectA(NormalFont, sizeof font, &font));
    EXPECT_STREQ("MS Sans Serif", font.lfFaceName);
    EXPECT_EQ(13, font.lfHeight);
    EXPECT_EQ(0, font.lfUnderline);
    ASSERT_TRUE(GetObjectA(UnderlineFont, sizeof font, &font));
    EXPECT_EQ(1, font.lfUnderline);
    EXPECT_EQ(LoadCursorA(TestInstance(), MAKEINTRESOURCEA(IDC_TEST_CURSOR)), HandCursor);
    ASSERT_NE(nullptr, HandCursor);

    RECT whole = {0, 0, 500, 292};
    EXPECT_TRUE(EqualRect(&whole, &skin->windowRect));
    BITMAP buffer = {};
    ASSERT_TRUE(GetObjectA(skin->backBuffer, sizeof buffer, &buffer));
    EXPECT_EQ(500, buffer.bmWidth);
    EXPECT_EQ(292, buffer.bmHeight);
    EXPECT_EQ(skin->backBuffer, GetCurrentObject(host.memoryDc, OBJ_BITMAP));
    EXPECT_EQ(NormalFont, GetCurrentObject(host.memoryDc, OBJ_FONT));
    EXPECT_EQ(TRANSPARENT, GetBkMode(host.memoryDc));
    ASSERT_NE(nullptr, host.background);
    EXPECT_EQ(6, host.background->width);
    EXPECT_GE(SlotOf(IDB_TEST_PATTERN), 0);

    // Another context reuses the process-wide fonts and cursor and shares the
    // background bitmap.
    HFONT normal = NormalFont, underline = UnderlineFont;
    HCURSOR hand = HandCursor;
    ControlHost otherHost{};
    SkinContext other(&otherHost, TestInstance());
    other.Attach(window.Handle(), IDB_TEST_PATTERN, IDC_TEST_CURSOR, nullptr);
    EXPECT_EQ(normal, NormalFont);
    EXPECT_EQ(underline, UnderlineFont);
    EXPECT_EQ(hand, HandCursor);
    EXPECT_TRUE(IsRectEmpty(&otherHost.statusRect));
    EXPECT_EQ(0, otherHost.background->created);
    other.Destroy();

    // Attaching again replaces the back buffer rather than leaking it.
    HDC firstMemoryDc = host.memoryDc;
    HBITMAP firstBuffer = skin->backBuffer;
    skin->Attach(dialog.Handle(), IDB_TEST_PATTERN, IDC_TEST_CURSOR, &status);
    // (A freed handle may come back as the new one.)
    EXPECT_TRUE(GetObjectType(firstBuffer) == 0 || firstBuffer == skin->backBuffer);
    EXPECT_TRUE(GetObjectType(firstMemoryDc) == 0 || firstMemoryDc == host.memoryDc);
    EXPECT_EQ(NormalFont, normal);
    EXPECT_EQ(1, BitmapCache.refCounts[SlotOf(IDB_TEST_PATTERN)]);
}

TEST_F(SkinContextTest, PaintCycleTilesTheBackgroundAndPaintsVisibleControls) {
    Attach();
    RecordingControl* shown = Add(1, {2, 2, 10, 10});
    RecordingControl* hidden = Add(2, {20, 2, 28, 10});
    RecordingControl* inactive = Add(3, {40, 2, 48, 10});
    hidden->visible = 0;
    inactive->active = 0;
    inactive->colour = RGB(0, 160, 0);
    window.Flood(RGB(0, 0, 255));
    InvalidateRect(window.Handle(), nullptr, FALSE);

    HDC dc = skin->BeginSkinPaint();
    ASSERT_NE(nullptr, dc);
    EXPECT_EQ(dc, host.currentDc);
    skin->PaintAll();
    skin->EndSkinPaint();
    EXPECT_EQ(nullptr, host.currentDc);

    EXPECT_EQ((std::vector<int>{1, 3}), Tags("paint"));
    for (const ControlEvent& event : log) EXPECT_EQ(dc, event.dc);
    Canvas screen(60, 40);
    window.Capture(&screen);
    EXPECT_EQ(0, Mismatches(screen, [&](int x, int y) {
                  if (Inside(shown->area, x, y)) return shown->colour;
                  if (Inside(inactive->area, x, y)) return inactive->colour;
                  return Background(x, y);
              }));
}

TEST_F(SkinContextTest, BackgroundStopsAtTheUpdateRectangleWhileControlsPaintWhole) {
    Attach();
    RecordingControl* outside = Add(1, {30, 5, 40, 15});
    window.Flood(RGB(0, 0, 255));
    RECT update = {10, 10, 20, 20};
    InvalidateRect(window.Handle(), &update, FALSE);

    skin->BeginSkinPaint();
    skin->PaintAll();
    skin->EndSkinPaint();

    Canvas screen(60, 40);
    window.Capture(&screen);
    EXPECT_EQ(0, Mismatches(screen, [&](int x, int y) {
                  if (Inside(update, x, y)) return Background(x, y);
                  if (Inside(outside->area, x, y)) return outside->colour;
                  return RGB(0, 0, 255);
              }));
}

TEST_F(SkinContextTest, PaintTextDrawsOnlyDuringACycle) {
    Attach();
    const COLORREF white = RGB(255, 255, 255);
    window.Flood(white);
    skin->PaintText(2, 2, "Hi");
    Canvas screen(60, 40);
    window.Capture(&screen);
    EXPECT_EQ(0, Mismatches(screen, [&](int, int) { return white; }));

    // Nothing invalid: the cycle tiles no background, only the text lands.
    skin->BeginSkinPaint();
    skin->PaintText(2, 2, "Hi");
    skin->EndSkinPaint();
    window.Capture(&screen);
    RECT textArea = {2, 2, 40, 30};
    int inked = 0, stray = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x) {
            if (screen.Pixel(x, y) == white) continue;
            if (Inside(textArea, x, y))
                ++inked;
            else
                ++stray;
        }
    EXPECT_GT(inked, 0);
    EXPECT_EQ(0, stray);
}

TEST_F(SkinContextTest, OnlyMouseMessagesAreDispatched) {
    EXPECT_EQ(0, skin->DispatchMouse(window.Handle(), WM_MOUSEMOVE, 0, 0)) << "no controls";
    Attach();
    Add(1);
    Add(2);
    for (UINT message : {0x1FFu, 0x20Au, static_cast<UINT>(WM_NCMOUSEMOVE), 0x100u})
        EXPECT_EQ(0, skin->DispatchMouse(window.Handle(), message, 0, 0)) << message;
    EXPECT_TRUE(log.empty());

    // The whole range, judged by the low 16 bits of the message.
    for (UINT message : {0x200u, 0x209u, 0x10201u}) {
        log.clear();
        EXPECT_EQ(0, skin->DispatchMouse(window.Handle(), message, 0, 0)) << message;
        EXPECT_EQ((std::vector<int>{1, 2}), Tags("mouse")) << message;
        for (const ControlEvent& event : log) {
            EXPECT_EQ(message, event.message);
            EXPECT_EQ(static_cast<DWORD>(OBJ_DC), GetObjectType(event.dc));
        }
        EXPECT_EQ(nullptr, host.currentDc);
    }
}

TEST_F(SkinContextTest, FirstConsumingControlEndsTheDispatch) {
    Attach();
    Add(1);
    Add(2)->active = 0;
    Add(3)->consume = 1;
    Add(4);
    EXPECT_EQ(1, skin->DispatchMouse(window.Handle(), WM_LBUTTONDOWN, 0, 0));
    EXPECT_EQ((std::vector<int>{1, 3}), Tags("mouse"));
    EXPECT_EQ(nullptr, host.currentDc);
}

TEST_F(SkinContextTest, PaintCycleInsideADispatchGivesTheDispatchItsDcBack) {
    Attach();
    RecordingControl* opener = Add(1);
    HDC dispatchDc = nullptr, paintDc = nullptr, afterPaint = nullptr;
    opener->onMouse = [&] {
        dispatchDc = host.currentDc;
        paintDc = skin->BeginSkinPaint();
        skin->EndSkinPaint();
        afterPaint = host.currentDc;
    };
    skin->DispatchMouse(window.Handle(), WM_LBUTTONDOWN, 0, 0);
    EXPECT_NE(nullptr, dispatchDc);
    EXPECT_NE(nullptr, paintDc);
    EXPECT_EQ(dispatchDc, afterPaint);
    EXPECT_EQ(nullptr, host.currentDc);
}

TEST_F(SkinContextTest, DestroyDeletesEachControlOnceAndFreesTheSurfaces) {
    Attach();
    Add(1);
    RecordingControl* second = Add(2);
    Add(3);
    // A control deleted directly leaves the table.
    delete second;
    ASSERT_EQ(2, host.controlCount);
    EXPECT_EQ(3, static_cast<RecordingControl*>(host.controls[1])->tag);

    HDC memoryDc = host.memoryDc;
    HBITMAP backBuffer = skin->backBuffer;
    skin->Destroy();
    EXPECT_EQ((std::vector<int>{2, 1, 3}), Tags("deleted"));
    EXPECT_EQ(0, host.controlCount);
    EXPECT_EQ(nullptr, host.background);
    EXPECT_EQ(-1, SlotOf(IDB_TEST_PATTERN));
    EXPECT_EQ(0u, GetObjectType(memoryDc));
    EXPECT_EQ(0u, GetObjectType(backBuffer));

    skin->Destroy();
    skin.reset();
    EXPECT_EQ(3u, Tags("deleted").size());
}

TEST_F(SkinContextTest, TheTableTakesNoMoreThan150Controls) {
    for (int i = 0; i < kMaxControls; ++i) ASSERT_NE(nullptr, Add(i)) << i;
    EXPECT_EQ(nullptr, NewControl<RecordingControl>(&host, 150, &log));
    EXPECT_EQ(kMaxControls, host.controlCount);
    {
        // Made directly, it stays its creator's.
        RecordingControl outsider(&host, 151, &log);
        EXPECT_EQ(kMaxControls, host.controlCount);
        EXPECT_NE(&outsider, host.controls[kMaxControls - 1]);
    }
    EXPECT_EQ(kMaxControls, host.controlCount);
    skin->Destroy();
    EXPECT_EQ(kMaxControls + 1, static_cast<int>(Tags("deleted").size()));
}

}  // namespace
