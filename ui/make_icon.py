#!/usr/bin/env python3
"""Draws Kolvane's icon and writes it as ui/kolvane.ico.

One icon group with two images, 32 x 32 and 16 x 16 pixels, each with the
16 colours of the standard Windows palette (4 bits per pixel) and a
transparency mask. The picture: a source page with lines of code and a
small bar chart of counts in its lower right corner.

    python3 ui/make_icon.py
"""
import os
import struct

# The 16-colour Windows palette as (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, NAVY, GREY, RED, GREEN, BLUE, WHITE, SILVER = 0, 4, 8, 9, 2, 12, 15, 7


def draw(size):
    """Returns size rows of size colour indexes; None is transparent."""
    s = size / 32.0
    px = [[None] * size for _ in range(size)]

    def box(x0, y0, x1, y1, colour):
        for y in range(int(y0 * s), max(int(y0 * s) + 1, int(y1 * s))):
            for x in range(int(x0 * s), max(int(x0 * s) + 1, int(x1 * s))):
                if 0 <= x < size and 0 <= y < size:
                    px[y][x] = colour

    # The page with a folded corner and a dark outline.
    box(4, 1, 28, 31, WHITE)
    for y in range(int(1 * s), int(8 * s)):
        for x in range(int(21 * s), int(28 * s)):
            if x - int(21 * s) > y - int(1 * s):
                px[y][x] = None
    box(4, 1, 21, 2, BLACK)
    box(4, 1, 5, 31, BLACK)
    box(4, 30, 28, 31, BLACK)
    box(27, 8, 28, 31, BLACK)
    for i in range(int(7 * s) + 1):
        x, y = int(21 * s) + i, int(1 * s) + i
        if x < size and y < size:
            px[y][x] = BLACK
    box(21, 1, 22, 8, GREY)
    box(21, 7, 28, 8, GREY)

    # Lines of code: keywords in navy, comments in green.
    for y, x1, colour in ((6, 17, NAVY), (10, 23, NAVY), (14, 19, GREEN), (18, 14, NAVY)):
        box(7, y, x1, y + 2, colour)

    # The bar chart of counts.
    box(13, 27, 25, 28, GREY)
    box(14, 22, 17, 27, RED)
    box(18, 19, 21, 27, BLUE)
    box(22, 24, 25, 27, GREEN)
    return px


def image(size):
    rows = draw(size)
    xor_stride = (size * 4 + 31) // 32 * 4
    and_stride = (size + 31) // 32 * 4
    xor_bits = bytearray()
    and_bits = bytearray()
    for row in reversed(rows):  # bottom-up
        line = bytearray(xor_stride)
        mask = bytearray(and_stride)
        for x, colour in enumerate(row):
            if colour is None:
                mask[x // 8] |= 0x80 >> (x % 8)
                colour = 0
            line[x // 2] |= colour << (4 if x % 2 == 0 else 0)
        xor_bits += line
        and_bits += mask
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0,
                         len(xor_bits) + len(and_bits), 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)
    return header + palette + bytes(xor_bits) + bytes(and_bits)


def main():
    sizes = (32, 16)
    images = [image(size) for size in sizes]
    offset = 6 + 16 * len(images)
    data = struct.pack('<HHH', 0, 1, len(images))
    for size, bits in zip(sizes, images):
        data += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(bits), offset)
        offset += len(bits)
    data += b''.join(images)
    target = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'kolvane.ico')
    with open(target, 'wb') as out:
        out.write(data)


if __name__ == '__main__':
    main()
