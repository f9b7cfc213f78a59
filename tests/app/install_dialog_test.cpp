#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <string.h>

#include <string>
#include <vector>

#include "app/entry.h"
#include "app/install_dialog.h"
#include "common/handles.h"
#include "payload/payload_install.h"
#include "res/resource_ids.h"
#include "support/install_faults.h"
#include "support/skinned_dialog.h"
#include "support/test_support.h"

namespace {

std::string Lower(std::string text) {
    CharLowerBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

// The name of the folder selected in a folder browser's tree.
std::string BrowserSelection(HWND browser) {
    HWND tree = FindWindowExA(browser, nullptr, WC_TREEVIEWA, nullptr);
    HTREEITEM item = TreeView_GetSelection(tree);
    char text[MAX_PATH] = "";
    TVITEMA info{};
    info.mask = TVIF_TEXT;
    info.hItem = item;
    info.pszText = text;
    info.cchTextMax = MAX_PATH;
    if (!item || !SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&info))) return "";
    return text;
}

// Selects `folder` in a folder browser; false when it would not. A browser
// that has only just appeared may still be filling its tree and drop the
// first request; a deep folder takes a while to reach.
bool SelectInBrowser(HWND browser, const std::string& folder) {
    std::string name = folder;
    if (name.back() == '\\') name.pop_back();
    name = Lower(name.substr(name.find_last_of('\\') + 1));  // "c:" for a drive root
    wchar_t wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, folder.c_str(), -1, wide, MAX_PATH);
    for (int attempt = 0; attempt < 25; ++attempt) {
        SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(wide));
        if (WaitUntil(
                [&] { return Lower(BrowserSelection(browser)).find(name) != std::string::npos; },
                200))
            return true;
    }
    ADD_FAILURE() << "the folder browser did not select " << folder << " but "
                  << BrowserSelection(browser);
    return false;
}

// Answers the folder browser with `folder`, or cancels it when `folder` is
// empty or cannot be selected (so that nothing is ever installed into the
// browser's own first choice).
void AnswerBrowser(HWND browser, const std::string& folder) {
    bool chosen = !folder.empty() && SelectInBrowser(browser, folder);
    PostMessageA(browser, WM_COMMAND, chosen ? IDOK : IDCANCEL, 0);
}

// A folder in `base` (an ASCII path) whose path is `length` characters long
// with its backslash, named in CJK characters, at most 80 to a level (as a
// Linux file system takes them); every level above the last is created.
std::string CjkFolder(const std::string& base, int length) {
    std::string path = base;
    for (int left = length - static_cast<int>(base.size()), level; left > 0; left -= level + 1) {
        level = (left > 81 ? 80 : left - 1) - (left == 82);  // a last level of none is no level
        if (path != base) CreateDirectoryA(path.c_str(), nullptr);
        path += Repeat("插", level) + "\\";
    }
    return path;
}

// Put in front of the dialog's browser callback: once the browser has opened,
// its first report is preceded by a selection of DetourTo (when set), so that
// the dialog first hears of another folder than the one it asked for. The
// first path it hears of goes into FirstReport.
BFFCALLBACK DialogBrowseCallback;
std::string DetourTo, FirstReport;
int CALLBACK DetourFirstReport(HWND browser, UINT message, LPARAM item, LPARAM data) {
    static bool opened;
    char path[MAX_PATH];
    if (message == BFFM_INITIALIZED) {
        opened = true;
        FirstReport.clear();
    }
    if (message == BFFM_SELCHANGED && opened) {
        opened = false;
        if (!DetourTo.empty())
            SendMessageA(browser, BFFM_SETSELECTIONA, TRUE,
                         reinterpret_cast<LPARAM>(DetourTo.c_str()));
    }
    if (message == BFFM_SELCHANGED && FirstReport.empty() &&
        SHGetPathFromIDListA(reinterpret_cast<LPCITEMIDLIST>(item), path))
        FirstReport = path;
    return DialogBrowseCallback(browser, message, item, data);
}

