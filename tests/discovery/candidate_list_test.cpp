#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "discovery/candidate_list.h"
#include "discovery_fixture.h"

namespace {

using Strings = std::vector<std::string>;

class AddCandidateFolderTest : public DiscoveryTest {};

TEST_F(AddCandidateFolderTest, ListsAnExistingFolderInCanonicalForm) {
    std::string folder = MakeFolder("Program Files\\ADOBE\\Photoshop 6.0\\PLUG-INS");
    Offer(folder);
    std::string expected =
        Canonical(temp.Path()) + "Program Files\\Adobe\\Photoshop 6.0\\Plug-Ins\\";
    EXPECT_EQ(Strings{expected}, Listed());
    EXPECT_EQ(1, FlagOf(expected));
}

TEST_F(AddCandidateFolderTest, CutsBackToTheFolderHoldingTheMakersFolder) {
    MakeFolder("host\\plug-ins\\vantorel\\filters");
    MakeFolder("other\\vantage\\plug-ins");
    MakeFolder("servant\\vantorel");
    Offer(temp / "host\\plug-ins\\Vantorel\\Filters");
    Offer(temp / "other\\vantage\\plug-ins\\");
    // Only the first "vant" counts, and it follows a letter here.
    Offer(temp / "servant\\vantorel");
    std::string base = Canonical(temp.Path());
    EXPECT_EQ((Strings{base + "Host\\Plug-Ins\\", base + "Other\\", base + "Servant\\Vantorel\\"}),
              Listed());
    EXPECT_EQ(1, FlagOf(base + "Host\\Plug-Ins\\"));
}

TEST_F(AddCandidateFolderTest, OffersAnIgrafxFolderWithoutTheMakersFolder) {
    Offer(MakeFolder("iGrafx Designer\\Plugins"));
    std::string expected = Canonical(temp.Path()) + "Igrafx Designer\\Plugins\\";
    EXPECT_EQ(Strings{expected}, Listed());
    EXPECT_EQ(0, FlagOf(expected));
}

TEST_F(AddCandidateFolderTest, ListsAFolderOnceInAnyLetterCase) {
    std::string folder = MakeFolder("host\\plug-ins");
    Offer(folder);
    Offer(folder + "\\");
    std::string upper = folder;
    CharUpperA(&upper[0]);
    Offer(upper);
    EXPECT_EQ(1u, Listed().size());
}

TEST_F(AddCandidateFolderTest, TrimsAMissingLastComponentBackToItsFolder) {
    MakeFolder("host");
    Offer(temp / "host\\plug-ins");
    EXPECT_EQ(Strings{Canonical(temp / "host")}, Listed());
}

TEST_F(AddCandidateFolderTest, DropsAMissingFolderDirectlyUnderADriveRoot) {
    Offer("C:\\pastel-missing-folder");
    Offer("C:\\pastel-missing-folder\\plug-ins");
    Offer("C:\\");
    EXPECT_TRUE(Listed().empty());
}

TEST_F(AddCandidateFolderTest, DropsEveryFolderOnceTwentyAreListed) {
    Strings expected;
    for (int i = 0; i < kCandidateCapacity + 1; ++i) {
        std::string folder = MakeFolder("host" + std::to_string(i));
        Offer(folder);
        if (i < kCandidateCapacity) expected.push_back(Canonical(folder));
    }
    Offer(temp / "host0");
    EXPECT_EQ(expected, Listed());
}

}  // namespace
