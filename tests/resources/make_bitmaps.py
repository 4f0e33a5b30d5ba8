#!/usr/bin/env python3
"""Writes the small bitmaps that the tests load as resources (run it again after changing it)."""
import struct


def bmp(path, width, height, bits, rows, palette=None, top_down=False):
    """rows: top row first; each row a list of (r, g, b) tuples or palette indices."""
    row_bytes = []
    for row in rows:
        data = bytearray()
        for p in row:
            if bits == 24:
                data += bytes((p[2], p[1], p[0]))
            elif bits == 32:
                data += bytes((p[2], p[1], p[0], 0))
            else:
                data.append(p)
        while len(data) % 4:
            data.append(0)
        row_bytes.append(bytes(data))
    if not top_down:
        row_bytes.reverse()
    pixels = b"".join(row_bytes)
    pal = b"".join(bytes((b, g, r, 0)) for (r, g, b) in (palette or []))
    offset = 14 + 40 + len(pal)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, -height if top_down else height, 1, bits, 0, len(pixels),
                       2835, 2835, len(palette or []), 0)
    with open(path, "wb") as f:
        f.write(header + info + pal + pixels)


RED, GREEN, BLUE, WHITE, BLACK, MAGENTA = (255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 255), (0, 0, 0), (255, 0, 255)

# 3 x 2, 24-bit, bottom-up: top row red green blue, bottom row white black magenta.
bmp("9000-rgb24.bmp", 3, 2, 24, [[RED, GREEN, BLUE], [WHITE, BLACK, MAGENTA]])
# 16 x 16, 32-bit, top-down: colour depends on the position.
bmp("9001-rgb32-topdown.bmp", 16, 16, 32, [[(x * 16, y * 16, 128) for x in range(16)] for y in range(16)],
    top_down=True)
# 5 x 3, 8-bit palette.
bmp("9002-pal8.bmp", 5, 3, 8, [[0, 1, 2, 3, 0], [1, 1, 1, 1, 1], [3, 2, 1, 0, 3]], palette=[BLACK, RED, GREEN, BLUE])
