// The install dialog: the list of plug-in folders with its browse entry, the
// folder browser, the install command and the completed state.
#pragma once

#include <windows.h>

#include <shlobj.h>

#include "discovery/candidate_list.h"

// Dialog state; only the GUI thread touches it.
extern bool InstallCompleted;       // the payload has been written; final
extern int BrowseIndex;             // list index just after the candidates
extern bool BrowsedEntryPresent;    // a browsed folder sits at BrowseIndex
extern char PathBuffer[kPathSize];  // working path shared with discovery
// What the folder browser is opened with; made in WM_INITDIALOG. Its callback
// opens the browser at the chosen folder.
extern BROWSEINFOA FolderBrowseInfo;

// The list's fixed entry that opens the folder browser.
extern const char kBrowseEntry[];

// Dialog procedure for the template "MAIN". Returns TRUE only when it ends the
// dialog (always with the result 0): IDCANCEL at any time, IDOK once the
// installation has completed.
INT_PTR CALLBACK InstallDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
