"""Draws the setup program's skin: background, button faces, picture, check
strip, hand cursor and program icon, into res/art/.

The 100 % art goes into .bmp files. The skin's bitmaps are also drawn afresh
at each larger scale in RENDER_DPIS, fonts, strokes and all, into PNG files
named <name>-<dpi>.png: each is as large as the program makes that bitmap at
that DPI (each check cell on its own).

Usage: python3 artwork.py OUTPUT_FOLDER
Needs python3-pil, python3-numpy, fonts-ebgaramond and fonts-lato.
"""

import math
import os
import sys

import numpy as np
from PIL import Image, ImageDraw

import paint
from paint import Chalk, composite, rgb, rounded_rect, text_mask, to_uint8
import winformats

# The DPIs of the larger renderings (150 % and 200 %); the program shrinks
# the nearest larger one for scales in between, and enlarges the largest.
RENDER_DPIS = (144, 192)

# Where the dialog puts things on the 500 x 292 client area, in 96-DPI units.
WIDTH, HEIGHT = 500, 292
CELL_SPOTS = ((250, 80), (250, 100))
CELL = 13
PICTURE_AT = (6, 6)
PICTURE_SIZE = (257, 206)
BUTTON_TOP = HEIGHT - 21
BUTTONS = {  # name: (left, width, word)
    "install": (WIDTH - 125, 60, "Install"),
    "cancel": (WIDTH - 63, 58, "Cancel"),
    "close": (WIDTH - 65, 60, "Close"),
}
BAND_TOP = 264

# One palette for everything.
PAPER = rgb("#faf6ef")
INK = rgb("#3e3454")
INK_SOFT = rgb("#6f6388")
BAND = rgb("#433a59")
FRAME = rgb("#8c80a6")
ROSE = rgb("#f3b5c3")
PEACH = rgb("#f8c9a4")
BUTTER = rgb("#f6e29b")
MINT = rgb("#bde2c6")
SKY = rgb("#b3d3ee")
LILAC = rgb("#cbbbea")
PASTELS = (ROSE, PEACH, BUTTER, MINT, SKY, LILAC)

CARD = (8, 8, 240, 198)
CARD_RADIUS = 9

WHITE = np.array([255, 255, 255])


def mix(a, b, t):
    return a * (1 - t) + b * t


# ---------------------------------------------------------------- background

def draw_card(img):
    """The left panel: a pastel sketch with the product's name lettered on it."""
    x0, y0, x1, y1 = CARD
    width, height = img.shape[1], img.shape[0]
    shape = rounded_rect(width, height, CARD, CARD_RADIUS)
    wash = paint.vertical_gradient(width, height, [
        (0.0, rgb("#efe8f7")), (0.45, rgb("#f8eef0")), (0.70, rgb("#fbeee3")), (1.0, rgb("#fbf1e4"))])
    composite(img, wash, shape)

    chalk = Chalk(img, 7)
    inner = rounded_rect(width, height, (x0 + 1, y0 + 1, x1 - 1, y1 - 1), CARD_RADIUS - 1)
    # Six chalk swatches sweep across the foot of the card, one per pastel.
    for i, colour in enumerate((LILAC, SKY, MINT, BUTTER, PEACH, ROSE)):
        for k in range(3):
            y = y1 - 6 - i * 8.5 + k * 1.6 + chalk.rng.uniform(-0.6, 0.6)
            pts = chalk.curve((x0 - 8, y), ((x0 + x1) / 2, y - 26 - i * 2.5),
                              (x1 + 8, y - 38 + i * 1.5), 32)
            chalk.stroke(pts, 6.0, colour, 0.75, 0.55 + 0.1 * (k == 1), inner)
    # Lettering.
    title = paint.font("EBGaramond12-Italic.otf", 40)
    sub = paint.font("EBGaramond12-Italic.otf", 24)
    caps = paint.font("Lato-Semibold.ttf", 13)
    small = paint.font("Lato-Semibold.ttf", 9)
    cx = (x0 + x1) / 2
    composite(img, INK, text_mask(width, height, (cx, 52), "Pastel Craft", title, anchor="ms"))
    composite(img, INK, text_mask(width, height, (cx, 78), "Plug-in", sub, anchor="ms"))
    rule_y = 92
    composite(img, INK_SOFT, paint.mask(width, height, lambda d, s: d.line(
        ((cx - 46) * s, rule_y * s, (cx + 46) * s, rule_y * s), fill=255, width=round(s))) * 0.6)
    composite(img, INK_SOFT, text_mask(width, height, (cx, 112), "SETUP", caps, spacing=4.0, anchor="ms"))
    composite(img, INK_SOFT, text_mask(width, height, (x1 - 12, y1 - 8), "VANTOREL", small,
                                       spacing=1.6, anchor="rs") * 0.9)
    # A thin frame keeps the card crisp against the paper.
    ring = np.clip(shape - inner, 0, 1)
    composite(img, FRAME, ring * 0.55)


