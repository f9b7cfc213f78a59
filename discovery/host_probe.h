// Plug-in folders of hosts that record only where their program is: an App
// Paths entry, a file type's open command, or a settings file beside the
// program.
#pragma once

#include <windows.h>

// Reads the default value of root\keyPath\subkey (a program path or command
// line) and keeps the text up to its last backslash, from its first letter
// on, into `folder` (kPathSize bytes). Returns `folder`, or null, leaving
// `folder` unchanged, when the key or a string value is missing or the text
// kept is not a drive path.
char* ProbeHostFolder(HKEY root, const char* keyPath, const char* subkey, char* folder);

// Scans the host's binary settings file `filePath` for the first record
// 0x80, length, "X:\..." NUL whose length agrees with its text (at most 249
// characters), and offers that path, converted from the system's legacy
// code page, to AddCandidateFolder. Reports nothing: a missing file, or one
// without such a record, adds nothing.
void ScanHostSettingsFile(const char* filePath);
