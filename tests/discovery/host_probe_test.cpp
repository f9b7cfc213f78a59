#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "discovery/candidate_list.h"
#include "discovery/host_probe.h"
#include "discovery_fixture.h"

namespace {

using Strings = std::vector<std::string>;

class ProbeHostFolderTest : public ::testing::Test {
  protected:
    // The folder found for a default value `data`, or "(none)".
    std::string Probe(const std::string& data, DWORD type = REG_SZ) {
        SetStringValue(HKEY_CURRENT_USER, key / "host.exe", "", data, type);
        char folder[kPathSize] = "unchanged";
        if (!ProbeHostFolder(HKEY_CURRENT_USER, key.Path().c_str(), "host.exe", folder)) {
            EXPECT_STREQ("unchanged", folder);
            return "(none)";
        }
        return folder;
    }

    ScratchKey key{"software"};
};

TEST_F(ProbeHostFolderTest, KeepsTheProgramsFolder) {
    EXPECT_EQ("C:\\Apps\\Fw\\", Probe("C:\\Apps\\Fw\\Fireworks.exe"));
    EXPECT_EQ("C:\\Apps\\Pi\\", Probe("\"C:\\Apps\\Pi\\Iedit.exe\" \"%1\""));
    // A command line is cut at its last backslash, arguments included.
    EXPECT_EQ("C:\\Apps\\Pi\\Iedit.exe /p D:\\Pics\\",
              Probe("C:\\Apps\\Pi\\Iedit.exe /p D:\\Pics\\%1"));
    // The very last character is not looked at.
    EXPECT_EQ("C:\\Apps\\", Probe("C:\\Apps\\Host\\"));
}

TEST_F(ProbeHostFolderTest, FindsNothingButADrivePathInAString) {
    EXPECT_EQ("(none)", Probe("\\\\server\\apps\\host.exe"));
    EXPECT_EQ("(none)", Probe("host.exe"));
    EXPECT_EQ("(none)", Probe(""));
    EXPECT_EQ("(none)", Probe("C:\\Apps\\Host.exe", REG_EXPAND_SZ));
    char folder[kPathSize] = "unchanged";
    EXPECT_EQ(nullptr, ProbeHostFolder(HKEY_CURRENT_USER, key.Path().c_str(), "missing", folder));
    EXPECT_STREQ("unchanged", folder);
}

class ScanHostSettingsFileTest : public DiscoveryTest {
  protected:
    void Scan(const std::vector<std::vector<char>>& parts) {
        std::vector<char> file{'P', 'S', '\x80', '\x01', '\0', ':', '\\'};
        for (const std::vector<char>& part : parts)
            file.insert(file.end(), part.begin(), part.end());
        std::string path = temp / "painter.set";
        WriteWholeFile(path, file);
        ScanHostSettingsFile(path.c_str());
    }
};

TEST_F(ScanHostSettingsFileTest, TakesTheFirstRecordWhoseLengthAgrees) {
    std::string wrong = MakeFolder("wrong"), first = MakeFolder("first"),
                second = MakeFolder("second");
    Scan({SettingsRecord(wrong, static_cast<int>(wrong.size()) + 1), SettingsRecord(first),
          SettingsRecord(second)});
    EXPECT_EQ(Strings{Canonical(first)}, Listed());
}

TEST_F(ScanHostSettingsFileTest, EndsWithTheFirstMatchEvenWhenItsFolderIsMissing) {
    std::string second = MakeFolder("second");
    Scan({SettingsRecord("C:\\pastel-missing-folder"), SettingsRecord(second)});
    EXPECT_TRUE(Listed().empty());
}

TEST_F(ScanHostSettingsFileTest, TakesPathsOfUpTo249Characters) {
    std::string folder = MakeFolder("plug-ins") + "\\";
    std::string longest = folder + std::string(249 - folder.size(), 'x');
    std::string tooLong = folder + std::string(250 - folder.size(), 'y');
    Scan({SettingsRecord(tooLong)});
    EXPECT_TRUE(Listed().empty());
    Scan({SettingsRecord(tooLong), SettingsRecord(longest)});
    EXPECT_EQ(Strings{Canonical(folder)}, Listed());
}

TEST_F(ScanHostSettingsFileTest, RecordCutOffByTheEndOfTheFile) {
    std::vector<char> cut = SettingsRecord(MakeFolder("cut"));
    cut.pop_back();
    Scan({cut});
    EXPECT_TRUE(Listed().empty());
}

TEST_F(ScanHostSettingsFileTest, MissingFileAddsNothing) {
    ScanHostSettingsFile((temp / "missing.set").c_str());
    EXPECT_TRUE(Listed().empty());
}

}  // namespace
