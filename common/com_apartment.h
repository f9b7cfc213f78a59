// COM on the program's one thread, joined when something first needs it (the
// folder browser, the web link, a screen reader's request) rather than at
// start: joining costs start-up time that the dialog's first paint does not
// need.
#pragma once

// Joins a single-threaded apartment on this thread once; later calls do
// nothing. When COM refuses (the thread is in another apartment already),
// nothing changes: the call that needed it works or fails on its own.
void JoinApartment();

// Leaves the apartment that JoinApartment joined, if it did.
void LeaveApartment();
