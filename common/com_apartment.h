// COM on the program's one thread, joined when something first needs it (the
// folder browser, the web link, a screen reader's request, artwork decoded
// for a display scale above 100 %) rather than at start: joining costs
// start-up time that the dialog's first paint does not need. For the same
// reason ole32.dll is not imported: it comes, with the libraries it needs,
// from the system folder when first asked for.
#pragma once

#include <windows.h>

// Joins this thread to a single-threaded apartment, or adds one more
// reference to it, and keeps it there until the process ends: objects handed
// to a screen reader may be used until then, and the count only grows with
// the user's actions and the bitmaps decoded. When COM refuses (the thread is
// in another apartment already) or ole32.dll cannot be loaded, nothing
// changes: the call that needed it works or fails on its own.
void JoinApartment();

// The function `name` of ole32.dll, which is loaded on the first call and
// stays loaded until the process ends; null when it cannot be loaded or
// lacks the function.
FARPROC OleProc(const char* name);

template <typename Function>
Function OleFunction(const char* name) {
    return reinterpret_cast<Function>(OleProc(name));
}
