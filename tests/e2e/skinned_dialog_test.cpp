// The built setup.exe's skinned dialog, seen and used the way a user does:
// screenshots of its client area compared pixel for pixel with the artwork
// this test program carries, the real mouse pointer over it, and the files
// and registry values an installation leaves.
#include <gtest/gtest.h>

#include <stdio.h>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "e2e/dialog_look.h"
#include "e2e/key_input.h"
#include "e2e/pointer_input.h"
#include "e2e/screen_reader.h"
#include "e2e/setup_exe.h"
#include "res/resource_ids.h"
#include "support/screen_capture.h"
#include "support/test_support.h"

namespace {

constexpr DWORD kStartTimeout = 20000;
// Bounds the waits for a paint; a paint cycle pauses 50 ms before drawing.
constexpr DWORD kPaintTimeout = 5000;

// Places that hold texts rather than artwork: the link and the completed
// lines at x 274 from y 100, 16 pixels apart.
const RECT kLinkArea = {300, 20, 420, 36};
const RECT kCompletedLinesArea = {274, 100, kWidth, 148};
constexpr uint32_t kLinkBlue = 0x0000FF;

// The completed look: background, picture and close face everywhere but on
// the texts.
Pixels CompletedLook() {
    const Artwork& art = Art();
    Pixels look = Overlay(art.background, art.picture, kPicturePlace.x, kPicturePlace.y, true);
    return Overlay(look, art.close, kClosePlace.x, kClosePlace.y, true);
}

// The close button's bounds: its face and the column and row that pressing
// moves it into.
const RECT kCloseBounds = {kClosePlace.x, kClosePlace.y, kClosePlace.x + 61, kClosePlace.y + 20};

bool Inside(const RECT& area, int x, int y) {
    return x >= area.left && x < area.right && y >= area.top && y < area.bottom;
}

// Pixels of the completed look (with the focus mark on the close button when
// asked) that differ from it, apart from the link and the completed lines.
int CompletedLookDifferences(const Pixels& shot, bool closeMarked = false) {
    static const Pixels plain = CompletedLook();
    static const Pixels marked = WithFocusMark(plain, kCloseBounds);
    const Pixels& look = closeMarked ? marked : plain;
    if (shot.width != kWidth || shot.height != kHeight) return kWidth * kHeight;
    int count = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            if (!Inside(kLinkArea, x, y) && !Inside(kCompletedLinesArea, x, y) &&
                shot.At(x, y) != look.At(x, y))
                ++count;
    return count;
}

bool IsDark(uint32_t colour) {
    return (colour >> 16 & 0xFF) < 0x80 && (colour >> 8 & 0xFF) < 0x80 && (colour & 0xFF) < 0x80;
}

// Dark pixels, not in the background, in the band of a completed line.
int DarkTextPixels(const Pixels& shot, int top) {
    int count = 0;
    for (int y = top; y < top + 16; ++y)
        for (int x = kCompletedLinesArea.left; x < kWidth; ++x)
            if (IsDark(shot.At(x, y)) && shot.At(x, y) != Art().background.At(x, y)) ++count;
    return count;
}

// setup.exe as a separate process, started with the pointer out of its way,
// and what the screen shows of its dialog.
class SkinnedSetup : public ChildProcess {
  public:
    // The program beside this one; the pointer moves away before it starts.
    static std::string ParkedCommand() {
        ParkPointer();
        return "\"" + SetupExePath() + "\"";
    }

    // At `dpi`: the scale of this Wine session (SessionDpi).
    explicit SkinnedSetup(UINT dpi = kBaseDpi) : ChildProcess(ParkedCommand()), at(dpi) {}

    // Finds the dialog; fails when it did not appear in time.
    ::testing::AssertionResult Open() {
        dialog = Dialog(kStartTimeout);
        if (dialog) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
               << "no dialog; started " << Started() << ", exit code " << ExitCode(0);
    }

    // Takes screenshots of the client area until one satisfies `ready`, for
    // at most kPaintTimeout ms; the last one stays in `shot`.
    bool WaitForScreen(const std::function<bool(const Pixels&)>& ready,
                       DWORD timeout = kPaintTimeout) {
        return WaitUntil(
            [&] {
                shot = CaptureClient(dialog, at.width, at.height);
                return !shot.Empty() && ready(shot);
            },
            timeout);
    }

