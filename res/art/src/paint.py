"""Small painting toolkit for the setup artwork: float RGB canvases,
anti-aliased masks drawn supersampled with PIL, and chalk strokes whose
coverage is broken up by a shared paper grain, as soft pastels are.
"""

import math
import random

import numpy as np
from PIL import Image, ImageDraw, ImageFilter, ImageFont

SUPERSAMPLE = 4

# The display scale being drawn: drawings give their coordinates, stroke
# widths and font sizes in 96-DPI units, and canvases are measured in pixels
# of that scale. 96 DPI is the 100 % art, drawn exactly as it always was.
DPI = 96
SCALE = 1


def set_dpi(dpi):
    global DPI, SCALE
    DPI = dpi
    SCALE = 1 if dpi == 96 else dpi / 96.0


def pixels(length):
    """A length of 96-DPI units in pixels at the current scale, rounded as the
    program rounds (halves away from zero)."""
    return (length * DPI + 48) // 96

FONT_DIRS = (
    "/usr/share/fonts/opentype/ebgaramond/",
    "/usr/share/fonts/truetype/lato/",
    "/usr/share/fonts/truetype/dejavu/",
    "/usr/share/fonts/truetype/liberation/",
)


def font(name, size):
    for folder in FONT_DIRS:
        try:
            return ImageFont.truetype(folder + name, size)
        except OSError:
            continue
    raise SystemExit("font %s not found: install fonts-ebgaramond and fonts-lato" % name)


def rgb(hex_text):
    value = int(hex_text.lstrip("#"), 16)
    return np.array([(value >> 16) & 255, (value >> 8) & 255, value & 255], float)


def canvas(width, height, colour):
    out = np.zeros((height, width, 3), float)
    out[:, :] = colour
    return out


def composite(target, colour, alpha):
    """Paints colour (a triple or an image) over target with coverage alpha."""
    a = np.clip(alpha, 0.0, 1.0)[:, :, None]
    target[:] = target * (1.0 - a) + np.asarray(colour, float) * a


def mask(width, height, draw_fn, scale=SUPERSAMPLE):
    """Coverage in 0..1 of a width x height pixel canvas of whatever
    draw_fn(draw, s) paints in white, s being pixels per 96-DPI unit on the
    supersampled image."""
    img = Image.new("L", (width * scale, height * scale), 0)
    draw_fn(ImageDraw.Draw(img), scale * SCALE)
    if scale != 1:
        img = img.resize((width, height), Image.BOX)
    return np.asarray(img, float) / 255.0


def blur(alpha, radius):
    img = Image.fromarray(np.uint8(np.clip(alpha, 0, 1) * 255))
    img = img.filter(ImageFilter.GaussianBlur(radius * SCALE))
    return np.asarray(img, float) / 255.0


def rounded_rect(width, height, box, radius):
    x0, y0, x1, y1 = box
    return mask(width, height, lambda d, s: d.rounded_rectangle(
        (x0 * s, y0 * s, x1 * s - 1, y1 * s - 1), radius * s, fill=255))


def vertical_gradient(width, height, stops):
    """stops: (position 0..1, colour) pairs, top to bottom."""
    ys = np.linspace(0.0, 1.0, height)
    out = np.zeros((height, width, 3), float)
    for channel in range(3):
        column = np.interp(ys, [p for p, _ in stops], [c[channel] for _, c in stops])
        out[:, :, channel] = column[:, None]
    return out


def paper_grain(width, height, seed, softness=0.9):
    """Paper tooth in 0..1: softened noise."""
    rng = np.random.default_rng(seed)
    noise = rng.random((height, width))
    img = Image.fromarray(np.uint8(noise * 255)).filter(ImageFilter.GaussianBlur(softness * SCALE))
    grain = np.asarray(img, float) / 255.0
    grain -= grain.min()
    return grain / grain.max()


def text_mask(width, height, xy, text, fnt, scale=SUPERSAMPLE, spacing=0.0, anchor="la"):
    """Coverage of a line of text; spacing adds letter spacing in pixels."""
    def draw(d, s):
        big = ImageFont.truetype(fnt.path, int(round(fnt.size * s)))
        x, y = xy[0] * s, xy[1] * s
        if spacing == 0.0:
            d.text((x, y), text, font=big, fill=255, anchor=anchor)
            return
        total = sum(big.getlength(ch) for ch in text) + spacing * s * (len(text) - 1)
        if anchor[0] == "m":
            x -= total / 2
        elif anchor[0] == "r":
            x -= total
        for ch in text:
            d.text((x, y), ch, font=big, fill=255, anchor="l" + anchor[1])
            x += big.getlength(ch) + spacing * s
    return mask(width, height, draw, scale)


