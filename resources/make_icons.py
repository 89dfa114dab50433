#!/usr/bin/env python3
"""Draws the program's icons into resources/icons/ with plain code.

Every design is a set of shapes in a unit square (y downwards); a pixel's coverage is the share
of its 4x4 sub-samples inside the shape, so edges stay smooth at 18 pixels. Only the standard
library is used: the PNG files are written with zlib and struct.

    python3 resources/make_icons.py          # rewrites resources/icons/ and resources/app-icon/
"""

import math
import os
import struct
import zlib

SAMPLES = 4
HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "icons")
APP_ICONS = os.path.join(HERE, "app-icon")
APP_ICON_SIZES = (16, 24, 32, 48, 64, 128, 256)


# Shapes: callables (x, y) -> bool over the unit square.

def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r, width):
    inner = r - width
    return lambda x, y: inner * inner <= (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def frame(x0, y0, x1, y1, width):
    outer = rect(x0, y0, x1, y1)
    inner = rect(x0 + width, y0 + width, x1 - width, y1 - width)
    return lambda x, y: outer(x, y) and not inner(x, y)


def capsule(ax, ay, bx, by, width):
    """A line from a to b with round ends."""
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    half = width / 2

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
        px, py = ax + t * dx, ay + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= half * half
    return inside


def polygon(points):
    """Convex or not: even-odd rule."""
    def inside(x, y):
        result = False
        n = len(points)
        for i in range(n):
            (x0, y0), (x1, y1) = points[i], points[(i + 1) % n]
            if (y0 > y) != (y1 > y) and x < x0 + (y - y0) * (x1 - x0) / (y1 - y0):
                result = not result
        return result
    return inside


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def minus(shape, *holes):
    return lambda x, y: shape(x, y) and not any(h(x, y) for h in holes)


def scaled(shape, cx, cy, factor):
    """The shape shrunk by `factor` around the point (cx, cy)."""
    return lambda x, y: shape(cx + (x - cx) / factor, cy + (y - cy) / factor)


# The four menu-bar designs: strokes about two pixels wide at 18 pixels.

STROKE = 0.12


def viewfinder():
    """Design 1: the four corner brackets of a viewfinder around a centre dot."""
    a, b, arm = 0.08, 0.92, 0.30
    parts = []
    for cx, sx in ((a, 1), (b, -1)):
        for cy, sy in ((a, 1), (b, -1)):
            x_lo, x_hi = sorted((cx, cx + sx * arm))
            y_lo, y_hi = sorted((cy, cy + sy * arm))
            s_lo, s_hi = sorted((cx, cx + sx * STROKE))
            t_lo, t_hi = sorted((cy, cy + sy * STROKE))
            parts.append(rect(x_lo, t_lo, x_hi, t_hi))
            parts.append(rect(s_lo, y_lo, s_hi, y_hi))
    parts.append(circle(0.5, 0.5, 0.13))
    return union(*parts)


def aperture():
    """Design 2: a lens aperture, a disc with a hexagonal opening and six blade edges."""
    centre, outer, opening = 0.5, 0.46, 0.19
    corners = [(centre + opening * math.cos(math.radians(30 + 60 * i)),
                centre + opening * math.sin(math.radians(30 + 60 * i))) for i in range(6)]
    blades = []
    for i in range(6):
        (x0, y0), (x1, y1) = corners[i], corners[(i + 1) % 6]
        dx, dy = x1 - x0, y1 - y0
        norm = math.hypot(dx, dy)
        # Each blade edge runs on from a corner of the opening, along the side that ends there.
        blades.append(capsule(x1, y1, x1 + dx / norm * 0.5, y1 + dy / norm * 0.5, 0.055))
    return minus(circle(centre, centre, outer), polygon(corners), *blades)


def camera_body():
    """Design 3: a camera body with its lens and viewfinder hump."""
    body = rounded_rect(0.04, 0.27, 0.96, 0.88, 0.11)
    hump = rounded_rect(0.32, 0.13, 0.68, 0.34, 0.05)
    lens_gap = ring(0.5, 0.575, 0.235, 0.09)
    flash = circle(0.82, 0.40, 0.045)
    return minus(union(body, hump), lens_gap, flash)


def crop_frame():
    """Design 4: the two crossing corners of a crop tool."""
    w = STROKE
    first = union(rect(0.24, 0.04, 0.24 + w, 0.76), rect(0.24, 0.76 - w, 0.96, 0.76))
    second = union(rect(0.04, 0.24, 0.76, 0.24 + w), rect(0.76 - w, 0.24, 0.76, 0.96))
    return union(first, second)


# The four symbols beside the status-menu items, for 16 pixels.

def display_symbol():
    screen = frame(0.04, 0.10, 0.96, 0.72, 0.11)
    stem = rect(0.43, 0.72, 0.57, 0.84)
    foot = rounded_rect(0.24, 0.82, 0.76, 0.93, 0.04)
    return union(screen, stem, foot)


def window_symbol():
    outline = frame(0.04, 0.10, 0.96, 0.90, 0.09)
    title_bar = rect(0.04, 0.10, 0.96, 0.34)
    return union(outline, title_bar)


def scissors_symbol():
    handles = union(ring(0.27, 0.76, 0.17, 0.08), ring(0.73, 0.76, 0.17, 0.08))
    blades = union(capsule(0.36, 0.61, 0.76, 0.06, 0.10), capsule(0.64, 0.61, 0.24, 0.06, 0.10))
    return union(handles, blades)


def folder_symbol():
    tab = rounded_rect(0.04, 0.14, 0.44, 0.34, 0.04)
    body = rounded_rect(0.04, 0.24, 0.96, 0.86, 0.06)
    return union(tab, body)


def help_symbol():
    """A question mark in a ring, for the help icons beside the Preferences settings."""
    outline = ring(0.5, 0.5, 0.47, 0.08)
    hook = minus(ring(0.5, 0.38, 0.17, 0.085), rect(0.0, 0.38, 0.5, 1.0))
    stem = capsule(0.5, 0.5, 0.5, 0.62, 0.085)
    dot = circle(0.5, 0.76, 0.055)
    return union(outline, hook, stem, dot)


# Rendering.

def coverage(shape, size):
    """Rows of coverage values 0..1 for a square of `size` pixels."""
    step = 1.0 / (size * SAMPLES)
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            hits = 0
            for sy in range(SAMPLES):
                y = (py * SAMPLES + sy + 0.5) * step
                for sx in range(SAMPLES):
                    x = (px * SAMPLES + sx + 0.5) * step
                    if shape(x, y):
                        hits += 1
            row.append(hits / (SAMPLES * SAMPLES))
        rows.append(row)
    return rows


def glyph_pixels(shape, size, rgb):
    """Straight-alpha RGBA rows: one colour, alpha from coverage."""
    return [[(*rgb, round(255 * c)) for c in row] for row in coverage(shape, size)]


def over(top, bottom):
    """Porter-Duff source-over of two straight-alpha RGBA pixels."""
    ta, ba = top[3] / 255, bottom[3] / 255
    a = ta + ba * (1 - ta)
    if a == 0:
        return (0, 0, 0, 0)
    rgb = [round((t * ta + b * ba * (1 - ta)) / a) for t, b in zip(top[:3], bottom[:3])]
    return (*rgb, round(a * 255))


def application_icon(size):
    """A rounded tile shading from blue to deep blue, with a white aperture inside brackets."""
    tile = coverage(rounded_rect(0.03, 0.03, 0.97, 0.97, 0.22), size)
    mark = coverage(union(scaled(aperture(), 0.5, 0.5, 0.50),
                          scaled(minus(viewfinder(), circle(0.5, 0.5, 0.2)), 0.5, 0.5, 0.78)),
                    size)
    top, bottom = (70, 150, 240), (24, 64, 150)
    pixels = []
    for py in range(size):
        t = py / max(1, size - 1)
        shade = tuple(round(a + (b - a) * t) for a, b in zip(top, bottom))
        row = []
        for px in range(size):
            base = (*shade, round(255 * tile[py][px]))
            white = (255, 255, 255, round(255 * mark[py][px] * tile[py][px]))
            row.append(over(white, base))
        pixels.append(row)
    return pixels


def write_png(path, pixels):
    height, width = len(pixels), len(pixels[0])
    raw = b"".join(b"\x00" + bytes(v for p in row for v in p) for row in pixels)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
                + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


LIGHT_BAR_GLYPH = (28, 28, 30)     # dark glyph for a light bar
DARK_BAR_GLYPH = (242, 242, 244)   # light glyph for a dark bar
SYMBOL_GLYPH = (72, 72, 76)        # readable on light and mid-grey menus

DESIGNS = {1: viewfinder, 2: aperture, 3: camera_body, 4: crop_frame}
SYMBOLS = {"display": display_symbol, "window": window_symbol,
           "scissors": scissors_symbol, "folder": folder_symbol, "help": help_symbol}


def main():
    os.makedirs(OUT, exist_ok=True)
    for number, design in DESIGNS.items():
        shape = design()
        for prefix, rgb in (("", LIGHT_BAR_GLYPH), ("inv_", DARK_BAR_GLYPH)):
            for suffix, size in (("", 18), ("x2", 36)):
                name = f"{prefix}app_icon{number}{suffix}.png"
                write_png(os.path.join(OUT, name), glyph_pixels(shape, size, rgb))
    write_png(os.path.join(OUT, "fancy_app_icon.png"), application_icon(128))
    write_png(os.path.join(OUT, "fancy_app_iconx2.png"), application_icon(256))
    for name, symbol in SYMBOLS.items():
        write_png(os.path.join(OUT, f"symbol_{name}.png"), glyph_pixels(symbol(), 16, SYMBOL_GLYPH))
    write_png(os.path.join(OUT, "symbol_blank.png"), [[(0, 0, 0, 0)] * 16 for _ in range(16)])
    # The application's icon for the desktop's icon theme, one file per size.
    os.makedirs(APP_ICONS, exist_ok=True)
    for size in APP_ICON_SIZES:
        write_png(os.path.join(APP_ICONS, f"vantorshot-{size}.png"), application_icon(size))


if __name__ == "__main__":
    main()