    // The start look, with the focus mark around `marked` (client bounds)
    // unless it is empty; the frames around `unmarked` must show none.
    ::testing::AssertionResult WaitForStartLook(bool pluginTicked, bool presetsTicked,
                                                bool installShown, RECT marked = {},
                                                const std::vector<RECT>& unmarked = {}) {
        Pixels look = StartLook(pluginTicked, presetsTicked, installShown, at);
        std::vector<RECT> areas = StartLookAreas(at);
        for (const RECT& bounds : unmarked)
            for (const RECT& edge : FocusFrame(bounds, at)) areas.push_back(edge);
        if (!IsRectEmpty(&marked)) {
            look = WithFocusMark(look, marked, at);
            for (const RECT& edge : FocusFrame(marked, at)) areas.push_back(edge);
        }
        if (WaitForScreen([&](const Pixels& shot) { return Differences(shot, look, areas) == 0; }))
            return ::testing::AssertionSuccess();
        ::testing::AssertionResult failure = ::testing::AssertionFailure();
        failure << "pixels off the artwork, by area:";
        for (const RECT& area : areas) failure << " " << CountDifferences(shot, look, area);
        return failure;
    }

    // Open, showing the start look with both options ticked.
    ::testing::AssertionResult OpenAtRest() {
        ::testing::AssertionResult open = Open();
        return open ? WaitForStartLook(true, true, true) : open;
    }

    ::testing::AssertionResult WaitForCompletedLook(bool closeMarked = false) {
        auto lines = [](const Pixels& shot) {
            return std::vector<int>{DarkTextPixels(shot, 100), DarkTextPixels(shot, 116),
                                    DarkTextPixels(shot, 132)};
        };
        auto shown = [&](const Pixels& shot) {
            std::vector<int> dark = lines(shot);
            return CompletedLookDifferences(shot, closeMarked) == 0 && dark[0] > 0 && dark[1] > 0 &&
                   dark[2] > 0 && CountColour(shot, kLinkArea, kLinkBlue) > 0;
        };
        if (WaitForScreen(shown)) return ::testing::AssertionSuccess();
        std::vector<int> dark = lines(shot);
        return ::testing::AssertionFailure()
               << "pixels off the artwork: " << CompletedLookDifferences(shot, closeMarked)
               << "; dark pixels of the three lines: " << dark[0] << " " << dark[1] << " "
               << dark[2]
               << "; blue pixels of the link: " << CountColour(shot, kLinkArea, kLinkBlue);
    }

    bool WaitForStatusText(DWORD timeout = kPaintTimeout) {
        return WaitForScreen([&](const Pixels& shot) { return !WhitePixels(shot, at).empty(); },
                             timeout);
    }

    bool WaitForClearStatus() {
        return WaitForScreen([&](const Pixels& shot) {
            return CountDifferences(shot, Art(at.dpi).background, at.status) == 0;
        });
    }

    // Points at a control and waits for its status text: the program has
    // then seen the pointer arrive. Under Wine 10 the text drawn can now and
    // then miss the screen, most often just after another window has closed:
    // the pointer then leaves and comes back, as a hand would.
    bool HoverOver(POINT point) {
        for (int tries = 0; tries < 6; ++tries) {
            if (PointAt(dialog, point.x, point.y) && WaitForStatusText(kPaintTimeout / 3))
                return true;
            PointAt(dialog, at.S(kNowhere).x, at.S(kNowhere).y);
            WaitForClearStatus();
        }
        return false;
    }

    bool ClickOn(POINT point) {
        return HoverOver(point) && ClientToScreen(dialog, &point) && PressLeftButton(point);
    }

    // Clicks the middle of a check cell, then moves the pointer off it and so
    // clears the option's status text.
    bool ClickCell(POINT cell) {
        return ClickOn({cell.x + at.cell / 2, cell.y + at.cell / 2}) &&
               PointAt(dialog, at.S(kNowhere).x, at.S(kNowhere).y);
    }

    // A child's place in the client area, as the screen reader tells it.
    RECT ClientBounds(const ScreenReader& reader, long child) const {
        RECT place = reader.Location(child);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
        return place;
    }

    // Waits until the screen reader finds the focus on the control named so,
    // or (for an empty name) on the list.
    bool WaitForFocusOn(const ScreenReader& reader, const std::string& name) {
        HWND list = GetDlgItem(dialog, IDC_FOLDER_LIST);
        return WaitUntil(
            [&] {
                if (name.empty()) return FocusOf(dialog) == list;
                long focus = reader.Focus();
                return focus > 0 && reader.Name(focus) == name &&
                       (reader.State(focus) & STATE_SYSTEM_FOCUSED);
            },
            kPaintTimeout);
    }

