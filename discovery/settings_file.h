// Host settings files that name plug-in folders: read whole, within a limit,
// and each folder they name checked before it is offered.
#pragma once

#include <windows.h>

#include "common/handles.h"

// Settings files are small; a longer one is no host's and is not read.
constexpr DWORD kSettingsFileLimit = 256 * 1024;

// Reads the file `path` whole into movable global memory, a NUL after its
// `*size` bytes. It is opened for reading only, sharing everything, so that
// the host may go on using it. Returns nothing when the file is missing,
// empty, longer than kSettingsFileLimit or cannot be read whole.
GlobalMemory ReadSettingsFile(const char* path, DWORD* size);

// Offers the folder `text` (`length` UTF-16 units, not terminated) to
// AddCandidateFolder when it is a drive path of at most 398 characters, the
// program's code page holds each of them, and that very folder exists; never
// a folder above it. `folder` (kPathSize bytes) is the working path.
void OfferSettingsFolder(const WCHAR* text, int length, char* folder);
