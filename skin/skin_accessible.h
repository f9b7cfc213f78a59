// The skinned window's client area for screen readers: an IAccessible whose
// children are the registered controls (child ids 1 to controlCount, in
// creation order, each described by its own accessible virtuals) and then
// the window's child windows (whose own objects it hands out). The
// accessibility libraries are loaded on the first request, so a program that
// is never asked pays nothing for them at start.
#pragma once

#include <windows.h>

#include "skin/control_host.h"

// WM_GETOBJECT: for OBJID_CLIENT, the result that hands the host's object to
// the asking process (made on the first request). 0, the window's default
// answer, for any other object or when the libraries or memory are missing.
LRESULT AnswerGetObject(ControlHost* host, WPARAM wParam, LPARAM lParam);

// Lets go of the host's object: clients that still hold it are told it is
// gone (E_FAIL) from then on.
void ReleaseAccessible(ControlHost* host);
