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

void PlaceCandidate(const std::string& path, int flag) {
    for (CandidateFolder& record : CandidateList) {
        if (record.path[0] != '\0') continue;
        lstrcpynA(record.path, path.c_str(), kPathSize);
        record.flag = flag;
        return;
    }
}

Pixels ClientPixels(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    WindowDc dc(window);
    return CaptureDc(dc.Get(), 0, 0, client.right, client.bottom);
}

SkinnedDialog::SkinnedDialog(const std::string& candidate) {
    ResetFolderTables();
    if (!candidate.empty()) PlaceCandidate(candidate, 0);
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

SkinContext* SkinnedDialog::Skin() const {
    return MainSkin;
}

SkinControl* SkinnedDialog::Slot(int slot) const {
    return DialogControls[slot];
}

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
    RECT place{};
    HWND child = GetDlgItem(window_, id);
    GetWindowRect(child, &place);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&place), 2);
    return place;
}
