#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "payload/preset_values.h"
#include "support/test_support.h"

namespace {

std::vector<BYTE> Block(int size) {
    std::vector<BYTE> block(size);
    for (int i = 0; i < size; ++i) block[i] = static_cast<BYTE>(i * 7 + i / 64);
    return block;
}

TEST(PresetKinds, FirstMarkerInTheMappedNameDecides) {
    ASSERT_NE(nullptr, FindPresetKind("PresetsPastelsbin"));
    EXPECT_STREQ("Portrait", FindPresetKind("PresetsPastelsbin")->prefix);
    EXPECT_STREQ("Bouquet", FindPresetKind("XPresetsBouquetsbin")->prefix);
    EXPECT_STREQ("Patterns", FindPresetKind("PresetsPatternsbin")->prefix);
    EXPECT_STREQ("Portrait", FindPresetKind("PresetsPatternsbinPresetsPastelsbin")->prefix);
    EXPECT_EQ(nullptr, FindPresetKind("presetspastelsbin"));
    EXPECT_EQ(nullptr, FindPresetKind("Strokes.8tx"));
}

class PresetValues : public ::testing::Test {
  protected:
    ScratchKey key {"Software", {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}};

    std::vector<BYTE> Value(HKEY root, const std::string& name) {
        std::vector<BYTE> data;
        if (!ReadBinaryValue(root, key.Path(), name, &data)) data.clear();
        return data;
    }
};

TEST_F(PresetValues, SixteenSlotsAreNumberedWithTwoDigits) {
    PresetKind kind {"", "Bouquet", 16, 128, key.Path().c_str()};
    std::vector<BYTE> block = Block(2048);
    InstallPresetBlock(kind, block.data(), static_cast<DWORD>(block.size()));
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        EXPECT_EQ(std::vector<BYTE>(block.begin(), block.begin() + 128), Value(root, "Bouquet01"));
        EXPECT_EQ(std::vector<BYTE>(block.begin() + 9 * 128, block.begin() + 10 * 128),
                  Value(root, "Bouquet10"));
        EXPECT_EQ(std::vector<BYTE>(block.end() - 128, block.end()), Value(root, "Bouquet16"));
        EXPECT_TRUE(Value(root, "Bouquet1").empty());
        EXPECT_TRUE(Value(root, "Bouquet17").empty());
    }
}

TEST_F(PresetValues, ShortBlockWritesOnlyItsCompleteSlots) {
    PresetKind kind {"", "Portrait", 12, 64, key.Path().c_str()};
    std::vector<BYTE> block = Block(3 * 64 + 20);
    InstallPresetBlock(kind, block.data(), static_cast<DWORD>(block.size()));
    EXPECT_EQ(std::vector<BYTE>(block.begin() + 128, block.begin() + 192),
              Value(HKEY_CURRENT_USER, "Portrait03"));
    EXPECT_TRUE(Value(HKEY_CURRENT_USER, "Portrait04").empty());
}

TEST_F(PresetValues, InstallingAgainReplacesOwnValuesAndKeepsOthers) {
    SetStringValue(HKEY_CURRENT_USER, key.Path(), "Other", "kept");
    PresetKind kind {"", "Portrait", 12, 64, key.Path().c_str()};
    std::vector<BYTE> first = Block(768);
    InstallPresetBlock(kind, first.data(), 768);
    std::vector<BYTE> second(768, 0x5A);
    InstallPresetBlock(kind, second.data(), 768);
    EXPECT_EQ(std::vector<BYTE>(64, 0x5A), Value(HKEY_CURRENT_USER, "Portrait07"));
    std::vector<BYTE> other = Value(HKEY_CURRENT_USER, "Other");
    EXPECT_EQ("kept", std::string(other.begin(), other.end() - 1));
}

}  // namespace
