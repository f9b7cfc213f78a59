#include "skin/strip_selector.h"

#include <oleacc.h>

#include <new>

#include "common/bounded_text.h"
#include "skin/cell_picker.h"
#include "skin/skin_contrast.h"
#include "skin/skin_draw.h"

StripSelector::StripSelector(ControlHost* host, const RECT* place, BitmapId stripId,
                             unsigned captionOffset, const char* caption, int startValue,
                             int rangeArg, const char* statusText, int commandId, int flags,
                             const char* name)
    : SkinControl(host, statusText), flags(flags) {
    this->name[0] = '\0';
    this->caption[0] = '\0';
    if (name) CopyText(this->name, name);
    if (flags & kStripValueOnly) return;
    Place(place, stripId, captionOffset);
    minValue = value = startValue;
    this->commandId = commandId;
    // Negated through unsigned: the most negative argument must not overflow.
    maxValue = rangeArg > 0 ? rangeArg : static_cast<int>(0u - static_cast<unsigned>(rangeArg));
    // A pick is never a pressed phase: an odd pick must not be lowered when
    // the mouse leaves the cell.
    twoPhase = rangeArg <= 0 && !(flags & kStripPicker);
    // Cut rather than refused: a caption too long for the buffer still shows
    // its beginning.
    if (caption) lstrcpynA(this->caption, caption, kStripCaptionSize);
}

StripSelector::~StripSelector() {
    ReleaseSkinBitmap(strip);
}

void StripSelector::Place(const RECT* place, BitmapId stripId, unsigned captionOffset) {
    RECT placed = place ? *place : RECT();
    SetRect(&area, placed.left, placed.top, placed.left + placed.right, placed.top + placed.bottom);
    // The picker's grid keeps its 26-pixel cells at every DPI.
    bool picker = flags & kStripPicker;
    // Loaded before the old one goes: the same art shares its cache entry.
    SkinBitmap* held = strip;
    strip = new (std::nothrow) SkinBitmap(host->instance, host->currentDc, stripId,
                                          picker ? kBaseDpi : SkinDpi, picker ? 1 : kSquareCells);
    ReleaseSkinBitmap(held);
    cellRect = area;
    if (strip) {
        int size = picker ? kPickerCell : strip->height;
        int width = (flags & kStripDoubleWidth) ? 2 * strip->height : size;
        SetRect(&cellRect, placed.left, placed.top, placed.left + width, placed.top + size);
    }
    captionDx = static_cast<int>(captionOffset >> 16) - 0x8000;
    captionDy = static_cast<int>(captionOffset & 0xFFFF) - 0x8000;
    SetRectEmpty(&captionRect);
}

void StripSelector::Take(long long next) {
    if (next > maxValue) next = minValue;
    if (next < 0) next = maxValue;
    value = static_cast<int>(next);
    Redraw();
}

int StripSelector::OnMouse(HWND window, UINT message, WPARAM, LPARAM lParam) {
    if (flags & kStripValueOnly) return 0;
    UINT code = message & 0xFFFF;
    // A window class with double clicks turns a quick second press on the
    // same cell into one; it is a press all the same, or a quick untick and
    // tick again would lose its second click.
    if (code == WM_LBUTTONDBLCLK) code = WM_LBUTTONDOWN;
    if (code == WM_RBUTTONDBLCLK) code = WM_RBUTTONDOWN;
    RECT hit = Bounds();
    if (!HitTest(hit.left, hit.top, hit.right, hit.bottom, lParam)) {
        if (code == WM_MOUSEMOVE) ShowStatus(0);
        if (twoPhase && (value & 1)) {
            --value;
            Redraw();
        }
        return 0;
    }

    int picker = flags & kStripPicker;
    switch (code) {
    case WM_MOUSEMOVE:
        ShowStatus(1);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        if (picker && code == WM_LBUTTONDOWN) return OpenPicker(window);
        if (picker) {
            if (commandId) PostNotify(window, commandId + 1);
            return 0;
        }
        Take(static_cast<long long>(value) + (code == WM_LBUTTONDOWN ? 1 : -1));
        if (!twoPhase) Notify(window);
        return 1;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        if (picker || !twoPhase || !(value & 1)) return 0;
        Take(static_cast<long long>(value) + (code == WM_LBUTTONUP ? 1 : -1));
        Notify(window);
        return 1;
    }
    return 0;
}

int StripSelector::OpenPicker(HWND window) {
    LPARAM point = RunCellPicker(this, window);
    if (!point) return 0;
    int column = (LOWORD(point) - kPickerHitLeft) / kPickerSlotWidth;
    int row = (HIWORD(point) - kPickerHitTop) / kPickerSlotHeight;
    long long picked = column + kPickerColumns * row;
    Take(picked > maxValue ? maxValue : picked);
    Notify(window);
    return 1;
}

