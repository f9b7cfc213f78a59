#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "common/bounded_text.h"
#include "common/handles.h"
#include "payload/payload_install.h"
#include "support/test_support.h"

namespace {

using Strings = std::vector<std::string>;

const char kPresetKey[] = "Software\\Vantorel\\PastelCraft";

// Every test installs into a fresh folder and leaves the preset key and the
// exclusion list as it found them.
class PayloadInstall : public ::testing::Test {
  protected:
    PayloadInstall() {
        ResetFolderTables();
        CopyText(DestinationFolder, folder.Path().c_str());
    }
    ~PayloadInstall() override { ResetFolderTables(); }

    bool Install() { return InstallPayload(GetModuleHandleA(nullptr), &failure); }

    // The files in the folder: the installed ones and any temporary file left.
    size_t FileCount() const { return FolderNames(folder.Path()).size(); }

    RegistryRestorer userKey{HKEY_CURRENT_USER, "Software\\Vantorel", RegistryRestorer::Removed};
    RegistryRestorer machineKey{HKEY_LOCAL_MACHINE, "Software\\Vantorel",
                                RegistryRestorer::Removed};
    TempFolder folder;
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

// A missing folder, a locked file or a read-only file: the file in the way
// stays as it was, and no temporary file is left.
TEST_F(PayloadInstall, TargetThatCannotBeWrittenStaysIntactAndIsReported) {
    std::string target = folder / "PastelCraft3.8bf";
    const std::vector<char> original(1000, 'o');
    for (InstallStep step :
         {InstallStep::CreateTemporary, InstallStep::MoveOverTarget, InstallStep::TargetReadOnly}) {
        SCOPED_TRACE(static_cast<int>(step));
        WriteWholeFile(target, original);
        KernelHandle lock;
        if (step == InstallStep::CreateTemporary)
            CopyText(DestinationFolder, (folder / "missing\\").c_str());
        else if (step == InstallStep::MoveOverTarget)
            lock.Reset(
                CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        else
            SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
        EXPECT_FALSE(Install());
        lock.Reset();
        CopyText(DestinationFolder, folder.Path().c_str());
        EXPECT_EQ(step, failure.step);
        EXPECT_STREQ("PastelCraft3.8bf", failure.file);
        EXPECT_NE(0u, failure.error);
        EXPECT_EQ(original, ReadWholeFile(target));
        EXPECT_EQ(1u, FileCount());
    }
}

TEST_F(PayloadInstall, UnreadableResourceEndsThePassAndNamesAreLeftAlone) {
    HMODULE module = GetModuleHandleA(nullptr);
    // The platform's texts are not ours to change.
    char name[] = "STROKES.8TX";
    EXPECT_TRUE(InstallPayloadResource(module, nullptr, name, 0));
    EXPECT_STREQ("STROKES.8TX", name);
    char missing[] = "NO_SUCH_RESOURCE";
    EXPECT_FALSE(
        InstallPayloadResource(module, nullptr, missing, reinterpret_cast<LONG_PTR>(&failure)));
    EXPECT_EQ(InstallStep::ReadResource, failure.step);
    EXPECT_STREQ("NO_SUCH_RESOURCE", failure.file);
    // A numbered resource is none of ours and is passed over.
    EXPECT_TRUE(InstallPayloadResource(module, nullptr, MAKEINTRESOURCEA(7), 0));
    // A module without payload has installed nothing, which is no success.
    EXPECT_FALSE(InstallPayload(GetModuleHandleA("kernel32.dll"), &failure));
    EXPECT_EQ(InstallStep::ReadResource, failure.step);
}

}  // namespace
