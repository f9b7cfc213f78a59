#include <gtest/gtest.h>

#include <string.h>

#include <functional>
#include <set>

#include "common/handles.h"
#include "discovery/registry_read.h"
#include "discovery/vendor_search.h"
#include "discovery_fixture.h"
#include "support/import_patch.h"

namespace {

// Watches this program's registry opens and closes through its import table:
// runs `beforeOpen` with the last name of each key path about to be opened,
// and keeps the keys opened and not closed since. Changes made by
// `beforeOpen` itself are not watched.
class KeyWatch {
  public:
    explicit KeyWatch(std::function<void(const std::string& name)> beforeOpen)
        : beforeOpen_(std::move(beforeOpen)) {
        current_ = this;
    }
    ~KeyWatch() { current_ = nullptr; }

    bool Hooked() const { return open_.Real<void*>() && close_.Real<void*>(); }
    size_t StillOpen() const { return openKeys_.size(); }

  private:
    static LONG WINAPI Open(HKEY parent, LPCSTR path, DWORD options, REGSAM access, PHKEY key) {
        KeyWatch& watch = *current_;
        bool watched = !watch.changing_;
        if (watched) {
            std::string name = path ? path : "";
            watch.changing_ = true;
            watch.beforeOpen_(name.substr(name.rfind('\\') + 1));
            watch.changing_ = false;
        }
        LONG status =
            watch.open_.Real<decltype(&RegOpenKeyExA)>()(parent, path, options, access, key);
        if (watched && status == ERROR_SUCCESS) watch.openKeys_.insert(*key);
        return status;
    }
    static LONG WINAPI Close(HKEY key) {
        current_->openKeys_.erase(key);
        return current_->close_.Real<decltype(&RegCloseKey)>()(key);
    }

