#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Draws the palette bitmaps of the six registered widgets.

Writes, into components/palette/, one Windows BMP per widget class, named after the class in
capital letters: 24 x 24 pixels, 4 bits per pixel, with the 16 standard colours as its palette.
The background is the button-face grey of a designer's component palette.

Standard library only. Run it from anywhere: python3 scripts/make-palette-bitmaps.py
"""
import math
import os
import struct

# The 16 standard colours, in palette order.
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
(BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER,
 GRAY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE) = range(16)
SIZE = 24

# Digits of a 3 x 5 pixel font.
DIGITS = {
    "2": ["###", "..#", "###", "#..", "###"],
    "4": ["#.#", "#.#", "###", "..#", "..#"],
}


class Picture:
    def __init__(self, background=SILVER):
        self.px = [[background] * SIZE for _ in range(SIZE)]

    def set(self, x, y, c):
        if 0 <= x < SIZE and 0 <= y < SIZE:
            self.px[y][x] = c

    def fill(self, x0, y0, x1, y1, c):
        """Fills the rectangle with corners (x0, y0) and (x1, y1), both included."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, c)

    def frame(self, x0, y0, x1, y1, c):
        self.fill(x0, y0, x1, y0, c)
        self.fill(x0, y1, x1, y1, c)
        self.fill(x0, y0, x0, y1, c)
        self.fill(x1, y0, x1, y1, c)

    def bevel(self, x0, y0, x1, y1, light, dark):
        """A raised (light above and left) or sunken (dark above and left) edge."""
        self.fill(x0, y0, x1, y0, light)
        self.fill(x0, y0, x0, y1, light)
        self.fill(x0, y1, x1, y1, dark)
        self.fill(x1, y0, x1, y1, dark)

    def line(self, x0, y0, x1, y1, c):
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
        err = dx + dy
        while True:
            self.set(x0, y0, c)
            if (x0, y0) == (x1, y1):
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def text(self, x, y, digits, c):
        for d in digits:
            for row, bits in enumerate(DIGITS[d]):
                for col, bit in enumerate(bits):
                    if bit == "#":
                        self.set(x + col, y + row, c)
            x += 4

    def triangle(self, cx, y, rows, up, c):
        """A filled arrow head two pixels wide at its tip, centred between cx - 1 and cx."""
        for i in range(rows):
            half = i + 1
            row = y + i if up else y + rows - 1 - i
            self.fill(cx - half, row, cx + half - 1, row, c)


def calendar():
    p = Picture()
    p.fill(2, 3, 21, 22, WHITE)
    p.frame(1, 2, 22, 23, BLACK)
    p.fill(2, 3, 21, 7, RED)
    for x in (6, 17):  # binder rings over the header
        p.fill(x, 0, x + 1, 4, BLACK)
        p.set(x, 1, GRAY)
    for row, y in enumerate((10, 13, 16, 19)):
        for col, x in enumerate((3, 7, 11, 15, 19)):
            if (row, col) == (2, 2):  # the selected day
                p.fill(x - 1, y - 1, x + 2, y + 2, NAVY)
                p.fill(x, y, x + 1, y + 1, WHITE)
            else:
                p.fill(x, y, x + 1, y + 1, RED if col == 4 else NAVY)
    return p


def colour_grid():
    p = Picture()
    # Four rows of four squares, 4 x 4 pixels each with a black line between them.
    p.fill(1, 1, 21, 21, BLACK)
    for i in range(16):
        x = 2 + 5 * (i % 4)
        y = 2 + 5 * (i // 4)
        p.fill(x, y, x + 3, y + 3, i)
    # Shadow of the raised grid.
    p.fill(2, 22, 22, 22, GRAY)
    p.fill(22, 2, 22, 22, GRAY)
    # The picked square (white) carries a marker.
    p.fill(18, 18, 19, 19, BLACK)
    return p


def gauge():
    p = Picture()
    cx = cy = 11.5
    done = 0.4  # share of the circle filled, clockwise from the top
    for y in range(SIZE):
        for x in range(SIZE):
            dx, dy = x - cx, y - cy
            r = math.hypot(dx, dy)
            if r > 11.0:
                continue
            if r > 10.0:
                p.set(x, y, BLACK)
                continue
            angle = math.atan2(dx, -dy) % (2 * math.pi)
            p.set(x, y, NAVY if angle < done * 2 * math.pi else WHITE)
    p.line(12, 12, 12, 2, BLACK)  # edges of the filled wedge
    return p


def spin_button():
    p = Picture()
    for y0, y1, up in ((1, 11, True), (12, 22, False)):
        p.fill(6, y0, 17, y1, SILVER)
        p.bevel(6, y0, 17, y1, WHITE, BLACK)
        p.fill(7, y1 - 1, 16, y1 - 1, GRAY)
        p.fill(16, y0 + 1, 16, y1 - 1, GRAY)
        p.triangle(12, y0 + 3, 4, up, BLACK)
    return p


def spin_edit():
    p = Picture()
    p.fill(0, 5, 23, 18, WHITE)
    p.bevel(0, 5, 23, 18, GRAY, WHITE)
    p.bevel(1, 6, 22, 17, BLACK, SILVER)
    p.text(3, 9, "42", BLACK)
    # The embedded spin button along the right edge.
    for y0, y1, up in ((7, 11, True), (12, 16, False)):
        p.fill(14, y0, 21, y1, SILVER)
        p.bevel(14, y0, 21, y1, WHITE, GRAY)
        p.triangle(18, y0 + 1, 2, up, BLACK)
    return p


def performance_graph():
    p = Picture()
    p.fill(1, 1, 22, 22, BLACK)
    for v in range(5, 22, 5):
        p.fill(v, 2, v, 21, GREEN)
        p.fill(2, v, 21, v, GREEN)
    first = [18, 15, 16, 11, 12, 7, 9, 5]
    second = [20, 19, 17, 18, 15, 16, 13, 14]
    for values, colour in ((second, YELLOW), (first, LIME)):
        for i in range(len(values) - 1):
            p.line(2 + 3 * i, values[i], 2 + 3 * (i + 1), values[i + 1], colour)
    p.frame(0, 0, 23, 23, GRAY)
    return p


def write_bmp(path, picture):
    row_bytes = SIZE // 2  # 12: already a multiple of 4
    pixels = bytearray()
    for y in reversed(range(SIZE)):  # bottom row first
        row = picture.px[y]
        for x in range(0, SIZE, 2):
            pixels.append(row[x] << 4 | row[x + 1])
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    offset = 14 + 40 + len(palette)
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 4, 0, len(pixels), 2835, 2835, 16, 0)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    assert len(pixels) == row_bytes * SIZE
    with open(path, "wb") as f:
        f.write(header + info + palette + pixels)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = os.path.join(root, "components", "palette")
    os.makedirs(out, exist_ok=True)
    pictures = {
        "TCCALENDAR": calendar(),
        "TCCOLORGRID": colour_grid(),
        "TCGAUGE": gauge(),
        "TCSPINBUTTON": spin_button(),
        "TCSPINEDIT": spin_edit(),
        "TPERFORMANCEGRAPH": performance_graph(),
    }
    for name, picture in pictures.items():
        write_bmp(os.path.join(out, name + ".bmp"), picture)


if __name__ == "__main__":
    main()
