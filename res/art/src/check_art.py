"""Checks the rendered skin files and draws preview composites of the dialog.

Usage: python3 check_art.py ART_FOLDER [PREVIEW_FOLDER]
Exits non-zero when a file has the wrong format or size, when pure white
(the transparent key) shows up inside a face or the picture, when the check
cells do not match the background beneath them, or when a text area is too
low in contrast; the same for the 100 % .bmp files and for the larger
renderings in PNG files at each of artwork.RENDER_DPIS, whose sizes must be
what the program makes of the 100 % ones at that DPI. Prints the contrast
figures.
"""

import os
import struct
import sys

import numpy as np
from PIL import Image, ImageDraw, ImageFont

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import artwork  # noqa: E402  (layout constants)
import paint  # noqa: E402  (the program's rounding of scaled lengths)

# Size at 100 % and number of cells side by side, which scale each on its own.
EXPECTED = {
    "background": (500, 292, 1),
    "cancel": (58, 19, 1),
    "install": (60, 19, 1),
    "close": (60, 19, 1),
    "picture": (257, 206, 1),
    "check-strip": (52, 13, 4),
}

# Text areas, (left, top, right, bottom) in client pixels, and their colours.
BLACK_TEXT = {
    "prompt": (20, 206, 250, 219),
    "first option caption": (270, 80, 400, 93),
    "second option caption": (270, 100, 490, 113),
    "completed texts": (274, 100, 470, 148),
}
LINK = (300, 20, 400, 33)
STATUS = (20, 273, 355, 292)

failures = []


def fail(text):
    failures.append(text)
    print("FAIL: " + text)


def read_bmp24(path):
    data = open(path, "rb").read()
    magic, _, _, _, offset = struct.unpack_from("<2sIHHI", data, 0)
    size, width, height, planes, bits, compression = struct.unpack_from("<IiiHHI", data, 14)
    name = os.path.basename(path)
    if magic != b"BM" or size != 40 or planes != 1:
        fail("%s: not a BMP with a BITMAPINFOHEADER" % name)
    if bits != 24 or compression != 0:
        fail("%s: %d bits, compression %d; want 24-bit uncompressed" % (name, bits, compression))
    if height <= 0:
        fail("%s: top-down; want bottom-up" % name)
    height = abs(height)
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(height):
        start = offset + (height - 1 - y) * stride
        row = np.frombuffer(data, np.uint8, width * 3, start).reshape(width, 3)[:, ::-1]
        rows.append(row)
    return np.array(rows)


def luminance(rgb):
    c = np.asarray(rgb, float) / 255.0
    lin = np.where(c <= 0.04045, c / 12.92, ((c + 0.055) / 1.055) ** 2.4)
    return lin[..., 0] * 0.2126 + lin[..., 1] * 0.7152 + lin[..., 2] * 0.0722


def contrast(a, b):
    la, lb = luminance(a), luminance(b)
    hi, lo = np.maximum(la, lb), np.minimum(la, lb)
    return (hi + 0.05) / (lo + 0.05)


def scaled_box(box):
    return tuple(paint.pixels(v) for v in box)


def area_contrast(image, box, colour, label, minimum):
    l, t, r, b = scaled_box(box)
    region = image[t:b, l:r].reshape(-1, 3)
    ratios = contrast(region, np.array(colour, float))
    worst, mean = ratios.min(), ratios.mean()
    print("  %-30s worst %5.1f:1  mean %5.1f:1" % (label, worst, mean))
    if worst < minimum:
        fail("%s: contrast %.1f below %.1f" % (label, worst, minimum))


def check_keyed(name, image, corner):
    """Pure white may appear only in the corners, where the shape is rounded."""
    white = np.all(image == 255, axis=2)
    # What a 16-bit (5-6-5) display would read back as white.
    white565 = (image[:, :, 0] >= 0xF8) & (image[:, :, 1] >= 0xFC) & (image[:, :, 2] >= 0xF8)
    if (white565 & ~white).any():
        fail("%s: near-white pixels that read as white at 16-bit colour" % name)
    h, w = white.shape
    corner = paint.pixels(corner)
    allowed = np.zeros_like(white)
    for ys in (slice(0, corner), slice(h - corner, h)):
        for xs in (slice(0, corner), slice(w - corner, w)):
            allowed[ys, xs] = True
    stray = white & ~allowed
    print("  %-22s %d pure-white pixels, all in the corners" % (name, white.sum())
          if not stray.any() else "  %s: %d stray white" % (name, stray.sum()))
    if stray.any():
        fail("%s: pure white outside the corners at %s" % (name, np.argwhere(stray)[:5].tolist()))
    if white.sum() == 0:
        fail("%s: no transparent corners" % name)


def ui_font(size):
    for path in ("/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf",):
        if os.path.exists(path):
            return ImageFont.truetype(path, size)
    return ImageFont.load_default()


def paste_keyed(canvas, face, x, y):
    for j in range(face.shape[0]):
        for i in range(face.shape[1]):
            if not np.all(face[j, i] == 255):
                canvas[y + j, x + i] = face[j, i]


