#include <gtest/gtest.h>

#include "common/code_page_text.h"
#include "discovery/gimp_settings.h"
#include "discovery/host_probe.h"
#include "discovery/psfilterpdn_settings.h"
#include "discovery/settings_file.h"
#include "discovery_fixture.h"

namespace {

TEST(ProbeHostFolder, KeepsTheFolderOfADrivePathInAString) {
    ScratchKey key("software");
    const struct {
        const char* data;
        DWORD type;
        const char* folder;
    } cases[] = {
        {"C:\\Apps\\Fw\\Fireworks.exe", REG_SZ, "C:\\Apps\\Fw\\"},
        {"\"C:\\Apps\\Pi\\Iedit.exe\" \"%1\"", REG_SZ, "C:\\Apps\\Pi\\"},
        // A command line is cut at its last backslash, arguments included.
        {"C:\\Apps\\Pi\\Iedit.exe /p D:\\Pics\\%1", REG_SZ,
         "C:\\Apps\\Pi\\Iedit.exe /p D:\\Pics\\"},
        {"\\\\server\\apps\\host.exe", REG_SZ, nullptr},
        {"host.exe", REG_SZ, nullptr},
        {"", REG_SZ, nullptr},
        {"C:\\Apps\\Host.exe", REG_EXPAND_SZ, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.data);
        SetStringValue(HKEY_CURRENT_USER, key / "host.exe", "", c.data, c.type);
        char folder[kPathSize] = "unchanged";
        const char* found =
            ProbeHostFolder(HKEY_CURRENT_USER, key.Path().c_str(), "host.exe", folder);
        EXPECT_EQ(c.folder ? folder : nullptr, found);
        EXPECT_STREQ(c.folder ? c.folder : "unchanged", folder);
    }
    char folder[kPathSize] = "unchanged";
    EXPECT_EQ(nullptr, ProbeHostFolder(HKEY_CURRENT_USER, key.Path().c_str(), "missing", folder));
    EXPECT_STREQ("unchanged", folder);
}

// `text` as the host writes it: in the system's legacy code page.
std::string InLegacyCodePage(const std::string& text) {
    DWORD legacy = 0;
    GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                   reinterpret_cast<LPWSTR>(&legacy), 2);
    wchar_t wide[MAX_PATH];
    char narrow[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide, MAX_PATH);
    WideCharToMultiByte(legacy, 0, wide, -1, narrow, MAX_PATH, nullptr, nullptr);
    return narrow;
}

class ScanHostSettingsFileTest : public DiscoveryTest {};

// Only the first record whose length byte agrees with its text counts, even
// when its folder is missing.
TEST_F(ScanHostSettingsFileTest, TakesTheFirstWellFormedRecord) {
    std::string first = MakeFolder("first"), second = MakeFolder("second");
    std::string longest = first + "\\" + std::string(249 - first.size() - 1, 'x');
    std::string tooLong = second + "\\" + std::string(250 - second.size() - 1, 'y');
    std::vector<char> cutOff = SettingsRecord(first);
    cutOff.pop_back();
    std::string accented = MakeFolder("Programmes\\Éditeur\\Plug-ins");
    const struct {
        const char* what;
        std::vector<std::vector<char>> records;
        Strings listed;
    } cases[] = {
        {"wrong length byte",
         {SettingsRecord(second, static_cast<int>(second.size()) + 1), SettingsRecord(first)},
         {Canonical(first)}},
        {"250 characters", {SettingsRecord(tooLong), SettingsRecord(longest)}, {Canonical(first)}},
        {"missing folder",
         {SettingsRecord("C:\\pastel-missing-folder"), SettingsRecord(first)},
         {}},
        {"cut off by the end of the file", {cutOff}, {}},
        {"legacy code page",
         {SettingsRecord(InLegacyCodePage(accented))},
         {Canonical(temp.Path()) + "Programmes\\Éditeur\\Plug-Ins\\"}},
    };
    std::string path = temp / "painter.set";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ResetFolderTables();
        // Starts with a marker that heads no record.
        std::vector<char> file{'P', 'S', '\x80', '\x01', '\0', ':', '\\'};
        for (const std::vector<char>& record : c.records)
            file.insert(file.end(), record.begin(), record.end());
        WriteWholeFile(path, file);
        ScanHostSettingsFile(path.c_str());
        EXPECT_EQ(c.listed, Listed());
    }
    ResetFolderTables();
    ScanHostSettingsFile((temp / "missing.set").c_str());
    EXPECT_TRUE(Listed().empty());
}

