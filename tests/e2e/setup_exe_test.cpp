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
    if (!host) {
        char own[MAX_PATH];
        GetModuleFileNameA(nullptr, own, MAX_PATH);
        std::string path = own;
        return path.substr(0, path.find_last_of('\\') + 1) + "setup.exe";
    }
    std::string path = host;
    if (!path.empty() && path[0] == '/') path = "Z:" + path;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

class SetupProcess {
  public:
    SetupProcess() {
        std::string command = "\"" + SetupExePath() + "\"";
        STARTUPINFOA startup {};
        startup.cb = sizeof startup;
        started_ = CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                                  nullptr, &startup, &info_) != FALSE;
    }
    ~SetupProcess() {
        if (!started_) return;
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info_.hProcess, 99);
        CloseHandle(info_.hProcess);
        CloseHandle(info_.hThread);
    }

    bool Started() const { return started_; }

    // The process's exit code, or -1 when it is still running after `wait` ms.
    long ExitCode(DWORD wait) const {
        if (WaitForSingleObject(info_.hProcess, wait) != WAIT_OBJECT_0) return -1;
        DWORD code = 0;
        GetExitCodeProcess(info_.hProcess, &code);
        return static_cast<long>(code);
    }

    // The process's visible dialog, waiting for it up to `wait` ms.
    HWND Dialog(DWORD wait) const {
        DWORD start = GetTickCount();
        do {
            Search search {info_.dwProcessId, nullptr};
            EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
            if (search.found) return search.found;
            Sleep(20);
        } while (GetTickCount() - start < wait);
        return nullptr;
    }

  private:
    struct Search {
        DWORD process;
        HWND found;
    };
    static BOOL CALLBACK FindDialog(HWND window, LPARAM param) {
        auto* search = reinterpret_cast<Search*>(param);
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        char className[32] = "";
        GetClassNameA(window, className, sizeof className);
        if (process != search->process || !IsWindowVisible(window) ||
            lstrcmpA(className, "#32770") != 0)
            return TRUE;
        search->found = window;
        return FALSE;
    }

    bool started_ = false;
    PROCESS_INFORMATION info_ {};
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

void PressKey(HWND dialog, WPARAM key) {
    PostMessageA(dialog, WM_KEYDOWN, key, 1);
    PostMessageA(dialog, WM_KEYUP, key, 0xC0000001);
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
