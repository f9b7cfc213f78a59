#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "payload/preset_values.h"
#include "support/test_support.h"

namespace {

// Slot k becomes the value prefix + k in two digits, in both hives; only the
// slots wholly inside the block, and no more than the kind has, are written.
// The machine's values go into this build's own view, where a plug-in of the
// same kind reads them.
TEST(PresetValues, WritesEachCompleteSlotIntoBothHives) {
    ScratchKey key("Software", {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE});
    const PresetKind kind{"", "Bouquet", 16, 128, key.Path().c_str()};
    std::vector<BYTE> block(17 * 128);
    for (size_t i = 0; i < block.size(); ++i) block[i] = static_cast<BYTE>(i * 7 + i / 128);
    auto slot = [&](int k) {
        return std::vector<BYTE>(block.begin() + (k - 1) * 128, block.begin() + k * 128);
    };
    auto value = [&](HKEY root, const std::string& name, REGSAM view = 0) {
        std::vector<BYTE> data;
        return ReadBinaryValue(root, key.Path(), name, &data, nullptr, view) ? data
                                                                             : std::vector<BYTE>();
    };
    const struct {
        DWORD size;
        int lastSlot;
    } cases[] = {{10 * 128 + 20, 10}, {17 * 128, 16}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        InstallPresetBlock(kind, block.data(), c.size);
        for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
            EXPECT_EQ(slot(1), value(root, "Bouquet01"));
            EXPECT_EQ(slot(c.lastSlot), value(root, "Bouquet" + std::to_string(c.lastSlot)));
            EXPECT_TRUE(value(root, "Bouquet" + std::to_string(c.lastSlot + 1)).empty());
            EXPECT_TRUE(value(root, "Bouquet1").empty());
        }
        EXPECT_EQ(slot(1), value(HKEY_LOCAL_MACHINE, "Bouquet01", kOwnView));
        EXPECT_TRUE(value(HKEY_LOCAL_MACHINE, "Bouquet01", kOtherView).empty());
        for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) DeleteKeyTree(root, key.Path());
    }
}

}  // namespace
