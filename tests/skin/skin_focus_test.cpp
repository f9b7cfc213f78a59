// Keyboard focus among skinned controls, its mark, and the window messages
// the skin answers besides the mouse's.
#include <oleacc.h>

#include <string>

#include "skin/link_label.h"
#include "skin/skin_accessible.h"
#include "skin/skin_draw.h"
#include "skin/skin_focus.h"
#include "skin/text_label.h"
#include "skin_test_support.h"

namespace {

class SkinFocusTest : public SkinWindowTest {
  protected:
    SkinFocusTest() : SkinWindowTest(160, 80) {}

    void SetUp() override {
        SkinWindowTest::SetUp();
        SetForegroundWindow(window);
        SetFocus(window);
    }

    // A visible child window that takes the real focus itself.
    HWND AddChild() {
        child = CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE, 100, 40, 20, 10, window,
                                nullptr, TestInstance(), nullptr);
        EXPECT_NE(nullptr, child);
        return child;
    }

    LRESULT Message(UINT message, WPARAM wParam, LPARAM lParam, int answered = 1) {
        LRESULT result = -1;
        EXPECT_EQ(answered, skin->DispatchWindow(window, message, wParam, lParam, &result))
            << message;
        return result;
    }

    // Pixels of the frame one pixel outside `bounds` that are not the mark
    // (every other pixel a dot, white: the test background is dark) or, when
    // not `marked`, not the background.
    int FrameMismatches(RECT bounds, bool marked) {
        InflateRect(&bounds, 1, 1);
        RECT inner = bounds;
        InflateRect(&inner, -1, -1);
        Screen();
        int wrong = 0;
        for (int y = bounds.top; y < bounds.bottom; ++y)
            for (int x = bounds.left; x < bounds.right; ++x) {
                if (Inside(inner, x, y)) continue;
                bool dot = marked && (x + y) % 2 == 0;
                wrong += screen.Pixel(x, y) != (dot ? RGB(255, 255, 255) : Background(x, y));
            }
        return wrong;
    }

    HWND child = nullptr;
};

// Tab goes round the order from wherever the focus is, passing over hidden
// controls and giving a child window the real focus; Shift+Tab goes back.
TEST_F(SkinFocusTest, TabGoesRoundTheOrderPassingOverHiddenStops) {
    StripSelector* first = AddStrip(10, 10, IDB_TEST_STRIP, 0, -3);
    StripSelector* hidden = AddStrip(30, 10, IDB_TEST_STRIP, 0, -3);
    StripSelector* last = AddStrip(50, 10, IDB_TEST_STRIP, 0, -3);
    hidden->visible = 0;
    const FocusStop order[] = {
        {first, nullptr}, {nullptr, AddChild()}, {hidden, nullptr}, {last, nullptr}};
    host.focusOrder = order;
    host.focusStops = 4;
    struct Step {
        bool backward;
        SkinControl* control;  // null: the child window
    } steps[] = {{false, first}, {false, nullptr}, {false, last}, {false, first},
                 {true, last},   {true, nullptr},  {true, first}};
    for (const Step& step : steps) {
        Message(WM_NEXTDLGCTL, step.backward, 0);
        EXPECT_EQ(step.control, host.focused);
        EXPECT_EQ(step.control ? window : child, GetFocus());
    }
    // The dialog's own moves to a given window are its own.
    Message(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(child), 1, 0);
}

// Once the keyboard has been used, the mark shows and comes back with the
// paint cycle; it hides while another program has the focus, and goes when a
// child window takes it. (Moving with the focus and staying away until the
// keyboard is used, it is seen in the dialog.)
TEST_F(SkinFocusTest, TheMarkFollowsTheFocusOnceTheKeyboardIsUsed) {
    StripSelector* option = AddStrip(10, 10, IDB_TEST_STRIP, 0, -3);
    AddChild();
    SetSkinFocus(&host, option);
    ShowFocusCues(&host);
    EXPECT_EQ(0, FrameMismatches(option->Bounds(), true));
    Flood(kBlue);
    PaintCycle();
    EXPECT_EQ(0, FrameMismatches(option->Bounds(), true)) << "drawn again by the paint cycle";

    Message(WM_KILLFOCUS, 0, 0, 0);
    EXPECT_EQ(option, host.focused);
    EXPECT_EQ(0, FrameMismatches(option->Bounds(), false));
    EXPECT_EQ(0, Message(WM_SETFOCUS, 0, 0));
    EXPECT_EQ(0, FrameMismatches(option->Bounds(), true));

    SetFocus(child);
    Message(WM_KILLFOCUS, reinterpret_cast<WPARAM>(child), 0, 0);
    EXPECT_EQ(nullptr, host.focused);
    EXPECT_EQ(0, FrameMismatches(option->Bounds(), false));
}

