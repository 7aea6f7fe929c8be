#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Draws the program's icon: a glider seen from above over a turnpoint ring.

Writes, into app/icons/:
  velquor-32.png   32 x 32 in the 16 standard colours, hard edges (the classic icon)
  velquor-N.png    N x N, smooth edges, for N in 16, 48, 64, 128, 256
  velquor.svg      the same drawing as a scalable image
  velquor.ico      the 16-colour 32 x 32 image and the 256 x 256 one, for Windows

Standard library only. Run it from anywhere: python3 scripts/make-icon.py
"""
import math
import os
import struct
import zlib

# The 16 standard colours of a classic icon.
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
NAVY, TEAL, SILVER, GRAY, RED, YELLOW, BLUE, AQUA, WHITE = 4, 6, 7, 8, 9, 11, 12, 14, 15


def rounded_square(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    svg = f'<rect x="{x0}" y="{y0}" width="{x1 - x0}" height="{y1 - y0}" rx="{r}"'
    return inside, svg


def polygon(points):
    def inside(x, y):
        result = False
        j = len(points) - 1
        for i, (xi, yi) in enumerate(points):
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                result = not result
            j = i
        return result
    svg = '<polygon points="' + " ".join(f"{x},{y}" for x, y in points) + '"'
    return inside, svg


def ellipse(cx, cy, rx, ry):
    def inside(x, y):
        return ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0
    return inside, f'<ellipse cx="{cx}" cy="{cy}" rx="{rx}" ry="{ry}"'


def ring(cx, cy, outer, inner):
    def inside(x, y):
        d = math.hypot(x - cx, y - cy)
        return inner <= d <= outer
    mid = (outer + inner) / 2
    svg = (f'<circle cx="{cx}" cy="{cy}" r="{mid}" fill="none" stroke-width="{outer - inner}"'
           ' STROKE')
    return inside, svg


# Painted in order; the later shape wins. Coordinates in a 32 x 32 square.
SHAPES = [
    (NAVY, rounded_square(0.5, 0.5, 31.5, 31.5, 5.0)),
    (BLUE, rounded_square(0.5, 0.5, 31.5, 16.0, 5.0)),
    (BLUE, polygon([(0.5, 8.0), (31.5, 8.0), (31.5, 16.0), (0.5, 16.0)])),
    (YELLOW, ring(24.5, 24.5, 4.6, 2.6)),
    (RED, ellipse(24.5, 24.5, 1.3, 1.3)),
    (WHITE, polygon([(1.8, 13.0), (14.8, 11.2), (17.2, 11.2), (30.2, 13.0),
                     (30.2, 14.3), (17.2, 14.7), (14.8, 14.7), (1.8, 14.3)])),
    (WHITE, polygon([(15.1, 8.0), (16.0, 4.2), (16.9, 8.0), (16.7, 25.0), (15.3, 25.0)])),
    (WHITE, polygon([(11.8, 23.6), (20.2, 23.6), (20.2, 25.4), (11.8, 25.4)])),
    (TEAL, ellipse(16.0, 8.6, 0.75, 1.9)),
]


def colour_at(x, y):
    found = None
    for colour, (inside, _) in SHAPES:
        if inside(x, y):
            found = colour
    return found


def render_indexed():
    """32 x 32, one sample per pixel centre: palette indices, None for transparent."""
    return [[colour_at(x + 0.5, y + 0.5) for x in range(32)] for y in range(32)]


def render_rgba(size, samples=4):
    scale = 32.0 / size
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = a = 0
            for sy in range(samples):
                for sx in range(samples):
                    c = colour_at((px + (sx + 0.5) / samples) * scale,
                                  (py + (sy + 0.5) / samples) * scale)
                    if c is not None:
                        cr, cg, cb = PALETTE[c]
                        r, g, b, a = r + cr, g + cg, b + cb, a + 1
            n = samples * samples
            row.append((r // a, g // a, b // a, 255 * a // n) if a else (0, 0, 0, 0))
        rows.append(row)
    return rows


def png_chunk(kind, data):
    return (struct.pack(">I", len(data)) + kind + data +
            struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))


def png_rgba(rows):
    h, w = len(rows), len(rows[0])
    raw = b"".join(b"\0" + bytes(v for px in row for v in px) for row in rows)
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0))
            + png_chunk(b"IDAT", zlib.compress(raw, 9)) + png_chunk(b"IEND", b""))


def png_indexed(pixels):
    """4-bit palette image; index 16 would not fit, so transparency uses a spare entry."""
    used = {c for row in pixels for c in row if c is not None}
    spare = next(i for i in range(16) if i not in used)
    h, w = len(pixels), len(pixels[0])
    raw = b""
    for row in pixels:
        idx = [spare if c is None else c for c in row]
        raw += b"\0" + bytes((idx[i] << 4) | idx[i + 1] for i in range(0, w, 2))
    trns = bytes(0 if i == spare else 255 for i in range(16))
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 4, 3, 0, 0, 0))
            + png_chunk(b"PLTE", b"".join(bytes(c) for c in PALETTE))
            + png_chunk(b"tRNS", trns)
            + png_chunk(b"IDAT", zlib.compress(raw, 9)) + png_chunk(b"IEND", b""))


def ico_bitmap_4bit(pixels):
    """A classic 16-colour icon image: 4-bit colour bitmap plus 1-bit transparency mask."""
    h, w = len(pixels), len(pixels[0])
    header = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE)
    colour = b""
    mask = b""
    for row in reversed(pixels):  # bottom-up
        idx = [0 if c is None else c for c in row]
        colour += bytes((idx[i] << 4) | idx[i + 1] for i in range(0, w, 2))
        bits = 0
        line = b""
        for i, c in enumerate(row):
            bits = (bits << 1) | (1 if c is None else 0)
            if i % 8 == 7:
                line += bytes([bits])
                bits = 0
        mask += line + b"\0" * (-len(line) % 4)
    return header + palette + colour + mask


def ico(entries):
    """entries: (width, height, colour count, bits per pixel, image bytes)."""
    out = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    data = b""
    for w, h, colours, bpp, image in entries:
        out += struct.pack("<BBBBHHII", w % 256, h % 256, colours, 0, 1, bpp, len(image),
                           offset + len(data))
        data += image
    return out + data


def svg():
    parts = ['<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" '
             'viewBox="0 0 32 32">']
    for colour, (_, element) in SHAPES:
        hexcolour = "#%02x%02x%02x" % PALETTE[colour]
        if "STROKE" in element:
            parts.append("  " + element.replace("STROKE", f'stroke="{hexcolour}"') + "/>")
        else:
            parts.append(f'  {element} fill="{hexcolour}"/>')
    parts.append("</svg>")
    return "\n".join(parts) + "\n"


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = os.path.join(here, "..", "app", "icons")
    os.makedirs(out, exist_ok=True)
    classic = render_indexed()
    with open(os.path.join(out, "velquor-32.png"), "wb") as f:
        f.write(png_indexed(classic))
    large = None
    for size in (16, 48, 64, 128, 256):
        rows = render_rgba(size)
        data = png_rgba(rows)
        if size == 256:
            large = data
        with open(os.path.join(out, f"velquor-{size}.png"), "wb") as f:
            f.write(data)
    with open(os.path.join(out, "velquor.svg"), "w") as f:
        f.write(svg())
    with open(os.path.join(out, "velquor.ico"), "wb") as f:
        f.write(ico([(32, 32, 16, 4, ico_bitmap_4bit(classic)), (256, 256, 0, 32, large)]))


if __name__ == "__main__":
    main()
