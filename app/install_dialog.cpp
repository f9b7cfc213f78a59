#include "app/install_dialog.h"

#include <shlobj.h>

#include "app/dialog_skin.h"
#include "app/discover_folders.h"
#include "app/entry.h"
#include "app/install_messages.h"
#include "common/bounded_text.h"
#include "common/com_apartment.h"
#include "common/handles.h"
#include "common/system_function.h"
#include "common/themed_controls.h"
#include "discovery/path_text.h"
#include "payload/payload_digest.h"
#include "payload/payload_install.h"
#include "res/resource_ids.h"
#include "skin/control_host.h"
#include "skin/skin_control.h"

bool InstallCompleted;
int BrowseIndex;
bool BrowsedEntryPresent;
char PathBuffer[kPathSize];
BROWSEINFOA FolderBrowseInfo;

const char kBrowseEntry[] = "******** BROWSE ********";

namespace {

const char kMakerFolder[] = "Vantorel\\";
char BrowseTitle[] = "Please Select Your Plug-Ins Folder";
// The last entry chosen that names a folder: the browser opens there.
int FolderIndex;

// Posted when the browse entry has been picked, to open the browser once the
// list has closed.
constexpr UINT WM_BROWSE_FOR_FOLDER = WM_APP + 1;
// Posted as the window is being shown, so that what its first paint does not
// show is done once the window is on the screen, still before that paint (a
// paint comes after every posted message).
constexpr UINT WM_AFTER_SHOW = WM_APP + 2;

LRESULT SendList(HWND dialog, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendDlgItemMessageA(dialog, IDC_FOLDER_LIST, message, wParam, lParam);
}

int BrowseEntryIndex() {
    return BrowseIndex + (BrowsedEntryPresent ? 1 : 0);
}

// Reads list entry `index` into `text` (kPathSize bytes); false, reading
// nothing, when there is no such entry or its text does not fit.
bool ListText(HWND dialog, int index, char* text) {
    LRESULT length = SendList(dialog, CB_GETLBTEXTLEN, index);
    if (length == CB_ERR || length >= kPathSize) return false;
    return SendList(dialog, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text)) != CB_ERR;
}

// Puts the path of the browser's `item` into `path` (kPathSize bytes); false
// when it has none. The A function would hand back at most MAX_PATH bytes,
// too few for a long path in UTF-8: the path is taken in UTF-16 and
// converted whole.
bool ItemPath(LPCITEMIDLIST item, char* path) {
    WCHAR wide[MAX_PATH];
    return SHGetPathFromIDListW(item, wide) &&
           WideCharToMultiByte(CP_ACP, 0, wide, -1, path, kPathSize, nullptr, nullptr) > 1;
}

// The folder the browser was asked to open at, until it reports its first
// selection; empty otherwise.
char AskedFolder[kPathSize];

// Whether the browser's folder `shown` (no final backslash) is `asked` (one
// final backslash, unless a drive's root).
bool IsAskedFolder(const char* shown, const char* asked) {
    int length = lstrlenA(asked);
    if (length > 3 && asked[length - 1] == '\\') --length;
    return lstrlenA(shown) == length && CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, shown,
                                                       length, asked, length) == CSTR_EQUAL;
}

// Opens the browser at the folder the list had selected before, or at its
// parent while that does not exist yet (a maker's folder still to create).
// Some browsers (Wine's) now and then drop a selection asked for while they
// are still opening and stay at their root: the first selection reported
// elsewhere is answered by asking once more.
int CALLBACK OpenAtChosenFolder(HWND browser, UINT message, LPARAM item, LPARAM) {
    if (message == BFFM_SELCHANGED && AskedFolder[0]) {
        char asked[kPathSize], shown[kPathSize];
        lstrcpynA(asked, AskedFolder, kPathSize);
        AskedFolder[0] = 0;
        if (!ItemPath(reinterpret_cast<LPCITEMIDLIST>(item), shown) || !IsAskedFolder(shown, asked))
            SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(asked));
        return 0;
    }
    if (message != BFFM_INITIALIZED) return 0;
    HWND owner = FolderBrowseInfo.hwndOwner;
    if (FolderIndex == BrowseEntryIndex() || !ListText(owner, FolderIndex, AskedFolder)) {
        AskedFolder[0] = 0;
        return 0;
    }
    if (GetFileAttributesA(AskedFolder) == INVALID_FILE_ATTRIBUTES) CutAfterLast(AskedFolder, '\\');
    SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(AskedFolder));
    return 0;
}

