#include "skin/skin_bitmap.h"

int CentreOutColumn(int width, int step) {
    int half = step / 2;
    return (step & 1) ? width / 2 - half - 1 : width / 2 + half;
}

void SkinBitmap::CopyPixel(HDC dest, int sourceX, int sourceY, int destX, int destY,
                           PixelWrite write) const {
    if (!memoryDc) {
        SetPixelV(dest, destX, destY, 0);
        return;
    }
    // GDI would refuse such reads too, but its answer (CLR_INVALID) is no
    // colour to write.
    if (sourceX < 0 || sourceX >= width || sourceY < 0 || sourceY >= height) return;
    COLORREF colour = GetPixel(memoryDc, sourceX, sourceY);
    if (colour == CLR_INVALID) return;
    if (write != kCopy && colour == TransparentKey) return;
    if (write == kKeyedSetPixel)
        SetPixel(dest, destX, destY, colour);
    else
        SetPixelV(dest, destX, destY, colour);
}

void SkinBitmap::DrawCentreOutWith(HDC dest, int x, int y, PixelWrite write) const {
    for (int step = 0; step < width; ++step) {
        int column = CentreOutColumn(width, step);
        for (int row = 0; row < height; ++row)
            CopyPixel(dest, column, row, x + column, y + row, write);
    }
}

void SkinBitmap::DrawCentreOut(HDC dest, int x, int y, int dx, int dy) const {
    DrawCentreOutWith(dest, x + dx, y + dy, kKeyed);
}

void SkinBitmap::DrawCentreOutDirect(HDC dest, int x, int y, int dx, int dy) const {
    DrawCentreOutWith(dest, x + dx, y + dy, kKeyedSetPixel);
}

void SkinBitmap::CopyArea(HDC dest, int sourceX, int sourceY, int columns, int rows, int destX,
                          int destY, PixelWrite write, bool transposed) const {
    for (int n = 0; n < columns; ++n)
        for (int m = 0; m < rows; ++m)
            CopyPixel(dest, sourceX + n, sourceY + m, destX + (transposed ? m : n),
                      destY + (transposed ? n : m), write);
}

void SkinBitmap::CopyColumns(HDC dest, int firstColumn, int x, int endColumn, int y) const {
    CopyArea(dest, firstColumn, 0, endColumn - firstColumn, height, x, y, kCopy, false);
}

void SkinBitmap::CopyColumnsKeyed(HDC dest, int firstColumn, int x, int endColumn, int y) const {
    CopyArea(dest, firstColumn, 0, endColumn - firstColumn, height, x, y, kKeyed, false);
}

void SkinBitmap::CopyColumnsTransposed(HDC dest, int firstColumn, int x, int endColumn,
                                       int y) const {
    for (int k = 0; k < endColumn - firstColumn; ++k)
        for (int j = 0; j < height; ++j) CopyPixel(dest, firstColumn + j, k, x + k, y + j, kCopy);
}

void SkinBitmap::CopyBlock(HDC dest, int left, int top, int right, int bottom, int sourceX,
                           int sourceY) const {
    CopyArea(dest, sourceX, sourceY, right - left, bottom - top, left, top, kCopy, false);
}

void SkinBitmap::CopyBlockTransposed(HDC dest, int left, int top, int right, int bottom,
                                     int sourceX, int sourceY) const {
    CopyArea(dest, sourceX, sourceY, right - left, bottom - top, left, top, kCopy, true);
}
