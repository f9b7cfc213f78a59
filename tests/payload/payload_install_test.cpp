#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "payload/payload_install.h"
#include "support/test_support.h"

namespace {

const char kPresetKey[] = "Software\\Vantorel\\PastelCraft";

std::string PresetName(int slot) {
    char name[16];
    wsprintfA(name, "Portrait%02d", slot);
    return name;
}

// Every test installs into a fresh folder and leaves the preset key and the
// exclusion list as it found them.
class PayloadInstall : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetFolderTables();
        lstrcpynA(DestinationFolder, folder.Path().c_str(), kPathSize);
    }
    void TearDown() override { ResetFolderTables(); }

    bool Install() { return InstallPayload(GetModuleHandleA(nullptr), &failure); }

    RegistryRestorer userKey {HKEY_CURRENT_USER, "Software\\Vantorel"};
    RegistryRestorer machineKey {HKEY_LOCAL_MACHINE, "Software\\Vantorel"};
    TempFolder folder;
    InstallFailure failure;
};

TEST_F(PayloadInstall, WritesFilesByteForByteAndPresetsIntoBothHives) {
    ASSERT_TRUE(Install());
    EXPECT_EQ(InstallStep::None, failure.step);

    EXPECT_EQ(PayloadBytes("PASTEL__CRAFT3.8BF"), ReadWholeFile(folder / "PastelCraft3.8bf"));
    EXPECT_EQ(PayloadBytes("STROKES.8TX"), ReadWholeFile(folder / "Strokes.8tx"));
    EXPECT_EQ(1306624u, ReadWholeFile(folder / "PastelCraft3.8bf").size());
    EXPECT_EQ(534975u, ReadWholeFile(folder / "Strokes.8tx").size());
    // The preset block is no file, and no temporary file is left behind.
    EXPECT_EQ(2u, FolderNames(folder.Path()).size());

    std::vector<char> block = PayloadBytes("PRESETS__PASTELSBIN");
    ASSERT_EQ(768u, block.size());
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        for (int slot = 1; slot <= 12; ++slot) {
            std::vector<BYTE> data;
            DWORD type = 0;
            ASSERT_TRUE(ReadBinaryValue(root, kPresetKey, PresetName(slot), &data, &type))
                << PresetName(slot);
            EXPECT_EQ(static_cast<DWORD>(REG_BINARY), type);
            std::vector<BYTE> expected(block.begin() + (slot - 1) * 64, block.begin() + slot * 64);
            EXPECT_EQ(expected, data) << PresetName(slot);
        }
        std::vector<BYTE> data;
        EXPECT_FALSE(ReadBinaryValue(root, kPresetKey, "Portrait13", &data));
    }
}

TEST_F(PayloadInstall, ReplacesExistingFilesWhole) {
    WriteWholeFile(folder / "Strokes.8tx", std::vector<char>(2000000, 'x'));
    ASSERT_TRUE(Install());
    EXPECT_EQ(PayloadBytes("STROKES.8TX"), ReadWholeFile(folder / "Strokes.8tx"));
}

TEST_F(PayloadInstall, UntickedOptionsKeepTheirPayloadOut) {
    AddExclusion("PastelCraft");
    ASSERT_TRUE(Install());
    EXPECT_FALSE(FileExists(folder / "PastelCraft3.8bf"));
    EXPECT_TRUE(FileExists(folder / "Strokes.8tx"));
    std::vector<BYTE> data;
    EXPECT_TRUE(ReadBinaryValue(HKEY_CURRENT_USER, kPresetKey, "Portrait01", &data));
}

TEST_F(PayloadInstall, UntickedPresetsWriteNoValuesAndNoFile) {
    AddExclusion("PresetsPastels");
    ASSERT_TRUE(Install());
    EXPECT_TRUE(FileExists(folder / "PastelCraft3.8bf"));
    EXPECT_FALSE(FileExists(folder / "PresetsPastelsbin"));
    std::vector<BYTE> data;
    EXPECT_FALSE(ReadBinaryValue(HKEY_CURRENT_USER, kPresetKey, "Portrait01", &data));
    EXPECT_FALSE(ReadBinaryValue(HKEY_LOCAL_MACHINE, kPresetKey, "Portrait01", &data));
}

TEST_F(PayloadInstall, ExclusionsMatchCaseSensitively) {
    AddExclusion("pastelcraft");
    ASSERT_TRUE(Install());
    EXPECT_TRUE(FileExists(folder / "PastelCraft3.8bf"));
}

TEST_F(PayloadInstall, ExclusionListDropsNamesBeyondItsCapacity) {
    for (int i = 0; i < kCandidateCapacity; ++i) AddExclusion("Unrelated");
    AddExclusion("Strokes");
    ASSERT_TRUE(Install());
    EXPECT_TRUE(FileExists(folder / "Strokes.8tx"));
}

TEST_F(PayloadInstall, ReadOnlyTargetStaysIntactAndIsReported) {
    std::vector<char> original(1000, 'o');
    std::string target = folder / "PastelCraft3.8bf";
    WriteWholeFile(target, original);
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);

    EXPECT_FALSE(Install());
    EXPECT_EQ(InstallStep::TargetReadOnly, failure.step);
    EXPECT_STREQ("PastelCraft3.8bf", failure.file);
    EXPECT_NE(0u, failure.error);
    EXPECT_EQ(original, ReadWholeFile(target));
    // Nothing but the untouched file: no temporary file is left.
    EXPECT_EQ(std::vector<std::string>{"PastelCraft3.8bf"}, FolderNames(folder.Path()));
}

TEST_F(PayloadInstall, LockedTargetStaysIntactAndIsReported) {
    std::vector<char> original(1000, 'l');
    std::string target = folder / "PastelCraft3.8bf";
    WriteWholeFile(target, original);
    HANDLE lock = CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);

    EXPECT_FALSE(Install());
    CloseHandle(lock);
    EXPECT_EQ(InstallStep::MoveOverTarget, failure.step);
    EXPECT_EQ(original, ReadWholeFile(target));
    EXPECT_EQ(std::vector<std::string>{"PastelCraft3.8bf"}, FolderNames(folder.Path()));
}

TEST_F(PayloadInstall, MissingFolderIsReported) {
    lstrcpynA(DestinationFolder, (folder / "missing\\").c_str(), kPathSize);
    EXPECT_FALSE(Install());
    EXPECT_EQ(InstallStep::CreateTemporary, failure.step);
    EXPECT_STREQ("PastelCraft3.8bf", failure.file);
}

TEST_F(PayloadInstall, UnreadableResourceEndsThePass) {
    char missing[] = "NO_SUCH_RESOURCE";
    EXPECT_FALSE(InstallPayloadResource(GetModuleHandleA(nullptr), nullptr, missing,
                                        reinterpret_cast<LONG_PTR>(&failure)));
    EXPECT_EQ(InstallStep::ReadResource, failure.step);
    EXPECT_STREQ("NO_SUCH_RESOURCE", failure.file);
    // The platform's text is left as it was.
    EXPECT_STREQ("NO_SUCH_RESOURCE", missing);

    // A numbered resource is none of ours and is passed over.
    EXPECT_TRUE(InstallPayloadResource(GetModuleHandleA(nullptr), nullptr, MAKEINTRESOURCEA(7), 0));
    // A module without payload has installed nothing, which is no success.
    EXPECT_FALSE(InstallPayload(GetModuleHandleA("kernel32.dll"), &failure));
    EXPECT_EQ(InstallStep::ReadResource, failure.step);
}

}  // namespace
