#!/usr/bin/env python3
"""Draws the program's icons as indexed PNGs: a table sheet (blue header, grid) with a gold key
in front, since a table and its cipher key are what the editor works on.

icon128-*.png: 16x16 in 16 colours, 32x32 and 16x16 in 256 colours (the program's and the about
box's picture). icon131-16x16.png: one 16x16 image in 256 colours (the window's icon), the sheet
alone.
The shapes are crisp pixel art over one small palette, so every image fits 16 colours.
The Windows program's icon file, recwright.ico, holds the program's picture at 16, 32, 48 and 256 pixels,
each as a PNG (as Windows reads them since Vista).
Run it from anywhere; it rewrites the PNGs and the .ico beside itself. Standard library only.
"""
import math
import os
import struct
import zlib

PALETTE = [  # (r, g, b, a)
    (0, 0, 0, 0),          # 0 transparent
    (27, 58, 92, 255),     # 1 outline
    (46, 117, 182, 255),   # 2 header blue
    (255, 255, 255, 255),  # 3 sheet
    (169, 200, 232, 255),  # 4 grid line
    (234, 242, 251, 255),  # 5 alternate row
    (240, 176, 0, 255),    # 6 gold
    (138, 101, 0, 255),    # 7 gold outline
    (255, 226, 130, 255),  # 8 gold highlight
]


def draw_sheet(px, size, with_key):
    s = size / 32.0
    x0, y0, x1, y1 = round(2 * s), round(3 * s), round(29 * s) - (1 if size < 32 else 0), round(28 * s)
    header_end = y0 + max(2, round(5 * s))
    column = x0 + max(3, round(8 * s))
    pitch = max(3, round(6 * s))
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            edge = x in (x0, x1) or y in (y0, y1)
            if edge:
                c = 1
            elif y < header_end:
                c = 2
            elif y == header_end:
                c = 1
            else:
                row = (y - header_end - 1) // pitch
                in_row = (y - header_end - 1) % pitch
                c = 4 if in_row == pitch - 1 else (5 if row % 2 else 3)
                if x == column and c != 4:
                    c = 4
            px[y][x] = c
    # rounded corners
    for (x, y) in ((x0, y0), (x1, y0), (x0, y1), (x1, y1)):
        px[y][x] = 0
    if with_key:
        draw_key(px, size)


# At 16 pixels a drawn-to-scale key turns to mush, so the small one is placed by hand.
SMALL_KEY = [
    "...........OOO..",
    "..........O886O.",
    ".OOOOOOOOO86666O",
    ".O6666666666O66O",
    ".O66O66OOO66666O",
    ".O66O66O..O666O.",
    ".OOOOOOO...OOO..",
]
SMALL_KEY_TOP = 7
SMALL_KEY_COLOURS = {"O": 7, "6": 6, "8": 8}


def draw_key(px, size):
    if size < 32:
        for dy, line in enumerate(SMALL_KEY):
            for x, ch in enumerate(line):
                if ch in SMALL_KEY_COLOURS:
                    px[SMALL_KEY_TOP + dy][x] = SMALL_KEY_COLOURS[ch]
        return
    s = size / 32.0
    cx, cy = 23.5 * s, 22.5 * s
    r_out, r_in = 5.8 * s, 2.6 * s
    shaft_y0, shaft_y1 = round(21 * s), round(24 * s) - 1
    shaft_x0 = round(7 * s)
    teeth = [(round(8 * s), round(10 * s) - 1), (round(12 * s), round(14 * s) - 1)]
    tooth_end = shaft_y1 + max(2, round(3 * s))

    def key_body(x, y):
        d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
        if r_in < d <= r_out:
            return True
        if shaft_x0 <= x < cx - r_out + 1 and shaft_y0 <= y <= shaft_y1:
            return True
        return any(a <= x <= b and shaft_y1 < y <= tooth_end for a, b in teeth)

    def hole(x, y):
        return math.hypot(x + 0.5 - cx, y + 0.5 - cy) <= r_in

    body = {(x, y) for y in range(size) for x in range(size) if key_body(x, y)}
    for y in range(size):
        for x in range(size):
            if (x, y) in body:
                d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
                light = d <= r_out and (x + 0.5 - cx) + (y + 0.5 - cy) < -r_out * 0.6
                px[y][x] = 8 if light else 6
            elif not hole(x, y) and any((x + dx, y + dy) in body for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))):
                px[y][x] = 7
    # the outline of the ring's hole
    for y in range(size):
        for x in range(size):
            if hole(x, y) and any((x + dx, y + dy) in body for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))):
                px[y][x] = 7


def image(size, with_key):
    px = [[0] * size for _ in range(size)]
    draw_sheet(px, size, with_key)
    return px


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)


def png_bytes(px, bits):
    size = len(px)
    rows = b""
    for row in px:
        if bits == 4:
            packed = bytes((row[i] << 4) | row[i + 1] for i in range(0, size, 2))
        else:
            packed = bytes(row)
        rows += b"\x00" + packed
    colours = 16 if bits == 4 else 256
    entries = PALETTE + [(0, 0, 0, 255)] * (colours - len(PALETTE))
    plte = b"".join(struct.pack("BBB", r, g, b) for r, g, b, _ in entries)
    trns = bytes(a for _, _, _, a in PALETTE)
    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, bits, 3, 0, 0, 0))
    png += chunk(b"PLTE", plte) + chunk(b"tRNS", trns)
    png += chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b"")
    return png


def write_png(path, px, bits):
    with open(path, "wb") as f:
        f.write(png_bytes(px, bits))


def write_ico(path, sizes):
    images = [png_bytes(image(size, True), 8) for size in sizes]
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = len(header) + 16 * len(images)
    entries = b""
    for size, png in zip(sizes, images):
        # width and height 0 stand for 256; 8 bits per pixel, as the PNG holds
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 8, len(png), offset)
        offset += len(png)
    with open(path, "wb") as f:
        f.write(header + entries + b"".join(images))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    write_png(os.path.join(here, "icon128-16x16-16c.png"), image(16, True), 4)
    write_png(os.path.join(here, "icon128-32x32.png"), image(32, True), 8)
    write_png(os.path.join(here, "icon128-16x16.png"), image(16, True), 8)
    write_png(os.path.join(here, "icon131-16x16.png"), image(16, False), 8)
    write_ico(os.path.join(here, "recwright.ico"), (16, 32, 48, 256))


if __name__ == "__main__":
    main()
