#!/usr/bin/env python3
"""Writes the PNG files of the loader tests with Pillow. Every file shows the
same 13x7 picture in its own colour type: pixel (x, y) has red 19 * x, green
36 * y, blue 255 - 19 * x and, where the type has alpha, alpha 40 * y + 7
(grey files: grey 19 * x; the palette file: every row like row 0). tests/gfx/image/png_loader_test.cpp computes the
same values."""
from PIL import Image

W, H = 13, 7


def rgba(x, y):
    return (19 * x, 36 * y, 255 - 19 * x, 40 * y + 7)


def picture(mode):
    image = Image.new('RGBA', (W, H))
    image.putdata([rgba(x, y) for y in range(H) for x in range(W)])
    if mode == 'L':
        grey = Image.new('L', (W, H))
        grey.putdata([19 * x for y in range(H) for x in range(W)])
        return grey
    if mode == 'LA':
        grey = Image.new('LA', (W, H))
        grey.putdata([(19 * x, 40 * y + 7) for y in range(H) for x in range(W)])
        return grey
    return image.convert(mode)


picture('RGB').save('rgb.png')
picture('RGBA').save('rgba.png')
picture('L').save('grey.png')
picture('LA').save('grey_alpha.png')
# 16 bits a channel: grey 19 * x * 257, which is 19 * x in its top byte.
deep = Image.new('I;16', (W, H))
deep.putdata([19 * x * 257 for y in range(H) for x in range(W)])
deep.save('grey16.png')
# A palette picture: 13 colours, one per column.
palette = Image.new('P', (W, H))
palette.putpalette([c for x in range(W) for c in rgba(x, 0)[:3]])
palette.putdata([x for y in range(H) for x in range(W)])
palette.save('palette.png')
