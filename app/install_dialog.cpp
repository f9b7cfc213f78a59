#include "app/install_dialog.h"

#include <shlobj.h>

#include "app/dialog_skin.h"
#include "app/discover_folders.h"
#include "app/entry.h"
#include "app/install_messages.h"
#include "common/bounded_text.h"
#include "payload/payload_install.h"
#include "res/resource_ids.h"
#include "skin/skin_control.h"

bool InstallCompleted;
int BrowseIndex;
bool BrowsedEntryPresent;
char PathBuffer[kPathSize];

const char kBrowseEntry[] = "******** BROWSE ********";

namespace {

const char kMakerFolder[] = "Vantorel\\";
char BrowseTitle[] = "Please Select Your Plug-Ins Folder";
BROWSEINFOA FolderBrowseInfo;

// Where the list goes once the installation has completed: out of view.
constexpr int kLayoutMargin = 16;
constexpr int kHiddenListTop = 1000;

LRESULT SendList(HWND dialog, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendDlgItemMessageA(dialog, IDC_FOLDER_LIST, message, wParam, lParam);
}

void ClickHiddenButton(HWND dialog) {
    SendDlgItemMessageA(dialog, IDC_HIDDEN_BUTTON, BM_CLICK, 0, 0);
}

int BrowseEntryIndex() {
    return BrowseIndex + (BrowsedEntryPresent ? 1 : 0);
}

void PrepareBrowseInfo(HWND dialog) {
    FolderBrowseInfo = BROWSEINFOA{};
    FolderBrowseInfo.hwndOwner = dialog;
    FolderBrowseInfo.pszDisplayName = PathBuffer;
    FolderBrowseInfo.lpszTitle = BrowseTitle;
    FolderBrowseInfo.ulFlags = BIF_RETURNONLYFSDIRS;
}

// Offers every candidate, with the maker's folder appended where its flag
// asks for it, then the browse entry. An entry too long for a path is left out.
void FillFolderList(HWND dialog) {
    int count = 0;
    for (const CandidateFolder& candidate : CandidateList) {
        if (candidate.path[0] == '\0') break;
        if (!CopyText(PathBuffer, candidate.path)) continue;
        if (candidate.flag && !AppendText(PathBuffer, kMakerFolder)) continue;
        SendList(dialog, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(PathBuffer));
        ++count;
    }
    SendList(dialog, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kBrowseEntry));
    BrowseIndex = count;
    BrowsedEntryPresent = false;
}

void OnInitDialog(HWND dialog) {
    InstallCompleted = false;
    BeginSkinSetUp(dialog);
    PrepareBrowseInfo(dialog);
    DiscoverFolders(PathBuffer);
    FillFolderList(dialog);
    SendList(dialog, CB_SETCURSEL, 0);
    ClickHiddenButton(dialog);
    FinishSkinSetUp(dialog);
}

// Puts the browser's folder into PathBuffer, ending with a backslash.
// Returns false when the user cancelled or the choice is no usable folder.
bool AskUserForFolder() {
    LPITEMIDLIST item = SHBrowseForFolderA(&FolderBrowseInfo);
    if (!item) return false;
    bool found = SHGetPathFromIDListA(item, PathBuffer) != FALSE;
    IMalloc* shellAllocator = nullptr;
    if (SUCCEEDED(SHGetMalloc(&shellAllocator))) {
        shellAllocator->Free(item);
        shellAllocator->Release();
    }
    if (!found || PathBuffer[0] == '\0') return false;
    int length = lstrlenA(PathBuffer);
    if (PathBuffer[length - 1] != '\\' && !AppendText(PathBuffer, "\\")) return false;
    return SetCurrentDirectoryA(PathBuffer) != FALSE;
}

