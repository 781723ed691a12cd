#!/usr/bin/env python3
"""Draws the two window skins of wavecrest and writes them as 24-bit PNGs.

Standard library only. The artwork: a deep-water panel whose top edge is a
rolling wave crest, a foam-coloured rim, the window's name in a small pixel
font, and a few bubbles near the bottom. Everything outside the outline, and
the bubbles, is pure black: that is what the windows cut away. No pixel
inside the outline is pure black.

It also draws the program's icon for the desktop entry: a small panel of
the same water and wave, with the cut-away made transparent.

usage: make-skins.py [OUTPUT_DIR]   (default: assets/skins beside this script;
                                    the icon goes to OUTPUT_DIR/../wavecrest.png)
"""

import math
import os
import struct
import sys
import zlib

# 5 x 7 capitals for the titles.
FONT = {
    "A": ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    "C": ["01111", "10000", "10000", "10000", "10000", "10000", "01111"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    "H": ["10001", "10001", "10001", "11111", "10001", "10001", "10001"],
    "M": ["10001", "11011", "10101", "10101", "10001", "10001", "10001"],
    "R": ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    "S": ["01111", "10000", "10000", "01110", "00001", "00001", "11110"],
    "T": ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    "V": ["10001", "10001", "10001", "10001", "01010", "01010", "00100"],
    "W": ["10001", "10001", "10001", "10101", "10101", "11011", "10001"],
    " ": ["00000"] * 7,
}

BLACK = (0, 0, 0)
FOAM = (214, 240, 248)
INK = (250, 252, 255)


def not_black(colour):
    # Pure black is the cut-away colour; the artwork never uses it.
    return colour if colour != BLACK else (1, 1, 1)


def wave_top(x, width):
    """The top edge: two and a half rolling crests across the window."""
    phase = 2 * math.pi * x / (width / 2.5)
    return 11 + 6 * math.sin(phase) + 2 * math.sin(2 * phase + 1.0)


def inside(x, y, width, height, radius):
    """Whether (x, y) lies in the outline: the wave on top, rounded lower corners."""
    if x < 2 or x >= width - 2 or y >= height - 2:
        return False
    if y < wave_top(x, width):
        return False
    bottom = height - 3 - radius
    if y > bottom:
        for cx in (2 + radius, width - 3 - radius):
            if (x < cx) == (cx < width / 2) and (x - cx) ** 2 + (y - bottom) ** 2 > radius ** 2:
                return False
    return True


def water(x, y, width, height):
    """Deep blue at the top to sea green at the bottom, with slanted swell lines."""
    t = y / (height - 1)
    r = 12 + 18 * t
    g = 34 + 90 * t
    b = 84 + 60 * t
    swell = math.sin((x + 2.2 * y) / 9.0)
    if swell > 0.93:
        r, g, b = r + 18, g + 22, b + 26
    return not_black((int(r), int(g), int(b)))


def draw(width, height, title, bubbles, panels):
    pixels = [[BLACK] * width for _ in range(height)]
    for y in range(height):
        for x in range(width):
            if inside(x, y, width, height, 14):
                pixels[y][x] = water(x, y, width, height)
    # The rim: outline pixels with a cut-away neighbour take the foam colour.
    rim = []
    for y in range(height):
        for x in range(width):
            if pixels[y][x] == BLACK:
                continue
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1), (2, 0), (-2, 0), (0, 2), (0, -2)):
                nx, ny = x + dx, y + dy
                if not (0 <= nx < width and 0 <= ny < height) or pixels[ny][nx] == BLACK:
                    rim.append((x, y))
                    break
    for x, y in rim:
        pixels[y][x] = FOAM
    # Darker wells behind the controls.
    for left, top, right, bottom in panels:
        for y in range(top, bottom):
            for x in range(left, right):
                r, g, b = pixels[y][x]
                pixels[y][x] = not_black((r // 2, g // 2, b // 2))
    # The title, twice the font's size, centred under the crests.
    scale = 2
    text_width = len(title) * 6 * scale - scale
    left = (width - text_width) // 2
    top = 24
    for i, ch in enumerate(title):
        for row, bits in enumerate(FONT[ch]):
            for col, bit in enumerate(bits):
                if bit == "1":
                    for sy in range(scale):
                        for sx in range(scale):
                            pixels[top + row * scale + sy][left + i * 6 * scale + col * scale + sx] = INK
    # Bubbles are holes: the desktop shows through them.
    for cx, cy, radius in bubbles:
        for y in range(cy - radius - 2, cy + radius + 3):
            for x in range(cx - radius - 2, cx + radius + 3):
                d = math.hypot(x - cx, y - cy)
                if d <= radius:
                    pixels[y][x] = BLACK
                elif d <= radius + 1.5 and pixels[y][x] != BLACK:
                    pixels[y][x] = FOAM
    return pixels


def png(pixels, transparent_black=False):
    """An 8-bit RGB PNG, or RGBA with pure black fully transparent."""
    height, width = len(pixels), len(pixels[0])
    if transparent_black:
        rows = [bytes(c for p in row for c in (p + ((0,) if p == BLACK else (255,)))) for row in pixels]
    else:
        rows = [bytes(c for p in row for c in p) for row in pixels]
    raw = b"".join(b"\x00" + row for row in rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    colour_type = 6 if transparent_black else 2  # RGBA or RGB, 8 bits a channel
    header = struct.pack(">IIBBBBB", width, height, 8, colour_type, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "skins")
    os.makedirs(out, exist_ok=True)
    # Wells: the command list, the screen-name row, the library, the song line.
    main_skin = draw(297, 257, "WAVECREST", [(262, 246, 3), (272, 243, 2), (280, 247, 3)],
                     [(9, 37, 282, 90), (9, 102, 282, 196), (12, 215, 284, 239)])
    matches_skin = draw(238, 168, "MATCHES", [(221, 24, 2), (229, 28, 2)], [(7, 37, 231, 135), (7, 136, 231, 158)])
    for name, pixels in (("main.png", main_skin), ("matches.png", matches_skin)):
        with open(os.path.join(out, name), "wb") as f:
            f.write(png(pixels))
    icon = draw(64, 64, "W", [(50, 54, 3)], [])
    with open(os.path.join(out, os.pardir, "wavecrest.png"), "wb") as f:
        f.write(png(icon, transparent_black=True))


if __name__ == "__main__":
    main()
