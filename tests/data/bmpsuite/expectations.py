#!/usr/bin/env python3
"""Prints the expected outcome of loading each corpus file into a 130x70
32-bit image (filled with 0xFFFF00FF) on a 32-bit screen, as a C++ table for
tests/gfx/image/bmpsuite_test.cpp. A separate reading of the loader's rules:
headers 12/40/56/108/124, compression 0 and 3, and 1 and 2 (runs of 8-bit and
4-bit indices, bottom-up only; skipped pixels keep the fill, runs cut at the
row and the picture), palette of 2^bits entries, channel masks scaled, rows
bottom-up unless the height is negative."""
import os
import struct
import sys

WIDTH, HEIGHT, FILL = 130, 70, 0xFFFF00FF


def scale(c, b, n):
    if b > n:
        return c >> (b - n)
    return (c << (n - b)) | ((c >> (2 * b - n)) if 2 * b >= n else 0)


def channel(mask):
    if mask == 0:
        return (0, 0, 0)
    shift = (mask & -mask).bit_length() - 1
    return (shift, mask.bit_length() - shift, mask >> shift)


def load(data):
    """Returns (result, pixels) where pixels is a WIDTH*HEIGHT list."""
    pixels = [FILL] * (WIDTH * HEIGHT)
    if not data or data[0] != ord('B'):
        return 3, pixels
    pos = 0

    def read(n):
        nonlocal pos
        chunk = data[pos:pos + n]
        pos += n
        return chunk if len(chunk) == n else None

    head = read(18)
    if head is None:
        return 3, pixels
    magic, offset, size = struct.unpack('<H8xII', head)
    masks = [0, 0, 0, 0]
    if size == 12:
        f = read(8)
        if f is None:
            return 3, pixels
        width, height, planes, bits = struct.unpack('<HHHH', f)
        comp = 0
    elif size in (40, 56, 108, 124):
        f = read(20)
        if f is None:
            return 3, pixels
        width, height, planes, bits, comp, _ = struct.unpack('<iiHHII', f)
        if size > 40:
            f = read(32)
            if f is None:
                return 3, pixels
            masks = list(struct.unpack('<16x4I', f))
    else:
        return 3, pixels
    if magic != 0x4D42 or planes > 1 or width < 1 or height == 0 or comp > 3 or bits == 0:
        return 3, pixels
    if comp in (1, 2) and (height < 0 or bits != (8 if comp == 1 else 4)):
        return 3, pixels
    top_down = height < 0
    height = abs(height)
    entry = 3 if size == 12 else 4
    entries = (1 << bits) if bits <= 8 else 0
    if offset == 0:
        offset = 14 + size + entries * entry
    pos = 14 + size
    raw = data[pos:pos + entries * entry]
    pos += entries * entry
    palette = []
    for i in range(entries):
        e = raw[i * entry:i * entry + 3]
        e = e + bytes(3 - len(e))
        palette.append(e[2] | e[1] << 8 | e[0] << 16)
    if comp == 3 and size <= 40:
        f = read(12)
        if f is None:
            return 3, pixels
        masks = list(struct.unpack('<3I', f)) + [0]
    elif comp != 3:
        masks = [0x7C00, 0x3E0, 0x1F, 0] if bits <= 16 else [0xFF0000, 0xFF00, 0xFF, 0xFF000000]
    if bits > 32:
        return 3, pixels
    chans = [channel(m) for m in masks]
    w, h = min(width, WIDTH), min(height, HEIGHT)
    pos = offset
    if comp in (1, 2):
        return runs(data[pos:], bits, height, w, h, palette, pixels), pixels
    per_byte = 8 // bits if bits < 8 else 0
    data_bytes = -(-width // per_byte) if per_byte else width * ((bits + 7) // 8)
    padded = (data_bytes + 3) & ~3
    for i in range(height):
        y = i if top_down else height - 1 - i
        row = data[pos:pos + data_bytes]
        if len(row) < data_bytes:
            return 3, pixels
        if not per_byte and len(data[pos:pos + padded]) < padded:
            return 3, pixels
        pos += padded
        if y >= h:
            continue
        for x in range(w):
            if per_byte:
                byte = row[x // per_byte]
                index = ((byte << (bits * (x % per_byte))) & 0xFF) >> (8 - bits)
                colour = palette[index] if index < len(palette) else 0
                r, g, b = colour & 0xFF, colour >> 8 & 0xFF, colour >> 16 & 0xFF
                value = 0xFF000000 | r << 16 | g << 8 | b
            elif bits == 8:
                colour = palette[row[x]]
                r, g, b = colour & 0xFF, colour >> 8 & 0xFF, colour >> 16 & 0xFF
                value = 0xFF000000 | r << 16 | g << 8 | b
            else:
                n = (bits + 7) // 8
                p = int.from_bytes(row[x * n:x * n + n], 'little')
                r, g, b, a = (scale((p >> s) & m, c, 8) for s, c, m in chans)
                if n != 4:
                    a = 0xFF
                value = a << 24 | r << 16 | g << 8 | b
            pixels[y * WIDTH + x] = value
    return 0, pixels


def colour_of(palette, index):
    colour = palette[index] if index < len(palette) else 0
    r, g, b = colour & 0xFF, colour >> 8 & 0xFF, colour >> 16 & 0xFF
    return 0xFF000000 | r << 16 | g << 8 | b


def runs(data, bits, height, w, h, palette, pixels):
    """Decodes run-length data into pixels; returns the result code."""
    pos, x, row = 0, 0, 0

    def put(indices):
        y = height - 1 - row
        for i, index in enumerate(indices):
            if 0 <= y < h and x + i < w:
                pixels[y * WIDTH + x + i] = colour_of(palette, index)

    while row < height:
        if pos + 2 > len(data):
            return 3
        count, value = data[pos], data[pos + 1]
        pos += 2
        if count:
            if bits == 8:
                put([value] * count)
            else:
                put([value >> 4 if i % 2 == 0 else value & 15 for i in range(count)])
            x += count
        elif value == 0:
            x, row = 0, row + 1
        elif value == 1:
            return 0
        elif value == 2:
            if pos + 2 > len(data):
                return 3
            x, row = x + data[pos], row + data[pos + 1]
            pos += 2
        else:
            size = value if bits == 8 else (value + 1) // 2
            chunk = data[pos:pos + size]
            if len(chunk) < size:
                return 3
            pos += size + size % 2
            if bits == 8:
                put(list(chunk))
            else:
                put([n for byte in chunk for n in (byte >> 4, byte & 15)][:value])
            x += value
    return 0


def fnv(pixels):
    h = 0x811C9DC5
    for p in pixels:
        for k in range(4):
            h = ((h ^ (p >> (8 * k) & 0xFF)) * 0x01000193) & 0xFFFFFFFF
    return h


def main():
    root = os.path.dirname(os.path.abspath(__file__))
    for folder in 'gqb':
        for name in sorted(os.listdir(os.path.join(root, folder))):
            data = open(os.path.join(root, folder, name), 'rb').read()
            result, px = load(data)
            corners = [px[0], px[126], px[63 * WIDTH], px[63 * WIDTH + 126]]
            text = ', '.join('0x%08X' % c for c in corners)
            checksum = fnv(px)
            print('    {"%s/%s", %d, {%s}, 0x%08X},' % (folder, name, result, text, checksum))


if __name__ == '__main__':
    sys.exit(main())