def draw_band(img):
    """The dark strip under status text and buttons, led in by a pastel seam."""
    px = paint.pixels
    img[px(BAND_TOP):, :] = BAND
    xs = np.linspace(0, 1, img.shape[1])
    stops = np.linspace(0, 1, len(PASTELS))
    seam = np.stack([np.interp(xs, stops, [c[ch] for c in PASTELS]) for ch in range(3)], axis=1)
    img[px(BAND_TOP - 3):px(BAND_TOP), :] = seam[None, :, :]
    img[px(BAND_TOP - 4):px(BAND_TOP - 3), :] = mix(PAPER, seam, 0.35)


def draw_frame(img):
    """A hairline round the borderless window."""
    line = paint.pixels(1)
    img[:line, :] = FRAME
    img[:, :line] = FRAME
    img[:, -line:] = FRAME
    edge = mix(BAND, np.zeros(3), 0.35)
    img[-line:, :] = edge
    img[paint.pixels(BAND_TOP):, :line] = edge
    img[paint.pixels(BAND_TOP):, -line:] = edge


def background():
    img = paint.canvas(paint.pixels(WIDTH), paint.pixels(HEIGHT), PAPER)
    draw_card(img)
    draw_band(img)
    draw_frame(img)
    return img


# ---------------------------------------------------------------- faces

def keyed(face, cover, under):
    """Composites a face over what lies beneath it and keys what stays uncovered.

    Pure white is the transparent key of faces and the picture: uncovered
    pixels become pure white, covered ones never are, not even once reduced
    to 16-bit colour.
    """
    out = to_uint8(face * cover[:, :, None] + under * (1 - cover[:, :, None]))
    solid = cover > 0.0
    # A 16-bit display keeps only the top 5-6-5 bits: near-whites that would
    # read back as white there lose a notch of green.
    whitish = (out[:, :, 0] >= 0xF8) & (out[:, :, 1] >= 0xFC) & (out[:, :, 2] >= 0xF8)
    out[solid & whitish, 1] = 0xFB
    out[~solid] = WHITE
    return out


def button_face(width, word, top, bottom, ink):
    # The face fills its canvas, whose pixels rounded up or down at a scale:
    # w x h is the canvas in 96-DPI units.
    cw, ch = paint.pixels(width), paint.pixels(19)
    w, h = cw / paint.SCALE, ch / paint.SCALE
    shape = rounded_rect(cw, ch, (0, 0, w, h), 4)
    inner = rounded_rect(cw, ch, (1, 1, w - 1, h - 1), 3)
    face = paint.vertical_gradient(cw, ch, [(0.0, top), (1.0, bottom)])
    edge = mix(bottom, INK, 0.45)
    border = np.clip(shape - inner, 0, 1)
    composite(face, edge, border)
    # A soft highlight along the top inner edge.
    rows, columns = slice(paint.pixels(1), paint.pixels(2)), slice(paint.pixels(2), cw - paint.pixels(2))
    face[rows, columns] = mix(face[rows, columns], np.array([255, 255, 255.0]), 0.55)
    label = paint.font("Lato-Bold.ttf", 11)
    text = text_mask(cw, ch, (w / 2, 13.5 + (h - 19) / 2), word, label, scale=1, anchor="ms")
    composite(face, ink, text)
    under = np.zeros((ch, cw, 3))
    under[:, :] = BAND
    return keyed(face, shape, under)