// The install dialog from the program's own template, run modeless so that
// the test can drive it with the dialog's messages.
class InstallDialog : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetFolderTables();
        AppInstance = GetModuleHandleA(nullptr);
    }
    void TearDown() override {
        if (dialog) DestroyWindow(dialog);
        ResetFolderTables();
    }

    void Open() {
        dialog =
            CreateDialogParamA(GetModuleHandleA(nullptr), "main", nullptr, InstallDialogProc, 0);
        ASSERT_NE(nullptr, dialog);
        list = GetDlgItem(dialog, IDC_FOLDER_LIST);
    }
    // The drop-down's width and the icons come once the window shows.
    void OpenShown() {
        Open();
        ShowWindow(dialog, SW_SHOWNA);
        PumpMessages();
    }

    std::vector<std::string> Entries() const {
        std::vector<std::string> entries;
        int count = static_cast<int>(SendMessageA(list, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char text[kPathSize + 16] = "";
            SendMessageA(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            entries.push_back(text);
        }
        return entries;
    }
    int Selection() const { return static_cast<int>(SendMessageA(list, CB_GETCURSEL, 0, 0)); }

    // Selects an entry as arrowing in the closed list does, with the list's
    // notification.
    void Choose(int index) {
        SendMessageA(list, CB_SETCURSEL, index, 0);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_FOLDER_LIST, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(list));
    }

    // Picks an entry in the opened list with Enter, as the user does, and
    // runs what that posts.
    void Pick(int index) {
        SendMessageA(list, CB_SHOWDROPDOWN, TRUE, 0);
        SendMessageA(list, CB_SETCURSEL, index, 0);
        SendMessageA(list, WM_KEYDOWN, VK_RETURN, 0);
        EXPECT_EQ(0, SendMessageA(list, CB_GETDROPPEDSTATE, 0, 0));
        PumpMessages();
    }

    // Picks the browse entry (or, `byEnter`, runs the install command with it
    // selected) and answers the folder browser with `folder`, or cancels it
    // when `folder` is empty.
    bool BrowseTo(const std::string& folder, bool byEnter = false) {
        ModalWatcher watcher([&](HWND browser) { AnswerBrowser(browser, folder); });
        if (byEnter)
            Command(IDOK);
        else
            Pick(static_cast<int>(Entries().size()) - 1);
        return watcher.Answered();
    }

    INT_PTR Command(WPARAM command) { return InstallDialogProc(dialog, WM_COMMAND, command, 0); }

    // Runs the install command and returns the text of the message box it
    // shows, or "" when it shows none. A box must be the dialog's own.
    std::string InstallAndReadMessage() {
        std::string text;
        HWND owner = nullptr;
        ModalWatcher watcher([&](HWND box) {
            text = MessageBoxText(box);
            owner = GetWindow(box, GW_OWNER);
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        });
        Command(IDOK);
        if (!text.empty()) {
            EXPECT_EQ(dialog, owner);
        }
        return text;
    }

    bool ListMovedAway() const {
        RECT place;
        GetWindowRect(list, &place);
        POINT corner{place.left, place.top};
        ScreenToClient(dialog, &corner);
        return corner.x == 16 && corner.y == 1000;
    }

    RegistryRestorer userKey{HKEY_CURRENT_USER, "Software\\Vantorel", RegistryRestorer::Removed};
    RegistryRestorer machineKey{HKEY_LOCAL_MACHINE, "Software\\Vantorel",
                                RegistryRestorer::Removed};
    HWND dialog = nullptr;
    HWND list = nullptr;
};

// Reads a template text (a NUL-terminated UTF-16 string, or 0xFFFF and an
// ordinal) and moves past it.
std::string TemplateText(const WORD*& at) {
    std::string text;
    if (*at == 0xFFFF) {
        text = "#" + std::to_string(at[1]);
        at += 2;
        return text;
    }
    while (*at) text += static_cast<char>(*at++);
    ++at;
    return text;
}

const WORD* AlignToDword(const WORD* at) {
    return reinterpret_cast<const WORD*>((reinterpret_cast<UINT_PTR>(at) + 3) & ~UINT_PTR(3));
}

