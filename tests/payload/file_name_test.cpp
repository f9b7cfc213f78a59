#include <gtest/gtest.h>

#include <string>

#include "common/bounded_text.h"
#include "payload/file_name.h"

namespace {

TEST(MapPayloadFileName, MapsResourceNamesToFileNames) {
    const struct {
        const char* resource;
        const char* file;
    } cases[] = {
        {"PASTEL__CRAFT3.8BF", "PastelCraft3.8bf"},
        {"MY_FILE.TXT", "My File.txt"},
        // Every letter, A and Z at both ends included, is lowered.
        {"ABCDEFGHIJKLM_NOPQRSTUVWXYZ.ZYX", "Abcdefghijklm Nopqrstuvwxyz.zyx"},
        {"DON'T_STOP", "Don't Stop"},
        {"FILE8BIT.DAT", "File8bit.dat"},
        {"FILE7BIT.DAT", "File7Bit.dat"},
        {"NOTE:TWO", "Notetwo"},
        {"a", "A"},
        {"", ""},
        // A double underscore at the very end leaves nothing to capitalise.
        {"AB__", "Ab"},
        {"A___B", "A B"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.resource);
        char name[64];
        CopyText(name, c.resource);
        EXPECT_STREQ(c.file, MapPayloadFileName(name));
    }
}

}  // namespace