def faces():
    styles = {
        "install": (rgb("#d9f0de"), rgb("#a9d7b6")),
        "cancel": (rgb("#eee9f7"), rgb("#d0c6e6")),
        "close": (rgb("#fde7d6"), rgb("#f2bf9b")),
    }
    out = {}
    for name, (_, width, word) in BUTTONS.items():
        top, bottom = styles[name]
        out[name] = button_face(width, word, top, bottom, INK)
    return out


# ---------------------------------------------------------------- picture

def landscape(width, height, seed):
    """A small pastel landscape: hatched sky, sun, layered hills, a meadow,
    width x height 96-DPI units large."""
    cw, ch = paint.pixels(width), paint.pixels(height)
    img = paint.vertical_gradient(cw, ch, [
        (0.0, rgb("#c6dcf2")), (0.32, rgb("#ddd5f1")), (0.52, rgb("#f9dcd6")), (0.62, rgb("#fbe4d2")),
        (1.0, rgb("#fbe4d2"))])
    chalk = Chalk(img, seed)
    rng = chalk.rng
    horizon = height * 0.56

    # Sky: diagonal hatching, cooler above, warmer toward the horizon.
    chalk.hatch((-10, -5, width + 10, horizon * 0.45), rgb("#a9cdee"), 70, 26, -22, 3.6, 0.55, 0.6)
    chalk.hatch((-10, horizon * 0.25, width + 10, horizon * 0.75), rgb("#c8b9ea"), 70, 26, -22, 3.6, 0.5, 0.6)
    chalk.hatch((-10, horizon * 0.6, width + 10, horizon + 4), rgb("#f7c0a8"), 60, 26, -22, 3.6, 0.5, 0.6)
    chalk.hatch((-10, horizon * 0.7, width + 10, horizon + 4), ROSE, 30, 22, -22, 3.0, 0.4, 0.55)

    # Sun with a soft glow.
    sx, sy, sr = width * 0.73, height * 0.27, 16
    glow = paint.blur(paint.mask(cw, ch, lambda d, s: d.ellipse(
        ((sx - sr * 2.2) * s, (sy - sr * 2.2) * s, (sx + sr * 2.2) * s, (sy + sr * 2.2) * s), fill=255)), 9)
    composite(img, rgb("#fdf1cf"), glow * 0.75)
    disc = paint.mask(cw, ch, lambda d, s: d.ellipse(
        ((sx - sr) * s, (sy - sr) * s, (sx + sr) * s, (sy + sr) * s), fill=255))
    composite(img, rgb("#fbe3a0"), disc * 0.95)
    for _ in range(26):
        a = rng.uniform(0, 2 * math.pi)
        r = rng.uniform(0, sr * 0.7)
        cx, cy = sx + math.cos(a) * r, sy + math.sin(a) * r
        chalk.stroke([(cx - 5, cy + 2), (cx + 5, cy - 2)], 3.0, rgb("#fdf0c0"), 0.6, 0.6, disc)

    # Two small clouds of soft horizontal strokes.
    for cx, cy, span in ((width * 0.24, height * 0.18, 46), (width * 0.50, height * 0.36, 36)):
        for k in range(9):
            y = cy + rng.uniform(-5, 6)
            x = cx + rng.uniform(-span / 3, span / 3)
            half = rng.uniform(0.25, 0.5) * span
            chalk.stroke([(x - half, y + 1), (x, y - 0.5), (x + half, y + 1)], 3.4,
                         rgb("#fff8f0") if k % 3 else rgb("#fbdde0"), 0.7, 0.6)

    def ridge(base, amp, waves, phase):
        xs = np.arange(-2, width + 3, 2.0)
        ys = base + sum(a * np.sin(xs / width * math.pi * w + p)
                        for a, w, p in zip(amp, waves, phase))
        return list(zip(xs, ys))

    def layer(points, colour, strokes, edge):
        poly = points + [(width + 2, height + 2), (-2, height + 2)]
        m = paint.mask(cw, ch, lambda d, s: d.polygon([(x * s, y * s) for x, y in poly], fill=255))
        composite(img, colour, m)
        top = min(y for _, y in points)
        for shade, count, length, wide, opacity in strokes:
            chalk.hatch((-10, top - 4, width + 10, height + 4), shade, count, length, -8, wide, opacity, 0.6, m)
        # A chalky contour along the ridge.
        for k in range(0, len(points) - 8, 6):
            seg = [(x, y + 0.8) for x, y in points[k:k + 9]]
            chalk.stroke(seg, 2.4, edge, 0.6, 0.6)
        return m

    layer(ridge(horizon - 3, (7, 4), (2.2, 5.0), (0.4, 1.3)), rgb("#c6bfe4"),
          ((rgb("#b4abdb"), 90, 22, 3.4, 0.55), (rgb("#d6cdee"), 40, 18, 3.0, 0.5)), rgb("#aaa1d6"))
    mid = ridge(horizon + 16, (10, 4), (1.6, 4.4), (2.6, 0.3))
    layer(mid, rgb("#bde0c5"),
          ((rgb("#9fd0ad"), 120, 24, 3.6, 0.6), (rgb("#d5edcb"), 70, 18, 3.2, 0.55),
           (rgb("#86bf99"), 30, 20, 3.0, 0.35)), rgb("#93c7a3"))
    near = ridge(horizon + 48, (8, 3), (1.1, 3.7), (0.9, 2.0))
    meadow = layer(near, rgb("#d3e9bd"),
                   ((rgb("#b5dca1"), 150, 24, 3.8, 0.6), (rgb("#e9efb6"), 80, 18, 3.2, 0.55),
                    (rgb("#9fd0a0"), 40, 20, 3.0, 0.4)), rgb("#a9d49a"))

    # A path winding down from the hills, widening as it nears.
    path = chalk.curve((width * 0.47, horizon + 20), (width * 0.70, horizon + 58), (width * 0.40, height + 2), 40)
    for i in range(len(path) - 4):
        seg = path[i:i + 5]
        grow = 2.5 + 22 * (i / (len(path) - 5)) ** 1.2
        chalk.stroke(seg, grow, rgb("#f5dcc1"), 0.4, 0.6, taper=0)
    chalk.stroke(path, 2.0, rgb("#fdf1e0"), 0.5, 0.55)

    # A tree on the middle hill, lit from the sun's side.
    tx, ty = width * 0.20, horizon + 4
    chalk.stroke([(tx + 1, ty + 30), (tx, ty + 6)], 3.6, rgb("#a78f9a"), 0.95, 0.7, taper=0.1)
    chalk.stroke([(tx - 14, ty + 31), (tx + 16, ty + 30)], 3.0, rgb("#86bf99"), 0.5, 0.6)
    for colour, count, spread, shift in ((rgb("#7fb893"), 60, 19, (-3, 3)), (rgb("#a5d3ad"), 50, 15, (1, -1)),
                                         (rgb("#d0ebbf"), 22, 9, (6, -6)), (rgb("#eef3c4"), 6, 5, (8, -8))):
        for _ in range(count):
            a = rng.uniform(0, 2 * math.pi)
            r = spread * math.sqrt(rng.random())
            cx = tx + shift[0] + math.cos(a) * r
            cy = ty - 8 + shift[1] + math.sin(a) * r * 0.85
            chalk.stroke([(cx - 3, cy + 2), (cx + 3, cy - 2)], 3.2, colour, 0.8, 0.65)

    # Flowers scattered in the meadow, larger nearer the front.
    for colour in (ROSE, LILAC, BUTTER, rgb("#f7a3b5"), rgb("#fffaf2")):
        for _ in range(22):
            fx = rng.uniform(4, width - 4)
            fy = rng.uniform(horizon + 60, height - 3)
            r = 0.9 + (fy - horizon) / height * 2.0
            dot = paint.mask(cw, ch, lambda d, s, fx=fx, fy=fy, r=r: d.ellipse(
                ((fx - r) * s, (fy - r) * s, (fx + r) * s, (fy + r) * s), fill=255))
            composite(img, colour, dot * 0.9 * meadow)
    return img


