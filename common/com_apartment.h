// COM on the program's one thread, joined when something first needs it (the
// folder browser, the web link, a screen reader's request, artwork decoded
// for a display scale above 100 %) rather than at start: joining costs
// start-up time that the dialog's first paint does not need.
#pragma once

// Joins this thread to a single-threaded apartment, or adds one more
// reference to it, and keeps it there until the process ends: objects handed
// to a screen reader may be used until then, and the count only grows with
// the user's actions and the bitmaps decoded. When COM refuses (the thread is
// in another apartment already), nothing changes: the call that needed it
// works or fails on its own.
void JoinApartment();
