#!/usr/bin/env python3
"""Writes the bitmaps and the cursor that the skin tests load as resources.

Every pattern pixel (c, j) has red 10 + 4c, green 20 + 15j and blue 90 plus a
tag that tells the bitmaps apart; in the keyed bitmaps the pixels with
(c + 2j) % 5 == 0 are pure white. skin_test_support.cpp computes the same."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def pattern(c, j, tag, keyed):
    if keyed and (c + 2 * j) % 5 == 0:
        return (255, 255, 255)
    return (10 + 4 * c, 20 + 15 * j, 90 + tag)


def write_bmp(name, width, height, pixel):
    stride = (width * 3 + 3) & ~3
    rows = bytearray()
    for j in reversed(range(height)):  # bottom-up
        row = bytearray()
        for c in range(width):
            r, g, b = pixel(c, j)
            row += bytes((b, g, r))
        rows += row + bytes(stride - len(row))
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    with open(os.path.join(HERE, name), "wb") as out:
        out.write(b"BM" + struct.pack("<IHHI", 14 + len(header) + len(rows), 0, 0, 14 + 40))
        out.write(header + rows)


def write_cursor(name):
    # 32 x 32, one bit per pixel: a filled square in the top-left quarter.
    xor = bytearray(128)
    mask = bytearray(b"\xff" * 128)
    for j in range(16):
        row = 31 - j  # bottom-up
        mask[row * 4:row * 4 + 2] = b"\x00\x00"
    image = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 1, 0, 256, 0, 0, 2, 0)
    image += bytes((0, 0, 0, 0, 255, 255, 255, 0)) + bytes(xor) + bytes(mask)
    with open(os.path.join(HERE, name), "wb") as out:
        out.write(struct.pack("<HHH", 0, 2, 1))
        out.write(struct.pack("<BBBBHHII", 32, 32, 2, 0, 4, 2, len(image), 22))
        out.write(image)


write_bmp("pattern_6x4.bmp", 6, 4, lambda c, j: pattern(c, j, 0, False))
write_bmp("strip_52x13.bmp", 52, 13, lambda c, j: pattern(c, j, 40, True))
write_cursor("test_hand.cur")