def picture(bg):
    """The landscape on a sheet of pastel paper, its edges left ragged as
    chalk leaves them."""
    cw, ch = paint.pixels(PICTURE_SIZE[0]), paint.pixels(PICTURE_SIZE[1])
    # The sheet fills its canvas: w x h is the canvas in 96-DPI units.
    w, h = cw / paint.SCALE, ch / paint.SCALE
    shape = rounded_rect(cw, ch, (0, 0, w, h), 10)
    inner = rounded_rect(cw, ch, (1, 1, w - 1, h - 1), 9)
    sheet = paint.canvas(cw, ch, rgb("#fcf8f1"))
    art = landscape(*PICTURE_SIZE, 11)
    margin = 7
    area = rounded_rect(cw, ch, (margin, margin, w - margin, h - margin), 4)
    grain = paint.paper_grain(cw, ch, 5, softness=1.2)
    ragged = np.clip((paint.blur(area, 1.6) - 0.5 + (grain - 0.5) * 0.9) * 3.0 + 0.5, 0, 1)
    composite(sheet, art, ragged)
    composite(sheet, FRAME, np.clip(shape - inner, 0, 1) * 0.8)
    px, py = paint.pixels(PICTURE_AT[0]), paint.pixels(PICTURE_AT[1])
    under = bg[py:py + ch, px:px + cw]
    return keyed(sheet, shape, under)


