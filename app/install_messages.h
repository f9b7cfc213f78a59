// The messages that tell the user why nothing, or not everything, was
// installed, and what to do about it. Each is one box owned by the dialog.
#pragma once

#include <windows.h>

#include "payload/install_failure.h"

// The caption of every box the program shows.
extern const char kSetupCaption[];

// `folder` could neither be entered nor created (`error` from the platform).
void ReportUnusableFolder(HWND owner, const char* folder, DWORD error);

// The selected entry names no folder (the browse entry, or nothing).
void AskForFolder(HWND owner);

// The installation into `folder` stopped as `failure` describes.
void ReportInstallFailure(HWND owner, const char* folder, const InstallFailure& failure);