// The folders in the filter hosts' settings files, which the host holds open:
// each that exists, none from a file not read whole, only drive paths, only
// texts that the program's code page holds. (dr\dr is there for a drive-
// relative dr, taken in the scratch folder, to name one even once dr is current.)
TEST_F(ScanHostSettingsFileTest, OffersTheFoldersInFilterHostsSettings) {
    std::string a = MakeFolder("x&y"), b = MakeFolder("b"), c = MakeFolder("c");
    MakeFolder("dr\\dr");
    // A runic letter, which no legacy code page holds, in a text naming c.
    std::string runic = temp / "\xE1\x9A\xA0\\..\\c";
    auto xml = [](const std::string& items, const char* end = "</PSFilterPdnSettings>") {
        return "<PSFilterPdnSettings><SearchDirectories>" + items + "</SearchDirectories>" + end;
    };
    auto item = [](std::string path) { return "<a:string xmlns:a='a'>" + path + "</a:string>"; };
    auto gimprc = [](std::string text, const char* end = "\")\n# (pspi-path \"C:\\\\\")") {
        for (size_t at = 0; (at = text.find_first_of("\\\"", at)) != std::string::npos; at += 2)
            text.insert(at, "\\");
        return "(pspi-path \"" + text + end;
    };
    std::string tooLong = c + "\\" + std::string(398 - c.size(), 'x');
    const struct {
        const char* what;
        bool xml;
        std::string text;
        Strings listed;
    } cases[] = {
        {"one missing", true, xml(item(temp / "x&amp;y") + item(b + "\\gone")), {Canonical(a)}},
        {"escapes", false, gimprc(a + ";\"" + c + "\";" + b), {Canonical(a), Canonical(b)}},
        {"empty", false, "", {}},
        {"too large", false, gimprc(a) + std::string(kSettingsFileLimit, ' '), {}},
        {"broken XML", true, xml(item(a) + "<x>"), {}},
        {"cut short", true, xml(item(a), ""), {}},
        {"unterminated", false, gimprc(a, ""), {}},
        {"no drive path", false,
         gimprc(tooLong + ";c;\\\\server\\share;" + temp.Path().substr(0, 2) + "dr;" + b),
         {Canonical(b)}},
        {"the last assignment", false, gimprc(b, "\")\n") + gimprc(a), {Canonical(a)}},
        {"nested in a string", true,
         xml(item(a) + "<a:string xmlns:a='a'><n>" + b + "</n></a:string>"), {Canonical(a)}},
        {"outside the code page", false, gimprc(runic),
         TextIsUtf8() ? Strings{Canonical(runic)} : Strings{}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.what);
        ResetFolderTables();
        auto* scan = test.xml ? ScanPsFilterPdnSettings : ScanGimpPspiPath;
        char path[kPathSize];
        CopyText(path, (temp / test.what).c_str());
        scan(path);  // missing
        WriteWholeFile(path, {test.text.begin(), test.text.end()});
        KernelHandle host(
            CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        SetCurrentDirectoryA(temp.Path().c_str());
        scan(path);
        EXPECT_EQ(test.listed, Listed());
    }
    // Once more in a copy of this program without the manifest's request for
    // UTF-8: under the system's legacy code page.
    if (!TextIsUtf8()) return;
    std::string legacy = temp / "legacy.exe";
    ASSERT_TRUE(CopyFileA((OwnFolder() + "test_discovery.exe").c_str(), legacy.c_str(), FALSE));
    char manifest[] = "<assembly xmlns='urn:schemas-microsoft-com:asm.v1' manifestVersion='1.0'>"
                      "<assemblyIdentity type='win32' name='legacy' version='1.0.0.0'/></assembly>";
    HANDLE update = BeginUpdateResourceA(legacy.c_str(), FALSE);
    ASSERT_TRUE(update && UpdateResourceA(update, RT_MANIFEST, MAKEINTRESOURCEA(1),
                                          MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), manifest,
                                          sizeof manifest - 1));
    ASSERT_TRUE(EndUpdateResourceA(update, FALSE));
    ChildProcess run("\"" + legacy + "\" --gtest_filter=*.OffersTheFoldersInFilterHostsSettings");
    EXPECT_EQ(0, run.ExitCode(60000));
}

}  // namespace
