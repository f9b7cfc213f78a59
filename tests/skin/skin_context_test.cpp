#include "skin_test_support.h"

namespace {

using SkinContextTest = SkinWindowTest;

// A second context on the window, attached twice, its back buffer made each
// time: the back buffer spans the window and replaces the one before, the status rectangle is the
// one given (empty for none), and the fonts, cursor and background are shared.
TEST_F(SkinContextTest, AttachSizesTheBackBufferAndAgainReplacesWhatItMade) {
    ControlHost otherHost{};
    SkinContext other(&otherHost, TestInstance());
    HFONT normal = NormalFont.Get();
    HCURSOR hand = HandCursor.Get();
    ASSERT_TRUE(normal && UnderlineFont && hand);
    for (int attach = 0; attach < 2; ++attach) {
        HBITMAP previousBuffer = other.backBuffer.Get();
        HDC previousDc = otherHost.memoryDc;
        RECT status = {1, 2, 3, 4};
        other.Attach(window, IDB_TEST_PATTERN, IDC_TEST_CURSOR, attach ? nullptr : &status);
        other.CreateBackBuffer(window);
        EXPECT_EQ(attach, IsRectEmpty(&otherHost.statusRect));
        // (A freed handle may come back as the new one.)
        EXPECT_TRUE(!GetObjectType(previousBuffer) || previousBuffer == other.backBuffer.Get());
        EXPECT_TRUE(!GetObjectType(previousDc) || previousDc == otherHost.memoryDc);
        BITMAP buffer = {};
        ASSERT_TRUE(GetObjectA(other.backBuffer.Get(), sizeof buffer, &buffer));
        EXPECT_EQ(width, buffer.bmWidth);
        EXPECT_EQ(height, buffer.bmHeight);
        EXPECT_EQ(normal, NormalFont.Get());
        EXPECT_EQ(hand, HandCursor.Get());
        EXPECT_EQ(2, BitmapCache.refCounts[SlotOf(IDB_TEST_PATTERN)]);
    }
}

TEST_F(SkinContextTest, PaintCycleTilesTheUpdateRectangleAndPaintsEveryVisibleControl) {
    RecordingControl* outside = AddRecorder(1, {30, 5, 40, 15});
    AddRecorder(2, {20, 2, 28, 10})->visible = 0;
    RecordingControl* inactive = AddRecorder(3, {2, 2, 8, 8});
    inactive->active = 0;
    Flood(kBlue);
    RECT update = {10, 10, 20, 20};
    InvalidateRect(window, &update, FALSE);
    HDC dc = skin->BeginSkinPaint();
    ASSERT_NE(nullptr, dc);
    skin->PaintAll();
    skin->EndSkinPaint();
    EXPECT_EQ(nullptr, host.currentDc);
    EXPECT_EQ((std::vector<int>{1, 3}), Tags(log, "paint"));
    for (const ControlEvent& event : log) EXPECT_EQ(dc, event.dc);
    EXPECT_EQ(0, Screen().Mismatches([&](int x, int y) {
        if (Inside(update, x, y)) return Background(x, y);
        bool control = Inside(outside->area, x, y) || Inside(inactive->area, x, y);
        return control ? outside->colour : kBlue;
    }));

    Flood(kBlue);
    skin->BeginSkinPaint();
    skin->PaintText(2, 2, "Hi");
    skin->EndSkinPaint();
    EXPECT_GT(Screen().Mismatches(Solid(kBlue)), 0) << "the text lands on the window";
}

TEST_F(SkinContextTest, MouseMessagesGoToActiveControlsUntilOneConsumes) {
    EXPECT_EQ(0, Mouse(WM_MOUSEMOVE, 0, 0)) << "no controls";
    AddRecorder(1);
    AddRecorder(2)->active = 0;
    RecordingControl* consumer = AddRecorder(3);
    AddRecorder(4);
    struct Case {
        UINT message;
        int consume;
        std::vector<int> offered;
    } cases[] = {
        {0x1FF, 0, {}},
        {0x20A, 0, {}},  // the wheel
        {WM_NCMOUSEMOVE, 0, {}},
        {0x200, 0, {1, 3, 4}},
        {0x209, 0, {1, 3, 4}},
        {0x10201, 0, {1, 3, 4}},  // by the low 16 bits
        {WM_LBUTTONDOWN, 1, {1, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        log.clear();
        consumer->consume = c.consume;
        EXPECT_EQ(c.consume, Mouse(c.message, 0, 0));
        EXPECT_EQ(c.offered, Tags(log, "mouse"));
        for (const ControlEvent& event : log)
            EXPECT_EQ(static_cast<DWORD>(OBJ_DC), GetObjectType(event.dc));
        EXPECT_EQ(nullptr, host.currentDc);
    }
}

TEST_F(SkinContextTest, PaintCycleInsideADispatchGivesTheDispatchItsDcBack) {
    HDC dispatchDc = nullptr, paintDc = nullptr, afterPaint = nullptr;
    AddRecorder(1)->onMouse = [&] {
        dispatchDc = host.currentDc;
        paintDc = skin->BeginSkinPaint();
        skin->EndSkinPaint();
        afterPaint = host.currentDc;
    };
    Mouse(WM_LBUTTONDOWN, 0, 0);
    EXPECT_NE(nullptr, dispatchDc);
    EXPECT_NE(nullptr, paintDc);
    EXPECT_EQ(dispatchDc, afterPaint);
    EXPECT_EQ(nullptr, host.currentDc);
}

TEST_F(SkinContextTest, DestroyDeletesEachControlOnceAndFreesTheSurfaces) {
    AddRecorder(1);
    RecordingControl* second = AddRecorder(2);
    AddRecorder(3);
    delete second;  // leaves the table
    HDC memoryDc = host.memoryDc;
    HBITMAP backBuffer = skin->backBuffer.Get();
    skin->Destroy();
    skin->Destroy();
    skin.reset();
    EXPECT_EQ((std::vector<int>{2, 1, 3}), Tags(log, "deleted"));
    EXPECT_EQ(0, host.controlCount);
    EXPECT_EQ(nullptr, host.background);
    EXPECT_EQ(0u, GetObjectType(memoryDc));
    EXPECT_EQ(0u, GetObjectType(backBuffer));
}

TEST_F(SkinContextTest, TheTableTakesNoMoreThan150Controls) {
    for (int i = 0; i < kMaxControls; ++i) ASSERT_NE(nullptr, AddRecorder(i));
    EXPECT_EQ(nullptr, NewControl<RecordingControl>(&host, 150, &log));
    {
        RecordingControl outsider(&host, 151, &log);  // made directly: its creator's
        EXPECT_EQ(kMaxControls, host.controlCount);
    }
    skin->Destroy();
    EXPECT_EQ(kMaxControls + 1u, Tags(log, "deleted").size());
}

}  // namespace
