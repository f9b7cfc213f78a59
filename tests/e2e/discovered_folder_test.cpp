// A plug-in folder that one of the maker's products recorded in the registry:
// the built setup.exe finds it, offers it, and installs into it on Enter.
// Where HKEY_LOCAL_MACHINE\Software has a 32-bit and a 64-bit view, it reads
// and writes the view of its own build: the 32-bit release finds the editors
// that can load a 32-bit plug-in and writes where such a plug-in reads.
#include <gtest/gtest.h>

#include <ctype.h>
#include <stdio.h>

#include <algorithm>
#include <string>
#include <vector>

#include "setup_exe.h"
#include "support/install_faults.h"

namespace {

const char kMakerKey[] = "Software\\Vantorel";

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    return text;
}

// The list's top-left corner in the dialog's client coordinates.
POINT ListCorner(HWND dialog) {
    RECT place{};
    GetWindowRect(GetDlgItem(dialog, IDC_FOLDER_LIST), &place);
    POINT corner{place.left, place.top};
    ScreenToClient(dialog, &corner);
    return corner;
}

size_t IndexOf(const std::vector<std::string>& entries, const std::string& entry) {
    return static_cast<size_t>(std::find(entries.begin(), entries.end(), entry) - entries.begin());
}

// Enter installs: the program stays open in its completed state, with the
// list out of view, unless it has something to tell.
void InstallOnEnter(const SetupProcess& setup, HWND dialog) {
    PressKey(dialog, VK_RETURN);
    HWND box = nullptr;
    WaitUntil(
        [&] {
            box = setup.Dialog(0, dialog);
            return box || ListCorner(dialog).y == 1000 || setup.ExitCode(0) != -1;
        },
        kStartTimeout);
    ASSERT_EQ(nullptr, box) << MessageBoxText(box);
    ASSERT_EQ(-1, setup.ExitCode(0));
    EXPECT_TRUE(IsWindowVisible(dialog));
    POINT corner = ListCorner(dialog);
    EXPECT_EQ(16, corner.x);
    EXPECT_EQ(1000, corner.y);
}

// The payload's files are in `folder`; the presets went to the registry of
// both hives, not into a file.
void ExpectInstalled(const std::string& folder) {
    EXPECT_EQ((std::vector<std::string>{"PastelCraft3.8bf", "Strokes.8tx"}), FolderNames(folder));
    EXPECT_TRUE(PayloadBytes("PASTEL__CRAFT3.8BF") == ReadWholeFile(folder + "PastelCraft3.8bf"));
    EXPECT_TRUE(PayloadBytes("STROKES.8TX") == ReadWholeFile(folder + "Strokes.8tx"));

    std::vector<char> block = PayloadBytes("PRESETS__PASTELSBIN");
    ASSERT_EQ(12u * 64u, block.size());
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        for (int slot = 1; slot <= 12; ++slot) {
            char name[16];
            snprintf(name, sizeof name, "Portrait%02d", slot);
            std::vector<BYTE> data;
            DWORD type = 0;
            ASSERT_TRUE(ReadBinaryValue(root, kPresetKey, name, &data, &type)) << name;
            EXPECT_EQ(static_cast<DWORD>(REG_BINARY), type) << name;
            EXPECT_EQ(std::vector<BYTE>(block.begin() + (slot - 1) * 64, block.begin() + slot * 64),
                      data)
                << name;
        }
    }
}

