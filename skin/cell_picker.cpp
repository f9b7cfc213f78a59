#include "skin/cell_picker.h"

#include "common/handles.h"
#include "skin/skin_bitmap.h"
#include "skin/skin_draw.h"
#include "skin/strip_selector.h"

CellPickerState CellPicker;

namespace {

// More rows would not fit a 16-bit screen coordinate.
constexpr int kMaxPickerRows = 800;
constexpr int kLastPickerCell = kPickerColumns * (kMaxPickerRows + 1) - 1;

// WS_POPUP | WS_BORDER | DS_MODALFRAME, no items, menu, class or title; the
// procedure places and sizes the popup. Kept in DWORDs: the template must be
// DWORD-aligned.
const DWORD kPickerTemplate[7] = {0x80800080};

// Every cell of the owner's grid with its number, on the skin's background
// tiled from the popup's own origin.
void DrawPicker(HWND dialog, const RECT& update) {
    SkinDc dc(dialog);
    if (!dc.Get()) return;
    if (CellPicker.pickHost->background)
        CellPicker.pickHost->background->TileFill(dc.Get(), update);
    const StripSelector* owner = CellPicker.pickOwner;
    int last = owner->maxValue < kLastPickerCell ? owner->maxValue : kLastPickerCell;
    for (int i = 0; i <= last; ++i) {
        int x = i % kPickerColumns * kPickerSlotWidth;
        int y = i / kPickerColumns * kPickerSlotHeight;
        RECT cell = {x + kPickerCellLeft, y + kPickerCellTop, x + kPickerCellLeft + kPickerCell,
                     y + kPickerCellTop + kPickerCell};
        owner->CopyGridCell(dc.Get(), cell, i);
        // Cells are numbered from 01; only two digits fit the slot.
        char number[16];
        wsprintfA(number, "%0.2i", i + 1);
        TextOutA(dc.Get(), x + kPickerNumberLeft, y + kPickerNumberTop, number, 2);
    }
}

void PaintPicker(HWND dialog) {
    PAINTSTRUCT paint;
    BeginPaint(dialog, &paint);
    DrawPicker(dialog, paint.rcPaint);
    EndPaint(dialog, &paint);
}

}  // namespace

int PickerHeight(int maxValue) {
    int rows = maxValue / kPickerColumns;
    if (rows < 0) rows = 0;
    if (rows > kMaxPickerRows) rows = kMaxPickerRows;
    return rows * kPickerSlotHeight + kPickerMarginHeight;
}

LPARAM RunCellPicker(StripSelector* owner, HWND window) {
    if (CellPicker.pickOwner) return 0;
    CellPicker.pickOwner = owner;
    CellPicker.pickHost = owner->host;
    CellPicker.pickedPoint = 0;

    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    CellPicker.pickWidth = kPickerWidth;
    CellPicker.pickHeight = PickerHeight(owner->maxValue);
    int x = owner->cellRect.left + origin.x - 1;
    int y = owner->cellRect.top + origin.y - 1;
    if (owner->cellRect.top < CellPicker.pickHeight)
        y = origin.y + owner->cellRect.bottom + CellPicker.pickHeight;

    DWORD anchor = static_cast<DWORD>(y & 0xFFFF) << 16 | static_cast<DWORD>(x & 0xFFFF);
    DialogBoxIndirectParamA(owner->host->instance,
                            reinterpret_cast<LPCDLGTEMPLATEA>(kPickerTemplate), window,
                            CellPickerProc, anchor);
    CellPicker.pickOwner = nullptr;
    return CellPicker.pickedPoint;
}

INT_PTR CALLBACK CellPickerProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message & 0xFFFF) {
    case WM_INITDIALOG: {
        // Read signed: a window left of or above the primary screen puts the
        // anchor at negative coordinates.
        int x = static_cast<short>(LOWORD(lParam));
        int y = static_cast<short>(HIWORD(lParam));
        SetWindowPos(dialog, nullptr, x - CellPicker.pickWidth, y - CellPicker.pickHeight,
                     CellPicker.pickWidth, CellPicker.pickHeight, 0);
        CellPicker.pickedPoint = 0;
        return 0;
    }
    case WM_PAINT:
        PaintPicker(dialog);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) != IDCANCEL) return 0;
        EndDialog(dialog, static_cast<INT_PTR>(wParam));
        return 1;
    case WM_LBUTTONUP:
        CellPicker.pickedPoint = lParam;
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return 0;
    case WM_RBUTTONDOWN:
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return 0;
    }
    return 0;
}
