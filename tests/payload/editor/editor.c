/* Stands for an image editor with the plug-in loaded: loads the file named on
   its command line, shows a minimised window titled "Pastel Host Editor" and
   runs until it is ended. Exits with 1 when the file cannot be loaded. */
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
    MSG message;
    if (!LoadLibraryA(commandLine)) return 1;
    ShowWindow(CreateWindowExA(0, "STATIC", "Pastel Host Editor", WS_OVERLAPPEDWINDOW, 0, 0, 200,
                               100, NULL, NULL, instance, NULL),
               SW_SHOWMINNOACTIVE);
    while (GetMessageA(&message, NULL, 0, 0) > 0) DispatchMessageA(&message);
    return 0;
}
