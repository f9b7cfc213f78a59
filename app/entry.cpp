#include "app/entry.h"

#include "app/install_dialog.h"

HINSTANCE AppInstance;

int RunSetup(HINSTANCE instance) {
    // Owned until the end; the handle stays open so that the name exists
    // until the process is gone.
    HANDLE guard = CreateMutexA(nullptr, TRUE, " ");
    if (GetLastError() == ERROR_ALREADY_EXISTS) return 0;

    AppInstance = instance;
    if (DialogBoxParamA(instance, "main", nullptr, InstallDialogProc, 0) != 0)
        MessageBoxA(nullptr, "E", nullptr, MB_OK);

    if (guard) ReleaseMutex(guard);
    return 0;
}
