// Closes the setup dialog that bench/race-nsis.sh has just seen mapped, with
// Escape as a user would: finds the program's visible dialog by its caption
// (waiting up to 10 s for it) and presses Escape again every half second
// until the dialog has gone, then sends Cancel. Exit code 0 when the dialog
// went, 1 otherwise.
#include <windows.h>

#include "app/install_messages.h"

namespace {

HWND SetupDialog() {
    HWND dialog = FindWindowA("#32770", kSetupCaption);
    return dialog && IsWindowVisible(dialog) ? dialog : nullptr;
}

}  // namespace

int main() {
    HWND dialog = nullptr;
    for (int tries = 0; !dialog && tries < 1000; ++tries) {
        dialog = SetupDialog();
        if (!dialog) Sleep(10);
    }
    for (int presses = 0; dialog && presses < 20; ++presses) {
        if (presses < 10) {
            PostMessageA(dialog, WM_KEYDOWN, VK_ESCAPE, 1);
            PostMessageA(dialog, WM_KEYUP, VK_ESCAPE, 0xC0000001);
        } else {
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        }
        for (int wait = 0; wait < 50 && IsWindow(dialog); ++wait) Sleep(10);
        if (!IsWindow(dialog)) return 0;
    }
    return 1;
}
