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
#include "e2e/pointer_input.h"
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

bool Inside(const RECT& area, int x, int y) {
    return x >= area.left && x < area.right && y >= area.top && y < area.bottom;
}

// Pixels of the completed look that differ from it, apart from the link and
// the completed lines.
int CompletedLookDifferences(const Pixels& shot) {
    static const Pixels look = CompletedLook();
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

    SkinnedSetup() : ChildProcess(ParkedCommand()) {}

    // Finds the dialog; fails when it did not appear in time.
    ::testing::AssertionResult Open() {
        dialog = Dialog(kStartTimeout);
        if (dialog) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
               << "no dialog; started " << Started() << ", exit code " << ExitCode(0);
    }

    // Takes screenshots of the client area until one satisfies `ready`, for
    // at most kPaintTimeout ms; the last one stays in `shot`.
    bool WaitForScreen(const std::function<bool(const Pixels&)>& ready) {
        return WaitUntil(
            [&] {
                shot = CaptureClient(dialog, kWidth, kHeight);
                return !shot.Empty() && ready(shot);
            },
            kPaintTimeout);
    }

    ::testing::AssertionResult WaitForStartLook(bool pluginTicked, bool presetsTicked,
                                                bool installShown) {
        Pixels look = StartLook(pluginTicked, presetsTicked, installShown);
        std::vector<RECT> areas = StartLookAreas();
        if (WaitForScreen([&](const Pixels& shot) { return Differences(shot, look, areas) == 0; }))
            return ::testing::AssertionSuccess();
        ::testing::AssertionResult failure = ::testing::AssertionFailure();
        failure << "pixels off the artwork, by area:";
        for (const RECT& area : areas) failure << " " << CountDifferences(shot, look, area);
        return failure;
    }

    ::testing::AssertionResult WaitForCompletedLook() {
        auto lines = [](const Pixels& shot) {
            return std::vector<int>{DarkTextPixels(shot, 100), DarkTextPixels(shot, 116),
                                    DarkTextPixels(shot, 132)};
        };
        auto shown = [&](const Pixels& shot) {
            std::vector<int> dark = lines(shot);
            return CompletedLookDifferences(shot) == 0 && dark[0] > 0 && dark[1] > 0 &&
                   dark[2] > 0 && CountColour(shot, kLinkArea, kLinkBlue) > 0;
        };
        if (WaitForScreen(shown)) return ::testing::AssertionSuccess();
        std::vector<int> dark = lines(shot);
        return ::testing::AssertionFailure()
               << "pixels off the artwork: " << CompletedLookDifferences(shot)
               << "; dark pixels of the three lines: " << dark[0] << " " << dark[1] << " "
               << dark[2]
               << "; blue pixels of the link: " << CountColour(shot, kLinkArea, kLinkBlue);
    }

    bool WaitForStatusText() {
        return WaitForScreen([](const Pixels& shot) { return !WhitePixels(shot).empty(); });
    }

    bool WaitForClearStatus() {
        return WaitForScreen([](const Pixels& shot) {
            return CountDifferences(shot, Art().background, kStatusArea) == 0;
        });
    }

    // Points at a control and waits for its status text: the program has
    // then seen the pointer arrive.
    bool HoverOver(POINT point) { return PointAt(dialog, point.x, point.y) && WaitForStatusText(); }

    bool ClickOn(POINT point) { return HoverOver(point) && PressLeftButton(); }

    // Clicks the middle of a check cell, then moves the pointer off it and so
    // clears the option's status text.
    bool ClickCell(POINT cell) {
        return ClickOn({cell.x + kCellSize / 2, cell.y + kCellSize / 2}) &&
               PointAt(dialog, kNowhere.x, kNowhere.y);
    }

    HWND dialog = nullptr;
    Pixels shot;
};

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

    PressKey(setup.dialog, VK_ESCAPE);
    EXPECT_EQ(0, setup.ExitCode(kStartTimeout));
}

TEST(SkinnedDialog, HidesTheInstallButtonWhileNoOptionIsTicked) {
    SkinnedSetup setup;
    ASSERT_TRUE(setup.Open());
    ASSERT_TRUE(setup.WaitForStartLook(true, true, true));

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
    ASSERT_TRUE(setup.ClickCell(kPluginCell));
    ASSERT_TRUE(setup.WaitForStartLook(true, false, true));

    PressKey(setup.dialog, VK_ESCAPE);
    EXPECT_EQ(0, setup.ExitCode(kStartTimeout));
}

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

TEST_F(SkinnedInstall, WithoutPresetsWritesBothFilesOnlyAndEndsWithEnter) {
    ASSERT_NO_FATAL_FAILURE(Install(true, false));
    ExpectInstalled(true, false);
    PressKey(setup_->dialog, VK_RETURN);
    EXPECT_EQ(0, setup_->ExitCode(kStartTimeout));
}

}  // namespace
