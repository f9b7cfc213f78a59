// The install dialog's skinned look and option logic. Every routine does
// nothing (and the gate is open) while the program runs without its skin.
#pragma once

#include <windows.h>

class SkinControl;

// The dialog's controls by slot; the skin's ControlHost owns them.
enum DialogSlot {
    CancelButton,
    InstallButton,
    CloseButton,
    WebLink,
    Picture,
    FirstOptionSelector,
    kDialogSlots = 20,
};
extern SkinControl* DialogControls[kDialogSlots];

// What the web link shows, and the page it opens.
extern const char kMakerHost[];
extern const char kInstallHelpPage[];

// WM_INITDIALOG, once the list is filled: attaches the skin at the window's
// DPI, creates the controls and the texts, sets the keyboard focus order,
// asks whether high contrast is on and lays the dialog out for that DPI
// (LayOut in dialog_skin.cpp): a client area of exactly the background's
// size around the window's centre.
void SetUpSkin(HWND dialog);
// WM_DPICHANGED: the art and fonts for `dpi`, and the same layout again for
// it at `place`'s top-left corner; the controls stay, with the options, what
// is shown, the focus and the completed look.
void RescaleSkin(HWND dialog, UINT dpi, const RECT* place);

// Offers a message to the skin's window handling (keyboard focus among the
// controls, dragging, cursors, screen readers); true when the skin answered
// it, its result then set as the dialog's message result.
bool DispatchSkinWindow(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Offers a mouse message to the skinned controls; true when one consumed it.
// Any other message is not offered and returns false.
bool DispatchSkinMouse(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The install command may go ahead: the install button is shown and at least
// one option is ticked.
bool InstallGateOpen();
// Records every unticked option with AddExclusion.
void RecordExclusions();
// Once installed: the completed look (the close button, the link, the
// picture and the completed lines in a larger font, which the layout keeps
// at every scale), the keyboard focus on the close button, and then the list
// gone for good (out of view, hidden and disabled), with or without a skin.
// Nothing when the list has gone already.
void CompleteInstallation(HWND dialog);

// WM_ERASEBKGND: tiles the background (in high contrast the theme's window
// colour) onto `dc`, so that nothing else shows
// during the paint cycle's pause; false, drawing nothing, without a skin
// background (the system erases then).
bool EraseDialog(HDC dc);
void PaintDialog();  // WM_PAINT (the system's painting without a skin)
void OnControlNotify(HWND dialog, WPARAM commandId);  // the controls' WM_CONTROL_NOTIFY