TEST_F(InstallDialog, TemplateIsTheBorderlessPopupWithListAndHiddenButton) {
    HRSRC resource = FindResourceA(GetModuleHandleA(nullptr), "main", RT_DIALOG);
    ASSERT_NE(nullptr, resource);
    auto* header = static_cast<const DLGTEMPLATE*>(LockResource(LoadResource(nullptr, resource)));
    EXPECT_EQ(0x80000840u, header->style);
    EXPECT_EQ(0u, header->dwExtendedStyle);
    ASSERT_EQ(2, header->cdit);
    EXPECT_EQ((std::vector<int>{0, 0, 400, 300}),
              (std::vector<int>{header->x, header->y, header->cx, header->cy}));
    const WORD* at = reinterpret_cast<const WORD*>(header + 1);
    EXPECT_EQ("", TemplateText(at));  // no menu
    EXPECT_EQ("", TemplateText(at));  // the standard dialog class
    EXPECT_EQ("", TemplateText(at));  // no caption
    EXPECT_EQ(8, *at++);
    EXPECT_EQ("MS Sans Serif", TemplateText(at));

    struct Item {
        DWORD style;
        std::vector<int> place;
        int id;
        std::string className;
    };
    std::vector<Item> items;
    for (int i = 0; i < header->cdit; ++i) {
        at = AlignToDword(at);
        auto* item = reinterpret_cast<const DLGITEMTEMPLATE*>(at);
        at = reinterpret_cast<const WORD*>(reinterpret_cast<const BYTE*>(item) + 18);
        std::string className = TemplateText(at);
        EXPECT_EQ("", TemplateText(at));
        at += 1 + *at / sizeof(WORD);  // creation data
        items.push_back({item->style, {item->x, item->y, item->cx, item->cy}, item->id, className});
    }
    EXPECT_EQ(0x50010003u, items[0].style);
    EXPECT_EQ(IDC_FOLDER_LIST, items[0].id);
    EXPECT_EQ((std::vector<int>{35, 72, 204, 214}), items[0].place);
    EXPECT_EQ("COMBOBOX", items[0].className);
    EXPECT_EQ(0x40000000u, items[1].style);
    EXPECT_EQ(IDC_HIDDEN_BUTTON, items[1].id);
    EXPECT_EQ((std::vector<int>{0, 0, 6, 6}), items[1].place);
    EXPECT_EQ("BUTTON", items[1].className);

    Open();
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, IDC_HIDDEN_BUTTON)));
}

TEST_F(InstallDialog, OffersCandidatesInOrderThenTheBrowseEntry) {
    PlaceCandidate("C:\\Hosts\\Photo\\Plug-Ins\\", 1);
    PlaceCandidate("C:\\Hosts\\Igrafx\\Plugins\\", 0);
    Open();
    EXPECT_EQ((std::vector<std::string>{"C:\\Hosts\\Photo\\Plug-Ins\\Vantorel\\",
                                        "C:\\Hosts\\Igrafx\\Plugins\\", kBrowseEntry}),
              Entries());
    EXPECT_EQ(0, Selection());
    EXPECT_EQ(2, BrowseIndex);
    EXPECT_FALSE(InstallCompleted);
}

TEST_F(InstallDialog, WithoutCandidatesTheBrowseEntryIsSelectedAndEnterBrowses) {
    Open();
    EXPECT_EQ(std::vector<std::string>{kBrowseEntry}, Entries());
    EXPECT_EQ(0, Selection());

    // Enter opens the browser: cancelled, nothing is installed or asked.
    EXPECT_TRUE(BrowseTo("", true));
    EXPECT_FALSE(InstallCompleted);
    EXPECT_EQ(std::vector<std::string>{kBrowseEntry}, Entries());

    // A folder chosen there is offered and installed into at once.
    TempFolder folder;
    EXPECT_TRUE(BrowseTo(folder.Path(), true));
    EXPECT_EQ((std::vector<std::string>{folder.Path(), kBrowseEntry}), Entries());
    EXPECT_TRUE(InstallCompleted);
    EXPECT_EQ(PayloadBytes("STROKES.8TX"), ReadWholeFile(folder / "Strokes.8tx"));
}

