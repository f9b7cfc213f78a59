#include "app/dialog_skin.h"

#include <shellapi.h>

#include "app/entry.h"
#include "app/install_dialog.h"
#include "common/bounded_text.h"
#include "payload/payload_install.h"
#include "res/resource_ids.h"
#include "skin/bitmap_button.h"
#include "skin/link_label.h"
#include "skin/skin_bitmap.h"
#include "skin/skin_context.h"
#include "skin/skin_focus.h"
#include "skin/strip_selector.h"
#include "skin/text_label.h"

SkinControl* DialogControls[kDialogSlots];

const char kMakerHost[] = "www.vantorel.com";
const char kInstallHelpPage[] = "https://www.vantorel.com/support/pastel-craft/install-plug-ins";

namespace {

// The passes over the options and the completed look stop before this slot.
constexpr int kPassEnd = kDialogSlots - 1;

constexpr int kLayoutMargin = 16;
constexpr int kCancelCommand = IDCANCEL;
constexpr int kInstallCommand = 219;
constexpr int kPictureCommand = 1;
constexpr int kWebLinkCommand = 1029;
constexpr int kOptionCommand = 2000;

// Option values: 0 clear, 2 ticked; the odd ones are pressed phases.
constexpr int kTicked = 2;
constexpr unsigned kCaptionRightOfCell = 0x80148000;  // 20 pixels right, level
constexpr int kCheckBoxRange = -3;                    // values 0 to 3, two phases

const char kPrompt[] = "Select folder where setup will install files:";
const char* const kCompletedLines[] = {
    "   Installation completed. Please",
    "restart your image editor to",
    "activate the plug-ins installed.",
};
constexpr int kCompletedX = 274;
constexpr int kCompletedTop = 100;
constexpr int kCompletedLineHeight = 16;

char SharedStatusText[kStatusTextSize];
int LayoutWidth;   // W: the background's size sets the layout
int LayoutHeight;  // H

// The prompt, then the completed lines; registered after the controls, so
// they are painted after them.
TextLabel* DialogTexts[4];

// Tab goes through the options, the list, Install (or Close), Cancel and the
// link; stops that are hidden are passed over.
FocusStop FocusOrder[7];

BitmapButton* Button(int slot) {
    return static_cast<BitmapButton*>(DialogControls[slot]);
}
StripSelector* Option(int slot) {
    return static_cast<StripSelector*>(DialogControls[slot]);
}

int OptionSum() {
    int sum = 0;
    for (int slot = FirstOptionSelector; slot < kPassEnd; ++slot)
        if (Option(slot)) sum += Option(slot)->value;
    return sum;
}

BitmapButton* NewButton(ControlHost* host, int x, int y, int face, int command, const char* label) {
    RECT place;
    BitmapButton* button = NewControl<BitmapButton>(host, MakeRect(&place, x, y, 0, 0), face, face,
                                                    command, SharedStatusText, nullptr, nullptr);
    if (button) button->label = label;
    return button;
}

StripSelector* NewOption(ControlHost* host, int y, int height, const char* caption,
                         const char* statusText, const char* name) {
    RECT place = {250, y, 0, height};  // x, y, width, height
    StripSelector* option =
        NewControl<StripSelector>(host, &place, IDB_CHECK_STRIP, kCaptionRightOfCell, caption, 0,
                                  kCheckBoxRange, statusText, kOptionCommand, 0, name);
    if (option) option->value = kTicked;
    return option;
}

void CreateControls(ControlHost* host) {
    const int W = LayoutWidth;
    const int H = LayoutHeight;
    for (SkinControl*& slot : DialogControls) slot = nullptr;

    DialogControls[CancelButton] =
        NewButton(host, W - 63, H - 21, IDB_CANCEL_FACE, kCancelCommand, "Cancel");
    DialogControls[InstallButton] =
        NewButton(host, W - 125, H - 21, IDB_INSTALL_FACE, kInstallCommand, "Install");
    BitmapButton* close = NewButton(host, W - 65, H - 21, IDB_CLOSE_FACE, kCancelCommand, "Close");
    DialogControls[CloseButton] = close;
    if (close) close->Show(0);

    RECT place;
    DialogControls[WebLink] = NewControl<LinkLabel>(host, MakeRect(&place, 300, 20, 0, 0),
                                                    kMakerHost, kWebLinkCommand, SharedStatusText);

    // The picture only paints, straight onto the window, once installed.
    BitmapButton* picture = NewButton(host, 6, 6, IDB_PICTURE, kPictureCommand, nullptr);
    DialogControls[Picture] = picture;
    if (picture) {
        picture->drawDirect = 1;
        picture->active = 0;
        picture->visible = 0;
    }

    DialogControls[FirstOptionSelector] =
        NewOption(host, 80, 0, "Pastel Craft Plug-in", "Select to install Pastel Craft Plug-in",
                  "PastelCraft");
    DialogControls[FirstOptionSelector + 1] =
        NewOption(host, 100, 20, "Additional presets: Portrait01 - Portrait12",
                  "Select to install additional presets", "PresetsPastels");

    DialogTexts[0] = NewControl<TextLabel>(host, kLayoutMargin + 4, H - 60 - 26, kPrompt);
    for (int line = 0; line < 3; ++line) {
        TextLabel* text = NewControl<TextLabel>(
            host, kCompletedX, kCompletedTop + line * kCompletedLineHeight, kCompletedLines[line]);
        if (text) text->visible = 0;
        DialogTexts[1 + line] = text;
    }
}

// A control that could not be made leaves an empty stop, which never takes
// the focus.
void SetFocusOrder(HWND dialog, ControlHost* host) {
    FocusOrder[0].control = DialogControls[FirstOptionSelector];
    FocusOrder[1].control = DialogControls[FirstOptionSelector + 1];
    FocusOrder[2].child = GetDlgItem(dialog, IDC_FOLDER_LIST);
    FocusOrder[3].control = DialogControls[InstallButton];
    FocusOrder[4].control = DialogControls[CloseButton];
    FocusOrder[5].control = DialogControls[CancelButton];
    FocusOrder[6].control = DialogControls[WebLink];
    host->focusOrder = FocusOrder;
    host->focusStops = 7;
}

void ShowInstallButtonAsOptionsSay(HWND dialog) {
    BitmapButton* install = Button(InstallButton);
    if (!install) return;
    if (OptionSum() != 0) {
        if (!install->visible) install->Show(1);
        return;
    }
    if (install->visible) install->Show(0);
    InvalidateRect(dialog, &install->bounds, TRUE);
}

}  // namespace

