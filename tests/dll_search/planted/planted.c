/* A DLL planted beside a program under the name of a system DLL that the
   system loads on the program's behalf. When its code runs, it leaves a
   marker file beside itself and refuses to load. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    char path[MAX_PATH];
    DWORD length;
    HANDLE marker;
    (void)reserved;
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    length = GetModuleFileNameA(instance, path, MAX_PATH);
    while (length > 0 && path[length - 1] != '\\') --length;
    if (length + sizeof "planted-dll-ran.txt" > MAX_PATH) return FALSE;
    lstrcpyA(path + length, "planted-dll-ran.txt");
    marker = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (marker != INVALID_HANDLE_VALUE) CloseHandle(marker);
    return FALSE;
}