void StripSelector::Notify(HWND window) {
    PostNotify(window, commandId);
    NotifyEvent(EVENT_OBJECT_STATECHANGE);
}

RECT StripSelector::Bounds() {
    RECT hit = cellRect;
    if (IsCheckBox() && !IsRectEmpty(&captionRect)) UnionRect(&hit, &cellRect, &captionRect);
    return hit;
}

int StripSelector::AccessibleRole() {
    return IsCheckBox() ? ROLE_SYSTEM_CHECKBUTTON : ROLE_SYSTEM_PUSHBUTTON;
}

int StripSelector::AccessibleState() {
    return IsCheckBox() && Ticked() ? STATE_SYSTEM_CHECKED : 0;
}

const char* StripSelector::DefaultActionName() {
    if (flags & kStripValueOnly) return nullptr;
    if (!IsCheckBox()) return "Press";
    return Ticked() ? "Uncheck" : "Check";
}

// Both phases of a click at once.
void StripSelector::DoDefaultAction(HWND window) {
    if (flags & kStripValueOnly) return;
    if (flags & kStripPicker) {
        OpenPicker(window);
        return;
    }
    Take(static_cast<long long>(value) + (twoPhase ? 2 : 1));
    Notify(window);
}

bool StripSelector::CopyGridCell(HDC dest, const RECT& target, int index) const {
    if (!strip || index < 0) return false;
    int sourceX = index % kPickerColumns * kPickerCell;
    long long sourceY = static_cast<long long>(index / kPickerColumns) * kPickerCell;
    if (sourceX + (target.right - target.left) > strip->width ||
        sourceY + (target.bottom - target.top) > strip->height)
        return false;
    auto copy =
        (flags & kStripTransposed) ? &SkinBitmap::CopyBlockTransposed : &SkinBitmap::CopyBlock;
    (strip->*copy)(dest, target.left, target.top, target.right, target.bottom, sourceX,
                   static_cast<int>(sourceY));
    return true;
}

void StripSelector::PaintStripCell(HDC dc) {
    HDC memoryDc = host->memoryDc;
    int cellWidth = (flags & kStripDoubleWidth) ? 2 * strip->height : strip->height;
    long long first = static_cast<long long>(value) * cellWidth;
    if (value < 0 || first + cellWidth > strip->width) return;
    int firstColumn = static_cast<int>(first);
    int endColumn = firstColumn + cellWidth;
    int x = cellRect.left;
    int y = cellRect.top;
    // Under a keyed cell the background shows; under a transposed double-width
    // cell, the part the strip's rows do not reach.
    if (flags & (kStripKeyed | kStripTransposed)) FillBehind(host, memoryDc, cellRect);
    if (HighContrast && IsCheckBox()) {
        // The system's own check box, in the theme's colours.
        FillBehind(host, memoryDc, cellRect);
        RECT box = cellRect;
        DrawFrameControl(
            memoryDc, &box, DFC_BUTTON,
            DFCS_BUTTONCHECK | (Ticked() ? DFCS_CHECKED : 0) | ((value & 1) ? DFCS_PUSHED : 0));
    } else if (flags & kStripTransposed)
        strip->CopyColumnsTransposed(memoryDc, firstColumn, x, endColumn, y);
    else if (flags & kStripKeyed)
        strip->CopyColumnsKeyed(memoryDc, firstColumn, x, endColumn, y);
    else
        strip->CopyColumns(memoryDc, firstColumn, x, endColumn, y);
    BlitRect(dc, memoryDc, &cellRect);
    SetTextColor(dc, SkinTextColour());
    if (caption[0]) captionRect = DrawMeasuredText(dc, x + captionDx, y - captionDy, caption);
}

void StripSelector::Paint(HDC dc) {
    if (flags & kStripValueOnly) return;
    if (!visible) {
        FillBehind(host, dc, area);
        return;
    }
    if (!strip) {
        FillBehind(host, dc, cellRect);
        char number[16];
        wsprintfA(number, "%0.2i", value);
        DrawTextAt(dc, cellRect.left + captionDx, cellRect.top - captionDy, number);
        return;
    }
    if (!(flags & kStripPicker)) {
        PaintStripCell(dc);
    } else if (CopyGridCell(host->memoryDc, cellRect, value)) {
        BlitRect(dc, host->memoryDc, &cellRect);
    }
}

void StripSelector::SetValue(int v) {
    if (flags & kStripValueOnly) {
        value = v;
        return;
    }
    long long next = static_cast<long long>(v < 0 ? 0 : v) + minValue;
    value = static_cast<int>(next > maxValue ? maxValue : next);
}
