#include <gtest/gtest.h>

#include "discovery_fixture.h"

namespace {

// Passes `path` to AddCandidateFolder through a path-sized buffer.
void Offer(const std::string& path) {
    char buffer[kPathSize];
    ASSERT_TRUE(CopyText(buffer, path.c_str())) << path;
    AddCandidateFolder(buffer);
}

class AddCandidateFolderTest : public DiscoveryTest {};

TEST_F(AddCandidateFolderTest, ListsAnExistingFolderInCanonicalForm) {
    const struct {
        const char* offered;
        const char* listed;
        int flag;
    } cases[] = {
        {"Program Files\\ADOBE\\Photoshop 6.0\\PLUG-INS",
         "Program Files\\Adobe\\Photoshop 6.0\\Plug-Ins\\", 1},
        // A folder inside the maker's folder, or one named alike, stands for
        // the folder holding it.
        {"host\\plug-ins\\Vantorel\\Filters", "Host\\Plug-Ins\\", 1},
        {"other\\vantage\\plug-ins\\", "Other\\", 1},
        // Only the first "vant" counts, and here it follows a letter.
        {"servant\\vantorel", "Servant\\Vantorel\\", 1},
        {"iGrafx Designer\\Plugins", "Igrafx Designer\\Plugins\\", 0},
        // The platform trims the dot and space; the folder on disk has none.
        {"odd\\plug-ins. ", "Odd\\Plug-Ins\\", 1},
        // Any script; a letter after a letter of another script stays small.
        {"Grafik\\插件\\Plug-Ins", "Grafik\\插件\\Plug-Ins\\", 1},
        {"Users\\Зоя\\Plug-Ins", "Users\\Зоя\\Plug-Ins\\", 1},
        {"Bilder\\Müller\\PLUG-INS", "Bilder\\Müller\\Plug-Ins\\", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.offered);
        ResetFolderTables();
        Offer(MakeFolder(c.offered));
        EXPECT_EQ(Strings{Canonical(temp.Path()) + c.listed}, Listed());
        EXPECT_EQ(c.flag, CandidateList[0].flag);
    }
}

TEST_F(AddCandidateFolderTest, ListsEachFolderOnceInAnyLetterCaseAndTwentyAtMost) {
    Strings expected;
    for (int i = 0; i <= kCandidateCapacity; ++i) {
        std::string folder = MakeFolder("host" + std::to_string(i)), upper = folder;
        CharUpperA(&upper[0]);
        for (const std::string& path : {folder, folder + "\\", upper}) Offer(path);
        if (i < kCandidateCapacity) expected.push_back(Canonical(folder));
    }
    EXPECT_EQ(expected, Listed());
}

}  // namespace