    // Another dialog of the program besides its own: the folder browser.
    HWND OtherDialog(DWORD wait) const { return Dialog(wait, dialog); }

    HWND dialog = nullptr;
    Pixels shot;
    const Look at;  // the places at the program's DPI
};

// Escape ends the program with 0.
void EndWithEscape(const SkinnedSetup& setup) {
    PressKey(setup.dialog, VK_ESCAPE);
    EXPECT_EQ(0, setup.ExitCode(kStartTimeout));
}

const char kPluginOption[] = "Pastel Craft Plug-in";
const char kPresetsOption[] = "Additional presets: Portrait01 - Portrait12";
const char kLinkName[] = "www.vantorel.com";

TEST(SkinnedDialog, ShowsItsArtworkAndTheStatusTextOfWhatThePointerIsOver) {
    ASSERT_EQ(kWidth, Art().background.width);
    ASSERT_EQ(kHeight, Art().background.height);
    SkinnedSetup setup;
    ASSERT_TRUE(setup.Open());

    RECT client = {};
    GetClientRect(setup.dialog, &client);
    EXPECT_EQ(kWidth, client.right);
    EXPECT_EQ(kHeight, client.bottom);
    ASSERT_TRUE(setup.WaitForStartLook(true, true, true));
    EXPECT_GT(CountColour(setup.shot, kLinkArea, kLinkBlue), 0);

    // The install button's text, in white, and gone when the pointer leaves.
    ASSERT_TRUE(setup.HoverOver(kOverInstall));
    std::set<int> buttonText = WhitePixels(setup.shot);
    ASSERT_TRUE(PointAt(setup.dialog, kNowhere.x, kNowhere.y));
    ASSERT_TRUE(setup.WaitForClearStatus());

    // Leaving the window clears it too.
    ASSERT_TRUE(setup.HoverOver(kOverInstall));
    ASSERT_TRUE(ParkPointer());
    ASSERT_TRUE(setup.WaitForClearStatus());

    // An option has a text of its own; the link shares the buttons' text.
    ASSERT_TRUE(setup.HoverOver(kOverPluginCell));
    std::set<int> pluginText = WhitePixels(setup.shot);
    EXPECT_NE(buttonText, pluginText);
    ASSERT_TRUE(PointAt(setup.dialog, kNowhere.x, kNowhere.y));
    ASSERT_TRUE(setup.WaitForClearStatus());

    // Straight from the second option onto the first, in one move: the text
    // is the first one's, not wiped by the second leaving.
    ASSERT_TRUE(setup.HoverOver(kOverPresetsCell));
    EXPECT_NE(pluginText, WhitePixels(setup.shot));
    ASSERT_TRUE(PointAt(setup.dialog, kOverPluginCell.x, kOverPluginCell.y));
    EXPECT_TRUE(
        setup.WaitForScreen([&](const Pixels& shot) { return WhitePixels(shot) == pluginText; }));
    ASSERT_TRUE(PointAt(setup.dialog, kNowhere.x, kNowhere.y));
    ASSERT_TRUE(setup.WaitForClearStatus());
    ASSERT_TRUE(setup.HoverOver(kOverLink));
    EXPECT_EQ(buttonText, WhitePixels(setup.shot));
    ASSERT_TRUE(PointAt(setup.dialog, kNowhere.x, kNowhere.y));
    ASSERT_TRUE(setup.WaitForClearStatus());

    EndWithEscape(setup);
}

TEST(SkinnedDialog, HidesTheInstallButtonWhileNoOptionIsTicked) {
    SkinnedSetup setup;
    ASSERT_TRUE(setup.OpenAtRest());

    ASSERT_TRUE(setup.ClickCell(kPluginCell));
    ASSERT_TRUE(setup.WaitForStartLook(false, true, true));
    ASSERT_TRUE(setup.ClickCell(kPresetsCell));
    // The button's place shows the background again.
    ASSERT_TRUE(setup.WaitForStartLook(false, false, false));

    // Either option brings it back.
    ASSERT_TRUE(setup.ClickCell(kPresetsCell));
    ASSERT_TRUE(setup.WaitForStartLook(false, true, true));
    ASSERT_TRUE(setup.ClickCell(kPresetsCell));
    ASSERT_TRUE(setup.WaitForStartLook(false, false, false));
    // A click on the caption is a click on the option.
    ASSERT_TRUE(setup.ClickOn(kOverPluginCaption));
    ASSERT_TRUE(PointAt(setup.dialog, kNowhere.x, kNowhere.y));
    ASSERT_TRUE(setup.WaitForStartLook(true, false, true));

    // The window follows the pointer that holds it by its background.
    RECT before = {};
    GetWindowRect(setup.dialog, &before);
    POINT grip = kNowhere;
    ClientToScreen(setup.dialog, &grip);
    ASSERT_TRUE(MovePointer(grip.x, grip.y));
    ASSERT_TRUE(PressLeftButton(grip, true, false));
    for (int step = 1; step <= 6; ++step) {
        ASSERT_TRUE(MovePointer(grip.x + 10 * step, grip.y + 5 * step));
        Sleep(20);
    }
    ASSERT_TRUE(PressLeftButton({grip.x + 60, grip.y + 30}, false, true));
    RECT after = {};
    EXPECT_TRUE(WaitUntil(
        [&] {
            GetWindowRect(setup.dialog, &after);
            return after.left == before.left + 60 && after.top == before.top + 30;
        },
        kPaintTimeout))
        << "moved by " << after.left - before.left << ", " << after.top - before.top;
    ASSERT_TRUE(WaitForDragEnd(setup.dialog, kPaintTimeout));

    EndWithEscape(setup);
}

// A screen reader finds every control with its role, name and state, and
// the focus on the list at start. Tab and Shift+Tab go round the options, the
// list, Install, Cancel and the link, and the control with the focus wears the
// mark, and only it; Space ticks and unticks the focused option, a screen
// reader's default action unticks one as a click does, and Enter presses the
// focused Cancel.
TEST(SkinnedDialog, KeyboardAndScreenReadersReachEveryControl) {
    SkinnedSetup setup;
    ASSERT_TRUE(setup.OpenAtRest());
    ScreenReader reader(setup.dialog);
    ASSERT_TRUE(reader.Connected());

    const long kHidden = STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_UNAVAILABLE;
    const long kFocusable = STATE_SYSTEM_FOCUSABLE;
    const long kChecked = kFocusable | STATE_SYSTEM_CHECKED;
    struct Child {
        const char* name;
        long role, state;
        const char* action;
    } children[] = {
        {"Cancel", ROLE_SYSTEM_PUSHBUTTON, kFocusable, "Press"},
        {"Install", ROLE_SYSTEM_PUSHBUTTON, kFocusable, "Press"},
        {"Close", ROLE_SYSTEM_PUSHBUTTON, kHidden, "Press"},
        {kLinkName, ROLE_SYSTEM_LINK, kFocusable | STATE_SYSTEM_LINKED, "Jump"},
        {"", ROLE_SYSTEM_GRAPHIC, kHidden, ""},
        {kPluginOption, ROLE_SYSTEM_CHECKBUTTON, kChecked, "Uncheck"},
        {kPresetsOption, ROLE_SYSTEM_CHECKBUTTON, kChecked, "Uncheck"},
        {"Select folder where setup will install files:", ROLE_SYSTEM_STATICTEXT, 0, ""},
        {"   Installation completed. Please", ROLE_SYSTEM_STATICTEXT, kHidden, ""},
        {"restart your image editor to", ROLE_SYSTEM_STATICTEXT, kHidden, ""},
        {"activate the plug-ins installed.", ROLE_SYSTEM_STATICTEXT, kHidden, ""},
    };
    const long skinned = static_cast<long>(sizeof children / sizeof children[0]);
    // After the skinned controls, the dialog's two windows: the list and
    // the hidden button, each an object of its own.
    ASSERT_EQ(skinned + 2, reader.ChildCount());
    for (long id = 1; id <= skinned; ++id) {
        const Child& child = children[id - 1];
        SCOPED_TRACE(child.name);
        EXPECT_EQ(child.name, reader.Name(id));
        EXPECT_EQ(child.role, reader.Role(id));
        EXPECT_EQ(child.state, reader.State(id));
        EXPECT_EQ(child.action, reader.DefaultAction(id));
    }
    for (long id = skinned + 1; id <= skinned + 2; ++id) {
        IDispatch* window = reader.ChildObject(id);
        EXPECT_NE(nullptr, window) << id;
        if (window) window->Release();
    }

    // The list has the focus at start, the first window after the skinned
    // controls.
    ASSERT_TRUE(BringToFront(setup.dialog));
    ASSERT_TRUE(setup.WaitForFocusOn(reader, ""));
    EXPECT_EQ(skinned + 1, reader.Focus());

    std::vector<RECT> everyFrame;
    for (const char* name : {kPluginOption, kPresetsOption, "Install", "Cancel", kLinkName})
        everyFrame.push_back(setup.ClientBounds(reader, reader.ChildNamed(name)));
    const char* const kList = "";
    struct Step {
        WORD key;
        bool shift;
        const char* focused;
        bool pluginTicked, presetsTicked;
    } steps[] = {{VK_TAB, false, "Install", true, true},
                 {VK_TAB, false, "Cancel", true, true},
                 {VK_TAB, false, kLinkName, true, true},
                 {VK_TAB, false, kPluginOption, true, true},
                 {VK_TAB, false, kPresetsOption, true, true},
                 {VK_TAB, false, kList, true, true},
                 {VK_TAB, false, "Install", true, true},
                 {VK_TAB, true, kList, true, true},
                 {VK_TAB, true, kPresetsOption, true, true},
                 {VK_SPACE, false, kPresetsOption, true, false},
                 {VK_TAB, true, kPluginOption, true, false},
                 {VK_SPACE, false, kPluginOption, false, false},
                 {VK_SPACE, false, kPluginOption, true, false},
                 {VK_TAB, false, kPresetsOption, true, false},
                 {VK_SPACE, false, kPresetsOption, true, true},
                 {VK_TAB, false, kList, true, true},
                 {VK_TAB, false, "Install", true, true},
                 {VK_TAB, false, "Cancel", true, true}};
    for (const Step& step : steps) {
        SCOPED_TRACE(std::string(step.shift ? "Shift+" : "") + std::to_string(step.key) + " to " +
                     step.focused);
        ASSERT_TRUE(TypeKey(step.key, step.shift));
        ASSERT_TRUE(setup.WaitForFocusOn(reader, step.focused));
        RECT marked = {};
        if (step.focused[0]) marked = setup.ClientBounds(reader, reader.ChildNamed(step.focused));
        EXPECT_TRUE(setup.WaitForStartLook(step.pluginTicked, step.presetsTicked,
                                           step.pluginTicked || step.presetsTicked, marked,
                                           everyFrame));
    }
    // With the focus on Cancel, an option's default action unticks it.
    long plugin = reader.ChildNamed(kPluginOption);
    EXPECT_EQ(S_OK, reader.DoDefaultAction(plugin));
    EXPECT_TRUE(
        WaitUntil([&] { return !(reader.State(plugin) & STATE_SYSTEM_CHECKED); }, kPaintTimeout));
    EXPECT_EQ("Check", reader.DefaultAction(plugin));
    EXPECT_TRUE(setup.WaitForStartLook(false, true, true, everyFrame[3], everyFrame));

    ASSERT_TRUE(TypeKey(VK_RETURN));
    EXPECT_EQ(0, setup.ExitCode(kStartTimeout));
}

// At each display scale the dialog is the artwork's size, every control sits
// where the art puts it (as a screen reader is told) with text of the scaled
// height, the art is drawn for that scale, Tab puts the focus mark around
// Install, and each control answers the real pointer at its place: the
// options tick, Install opens the browser for the browse entry, the link
// shows its status text and Cancel ends the program. A scale is a Wine
// session's (Wine 10 fixes the monitor's DPI when the session starts): each
// case runs in the session at its scale, as CTest's e2e_at_<dpi> starts it,
// and is passed over in the others.
class SkinnedDialogAtScale : public ::testing::TestWithParam<UINT> {};

TEST_P(SkinnedDialogAtScale, IsTheArtworksSizeWithEveryControlInPlaceAndAtWork) {
    if (SessionDpi() != GetParam()) GTEST_SKIP() << "runs in the session at its scale";
    SkinnedSetup setup(GetParam());
    const Look& at = setup.at;
    ASSERT_TRUE(setup.Open());
    // The pointer over the dialog but no control: no status text.
    ASSERT_TRUE(PointAt(setup.dialog, at.S(kNowhere).x, at.S(kNowhere).y));
    ASSERT_TRUE(setup.WaitForStartLook(true, true, true));

    ScreenReader reader(setup.dialog);
    ASSERT_TRUE(reader.Connected());
    const Artwork& art = Art(at.dpi);
    struct Place {
        const char* name;
        POINT corner;
        int width, height;  // 0: a text's, not checked
    } places[] = {
        {"Cancel", at.cancel, art.cancel.width + at.S(1), art.cancel.height + at.S(1)},
        {"Install", at.install, art.install.width + at.S(1), art.install.height + at.S(1)},
        {kLinkName, at.S({300, 20}), 0, at.S(13)},
        {kPluginOption, at.pluginCell, 0, at.S(13)},
        {kPresetsOption, at.presetsCell, 0, at.S(13)},
        {"Select folder where setup will install files:", {at.S(20), at.promptTop}, 0, at.S(13)},
    };
    for (const Place& place : places) {
        SCOPED_TRACE(place.name);
        RECT bounds = setup.ClientBounds(reader, reader.ChildNamed(place.name));
        EXPECT_EQ(place.corner.x, bounds.left);
        EXPECT_EQ(place.corner.y, bounds.top);
        EXPECT_TRUE(!place.width || place.width == bounds.right - bounds.left);
        // A text is as high as its font's cells, which the system decides.
        EXPECT_NEAR(place.height, bounds.bottom - bounds.top, 1);
    }
    ASSERT_TRUE(BringToFront(setup.dialog));
    ASSERT_TRUE(setup.WaitForFocusOn(reader, ""));
    ASSERT_TRUE(TypeKey(VK_TAB));
    ASSERT_TRUE(setup.WaitForFocusOn(reader, "Install"));
    EXPECT_TRUE(setup.WaitForStartLook(true, true, true,
                                       setup.ClientBounds(reader, reader.ChildNamed("Install"))));

    ASSERT_TRUE(setup.ClickCell(at.pluginCell));
    ASSERT_TRUE(setup.ClickCell(at.presetsCell));
    ASSERT_TRUE(setup.WaitForStartLook(false, false, false));
    ASSERT_TRUE(setup.ClickCell(at.presetsCell));
    ASSERT_TRUE(setup.WaitForStartLook(false, true, true));
    ASSERT_TRUE(setup.HoverOver({at.S(320), at.S(26)}));

    // Install with the browse entry selected: the folder browser.
    HWND list = GetDlgItem(setup.dialog, IDC_FOLDER_LIST);
    SendMessageW(list, CB_SETCURSEL, ListEntries(setup.dialog).size() - 1, 0);
    ASSERT_TRUE(setup.ClickOn({at.install.x + at.S(30), at.install.y + at.S(9)}));
    HWND browser = setup.OtherDialog(kStartTimeout);
    ASSERT_NE(nullptr, browser);
    ASSERT_TRUE(BringToFront(browser));
    ASSERT_TRUE(TypeKey(VK_ESCAPE));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(browser); }, kStartTimeout));

    ASSERT_TRUE(setup.ClickOn({at.cancel.x + at.S(29), at.cancel.y + at.S(9)}));
    EXPECT_EQ(0, setup.ExitCode(kStartTimeout));
}

