"""Writers for the Windows image files that the resource compiler embeds.

Only what the setup program needs: 24-bit bottom-up BMP (the form LoadBitmap
reads best), 32-bit icons with an AND mask for old shells (and the 256-pixel
frame PNG-compressed, as Explorer reads it), and monochrome cursors with a
hotspot.
"""

import io
import struct

import numpy as np
from PIL import Image


def _bmp_rows_bgr(rgb):
    """Bottom-up BGR rows, each padded to a multiple of four bytes."""
    height, width, _ = rgb.shape
    pad = (-width * 3) % 4
    out = bytearray()
    for y in range(height - 1, -1, -1):
        out += rgb[y, :, ::-1].astype(np.uint8).tobytes()
        out += b"\0" * pad
    return bytes(out)


def write_bmp24(path, rgb):
    """rgb: uint8 array (height, width, 3)."""
    height, width, _ = rgb.shape
    pixels = _bmp_rows_bgr(rgb)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0,
                       len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0,
                         14 + len(info))
    with open(path, "wb") as f:
        f.write(header + info + pixels)


def _and_mask(opaque):
    """1-bit mask, bottom-up, rows padded to 32 bits; 1 marks see-through."""
    height, width = opaque.shape
    stride = ((width + 31) // 32) * 4
    out = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytearray(stride)
        for x in range(width):
            if not opaque[y, x]:
                row[x // 8] |= 0x80 >> (x % 8)
        out += row
    return bytes(out)


def _icon_image_32(rgba):
    height, width, _ = rgba.shape
    bgra = bytearray()
    for y in range(height - 1, -1, -1):
        bgra += rgba[y][:, [2, 1, 0, 3]].astype(np.uint8).tobytes()
    mask = _and_mask(rgba[:, :, 3] >= 128)
    info = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 32, 0,
                       len(bgra) + len(mask), 0, 0, 0, 0)
    return info + bytes(bgra) + mask


def _icon_image_png(rgba):
    # A 256-pixel frame as a bitmap would take 256 KiB; Windows Vista and
    # later read PNG frames. No text chunks, so the bytes depend only on the
    # pixels.
    out = io.BytesIO()
    Image.fromarray(rgba.astype(np.uint8), "RGBA").save(out, "PNG", optimize=True)
    return out.getvalue()


def write_ico(path, images):
    """images: list of uint8 RGBA arrays (size, size, 4), smallest first;
    a 256-pixel one is stored as PNG."""
    blobs = [_icon_image_png(img) if img.shape[0] >= 256 else _icon_image_32(img)
             for img in images]
    out = struct.pack("<HHH", 0, 1, len(blobs))
    offset = 6 + 16 * len(blobs)
    for img, blob in zip(images, blobs):
        size = img.shape[0]
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32,
                           len(blob), offset)
        offset += len(blob)
    with open(path, "wb") as f:
        f.write(out + b"".join(blobs))


def write_mono_cur(path, rows, hotspot):
    """rows: equal-length strings; 'X' black, 'o' white, anything else clear.

    Monochrome cursors work on every Windows version and under Wine alike.
    """
    height = len(rows)
    width = len(rows[0])
    stride = ((width + 31) // 32) * 4
    xor_rows = bytearray()
    and_rows = bytearray()
    for y in range(height - 1, -1, -1):
        xor_row = bytearray(stride)
        and_row = bytearray(stride)
        for x, ch in enumerate(rows[y]):
            bit = 0x80 >> (x % 8)
            if ch == "o":
                xor_row[x // 8] |= bit
            elif ch != "X":
                and_row[x // 8] |= bit
        xor_rows += xor_row
        and_rows += and_row
    palette = struct.pack("<4B4B", 0, 0, 0, 0, 255, 255, 255, 0)
    info = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 1, 0,
                       len(xor_rows) + len(and_rows), 0, 0, 2, 0)
    blob = info + palette + bytes(xor_rows) + bytes(and_rows)
    head = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0,
                        hotspot[0], hotspot[1], len(blob), 6 + 16)
    with open(path, "wb") as f:
        f.write(head + entry + blob)
