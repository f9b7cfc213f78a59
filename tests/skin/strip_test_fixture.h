// The fixture of the strip selector and cell picker tests: a skinned test
// window, selectors created as the install dialog creates its options, mouse
// messages dispatched through the skin, and the notices they post.
#pragma once

#include <memory>
#include <vector>

#include "skin/strip_selector.h"
#include "skin_test_support.h"

// Pixels inside `rect` that differ from `cell`, which is given the offset
// from the rectangle's top-left corner.
inline int CellMismatches(const Canvas& canvas, const RECT& rect,
                          const std::function<COLORREF(int, int)>& cell) {
    int wrong = 0;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            wrong += canvas.Pixel(x, y) != cell(x - rect.left, y - rect.top);
    return wrong;
}

class StripTest : public SkinTest {
  protected:
    explicit StripTest(int width = 160, int height = 120, int x = 40, int y = 40)
        : width(width),
          height(height),
          window(width, height, x, y),
          screen(width, height),
          backBuffer(width, height) {}

    void SetUp() override {
        SkinTest::SetUp();
        skin.reset(new SkinContext(&host, TestInstance()));
        RECT status = {0, height - 16, 80, height};
        skin->Attach(window.Handle(), IDB_TEST_PATTERN, IDC_TEST_CURSOR, &status);
        Notices();
    }
    void TearDown() override {
        skin.reset();
        Notices();
        SkinTest::TearDown();
    }

    // A selector at `place` (x, y, width, height), loaded while the host
    // holds a window DC, as during the dialog's set-up.
    StripSelector* Make(RECT place, BitmapId stripId, int startValue, int rangeArg, int flags = 0,
                        const char* caption = "", unsigned captionOffset = 0x80148000,
                        int commandId = 2000, const char* name = "Name",
                        const char* statusText = "Status") {
        WindowDc dc(window.Handle());
        host.currentDc = dc.Get();
        StripSelector* selector =
            NewControl<StripSelector>(&host, &place, stripId, captionOffset, caption, startValue,
                                      rangeArg, statusText, commandId, flags, name);
        host.currentDc = nullptr;
        EXPECT_NE(nullptr, selector);
        return selector;
    }
    // One with its cell at (x, y) and no width or height.
    StripSelector* Add(int x, int y, BitmapId stripId, int startValue, int rangeArg, int flags = 0,
                       const char* caption = "", unsigned captionOffset = 0x80148000,
                       int commandId = 2000) {
        return Make({x, y, 0, 0}, stripId, startValue, rangeArg, flags, caption, captionOffset,
                    commandId);
    }

    int Mouse(UINT message, int x, int y) {
        return skin->DispatchMouse(window.Handle(), message, 0, MAKELPARAM(x, y));
    }
    int MouseAt(UINT message, const StripSelector* selector) {
        return Mouse(message, selector->cellRect.left + 1, selector->cellRect.top + 1);
    }

    // The command ids posted to the window since the last call.
    std::vector<WPARAM> Notices() {
        std::vector<WPARAM> ids;
        MSG message;
        while (PeekMessageA(&message, window.Handle(), WM_CONTROL_NOTIFY, WM_CONTROL_NOTIFY,
                            PM_REMOVE)) {
            EXPECT_EQ(0, message.lParam);
            ids.push_back(message.wParam);
        }
        return ids;
    }

    // What the window shows where nothing is drawn: the test pattern tiled.
    static COLORREF Background(int x, int y) {
        return PatternColour(x % 6, y % 4, kPatternTag, false);
    }
    Canvas& Screen() {
        window.Capture(&screen);
        return screen;
    }
    Canvas& BackBuffer() {
        backBuffer.CopyFrom(host.memoryDc, 0, 0);
        return backBuffer;
    }

    int width;
    int height;
    ControlHost host{};
    TestWindow window;
    std::unique_ptr<SkinContext> skin;
    Canvas screen;
    Canvas backBuffer;
};