TEST_F(InstallDialog, OverlongCandidateIsLeftOutOfTheList) {
    PlaceCandidate("C:\\" + std::string(390, 'x') + "\\", 1);
    PlaceCandidate("C:\\Short\\", 0);
    Open();
    EXPECT_EQ((std::vector<std::string>{"C:\\Short\\", kBrowseEntry}), Entries());
    EXPECT_EQ(1, BrowseIndex);
}

// The drop-down is as wide as the widest entry, so that the end of a long
// path shows, but never wider than the screen.
TEST_F(InstallDialog, TheDropDownIsAsWideAsTheWidestEntryWithinTheScreen) {
    // In any script, measured as the list draws it.
    for (const std::string& longer : {"C:\\" + std::string(100, 'w') + "\\Plug-Ins\\",
                                      "C:\\" + Repeat("插", 80) + "\\Plug-Ins\\"}) {
        ResetFolderTables();
        if (dialog) DestroyWindow(dialog);
        PlaceCandidate("C:\\Short\\", 0);
        PlaceCandidate(longer, 1);
        OpenShown();
        SIZE extent = {};
        {
            WindowDc dc(list);
            SelectGuard font(dc.Get(),
                             reinterpret_cast<HGDIOBJ>(SendMessageA(list, WM_GETFONT, 0, 0)));
            wchar_t entry[kPathLength];
            int length = MultiByteToWideChar(CP_ACP, 0, (longer + "Vantorel\\").c_str(), -1, entry,
                                             kPathLength);
            GetTextExtentPoint32W(dc.Get(), entry, length - 1, &extent);
        }
        // The system drops a list never narrower than its field: the entry
        // must be wider for the width to be the program's.
        RECT field;
        GetWindowRect(list, &field);
        ASSERT_GT(extent.cx, field.right - field.left) << "too narrow an entry on this machine";
        LRESULT wide = SendMessageA(list, CB_GETDROPPEDWIDTH, 0, 0);
        EXPECT_GT(wide, extent.cx);
        EXPECT_LT(wide, extent.cx + 60);
    }

    ResetFolderTables();
    DestroyWindow(dialog);
    PlaceCandidate("C:\\" + std::string(380, 'w') + "\\", 0);
    OpenShown();
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), SendMessageA(list, CB_GETDROPPEDWIDTH, 0, 0));
}

TEST_F(InstallDialog, BrowsedFolderGoesBeforeTheBrowseEntryAndTheNextReplacesIt) {
    TempFolder first;
    TempFolder second;
    // Made first: a browser may not yet see a folder made while it runs.
    std::string named = CjkFolder(first.Path(), static_cast<int>(first.Path().size()) + 81);
    ASSERT_TRUE(CreateDirectoryA(named.c_str(), nullptr));
    PlaceCandidate("C:\\Hosts\\Photo\\Plug-Ins\\", 1);
    Open();

    ASSERT_TRUE(BrowseTo(first.Path()));
    EXPECT_EQ((std::vector<std::string>{"C:\\Hosts\\Photo\\Plug-Ins\\Vantorel\\", first.Path(),
                                        kBrowseEntry}),
              Entries());
    EXPECT_EQ(1, Selection());
    EXPECT_TRUE(BrowsedEntryPresent);

    // The browse entry has moved one down and still opens the browser.
    ASSERT_TRUE(BrowseTo(second.Path().substr(0, second.Path().size() - 1)));
    EXPECT_EQ((std::vector<std::string>{"C:\\Hosts\\Photo\\Plug-Ins\\Vantorel\\", second.Path(),
                                        kBrowseEntry}),
              Entries());
    EXPECT_EQ(1, Selection());

    // A cancelled browse goes back to the first entry and changes nothing.
    ASSERT_TRUE(BrowseTo(""));
    EXPECT_EQ(0, Selection());
    EXPECT_EQ(3u, Entries().size());

    // A folder of any name comes back whole, however long its path.
    ASSERT_TRUE(BrowseTo(named));
    EXPECT_EQ(named, Entries()[1]);
}

TEST_F(InstallDialog, DriveRootKeepsItsSingleBackslash) {
    Open();
    ASSERT_TRUE(BrowseTo("C:\\"));
    EXPECT_EQ((std::vector<std::string>{"C:\\", kBrowseEntry}), Entries());
}