// The drop-down is as wide as its widest entry, within the dialog's monitor,
// so that the end of a long path can be read. It measures in the list's font:
// it runs once the skin has given the list its font for the DPI.
void FitDropDownWidth(HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_FOLDER_LIST);
    WindowDc dc(list);
    SelectGuard font(dc.Get(), reinterpret_cast<HGDIOBJ>(SendMessageA(list, WM_GETFONT, 0, 0)));
    int widest = 0;
    int count = static_cast<int>(SendList(dialog, CB_GETCOUNT));
    for (int i = 0; i < count; ++i) {
        char entry[kPathSize];
        if (!ListText(dialog, i, entry)) continue;
        // Measured as the list draws it: the font's code page need not be
        // the program's.
        WCHAR wide[kPathLength];
        int length = MultiByteToWideChar(CP_ACP, 0, entry, -1, wide, kPathLength) - 1;
        SIZE extent = {};
        if (length > 0) GetTextExtentPoint32W(dc.Get(), wide, length, &extent);
        if (extent.cx > widest) widest = extent.cx;
    }
    // Room for the borders, the item margins and a scroll bar as wide as the
    // list draws it at its DPI (Windows 10 1607 and later tell it for any
    // DPI; before, the system's DPI is all there is).
    using MetricForDpi = int(WINAPI*)(int, UINT);
    auto metric = SystemFunction<MetricForDpi>("user32.dll", "GetSystemMetricsForDpi");
    widest += (metric ? metric(SM_CXVSCROLL, WindowDpi(list)) : GetSystemMetrics(SM_CXVSCROLL)) + 8;
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    int screen = GetMonitorInfoA(MonitorFromWindow(dialog, MONITOR_DEFAULTTONEAREST), &monitor)
                     ? monitor.rcMonitor.right - monitor.rcMonitor.left
                     : GetSystemMetrics(SM_CXSCREEN);
    SendList(dialog, CB_SETDROPPEDWIDTH, widest < screen ? widest : screen);
}

// The program's icon, for the taskbar and the task switcher.
void ShowIcons(HWND dialog) {
    const int sizes[][2] = {{ICON_BIG, SM_CXICON}, {ICON_SMALL, SM_CXSMICON}};
    for (const auto& size : sizes) {
        int pixels = GetSystemMetrics(size[1]);
        HANDLE icon = LoadImageA(AppInstance, MAKEINTRESOURCEA(IDI_SETUP), IMAGE_ICON, pixels,
                                 pixels, LR_SHARED);
        if (icon) SendMessageA(dialog, WM_SETICON, size[0], reinterpret_cast<LPARAM>(icon));
    }
}

// Offers every candidate, with the maker's folder appended where its flag
// asks for it, then the browse entry. An entry too long for a path is left out.
void FillFolderList(HWND dialog) {
    int count = 0;
    for (const CandidateFolder& candidate : CandidateList) {
        if (candidate.path[0] == '\0') break;
        if (!CopyText(PathBuffer, candidate.path)) continue;
        if (candidate.flag && !JoinPath(PathBuffer, kPathSize, kMakerFolder)) continue;
        SendList(dialog, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(PathBuffer));
        ++count;
    }
    SendList(dialog, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kBrowseEntry));
    BrowseIndex = count;
    BrowsedEntryPresent = false;
}

void OnInitDialog(HWND dialog) {
    InstallCompleted = false;
    SetWindowTextA(dialog, kSetupCaption);
    FolderBrowseInfo = BROWSEINFOA{};
    FolderBrowseInfo.hwndOwner = dialog;
    FolderBrowseInfo.pszDisplayName = PathBuffer;
    FolderBrowseInfo.lpszTitle = BrowseTitle;
    // The resizable browser with a box to type or paste a path into and a
    // New Folder button.
    FolderBrowseInfo.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE | BIF_EDITBOX;
    FolderBrowseInfo.lpfn = OpenAtChosenFolder;
    DiscoverFolders(PathBuffer);
    FillFolderList(dialog);
    SendList(dialog, CB_SETCURSEL, 0);
    FolderIndex = 0;
    SetUpSkin(dialog);
}

// Puts the browser's folder into PathBuffer, ending with a backslash.
// Returns false when the user cancelled or the choice is no usable folder; a
// folder that cannot be entered is reported to the user.
bool AskUserForFolder(HWND dialog) {
    // The browser needs COM on this thread, in a single-threaded apartment.
    JoinApartment();
    ThemedControls themed;
    LPITEMIDLIST item = SHBrowseForFolderA(&FolderBrowseInfo);
    bool found = item && ItemPath(item, PathBuffer);
    ILFree(item);
    if (!found) return false;
    DWORD error = ERROR_FILENAME_EXCED_RANGE;
    if (AddTrailingBackslash(PathBuffer, kPathSize)) {
        if (SetCurrentDirectoryA(PathBuffer)) return true;
        error = GetLastError();
    }
    ReportFolderNotEntered(dialog, PathBuffer, error);
    return false;
}

