#include <atomic>

#include "skin/cell_picker.h"
#include "skin/skin_draw.h"
#include "skin_test_support.h"
#include "support/test_support.h"

namespace {

// The grid strip: two rows of four 26 x 26 cells, cell v's pixel (k, j) at
// LargePatternColour(26 (v mod 4) + k, 26 (v / 4) + j).
const BitmapId kGridId = BlankId(104, 52);

COLORREF GridCell(int v, int k, int j) {
    return LargePatternColour(26 * (v % 4) + k, 26 * (v / 4) + j);
}

// The visible dialogs of this process: the open popups.
std::vector<HWND> OpenPopups() {
    std::vector<HWND> popups;
    for (HWND popup = nullptr; (popup = FindWindowExA(nullptr, popup, "#32770", nullptr));) {
        DWORD process = 0;
        GetWindowThreadProcessId(popup, &process);
        if (process == GetCurrentProcessId() && IsWindowVisible(popup)) popups.push_back(popup);
    }
    return popups;
}

class CellPickerTest : public SkinWindowTest {
  protected:
    // The window's client origin is at (300, 300) on the screen.
    CellPickerTest() : SkinWindowTest(300, 200, 300, 300) {}

    StripSelector* AddPicker(int x, int y, int rangeArg, int flags = kStripPicker,
                             int commandId = 2000) {
        StripSelector* picker =
            AddStrip(x, y, kGridId, 0, rangeArg, flags, "", 0x80148000u, commandId);
        FillLargePattern(*picker->strip);
        return picker;
    }
    // A left press on the picker's cell, or `press` when given, with the
    // popup answered by `answer`; returns what the press returned.
    int Pick(StripSelector* picker, const ModalWatcher::Answer& answer,
             const std::function<int()>& press = nullptr) {
        // Read once the watcher has been joined: the popup may close before
        // the watcher has marked itself answered.
        bool answered = false;
        int consumed;
        {
            ModalWatcher watcher([&](HWND popup) {
                answered = true;
                answer(popup);
            });
            consumed =
                press ? press()
                      : Mouse(WM_LBUTTONDOWN, picker->cellRect.left + 1, picker->cellRect.top + 1);
        }
        EXPECT_TRUE(answered);
        return consumed;
    }
};

TEST_F(CellPickerTest, PopupIsSizedByTheRangeAndPlacedAboveOrBelowTheCell) {
    struct Case {
        int left;  // the window's on the screen
        int top, rangeArg, height;
        bool below;  // the popup's top on the cell's bottom edge
    } cases[] = {
        {300, 120, 3, 50, false},
        {300, 120, -4, 86, false},
        {300, 60, 4, 86, true},
        {300, 49, 3, 50, true},
        {300, 50, 3, 50, false},
        {-250, 120, 3, 50, false},  // at negative coordinates, not 16-bit wrapped ones
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.left << " " << c.top << " " << c.rangeArg);
        SetWindowPos(window, nullptr, c.left, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        StripSelector* picker = AddPicker(150, c.top, c.rangeArg);
        picker->value = 2;
        RECT shown = {};
        // Escape closes the popup with nothing picked.
        EXPECT_EQ(0, Pick(picker, [&](HWND popup) {
                      GetWindowRect(popup, &shown);
                      PressKey(popup, VK_ESCAPE);
                  }));
        int right = c.left + 150 - 1;
        int bottom = c.below ? 300 + c.top + 26 + c.height : 300 + c.top - 1;
        RECT expected = {right - 198, bottom - c.height, right, bottom};
        EXPECT_TRUE(EqualRect(&expected, &shown)) << shown.left << "," << shown.top;
        EXPECT_EQ(2, picker->value);
        EXPECT_EQ(nullptr, CellPicker.pickOwner);
        EXPECT_TRUE(Notices().empty());
        delete picker;
    }
}

TEST_F(CellPickerTest, PopupShowsEveryCellNumberedOnTheBackground) {
    StripSelector* picker = AddPicker(150, 120, 4);
    Canvas shown(198, 86);
    RECT client = {};
    EXPECT_EQ(0, Pick(picker, [&](HWND popup) {
                  GetClientRect(popup, &client);
                  // Painted, and any paint that has validated it already ended:
                  // a sent message is handled only after it.
                  UpdateWindow(popup);
                  SendMessageA(popup, WM_NULL, 0, 0);
                  WindowDc dc(popup);
                  shown.CopyFrom(dc.Get());
                  // A right press closes it with nothing picked.
                  PostMessageA(popup, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(100, 20));
              }));
    EXPECT_EQ(0, picker->value);
    EXPECT_TRUE(Notices().empty());

    ASSERT_GT(client.right, 180);
    ASSERT_GT(client.bottom, 72);
    Canvas expected(198, 86);
    PrepareSkinDc(expected.Dc());
    host.background->TileFill(expected.Dc(), RECT{0, 0, 198, 86});
    for (int v = 0; v <= 4; ++v) {
        int left = 44 * (v % 4) + 18, top = 36 * (v / 4) + 10;
        for (int j = 0; j < 26; ++j)
            for (int k = 0; k < 26; ++k) expected.Put(left + k, top + j, GridCell(v, k, j));
        char number[3] = {'0', static_cast<char>('1' + v), '\0'};
        DrawTextAt(expected.Dc(), left - 14, top + 2, number);
    }
    EXPECT_EQ(0, shown.Mismatches([&](int x, int y) { return expected.Pixel(x, y); }, &client));
}

TEST_F(CellPickerTest, ReleaseInThePopupPicksTheCellUnderIt) {
    struct Case {
        int flags, rangeArg;
        int x, y;
        int value;
    } cases[] = {
        {kStripPicker, 7, 60, 50, 5},
        {kStripPicker, -7, 60, 50, 5},  // an odd pick is no pressed phase
        {kStripPicker, 3, 60, 50, 3},   // lowered to the highest value
        {kStripPicker, 7, 190, 80, 7},  // beyond the grid
        {kStripPicker, 7, 52, 40, 0},   // left of and above the second slot
        {kStripPicker | kStripTransposed, 7, 150, 10, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x * 1000 + c.y);
        StripSelector* picker = AddPicker(150, 120, c.rangeArg, c.flags);
        picker->value = 1;
        Flood(kBlue);
        EXPECT_EQ(1, Pick(picker, [&](HWND popup) {
                      PostMessageA(popup, WM_LBUTTONUP, 0, MAKELPARAM(c.x, c.y));
                  }));
        EXPECT_EQ(c.value, picker->value);
        EXPECT_EQ(std::vector<WPARAM>{2000}, Notices());
        // Painted through the dispatch's DC: the cell only, no caption.
        bool swap = c.flags & kStripTransposed;
        EXPECT_EQ(0, Screen().Mismatches([&](int x, int y) {
            if (!Inside(picker->cellRect, x, y)) return kBlue;
            int k = x - 150, j = y - 120;
            return swap ? GridCell(c.value, j, k) : GridCell(c.value, k, j);
        }));
        // Leaving the cell keeps the pick.
        EXPECT_EQ(0, Mouse(WM_MOUSEMOVE, 5, 5));
        EXPECT_EQ(c.value, picker->value);
        delete picker;
    }
}

TEST_F(CellPickerTest, PickerIgnoresReleasesAndPassesOnRightPresses) {
    StripSelector* picker = AddPicker(150, 120, 7);
    StripSelector* silent = AddPicker(190, 120, 7, kStripPicker, 0);
    AddRecorder(9);
    picker->value = silent->value = 1;
    EXPECT_EQ(0, Mouse(WM_RBUTTONDOWN, 151, 121));
    EXPECT_EQ(std::vector<WPARAM>{2001}, Notices());
    EXPECT_EQ(0, Mouse(WM_RBUTTONDOWN, 191, 121));
    EXPECT_TRUE(Notices().empty());
    for (UINT message : {WM_LBUTTONUP, WM_RBUTTONUP}) EXPECT_EQ(0, Mouse(message, 151, 121));
    EXPECT_EQ(1, picker->value);
    EXPECT_TRUE(Notices().empty());
    EXPECT_EQ(4u, Tags(log, "mouse").size()) << "every press and release reaches later controls";
    EXPECT_TRUE(OpenPopups().empty());
}

// A window procedure like the install dialog's: the skin sees every message
// first, and WM_PAINT runs the skin's paint cycle.
struct SkinnedWindow {
    SkinContext* skin;
    std::atomic<int> paints{0}, presses{0}, consumed{-1};
    HDC dcBeforePaint = nullptr, dcAfterPaint = nullptr;
};
SkinnedWindow* Skinned;

LRESULT CALLBACK SkinnedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    int consumed = Skinned->skin->DispatchMouse(window, message, wParam, lParam);
    if (message == WM_LBUTTONDOWN) {
        Skinned->consumed = consumed;
        ++Skinned->presses;
    }
    if (consumed) return 0;
    if (message != WM_PAINT) return DefWindowProcA(window, message, wParam, lParam);
    Skinned->dcBeforePaint = Skinned->skin->host->currentDc;
    Skinned->skin->BeginSkinPaint();
    Skinned->skin->PaintAll();
    Skinned->skin->EndSkinPaint();
    Skinned->dcAfterPaint = Skinned->skin->host->currentDc;
    ++Skinned->paints;
    return 0;
}

