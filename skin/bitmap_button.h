// The skinned push button: a face drawn pixel by pixel from a cached bitmap
// with white left transparent, a pressed face (the same image moved one
// pixel right and down when both faces share a bitmap), an optional line of
// text, and a completed click reported with WM_CONTROL_NOTIFY.
#pragma once

#include <windows.h>

#include "skin/skin_bitmap.h"
#include "skin/skin_control.h"

constexpr int kButtonTextSize = 60;  // NUL included

class BitmapButton : public SkinControl {
  public:
    // `place` gives the top-left corner where the faces are drawn (and the
    // button's rectangle when it has no normal face). A face id of 0 means no
    // such face. `textPlace`, when given, holds the text's offset from that
    // corner (left, top) and its size (right, bottom). A text longer than 59
    // characters is refused, and a text without a placement is dropped: the
    // button then draws none. The faces are loaded with the host's current
    // DC; a face whose allocation fails stays null.
    BitmapButton(ControlHost* host, const RECT* place, int normalId, int pressedId, int commandId,
                 const char* statusText, const char* text, const RECT* textPlace);
    ~BitmapButton() override;

    // Releases any faces held, loads the new ones through the bitmap cache and
    // sizes `bounds` from the normal face (one pixel larger each way when both
    // faces share an id); the press state starts again at idle.
    void SetFaces(const RECT* place, int normalId, int pressedId, int commandId);

    // Moves inside show the status text (and in high contrast light the
    // face); a press inside draws the pressed face;
    // the release of that press draws the released face, posts `commandId`
    // and is consumed (returns 1). A move outside abandons the press. Every
    // other message returns 0.
    int OnMouse(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    // Visible: the normal face over the background, through the back buffer,
    // or straight onto `dc` pixel by pixel when `drawDirect` is set; then the
    // text. In high contrast a labelled button draws its label on a framed
    // face in the system's colours instead (grey text while inactive), lit
    // while `hot`. Hidden: the background over the button's and its text's
    // areas.
    void Paint(HDC dc) override;
    // With a label a push button of that name, pressed as a click presses it;
    // without one a picture without a default action.
    RECT Bounds() override { return bounds; }
    int AccessibleRole() override { return label ? ROLE_SYSTEM_PUSHBUTTON : ROLE_SYSTEM_GRAPHIC; }
    const char* AccessibleName() override { return label ? label : ""; }
    const char* DefaultActionName() override { return label ? "Press" : nullptr; }
    void DoDefaultAction(HWND window) override { PostNotify(window, commandId); }

    // Draws the pressed (non-zero) or released face, and the text, in the back
    // buffer and copies them to the host's current DC. Does nothing unless
    // both faces exist.
    void DrawFace(int pressed);
    // Whether the mouse position in lParam lies strictly inside the button
    // placed at (x, y): its left column and top row, and the columns and rows
    // from x + width and y + height on, are outside.
    int HitTestStrict(LPARAM lParam, int x, int y) const;

    enum { kIdle = 0, kPressed = 1, kClicked = 3 };

    SkinBitmap* normalFace = nullptr;   // owned; null for id 0
    SkinBitmap* pressedFace = nullptr;  // owned; null for id 0
    int pressState = kIdle;             // kIdle, kPressed or kClicked
    POINT position = {};                // where the faces are drawn
    RECT bounds = {};                   // erased and copied with the face; sized for the hit test
    char text[kButtonTextSize];
    RECT textRect = {};   // the text's top-left corner and the area drawn for it
    int drawDirect = 0;   // Paint draws the face straight onto its DC
    int pressOffset = 0;  // the pressed face lies one pixel right and down
    int hot = 0;          // the pointer was inside at the last move
    // The word the face shows, for screen readers; null for a picture. Not
    // copied: the creator keeps the text.
    const char* label = nullptr;

  private:
    void ComposeFace(HDC dest, const SkinBitmap* face, int shift, int direct);
    void ComposeText(HDC dest);
    void ComposeContrast(HDC dest, int pressed);
};