// Only a pick of the browse entry opens the browser: not an ordinary
// candidate, not a cancelled drop-down, and not arrowing onto the browse
// entry in the closed list.
TEST_F(InstallDialog, OnlyAPickOfTheBrowseEntryOpensTheBrowser) {
    PlaceCandidate("C:\\Hosts\\A\\", 0);
    PlaceCandidate("C:\\Hosts\\B\\", 0);
    Open();
    ModalWatcher watcher([](HWND browser) { AnswerBrowser(browser, ""); });
    Pick(1);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_FOLDER_LIST, CBN_SELENDCANCEL),
                 reinterpret_cast<LPARAM>(list));
    Choose(2);
    PumpMessages();
    EXPECT_FALSE(watcher.Answered());
    EXPECT_EQ(2, Selection());
}

// The browser opens at the folder chosen last, or at its parent while that
// does not exist yet.
TEST_F(InstallDialog, BrowserOpensAtTheChosenFolder) {
    TempFolder folder;
    PlaceCandidate(folder.Path(), 0);
    PlaceCandidate(folder.Path() + "Missing\\", 0);
    Open();
    std::string name = folder.Path().substr(0, folder.Path().size() - 1);
    name = Lower(name.substr(name.find_last_of('\\') + 1));
    DialogBrowseCallback = FolderBrowseInfo.lpfn;
    FolderBrowseInfo.lpfn = DetourFirstReport;
    // Reported first elsewhere, the browser is asked again.
    for (const char* detour : {"", "C:\\"})
        for (int entry : {0, 1}) {
            DetourTo = detour;
            Choose(entry);
            std::string opened;
            ModalWatcher watcher([&](HWND browser) {
                // The browser may show its root before it reaches the folder.
                WaitUntil([&] { return (opened = Lower(BrowserSelection(browser))) == name; },
                          2000);
                AnswerBrowser(browser, "");
            });
            Pick(2);
            ASSERT_TRUE(watcher.Answered());
            EXPECT_EQ(name, opened) << entry << detour;
            if (*detour) {
                EXPECT_EQ(detour, FirstReport) << "the dialog heard of the detour first";
            }
        }
}

TEST_F(InstallDialog, InstallWritesThePayloadAndCompletes) {
    TempFolder folder;
    PlaceCandidate(folder.Path(), 1);
    Open();
    // The browser opened by Install and cancelled installs nothing, not even
    // into the entry the list goes back to.
    Choose(1);
    EXPECT_TRUE(BrowseTo("", true));
    EXPECT_FALSE(InstallCompleted);
    EXPECT_EQ(std::vector<std::string>{}, FolderNames(folder.Path()));
    EXPECT_EQ("", InstallAndReadMessage());

    // The maker's folder was created below the existing candidate.
    std::string installed = folder.Path() + "Vantorel\\";
    EXPECT_STREQ(installed.c_str(), DestinationFolder);
    EXPECT_EQ(PayloadBytes("PASTEL__CRAFT3.8BF"), ReadWholeFile(installed + "PastelCraft3.8bf"));
    EXPECT_EQ(PayloadBytes("STROKES.8TX"), ReadWholeFile(installed + "Strokes.8tx"));
    EXPECT_TRUE(InstallCompleted);
    EXPECT_TRUE(ListMovedAway());

    // The list is gone for good: disabled, and not listened to (that it is
    // hidden, the shown dialog tells).
    EXPECT_FALSE(IsWindowEnabled(list));
    {
        ModalWatcher watcher([](HWND browser) { AnswerBrowser(browser, ""); });
        SendMessageA(list, CB_SETCURSEL, 1, 0);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_FOLDER_LIST, CBN_SELENDOK),
                     reinterpret_cast<LPARAM>(list));
        PostMessageA(dialog, WM_APP + 1, 0, 0);
        PumpMessages();
        EXPECT_FALSE(watcher.Answered());
    }

    // Enter in the completed state ends the dialog instead of installing again.
    DeleteFileA((installed + "Strokes.8tx").c_str());
    EXPECT_EQ(TRUE, Command(IDOK));
    EXPECT_FALSE(FileExists(installed + "Strokes.8tx"));
}