// Waits for the test thread to handle a message; gives up after five
// seconds only so that a fault fails rather than hangs.
bool WaitFor(const std::atomic<int>& counter, int wanted) {
    for (int i = 0; i < 500 && counter < wanted; ++i) Sleep(10);
    return counter >= wanted;
}

TEST_F(CellPickerTest, MainWindowPaintedWhileThePopupIsOpenKeepsTheDispatchDc) {
    SkinnedWindow skinned;
    skinned.skin = skin.get();
    Skinned = &skinned;
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SkinnedWindowProc));
    StripSelector* picker = AddPicker(150, 120, 7);
    Flood(kBlue);
    bool painted = false;
    int consumedMeanwhile = -1;
    size_t popupsMeanwhile = 0;
    auto answer = [&](HWND popup) {
        InvalidateRect(window, nullptr, FALSE);
        painted = WaitFor(skinned.paints, 1);
        // A press on the main window meanwhile opens no second popup.
        PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(151, 121));
        WaitFor(skinned.presses, 1);
        consumedMeanwhile = skinned.consumed;
        std::vector<HWND> popups = OpenPopups();
        popupsMeanwhile = popups.size();
        for (HWND other : popups)  // were a second one open, it would have to go first
            if (other != popup) PostMessageA(other, WM_COMMAND, IDCANCEL, 0);
        PostMessageA(popup, WM_LBUTTONUP, 0, MAKELPARAM(60, 50));
    };
    Pick(picker, answer, [&] {
        return static_cast<int>(
            SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(151, 121)));
    });
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcA));
    Skinned = nullptr;

    EXPECT_TRUE(painted);
    EXPECT_NE(nullptr, skinned.dcBeforePaint) << "the paint ran inside the dispatch";
    EXPECT_EQ(skinned.dcBeforePaint, skinned.dcAfterPaint);
    EXPECT_EQ(0, consumedMeanwhile);
    EXPECT_EQ(1u, popupsMeanwhile);
    EXPECT_EQ(2, skinned.presses);
    EXPECT_EQ(1, skinned.consumed) << "the outer press ends last, consumed";
    EXPECT_EQ(nullptr, host.currentDc);
    EXPECT_EQ(5, picker->value);
    EXPECT_EQ(std::vector<WPARAM>{2000}, Notices());
    // The paint tiled the background over the blue; the pick then drew cell 5.
    EXPECT_EQ(0, Screen().Mismatches([&](int x, int y) {
        return Inside(picker->cellRect, x, y) ? GridCell(5, x - 150, y - 120) : Background(x, y);
    }));
}

}  // namespace
