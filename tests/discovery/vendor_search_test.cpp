#include <gtest/gtest.h>

#include <string.h>

#include "discovery/registry_read.h"
#include "discovery/vendor_search.h"
#include "discovery_fixture.h"

namespace {

// A vendor of a name no other test uses, under software\ in the current user
// and the machine and under .default\software\ in HKEY_USERS.
class SearchVendorKeyTest : public DiscoveryTest {
  protected:
    std::string Key(const std::string& sub, HKEY root = HKEY_CURRENT_USER) const {
        return (root == HKEY_USERS ? ".default\\" : "") + vendor.Path() +
               (sub.empty() ? "" : "\\") + sub;
    }
    void Set(const std::string& sub, const std::string& name, const std::string& data,
             DWORD type = REG_SZ, HKEY root = HKEY_CURRENT_USER) const {
        SetStringValue(root, Key(sub, root), name, data, type);
    }
    void Search(const char* pattern = "") const {
        SearchVendorKey("software", vendor.Path().c_str() + strlen("software\\"), pattern);
    }

    ScratchKey vendor{"software", {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}};
    RegistryRestorer defaultProfile{HKEY_USERS, ".default\\" + vendor.Path()};
};

// Values are named so that their order by name is the order of creation:
// some registries list values by name, others as they were created.
TEST_F(SearchVendorKeyTest, TakesValuesNamedForPlugInsInKeysOfThePattern) {
    std::string a = MakeFolder("a"), b = MakeFolder("b"), c = MakeFolder("c");
    Set("", "PluginDir", MakeFolder("outside"));
    Set("ImageReady\\Plug-Ins", "Dir", MakeFolder("other-host"));
    Set("Photoshop", "DIRECTORY2", a);
    Set("Photoshop", "Directory4", MakeFolder("directory4"));
    Set("Photoshop", "InstallDir", MakeFolder("install"));
    Set("Photoshop", "PluginPath", b);
    // Under a key that speaks of plug-ins any name goes, and a file path
    // stands for its folder.
    Set("Photoshop\\Plug-Ins", "Path", c + "\\Filter.8bf");
    Search("photoshop");
    EXPECT_EQ((Strings{Canonical(a), Canonical(b), Canonical(c)}), Listed());
}

TEST_F(SearchVendorKeyTest, TakesOnlyDrivePathsInStringValues) {
    std::string a = MakeFolder("a"), b = MakeFolder("b"), c = MakeFolder("c");
    Set("plugins", "1-quoted", "\"" + a + "\"");
    Set("plugins", "2-unc", "\\\\server\\share\\plug-ins");
    Set("plugins", "3-relative", "plug-ins\\filters");
    Set("plugins", "4-empty", "");
    for (DWORD type : {REG_EXPAND_SZ, REG_MULTI_SZ, REG_BINARY, REG_DWORD})
        Set("plugins", "5-type" + std::to_string(type), MakeFolder(std::to_string(type)), type);
    // Strings without their NUL, one of them filling the 256 bytes the
    // platform is told of; the probe trims the filler back to the folder.
    std::string key = Key("plugins"), full = c + "\\" + std::string(256 - c.size() - 1, 'x');
    SetBinaryValue(HKEY_CURRENT_USER, key, "6-no-nul", {b.begin(), b.end()}, REG_SZ);
    SetBinaryValue(HKEY_CURRENT_USER, key, "7-no-nul-full", {full.begin(), full.end()}, REG_SZ);
    Search();
    EXPECT_EQ((Strings{Canonical(a), Canonical(b), Canonical(c)}), Listed());
}

TEST_F(SearchVendorKeyTest, PassesOverATooLongValueAndGoesOnWithTheNext) {
    std::string a = MakeFolder("a"), b = MakeFolder("b"), c = MakeFolder("c");
    Set("plugins", "1" + std::string(255, 'n'), MakeFolder("long-name"));
    Set("plugins", "2-after-long-name", a);
    Set("plugins", "3" + std::string(16382, 'm'), MakeFolder("longest-name"));
    Set("plugins", "4-after-longest-name", b);
    Set("plugins", "5-long-data", MakeFolder("d") + "\\" + std::string(300, 'x'));
    Set("plugins", "6-after-long-data", c);
    Search();
    EXPECT_EQ((Strings{Canonical(a), Canonical(b), Canonical(c)}), Listed());
    EXPECT_EQ(0u, ValueEnumIndex);
}

// Depth first, each key's values before its subkeys; the current user, then
// the machine, then the default profile and no other.
TEST_F(SearchVendorKeyTest, WalksEachTreeInOrderAcrossTheHives) {
    std::string top = MakeFolder("top"), a = MakeFolder("a"), a1 = MakeFolder("a1"),
                b = MakeFolder("b"), machine = MakeFolder("machine"),
                profile = MakeFolder("profile");
    Set("plugins", "dir", profile, REG_SZ, HKEY_USERS);
    Set("plugins", "dir", machine, REG_SZ, HKEY_LOCAL_MACHINE);
    Set("a\\a1", "plugin", a1);
    Set("b", "plugin", b);
    Set("a", "plugin", a);
    Set("", "plugin", top);
    std::string otherProfile = "pastel-profile-" + std::to_string(GetCurrentProcessId());
    RegistryRestorer other(HKEY_USERS, otherProfile);
    SetStringValue(HKEY_USERS, otherProfile + "\\" + Key("plugins"), "dir", MakeFolder("other"));
    Search();
    EXPECT_EQ((Strings{Canonical(top), Canonical(a), Canonical(a1), Canonical(b),
                       Canonical(machine), Canonical(profile)}),
              Listed());
}

// A 32-bit build finds the editors registered in the 32-bit view of the
// machine's software, the ones that can load a 32-bit plug-in, and a 64-bit
// build those of the 64-bit view.
TEST_F(SearchVendorKeyTest, ReadsTheMachineViewOfItsOwnBuildOnly) {
    std::string own = MakeFolder("own"), other = MakeFolder("other");
    SetStringValue(HKEY_LOCAL_MACHINE, Key("plugins"), "dir", own, REG_SZ, kOwnView);
    SetStringValue(HKEY_LOCAL_MACHINE, Key("plugins"), "dir", other, REG_SZ, kOtherView);
    Search();
    EXPECT_EQ(Strings{Canonical(own)}, Listed());
}

TEST_F(SearchVendorKeyTest, ReachesKeysNineteenLevelsDownAndFinishesThePass) {
    std::string deep = "plugins";
    for (int level = 2; level <= 19; ++level) deep += "\\" + std::to_string(level);
    std::string level19 = MakeFolder("level19"), after = MakeFolder("after");
    Set(deep, "dir", level19);
    Set(deep + "\\20", "dir", MakeFolder("level20"));
    Set(deep + "\\21", "dir", MakeFolder("level20b"));
    Set("plugins\\z-after", "dir", after);
    Search();
    EXPECT_EQ((Strings{Canonical(level19), Canonical(after)}), Listed());
}

// Under Wine a key path beyond 260 characters cannot be opened at all, so a
// walk cannot tell a refused subkey from one that fails to open.
TEST(KeyPathStack, RefusesAPathLongerThanAKeyPathHolds) {
    KeyPathStack stack;
    char path[kPathSize] = "software\\vendor";
    std::string name(kPathSize - 1 - strlen(path) - 1, 'k');
    int32_t index = 3;
    EXPECT_FALSE(stack.Push(path, (name + "k").c_str(), &index));
    EXPECT_STREQ("software\\vendor", path);
    EXPECT_EQ(3, index);
    EXPECT_TRUE(stack.Push(path, name.c_str(), &index));
    EXPECT_EQ(kPathSize - 1, static_cast<int>(strlen(path)));
}

}  // namespace
