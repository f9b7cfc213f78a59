#include <atomic>
#include <string>

#include "skin/cell_picker.h"
#include "skin/skin_draw.h"
#include "strip_test_fixture.h"
#include "support/test_support.h"

namespace {

const COLORREF kBlue = RGB(0, 0, 255);

// The grid strip: two rows of four 26 x 26 cells, cell v's pixel (k, j) at
// LargePatternColour(26 (v mod 4) + k, 26 (v / 4) + j).
const BitmapId kGridId = BlankId(104, 52);

COLORREF GridCell(int v, int k, int j) {
    return LargePatternColour(26 * (v % 4) + k, 26 * (v / 4) + j);
}

// The visible dialogs of this process: the open popups.
std::vector<HWND> OpenPopups() {
    struct Collect {
        static BOOL CALLBACK Each(HWND window, LPARAM param) {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            char className[16] = "";
            GetClassNameA(window, className, sizeof className);
            if (process == GetCurrentProcessId() && IsWindowVisible(window) &&
                lstrcmpA(className, "#32770") == 0)
                reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
            return TRUE;
        }
    };
    std::vector<HWND> popups;
    EnumWindows(Collect::Each, reinterpret_cast<LPARAM>(&popups));
    return popups;
}

// The popup's client area once painted. Its thread may be inside a paint
// that has validated the popup already; a sent message is handled only after
// that paint has ended.
void CapturePopup(HWND popup, Canvas* canvas) {
    UpdateWindow(popup);
    SendMessageA(popup, WM_NULL, 0, 0);
    HDC dc = GetDC(popup);
    canvas->CopyFrom(dc, 0, 0);
    ReleaseDC(popup, dc);
}

class CellPickerTest : public StripTest {
  protected:
    // The window's client origin is at (300, 300) on the screen.
    CellPickerTest() : StripTest(300, 200, 300, 300) {}