INSTANTIATE_TEST_SUITE_P(Dpi, SkinnedDialogAtScale, ::testing::Values(96u, 144u, 192u));

const char kMakerKey[] = "Software\\Vantorel";
const char kPresetsKey[] = "Software\\Vantorel\\PastelCraft";
constexpr int kPresetSlots = 12;
constexpr int kPresetSlotSize = 64;

std::string PresetName(int slot) {
    char name[16];
    snprintf(name, sizeof name, "Portrait%02d", slot);
    return name;
}

// An installation through the dialog into a folder of its own, which the
// program finds through a plug-in folder value in a key of the maker. The
// maker's key starts empty in both hives (earlier presets would hide whether
// this installation wrote any) and is put back as it was.
class SkinnedInstall : public ::testing::Test {
  protected:
    SkinnedInstall()
        : userKey_(HKEY_CURRENT_USER, kMakerKey, RegistryRestorer::Removed),
          machineKey_(HKEY_LOCAL_MACHINE, kMakerKey, RegistryRestorer::Removed),
          vendorKey_(kMakerKey) {
        SetStringValue(HKEY_CURRENT_USER, vendorKey_.Path(), "PlugInFolder", folder_.Path());
    }

    // The program offers the folder with the maker's folder added.
    std::string Destination() const { return folder_.Path() + "Vantorel\\"; }