void BeginSkinSetUp(HWND dialog) {
    if (!MainSkin) return;
    ControlHost* host = MainSkin->host;
    host->currentDc = GetDC(dialog);
    RECT status;
    SetRect(&status, 0, 0, 100, 20);
    MainSkin->Attach(dialog, IDB_BACKGROUND, IDC_HAND_CURSOR, &status);
    StatusTextColor = 0xFFFFFF;

    // Without a background the layout keeps the artwork's own size.
    LayoutWidth = host->background ? host->background->width : 500;
    LayoutHeight = host->background ? host->background->height : 292;
    const int W = LayoutWidth;
    const int H = LayoutHeight;
    SetRect(&host->statusRect, kLayoutMargin + 4, H - 19,
            kLayoutMargin + (W - 2 * kLayoutMargin + 1) - 130, H - 19 + 20);

    CopyText(SharedStatusText, "Pastel Craft Plug-in for your image editor, by Vantorel");
    CreateControls(host);
    SetFocusOrder(dialog, host);
}

void FinishSkinSetUp(HWND dialog) {
    if (!MainSkin) return;
    ControlHost* host = MainSkin->host;
    if (host->currentDc) ReleaseDC(dialog, host->currentDc);
    host->currentDc = nullptr;

    const int W = LayoutWidth;
    const int H = LayoutHeight;
    MoveWindow(GetDlgItem(dialog, IDC_FOLDER_LIST), kLayoutMargin, H - 60,
               W - 2 * kLayoutMargin + 1, 10, TRUE);

    // A client area of exactly W x H around the centre the system chose.
    RECT window;
    RECT client;
    GetWindowRect(dialog, &window);
    GetClientRect(dialog, &client);
    MoveWindow(dialog, (2 * window.left + client.right - W) / 2,
               (2 * window.top + client.bottom - H) / 2,
               W + (window.right - window.left - client.right),
               H + (window.bottom - window.top - client.bottom), TRUE);
    // Only now has the window its final size.
    MainSkin->CreateBackBuffer(dialog);
}

