// The built setup.exe, started as a separate process and driven from this
// one the way a user or an automation tool would: through its windows.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <string>
#include <vector>

#include "res/resource_ids.h"
#include "support/test_support.h"

namespace {

constexpr DWORD kStartTimeout = 20000;

// The Windows path of setup.exe: the one the build names, else the one
// beside this test program.
std::string SetupExePath() {
    const char* host = getenv("SETUP_EXE");
    if (!host) return OwnFolder() + "setup.exe";
    std::string path = host;
    if (!path.empty() && path[0] == '/') path = "Z:" + path;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

class SetupProcess : public ChildProcess {
  public:
    SetupProcess() : ChildProcess("\"" + SetupExePath() + "\"") {}
};

// The list's entries, read across processes (only the wide-character
// messages are translated between processes).
std::vector<std::string> ListEntries(HWND dialog) {
    std::vector<std::string> entries;
    HWND list = GetDlgItem(dialog, IDC_FOLDER_LIST);
    int count = static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t text[512] = L"";
        SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        char narrow[1024] = "";
        WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
        entries.push_back(narrow);
    }
    return entries;
}

TEST(SetupExe, ShowsItsListRunsOnceAndEndsWithEscape) {
    SetupProcess setup;
    ASSERT_TRUE(setup.Started()) << SetupExePath();
    HWND dialog = setup.Dialog(kStartTimeout);
    ASSERT_NE(nullptr, dialog);

    std::vector<std::string> entries = ListEntries(dialog);
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ("******** BROWSE ********", entries.back());

    // A second copy ends at once, with code 0, and shows nothing.
    {
        SetupProcess second;
        ASSERT_TRUE(second.Started());
        EXPECT_EQ(0, second.ExitCode(kStartTimeout));
    }
    EXPECT_TRUE(IsWindowVisible(dialog));

    PressKey(dialog, VK_ESCAPE);
    EXPECT_EQ(0, setup.ExitCode(kStartTimeout));

    // Once the first copy has ended, the program starts normally again.
    SetupProcess again;
    HWND next = again.Dialog(kStartTimeout);
    ASSERT_NE(nullptr, next);
    PressKey(next, VK_ESCAPE);
    EXPECT_EQ(0, again.ExitCode(kStartTimeout));
}

}  // namespace