    // Starts the program, selects the folder, unticks what is not wanted,
    // clicks the install button and waits for the completed look.
    void Install(bool plugin, bool presets) {
        setup_.reset(new SkinnedSetup);
        SkinnedSetup& setup = *setup_;
        ASSERT_TRUE(setup.Open());
        ASSERT_TRUE(setup.WaitForStartLook(true, true, true));
        ASSERT_TRUE(SelectListEntry(setup.dialog, Destination())) << Destination();
        if (!plugin) {
            ASSERT_TRUE(setup.ClickCell(kPluginCell));
        }
        if (!presets) {
            ASSERT_TRUE(setup.ClickCell(kPresetsCell));
        }
        ASSERT_TRUE(setup.WaitForStartLook(plugin, presets, true));
        ASSERT_TRUE(setup.ClickOn(kOverInstall));
        ASSERT_TRUE(setup.WaitForCompletedLook());
    }

    // What the installation left: the texture file always, the plug-in file
    // and the presets (in both hives) as chosen, and nothing else.
    void ExpectInstalled(bool plugin, bool presets) {
        std::vector<std::string> files;
        if (plugin) files.push_back("PastelCraft3.8bf");
        files.push_back("Strokes.8tx");
        EXPECT_EQ(files, FolderNames(Destination()));
        EXPECT_EQ(PayloadBytes("STROKES.8TX"), ReadWholeFile(Destination() + "Strokes.8tx"));
        if (plugin) {
            EXPECT_EQ(PayloadBytes("PASTEL__CRAFT3.8BF"),
                      ReadWholeFile(Destination() + "PastelCraft3.8bf"));
        }

        std::vector<char> block = PayloadBytes("PRESETS__PASTELSBIN");
        ASSERT_EQ(static_cast<size_t>(kPresetSlots * kPresetSlotSize), block.size());
        for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
            for (int slot = 1; slot <= kPresetSlots; ++slot) {
                std::vector<BYTE> data;
                DWORD type = 0;
                bool found = ReadBinaryValue(root, kPresetsKey, PresetName(slot), &data, &type);
                EXPECT_EQ(presets, found) << PresetName(slot);
                if (!found || !presets) continue;
                EXPECT_EQ(static_cast<DWORD>(REG_BINARY), type);
                const char* first = block.data() + (slot - 1) * kPresetSlotSize;
                EXPECT_EQ(std::vector<BYTE>(first, first + kPresetSlotSize), data)
                    << PresetName(slot);
            }
    }

