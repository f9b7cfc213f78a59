// The cell picker: a small modal popup that shows every cell of a picker-mode
// strip selector, numbered from 01, on the skin's background, and reports
// where the user released the left button.
#pragma once

#include <windows.h>

#include "skin/control_host.h"

class StripSelector;

// The grid of the picker-mode strip and of the popup, whose slots each hold
// a cell and its number.
constexpr int kPickerCell = 26;
constexpr int kPickerColumns = 4;
constexpr int kPickerSlotWidth = 44;
constexpr int kPickerSlotHeight = 36;
constexpr int kPickerCellLeft = 18;
constexpr int kPickerCellTop = 10;
constexpr int kPickerNumberLeft = 4;
constexpr int kPickerNumberTop = 12;
constexpr int kPickerWidth = 198;
constexpr int kPickerMarginHeight = 50;
// Where the slots of a pick are counted from; a release left of or above it
// counts for the first column or row.
constexpr int kPickerHitLeft = 9;
constexpr int kPickerHitTop = 5;

// The state of the one popup that can be open. Set by RunCellPicker before the
// popup opens; pickOwner is null while none is open.
struct CellPickerState {
    StripSelector* pickOwner;  // the control picked for
    ControlHost* pickHost;     // whose background the popup shows
    int pickHeight;
    int pickWidth;
    // Client position of the left release in the popup (x low word, y high
    // word); 0 when nothing was picked.
    LPARAM pickedPoint;
};

extern CellPickerState CellPicker;

// The popup's height for cells 0 to maxValue: a slot's height per row beyond
// the first, and the margin. Bounded so that the popup stays within 16-bit
// screen coordinates.
int PickerHeight(int maxValue);

// Runs the popup for `owner` modal to `window`, whose client origin places it:
// its bottom-right corner one pixel above and left of the cell, or, for a
// cell nearer the client top than the popup is high, its top edge on the
// cell's bottom edge. Returns the picked point, 0 when the popup was closed
// without a pick (right press, Escape) or could not be made, or when a picker
// is already open.
LPARAM RunCellPicker(StripSelector* owner, HWND window);

INT_PTR CALLBACK CellPickerProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
