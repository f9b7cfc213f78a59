// What the screen shows of a window, and the program's own artwork, as plain
// 32-bit pixels, so that the one can be checked against the other pixel for
// pixel. Header only: the tests and the start-up benchmark share it.
#pragma once

#include <windows.h>

#include <stdint.h>

#include <vector>

// Pixels as 0xRRGGBB, top row first.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> data;

    bool Empty() const { return data.empty(); }
    uint32_t At(int x, int y) const { return data[static_cast<size_t>(y) * width + x]; }
    void Set(int x, int y, uint32_t colour) { data[static_cast<size_t>(y) * width + x] = colour; }
};

constexpr uint32_t kWhite = 0xFFFFFF;

namespace screen_capture_detail {

inline BITMAPINFO TopDownInfo(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// The screen keeps no alpha; whatever the top byte holds is not colour.
inline void DropAlpha(Pixels* pixels) {
    for (uint32_t& pixel : pixels->data) pixel &= 0xFFFFFF;
}

}  // namespace screen_capture_detail

// The pixels of `source` from (left, top) on, read into a 32-bit DIB
// section; empty when GDI refuses.
inline Pixels CaptureDc(HDC source, int left, int top, int width, int height) {
    Pixels pixels;
    HDC memory = CreateCompatibleDC(source);
    BITMAPINFO info = screen_capture_detail::TopDownInfo(width, height);
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (memory && section && bits) {
        HGDIOBJ old = SelectObject(memory, section);
        if (BitBlt(memory, 0, 0, width, height, source, left, top, SRCCOPY)) {
            GdiFlush();
            const uint32_t* first = static_cast<const uint32_t*>(bits);
            pixels.width = width;
            pixels.height = height;
            pixels.data.assign(first, first + static_cast<size_t>(width) * height);
            screen_capture_detail::DropAlpha(&pixels);
        }
        SelectObject(memory, old);
    }
    if (section) DeleteObject(section);
    if (memory) DeleteDC(memory);
    return pixels;
}

// The screen's pixels from (left, top) on.
inline Pixels CaptureScreen(int left, int top, int width, int height) {
    HDC screen = GetDC(nullptr);
    if (!screen) return Pixels();
    Pixels pixels = CaptureDc(screen, left, top, width, height);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// The window's client area as the screen shows it, `width` x `height` from
// the client origin.
inline Pixels CaptureClient(HWND window, int width, int height) {
    POINT origin = {0, 0};
    if (!ClientToScreen(window, &origin)) return Pixels();
    return CaptureScreen(origin.x, origin.y, width, height);
}

// A bitmap's pixels; empty for none or when GDI refuses. The bitmap is
// deleted.
inline Pixels TakePixels(HBITMAP bitmap) {
    Pixels pixels;
    if (!bitmap) return pixels;
    BITMAP shape{};
    GetObjectA(bitmap, sizeof shape, &shape);
    BITMAPINFO info = screen_capture_detail::TopDownInfo(shape.bmWidth, shape.bmHeight);
    std::vector<uint32_t> data(static_cast<size_t>(shape.bmWidth) * shape.bmHeight);
    HDC screen = GetDC(nullptr);
    int rows = GetDIBits(screen, bitmap, 0, shape.bmHeight, data.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    DeleteObject(bitmap);
    if (rows != shape.bmHeight) return pixels;
    pixels.width = shape.bmWidth;
    pixels.height = shape.bmHeight;
    pixels.data = std::move(data);
    screen_capture_detail::DropAlpha(&pixels);
    return pixels;
}

// A bitmap resource of this program (which carries the setup program's
// artwork, or a test's own) as pixels; empty when it is missing.
inline Pixels LoadArtwork(int id) {
    return TakePixels(static_cast<HBITMAP>(LoadImageA(
        GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

// `base` with `art` laid on it at (x, y); white pixels of `art` are left out
// when `keyed`, as the skin draws its faces and picture.
inline Pixels Overlay(Pixels base, const Pixels& art, int x, int y, bool keyed) {
    for (int row = 0; row < art.height; ++row)
        for (int column = 0; column < art.width; ++column) {
            int targetX = x + column;
            int targetY = y + row;
            if (targetX < 0 || targetY < 0 || targetX >= base.width || targetY >= base.height)
                continue;
            uint32_t colour = art.At(column, row);
            if (keyed && colour == kWhite) continue;
            base.Set(targetX, targetY, colour);
        }
    return base;
}

// The part [left, right) x [top, bottom) of `art`, as its own pixels.
inline Pixels Crop(const Pixels& art, int left, int top, int right, int bottom) {
    Pixels part;
    part.width = right - left;
    part.height = bottom - top;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) part.data.push_back(art.At(x, y));
    return part;
}

// How many pixels of the area [left, right) x [top, bottom) differ between
// two pictures of the same size; every pixel when the sizes differ.
inline int CountDifferences(const Pixels& a, const Pixels& b, const RECT& area) {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            bool inside =
                x >= 0 && y >= 0 && x < a.width && y < a.height && x < b.width && y < b.height;
            if (!inside || a.At(x, y) != b.At(x, y)) ++count;
        }
    return count;
}

// How many pixels of the area have exactly `colour`.
inline int CountColour(const Pixels& pixels, const RECT& area, uint32_t colour) {
    int count = 0;
    for (int y = area.top; y < area.bottom && y < pixels.height; ++y)
        for (int x = area.left; x < area.right && x < pixels.width; ++x)
            if (pixels.At(x, y) == colour) ++count;
    return count;
}