bool DispatchSkinWindow(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!MainSkin || !MainSkin->DispatchWindow(dialog, message, wParam, lParam, &result))
        return false;
    SetWindowLongPtrA(dialog, DWLP_MSGRESULT, result);
    return true;
}

bool DispatchToSkin(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return MainSkin && MainSkin->DispatchMouse(dialog, message, wParam, lParam) != 0;
}

bool InstallGateOpen() {
    if (!MainSkin) return true;
    BitmapButton* install = Button(InstallButton);
    return (!install || install->visible) && OptionSum() != 0;
}

void RecordExclusions() {
    if (!MainSkin) return;
    for (int slot = FirstOptionSelector; slot < kPassEnd; ++slot)
        if (Option(slot) && Option(slot)->value == 0) AddExclusion(Option(slot)->name);
}

void ApplyCompletedLook() {
    if (!MainSkin) return;
    for (int slot = 0; slot < kPassEnd; ++slot) {
        if (!DialogControls[slot]) continue;
        DialogControls[slot]->active = 0;
        DialogControls[slot]->visible = 0;
    }
    for (int slot : {WebLink, CloseButton}) {
        if (!DialogControls[slot]) continue;
        DialogControls[slot]->active = 1;
        DialogControls[slot]->visible = 1;
    }
    // The picture shows but never reacts to the mouse.
    if (DialogControls[Picture]) DialogControls[Picture]->visible = 1;
    for (TextLabel* text : DialogTexts)
        if (text) text->visible = text != DialogTexts[0];

    // The focus goes to the close button, before the list that may hold it
    // goes. An installation started with Enter shows the focus there.
    ControlHost* host = MainSkin->host;
    if (GetKeyState(VK_RETURN) < 0) host->focusCues = 1;
    SetSkinFocus(host, DialogControls[CloseButton]);
}

void ApplyCompletedFont() {
    if (!MainSkin) return;
    HFONT larger = SkinContext::CreateSkinFont("ms sans serif", 16, 0);
    if (!larger) return;
    // The back buffer's DC holds the old font: it must let go before the
    // font is deleted.
    if (MainSkin->host->memoryDc) SelectObject(MainSkin->host->memoryDc, larger);
    if (NormalFont) DeleteObject(NormalFont);
    NormalFont = larger;
}

bool EraseDialog(HDC dc) {
    if (!MainSkin || !MainSkin->host->background) return false;
    RECT client;
    GetClientRect(MainSkin->host->window, &client);
    MainSkin->host->background->TileFill(dc, client);
    return true;
}

void PaintDialog() {
    if (!MainSkin) return;
    MainSkin->BeginSkinPaint();
    MainSkin->PaintAll();
    MainSkin->EndSkinPaint();
}

void OnControlNotify(HWND dialog, WPARAM commandId) {
    switch (commandId) {
    case kCancelCommand:
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        break;
    case kInstallCommand:
        SendMessageA(dialog, WM_COMMAND, IDOK, 0);
        break;
    case kWebLinkCommand:
        ShellExecuteA(dialog, "open", kInstallHelpPage, nullptr, nullptr, SW_SHOWMAXIMIZED);
        break;
    case kOptionCommand:
        ShowInstallButtonAsOptionsSay(dialog);
        break;
    }
}