TEST(DiscoveredFolder, IsOfferedInCanonicalFormAndInstalledIntoOnEnter) {
    // The maker's key starts empty, in both hives and both machine views, and
    // is put back as it was; the program writes its presets below it.
    RegistryRestorer userKey{HKEY_CURRENT_USER, kMakerKey, RegistryRestorer::Removed};
    RegistryRestorer machineKey{HKEY_LOCAL_MACHINE, kMakerKey, RegistryRestorer::Removed};
    RegistryRestorer otherViewKey{HKEY_LOCAL_MACHINE, kMakerKey, RegistryRestorer::Removed,
                                  kOtherView};
    ScratchKey product{kMakerKey, {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}};
    TempFolder temp;

    // One folder recorded in a value named for plug-ins, another one, of a
    // host that takes no maker's folder, in a key named for them; both in
    // letter cases the program does not list. Then one of each machine view.
    std::string host = temp / "pastel HOST 2.0\\PLUG-ins";
    std::string igrafx = temp / "IGRAFX designer\\plugins";
    std::string ownView = temp / "Own View", otherView = temp / "Other View";
    for (const std::string& folder :
         {temp / "pastel HOST 2.0", host, temp / "IGRAFX designer", igrafx, ownView, otherView})
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << folder;
    SetStringValue(HKEY_CURRENT_USER, product.Path(), "PluginPath",
                   Upper(temp.Path()) + "pastel HOST 2.0\\PLUG-ins");
    SetStringValue(HKEY_CURRENT_USER, product / "Plug-Ins", "Folder", igrafx);
    SetStringValue(HKEY_LOCAL_MACHINE, product.Path(), "PluginPath", ownView, REG_SZ, kOwnView);
    SetStringValue(HKEY_LOCAL_MACHINE, product.Path(), "PluginPath", otherView, REG_SZ, kOtherView);
    // An editor's documented folder, which no registry value names.
    MadeFolder shared(CSIDL_PROGRAM_FILES_COMMON, "Adobe\\Plug-Ins\\CC");
    // Five more hosts. Wine's Documents, a link to the Unix home, is put here.
    const std::string kShell = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
    RegistryRestorer line{HKEY_CURRENT_USER, "Software\\Computerinsel", RegistryRestorer::Removed},
        plus{HKEY_LOCAL_MACHINE, "Software\\Serif", RegistryRestorer::Removed},
        brush{HKEY_CURRENT_USER, "Software\\MediaChance", RegistryRestorer::Removed},
        shell{HKEY_CURRENT_USER, kShell};
    MadeFolder gimp(CSIDL_APPDATA, "GIMP\\2.10"),
        affinity2(CSIDL_APPDATA, "Affinity\\Photo\\2.0\\Plugins"),
        affinity3(CSIDL_PROFILE, ".affinity\\Affinity\\3.0\\Plugins");
    for (const char* name : {"Line", "Plus", "Brush", "Pdn", "Pspi", "paint.net User Files",
                             "paint.net App Files", "paint.net App Files\\Effects"})
        ASSERT_TRUE(CreateDirectoryA((temp / name).c_str(), nullptr)) << name;
    SetStringValue(HKEY_CURRENT_USER, "Software\\Computerinsel\\PhotoLine\\Settings",
                   "PlugInPathNew1", temp / "Line");
    SetStringValue(HKEY_LOCAL_MACHINE, "Software\\Serif\\PhotoPlus\\9.0\\Directories",
                   "PluginRootDir", temp / "Plus");
    SetStringValue(HKEY_CURRENT_USER, "Software\\MediaChance\\Photo-Brush 5\\Plugins", "Path",
                   temp / "Brush");
    SetStringValue(HKEY_CURRENT_USER, kShell + "\\User Shell Folders", "Personal", temp.Path());
    std::string xml = "<PSFilterPdnSettings><SearchDirectories><string>" +
                      temp / "Pdn</string></SearchDirectories></PSFilterPdnSettings>";
    WriteWholeFile(temp / "paint.net User Files\\PSFilterPdn.xml", {xml.begin(), xml.end()});
    std::string rc = "(pspi-path \"";
    for (char c : temp / "Pspi\")") rc += c == '\\' ? "\\\\" : std::string(1, c);
    WriteWholeFile(gimp.Path() + "\\gimprc", {rc.begin(), rc.end()});
    const std::string offered = Canonical(host) + "Vantorel\\";
    const std::string offeredAsIs = Canonical(igrafx);

    SetupProcess setup;
    ASSERT_TRUE(setup.Started()) << SetupExePath();
    HWND dialog = setup.Dialog(kStartTimeout);
    ASSERT_NE(nullptr, dialog);

    // The maker's key comes first, the current user before the machine; a
    // key's values come before its subkeys, the documented folders after
    // every key, and every candidate before the browse entry. The first entry
    // is selected at start.
    std::vector<std::string> expected{offered, offeredAsIs};
    for (const std::string& folder : {ownView, temp / "Line", temp / "Plus", temp / "Brush",
                                      shared.Path(), temp / "Pdn", temp / "Pspi",
                                      affinity2.Path(), affinity3.Path(),
                                      temp / "paint.net App Files\\Effects"})
        expected.push_back(Canonical(folder) + "Vantorel\\");
    // Affinity loads 64-bit plug-ins only.
    if (sizeof(void*) == 4) expected.erase(expected.end() - 3, expected.end() - 1);
    std::vector<std::string> entries = ListEntries(dialog);
    ASSERT_LE(expected.size() + 1, entries.size()) << testing::PrintToString(entries);
    EXPECT_EQ(expected,
              std::vector<std::string>(entries.begin(), entries.begin() + expected.size()));
    EXPECT_EQ(entries.size(), IndexOf(entries, Canonical(otherView) + "Vantorel\\"));
    EXPECT_EQ(kBrowseEntry, entries.back());
    EXPECT_EQ(0, SendMessageW(GetDlgItem(dialog, IDC_FOLDER_LIST), CB_GETCURSEL, 0, 0));

    ASSERT_NO_FATAL_FAILURE(InstallOnEnter(setup, dialog));

    // The maker's folder was created in the host's folder and holds the files.
    EXPECT_EQ(std::vector<std::string>{"Vantorel"}, FolderNames(Canonical(host)));
    ExpectInstalled(offered);
    EXPECT_TRUE(FolderNames(Canonical(igrafx)).empty());
    std::vector<BYTE> data;
    EXPECT_FALSE(
        ReadBinaryValue(HKEY_LOCAL_MACHINE, kPresetKey, "Portrait01", &data, nullptr, kOtherView));

    PressKey(dialog, VK_ESCAPE);
    EXPECT_EQ(0, setup.ExitCode(kStartTimeout));
}

