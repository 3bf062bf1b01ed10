#!/usr/bin/env python3
"""Writes the game's program icon game/game.ico: the cursor crosshair of the
game (a ring with four ticks and a centre dot) in 32 by 32 and 16 by 16
pixels, 32-bit colour with alpha. Edges are drawn with 4x4 supersampling.
Standard library only.
"""
import math
import os
import struct
import sys

SAMPLES = 4
RING = (64, 192, 255)


def coverage(size, x, y):
    """Share of the pixel (x, y) that the crosshair covers, 0.0 to 1.0."""
    centre = size / 2
    scale = size / 32
    hits = 0
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            px = x + (sx + 0.5) / SAMPLES - centre
            py = y + (sy + 0.5) / SAMPLES - centre
            distance = math.hypot(px, py)
            ring = abs(distance - 10 * scale) <= 2 * scale
            tick = (abs(px) <= 1.2 * scale and 6 * scale <= abs(py) <= 15 * scale) or (
                abs(py) <= 1.2 * scale and 6 * scale <= abs(px) <= 15 * scale)
            dot = distance <= 2 * scale
            hits += ring or tick or dot
    return hits / (SAMPLES * SAMPLES)


def image(size):
    """One icon image: a bitmap header, bottom-up BGRA rows, the AND mask."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = []
    mask_rows = []
    mask_pitch = (size + 31) // 32 * 4
    for y in reversed(range(size)):
        row = bytearray()
        mask = bytearray(mask_pitch)
        for x in range(size):
            alpha = round(coverage(size, x, y) * 255)
            row += bytes((RING[2], RING[1], RING[0], alpha))
            if alpha == 0:
                mask[x // 8] |= 0x80 >> (x % 8)
        rows.append(bytes(row))
        mask_rows.append(bytes(mask))
    return header + b"".join(rows) + b"".join(mask_rows)


def icon_file(sizes):
    images = [image(size) for size in sizes]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    for size, data in zip(sizes, images):
        entries += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return directory + entries + b"".join(images)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "game", "game.ico")
    with open(target, "wb") as out:
        out.write(icon_file([32, 16]))


if __name__ == "__main__":
    main()
