#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "discovery/registry_read.h"
#include "discovery/vendor_search.h"
#include "discovery_fixture.h"

namespace {

using Strings = std::vector<std::string>;

class SearchVendorKeyTest : public DiscoveryTest {
  protected:
    // A new folder under the scratch folder, and its canonical text.
    std::string Folder(const std::string& name) { return MakeFolder(name); }

    ScratchVendor vendor;
};

// Values are named so that their order by name is the order of creation:
// some registries list values by name, others as they were created.
TEST_F(SearchVendorKeyTest, AcceptsValuesNamedForPlugInsOrInAPlugInKey) {
    std::string a = Folder("a"), b = Folder("b"), c = Folder("c"), d = Folder("d");
    vendor.Set(HKEY_CURRENT_USER, "host", "DIRECTORY2", a);
    vendor.Set(HKEY_CURRENT_USER, "host", "Directory4", Folder("ignored4"));
    vendor.Set(HKEY_CURRENT_USER, "host", "InstallDir", Folder("ignored"));
    vendor.Set(HKEY_CURRENT_USER, "host", "PluginPath", b);
    // Under a key that speaks of plug-ins any name goes, and a file path
    // stands for its folder.
    vendor.Set(HKEY_CURRENT_USER, "host\\Plug-Ins", "Path", c + "\\Filter.8bf");
    vendor.Set(HKEY_CURRENT_USER, "tools", "", d);
    Search(vendor);
    EXPECT_EQ((Strings{Canonical(a), Canonical(b), Canonical(c)}), Listed());
}

TEST_F(SearchVendorKeyTest, KeyPathMustContainThePattern) {
    std::string a = Folder("a");
    vendor.Set(HKEY_CURRENT_USER, "Photoshop 7.0\\Plug-Ins", "Dir", a);
    vendor.Set(HKEY_CURRENT_USER, "ImageReady\\Plug-Ins", "Dir", Folder("b"));
    vendor.Set(HKEY_CURRENT_USER, "", "PluginDir", Folder("c"));
    Search(vendor, "photoshop");
    EXPECT_EQ(Strings{Canonical(a)}, Listed());
}

TEST_F(SearchVendorKeyTest, TakesOnlyDrivePathsInStringValues) {
    std::string a = Folder("a");
    vendor.Set(HKEY_CURRENT_USER, "plugins", "quoted", "\"" + a + "\"");
    vendor.Set(HKEY_CURRENT_USER, "plugins", "unc", "\\\\server\\share\\plug-ins");
    vendor.Set(HKEY_CURRENT_USER, "plugins", "relative", "plug-ins\\filters");
    vendor.Set(HKEY_CURRENT_USER, "plugins", "empty", "");
    vendor.Set(HKEY_CURRENT_USER, "plugins", "expand", Folder("expand"), REG_EXPAND_SZ);
    vendor.Set(HKEY_CURRENT_USER, "plugins", "multi", Folder("multi"), REG_MULTI_SZ);
    std::string binary = Folder("binary");
    SetBinaryValue(HKEY_CURRENT_USER, vendor.Key(HKEY_CURRENT_USER, "plugins"), "binary",
                   std::vector<BYTE>(binary.begin(), binary.end()));
    SetBinaryValue(HKEY_CURRENT_USER, vendor.Key(HKEY_CURRENT_USER, "plugins"), "dword",
                   {'C', ':', 0, 0}, REG_DWORD);
    Search(vendor);
    EXPECT_EQ(Strings{Canonical(a)}, Listed());
}

TEST_F(SearchVendorKeyTest, ReadsDataThatLackTheirNul) {
    std::string a = Folder("a");
    std::string b = Folder("b");
    std::string key = vendor.Key(HKEY_CURRENT_USER, "plugins");
    SetBinaryValue(HKEY_CURRENT_USER, key, "1", std::vector<BYTE>(a.begin(), a.end()), REG_SZ);
    // 256 bytes without a NUL fill the buffer the platform is told of; the
    // probe trims the filler back to the folder.
    std::string full = b + "\\" + std::string(256 - b.size() - 1, 'x');
    SetBinaryValue(HKEY_CURRENT_USER, key, "2", std::vector<BYTE>(full.begin(), full.end()),
                   REG_SZ);
    Search(vendor);
    EXPECT_EQ((Strings{Canonical(a), Canonical(b)}), Listed());
}

TEST_F(SearchVendorKeyTest, PassesOverATooLongValueAndGoesOnWithTheNext) {
    std::string a = Folder("a"), b = Folder("b"), c = Folder("c");
    vendor.Set(HKEY_CURRENT_USER, "plugins", "1" + std::string(255, 'n'), Folder("long-name"));
    vendor.Set(HKEY_CURRENT_USER, "plugins", "2-after-long-name", a);
    vendor.Set(HKEY_CURRENT_USER, "plugins", "3" + std::string(16382, 'm'), Folder("longest-name"));
    vendor.Set(HKEY_CURRENT_USER, "plugins", "4-after-longest-name", b);
    vendor.Set(HKEY_CURRENT_USER, "plugins", "5-long-data",
               Folder("d") + "\\" + std::string(300, 'x'));
    vendor.Set(HKEY_CURRENT_USER, "plugins", "6-after-long-data", c);
    Search(vendor);
    EXPECT_EQ((Strings{Canonical(a), Canonical(b), Canonical(c)}), Listed());
    EXPECT_EQ(0u, ValueEnumIndex);
}

TEST_F(SearchVendorKeyTest, ValuesComeBeforeSubkeysAndASubtreeBeforeItsSibling) {
    std::string top = Folder("top"), a = Folder("a"), a1 = Folder("a1"), b = Folder("b");
    vendor.Set(HKEY_CURRENT_USER, "a\\a1", "plugin", a1);
    vendor.Set(HKEY_CURRENT_USER, "b", "plugin", b);
    vendor.Set(HKEY_CURRENT_USER, "a", "plugin", a);
    vendor.Set(HKEY_CURRENT_USER, "", "plugin", top);
    Search(vendor);
    EXPECT_EQ((Strings{Canonical(top), Canonical(a), Canonical(a1), Canonical(b)}), Listed());
}

TEST_F(SearchVendorKeyTest, SearchesTheCurrentUserThenTheMachineThenTheDefaultProfile) {
    std::string user = Folder("user"), machine = Folder("machine"), profile = Folder("profile");
    vendor.Set(HKEY_USERS, "plugins", "dir", profile);
    vendor.Set(HKEY_LOCAL_MACHINE, "plugins", "dir", machine);
    vendor.Set(HKEY_CURRENT_USER, "plugins", "dir", user);
    Search(vendor);
    EXPECT_EQ((Strings{Canonical(user), Canonical(machine), Canonical(profile)}), Listed());
}

TEST_F(SearchVendorKeyTest, LooksAtNoOtherProfileThanTheDefault) {
    std::string other = "pastel-profile-" + std::to_string(GetCurrentProcessId());
    std::string key = other + "\\software\\" + vendor.Name() + "\\plugins";
    SetStringValue(HKEY_USERS, key, "dir", Folder("other"));
    Search(vendor);
    RegDeleteTreeA(HKEY_USERS, other.c_str());
    RegDeleteKeyA(HKEY_USERS, other.c_str());
    EXPECT_TRUE(Listed().empty());
}

TEST_F(SearchVendorKeyTest, ReachesKeysNineteenLevelsDownAndFinishesThePass) {
    std::string deep = "plugins";
    for (int level = 2; level <= 19; ++level) deep += "\\" + std::to_string(level);
    std::string level19 = Folder("level19");
    std::string after = Folder("after");
    vendor.Set(HKEY_CURRENT_USER, deep, "dir", level19);
    vendor.Set(HKEY_CURRENT_USER, deep + "\\20", "dir", Folder("level20"));
    vendor.Set(HKEY_CURRENT_USER, deep + "\\21", "dir", Folder("level20b"));
    vendor.Set(HKEY_CURRENT_USER, "plugins\\z-after", "dir", after);
    Search(vendor);
    EXPECT_EQ((Strings{Canonical(level19), Canonical(after)}), Listed());
}

TEST_F(SearchVendorKeyTest, PassesOverASubkeyWhosePathWouldBeTooLong) {
    // A key path of some 240 characters, then a key name of the greatest
    // length the platform allows: together more than a key path holds.
    std::string parent = "plugins\\" + std::string(200, 'p');
    std::string inParent = Folder("in-parent"), after = Folder("after");
    vendor.Set(HKEY_CURRENT_USER, parent, "dir", inParent);
    std::string parentKey = vendor.Key(HKEY_CURRENT_USER, parent);
    std::wstring longest =
        std::wstring(parentKey.begin(), parentKey.end()) + L"\\" + std::wstring(255, L'k');
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, longest.c_str(), 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &key, nullptr));
    std::string tooLong = Folder("too-long");
    RegSetValueExA(key, "dir", 0, REG_SZ, reinterpret_cast<const BYTE*>(tooLong.c_str()),
                   static_cast<DWORD>(tooLong.size() + 1));
    RegCloseKey(key);
    vendor.Set(HKEY_CURRENT_USER, parent + "\\short", "dir", after);
    Search(vendor);
    EXPECT_EQ((Strings{Canonical(inParent), Canonical(after)}), Listed());
}

TEST_F(SearchVendorKeyTest, MissingVendorAddsNothing) {
    Search(vendor);
    EXPECT_TRUE(Listed().empty());
    EXPECT_EQ(0u, ValueEnumIndex);
}

// Under Wine a key path beyond 260 characters cannot be opened at all, so the
// walk above cannot tell a refused subkey from one that fails to open.
TEST(KeyPathStack, RefusesAPathLongerThanAKeyPathHolds) {
    KeyPathStack stack;
    char path[kPathSize] = "software\\vendor";
    std::string name(kPathSize - 1 - lstrlenA(path) - 1, 'k');
    int32_t index = 3;
    EXPECT_FALSE(stack.Push(path, (name + "k").c_str(), &index));
    EXPECT_STREQ("software\\vendor", path);
    EXPECT_EQ(3, index);
    EXPECT_TRUE(stack.Push(path, name.c_str(), &index));
    EXPECT_EQ(kPathSize - 1, lstrlenA(path));
}

}  // namespace
