#include "skin/bitmap_button.h"

#include <new>

#include "common/bounded_text.h"
#include "skin/skin_contrast.h"
#include "skin/skin_draw.h"

namespace {

SkinBitmap* LoadFace(const ControlHost* host, int id) {
    if (!id) return nullptr;
    return new (std::nothrow)
        SkinBitmap(host->instance, host->currentDc, static_cast<BitmapId>(id), SkinDpi);
}

}  // namespace

BitmapButton::BitmapButton(ControlHost* host, const RECT* place, int normalId, int pressedId,
                           int commandId, const char* statusText, const char* text,
                           const RECT* textPlace)
    : SkinControl(host, statusText) {
    this->text[0] = '\0';
    // Without a placement there is nowhere to draw a text, so none is kept.
    if (text && textPlace) {
        CopyText(this->text, text);
        int left = place->left + textPlace->left;
        int top = place->top + textPlace->top;
        SetRect(&textRect, left, top, left + textPlace->right, top + textPlace->bottom);
    }
    SetFaces(place, normalId, pressedId, commandId);
}

BitmapButton::~BitmapButton() {
    ReleaseSkinBitmap(pressedFace);
    ReleaseSkinBitmap(normalFace);
}

void BitmapButton::SetFaces(const RECT* place, int normalId, int pressedId, int commandId) {
    ReleaseSkinBitmap(pressedFace);
    ReleaseSkinBitmap(normalFace);
    bounds = *place;
    normalFace = LoadFace(host, normalId);
    pressedFace = LoadFace(host, pressedId);
    position = {place->left, place->top};
    if (normalFace) {
        bounds.right = position.x + normalFace->width;
        bounds.bottom = position.y + normalFace->height;
    }
    // One image for both faces: pressing shows it moved one pixel (at 96 DPI)
    // right and down, so the button's area takes in those extra columns and
    // rows.
    pressOffset = normalId == pressedId ? ScalePixels(1, SkinDpi) : 0;
    bounds.right += pressOffset;
    bounds.bottom += pressOffset;
    pressState = kIdle;
    this->commandId = commandId;
}

int BitmapButton::HitTestStrict(LPARAM lParam, int x, int y) const {
    int mouseX = LOWORD(lParam);
    int mouseY = HIWORD(lParam);
    return x < mouseX && mouseX < x + (bounds.right - bounds.left) && y < mouseY &&
           mouseY < y + (bounds.bottom - bounds.top);
}

// The release is not hit-tested: a press ends either in a click or at the
// first move outside, which redraws the released face.
int BitmapButton::OnMouse(HWND window, UINT message, WPARAM, LPARAM lParam) {
    int inside = HitTestStrict(lParam, position.x, position.y);
    switch (message & 0xFFFF) {
    case WM_MOUSEMOVE:
        if (!inside && pressState == kPressed) {
            pressState = kIdle;
            hot = 0;
            DrawFace(0);
        }
        // Only the contrast look shows the pointer over the button.
        if (hot != inside) {
            hot = inside;
            if (HighContrast) DrawFace(pressState == kPressed);
        }
        ShowStatus(inside);
        return 0;
    case WM_LBUTTONDOWN:
        if (inside) {
            DrawFace(1);
            pressState = kPressed;
        }
        return 0;
    case WM_LBUTTONUP:
        if (pressState != kPressed) {
            pressState = kIdle;
            return 0;
        }
        DrawFace(0);
        DoDefaultAction(window);
        pressState = kClicked;
        return 1;
    default:
        return 0;
    }
}

void BitmapButton::Paint(HDC dc) {
    if (!visible) {
        FillBehind(host, dc, bounds);
        if (text[0]) FillBehind(host, dc, textRect);
        return;
    }
    if (HighContrast && label) {
        ComposeContrast(dc, pressState == kPressed);
        return;
    }
    if (normalFace) ComposeFace(dc, normalFace, 0, drawDirect);
    ComposeText(dc);
}

void BitmapButton::DrawFace(int pressed) {
    if (!normalFace || !pressedFace) return;
    if (HighContrast && label) {
        ComposeContrast(host->currentDc, pressed);
        return;
    }
    if (pressed)
        ComposeFace(host->currentDc, pressedFace, pressOffset, 0);
    else
        ComposeFace(host->currentDc, normalFace, 0, 0);
    ComposeText(host->currentDc);
}

// Through the back buffer the face reaches `dest` in one block transfer and
// never flickers; drawn directly it appears on `dest` column by column from
// its centre, over whatever `dest` already shows.
void BitmapButton::ComposeFace(HDC dest, const SkinBitmap* face, int shift, int direct) {
    HDC memoryDc = host->memoryDc;
    FillBehind(host, memoryDc, bounds);
    if (direct) {
        face->DrawCentreOutDirect(dest, position.x, position.y, 0, 0);
        return;
    }
    face->DrawCentreOut(memoryDc, position.x, position.y, shift, shift);
    BlitRect(dest, memoryDc, &bounds);
}

void BitmapButton::ComposeText(HDC dest) {
    if (!text[0]) return;
    HDC memoryDc = host->memoryDc;
    FillBehind(host, memoryDc, textRect);
    DrawTextAt(memoryDc, textRect.left, textRect.top, text);
    BlitRect(dest, memoryDc, &textRect);
}

// The button's word on a framed face in the theme's button colours, lit while
// the pointer is over it or it is pressed; pressed, the frame is doubled and
// the word moves as the artwork's face would.
void BitmapButton::ComposeContrast(HDC dest, int pressed) {
    HDC memoryDc = host->memoryDc;
    bool lit = pressed || hot;
    int ink = !active ? COLOR_GRAYTEXT : lit ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT;
    FillSystemColour(memoryDc, bounds, lit ? COLOR_HIGHLIGHT : COLOR_BTNFACE);
    FillSystemColour(memoryDc, bounds, ink, pressed ? 2 : 1);
    RECT words = bounds;
    OffsetRect(&words, pressed ? pressOffset : 0, pressed ? pressOffset : 0);
    SetTextColor(memoryDc, GetSysColor(ink));
    DrawTextA(memoryDc, label, -1, &words, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    BlitRect(dest, memoryDc, &bounds);
}