# ---------------------------------------------------------------- check strip

def check_strip():
    """Four cells: clear, clear pressed, ticked, ticked pressed. Each cell is
    drawn on its own, centred in its canvas, as the program scales each cell
    on its own."""
    size = paint.pixels(CELL)
    # The half pixel a scale may round the cell by is shared by both sides.
    o = (size / paint.SCALE - CELL) / 2 if paint.SCALE != 1 else 0
    cells = []
    for ticked in (False, True):
        for pressed in (False, True):
            cell = paint.canvas(size, size, PAPER)
            box = rounded_rect(size, size, (1 + o, 1 + o, 12 + o, 12 + o), 2.5)
            inner = rounded_rect(size, size, (2 + o, 2 + o, 11 + o, 11 + o), 1.5)
            composite(cell, INK_SOFT, box)
            fill = rgb("#e3d9f3") if pressed else rgb("#fffdfb")
            composite(cell, fill, inner)
            if ticked:
                tick = paint.mask(size, size, lambda d, s: d.line(
                    [((3.6 + o) * s, (6.4 + o) * s), ((5.6 + o) * s, (8.6 + o) * s),
                     ((9.6 + o) * s, (4.0 + o) * s)],
                    fill=255, width=int(1.9 * s), joint="curve"))
                composite(cell, rgb("#6b4f9a"), tick)
            cells.append(cell)
    return np.concatenate(cells, axis=1)


# ---------------------------------------------------------------- cursor and icon

def hand_rows():
    here = os.path.dirname(os.path.abspath(__file__))
    rows = []
    hotspot = None
    with open(os.path.join(here, "hand.txt")) as f:
        for line in f:
            line = line.rstrip("\n")
            if not line or line.startswith("#"):
                continue
            rows.append(line.ljust(32, ".")[:32])
    for y, row in enumerate(rows):
        if "*" in row:
            hotspot = (row.index("*"), y)
    rows = [r.replace("*", "X") for r in rows]
    assert len(rows) == 32 and hotspot is not None
    return rows, hotspot


