// The install dialog's skinned look and option logic: the background and the
// seven skinned controls, the layout that follows the background's size, the
// install gate and the exclusions from the options, the painted texts and the
// completed look. Every routine does nothing (and the gate is open) while the
// program runs without its skin.
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

// WM_INITDIALOG, first part: attaches the skin with the background for `dpi`
// (0: the window's own), lays out from the background's size with every
// other length scaled to that DPI, creates the controls and the texts and
// sets the keyboard focus order. The window DC taken here stays current
// until FinishSkinSetUp, so that every bitmap is made compatible with it.
void BeginSkinSetUp(HWND dialog, UINT dpi = 0);
// WM_INITDIALOG, last part: gives the DC back, places the list (with a font
// and field height for the DPI, once that is not 96), gives the window a
// client area of exactly the background's size around its centre (or with
// its top-left corner at `place`'s) and makes the back buffer for that size.
void FinishSkinSetUp(HWND dialog, const RECT* place = nullptr);
// WM_DPICHANGED: lays the dialog out again for `dpi` with the art and fonts
// for it, at `place`'s top-left corner; the options, what is shown, the
// focus and the completed look are kept.
void RescaleSkin(HWND dialog, UINT dpi, const RECT* place);

// Offers a message to the skin's window handling (keyboard focus among the
// controls, dragging, cursors, screen readers); true when the skin answered
// it, its result then set as the dialog's message result.
bool DispatchSkinWindow(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Offers a message to the skinned controls; true when one consumed it.
bool DispatchToSkin(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The install command may go ahead: the install button is shown and at least
// one option is ticked.
bool InstallGateOpen();
// Records every unticked option with AddExclusion.
void RecordExclusions();
// After installing: only the close button, the link, the picture and the
// completed lines remain, and the close button takes the keyboard focus
// (before the list goes), then the larger font (after).
void ApplyCompletedLook();
void ApplyCompletedFont();

// WM_ERASEBKGND: tiles the background onto `dc`, so that nothing else shows
// during the paint cycle's pause; false, drawing nothing, without a skin
// background (the system erases then).
bool EraseDialog(HDC dc);
// WM_PAINT (the system's painting without a skin) and the controls'
// WM_CONTROL_NOTIFY.
void PaintDialog();
void OnControlNotify(HWND dialog, WPARAM commandId);
