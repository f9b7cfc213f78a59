#include "app/entry.h"

#include <new>

#include "app/install_dialog.h"
#include "skin/skin_context.h"

HINSTANCE AppInstance;
SkinContext* MainSkin;

namespace {

// What the dialog's skinned controls share; MainSkin is bound to it.
ControlHost DialogHost;

}  // namespace

int RunSetup(HINSTANCE instance) {
    // Owned until the end; the handle stays open so that the name exists
    // until the process is gone.
    HANDLE guard = CreateMutexA(nullptr, TRUE, " ");
    if (GetLastError() == ERROR_ALREADY_EXISTS) return 0;

    // The folder browser, the web link and the screen readers' object join
    // COM when first used (common/com_apartment.h), not before the dialog.
    AppInstance = instance;
    MainSkin = new (std::nothrow) SkinContext(&DialogHost, instance);
    if (DialogBoxParamA(instance, "main", nullptr, InstallDialogProc, 0) != 0)
        MessageBoxA(nullptr, "E", nullptr, MB_OK);

    // The skin deletes the dialog's controls along with its own objects.
    if (MainSkin) {
        MainSkin->Destroy();
        delete MainSkin;
        MainSkin = nullptr;
    }

    if (guard) ReleaseMutex(guard);
    return 0;
}
