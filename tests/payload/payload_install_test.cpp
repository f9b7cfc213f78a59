#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "app/program_holding.h"
#include "common/bounded_text.h"
#include "common/handles.h"
#include "payload/payload_install.h"
#include "payload/staged_file.h"
#include "support/import_patch.h"
#include "support/install_faults.h"
#include "support/test_support.h"

namespace {

using Strings = std::vector<std::string>;

const char kSessionManager[] = "System\\CurrentControlSet\\Control\\Session Manager";

// Counts the installation's cursor changes, which show the wait cursor while
// a hold is waited out (there is no window to show it in).
int CursorChanges;
HCURSOR WINAPI CountCursorChange(HCURSOR) {
    ++CursorChanges;
    return nullptr;
}

// Every test installs into a fresh folder and leaves the preset key and the
// exclusion list as it found them.
class PayloadInstall : public ::testing::Test {
  protected:
    PayloadInstall() {
        ResetFolderTables();
        CopyText(DestinationFolder, folder.Path().c_str());
    }
    ~PayloadInstall() override { ResetFolderTables(); }

    bool Install() {
        bool installed = CollectPayload(GetModuleHandleA(nullptr), &unit) && InstallPayload(&unit);
        failure = unit.failure;
        return installed;
    }

    // The files in the folder: the installed ones and any temporary file left.
    size_t FileCount() const { return FolderNames(folder.Path()).size(); }

    RegistryRestorer userKey{HKEY_CURRENT_USER, "Software\\Vantorel", RegistryRestorer::Removed};
    RegistryRestorer machineKey{HKEY_LOCAL_MACHINE, "Software\\Vantorel",
                                RegistryRestorer::Removed};
    TempFolder folder;
    InstallUnit unit;
    InstallFailure failure;
};

TEST_F(PayloadInstall, ReplacesFilesWholeAndWritesThePresets) {
    WriteWholeFile(folder / "Strokes.8tx", std::vector<char>(2000000, 'x'));
    ASSERT_TRUE(Install());
    EXPECT_EQ(PayloadBytes("PASTEL__CRAFT3.8BF"), ReadWholeFile(folder / "PastelCraft3.8bf"));
    EXPECT_EQ(PayloadBytes("STROKES.8TX"), ReadWholeFile(folder / "Strokes.8tx"));
    // The preset block is no file, and no temporary file is left behind.
    EXPECT_EQ(2u, FileCount());
    std::vector<char> block = PayloadBytes("PRESETS__PASTELSBIN");
    std::vector<BYTE> last;
    EXPECT_TRUE(ReadBinaryValue(HKEY_LOCAL_MACHINE, kPresetKey, "Portrait12", &last));
    EXPECT_EQ(std::vector<BYTE>(block.end() - 64, block.end()), last);
}

// Exclusions match case-sensitively, and the list drops names beyond its
// capacity.
TEST_F(PayloadInstall, UntickedOptionsKeepTheirPayloadOut) {
    Strings overfull(kCandidateCapacity, "Unrelated");
    overfull.push_back("PastelCraft");
    const struct {
        Strings unticked;
        bool plugIn, presets;
    } cases[] = {
        {{"PastelCraft"}, false, true},
        {{"PresetsPastels"}, true, false},
        {{"pastelcraft"}, true, true},
        {overfull, true, true},
    };
    std::string plugIn = folder / "PastelCraft3.8bf";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.unticked.front());
        ResetExclusions();
        for (const std::string& name : c.unticked) AddExclusion(name.c_str());
        ASSERT_TRUE(Install());
        std::vector<BYTE> data;
        EXPECT_EQ(c.plugIn, FileExists(plugIn));
        EXPECT_EQ(c.presets, ReadBinaryValue(HKEY_CURRENT_USER, kPresetKey, "Portrait01", &data));
        DeleteFileA(plugIn.c_str());
        RegDeleteTreeA(HKEY_CURRENT_USER, kPresetKey);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kPresetKey);
    }
}

