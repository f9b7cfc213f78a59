#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "payload/preset_values.h"
#include "support/test_support.h"

namespace {

// Slot k becomes the value prefix + k in two digits; only the slots wholly
// inside the block, and no more than the kind has, are written. Restore puts back an earlier value,
// removes a new one, and removes the key levels that were made for them.
TEST(PresetValues, WritesEachCompleteSlotAndPutsBackWhatWasThere) {
    ScratchKey key("Software", {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE});
    const std::string subkey = key / "Presets";
    const PresetKind kind{"", "Bouquet", 16, 128, subkey.c_str()};
    std::vector<BYTE> block(17 * 128);
    for (size_t i = 0; i < block.size(); ++i) block[i] = static_cast<BYTE>(i * 7 + i / 128);
    auto slot = [&](int k) {
        return std::vector<BYTE>(block.begin() + (k - 1) * 128, block.begin() + k * 128);
    };
    auto value = [&](HKEY root, const std::string& name) {
        std::vector<BYTE> data;
        return ReadBinaryValue(root, subkey, name, &data) ? data : std::vector<BYTE>();
    };
    const std::vector<BYTE> earlier{1, 2, 3};
    const struct {
        DWORD size;
        int lastSlot;
        bool earlierValue;
    } cases[] = {{10 * 128 + 20, 10, false}, {17 * 128, 16, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
            if (c.earlierValue) SetBinaryValue(root, subkey, "Bouquet01", earlier);
            PresetHive hive(root);
            const PresetKind* failed = nullptr;
            ASSERT_EQ(ERROR_SUCCESS, hive.Keep(kind, block.data(), c.size));
            ASSERT_EQ(ERROR_SUCCESS, hive.Write(&failed));
            EXPECT_EQ(slot(1), value(root, "Bouquet01"));
            EXPECT_EQ(slot(c.lastSlot), value(root, "Bouquet" + std::to_string(c.lastSlot)));
            EXPECT_TRUE(value(root, "Bouquet" + std::to_string(c.lastSlot + 1)).empty());
            EXPECT_TRUE(value(root, "Bouquet1").empty());

            EXPECT_TRUE(hive.Restore());
            EXPECT_EQ(c.earlierValue, KeyExists(root, key.Path()));
            EXPECT_EQ(c.earlierValue ? earlier : std::vector<BYTE>(), value(root, "Bouquet01"));
            EXPECT_TRUE(value(root, "Bouquet02").empty());
        }
    }
}

}  // namespace
