// The messages that tell the user why nothing was installed, and what to do
// about it. Each is one box owned by the dialog.
#pragma once

#include <windows.h>

#include "payload/payload_install.h"

// The caption of every box the program shows.
extern const char kSetupCaption[];

// Nothing in the list is selected.
void AskForFolder(HWND owner);

// The folder chosen in the folder browser cannot be entered: the platform's
// `error` says why.
void ReportFolderNotEntered(HWND owner, const char* folder, DWORD error);

// The installation of `unit` into `folder` stopped as the unit's failure
// describes: says what was left as it was, which file, folder or setting, why
// (the platform's own wording of the error follows as a detail) and what to
// do. A file in use is put down to a running program that has a file of the
// unit loaded, when one has: for certain when that is the file, otherwise
// as a likely guess.
void ReportInstallFailure(HWND owner, const char* folder, const InstallUnit& unit);
