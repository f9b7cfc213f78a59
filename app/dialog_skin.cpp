#include "app/dialog_skin.h"

#include <shellapi.h>

#include "app/entry.h"
#include "app/install_dialog.h"
#include "common/bounded_text.h"
#include "common/com_apartment.h"
#include "common/handles.h"
#include "common/system_function.h"
#include "payload/payload_install.h"
#include "res/resource_ids.h"
#include "skin/bitmap_button.h"
#include "skin/link_label.h"
#include "skin/scaled_art.h"
#include "skin/skin_bitmap.h"
#include "skin/skin_context.h"
#include "skin/skin_contrast.h"
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
// The caption level with the cell, 20 pixels (at 96 DPI) right of its left
// edge: each offset is packed biased by 0x8000.
constexpr unsigned kCaptionLevel = 0x80008000;
constexpr int kCaptionRight = 20;
constexpr int kCheckBoxRange = -3;  // values 0 to 3, two phases

const char kPrompt[] = "Select folder where setup will install files:";
const char* const kCompletedLines[] = {
    "   Installation completed. Please",
    "restart your image editor to",
    "activate the plug-ins installed.",
};
constexpr int kCompletedX = 274;
constexpr int kCompletedTop = 100;
constexpr int kCompletedLineHeight = 16;

// The list's field at 96 DPI: as high as the strip the artwork leaves it.
constexpr int kListFieldHeight = 21;
constexpr int kListFontHeight = 13;

// Where the list goes once the installation has completed: out of view.
constexpr int kHiddenListTop = 1000;

char SharedStatusText[kStatusTextSize];
int LayoutWidth;   // W: the background's size sets the layout
int LayoutHeight;  // H
// The list's font once the dialog's own no longer fits the window's DPI.
GdiObject<HFONT> ListFont;

// A length of the layout at 96 DPI, at the skin's DPI.
int S(int value) {
    return ScalePixels(value, SkinDpi);
}

// The prompt, then the completed lines; registered after the controls, so
// they are painted after them.
TextLabel* DialogTexts[4];

// Tab goes through the options, the list, Install (or Close), Cancel and the
// link; stops that are hidden are passed over.
FocusStop FocusOrder[7];

// The buttons' faces and commands by slot (the link's slot has none).
const int kFaces[] = {IDB_CANCEL_FACE, IDB_INSTALL_FACE, IDB_CLOSE_FACE, 0, IDB_PICTURE};
const int kCommands[] = {kCancelCommand, kInstallCommand, kCancelCommand, 0, kPictureCommand};

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

// Made without a place or faces: LayOut gives them.
BitmapButton* NewButton(ControlHost* host, const char* label) {
    RECT unplaced = {};
    BitmapButton* button =
        NewControl<BitmapButton>(host, &unplaced, 0, 0, 0, SharedStatusText, nullptr, nullptr);
    if (button) button->label = label;
    return button;
}

StripSelector* NewOption(ControlHost* host, const char* caption, const char* statusText,
                         const char* name) {
    StripSelector* option =
        NewControl<StripSelector>(host, nullptr, IDB_CHECK_STRIP, 0, caption, 0, kCheckBoxRange,
                                  statusText, kOptionCommand, 0, name);
    if (option) option->value = kTicked;
    return option;
}

