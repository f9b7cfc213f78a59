// The install dialog from the program's own template, skinned and shown,
// run modeless in this process so that a test can drive it with the
// dialog's own messages and read its pixels.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "skin/control_host.h"

class SkinControl;
class BitmapButton;
class StripSelector;

// The pixels of a window's client area, or of a bitmap resource, as
// COLORREFs.
class Pixels {
  public:
    static Pixels OfClient(HWND window);
    static Pixels OfBitmap(HINSTANCE instance, int id);
    static Pixels OfDc(HDC dc, int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }
    COLORREF At(int x, int y) const;
    // How many pixels of the rectangle differ from the same pixels of `other`
    // (positions outside either are skipped).
    int Differences(const Pixels& other, const RECT& area) const;

  private:
    int width_ = 0;
    int height_ = 0;
    std::vector<COLORREF> pixels_;
};

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
    ControlHost host_ {};
    HWND window_ = nullptr;
};
