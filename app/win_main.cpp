#include <windows.h>

#include "app/dll_search.h"
#include "app/entry.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    RestrictDllSearch();
    return RunSetup(instance);
}
