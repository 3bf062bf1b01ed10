#!/usr/bin/env python3
"""Regenerates the game's sprite index assets/2.spr and its five frames.

Frames, each with its hot spot at the centre (negative offsets of half its
size) and pure magenta (255, 0, 255) as the transparent colour:
  1 normal cursor   1.bmp  24-bit BMP
  2 pressed cursor  2.bmp  24-bit BMP
  3 overshot (a)    3.bmp  8-bit BMP with palette
  4 overshot (b)    4.bmp  8-bit BMP with palette
  5 won             5.raw  raw dump (0xFE) of a 32-bit image with its header

Shapes are drawn with 4x4 supersampling; partly covered edge pixels are
blended towards black, the game's background, and pixels covered less than a
fifth stay transparent. Standard library only.
"""
import math
import os
import struct
import sys

MAGENTA = (255, 0, 255)
SAMPLES = 4


# --- shapes: signed distance functions (negative inside) -------------------

def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def ring(cx, cy, r, width):
    return lambda x, y: abs(math.hypot(x - cx, y - cy) - r) - width / 2


def box(x0, y0, x1, y1):
    def sdf(x, y):
        dx = max(x0 - x, x - x1)
        dy = max(y0 - y, y - y1)
        return max(dx, dy)
    return sdf


def polygon(points):
    def sdf(x, y):
        inside = False
        nearest = float("inf")
        for i, (ax, ay) in enumerate(points):
            bx, by = points[i - 1]
            if (ay > y) != (by > y) and x < (bx - ax) * (y - ay) / (by - ay) + ax:
                inside = not inside
            ex, ey = bx - ax, by - ay
            t = max(0.0, min(1.0, ((x - ax) * ex + (y - ay) * ey) / (ex * ex + ey * ey)))
            nearest = min(nearest, math.hypot(x - ax - t * ex, y - ay - t * ey))
        return -nearest if inside else nearest
    return sdf


def star(cx, cy, outer, inner, points=5, turn=-math.pi / 2):
    corners = []
    for i in range(points * 2):
        r = outer if i % 2 == 0 else inner
        a = turn + i * math.pi / points
        corners.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return polygon(corners)


def outline(sdf, width):
    return lambda x, y: abs(sdf(x, y)) - width / 2


def union(*sdfs):
    return lambda x, y: min(s(x, y) for s in sdfs)


# --- colours ---------------------------------------------------------------

def solid(colour):
    return lambda x, y: colour


def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def radial(cx, cy, r, centre, edge):
    return lambda x, y: mix(centre, edge, math.hypot(x - cx, y - cy) / r)


def vertical(y0, y1, top, bottom):
    return lambda x, y: mix(top, bottom, (y - y0) / (y1 - y0))


# --- rendering -------------------------------------------------------------