void CreateControls(ControlHost* host) {
    for (SkinControl*& slot : DialogControls) slot = nullptr;
    DialogControls[CancelButton] = NewButton(host, "Cancel");
    DialogControls[InstallButton] = NewButton(host, "Install");
    BitmapButton* close = NewButton(host, "Close");
    DialogControls[CloseButton] = close;
    if (close) close->Show(0);

    RECT unplaced = {};
    DialogControls[WebLink] =
        NewControl<LinkLabel>(host, &unplaced, kMakerHost, kWebLinkCommand, SharedStatusText);

    // The picture only paints, straight onto the window, once installed.
    BitmapButton* picture = NewButton(host, nullptr);
    DialogControls[Picture] = picture;
    if (picture) {
        picture->drawDirect = 1;
        picture->active = 0;
        picture->visible = 0;
    }

    DialogControls[FirstOptionSelector] = NewOption(
        host, "Pastel Craft Plug-in", "Select to install Pastel Craft Plug-in", "PastelCraft");
    DialogControls[FirstOptionSelector + 1] =
        NewOption(host, "Additional presets: Portrait01 - Portrait12",
                  "Select to install additional presets", "PresetsPastels");

    DialogTexts[0] = NewControl<TextLabel>(host, 0, 0, kPrompt);
    for (int line = 0; line < 3; ++line) {
        TextLabel* text = NewControl<TextLabel>(host, 0, 0, kCompletedLines[line]);
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

// The dialog scales itself: the system must not stretch its window or its
// list when the window's DPI changes (Windows 10 1703 and later).
void KeepSystemFromScaling(HWND dialog) {
    using DialogBehaviour = BOOL(WINAPI*)(HWND, int, int);
    auto dialogBehaviour =
        SystemFunction<DialogBehaviour>("user32.dll", "SetDialogDpiChangeBehavior");
    auto controlBehaviour =
        SystemFunction<DialogBehaviour>("user32.dll", "SetDialogControlDpiChangeBehavior");
    constexpr int kDisableAll = 1;        // the dialog: no resizing, no relayout, no fonts
    constexpr int kNoFontNoRelayout = 3;  // a control: neither its font nor its place
    if (dialogBehaviour) dialogBehaviour(dialog, kDisableAll, kDisableAll);
    if (controlBehaviour)
        controlBehaviour(GetDlgItem(dialog, IDC_FOLDER_LIST), kNoFontNoRelayout, kNoFontNoRelayout);
}

// The completed look, after installing and again after each scale change:
// only the close button, the link, the picture and the completed lines
// shown, and the larger font for the skin's DPI.
void ApplyCompletedLook() {
    if (!MainSkin) return;
    for (int slot = 0; slot < kPassEnd; ++slot) {
        SkinControl* control = DialogControls[slot];
        if (!control) continue;
        control->visible = slot == WebLink || slot == CloseButton || slot == Picture;
        // The picture shows but never reacts to the mouse.
        control->active = control->visible && slot != Picture;
        if (control->visible) control->erased = 0;
    }
    for (TextLabel* text : DialogTexts)
        if (text) text->visible = text != DialogTexts[0];
    ReplaceNormalFont(MainSkin->host, SkinContext::CreateScaledFont(16, 0, SkinDpi));
}

// Sets the list's item height so that its field is `height` pixels high. The
// field's frame does not scale with the font, and some systems add to the
// height asked for, by amounts that differ between systems and fonts: each
// setting is measured and corrected until the field is exact or a correction
// no longer brings it closer, and then the closest setting stays. Every pass
// but the last is strictly closer, so the loop ends.
void FitFieldHeight(HWND list, int height) {
    auto asked = SendMessageA(list, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
    LRESULT best = asked;
    int bestMiss = -1;
    for (;;) {
        SendMessageA(list, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), asked);
        RECT field;
        GetWindowRect(list, &field);
        int miss = field.bottom - field.top - height;
        int off = miss < 0 ? -miss : miss;
        if (bestMiss >= 0 && off >= bestMiss) break;
        best = asked;
        bestMiss = off;
        LRESULT next = asked - miss > 0 ? asked - miss : 1;
        if (next == asked) return;
        asked = next;
    }
    SendMessageA(list, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), best);
}

// The list along the bottom, its field as high as the artwork's strip for it
// in any font. At 96 DPI it has the dialog's own font, also after a change
// back to 96: a font made from the bitmap face's name may resolve to another
// face than the dialog's, and the look at 96 is the first start's.
void PlaceList(HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_FOLDER_LIST);
    GdiObject<HFONT> font;
    if (SkinDpi != kBaseDpi) font.Reset(SkinContext::CreateScaledFont(kListFontHeight, 0, SkinDpi));
    if (font || ListFont) {
        HFONT shown =
            font ? font.Get() : reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
        SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(shown), FALSE);
        ListFont = std::move(font);
    }
    FitFieldHeight(list, S(kListFieldHeight));
    // Once installed, the list stays out of view.
    if (!InstallCompleted)
        MoveWindow(list, S(kLayoutMargin), LayoutHeight - S(60),
                   LayoutWidth - S(2 * kLayoutMargin - 1), S(10), TRUE);
}

