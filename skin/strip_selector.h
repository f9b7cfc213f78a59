// The strip selector: a multi-state control that shows the cell of a bitmap
// strip chosen by its value, with a caption beside it. Presses step the value
// up (left button) or down (right button) with wrap-around; in two-phase mode
// the odd value above each even one is its pressed look, so a strip of four
// cells (clear, clear pressed, ticked, ticked pressed) makes a check box. In
// picker mode the strip is a grid and a left click opens the cell picker.
#pragma once

#include <windows.h>

#include "skin/skin_bitmap.h"
#include "skin/skin_control.h"

// Option bits of StripSelector::flags.
constexpr int kStripTransposed = 0x01;   // rows and columns of a cell exchanged
constexpr int kStripPicker = 0x02;       // grid of 26 x 26 cells, picked in a popup
constexpr int kStripDoubleWidth = 0x04;  // cells twice as wide as the strip is high
constexpr int kStripKeyed = 0x08;        // white shows the background (strip mode)
constexpr int kStripValueOnly = 0x10;    // a bare value: never drawn, no mouse

constexpr int kStripTextSize = 40;  // name, NUL included
// Room for the install dialog's longest caption (43 characters) with some to
// spare; a longer caption is cut.
constexpr int kStripCaptionSize = 64;  // NUL included

class StripSelector : public SkinControl {
  public:
    // `place` holds x, y, width and height (not right and bottom): `area`
    // covers it, the cell's top-left corner is (x, y); see Place for the strip
    // and `captionOffset`. `startValue` is the lowest value and the start; a
    // `rangeArg` above 0 is the highest value, one of 0 or below the negated
    // highest value, making odd values pressed phases (not in picker mode).
    // The caption is cut to 63 characters; a name over 39 is refused, leaving
    // it empty, as a null one does. With kStripValueOnly only the flags and
    // the name are set: the creator calls SetValue before reading the value.
    StripSelector(ControlHost* host, const RECT* place, BitmapId stripId, unsigned captionOffset,
                  const char* caption, int startValue, int rangeArg, const char* statusText,
                  int commandId, int flags, const char* name);
    ~StripSelector() override;

    // Places the control anew, as the constructor does: `area` and the cell
    // from `place`; the strip `stripId` loaded through the host's current DC
    // in place of the one held, as square cells for the skin's DPI (a
    // picker's grid at 96 DPI); `captionOffset` packing the caption's x
    // offset from the cell (high word) and its y offset upwards (low word),
    // each biased by 0x8000. Without the strip the cell is `area` itself. The
    // caption counts as not painted until the next Paint. Not for
    // kStripValueOnly.
    void Place(const RECT* place, BitmapId stripId, unsigned captionOffset);

    // Hover text, stepping on presses and releases inside the cell, the end
    // of a pressed phase at the first message outside it (without notice),
    // and in picker mode the popup (left press) or a notice of commandId + 1
    // (right press, not consumed). A double click is taken as a press. A
    // check box (two-phase strip mode) takes its caption in as well, once
    // painted: the area from the cell to the caption's end. Returns 1 when
    // the message is consumed.
    int OnMouse(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    // Composes the cell in the host's back buffer and copies it to `dc`, then
    // draws the caption on `dc` in the skin's text colour; a check box in high
    // contrast is the system's check box instead of the cell. A value whose
    // cell does not lie wholly
    // inside the strip draws nothing at all. While hidden it restores the
    // background over `area`.
    void Paint(HDC dc) override;
    // The hit area. A check box named by its caption, checked while ticked
    // (the cells of values 2 and 3 above minValue), whose action ticks or
    // unticks it; otherwise a button whose action is a left click. No action
    // with kStripValueOnly. Either action posts commandId as the click does.
    RECT Bounds() override;
    int AccessibleRole() override;
    const char* AccessibleName() override { return caption; }
    int AccessibleState() override;
    const char* DefaultActionName() override;
    void DoDefaultAction(HWND window) override;
    int GetValue() override { return (flags & kStripValueOnly) ? value : value - minValue; }
    // value = v + minValue, kept within minValue to maxValue (the raw v with
    // kStripValueOnly). Nothing is repainted.
    void SetValue(int v) override;
    // Opens the cell picker modal to `window` and takes the cell picked:
    // paints it and posts commandId, returning 1. Returns 0, changing
    // nothing, when nothing was picked or a picker is open already. The
    // window may run its paint cycle while the popup is open; the cycle hands
    // the dispatch's DC back to the host when it ends, so the pick is drawn
    // through that DC (through a DC of its own outside a dispatch).
    int OpenPicker(HWND window);
    // Copies grid cell `index` (column index mod 4, row index / 4) of the
    // strip to `target` on `dest`, transposed with kStripTransposed. Returns
    // false, drawing nothing, when the block does not lie wholly inside the
    // strip.
    bool CopyGridCell(HDC dest, const RECT& target, int index) const;

    int value = 0;
    RECT cellRect = {};  // where the cell is drawn; the hit rectangle, edges included
    RECT area = {};      // cell and caption, erased while hidden
    int flags;
    SkinBitmap* strip = nullptr;  // owned; null with kStripValueOnly or when out of memory
    int minValue = 0;
    int maxValue = 0;
    char name[kStripTextSize];
    int twoPhase = 0;
    int captionDx = 0;
    int captionDy = 0;  // upwards from the cell's top
    char caption[kStripCaptionSize];
    RECT captionRect = {};  // the caption as last painted; empty before

  private:
    // Takes `next` as the value, wrapped (above maxValue to minValue, then
    // below 0 to maxValue), and repaints.
    void Take(long long next);
    void PaintStripCell(HDC dc);
    // Posts commandId to `window` and tells screen readers of the change.
    void Notify(HWND window);
    bool IsCheckBox() const { return twoPhase && !(flags & kStripValueOnly); }
    bool Ticked() const { return value - minValue >= 2; }
};