// The list holds at most one browsed folder, just before the browse entry.
void BrowseForFolder(HWND dialog) {
    if (!AskUserForFolder()) {
        SendList(dialog, CB_SETCURSEL, 0);
        return;
    }
    if (BrowsedEntryPresent) SendList(dialog, CB_DELETESTRING, BrowseIndex);
    SendList(dialog, CB_INSERTSTRING, BrowseIndex, reinterpret_cast<LPARAM>(PathBuffer));
    SendList(dialog, CB_SETCURSEL, BrowseIndex);
    BrowsedEntryPresent = true;
}

void OnListCommand(HWND dialog, int code) {
    if (code != CBN_SELCHANGE && code != CBN_SELENDCANCEL) return;
    ClickHiddenButton(dialog);
    if (code != CBN_SELCHANGE) return;
    if (static_cast<int>(SendList(dialog, CB_GETCURSEL)) == BrowseEntryIndex())
        BrowseForFolder(dialog);
}

// Copies the selected folder into DestinationFolder. Returns false when the
// selection names no folder (the user has then been asked for one) or does
// not fit; `failure` then says so.
bool ChooseDestination(HWND dialog, InstallFailure* failure) {
    int selected = static_cast<int>(SendList(dialog, CB_GETCURSEL));
    if (selected == CB_ERR || selected == BrowseEntryIndex()) {
        AskForFolder(dialog);
        return false;
    }
    LRESULT length = SendList(dialog, CB_GETLBTEXTLEN, selected);
    if (length == CB_ERR || length >= kPathSize) {
        failure->step = InstallStep::OpenFolder;
        failure->error = ERROR_FILENAME_EXCED_RANGE;
        CopyText(DestinationFolder, "");
        return false;
    }
    SendList(dialog, CB_GETLBTEXT, selected, reinterpret_cast<LPARAM>(DestinationFolder));
    return true;
}

// Enters DestinationFolder, creating its last level when it is missing.
bool EnterDestination(InstallFailure* failure) {
    if (SetCurrentDirectoryA(DestinationFolder) || CreateDirectoryA(DestinationFolder, nullptr))
        return true;
    failure->step = InstallStep::OpenFolder;
    failure->error = GetLastError();
    return false;
}

INT_PTR OnInstall(HWND dialog) {
    if (InstallCompleted) {
        EndDialog(dialog, 0);
        return TRUE;
    }
    if (!InstallGateOpen()) return FALSE;

    InstallUnit unit;
    if (!ChooseDestination(dialog, &unit.failure)) {
        if (unit.failure.step != InstallStep::None)
            ReportInstallFailure(dialog, DestinationFolder, unit.failure);
        return FALSE;
    }
    // Every path is checked while the payload is collected, before the
    // folder is created.
    ResetExclusions();
    RecordExclusions();
    if (!CollectPayload(AppInstance, &unit) || !EnterDestination(&unit.failure) ||
        !InstallPayload(&unit)) {
        ReportInstallFailure(dialog, DestinationFolder, unit.failure);
        return FALSE;
    }

    InstallCompleted = true;
    ApplyCompletedLook();
    MoveWindow(GetDlgItem(dialog, IDC_FOLDER_LIST), kLayoutMargin, kHiddenListTop, 50, 10, TRUE);
    ApplyCompletedFont();
    InvalidateRect(dialog, nullptr, TRUE);
    return FALSE;
}

}  // namespace

INT_PTR CALLBACK InstallDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (DispatchToSkin(dialog, message, wParam, lParam)) return FALSE;
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(dialog);
        return FALSE;
    case WM_ERASEBKGND:
        if (!EraseDialog(reinterpret_cast<HDC>(wParam))) return FALSE;
        SetWindowLongPtrA(dialog, DWLP_MSGRESULT, 1);
        return TRUE;
    case WM_PAINT:
        PaintDialog();
        return FALSE;
    case WM_CONTROL_NOTIFY:
        OnControlNotify(dialog, wParam);
        return FALSE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            return OnInstall(dialog);
        case IDCANCEL:
            EndDialog(dialog, 0);
            return TRUE;
        case IDC_FOLDER_LIST:
            OnListCommand(dialog, HIWORD(wParam));
            return FALSE;
        }
        return FALSE;
    }
    return FALSE;
}
