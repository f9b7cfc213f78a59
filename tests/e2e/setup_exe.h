// The built setup.exe as a separate process, and what another process can
// read of its dialog. Only the wide-character messages are translated between
// processes, so every text is read with them.
#pragma once

#include <windows.h>

#include <stdlib.h>

#include <string>
#include <vector>

#include "res/resource_ids.h"
#include "support/test_support.h"

constexpr DWORD kStartTimeout = 20000;

// The list's last entry, which opens the folder browser.
constexpr char kBrowseEntry[] = "******** BROWSE ********";

// The Windows path of setup.exe: the one the build names, else the one
// beside this test program.
inline std::string SetupExePath() {
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

inline std::string Narrow(const wchar_t* text) {
    char narrow[1024] = "";
    WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
    return narrow;
}

inline std::vector<std::string> ListEntries(HWND dialog) {
    std::vector<std::string> entries;
    HWND list = GetDlgItem(dialog, IDC_FOLDER_LIST);
    int count = static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t text[512] = L"";
        SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        entries.push_back(Narrow(text));
    }
    return entries;
}

// Selects the entry that names `folder`, in any letter case; false when no
// entry does.
inline bool SelectListEntry(HWND dialog, const std::string& folder) {
    std::vector<std::string> entries = ListEntries(dialog);
    for (size_t i = 0; i < entries.size(); ++i) {
        if (lstrcmpiA(entries[i].c_str(), folder.c_str()) != 0) continue;
        LRESULT selected = SendDlgItemMessageW(dialog, IDC_FOLDER_LIST, CB_SETCURSEL, i, 0);
        return selected == static_cast<LRESULT>(i);
    }
    return false;
}