// A folder named in several scripts, as the maker's products record it, is
// offered title-cased and installed into.
TEST(DiscoveredFolder, NamedInAnyScriptIsOfferedAndInstalledInto) {
    RegistryRestorer userKey{HKEY_CURRENT_USER, kMakerKey, RegistryRestorer::Removed};
    RegistryRestorer machineKey{HKEY_LOCAL_MACHINE, kMakerKey, RegistryRestorer::Removed};
    ScratchKey product{kMakerKey};
    TempFolder temp;
    std::string host = temp / "grafik\\插件\\Зоя\\müller\\plug-ins";
    ASSERT_EQ(ERROR_SUCCESS, SHCreateDirectoryExA(nullptr, host.c_str(), nullptr)) << host;
    SetStringValue(HKEY_CURRENT_USER, product.Path(), "PluginPath", host);

    SetupProcess setup;
    HWND dialog = setup.Dialog(kStartTimeout);
    ASSERT_NE(nullptr, dialog);
    std::string offered =
        Canonical(temp.Path()) + "Grafik\\插件\\Зоя\\Müller\\Plug-Ins\\Vantorel\\";
    EXPECT_EQ(offered, ListEntries(dialog).front());
    ASSERT_NO_FATAL_FAILURE(InstallOnEnter(setup, dialog));
    ExpectInstalled(offered);
    PressKey(dialog, VK_ESCAPE);
    EXPECT_EQ(0, setup.ExitCode(kStartTimeout));
}