TEST_F(InstallDialog, CancelEndsTheDialogInEitherState) {
    Open();
    EXPECT_EQ(TRUE, Command(IDCANCEL));
}

// A folder that cannot be used is reported before anything is created in
// it: one too long for the paths the installation needs is not even made.
// The longest the system takes for them installs, in any script.
TEST_F(InstallDialog, FolderThatCannotBeUsedIsReportedWithItsCause) {
    TempFolder folder;
    // As long as the system makes a folder (MAX_PATH less room for a short
    // name), whatever the length of the temporary folder's path.
    std::string deep = folder / std::string(MAX_PATH - 13 - folder.Path().size(), 'd');
    ASSERT_TRUE(CreateDirectoryA(deep.c_str(), nullptr));
    WriteWholeFile(folder / "File", {'f'});
    // With "PastelCraft3.8bf.pcs-new", 259 characters.
    std::string longest = CjkFolder(folder.Path(), 235);
    const struct {
        std::string candidate, cause;
    } cases[] = {
        {folder / "Missing\\Deeper\\", "creates only the last folder"},
        {folder / "File\\", "A file, not a folder, has this name"},
        {deep + "\\Vantorel\\", "The path is too long"},
        {longest.substr(0, longest.size() - 1) + "插\\", "The path is too long"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.candidate);
        ResetFolderTables();
        PlaceCandidate(c.candidate, 0);
        Open();
        std::string message = InstallAndReadMessage();
        EXPECT_NE(std::string::npos, message.find(c.candidate)) << message;
        EXPECT_NE(std::string::npos, message.find(c.cause)) << message;
        EXPECT_NE(std::string::npos, message.find("Nothing was installed")) << message;
        EXPECT_FALSE(InstallCompleted);
        EXPECT_FALSE(ListMovedAway());
        DestroyWindow(dialog);
    }
    EXPECT_EQ(std::vector<std::string>{}, FolderNames(deep + "\\"));

    ResetFolderTables();
    PlaceCandidate(longest, 0);
    Open();
    EXPECT_EQ("", InstallAndReadMessage());
    EXPECT_EQ(PayloadBytes("PASTEL__CRAFT3.8BF"), ReadWholeFile(longest + "PastelCraft3.8bf"));
}

// After a failure the folder and the presets are as they were, the dialog
// stays open, and one message says what happened, why and what to do; once
// the cause has gone, the same command installs. The machine's hive alone
// refusing the presets is no failure.
TEST_F(InstallDialog, FaultKeepsTheDialogChoosingAndSaysWhy) {
    bool untried = false;
    for (const FaultReport& c : kFaultReports) {
        SCOPED_TRACE(static_cast<int>(c.fault));
        std::unique_ptr<TempFolder> place = FolderFor(c.fault);
        if (!place) {
            untried = true;
            continue;
        }
        ResetFolderTables();
        PlaceCandidate(place->Path(), 0);
        Open();
        {
            ArrangedFault fault(c.fault, place->Path());
            auto before = InstallState(place->Path());
            std::string message = InstallAndReadMessage();
            if (!c.named) {
                EXPECT_EQ("", message);
            } else {
                EXPECT_EQ(0u, message.find("Nothing was installed: the folder and the presets are "
                                           "as they were."))
                    << message;
                EXPECT_NE(std::string::npos, message.find(c.named)) << message;
                EXPECT_NE(std::string::npos, message.find(c.cause)) << message;
                EXPECT_EQ(strstr(c.cause, "probably") != nullptr,
                          message.find("probably") != std::string::npos);
                EXPECT_EQ(before, InstallState(place->Path()));
                EXPECT_FALSE(InstallCompleted);
                EXPECT_FALSE(ListMovedAway());
            }
        }
        if (c.named) {
            EXPECT_EQ("", InstallAndReadMessage());
        }
        EXPECT_TRUE(InstallCompleted);
        EXPECT_EQ(PayloadBytes("STROKES.8TX"), ReadWholeFile(*place / "Strokes.8tx"));
        DestroyWindow(dialog);
    }
    dialog = nullptr;
    if (untried) GTEST_SKIP() << kNoSmallDrive;
}

}  // namespace
