// Starts like the program does, with the DLL search restricted or not
// ("restrict" as the argument), then opens a window, which makes the system
// load its theming DLL.
#include <windows.h>

#include <string.h>

#include "app/dll_search.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    if (strstr(commandLine, "restrict")) RestrictDllSearch();
    HWND window = CreateWindowExA(0, "BUTTON", "probe", WS_POPUP | WS_VISIBLE, 0, 0, 50, 20,
                                  nullptr, nullptr, nullptr, nullptr);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    DestroyWindow(window);
    return 0;
}