// Gives every control its place and art for the skin's DPI, then the list,
// the window (a client area of exactly W x H around the centre the system
// chose, or at `place`'s top-left corner) and the back buffer for its size.
// What each control shows and holds stays; the status text and the focus
// mark go with the old layout.
void LayOut(HWND dialog, const RECT* place) {
    ControlHost* host = MainSkin->host;
    // Without a background the layout keeps the artwork's own size.
    const int W = LayoutWidth = host->background ? host->background->width : S(500);
    const int H = LayoutHeight = host->background ? host->background->height : S(292);
    SetRect(&host->statusRect, S(kLayoutMargin + 4), H - S(19), W - S(kLayoutMargin - 1 + 130),
            H - S(19) + S(20));

    const POINT corners[] = {
        {W - S(63), H - S(21)}, {W - S(125), H - S(21)}, {W - S(65), H - S(21)}, {S(300), S(20)},
        {S(6), S(6)},
    };
    for (int slot = CancelButton; slot <= Picture; ++slot) {
        RECT at;
        MakeRect(&at, corners[slot].x, corners[slot].y, 0, 0);
        if (slot != WebLink && Button(slot))
            Button(slot)->SetFaces(&at, kFaces[slot], kFaces[slot], kCommands[slot]);
    }
    if (auto* link = static_cast<LinkLabel*>(DialogControls[WebLink]))
        link->MoveTo(corners[WebLink].x, corners[WebLink].y);
    for (int i = 0; i < 2; ++i) {
        RECT at = {S(250), S(80 + 20 * i), 0, S(20 * i)};  // x, y, width, height
        if (StripSelector* option = Option(FirstOptionSelector + i))
            option->Place(&at, IDB_CHECK_STRIP,
                          kCaptionLevel + (static_cast<unsigned>(S(kCaptionRight)) << 16));
    }
    if (DialogTexts[0]) DialogTexts[0]->MoveTo(S(kLayoutMargin + 4), H - S(60 + 26));
    for (int line = 0; line < 3; ++line)
        if (DialogTexts[1 + line])
            DialogTexts[1 + line]->MoveTo(S(kCompletedX),
                                          S(kCompletedTop + line * kCompletedLineHeight));
    for (int i = 0; i < host->controlCount; ++i) host->controls[i]->statusState = 0;
    host->statusOwner = nullptr;
    SetRectEmpty(&host->focusMark);
    if (InstallCompleted) ApplyCompletedLook();

    PlaceList(dialog);
    RECT window;
    RECT client;
    GetWindowRect(dialog, &window);
    GetClientRect(dialog, &client);
    MoveWindow(dialog, place ? place->left : (2 * window.left + client.right - W) / 2,
               place ? place->top : (2 * window.top + client.bottom - H) / 2,
               W + (window.right - window.left - client.right),
               H + (window.bottom - window.top - client.bottom), TRUE);
    // Only now has the window its final size.
    MainSkin->CreateBackBuffer(dialog);
}

// The skin for `dpi` (0: the window's own), its controls made on the first
// call, laid out for it. Every bitmap is made compatible with the window's
// DC, current meanwhile.
void ScaleSkin(HWND dialog, UINT dpi, const RECT* place) {
    ControlHost* host = MainSkin->host;
    WindowDc dc(dialog);
    host->currentDc = dc.Get();
    MainSkin->Attach(dialog, IDB_BACKGROUND, IDC_HAND_CURSOR, nullptr, dpi);
    if (host->controlCount == 0) {
        CreateControls(host);
        SetFocusOrder(dialog, host);
    }
    LayOut(dialog, place);
    host->currentDc = nullptr;
}

}  // namespace

void SetUpSkin(HWND dialog) {
    if (!MainSkin) return;
    KeepSystemFromScaling(dialog);
    StatusTextColor = 0xFFFFFF;
    ReadHighContrast();
    CopyText(SharedStatusText, "Pastel Craft Plug-in for your image editor, by Vantorel");
    ScaleSkin(dialog, 0, nullptr);
}

void RescaleSkin(HWND dialog, UINT dpi, const RECT* place) {
    if (!MainSkin) return;
    ScaleSkin(dialog, dpi, place);
    InvalidateRect(dialog, nullptr, TRUE);
}

bool DispatchSkinWindow(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!MainSkin || !MainSkin->DispatchWindow(dialog, message, wParam, lParam, &result))
        return false;
    SetWindowLongPtrA(dialog, DWLP_MSGRESULT, result);
    return true;
}

bool DispatchSkinMouse(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
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

void CompleteInstallation(HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_FOLDER_LIST);
    if (!IsWindowEnabled(list)) return;  // completed already
    ApplyCompletedLook();
    // The focus goes to the close button, before the list that may hold it
    // goes. An installation started with Enter shows the focus there.
    if (MainSkin) {
        ControlHost* host = MainSkin->host;
        if (GetKeyState(VK_RETURN) < 0) host->focusCues = 1;
        SetSkinFocus(host, DialogControls[CloseButton]);
    }
    // The list goes once, for good: out of view, hidden and disabled, so
    // neither the mouse nor the keyboard reaches it.
    MoveWindow(list, kLayoutMargin, kHiddenListTop, 50, 10, TRUE);
    ShowWindow(list, SW_HIDE);
    EnableWindow(list, FALSE);
}

bool EraseDialog(HDC dc) {
    if (!MainSkin || !MainSkin->host->background) return false;
    RECT client;
    GetClientRect(MainSkin->host->window, &client);
    FillBehind(MainSkin->host, dc, client);
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
        // The shell may hand the page over through COM.
        JoinApartment();
        ShellExecuteA(dialog, "open", kInstallHelpPage, nullptr, nullptr, SW_SHOWMAXIMIZED);
        break;
    case kOptionCommand:
        ShowInstallButtonAsOptionsSay(dialog);
        break;
    }
}
