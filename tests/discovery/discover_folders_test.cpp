#include <gtest/gtest.h>

#include <list>

#include "app/discover_folders.h"
#include "discovery_fixture.h"

namespace {

class DiscoverFoldersTest : public DiscoveryTest {};

TEST_F(DiscoverFoldersTest, VendorTreesFirstThenTheHostProbesInTheirOrder) {
    const char kPaintNet[] = "SOFTWARE\\Paint.NET";
    const char kAppPath[] =
        "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\fireworks.exe";
    std::string fromPainter = MakeFolder("painter\\plug-ins"),
                fromImageType = MakeFolder("pi\\plugin"), fromAppPath = MakeFolder("fw\\plug-ins"),
                fromAdobe = MakeFolder("adobe"), fromMaker = MakeFolder("maker"),
                fromLine = temp / "fw", fromPlus = temp / "pi", fromBrush = temp / "painter";
    const struct {
        HKEY root;
        const char* key;
        const char* sub;
        const char* name;
        std::string data;
        REGSAM view = 0;
    } values[] = {
        {HKEY_CURRENT_USER, "software\\vantorel", "\\Pastel", "PlugInFolder", fromMaker},
        {HKEY_CURRENT_USER, "software\\adobe", "\\Photoshop\\7.0", "PluginPath", fromAdobe},
        {HKEY_CURRENT_USER, "software\\computerinsel", "\\PhotoLine\\Settings", "PlugInPathNew1",
         fromLine},
        {HKEY_LOCAL_MACHINE, "software\\serif", "\\PhotoPlus\\9.0\\Directories", "PluginRootDir",
         fromPlus},
        {HKEY_CURRENT_USER, "software\\mediachance", "\\Photo-Brush 5\\Plugins", "Path", fromBrush},
        {HKEY_LOCAL_MACHINE, kAppPath, "", "", temp / "fw\\Fireworks.exe"},
        {HKEY_CLASSES_ROOT, "PI3.Image", "\\shell\\open\\command", "",
         "\"" + (temp / "pi\\Iedit.exe") + "\" \"%1\""},
        {HKEY_CLASSES_ROOT, "PainterFile", "\\shell\\open\\command", "",
         (temp / "painter\\Painter.exe") + " %1"},
        {HKEY_LOCAL_MACHINE, kPaintNet, "", "TARGETDIR", temp / "pdn"},
        // An install of the other bitness is not this build's to serve.
        {HKEY_LOCAL_MACHINE, kPaintNet, "", "TARGETDIR", temp / "other", kOtherView},
    };
    // Each key starts empty, whatever the prefix held (the maker's key in the
    // machine too), and is put back after.
    std::list<RegistryRestorer> restorers;
    restorers.emplace_back(HKEY_LOCAL_MACHINE, "software\\vantorel", RegistryRestorer::Removed);
    for (const auto& value : values) {
        restorers.emplace_back(value.root, value.key, RegistryRestorer::Removed, value.view);
        SetStringValue(value.root, value.key + std::string(value.sub), value.name, value.data,
                       REG_SZ, value.view);
    }
    WriteWholeFile(temp / "painter\\painter.set", SettingsRecord(fromPainter));
    const Strings found{Canonical(fromMaker),     Canonical(fromAdobe),  Canonical(fromLine),
                        Canonical(fromPlus),      Canonical(fromBrush),  Canonical(fromAppPath),
                        Canonical(fromImageType), Canonical(fromPainter)};

    // Then the documented folders, each only when that exact folder exists.
    auto discovered = [this] {
        ResetFolderTables();
        char pathBuffer[kPathSize] = "";
        DiscoverFolders(pathBuffer);
        return Listed();
    };
    std::string effects = MakeFolder("pdn\\Effects");
    MakeFolder("other\\Effects");
    // Documents in a scratch folder: Wine's is a link into the Unix home.
    const std::string kShell = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
    RegistryRestorer shell{HKEY_CURRENT_USER, kShell};
    SetStringValue(HKEY_CURRENT_USER, kShell + "\\User Shell Folders", "Personal", temp.Path());
    // Affinity loads 64-bit plug-ins only: the 32-bit build leaves it out.
    const bool kAffinity = sizeof(void*) == 8;
    Strings expected = found;
    {
        MadeFolder shared(CSIDL_PROGRAM_FILES_COMMON, "Adobe\\Plug-Ins\\CC"),
            affinity(CSIDL_COMMON_APPDATA, "Affinity\\Photo\\1.0\\Plugins"),
            affinity2(CSIDL_APPDATA, "Affinity\\Photo\\2.0\\Plugins"),
            affinity3(CSIDL_PROFILE, ".affinity\\Affinity\\3.0\\Plugins");
        std::string store = MakeFolder("paint.net App Files\\Effects");
        for (const std::string& folder : {shared.Path(), effects})
            expected.push_back(Canonical(folder));
        for (const std::string& folder : {affinity.Path(), affinity2.Path(), affinity3.Path()})
            if (kAffinity) expected.push_back(Canonical(folder));
        expected.push_back(Canonical(store));
        EXPECT_EQ(expected, discovered());
        // Without TARGETDIR, not the Effects folder below the previous probe's.
        MadeFolder nested(CSIDL_PROGRAM_FILES_COMMON, "Adobe\\Plug-Ins\\CC\\Effects");
        RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kPaintNet, "TARGETDIR");
        expected.erase(expected.begin() + found.size() + 1);
        EXPECT_EQ(expected, discovered());
        RemoveTree(store);
    }
    // Of a missing one nothing, not even the folder above it.
    SetStringValue(HKEY_LOCAL_MACHINE, kPaintNet, "TARGETDIR", temp / "pdn");
    RemoveTree(effects);
    MadeFolder adobe(CSIDL_PROGRAM_FILES_COMMON, "Adobe\\Plug-Ins"),
        affinity(CSIDL_COMMON_APPDATA, "Affinity\\Photo\\1.0"),
        affinity2(CSIDL_APPDATA, "Affinity\\Photo\\2.0"),
        affinity3(CSIDL_PROFILE, ".affinity\\Affinity\\3.0");
    MakeFolder("paint.net App Files");
    EXPECT_EQ(found, discovered());
}

}  // namespace
