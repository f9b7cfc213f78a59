// The install dialog from the program's own template, skinned and shown,
// run modeless in this process so that a test can drive it with the
// dialog's own messages and read its pixels.
#pragma once

#include <windows.h>

#include <string>

#include "skin/control_host.h"
#include "support/screen_capture.h"

class SkinContext;
class SkinControl;
class BitmapButton;
class StripSelector;

// Puts `path` into the first free record of the candidate list, as discovery
// would, with the flag that asks for the maker's folder to be appended.
void PlaceCandidate(const std::string& path, int flag);

// A window's client area as its own DC gives it.
Pixels ClientPixels(HWND window);

class SkinnedDialog {
  public:
    // Offers `candidate` (when not empty) as the list's only folder besides
    // whatever discovery finds, creates the skin and the dialog, shows it and
    // waits for its first paint.
    explicit SkinnedDialog(const std::string& candidate = "");
    ~SkinnedDialog();
    SkinnedDialog(const SkinnedDialog&) = delete;
    SkinnedDialog& operator=(const SkinnedDialog&) = delete;

    HWND Window() const { return window_; }
    SkinContext* Skin() const;
    SkinControl* Slot(int slot) const;
    BitmapButton* Button(int slot) const;
    StripSelector* Option(int index) const;  // 0 the plug-in, 1 the presets

    // Sends what a control posts when it has been clicked.
    void Notify(WPARAM commandId);
    INT_PTR Command(WPARAM command);
    // Repaints the whole client area now.
    void Repaint();
    // Where a child control sits, in client coordinates.
    RECT ChildPlace(int id) const;

  private:
    ControlHost host_{};
    HWND window_ = nullptr;
};
