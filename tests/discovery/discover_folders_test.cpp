#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/discover_folders.h"
#include "discovery/candidate_list.h"
#include "discovery_fixture.h"

namespace {

using Strings = std::vector<std::string>;

class DiscoverFoldersTest : public DiscoveryTest {};

TEST_F(DiscoverFoldersTest, VendorTreesFirstThenTheHostProbesInTheirOrder) {
    OwnedKey maker(HKEY_CURRENT_USER, "software\\vantorel");
    OwnedKey adobe(HKEY_CURRENT_USER, "software\\adobe");
    OwnedKey appPath(HKEY_LOCAL_MACHINE,
                     "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\fireworks.exe");
    OwnedKey imageType(HKEY_CLASSES_ROOT, "PI3.Image");
    OwnedKey painterType(HKEY_CLASSES_ROOT, "PainterFile");
    for (const OwnedKey* key : {&maker, &adobe, &appPath, &imageType, &painterType})
        if (key->Existed()) GTEST_SKIP() << "this Wine prefix has a host's key of its own";

    std::string fromPainter = MakeFolder("painter\\plug-ins");
    std::string fromImageType = MakeFolder("pi\\plugin");
    std::string fromAppPath = MakeFolder("fw\\plug-ins");
    std::string fromAdobe = MakeFolder("adobe");
    std::string fromMaker = MakeFolder("maker");
    SetStringValue(HKEY_CURRENT_USER, "software\\adobe\\Photoshop\\7.0", "PluginPath", fromAdobe);
    SetStringValue(HKEY_CURRENT_USER, "software\\vantorel\\Pastel", "PlugInFolder", fromMaker);
    appPath.SetDefault("", temp / "fw\\Fireworks.exe");
    imageType.SetDefault("shell\\open\\command", "\"" + (temp / "pi\\Iedit.exe") + "\" \"%1\"");
    painterType.SetDefault("shell\\open\\command", (temp / "painter\\Painter.exe") + " %1");
    WriteWholeFile(temp / "painter\\painter.set", SettingsRecord(fromPainter));

    char pathBuffer[kPathSize] = "";
    DiscoverFolders(pathBuffer);
    EXPECT_EQ((Strings{Canonical(fromMaker), Canonical(fromAdobe), Canonical(fromAppPath),
                       Canonical(fromImageType), Canonical(fromPainter)}),
              Listed());
}

}  // namespace