    static KeyWatch* current_;
    std::function<void(const std::string& name)> beforeOpen_;
    bool changing_ = false;
    std::set<HKEY> openKeys_;
    ImportPatch open_{"advapi32.dll", "RegOpenKeyExA", reinterpret_cast<void*>(Open)};
    ImportPatch close_{"advapi32.dll", "RegCloseKey", reinterpret_cast<void*>(Close)};
};
KeyWatch* KeyWatch::current_;

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
    // At the limit, 256 characters with the NUL, and one over it; the probe
    // trims the filler back to each one's own folder.
    auto filled = [](const std::string& folder, size_t length) {
        return folder + "\\" + std::string(length - folder.size() - 2, 'x');
    };
    Set("plugins", "7-one-over", filled(MakeFolder("one-over"), 257));
    std::string limit = MakeFolder("limit");
    Set("plugins", "8-at-limit", filled(limit, 256));
    // Long in bytes but within 256 characters: names in another script.
    std::string wide = MakeFolder(Repeat("插", 80));
    Set("plugins\\" + Repeat("件", 100), "7-wide", wide);
    Search();
    EXPECT_EQ(
        (Strings{Canonical(a), Canonical(b), Canonical(c), Canonical(limit), Canonical(wide)}),
        Listed());
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

// Subkeys of a key that go or come while the walk is among them, the change
// made just before the walk opens a given subkey. The walk reads a key's
// subkeys up to the count the key had on opening and no further, ends them
// when one is missing, and leaves no key open.
TEST_F(SearchVendorKeyTest, EndsSubkeysCleanlyWhenTheyComeOrGoDuringTheWalk) {
    const std::string names[] = {"a", "b", "c", "d"};
    std::string folders[4];
    for (int i = 0; i < 4; ++i) folders[i] = MakeFolder(names[i]);
    auto remove = [&](const std::string& name) {
        EXPECT_EQ(ERROR_SUCCESS, RegDeleteKeyA(HKEY_CURRENT_USER, Key("plugins\\" + name).c_str()));
    };
    int added = 0;
    struct Case {
        const char* what;
        std::function<void(const std::string& opening)> change;
        Strings listed;
        int added;
    };
    const Case cases[] = {
        {"the later subkeys deleted",
         [&](const std::string& opening) {
             if (opening == "b") remove("c"), remove("d");
         },
         {"a", "b"},
         0},
        // d moves into c's place, which the walk has passed.
        {"a subkey deleted as the walk opens it",
         [&](const std::string& opening) {
             if (opening == "c") remove("c");
         },
         {"a", "b"},
         0},
        // A walk that read on until no subkey is left would never end here.
        {"a subkey added at each subkey entered",
         [&](const std::string& opening) {
             if ((opening.size() == 1 || opening[0] == 'z') && added < 40)
                 Set("plugins\\z" + std::to_string(10 + added++), "dir", folders[0]);
         },
         {"a", "b", "c", "d"},
         4},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        for (int i = 0; i < 4; ++i) Set("plugins\\" + names[i], "dir", folders[i]);
        ResetFolderTables();
        added = 0;
        {
            KeyWatch watch(test.change);
            ASSERT_TRUE(watch.Hooked());
            Search();
            EXPECT_EQ(0u, watch.StillOpen());
        }
        Strings expected;
        for (const std::string& name : test.listed) expected.push_back(Canonical(temp / name));
        EXPECT_EQ(expected, Listed());
        EXPECT_EQ(test.added, added);
        RegDeleteTreeA(HKEY_CURRENT_USER, Key("plugins").c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, Key("plugins").c_str());
    }
}

// A key opened below its parent can lie at any depth of path; the 399
// characters of the key path still decide which keys are passed over.
TEST_F(SearchVendorKeyTest, PassesOverAKeyWhosePathIsLongerThanAKeyPathHolds) {
    std::string fits = MakeFolder("fits"), tooLong = MakeFolder("too-long");
    // Built one level at a time: a registry may open no path over 260
    // characters. The path of `last` is 390 characters long.
    std::string plugins = Key("plugins"), middle(200, 'm');
    std::string last(390 - plugins.size() - 1 - middle.size() - 1, 'l');
    RegKey keys[3];
    ASSERT_EQ(ERROR_SUCCESS, keys[0].Create(HKEY_CURRENT_USER, plugins.c_str()));
    ASSERT_EQ(ERROR_SUCCESS, keys[1].Create(keys[0].Get(), middle.c_str()));
    ASSERT_EQ(ERROR_SUCCESS, keys[2].Create(keys[1].Get(), last.c_str()));
    for (const std::string& folder : {fits, tooLong}) {
        // 399 and 400 characters of path.
        RegKey key;
        ASSERT_EQ(ERROR_SUCCESS,
                  key.Create(keys[2].Get(), folder == fits ? "12345678" : "123456789"));
        RegSetValueExA(key.Get(), "dir", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                       static_cast<DWORD>(folder.size() + 1));
    }
    Search();
    EXPECT_EQ(Strings{Canonical(fits)}, Listed());
}

// Under Wine a key path beyond 260 characters cannot be opened at all, so a
// walk cannot tell a refused subkey from one that fails to open.
TEST(KeyPathStack, RefusesAPathLongerThanAKeyPathHolds) {
    KeyPathStack stack;
    char path[kPathSize] = "software\\vendor";
    std::string name(kPathLength - 1 - strlen(path) - 1, 'k');
    int32_t index = 3;
    EXPECT_FALSE(stack.Push(path, (name + "k").c_str(), &index));
    EXPECT_STREQ("software\\vendor", path);
    EXPECT_EQ(3, index);
    EXPECT_TRUE(stack.Push(path, name.c_str(), &index));
    EXPECT_EQ(kPathLength - 1, static_cast<int>(strlen(path)));
    // Characters, not bytes: as many in another script fit too.
    stack.Pop(path);
    EXPECT_TRUE(stack.Push(path, Repeat("я", static_cast<int>(name.size())).c_str(), &index));
}

}  // namespace