// A copy that is not as it was built, as a broken download or a faulty build
// leaves it, or a system whose CNG cannot be used: the copy says so and stays
// open; the earlier files and presets stay.
TEST(DiscoveredFolder, DamagedCopyInstallsNothingAndSaysSo) {
    std::vector<char> longDigest = PayloadBytes("PRESETS__PASTELSBIN", RT_PAYLOAD_DIGEST);
    longDigest.push_back(0);
    const struct {
        const char* what;
        bool plugInChanged;
        WORD type;  // of a resource written into the copy, or 0
        const char* name;
        std::vector<char> bytes;
        const char* disabled;  // a DLL that Wine is told not to load for the copy
        const char* said;
    } cases[] = {
        {"a byte of the plug-in", true, 0, nullptr, {}, nullptr,
         "\"PastelCraft3.8bf\" of Setup's own program file is not as it was built.\n\nThe setup "
         "program may be damaged. Please download it again."},
        {"a part without digest", false, RT_PAYLOAD, "EXTRA.TXT", {'x'}, nullptr,
         "\"Extra.txt\" of Setup's own program file is not as it was built."},
        {"a digest too long", false, RT_PAYLOAD_DIGEST, "PRESETS__PASTELSBIN", longDigest, nullptr,
         "\"Additional presets\" of Setup's own program file is not as it was built."},
        {"no CNG", false, 0, nullptr, {}, "bcrypt",
         "Windows' cryptography component (bcrypt.dll) could not be used."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RegistryRestorer userKey{HKEY_CURRENT_USER, kMakerKey, RegistryRestorer::Removed};
        RegistryRestorer machineKey{HKEY_LOCAL_MACHINE, kMakerKey, RegistryRestorer::Removed};
        ScratchKey product{kMakerKey};
        TempFolder temp, program;
        SetStringValue(HKEY_CURRENT_USER, product.Path(), "PluginPath", temp.Path());
        std::string offered = Canonical(temp.Path()) + "Vantorel\\";
        ASSERT_TRUE(CreateDirectoryA(offered.c_str(), nullptr));
        WriteEarlierFiles(offered);
        SetBinaryValue(HKEY_CURRENT_USER, kPresetKey, "Portrait01", {1, 2, 3});
        auto before = InstallState(offered);

        std::vector<char> exe = ReadWholeFile(SetupExePath()),
                          plugIn = PayloadBytes("PASTEL__CRAFT3.8BF");
        auto at = std::search(exe.begin(), exe.end(), plugIn.begin(), plugIn.end());
        ASSERT_NE(exe.end(), at);
        if (c.plugInChanged) at[plugIn.size() / 2] ^= 0x20;
        std::string copy = program / "setup.exe";
        WriteWholeFile(copy, exe);
        if (c.type) {
            // In the language windres gives every resource.
            HANDLE update = BeginUpdateResourceA(copy.c_str(), FALSE);
            ASSERT_TRUE(update && UpdateResourceA(update, MAKEINTRESOURCEA(c.type), c.name,
                                                  MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
                                                  const_cast<char*>(c.bytes.data()),
                                                  static_cast<DWORD>(c.bytes.size())));
            ASSERT_TRUE(EndUpdateResourceA(update, FALSE));
        }
        // Wine's overrides for one program, read when it starts.
        RegistryRestorer overrides{HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\setup.exe",
                                   RegistryRestorer::Removed};
        if (c.disabled)
            SetStringValue(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\setup.exe\\DllOverrides",
                           c.disabled, "");
        ChildProcess setup("\"" + copy + "\"");
        HWND dialog = setup.Dialog(kStartTimeout);
        ASSERT_NE(nullptr, dialog);
        ASSERT_TRUE(SelectListEntry(dialog, offered));
        // The themed controls are loaded for the message, not at start.
        EXPECT_FALSE(setup.HasModule("\\winsxs\\"));
        PressKey(dialog, VK_RETURN);
        HWND box = setup.Dialog(kStartTimeout, dialog);
        EXPECT_TRUE(setup.HasModule("\\winsxs\\"));
        std::string message = MessageBoxText(box);
        EXPECT_NE(std::string::npos, message.find(c.said)) << message;
        EXPECT_EQ(c.disabled == nullptr, message.find("download it again") != std::string::npos);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }, kStartTimeout));
        EXPECT_EQ(before, InstallState(offered));
        EXPECT_NE(1000, ListCorner(dialog).y);
        PressKey(dialog, VK_ESCAPE);
        EXPECT_EQ(0, setup.ExitCode(kStartTimeout));
    }
}

}  // namespace