    // Declared in the order of set-up: the restorers see the registry before
    // the test touches it, and the program, started once the key is there,
    // has ended before the folder goes.
    RegistryRestorer userKey_;
    RegistryRestorer machineKey_;
    TempFolder folder_;
    ScratchKey vendorKey_;
    std::unique_ptr<SkinnedSetup> setup_;
};

TEST_F(SkinnedInstall, WithoutThePlugInWritesTextureAndPresetsAndEndsWithTheCloseButton) {
    ASSERT_NO_FATAL_FAILURE(Install(false, true));
    ExpectInstalled(false, true);

    // Only the link and the close button still react to the pointer: on the
    // way from the close button to the picture, an option or the install
    // button, the close button's text goes and no other comes.
    SkinnedSetup& setup = *setup_;
    for (POINT inactive : {POINT{100, 100}, kOverPluginCell, kOverInstall}) {
        ASSERT_TRUE(setup.HoverOver(kOverClose));
        ASSERT_TRUE(PointAt(setup.dialog, inactive.x, inactive.y));
        EXPECT_TRUE(setup.WaitForClearStatus()) << inactive.x << ", " << inactive.y;
    }
    ASSERT_TRUE(setup.HoverOver(kOverLink));
    ASSERT_TRUE(setup.ClickOn(kOverClose));
    EXPECT_EQ(0, setup.ExitCode(kStartTimeout));
}

