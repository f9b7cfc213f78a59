#pragma once

#include <windows.h>

class SkinContext;

// The module whose resources hold the dialog, the artwork and the payload.
extern HINSTANCE AppInstance;

// The skin of the install dialog, alive while the dialog runs. Null when it
// could not be allocated: the dialog then runs unskinned, so every user
// checks it first.
extern SkinContext* MainSkin;

// The program: takes the single-instance guard, runs the install dialog from
// the template "MAIN" of `instance` and tears down. A second copy returns at
// once; a dialog that cannot be created is reported with the text "E".
// Always returns 0, the process exit code.
int RunSetup(HINSTANCE instance);