def render(size, layers):
    """Paints (shape, colour) layers in order; returns rows of RGB or None."""
    pixels = []
    for py in range(size):
        row = []
        for px in range(size):
            covered = 0
            total = [0.0, 0.0, 0.0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = px + (sx + 0.5) / SAMPLES
                    y = py + (sy + 0.5) / SAMPLES
                    colour = None
                    for shape, paint in layers:
                        if shape(x, y) < 0:
                            colour = paint(x, y)
                    if colour is not None:
                        covered += 1
                        for i in range(3):
                            total[i] += colour[i]
            n = SAMPLES * SAMPLES
            if covered < n / 5:
                row.append(None)
            else:
                rgb = tuple(int(round(c / n)) for c in total)
                row.append((254, 0, 255) if rgb == MAGENTA else rgb)
        pixels.append(row)
    return pixels


def rgb_rows(pixels):
    return [[MAGENTA if p is None else p for p in row] for row in pixels]


# --- the frames ------------------------------------------------------------

def ticks(c, r0, r1, width):
    h = width / 2
    return union(box(c - h, c - r1, c + h, c - r0), box(c - h, c + r0, c + h, c + r1),
                 box(c - r1, c - h, c - r0, c + h), box(c + r0, c - h, c + r1, c + h))


def normal_cursor():
    c = 16
    cyan, deep = (90, 230, 255), (20, 120, 220)
    return render(32, [
        (ring(c, c, 10.5, 4.6), solid((0, 40, 80))),
        (ring(c, c, 10.5, 2.4), radial(c, c, 12, (200, 250, 255), cyan)),
        (ticks(c, 4, 15.5, 3.6), solid((0, 40, 80))),
        (ticks(c, 4.6, 15, 1.8), solid(deep)),
        (circle(c, c, 2.4), solid((0, 40, 80))),
        (circle(c, c, 1.5), solid((255, 255, 255))),
    ])


def pressed_cursor():
    c = 16
    return render(32, [
        (ring(c, c, 13.5, 1.6), solid((255, 210, 60))),
        (circle(c, c, 10.2), solid((120, 30, 0))),
        (circle(c, c, 9.2), radial(c - 2, c - 2, 12, (255, 255, 200), (240, 90, 10))),
        (ticks(c, 11, 15.8, 2.2), solid((255, 160, 40))),
        (circle(c - 3, c - 3, 2.2), solid((255, 255, 255))),
    ])


def exclamation(c):
    return union(polygon([(c - 2.6, 7), (c + 2.6, 7), (c + 1.5, 19.5), (c - 1.5, 19.5)]),
                 circle(c, 23.5, 2.3))


def overshot(flash):
    c = 16
    disc, rim, mark = (((255, 220, 40), (180, 60, 0), (200, 0, 0)) if flash
                       else ((225, 25, 25), (90, 0, 0), (255, 255, 255)))
    return render(32, [
        (star(c, c, 15.8, 11.5, points=12, turn=(0.26 if flash else 0.0)), solid(rim)),
        (circle(c, c, 12.6), radial(c - 3, c - 4, 16, mix(disc, (255, 255, 255), 0.35), disc)),
        (exclamation(c), solid(mark)),
    ])


def won():
    c = 24
    gold_top, gold_bottom = (255, 245, 150), (235, 150, 10)
    sparkle = (255, 255, 230)

    def twinkle(x, y, r):
        return union(polygon([(x - r, y), (x, y - 0.25 * r), (x + r, y), (x, y + 0.25 * r)]),
                     polygon([(x, y - r), (x + 0.25 * r, y), (x, y + r), (x - 0.25 * r, y)]))

    body = star(c, c + 1.5, 21, 8.6)
    return render(48, [
        (circle(c, c + 1.5, 15), radial(c, c + 1.5, 15, (120, 70, 0), (40, 20, 0))),
        (outline(body, 2.4), solid((120, 60, 0))),
        (body, vertical(4, 44, gold_top, gold_bottom)),
        (star(c - 2, c - 1, 7, 2.8), solid((255, 255, 235))),
        (twinkle(6, 7, 5), solid(sparkle)),
        (twinkle(42, 8, 4), solid(sparkle)),
        (twinkle(41, 41, 3.5), solid(sparkle)),
    ])


# --- file formats ----------------------------------------------------------

def bmp_24(rows):
    height, width = len(rows), len(rows[0])
    padding = (4 - width * 3 % 4) % 4
    data = b"".join(bytes(v for p in row for v in (p[2], p[1], p[0])) + b"\0" * padding
                    for row in reversed(rows))
    return bmp_headers(width, height, 24, b"", data)


def bmp_8(rows):
    height, width = len(rows), len(rows[0])
    colours = [MAGENTA]
    for row in rows:
        for p in row:
            if p not in colours:
                colours.append(p)
    if len(colours) > 256:
        raise SystemExit("an 8-bit frame has more than 256 colours")
    index = {colour: i for i, colour in enumerate(colours)}
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in colours)
    palette += b"\0" * (1024 - len(palette))
    padding = (4 - width % 4) % 4
    data = b"".join(bytes(index[p] for p in row) + b"\0" * padding for row in reversed(rows))
    return bmp_headers(width, height, 8, palette, data)


def bmp_headers(width, height, bits, palette, data):
    offset = 14 + 40 + len(palette)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(data), 2835, 2835,
                       len(palette) // 4, 0)
    return struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset) + info + palette + data


def raw_dump_32(rows):
    """A long raw dump: the whole memory image of a 32-bit image, header first."""
    height, width = len(rows), len(rows[0])
    pitch = (width * 4 + 15) // 16 * 16
    header = struct.pack("<IiiiI12x", 7, 4, width, height, pitch)
    body = b""
    for row in rows:
        line = b"".join(struct.pack("<I", 0xFF000000 | r << 16 | g << 8 | b) for r, g, b in row)
        body += line + struct.pack("<I", 0xFFFF00FF) * ((pitch - len(line)) // 4)
    payload = header + body
    return b"\xFE" + struct.pack("<I", len(payload)) + payload


def main():
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "assets")
    if len(sys.argv) > 1:
        folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    frames = [
        ("1.bmp", bmp_24, normal_cursor()),
        ("2.bmp", bmp_24, pressed_cursor()),
        ("3.bmp", bmp_8, overshot(False)),
        ("4.bmp", bmp_8, overshot(True)),
        ("5.raw", raw_dump_32, won()),
    ]
    index = [str(len(frames))]
    for name, encode, pixels in frames:
        rows = rgb_rows(pixels)
        with open(os.path.join(folder, name), "wb") as out:
            out.write(encode(rows))
        size = len(rows)
        index.append("%s, %d, %d, %d, %d" % (name, size, size, -(size // 2), -(size // 2)))
    with open(os.path.join(folder, "2.spr"), "w", newline="\n") as out:
        out.write("\n".join(index) + "\n")


if __name__ == "__main__":
    main()
