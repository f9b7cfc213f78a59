// Where the install dialog of setup.exe shows its artwork and what the
// artwork says it should look like there: the places of the faces, cells and
// status text in its 500 x 292 client area, and the start look composed from
// the bitmaps this program carries. Header only: the end-to-end tests and the
// start-up benchmark share it.
#pragma once

#include <windows.h>

#include <set>
#include <vector>

#include "res/resource_ids.h"
#include "support/screen_capture.h"

constexpr int kWidth = 500;
constexpr int kHeight = 292;
// The status text's place, as far as the client area reaches.
constexpr RECT kStatusArea = {20, 273, 355, kHeight};
constexpr POINT kCancelPlace = {437, 271};
constexpr POINT kInstallPlace = {375, 271};
constexpr POINT kClosePlace = {435, 271};
constexpr POINT kPicturePlace = {6, 6};
constexpr POINT kPluginCell = {250, 80};
constexpr POINT kPresetsCell = {250, 100};
constexpr int kCellSize = 13;
constexpr int kPromptTop = 206;
// A point of the dialog over no control, and points over the middle of
// controls.
constexpr POINT kNowhere = {480, 160};
constexpr POINT kOverInstall = {405, 280};
constexpr POINT kOverClose = {465, 280};
constexpr POINT kOverLink = {320, 26};
constexpr POINT kOverPluginCell = {256, 86};
constexpr POINT kOverPresetsCell = {256, 106};
constexpr POINT kOverPluginCaption = {300, 86};

// Check cells of the strip: clear and ticked.
constexpr int kClear = 0;
constexpr int kTicked = 2;

struct Artwork {
    Pixels background, cancel, install, close, picture, strip;
};

inline const Artwork& Art() {
    static const Artwork art = {
        LoadArtwork(IDB_BACKGROUND), LoadArtwork(IDB_CANCEL_FACE), LoadArtwork(IDB_INSTALL_FACE),
        LoadArtwork(IDB_CLOSE_FACE), LoadArtwork(IDB_PICTURE),     LoadArtwork(IDB_CHECK_STRIP),
    };
    return art;
}

inline RECT AreaOf(POINT place, const Pixels& art) {
    return {place.x, place.y, place.x + art.width, place.y + art.height};
}

inline RECT CellArea(POINT cell) {
    return {cell.x, cell.y, cell.x + kCellSize, cell.y + kCellSize};
}

inline Pixels StripCell(int value) {
    return Crop(Art().strip, value * kCellSize, 0, (value + 1) * kCellSize, kCellSize);
}

// What the artwork says the dialog shows before installing, where it shows
// artwork: the background, the faces (white left out), the two check cells.
inline Pixels StartLook(bool pluginTicked, bool presetsTicked, bool installShown) {
    const Artwork& art = Art();
    Pixels look = Overlay(art.background, art.cancel, kCancelPlace.x, kCancelPlace.y, true);
    if (installShown) look = Overlay(look, art.install, kInstallPlace.x, kInstallPlace.y, true);
    look = Overlay(look, StripCell(pluginTicked ? kTicked : kClear), kPluginCell.x, kPluginCell.y,
                   false);
    return Overlay(look, StripCell(presetsTicked ? kTicked : kClear), kPresetsCell.x,
                   kPresetsCell.y, false);
}

// The artwork's areas of the start look: both faces' places, both cells, the
// picture's place down to the prompt (the picture is hidden until installed),
// the status text's place and the band between the list and the buttons.
inline std::vector<RECT> StartLookAreas() {
    RECT picture = AreaOf(kPicturePlace, Art().picture);
    picture.bottom = kPromptTop;
    return {
        AreaOf(kCancelPlace, Art().cancel),
        AreaOf(kInstallPlace, Art().install),
        CellArea(kPluginCell),
        CellArea(kPresetsCell),
        picture,
        kStatusArea,
        {0, 256, kWidth, 271},
    };
}

// The focus mark around a control whose bounds are `bounds`: a frame one
// pixel outside them, every other pixel of it (those where x + y is even) a
// dot, black on light ground and white on dark, the rest background. Its
// edges, as far as they lie in the dialog (a long caption reaches past it).
inline std::vector<RECT> FocusFrame(RECT bounds) {
    InflateRect(&bounds, 1, 1);
    const RECT& f = bounds;
    const RECT dialog = {0, 0, kWidth, kHeight};
    std::vector<RECT> edges;
    for (RECT edge :
         {RECT{f.left, f.top, f.right, f.top + 1}, RECT{f.left, f.bottom - 1, f.right, f.bottom},
          RECT{f.left, f.top, f.left + 1, f.bottom}, RECT{f.right - 1, f.top, f.right, f.bottom}})
        if (IntersectRect(&edge, &edge, &dialog)) edges.push_back(edge);
    return edges;
}

inline Pixels WithFocusMark(Pixels look, RECT bounds) {
    const Pixels& ground = Art().background;
    for (const RECT& edge : FocusFrame(bounds))
        for (int y = edge.top; y < edge.bottom; ++y)
            for (int x = edge.left; x < edge.right; ++x) {
                if (x < 0 || y < 0 || x >= look.width || y >= look.height) continue;
                uint32_t under = ground.At(x, y);
                int light = (under >> 16 & 0xFF) * 3 + (under >> 8 & 0xFF) * 6 + (under & 0xFF);
                uint32_t dot = light < 1280 ? kWhite : 0;
                look.Set(x, y, (x + y) % 2 ? under : dot);
            }
    return look;
}

inline int Differences(const Pixels& shot, const Pixels& look, const std::vector<RECT>& areas) {
    int count = 0;
    for (const RECT& area : areas) count += CountDifferences(shot, look, area);
    return count;
}

// Where the status text's white pixels are.
inline std::set<int> WhitePixels(const Pixels& shot) {
    std::set<int> places;
    for (int y = kStatusArea.top; y < kStatusArea.bottom; ++y)
        for (int x = kStatusArea.left; x < kStatusArea.right; ++x)
            if (shot.At(x, y) == kWhite) places.insert(y * kWidth + x);
    return places;
}
