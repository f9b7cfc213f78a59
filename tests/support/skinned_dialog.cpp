#include "support/skinned_dialog.h"

#include <gtest/gtest.h>

#include <new>

#include "app/dialog_skin.h"
#include "app/entry.h"
#include "app/install_dialog.h"
#include "common/handles.h"
#include "discovery/candidate_list.h"
#include "skin/bitmap_button.h"
#include "skin/skin_context.h"
#include "skin/strip_selector.h"
#include "support/test_support.h"

namespace {

// Copies `width` x `height` pixels of `source` into `out`, as COLORREFs.
void ReadPixels(HDC source, int width, int height, std::vector<COLORREF>& out) {
    BITMAPINFO info {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    GdiObject<HBITMAP> section(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    MemoryDc dc(CreateCompatibleDC(nullptr));
    out.assign(static_cast<size_t>(width) * height, 0);
    if (!section.Get() || !dc.Get()) return;
    {
        SelectGuard select(dc.Get(), section.Get());
        BitBlt(dc.Get(), 0, 0, width, height, source, 0, 0, SRCCOPY);
        GdiFlush();
    }
    const DWORD* rgb = static_cast<const DWORD*>(bits);
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = RGB((rgb[i] >> 16) & 0xFF, (rgb[i] >> 8) & 0xFF, rgb[i] & 0xFF);
}

void PlaceCandidate(const std::string& path) {
    for (CandidateFolder& record : CandidateList) {
        if (record.path[0] != '\0') continue;
        lstrcpynA(record.path, path.c_str(), kPathSize);
        record.flag = 0;
        return;
    }
}

}  // namespace

Pixels Pixels::OfClient(HWND window) {
    Pixels result;
    RECT client;
    GetClientRect(window, &client);
    result.width_ = client.right;
    result.height_ = client.bottom;
    WindowDc dc(window);
    ReadPixels(dc.Get(), result.width_, result.height_, result.pixels_);
    return result;
}

Pixels Pixels::OfBitmap(HINSTANCE instance, int id) {
    Pixels result;
    GdiObject<HBITMAP> bitmap(static_cast<HBITMAP>(
        LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    BITMAP info {};
    if (!bitmap.Get() || !GetObjectA(bitmap.Get(), sizeof info, &info)) return result;
    result.width_ = info.bmWidth;
    result.height_ = info.bmHeight;
    MemoryDc dc(CreateCompatibleDC(nullptr));
    SelectGuard select(dc.Get(), bitmap.Get());
    ReadPixels(dc.Get(), result.width_, result.height_, result.pixels_);
    return result;
}

Pixels Pixels::OfDc(HDC dc, int width, int height) {
    Pixels result;
    result.width_ = width;
    result.height_ = height;
    ReadPixels(dc, width, height, result.pixels_);
    return result;
}

COLORREF Pixels::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
    return pixels_[static_cast<size_t>(y) * width_ + x];
}

int Pixels::Differences(const Pixels& other, const RECT& area) const {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            COLORREF mine = At(x, y);
            COLORREF theirs = other.At(x, y);
            if (mine != CLR_INVALID && theirs != CLR_INVALID && mine != theirs) ++count;
        }
    return count;
}

SkinnedDialog::SkinnedDialog(const std::string& candidate) {
    ResetFolderTables();
    if (!candidate.empty()) PlaceCandidate(candidate);
    AppInstance = GetModuleHandleA(nullptr);
    MainSkin = new (std::nothrow) SkinContext(&host_, AppInstance);
    window_ = CreateDialogParamA(AppInstance, "main", nullptr, InstallDialogProc, 0);
    EXPECT_NE(nullptr, window_);
    if (!window_) return;
    ShowWindow(window_, SW_SHOWNA);
    UpdateWindow(window_);
    PumpMessages();
}

SkinnedDialog::~SkinnedDialog() {
    if (window_) DestroyWindow(window_);
    if (MainSkin) {
        MainSkin->Destroy();
        delete MainSkin;
        MainSkin = nullptr;
    }
    ResetFolderTables();
}

SkinControl* SkinnedDialog::Slot(int slot) const { return DialogControls[slot]; }

BitmapButton* SkinnedDialog::Button(int slot) const {
    return static_cast<BitmapButton*>(DialogControls[slot]);
}

StripSelector* SkinnedDialog::Option(int index) const {
    return static_cast<StripSelector*>(DialogControls[FirstOptionSelector + index]);
}

void SkinnedDialog::Notify(WPARAM commandId) {
    InstallDialogProc(window_, WM_CONTROL_NOTIFY, commandId, 0);
}

INT_PTR SkinnedDialog::Command(WPARAM command) {
    return InstallDialogProc(window_, WM_COMMAND, command, 0);
}

void SkinnedDialog::Repaint() {
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    PumpMessages();
}

RECT SkinnedDialog::ChildPlace(int id) const {
    RECT place {};
    HWND child = GetDlgItem(window_, id);
    GetWindowRect(child, &place);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&place), 2);
    return place;
}
