#include <gtest/gtest.h>

#include <list>

#include "app/discover_folders.h"
#include "discovery_fixture.h"

namespace {

class DiscoverFoldersTest : public DiscoveryTest {};

TEST_F(DiscoverFoldersTest, VendorTreesFirstThenTheHostProbesInTheirOrder) {
    const char kAppPath[] =
        "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\fireworks.exe";
    std::string fromPainter = MakeFolder("painter\\plug-ins"),
                fromImageType = MakeFolder("pi\\plugin"), fromAppPath = MakeFolder("fw\\plug-ins"),
                fromAdobe = MakeFolder("adobe"), fromMaker = MakeFolder("maker");
    const struct {
        HKEY root;
        const char* key;
        const char* sub;
        const char* name;
        std::string data;
    } values[] = {
        {HKEY_CURRENT_USER, "software\\vantorel", "\\Pastel", "PlugInFolder", fromMaker},
        {HKEY_CURRENT_USER, "software\\adobe", "\\Photoshop\\7.0", "PluginPath", fromAdobe},
        {HKEY_LOCAL_MACHINE, kAppPath, "", "", temp / "fw\\Fireworks.exe"},
        {HKEY_CLASSES_ROOT, "PI3.Image", "\\shell\\open\\command", "",
         "\"" + (temp / "pi\\Iedit.exe") + "\" \"%1\""},
        {HKEY_CLASSES_ROOT, "PainterFile", "\\shell\\open\\command", "",
         (temp / "painter\\Painter.exe") + " %1"},
    };
    // Each key starts empty, whatever the prefix held (the maker's key in the
    // machine too), and is put back after.
    std::list<RegistryRestorer> restorers;
    restorers.emplace_back(HKEY_LOCAL_MACHINE, "software\\vantorel", RegistryRestorer::Removed);
    for (const auto& value : values) {
        restorers.emplace_back(value.root, value.key, RegistryRestorer::Removed);
        SetStringValue(value.root, value.key + std::string(value.sub), value.name, value.data);
    }
    WriteWholeFile(temp / "painter\\painter.set", SettingsRecord(fromPainter));

    char pathBuffer[kPathSize] = "";
    DiscoverFolders(pathBuffer);
    EXPECT_EQ((Strings{Canonical(fromMaker), Canonical(fromAdobe), Canonical(fromAppPath),
                       Canonical(fromImageType), Canonical(fromPainter)}),
              Listed());
}

}  // namespace