def icon(size):
    """An artist's palette with pastel dabs, on a transparent ground."""
    scale = 16  # drawn large, then reduced
    big = size * scale
    unit = big / 48.0  # the design is laid out on a 48-unit grid
    line = max(1.0, size / 24.0) * 48.0 / size  # outline width in grid units

    def disc(d, cx, cy, r, fill):
        d.ellipse(((cx - r) * unit, (cy - r) * unit, (cx + r) * unit, (cy + r) * unit), fill=fill)

    notch = (7.0, 37.0, 7.5)
    hole = (16.0, 28.5, 4.6 if size < 24 else 3.8)
    layer = Image.new("RGBA", (big, big), (0, 0, 0, 0))
    d = ImageDraw.Draw(layer)
    clear = (0, 0, 0, 0)
    ink = tuple(int(c) for c in INK) + (255,)
    cream = (253, 248, 238, 255)
    # Outline: the body grown by the line width, each cut-out ringed by it.
    d.ellipse(((3 - line) * unit, (7 - line) * unit, (45 + line) * unit, (41 + line) * unit), fill=ink)
    d.ellipse((3 * unit, 7 * unit, 45 * unit, 41 * unit), fill=cream)
    for cx, cy, r in (notch, hole):
        disc(d, cx, cy, r + line, ink)
        disc(d, cx, cy, r, clear)
    # The ring round the notch sticks out past the body: trim it.
    outside = Image.new("L", (big, big), 255)
    ImageDraw.Draw(outside).ellipse(((3 - line) * unit, (7 - line) * unit, (45 + line) * unit,
                                     (41 + line) * unit), fill=0)
    layer.paste((0, 0, 0, 0), (0, 0), outside)
    if size >= 24:
        dabs = ((13.5, 17, 4.6, ROSE), (23, 13.5, 4.6, BUTTER), (32.5, 15, 4.6, MINT),
                (38.5, 23, 4.4, SKY), (35.5, 32, 4.4, LILAC), (26.5, 33.5, 4.2, PEACH))
    else:
        dabs = ((14, 17, 6.0, ROSE), (26, 14, 6.0, BUTTER), (37, 22, 6.0, SKY), (31, 33, 5.6, MINT))
    for x, y, r, colour in dabs:
        deeper = tuple(int(v) for v in mix(colour, rgb("#b08fc8"), 0.18)) + (255,)
        disc(d, x, y, r, deeper)
    out = np.array(layer.resize((size, size), Image.BOX))
    # The reduction leaves colour in fully clear pixels; clear it.
    out[out[:, :, 3] == 0] = 0
    return out


# ---------------------------------------------------------------- output

def skin_bitmaps():
    """The skin's bitmaps at the current scale, by file name without suffix."""
    bg8 = to_uint8(background())
    out = {"background": bg8}
    out.update(faces())
    out["picture"] = picture(bg8.astype(float))
    out["check-strip"] = to_uint8(check_strip())
    return out


def write_png(path, rgb):
    """A plain 24-bit PNG, as small as zlib makes it, with no chunk but the
    image's own: the same pixels give the same bytes."""
    Image.fromarray(rgb).save(path, "PNG", optimize=True)


def main():
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")
    for name, image in skin_bitmaps().items():
        winformats.write_bmp24(os.path.join(out_dir, name + ".bmp"), image)
    for dpi in RENDER_DPIS:
        paint.set_dpi(dpi)
        for name, image in skin_bitmaps().items():
            write_png(os.path.join(out_dir, "%s-%d.png" % (name, dpi)), image)
    paint.set_dpi(96)
    rows, hotspot = hand_rows()
    winformats.write_mono_cur(os.path.join(out_dir, "hand.cur"), rows, hotspot)
    winformats.write_ico(os.path.join(out_dir, "setup.ico"), [icon(n) for n in (16, 24, 32, 48, 256)])


if __name__ == "__main__":
    main()
