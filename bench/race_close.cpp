// Closes the setup dialog that bench/race-nsis.sh has just seen mapped, with
// Escape as a user would: finds the program's visible dialog by its caption,
// waits up to 10 s for it. Exit code 0 when Escape was sent, 1 otherwise.
#include <windows.h>

#include "app/install_messages.h"

int main() {
    for (int tries = 0; tries < 1000; ++tries) {
        HWND dialog = FindWindowA("#32770", kSetupCaption);
        if (dialog && IsWindowVisible(dialog)) {
            PostMessageA(dialog, WM_KEYDOWN, VK_ESCAPE, 1);
            PostMessageA(dialog, WM_KEYUP, VK_ESCAPE, 0xC0000001);
            return 0;
        }
        Sleep(10);
    }
    return 1;
}