TEST_F(SkinnedInstall, WithBothOptionsWritesEverythingAndEndsWithEscape) {
    ASSERT_NO_FATAL_FAILURE(Install(true, true));
    ExpectInstalled(true, true);
    PressKey(setup_->dialog, VK_ESCAPE);
    EXPECT_EQ(0, setup_->ExitCode(kStartTimeout));
}

// The keyboard alone: Down moves through every folder one step per press and
// over the browse entry without opening the browser; the opened list's browse
// entry opens it; an option is unticked, Enter installs, and the close button
// has the focus.
TEST_F(SkinnedInstall, KeyboardAloneChoosesUnticksInstallsAndCloses) {
    TempFolder second, third;
    SetStringValue(HKEY_CURRENT_USER, vendorKey_.Path(), "PlugInFolder2", second.Path());
    SetStringValue(HKEY_CURRENT_USER, vendorKey_.Path(), "PlugInFolder3", third.Path());
    setup_.reset(new SkinnedSetup);
    SkinnedSetup& setup = *setup_;
    ASSERT_TRUE(setup.OpenAtRest());
    ScreenReader reader(setup.dialog);
    ASSERT_TRUE(BringToFront(setup.dialog));
    ASSERT_TRUE(setup.WaitForFocusOn(reader, ""));

    HWND list = GetDlgItem(setup.dialog, IDC_FOLDER_LIST);
    auto selection = [&] { return static_cast<int>(SendMessageW(list, CB_GETCURSEL, 0, 0)); };
    std::vector<std::string> entries = ListEntries(setup.dialog);
    const int last = static_cast<int>(entries.size()) - 1;
    ASSERT_GE(last, 3);
    ASSERT_EQ(0, selection());
    for (int expected = 1; expected <= last + 1; ++expected) {
        ASSERT_TRUE(TypeKey(VK_DOWN));
        int reached = expected > last ? last : expected;
        EXPECT_TRUE(WaitUntil([&] { return selection() == reached; }, kPaintTimeout)) << expected;
        Sleep(100);
        EXPECT_EQ(reached, selection()) << "one step per press";
        EXPECT_EQ(nullptr, setup.OtherDialog(0)) << "no browser while arrowing";
    }

    // The opened list's browse entry, picked with Enter, opens the browser;
    // Escape there goes back to the first entry.
    ASSERT_TRUE(TypeKey(VK_F4));
    ASSERT_TRUE(WaitUntil([&] { return SendMessageW(list, CB_GETDROPPEDSTATE, 0, 0) != 0; },
                          kPaintTimeout));
    ASSERT_TRUE(TypeKey(VK_RETURN));
    HWND browser = setup.OtherDialog(kStartTimeout);
    ASSERT_NE(nullptr, browser);
    ASSERT_TRUE(BringToFront(browser));
    ASSERT_TRUE(TypeKey(VK_ESCAPE));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(browser); }, kStartTimeout));
    // The program goes back to the entry once the browser has gone.
    EXPECT_TRUE(WaitUntil([&] { return selection() == 0; }, kPaintTimeout)) << selection();

    // Up and down to the test's folder, Tab to the plug-in, Space unticks it,
    // Enter installs.
    ASSERT_TRUE(BringToFront(setup.dialog));
    ASSERT_TRUE(setup.WaitForFocusOn(reader, ""));
    int destination = 0;
    while (destination < last && lstrcmpiA(entries[destination].c_str(), Destination().c_str()))
        ++destination;
    ASSERT_LT(destination, last) << Destination();
    for (int step = 0; step < destination; ++step) ASSERT_TRUE(TypeKey(VK_DOWN));
    ASSERT_TRUE(WaitUntil([&] { return selection() == destination; }, kPaintTimeout));
    for (int back = 0; back < 2; ++back) ASSERT_TRUE(TypeKey(VK_TAB, true));
    ASSERT_TRUE(setup.WaitForFocusOn(reader, kPluginOption));
    ASSERT_TRUE(TypeKey(VK_SPACE));
    RECT plugin = setup.ClientBounds(reader, reader.ChildNamed(kPluginOption));
    ASSERT_TRUE(setup.WaitForStartLook(false, true, true, plugin));
    ASSERT_TRUE(TypeKey(VK_RETURN));
    ASSERT_TRUE(setup.WaitForCompletedLook(true));
    ExpectInstalled(false, true);

    // Completed: the close button has the focus, the link is the only other
    // stop, and Down reaches no list and opens no browser.
    EXPECT_TRUE(setup.WaitForFocusOn(reader, "Close"));
    for (const char* focused : {kLinkName, "Close"}) {
        ASSERT_TRUE(TypeKey(VK_TAB));
        EXPECT_TRUE(setup.WaitForFocusOn(reader, focused));
    }
    ASSERT_TRUE(TypeKey(VK_DOWN));
    Sleep(200);
    EXPECT_EQ(nullptr, setup.OtherDialog(0));
    ASSERT_TRUE(setup.WaitForCompletedLook(true));

    ASSERT_TRUE(TypeKey(VK_RETURN));
    EXPECT_EQ(0, setup.ExitCode(kStartTimeout));
}

TEST_F(SkinnedInstall, WithoutPresetsWritesBothFilesOnlyAndEndsWithEnter) {
    ASSERT_NO_FATAL_FAILURE(Install(true, false));
    ExpectInstalled(true, false);
    PressKey(setup_->dialog, VK_RETURN);
    EXPECT_EQ(0, setup_->ExitCode(kStartTimeout));
}

}  // namespace
