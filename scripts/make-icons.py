#!/usr/bin/env python3
"""Draws the player's icons and link cursor and writes them as .ico/.cur files into app/res/.

The generated files are committed, so the build needs no tool; run this again after changing a
drawing. Standard library only. Usage: make-icons.py [OUTPUT_DIR]
"""
import os
import struct
import sys

# The 16-colour VGA palette, as (red, green, blue); index 0 doubles as the transparent colour.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
    (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
    (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
# Drawing characters to palette indices; '.' is transparent.
INK = {'k': 0, 'r': 9, 'g': 10, 'G': 2, 'R': 1, 'b': 12, 'B': 4, 'y': 11, 'w': 15, 's': 8}


def rows_of(art):
    rows = [line for line in art.strip('\n').split('\n')]
    width = len(rows[0])
    assert all(len(r) == width for r in rows), 'ragged drawing'
    return rows


def padded(row_bytes):
    return row_bytes + b'\0' * (-len(row_bytes) % 4)


def and_mask(rows):
    """1 where the pixel is transparent; rows bottom-up, each padded to 4 bytes."""
    out = b''
    for row in reversed(rows):
        bits = bytearray((len(row) + 7) // 8)
        for x, ch in enumerate(row):
            if ch == '.':
                bits[x // 8] |= 0x80 >> (x % 8)
        out += padded(bytes(bits))
    return out


def dib_4bit(rows):
    """A 16-colour DIB as icons store it: header (height doubled for the mask), palette, pixels, mask."""
    size = len(rows)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)
    pixels = b''
    for row in reversed(rows):
        line = bytearray()
        for x in range(0, len(row), 2):
            hi = INK.get(row[x], 0)
            lo = INK.get(row[x + 1], 0)
            line.append(hi << 4 | lo)
        pixels += padded(bytes(line))
    return header + palette + pixels + and_mask(rows)


def dib_1bit(rows):
    """A two-colour DIB: 'k' black, 'w' white, '.' transparent (XOR 0 under mask 1)."""
    size = len(rows)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = struct.pack('<BBBB', 0, 0, 0, 0) + struct.pack('<BBBB', 255, 255, 255, 0)
    pixels = b''
    for row in reversed(rows):
        bits = bytearray((len(row) + 7) // 8)
        for x, ch in enumerate(row):
            if ch == 'w':
                bits[x // 8] |= 0x80 >> (x % 8)
        pixels += padded(bytes(bits))
    return header + palette + pixels + and_mask(rows)


def icon_file(images, kind=1, hotspot=(0, 0)):
    """images: list of (rows, dib bytes, colour count). kind 1 is an icon, 2 a cursor."""
    out = struct.pack('<HHH', 0, kind, len(images))
    offset = 6 + 16 * len(images)
    for rows, dib, colours in images:
        size = len(rows)
        if kind == 1:
            planes, bits = 1, 4 if colours == 16 else 1
        else:
            planes, bits = hotspot
        out += struct.pack('<BBBBHHII', size, size, colours, 0, planes, bits, len(dib), offset)
        offset += len(dib)
    return out + b''.join(dib for _, dib, _ in images)


def centred(small, size):
    """The drawing in the middle of a size x size transparent square."""
    rows = rows_of(small)
    top = (size - len(rows)) // 2
    left = (size - len(rows[0])) // 2
    out = ['.' * size] * size
    for y, row in enumerate(rows):
        out[top + y] = '.' * left + row + '.' * (size - left - len(row))
    return out


# Play: a green triangle pointing right, outlined in dark green.
PLAY = """
GG..........
GgGG........
GgggGG......
GgggggGG....
GgggggggGG..
GgggggggggGG
GgggggggggGG
GgggggggGG..
GgggggGG....
GgggGG......
GgGG........
GG..........
"""

# Stop: a red square outlined in dark red.
STOP = """
RRRRRRRRRR
RrrrrrrrrR
RrrrrrrrrR
RrrrrrrrrR
RrrrrrrrrR
RrrrrrrrrR
RrrrrrrrrR
RrrrrrrrrR
RrrrrrrrrR
RRRRRRRRRR
"""

# The program's mark: a white T on a blue tile with a yellow question dot.
MARK = """
.BBBBBBBBBBBBBB.
BbbbbbbbbbbbbbbB
BbwwwwwwwwwwbbbB
BbwwwwwwwwwwbbbB
BbbbbwwwwbbbbbbB
BbbbbwwwwbbbbbbB
BbbbbwwwwbbbbbbB
BbbbbwwwwbbbbbbB
BbbbbwwwwbbbbbbB
BbbbbwwwwbbbbbbB
BbbbbwwwwbbbbbbB
BbbbbwwwwbbbyybB
BbbbbwwwwbbbyybB
BbbbbbbbbbbbbbbB
BbbbbbbbbbbbbbbB
.BBBBBBBBBBBBBB.
"""

# The link cursor: a pointing hand, black outline on white, the fingertip at (6, 0).
HAND = """
.....kk.........................
....kwwk........................
....kwwk........................
....kwwk........................
....kwwk........................
....kwwkkk......................
....kwwkwwkkk...................
....kwwkwwkwwkk.................
....kwwkwwkwwkwk................
kk..kwwwwwwwwkwwk...............
kwk.kwwwwwwwwwwwk...............
kwwkkwwwwwwwwwwwk...............
.kwwkwwwwwwwwwwwk...............
..kwwwwwwwwwwwwwk...............
..kwwwwwwwwwwwwwk...............
...kwwwwwwwwwwwwk...............
...kwwwwwwwwwwwk................
....kwwwwwwwwwwk................
....kwwwwwwwwwwk................
.....kwwwwwwwwk.................
.....kwwwwwwwwk.................
.....kkkkkkkkkk.................
................................
................................
................................
................................
................................
................................
................................
................................
................................
................................
"""


def main():
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..', 'app', 'res')
    os.makedirs(out_dir, exist_ok=True)

    def icon_of(drawing):
        # 32 x 32 is what LoadIcon picks; the glyph stays in the middle so a small button clips nothing
        # of it. A 16 x 16 image goes with it for small-icon views.
        big = centred(drawing, 32)
        small = centred(drawing, 16)
        return icon_file([(big, dib_4bit(big), 16), (small, dib_4bit(small), 16)])

    files = {
        'play.ico': icon_of(PLAY),
        'stop.ico': icon_of(STOP),
        'trivo.ico': icon_file([(rows_of(MARK), dib_4bit(rows_of(MARK)), 16)]),
        'link.cur': icon_file([(rows_of(HAND), dib_1bit(rows_of(HAND)), 2)], kind=2, hotspot=(6, 0)),
    }
    for name, data in files.items():
        with open(os.path.join(out_dir, name), 'wb') as f:
            f.write(data)
        print(f'{name}: {len(data)} bytes')


if __name__ == '__main__':
    main()