// Space (and Enter on a button or a link) runs the focused control's action
// once per press; the arrows are asked for and go nowhere.
TEST_F(SkinFocusTest, KeysActOnTheFocusedControl) {
    StripSelector* option = AddStrip(10, 10, IDB_TEST_STRIP, 0, -3);
    option->value = 2;
    RECT place = {60, 10, 0, 0};
    LinkLabel* link = Make<LinkLabel>(&place, "link", 1029, nullptr);
    MSG enter = {};
    enter.message = WM_KEYDOWN;
    enter.wParam = VK_RETURN;
    Message(WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&enter), 0);

    SetSkinFocus(&host, option);
    EXPECT_EQ(DLGC_WANTARROWS, Message(WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&enter)));
    Message(WM_KEYDOWN, VK_SPACE, 1);
    EXPECT_EQ(0, option->value);
    Message(WM_KEYDOWN, VK_SPACE, 0x40000001);  // held down: repeats nothing
    Message(WM_KEYDOWN, VK_DOWN, 1);
    EXPECT_EQ(0, option->value);
    EXPECT_EQ(std::vector<WPARAM>{2000}, Notices());
    EXPECT_TRUE(host.focusCues);

    SetSkinFocus(&host, link);
    EXPECT_EQ(DLGC_WANTARROWS | DLGC_WANTMESSAGE,
              Message(WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&enter)));
    Message(WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_EQ(1, link->visited);
    EXPECT_EQ(std::vector<WPARAM>{1029}, Notices());

    // While a control has the focus, the window keeps the real focus.
    EXPECT_EQ(0, Message(WM_SETFOCUS, 0, 0));
    SetSkinFocus(&host, nullptr);
    Message(WM_SETFOCUS, 0, 0, 0);
    Message(WM_KEYDOWN, VK_SPACE, 1, 0);
}

// The window is dragged by its background, a control's cursor is set over
// it, and the status text goes when the pointer leaves for the background or
// the window.
TEST_F(SkinFocusTest, PointerOverTheBackgroundDragsAndLeavingWipesTheStatus) {
    StripSelector* option = AddStrip(10, 10, IDB_TEST_STRIP, 0, -3);
    RECT place = {60, 10, 0, 0};
    LinkLabel* link = Make<LinkLabel>(&place, "link", 1029, nullptr);
    StripSelector* inactive = AddStrip(10, 40, IDB_TEST_STRIP, 0, -3);
    inactive->active = 0;
    PaintCycle();
    auto at = [&](int x, int y) {
        POINT point = {x, y};
        ClientToScreen(window, &point);
        return MAKELPARAM(point.x, point.y);
    };
    EXPECT_EQ(HTCAPTION, Message(WM_NCHITTEST, 0, at(100, 30)));
    EXPECT_EQ(HTCAPTION, Message(WM_NCHITTEST, 0, at(15, 45))) << "over an inactive control";
    Message(WM_NCHITTEST, 0, at(15, 15), 0);
    Message(WM_NCHITTEST, 0, at(width + 5, 5), 0);

    POINT overLink = {link->bounds.left + 1, link->bounds.top + 1};
    ClientToScreen(window, &overLink);
    SetCursorPos(overLink.x, overLink.y);
    SetCursor(nullptr);
    EXPECT_EQ(TRUE, Message(WM_SETCURSOR, reinterpret_cast<WPARAM>(window), HTCLIENT));
    EXPECT_EQ(HandCursor.Get(), GetCursor());
    POINT overOption = {15, 15};
    ClientToScreen(window, &overOption);
    SetCursorPos(overOption.x, overOption.y);
    Message(WM_SETCURSOR, reinterpret_cast<WPARAM>(window), HTCLIENT, 0);

    for (UINT leaving : {WM_NCMOUSEMOVE, WM_MOUSELEAVE}) {
        Mouse(WM_MOUSEMOVE, 15, 15);
        EXPECT_EQ(1, option->statusState);
        Message(leaving, 0, at(100, 30), 0);
        EXPECT_EQ(0, option->statusState) << leaving;
        EXPECT_EQ(0, Screen().Mismatches(Background, &host.statusRect)) << leaving;
    }
}

