#include "skin/skin_bitmap.h"

// Tiles start at multiples of the bitmap's size from the destination's
// origin, so any part of a window repaints to the same pixels.
int SkinBitmap::TileFill(HDC dest, RECT rect) const {
    if (!memoryDc || width <= 0 || height <= 0) return 0;
    int left = rect.left > 0 ? rect.left : 0;
    int top = rect.top > 0 ? rect.top : 0;
    if (rect.right <= left || rect.bottom <= top) return 0;

    int copies = 0;
    for (int tileTop = top - top % height;;) {
        int sourceY = top > tileTop ? top - tileTop : 0;
        int destY = tileTop + sourceY;
        int copyHeight = height - sourceY;
        if (copyHeight > rect.bottom - destY) copyHeight = rect.bottom - destY;
        for (int tileLeft = left - left % width;;) {
            int sourceX = left > tileLeft ? left - tileLeft : 0;
            int destX = tileLeft + sourceX;
            int copyWidth = width - sourceX;
            if (copyWidth > rect.right - destX) copyWidth = rect.right - destX;
            BitBlt(dest, destX, destY, copyWidth, copyHeight, memoryDc, sourceX, sourceY, SRCCOPY);
            ++copies;
            // Compared by difference: a rectangle near the largest int must
            // not make the next tile's position overflow.
            if (rect.right - tileLeft <= width) break;
            tileLeft += width;
        }
        if (rect.bottom - tileTop <= height) break;
        tileTop += height;
    }
    return copies;
}
