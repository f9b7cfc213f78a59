// Where the install dialog of setup.exe shows its artwork and what the
// artwork says it should look like there: the places of the faces, cells and
// status text in its 500 x 292 client area (scaled at other DPIs), and the
// start look composed from the bitmaps this program carries, drawn for the
// DPI as the program draws them. Header only: the end-to-end tests and the
// start-up benchmark share it.
#pragma once

#include <windows.h>

#include <map>
#include <set>
#include <vector>

#include "res/resource_ids.h"
#include "skin/scaled_art.h"
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

// The places above at a DPI, as the program lays the dialog out: every length
// at 96 DPI scaled by the one rounding rule, the buttons' and the status
// text's measured from the right and bottom edges.
struct Look {
    explicit Look(UINT dpi = kBaseDpi) : dpi(dpi) {}
    int S(int length) const { return ScalePixels(length, dpi); }
    POINT S(POINT place) const { return {S(place.x), S(place.y)}; }
    // A place near the bottom right, kept that far from the edges.
    POINT FromEnd(POINT place) const {
        return {width - S(kWidth - place.x), height - S(kHeight - place.y)};
    }

    UINT dpi;
    int width = S(kWidth), height = S(kHeight), cell = S(kCellSize);
    RECT status = {S(kStatusArea.left), height - S(kHeight - kStatusArea.top),
                   width - S(kWidth - kStatusArea.right), height};
    POINT cancel = FromEnd(kCancelPlace), install = FromEnd(kInstallPlace),
          picture = S(kPicturePlace), pluginCell = S(kPluginCell), presetsCell = S(kPresetsCell);
    int promptTop = height - S(kHeight - kPromptTop);
};

struct Artwork {
    Pixels background, cancel, install, close, picture, strip;
};

// The artwork as the program draws it at `dpi`: the resources themselves at
// 96 DPI, the program's own scaled art at any other.
inline const Artwork& Art(UINT dpi = kBaseDpi) {
    static std::map<UINT, Artwork> loaded;
    auto found = loaded.find(dpi);
    if (found != loaded.end()) return found->second;
    auto art = [dpi](int id, int cells = 1) {
        if (dpi == kBaseDpi) return LoadArtwork(id);
        return TakePixels(
            LoadSkinArt(GetModuleHandleA(nullptr), static_cast<WORD>(id), dpi, cells));
    };
    return loaded[dpi] = {art(IDB_BACKGROUND), art(IDB_CANCEL_FACE), art(IDB_INSTALL_FACE),
                          art(IDB_CLOSE_FACE), art(IDB_PICTURE),     art(IDB_CHECK_STRIP, 4)};
}

inline RECT AreaOf(POINT place, const Pixels& art) {
    return {place.x, place.y, place.x + art.width, place.y + art.height};
}

inline RECT CellArea(POINT cell, const Look& at = Look()) {
    return {cell.x, cell.y, cell.x + at.cell, cell.y + at.cell};
}

inline Pixels StripCell(int value, const Look& at = Look()) {
    return Crop(Art(at.dpi).strip, value * at.cell, 0, (value + 1) * at.cell, at.cell);
}

// What the artwork says the dialog shows before installing, where it shows
// artwork: the background, the faces (white left out), the two check cells.
inline Pixels StartLook(bool pluginTicked, bool presetsTicked, bool installShown,
                        const Look& at = Look()) {
    const Artwork& art = Art(at.dpi);
    Pixels look = Overlay(art.background, art.cancel, at.cancel.x, at.cancel.y, true);
    if (installShown) look = Overlay(look, art.install, at.install.x, at.install.y, true);
    look = Overlay(look, StripCell(pluginTicked ? kTicked : kClear, at), at.pluginCell.x,
                   at.pluginCell.y, false);
    return Overlay(look, StripCell(presetsTicked ? kTicked : kClear, at), at.presetsCell.x,
                   at.presetsCell.y, false);
}

// The artwork's areas of the start look: both faces' places, both cells, the
// picture's place down to the prompt (the picture is hidden until installed),
// the status text's place and the band between the list and the buttons.
inline std::vector<RECT> StartLookAreas(const Look& at = Look()) {
    const Artwork& art = Art(at.dpi);
    RECT picture = AreaOf(at.picture, art.picture);
    picture.bottom = at.promptTop;
    return {
        AreaOf(at.cancel, art.cancel),
        AreaOf(at.install, art.install),
        CellArea(at.pluginCell, at),
        CellArea(at.presetsCell, at),
        picture,
        at.status,
        {0, at.S(256), at.width, at.cancel.y},
    };
}

// The focus mark around a control whose bounds are `bounds`: a frame one
// pixel outside them, every other pixel of it (those where x + y is even) a
// dot, black on light ground and white on dark, the rest background. Its
// edges, as far as they lie in the dialog (a long caption reaches past it).
inline std::vector<RECT> FocusFrame(RECT bounds, const Look& at = Look()) {
    InflateRect(&bounds, 1, 1);
    const RECT& f = bounds;
    const RECT dialog = {0, 0, at.width, at.height};
    std::vector<RECT> edges;
    for (RECT edge :
         {RECT{f.left, f.top, f.right, f.top + 1}, RECT{f.left, f.bottom - 1, f.right, f.bottom},
          RECT{f.left, f.top, f.left + 1, f.bottom}, RECT{f.right - 1, f.top, f.right, f.bottom}})
        if (IntersectRect(&edge, &edge, &dialog)) edges.push_back(edge);
    return edges;
}

inline Pixels WithFocusMark(Pixels look, RECT bounds, const Look& at = Look()) {
    const Pixels& ground = Art(at.dpi).background;
    for (const RECT& edge : FocusFrame(bounds, at))
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
inline std::set<int> WhitePixels(const Pixels& shot, const Look& at = Look()) {
    std::set<int> places;
    const RECT& status = at.status;
    for (int y = status.top; y < status.bottom; ++y)
        for (int x = status.left; x < status.right; ++x)
            if (shot.At(x, y) == kWhite) places.insert(y * at.width + x);
    return places;
}