// What each kind of control tells a screen reader, before and after its
// default action, which does what a click does. (The dialog's buttons,
// picture, check boxes and texts are read by another program in its tests.)
TEST_F(SkinFocusTest, EveryControlDescribesItselfAndActsAsAClickDoes) {
    RECT place = {10, 10, 0, 0};
    LinkLabel* link = Make<LinkLabel>(&place, "link", 1029, nullptr);
    StripSelector* stepper = AddStrip(40, 30, IDB_TEST_STRIP, 0, 3, 0, "Step");
    StripSelector* bare = AddStrip(70, 30, IDB_TEST_STRIP, 0, 3, kStripValueOnly);
    TextLabel* text = Make<TextLabel>(60, 50, "Words");
    struct Row {
        SkinControl* control;
        int role;
        std::string name;
        int state;
        const char* action;  // null: none
        std::vector<WPARAM> notices;
        int stateAfter;
        const char* actionAfter;
    } rows[] = {
        {link,
         ROLE_SYSTEM_LINK,
         "link",
         STATE_SYSTEM_LINKED,
         "Jump",
         {1029},
         STATE_SYSTEM_LINKED | STATE_SYSTEM_TRAVERSED,
         "Jump"},
        {stepper, ROLE_SYSTEM_PUSHBUTTON, "Step", 0, "Press", {2000}, 0, "Press"},
        {bare, ROLE_SYSTEM_PUSHBUTTON, "", 0, nullptr, {}, 0, nullptr},
        {text, ROLE_SYSTEM_STATICTEXT, "Words", 0, nullptr, {}, 0, nullptr},
    };
    for (const Row& row : rows) {
        SkinControl* control = row.control;
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.role, control->AccessibleRole());
        EXPECT_EQ(row.name, control->AccessibleName());
        EXPECT_EQ(row.state, control->AccessibleState());
        EXPECT_STREQ(row.action, control->DefaultActionName());
        EXPECT_EQ(row.action != nullptr, control->CanTakeFocus());
        // The skin runs an action only for a control that can take the focus.
        if (control->CanTakeFocus()) control->DoDefaultAction(window);
        EXPECT_EQ(row.notices, Notices());
        EXPECT_EQ(row.stateAfter, control->AccessibleState());
        EXPECT_STREQ(row.actionAfter, control->DefaultActionName());
    }
    EXPECT_EQ(1, stepper->value);
    EXPECT_FALSE(text->active) << "a text never takes the mouse";

    // A text paints itself in black and measures what it covers.
    Flood(kBlue);
    PaintCycle();
    Canvas expected(width, height);
    PrepareSkinDc(expected.Dc());
    RECT measured = DrawMeasuredText(expected.Dc(), 60, 50, "Words");
    RECT bounds = text->Bounds();
    EXPECT_TRUE(EqualRect(&measured, &bounds));
    int area = (measured.right - measured.left) * (measured.bottom - measured.top);
    EXPECT_GT(area - Screen().Mismatches(Solid(0), &measured), 10) << "black pixels";
}

// The client area's object for screen readers, in this process: children
// found by place and by navigation, and nothing once the skin has let go.
// (What another program reads of the dialog's controls is seen there.)
TEST_F(SkinFocusTest, ScreenReaderObjectFindsTheControlsAndLetsGoWithTheSkin) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    StripSelector* option = AddStrip(10, 10, IDB_TEST_STRIP, 0, -3, 0, "Box");
    AddStrip(40, 10, IDB_TEST_STRIP, 0, -3)->visible = 0;
    AddChild();
    PaintCycle();
    EXPECT_EQ(0, AnswerGetObject(&host, 0, OBJID_WINDOW));
    LRESULT answer = AnswerGetObject(&host, 0, OBJID_CLIENT);
    ASSERT_GT(answer, 0);
    IAccessible* object = nullptr;
    ASSERT_EQ(S_OK, ObjectFromLresult(answer, __uuidof(IAccessible), 0,
                                      reinterpret_cast<void**>(&object)));

    VARIANT found;
    auto hit = [&](int x, int y) {
        POINT point = {x, y};
        ClientToScreen(window, &point);
        VariantInit(&found);
        object->accHitTest(point.x, point.y, &found);
        return found.vt == VT_I4 ? found.lVal : -1;
    };
    EXPECT_EQ(1, hit(15, 15));
    EXPECT_EQ(3, hit(105, 45)) << "the child window";
    EXPECT_EQ(CHILDID_SELF, hit(100, 25));
    EXPECT_EQ(-1, hit(width + 10, 5));

    VARIANT self, first;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    EXPECT_EQ(S_OK, object->accNavigate(NAVDIR_FIRSTCHILD, self, &first));
    EXPECT_EQ(1, first.lVal);
    VARIANT next;
    EXPECT_EQ(S_OK, object->accNavigate(NAVDIR_NEXT, first, &next));
    EXPECT_EQ(2, next.lVal);

    EXPECT_EQ(S_OK, object->accSelect(SELFLAG_TAKEFOCUS, first));
    EXPECT_EQ(option, host.focused);
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, object->accDoDefaultAction(next));

    skin->Destroy();
    LONG count = 0;
    EXPECT_EQ(E_FAIL, object->get_accChildCount(&count));
    object->Release();
    CoUninitialize();
}

}  // namespace