    StripSelector* AddPicker(int x, int y, int rangeArg, int flags = kStripPicker,
                             int commandId = 2000) {
        StripSelector* picker = Add(x, y, kGridId, 0, rangeArg, flags, "", 0x80148000u, commandId);
        FillLargePattern(*picker->strip);
        return picker;
    }
    // Left press on the picker's cell, the popup answered by `answer`;
    // returns what the dispatch returned.
    int Pick(StripSelector* picker, const ModalWatcher::Answer& answer) {
        // Read once the watcher has been joined: the popup may close before
        // the watcher has marked itself answered.
        bool answered = false;
        int consumed;
        {
            ModalWatcher watcher([&](HWND popup) {
                answered = true;
                answer(popup);
            });
            consumed = MouseAt(WM_LBUTTONDOWN, picker);
        }
        EXPECT_TRUE(answered);
        return consumed;
    }
    static ModalWatcher::Answer ReleaseAt(int x, int y) {
        return [x, y](HWND popup) { PostMessageA(popup, WM_LBUTTONUP, 0, MAKELPARAM(x, y)); };
    }
};

TEST_F(CellPickerTest, PopupIsSizedByTheRangeAndPlacedAboveOrBelowTheCell) {
    struct Case {
        int top;
        int rangeArg;
        RECT expected;
    } cases[] = {
        // Above and left of the cell: the bottom-right corner one pixel off it.
        {120, 3, {300 + 150 - 1 - 198, 300 + 120 - 1 - 50, 300 + 150 - 1, 300 + 120 - 1}},
        {120, -4, {300 + 150 - 1 - 198, 300 + 120 - 1 - 86, 300 + 150 - 1, 300 + 120 - 1}},
        // A cell nearer the top than the popup is high: the popup's top on
        // the cell's bottom edge.
        {60, 4, {300 + 150 - 1 - 198, 300 + 60 + 26, 300 + 150 - 1, 300 + 60 + 26 + 86}},
        {49, 3, {300 + 150 - 1 - 198, 300 + 49 + 26, 300 + 150 - 1, 300 + 49 + 26 + 50}},
        {50, 3, {300 + 150 - 1 - 198, 300 + 50 - 1 - 50, 300 + 150 - 1, 300 + 50 - 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.top);
        StripSelector* picker = AddPicker(150, c.top, c.rangeArg);
        picker->value = 2;
        RECT shown = {};
        // Escape closes the popup with nothing picked.
        EXPECT_EQ(0, Pick(picker, [&](HWND popup) {
                      GetWindowRect(popup, &shown);
                      PressKey(popup, VK_ESCAPE);
                  }));
        EXPECT_TRUE(EqualRect(&c.expected, &shown))
            << shown.left << "," << shown.top << "," << shown.right << "," << shown.bottom;
        EXPECT_EQ(2, picker->value);
        EXPECT_EQ(0, CellPicker.pickedPoint);
        EXPECT_EQ(nullptr, CellPicker.pickOwner);
        EXPECT_TRUE(Notices().empty());
        picker->Show(0);
    }

    // A window left of the screen puts the popup at negative coordinates,
    // not at 16-bit wrapped ones.
    TestWindow offScreen(300, 200, -250, 300);
    StripSelector* picker = AddPicker(150, 120, 3);
    RECT shown = {};
    bool answered = false;
    {
        ModalWatcher watcher([&](HWND popup) {
            answered = true;
            GetWindowRect(popup, &shown);
            PressKey(popup, VK_ESCAPE);
        });
        EXPECT_EQ(0, picker->OpenPicker(offScreen.Handle()));
    }
    EXPECT_TRUE(answered);
    RECT expected = {-250 + 150 - 1 - 198, 300 + 120 - 1 - 50, -250 + 150 - 1, 300 + 120 - 1};
    EXPECT_TRUE(EqualRect(&expected, &shown)) << shown.left << "," << shown.top;
}

TEST_F(CellPickerTest, PopupShowsEveryCellNumberedOnTheBackground) {
    for (int flags : {kStripPicker, kStripPicker | kStripTransposed}) {
        StripSelector* picker = AddPicker(150, 120, 4, flags);
        Canvas shown(198, 86);
        RECT client = {};
        EXPECT_EQ(0, Pick(picker, [&](HWND popup) {
                      GetClientRect(popup, &client);
                      CapturePopup(popup, &shown);
                      // A right press closes it with nothing picked.
                      PostMessageA(popup, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(100, 20));
                  }));
        EXPECT_EQ(0, picker->value);
        EXPECT_TRUE(Notices().empty());

        ASSERT_GT(client.right, 180);
        ASSERT_GT(client.bottom, 72);
        Canvas expected(198, 86);
        PrepareSkinDc(expected.Dc());
        RECT all = {0, 0, 198, 86};
        host.background->TileFill(expected.Dc(), all);
        for (int v = 0; v <= 4; ++v) {
            int left = 44 * (v % 4) + 18;
            int top = 36 * (v / 4) + 10;
            for (int j = 0; j < 26; ++j)
                for (int k = 0; k < 26; ++k)
                    expected.Put(
                        left + k, top + j,
                        (flags & kStripTransposed) ? GridCell(v, j, k) : GridCell(v, k, j));
            char number[3] = {'0', static_cast<char>('1' + v), '\0'};
            DrawTextAt(expected.Dc(), left - 14, top + 2, number);
        }
        EXPECT_EQ(0, Mismatches(shown,
                                [&](int x, int y) {
                                    return x < client.right && y < client.bottom
                                               ? expected.Pixel(x, y)
                                               : shown.Pixel(x, y);
                                }))
            << flags;
        picker->Show(0);
    }
}

TEST_F(CellPickerTest, ReleaseInThePopupPicksTheCellUnderIt) {
    struct Case {
        int flags;
        int rangeArg;
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
        window.Flood(kBlue);
        EXPECT_EQ(1, Pick(picker, ReleaseAt(c.x, c.y)));
        EXPECT_EQ(c.value, picker->value);
        EXPECT_EQ(MAKELPARAM(c.x, c.y), CellPicker.pickedPoint);
        EXPECT_EQ(std::vector<WPARAM>{2000}, Notices());
        // Painted through the dispatch's DC: the cell only, no caption.
        auto cell = [&](int k, int j) {
            return (c.flags & kStripTransposed) ? GridCell(c.value, j, k) : GridCell(c.value, k, j);
        };
        EXPECT_EQ(0, Mismatches(Screen(), [&](int x, int y) {
                      return Inside(picker->cellRect, x, y) ? cell(x - 150, y - 120) : kBlue;
                  }));
        EXPECT_EQ(0, CellMismatches(BackBuffer(), picker->cellRect, cell));
        // Leaving the cell keeps the pick.
        EXPECT_EQ(0, Mouse(WM_MOUSEMOVE, 5, 5));
        EXPECT_EQ(c.value, picker->value);
        picker->Show(0);
    }
}

TEST_F(CellPickerTest, PickerIgnoresReleasesAndPassesOnRightPresses) {
    StripSelector* picker = AddPicker(150, 120, 7);
    StripSelector* silent = AddPicker(190, 120, 7, kStripPicker, 0);
    std::vector<ControlEvent> log;
    RecordingControl* later = NewControl<RecordingControl>(&host, 9, &log);
    picker->value = silent->value = 1;

    EXPECT_EQ(0, MouseAt(WM_RBUTTONDOWN, picker));
    EXPECT_EQ(std::vector<WPARAM>{2001}, Notices());
    EXPECT_EQ(0, MouseAt(WM_RBUTTONDOWN, silent));
    EXPECT_TRUE(Notices().empty());
    for (UINT message : {WM_LBUTTONUP, WM_RBUTTONUP}) EXPECT_EQ(0, MouseAt(message, picker));
    EXPECT_EQ(1, picker->value);
    EXPECT_TRUE(Notices().empty());
    EXPECT_EQ(4, CountEvents(log, "mouse", 9)) << "every press and release reaches later controls";
    EXPECT_TRUE(OpenPopups().empty());
    delete later;  // before its log goes
}

// A window procedure like the install dialog's: the skin sees every message
// first, and WM_PAINT runs the skin's paint cycle.
struct SkinnedWindow {
    SkinContext* skin;
    std::atomic<int> paints{0};
    HDC dcBeforePaint = nullptr;
    HDC dcAfterPaint = nullptr;
    std::atomic<int> nestedPresses{0};
    std::atomic<int> nestedConsumed{-1};
};
SkinnedWindow* Skinned;

LRESULT CALLBACK SkinnedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!Skinned) return DefWindowProcA(window, message, wParam, lParam);
    int consumed = Skinned->skin->DispatchMouse(window, message, wParam, lParam);
    if (message == WM_LBUTTONDOWN) {
        Skinned->nestedConsumed = consumed;
        ++Skinned->nestedPresses;
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

bool WaitFor(const std::atomic<int>& counter, int wanted) {
    for (int i = 0; i < 500 && counter < wanted; ++i) Sleep(10);
    return counter >= wanted;
}

TEST_F(CellPickerTest, MainWindowPaintedWhileThePopupIsOpenKeepsTheDispatchDc) {
    SkinnedWindow skinned;
    skinned.skin = skin.get();
    Skinned = &skinned;
    SetWindowLongPtrA(window.Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SkinnedWindowProc));
    StripSelector* picker = AddPicker(150, 120, 7);
    window.Flood(kBlue);

    bool answered = false, painted = false, pressed = false;
    int popupsDuringPress = 0, consumedDuringPopup = -1;
    {
        ModalWatcher watcher([&](HWND popup) {
            answered = true;
            InvalidateRect(window.Handle(), nullptr, FALSE);
            painted = WaitFor(skinned.paints, 1);
            // A press queued for the main window meanwhile opens no second
            // popup.
            PostMessageA(window.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(151, 121));
            pressed = WaitFor(skinned.nestedPresses, 1);
            consumedDuringPopup = skinned.nestedConsumed;
            std::vector<HWND> popups = OpenPopups();
            popupsDuringPress = static_cast<int>(popups.size());
            // Were a second one open, it would have to go first.
            for (HWND other : popups)
                if (other != popup) PostMessageA(other, WM_COMMAND, IDCANCEL, 0);
            PostMessageA(popup, WM_LBUTTONUP, 0, MAKELPARAM(60, 50));
        });
        SendMessageA(window.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(151, 121));
    }
    EXPECT_TRUE(answered);
    Skinned = nullptr;
    SetWindowLongPtrA(window.Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcA));

    EXPECT_TRUE(painted);
    EXPECT_NE(nullptr, skinned.dcBeforePaint) << "the paint ran inside the dispatch";
    EXPECT_EQ(skinned.dcBeforePaint, skinned.dcAfterPaint);
    EXPECT_TRUE(pressed);
    EXPECT_EQ(0, consumedDuringPopup);
    EXPECT_EQ(1, popupsDuringPress);
    EXPECT_EQ(2, skinned.nestedPresses) << "the outer press counts last";
    EXPECT_EQ(1, skinned.nestedConsumed);
    EXPECT_EQ(nullptr, host.currentDc);
    EXPECT_EQ(5, picker->value);
    EXPECT_EQ(std::vector<WPARAM>{2000}, Notices());
    // The paint tiled the background over the blue; the pick then drew cell 5.
    EXPECT_EQ(0, Mismatches(Screen(), [&](int x, int y) {
                  return Inside(picker->cellRect, x, y) ? GridCell(5, x - 150, y - 120)
                                                        : Background(x, y);
              }));
}

}  // namespace
