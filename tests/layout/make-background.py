#!/usr/bin/python3
"""Writes background_420x250.bmp: a background of another size than the
program's, a soft gradient with a dark band along the bottom."""
from PIL import Image

W, H = 420, 250
image = Image.new("RGB", (W, H))
for y in range(H):
    for x in range(W):
        if y >= H - 24:
            image.putpixel((x, y), (40, 44, 60))
        else:
            image.putpixel((x, y), (230 - x // 20, 220 - y // 20, 240 - (x + y) // 40))
image.save("background_420x250.bmp")
