#pragma once

// Limits the DLLs that the program and the system load on its behalf to the
// system folder, so that a DLL planted beside a downloaded setup.exe (or in
// the current folder) is never loaded. Runs first in the entry. Where the
// system lacks SetDefaultDllDirectories, it at least takes the current
// folder out of the search. Never fails the program.
void RestrictDllSearch();