class Chalk:
    """Chalk strokes on one canvas, all sharing the canvas's paper grain."""

    def __init__(self, target, seed):
        self.target = target
        self.height, self.width, _ = target.shape
        self.grain = paper_grain(self.width, self.height, seed)
        self.rng = random.Random(seed)

    def stroke(self, points, width, colour, opacity=0.85, pressure=0.45, clip=None, taper=0.2):
        """A stroke along a polyline, tapering at both ends; low pressure
        leaves more of the paper's tooth showing through."""
        pts = [(float(x), float(y)) for x, y in points]
        xs = [p[0] for p in pts]
        ys = [p[1] for p in pts]
        pad = width + 2
        # The stroke's box on the canvas, in pixels.
        x0 = max(int((min(xs) - pad) * SCALE), 0)
        y0 = max(int((min(ys) - pad) * SCALE), 0)
        x1 = min(int((max(xs) + pad) * SCALE) + 1, self.width)
        y1 = min(int((max(ys) + pad) * SCALE) + 1, self.height)
        if x1 <= x0 or y1 <= y0:
            return
        w, h = x1 - x0, y1 - y0
        # Stamp discs along the path, closer than half a pixel apart.
        seg = [math.hypot(b[0] - a[0], b[1] - a[1]) for a, b in zip(pts, pts[1:])]
        total = sum(seg) or 1.0
        stamps = []
        run = 0.0
        for (a, b), length in zip(zip(pts, pts[1:]), seg):
            n = max(1, int(length * SCALE * 3))
            for i in range(n):
                t = i / n
                along = (run + length * t) / total
                ends = min(along, 1.0 - along) / taper if taper > 0 else 1.0
                radius = width / 2 * (0.35 + 0.65 * min(1.0, ends))
                stamps.append((a[0] + (b[0] - a[0]) * t, a[1] + (b[1] - a[1]) * t, radius))
            run += length
        stamps.append((pts[-1][0], pts[-1][1], width / 2 * 0.35))

        def draw(d, s):
            for x, y, r in stamps:
                cx, cy, rr = (x - x0 / SCALE) * s, (y - y0 / SCALE) * s, r * s
                d.ellipse((cx - rr, cy - rr, cx + rr, cy + rr), fill=255)
        cover = mask(w, h, draw)
        tooth = self.grain[y0:y1, x0:x1]
        catch = np.clip((tooth - (1.0 - pressure) * 0.9) / 0.3, 0.0, 1.0)
        alpha = cover * (0.35 + 0.65 * catch) * opacity
        if clip is not None:
            alpha = alpha * clip[y0:y1, x0:x1]
        composite(self.target[y0:y1, x0:x1], colour, alpha)

    def curve(self, p0, p1, p2, steps=12):
        """Points of a quadratic curve from p0 through control p1 to p2."""
        out = []
        for i in range(steps + 1):
            t = i / steps
            a = (1 - t) * (1 - t)
            b = 2 * (1 - t) * t
            c = t * t
            out.append((a * p0[0] + b * p1[0] + c * p2[0], a * p0[1] + b * p1[1] + c * p2[1]))
        return out

    def hatch(self, box, colour, count, length, angle, width, opacity, pressure,
              clip=None, jitter=0.25):
        """Short parallel strokes scattered over a box, as in a pastel sky."""
        x0, y0, x1, y1 = box
        for _ in range(count):
            cx = self.rng.uniform(x0, x1)
            cy = self.rng.uniform(y0, y1)
            a = math.radians(angle + self.rng.uniform(-12, 12))
            half = length * self.rng.uniform(0.6, 1.0) / 2
            dx, dy = math.cos(a) * half, math.sin(a) * half
            bend = self.rng.uniform(-jitter, jitter) * half
            self.stroke(self.curve((cx - dx, cy - dy), (cx - dy * bend / half, cy + dx * bend / half),
                                   (cx + dx, cy + dy)),
                        width * self.rng.uniform(0.8, 1.2), colour,
                        opacity * self.rng.uniform(0.7, 1.0), pressure, clip)


def to_uint8(image):
    return np.uint8(np.clip(np.round(image), 0, 255))
