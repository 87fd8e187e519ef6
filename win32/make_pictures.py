#!/usr/bin/env python3
"""Draws the band's pictures: bitmaps 201-203 (16 by 16, 16 colours) and icon 204.

Usage: make_pictures.py OUTDIR. Pictures are drawn from the little character maps below."""
import struct
import sys
from pathlib import Path

# The 16-colour palette of Windows, each entry written as (blue, green, red).
PALETTE = [(0, 0, 0), (0, 0, 128), (0, 128, 0), (0, 128, 128), (128, 0, 0), (128, 0, 128),
           (128, 128, 0), (192, 192, 192), (128, 128, 128), (0, 0, 255), (0, 255, 0),
           (0, 255, 255), (255, 0, 0), (255, 0, 255), (255, 255, 0), (255, 255, 255)]
INK = {'.': 7, '#': 0, 'r': 9, 'w': 15, 'b': 12}

# A framed character (zhong, "middle"): the menu button.
MENU = """\
################
#wwwwwwwwwwwwww#
#wwwwwwrrwwwwww#
#wwwwwwrrwwwwww#
#wrrrrrrrrrrrrw#
#wrwwwwrrwwwwrw#
#wrwwwwrrwwwwrw#
#wrwwwwrrwwwwrw#
#wrrrrrrrrrrrrw#
#wwwwwwrrwwwwww#
#wwwwwwrrwwwwww#
#wwwwwwrrwwwwww#
#wwwwwwrrwwwwww#
#wwwwwwrrwwwwww#
#wwwwwwwwwwwwww#
################"""


def triangle(down):
    rows = []
    for y in range(16):
        k = y - 4
        if 0 <= k < 8:
            half = (7 - k) if down else k
            row = ['.'] * 16
            for x in range(8 - half - 1, 8 + half + 1):
                row[x] = '#'
            rows.append(''.join(row))
        else:
            rows.append('.' * 16)
    return '\n'.join(rows)


def pixels(picture):
    rows = picture.split('\n')
    assert len(rows) == 16 and all(len(r) == 16 for r in rows)
    return [[INK[c] for c in row] for row in rows]


def dib(grid, with_mask=False):
    """BITMAPINFOHEADER + palette + 4-bit rows bottom-up (+ AND mask for icons)."""
    height = 32 if with_mask else 16
    header = struct.pack('<IiiHHIIiiII', 40, 16, height, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in
                       [(p[2], p[1], p[0]) for p in PALETTE])
    body = b''
    for row in reversed(grid):
        body += bytes((row[x] << 4) | row[x + 1] for x in range(0, 16, 2))
    if with_mask:
        body += b'\x00\x00\x00\x00' * 16  # every pixel opaque
    return header + palette + body


def write_bmp(path, grid):
    data = dib(grid)
    offset = 14 + 40 + 64
    path.write_bytes(struct.pack('<2sIHHI', b'BM', 14 + len(data), 0, 0, offset) + data)


def write_ico(path, grid):
    data = dib(grid, with_mask=True)
    directory = struct.pack('<HHH', 0, 1, 1)
    entry = struct.pack('<BBBBHHII', 16, 16, 16, 0, 1, 4, len(data), 6 + 16)
    path.write_bytes(directory + entry + data)


def main():
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    write_bmp(out / 'menu.bmp', pixels(MENU))
    write_bmp(out / 'smaller.bmp', pixels(triangle(down=False)))
    write_bmp(out / 'bigger.bmp', pixels(triangle(down=True)))
    write_ico(out / 'band.ico', pixels(MENU))


if __name__ == '__main__':
    main()