// The list holds at most one browsed folder, just before the browse entry.
// Returns false, with the first entry selected, when no folder was chosen.
bool BrowseForFolder(HWND dialog) {
    if (!AskUserForFolder(dialog)) {
        SendList(dialog, CB_SETCURSEL, 0);
        return false;
    }
    if (BrowsedEntryPresent) SendList(dialog, CB_DELETESTRING, BrowseIndex);
    SendList(dialog, CB_INSERTSTRING, BrowseIndex, reinterpret_cast<LPARAM>(PathBuffer));
    SendList(dialog, CB_SETCURSEL, BrowseIndex);
    BrowsedEntryPresent = true;
    FolderIndex = BrowseIndex;
    FitDropDownWidth(dialog);
    return true;
}

int Selection(HWND dialog) {
    return static_cast<int>(SendList(dialog, CB_GETCURSEL));
}

// Arrowing over the browse entry while the list is closed only selects it; a
// pick in the opened list (CBN_SELENDOK while it is still dropped) opens the
// browser, once the list has closed.
void OnListCommand(HWND dialog, int code) {
    if (InstallCompleted) return;
    int selected = Selection(dialog);
    if (code == CBN_SELCHANGE && selected != BrowseEntryIndex()) FolderIndex = selected;
    if (code == CBN_SELENDOK && selected == BrowseEntryIndex() &&
        SendList(dialog, CB_GETDROPPEDSTATE))
        PostMessageA(dialog, WM_BROWSE_FOR_FOLDER, 0, 0);
}

// Copies the selected folder into DestinationFolder; with the browse entry
// selected, the user chooses the folder now. Returns false when there is no
// folder to install into (the browser was cancelled, even though the list
// then selects an entry, or gave none that can be entered, or the user has
// been asked for one) or it does not fit; `failure` then says so.
bool ChooseDestination(HWND dialog, InstallFailure* failure) {
    int selected = Selection(dialog);
    if (selected == BrowseEntryIndex()) {
        if (!BrowseForFolder(dialog)) return false;
        selected = Selection(dialog);
    }
    if (selected == CB_ERR) {
        AskForFolder(dialog);
        return false;
    }
    if (ListText(dialog, selected, DestinationFolder)) return true;
    CopyText(DestinationFolder, "");
    return failure->Stop(InstallStep::OpenFolder, ERROR_FILENAME_EXCED_RANGE);
}

// Enters DestinationFolder, creating its last level when it is missing.
bool EnterDestination(InstallFailure* failure) {
    if (SetCurrentDirectoryA(DestinationFolder) || CreateDirectoryA(DestinationFolder, nullptr))
        return true;
    return failure->Stop(InstallStep::OpenFolder, GetLastError());
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
            ReportInstallFailure(dialog, DestinationFolder, unit);
        return FALSE;
    }
    // Every path is checked while the payload is collected, and the payload
    // against its digests, before the folder is created.
    ResetExclusions();
    RecordExclusions();
    if (!CollectPayload(AppInstance, &unit) || !VerifyPayload(AppInstance, &unit.failure) ||
        !EnterDestination(&unit.failure) || !InstallPayload(&unit)) {
        ReportInstallFailure(dialog, DestinationFolder, unit);
        return FALSE;
    }

    InstallCompleted = true;
    CompleteInstallation(dialog);
    InvalidateRect(dialog, nullptr, TRUE);
    return FALSE;
}

}  // namespace

INT_PTR CALLBACK InstallDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (DispatchSkinWindow(dialog, message, wParam, lParam)) return TRUE;
    if (DispatchSkinMouse(dialog, message, wParam, lParam)) return FALSE;
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
    case WM_DPICHANGED:
        RescaleSkin(dialog, HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        FitDropDownWidth(dialog);
        return TRUE;
    case WM_SHOWWINDOW:
        if (wParam) PostMessageA(dialog, WM_AFTER_SHOW, 0, 0);
        return FALSE;
    case WM_AFTER_SHOW:
        ShowIcons(dialog);
        FitDropDownWidth(dialog);
        return FALSE;
    case WM_BROWSE_FOR_FOLDER:
        if (!InstallCompleted && Selection(dialog) == BrowseEntryIndex()) BrowseForFolder(dialog);
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