// The parts install together or not at all: after a failure every file, and
// nothing else, is in the folder as it was, and the presets are as they were
// in both hives. The machine's hive alone refusing is no failure.
TEST_F(PayloadInstall, FaultLeavesFolderAndPresetsAsTheyWere) {
    bool untried = false;
    for (const FaultReport& c : kFaultReports) {
        SCOPED_TRACE(static_cast<int>(c.fault));
        std::unique_ptr<TempFolder> folderForFault = FolderFor(c.fault);
        if (!folderForFault) {
            untried = true;
            continue;
        }
        const TempFolder& place = *folderForFault;
        CopyText(DestinationFolder, place.Path().c_str());
        ArrangedFault fault(c.fault, place.Path());
        auto before = InstallState(place.Path());

        EXPECT_EQ(c.step == InstallStep::None, Install());
        EXPECT_EQ(c.step, failure.step);
        EXPECT_EQ(c.error, failure.error);
        if (c.step != InstallStep::None) {
            EXPECT_STREQ(c.named, failure.file);
            EXPECT_TRUE(failure.putBack);
            EXPECT_EQ(before, InstallState(place.Path()));
            continue;
        }
        // The files and the user's presets are new, the machine's as they
        // were where it refused.
        auto after = InstallState(place.Path());
        for (const char* value : {"HKLM", "HKLM\\Portrait01", "HKLM\\Portrait02"}) {
            if (c.fault == InstallFault::MachineKeyRefused) {
                EXPECT_EQ(before[value], after[value]) << value;
            }
        }
        std::vector<char> block = PayloadBytes("PRESETS__PASTELSBIN");
        std::vector<BYTE> last;
        EXPECT_TRUE(ReadBinaryValue(HKEY_CURRENT_USER, kPresetKey, "Portrait12", &last));
        EXPECT_EQ(std::vector<BYTE>(block.end() - 64, block.end()), last);
        EXPECT_EQ(PayloadBytes("STROKES.8TX"), ReadWholeFile(place / "Strokes.8tx"));
        EXPECT_EQ(2u, FolderNames(place.Path()).size());
        RegDeleteTreeA(HKEY_CURRENT_USER, kPresetKey);
    }
    if (untried) GTEST_SKIP() << kNoSmallDrive;
}

// An install killed midway leaves staged files and backups; the next one
// puts a backup whose target is missing back and removes the rest before it
// starts, so even when it then fails. (When it completes, its files are new
// whatever was recovered.)
TEST_F(PayloadInstall, NextInstallRecoversWhatAnInterruptedOneLeft) {
    for (const char* kept : {".pcs-old", ".pcs-bak"}) {
        SCOPED_TRACE(kept);
        WriteEarlierFiles(folder.Path());
        std::vector<char> earlierTexture = ReadWholeFile(folder / "Strokes.8tx");
        ASSERT_TRUE(
            MoveFileA((folder / "Strokes.8tx").c_str(), (folder / "Strokes.8tx" + kept).c_str()));
        WriteWholeFile(folder / "PastelCraft3.8bf.pcs-new", std::vector<char>(100, 'n'));
        WriteWholeFile(folder / "PastelCraft3.8bf.pcs-old", std::vector<char>(100, 'o'));
        {
            ArrangedFault held(InstallFault::PlugInHeld, folder.Path());
            EXPECT_FALSE(Install());
        }
        EXPECT_EQ(earlierTexture, ReadWholeFile(folder / "Strokes.8tx"));
        EXPECT_EQ((Strings{"PastelCraft3.8bf", "Strokes.8tx"}), FolderNames(folder.Path()));
    }
}

// Whatever was planted at a staged or backup name is removed, never written
// through. Wine has hard links (its symbolic links and junctions are stubs):
// a hard link at the name shares the bytes of the file it points at.
TEST_F(PayloadInstall, LinkPlantedAtAFixedNameIsNotWrittenThrough) {
    TempFolder elsewhere;
    std::string victim = elsewhere / "system.dll";
    const std::vector<char> original(4000, 'v');
    for (const char* planted : {"PastelCraft3.8bf.pcs-new", "Strokes.8tx.pcs-old"}) {
        SCOPED_TRACE(planted);
        WriteEarlierFiles(folder.Path());
        WriteWholeFile(victim, original);
        ASSERT_TRUE(CreateHardLinkA((folder / planted).c_str(), victim.c_str(), nullptr));
        EXPECT_TRUE(Install());
        EXPECT_EQ(original, ReadWholeFile(victim));
        EXPECT_EQ(PayloadBytes("PASTEL__CRAFT3.8BF"), ReadWholeFile(folder / "PastelCraft3.8bf"));
        EXPECT_EQ((Strings{"PastelCraft3.8bf", "Strokes.8tx"}), FolderNames(folder.Path()));
    }
    // Staging itself never writes through a link that is still there.
    WriteWholeFile(victim, original);
    ASSERT_TRUE(CreateHardLinkA((folder / "Strokes.8tx.pcs-new").c_str(), victim.c_str(), nullptr));
    EXPECT_FALSE(StageFile(folder.Path().c_str(), "Strokes.8tx", "new", 3, &failure));
    EXPECT_EQ(original, ReadWholeFile(victim));
    RemoveLeftovers(folder.Path().c_str(), "Strokes.8tx");
    // A folder standing at a staged name is removed as well.
    ASSERT_TRUE(CreateDirectoryA((folder / "Strokes.8tx.pcs-new").c_str(), nullptr));
    EXPECT_TRUE(Install());
    EXPECT_EQ((Strings{"PastelCraft3.8bf", "Strokes.8tx"}), FolderNames(folder.Path()));
}