def text_top(draw, xy, text, font, fill):
    """Draws text with its cell's top at y, as TextOut does."""
    draw.text(xy, text, font=font, fill=fill, anchor="la")


def previews(art, out_dir):
    bg = art["background.bmp"]
    small = ui_font(11)
    large = ui_font(13)

    # Before installation.
    img = bg.copy()
    paste_keyed(img, art["install.bmp"], *artwork.BUTTONS["install"][:1], artwork.BUTTON_TOP)
    paste_keyed(img, art["cancel.bmp"], artwork.BUTTONS["cancel"][0], artwork.BUTTON_TOP)
    strip = art["check-strip.bmp"]
    img[80:93, 250:263] = strip[:, 26:39]
    img[100:113, 250:263] = strip[:, 26:39]
    pil = Image.fromarray(img)
    d = ImageDraw.Draw(pil)
    text_top(d, (20, 206), "Select folder where setup will install files:", small, (0, 0, 0))
    text_top(d, (270, 80), "Pastel Craft Plug-in", small, (0, 0, 0))
    text_top(d, (270, 100), "Additional presets: Portrait01 - Portrait12", small, (0, 0, 0))
    text_top(d, (300, 20), "www.vantorel.com", small, (0, 0, 255))
    d.line((300, 32, 300 + d.textlength("www.vantorel.com", font=small), 32), fill=(0, 0, 255))
    d.rectangle((16, 232, 484, 253), fill=(255, 255, 255), outline=(122, 122, 122))
    d.rectangle((467, 234, 482, 251), fill=(236, 233, 216), outline=(160, 160, 160))
    d.polygon(((471, 241), (478, 241), (474, 245)), fill=(0, 0, 0))
    text_top(d, (20, 236), "C:\\Program Files\\Image Editor\\Plug-ins\\", small, (0, 0, 0))
    text_top(d, (20, 273), "Select to install Pastel Craft Plug-in", small, (255, 255, 255))
    before = pil

    # After installation.
    img = bg.copy()
    paste_keyed(img, art["close.bmp"], artwork.BUTTONS["close"][0], artwork.BUTTON_TOP)
    paste_keyed(img, art["picture.bmp"], 6, 6)
    pil = Image.fromarray(img)
    d = ImageDraw.Draw(pil)
    text_top(d, (300, 20), "www.vantorel.com", small, (128, 0, 128))
    d.line((300, 32, 300 + d.textlength("www.vantorel.com", font=small), 32), fill=(128, 0, 128))
    for y, line in ((100, "   Installation completed. Please"), (116, "restart your image editor to"),
                    (132, "activate the plug-ins installed.")):
        text_top(d, (274, y), line, large, (0, 0, 0))
    after = pil

    before.save(os.path.join(out_dir, "preview-start.png"))
    after.save(os.path.join(out_dir, "preview-completed.png"))
    both = Image.new("RGB", (500, 292 * 2 + 8), (40, 40, 40))
    both.paste(before, (0, 0))
    both.paste(after, (0, 300))
    both.save(os.path.join(out_dir, "preview.png"))

    # The small pieces, enlarged: faces, check cells, icons and cursor.
    zoom = 4
    sheet = Image.new("RGB", (560, 260), tuple(int(c) for c in artwork.BAND))
    x = 10
    for name in ("install.bmp", "cancel.bmp", "close.bmp"):
        face = Image.fromarray(art[name])
        face = face.resize((face.width * zoom // 2, face.height * zoom // 2), Image.NEAREST)
        sheet.paste(face, (x, 10))
        x += face.width + 10
    strip_big = Image.fromarray(strip).resize((52 * zoom, 13 * zoom), Image.NEAREST)
    sheet.paste(strip_big, (10, 70))
    icon = Image.open(os.path.join(art["folder"], "setup.ico"))
    x = 10
    for n in (16, 32, 48):
        icon.size = (n, n)
        im = icon.copy().convert("RGBA")
        im = im.resize((n * 2, n * 2), Image.NEAREST)
        sheet.paste(im, (x, 140), im)
        x += n * 2 + 10
    cur = art["cursor"]
    sheet.paste(cur.resize((32 * zoom, 32 * zoom), Image.NEAREST), (400, 110))
    sheet.save(os.path.join(out_dir, "preview-parts.png"))


def read_cursor(path):
    """The monochrome cursor as an RGB image (clear pixels grey), for the sheet."""
    data = open(path, "rb").read()
    _, kind, count = struct.unpack_from("<HHH", data, 0)
    w, h, _, _, hx, hy, size, offset = struct.unpack_from("<BBBBHHII", data, 6)
    print("  hand.cur         type %d, %d image, %dx%d, hotspot (%d, %d)" % (kind, count, w, h, hx, hy))
    if kind != 2 or (w, h) != (32, 32):
        fail("hand.cur: want one 32 x 32 cursor")
    base = offset + 40 + 8
    stride = 4
    img = Image.new("RGB", (32, 32), (150, 150, 150))
    for y in range(32):
        row = 31 - y
        for x in range(32):
            bit = 0x80 >> (x % 8)
            xor = data[base + row * stride + x // 8] & bit
            andm = data[base + 32 * stride + row * stride + x // 8] & bit
            if not andm:
                img.putpixel((x, y), (255, 255, 255) if xor else (0, 0, 0))
    if img.getpixel((hx, hy)) != (0, 0, 0):
        fail("hand.cur: the hotspot is not on the outline of the fingertip")
    return img


def check_icon(path):
    data = open(path, "rb").read()
    _, kind, count = struct.unpack_from("<HHH", data, 0)
    sizes = [struct.unpack_from("<B", data, 6 + 16 * i)[0] or 256 for i in range(count)]
    print("  setup.ico        sizes %s" % sizes)
    for n in (16, 32, 48, 256):
        if n not in sizes:
            fail("setup.ico: no %d-pixel image" % n)
    for i, n in enumerate(sizes):
        offset = struct.unpack_from("<I", data, 6 + 16 * i + 12)[0]
        png = data[offset:offset + 8] == b"\x89PNG\r\n\x1a\n"
        if png != (n == 256):
            fail("setup.ico: the %d-pixel image %s PNG" % (n, "is" if png else "is not"))


def read_png(path):
    image = Image.open(path)
    name = os.path.basename(path)
    if image.format != "PNG" or image.mode not in ("RGB", "P"):
        fail("%s: %s %s; want an RGB or palette PNG" % (name, image.format, image.mode))
    extra = [chunk for chunk in chunk_types(path) if chunk not in (b"IHDR", b"PLTE", b"IDAT", b"IEND")]
    if extra:
        fail("%s: chunks %s that the program does not need" % (name, extra))
    return np.asarray(image.convert("RGB"))


def chunk_types(path):
    data = open(path, "rb").read()
    at, types = 8, []
    while at < len(data):
        length, kind = struct.unpack_from(">I4s", data, at)
        types.append(kind)
        at += 12 + length
    return types


def check_scale(folder, dpi):
    """The skin's bitmaps at one DPI: the .bmp files at 96, PNGs otherwise."""
    paint.set_dpi(dpi)
    art = {"folder": folder}
    files = {}
    print("files at %d DPI:" % dpi)
    for name, (width, height, cells) in EXPECTED.items():
        file = name + (".bmp" if dpi == 96 else "-%d.png" % dpi)
        path = os.path.join(folder, file)
        image = read_bmp24(path) if dpi == 96 else read_png(path)
        art[name + ".bmp"] = image
        files[name + ".bmp"] = file
        got = (image.shape[1], image.shape[0])
        size = (cells * paint.pixels(width // cells), paint.pixels(height))
        print("  %-22s %d x %d" % (file, got[0], got[1]))
        if got != size:
            fail("%s: %s, want %s" % (file, got, size))

    print("transparent white:")
    for name in ("install.bmp", "cancel.bmp", "close.bmp"):
        check_keyed(files[name], art[name], 4)
    check_keyed(files["picture.bmp"], art["picture.bmp"], 10)

    print("check cells:")
    bg = art["background.bmp"]
    strip = art["check-strip.bmp"]
    cell = paint.pixels(artwork.CELL)
    edges = [k * cell + e for k in range(4) for e in (0, cell - 1)]
    for x, y in artwork.CELL_SPOTS:
        x, y = paint.pixels(x), paint.pixels(y)
        under = bg[y - 2:y + cell + 2, x - 2:x + cell + 2].reshape(-1, 3)
        flat = np.all(under == under[0])
        corners = [strip[row, c] for row in (0, cell - 1) for c in edges]
        match = all(np.array_equal(p, under[0]) for p in corners)
        print("  cell at (%d, %d): background flat %s, cell corners match %s" % (x, y, flat, match))
        if not (flat and match):
            fail("check cell at (%d, %d) does not sit flush on the background" % (x, y))

    print("contrast (WCAG ratio, worst pixel and mean of each area):")
    for label, box in BLACK_TEXT.items():
        area_contrast(bg, box, (0, 0, 0), "black: " + label, 7.0)
    area_contrast(bg, LINK, (0, 0, 255), "blue link", 4.5)
    area_contrast(bg, LINK, (128, 0, 128), "purple visited link", 4.5)
    area_contrast(bg, STATUS, (255, 255, 255), "white status text", 7.0)
    for name in ("install.bmp", "cancel.bmp", "close.bmp"):
        # The face's own colour beside the word, against the word's ink.
        area_contrast(art[name], (3, 2, 6, 17), artwork.INK, "word on " + files[name], 7.0)
    paint.set_dpi(96)
    return art


def main():
    folder = sys.argv[1]
    out_dir = sys.argv[2] if len(sys.argv) > 2 else None
    for dpi in artwork.RENDER_DPIS:
        check_scale(folder, dpi)
    art = check_scale(folder, 96)
    check_icon(os.path.join(folder, "setup.ico"))
    art["cursor"] = read_cursor(os.path.join(folder, "hand.cur"))

    if out_dir:
        previews(art, out_dir)
        print("previews in " + out_dir)
    print("%d problems" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