// A program that has the earlier plug-in loaded keeps it, moved aside under
// the one extra name, however often the install runs meanwhile, which never
// waits for that name; once the program has ended, the next install removes
// the name. (As an administrator the install also has it removed at the next
// restart: taken back here.)
TEST_F(PayloadInstall, PlugInLoadedByAProgramGoesAsideUntilTheProgramEnds) {
    RegistryRestorer pending{HKEY_LOCAL_MACHINE, kSessionManager};
    WriteEarlierFiles(folder.Path());
    {
        ArrangedFault loaded(InstallFault::PlugInLoaded, folder.Path());
        std::vector<char> module = ReadWholeFile(folder / "PastelCraft3.8bf");
        ImportPatch cursor("user32.dll", "SetCursor", reinterpret_cast<void*>(CountCursorChange));
        ASSERT_TRUE(cursor.Real<void*>());
        CursorChanges = 0;
        for (int run = 0; run < 2; ++run) {
            ASSERT_TRUE(Install()) << run;
            EXPECT_EQ(PayloadBytes("PASTEL__CRAFT3.8BF"),
                      ReadWholeFile(folder / "PastelCraft3.8bf"));
            EXPECT_EQ(module, ReadWholeFile(folder / "PastelCraft3.8bf.pcs-old"));
            EXPECT_EQ((Strings{"PastelCraft3.8bf", "PastelCraft3.8bf.pcs-old", "Strokes.8tx"}),
                      FolderNames(folder.Path()));
        }
        EXPECT_EQ(0, CursorChanges);
        std::vector<BYTE> scheduled;
        EXPECT_TRUE(ReadBinaryValue(HKEY_LOCAL_MACHINE, kSessionManager,
                                    "PendingFileRenameOperations", &scheduled));
        // Loaded again by a second program, the plug-in has nowhere to go;
        // the message names the program.
        ArrangedFault again(InstallFault::PlugInLoaded, folder.Path());
        EXPECT_FALSE(Install());
        EXPECT_EQ(InstallStep::ReplaceFile, failure.step);
        char program[64] = "";
        bool isTheFile = false;
        EXPECT_TRUE(
            FindProgramHolding((folder / "PastelCraft3.8bf").c_str(), program, 64, &isTheFile));
        EXPECT_STREQ("Pastel Host Editor", program);
        EXPECT_TRUE(isTheFile);
    }
    ASSERT_TRUE(Install());
    EXPECT_EQ((Strings{"PastelCraft3.8bf", "Strokes.8tx"}), FolderNames(folder.Path()));
}

TEST_F(PayloadInstall, UnreadableResourceEndsThePassAndNamesAreLeftAlone) {
    HMODULE module = GetModuleHandleA(nullptr);
    // The platform's texts are not ours to change.
    char name[] = "STROKES.8TX";
    LONG_PTR collected = reinterpret_cast<LONG_PTR>(&unit);
    EXPECT_TRUE(InstallPayloadResource(module, nullptr, name, collected));
    EXPECT_STREQ("STROKES.8TX", name);
    EXPECT_STREQ("Strokes.8tx", unit.items[0].name);
    char missing[] = "NO_SUCH_RESOURCE";
    EXPECT_FALSE(InstallPayloadResource(module, nullptr, missing, collected));
    EXPECT_EQ(InstallStep::ReadResource, unit.failure.step);
    EXPECT_STREQ("NO_SUCH_RESOURCE", unit.failure.file);
    // A numbered resource is none of ours and is passed over.
    EXPECT_TRUE(InstallPayloadResource(module, nullptr, MAKEINTRESOURCEA(7), collected));
    // A module without payload has nothing to install, which is no success.
    EXPECT_FALSE(CollectPayload(GetModuleHandleA("kernel32.dll"), &unit));
    EXPECT_EQ(InstallStep::ReadResource, unit.failure.step);
}

}  // namespace
