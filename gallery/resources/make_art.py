#!/usr/bin/env python3
"""Draws the gallery's art: label icons, the image button, the skinned scroll bar and a label pattern.

Run from anywhere: python3 gallery/resources/make_art.py
Writes beside itself (24-bit BMP):
  5001-5004.bmp  20x20 label icons (information, warning, done, star) on the control grey, the
                 figure 16x16 in the middle so that a caption beside it keeps its distance
  5101-5103.bmp  72x24 image button: released, disabled, pressed
  5201.bmp       16x8 track tile of the vertical scroll bar
  5202/5203.bmp  16x16 start (up) and end (down) pieces of the vertical scroll bar
  5204/5205.bmp  10x28 thumb, idle and dragged; magenta is the thumb's colour key
  5301.bmp       8x8 background tile of a label
  5401-5403.bmp  12x16 tree expanders on white: no items, collapsed, expanded
  5404/5405.bmp  16x16 tree kind icons on white: group (a folder), item (a page)
  5411-5416.bmp  16x16 node icons on white (person, star, heart, leaf, bell, note), also the list's icons
  5501.bmp       104x96 picture: hills under a sun

Shapes are signed distance functions sampled at pixel centres with a little
supersampling against the background they sit on; the thumbs are sampled hard so
that every pixel is either the magenta key or a thumb colour.
"""

import math
import os
import struct

OUT_DIR = os.path.dirname(os.path.abspath(__file__))

GREY = (191, 191, 191)  # the controls' background, 0xBFBFBF
MAGENTA = (255, 0, 255)
INK = (40, 40, 52)
WHITE = (255, 255, 255)
BLUE = (52, 104, 200)
BLUE_DARK = (30, 66, 140)
BLUE_LIGHT = (120, 168, 236)
YELLOW = (250, 200, 40)
GREEN = (60, 160, 80)
ORANGE = (240, 140, 40)
SHADE = (150, 150, 160)
TRACK = (172, 176, 188)
TRACK_DARK = (150, 154, 168)


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def box(x0, y0, x1, y1, r=0.0):
    """A rectangle with corners rounded by r."""

    def f(x, y):
        qx = max(x0 + r - x, x - (x1 - r), 0.0)
        qy = max(y0 + r - y, y - (y1 - r), 0.0)
        inside = min(max(x0 + r - x, x - (x1 - r), y0 + r - y, y - (y1 - r)), 0.0)
        return math.hypot(qx, qy) + inside - r

    return f


def polygon(points):
    """Convex polygon, points clockwise on screen."""

    def f(x, y):
        d = -1e9
        for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
            nx, ny = by - ay, ax - bx
            n = math.hypot(nx, ny)
            d = max(d, ((x - ax) * nx + (y - ay) * ny) / n)
        return d

    return f


def union(*fs):
    return lambda x, y: min(f(x, y) for f in fs)


def paint(w, h, background, layers, samples=3, offset=0):
    """layers: (sdf, colour) painted in order, moved right and down by offset; each pixel averages
    samples x samples points."""
    rows = []
    for py in range(h):
        row = []
        for px in range(w):
            acc = [0.0, 0.0, 0.0]
            for sy in range(samples):
                for sx in range(samples):
                    x = px + (sx + 0.5) / samples - offset
                    y = py + (sy + 0.5) / samples - offset
                    c = background
                    for sdf, colour in layers:
                        if sdf(x, y) <= 0:
                            c = colour(x, y) if callable(colour) else colour
                    for i in range(3):
                        acc[i] += c[i]
            row.append(tuple(int(round(v / (samples * samples))) for v in acc))
        rows.append(row)
    return rows


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def bmp24(rows):
    h, w = len(rows), len(rows[0])
    stride = (w * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):  # bottom-up
        for (r, g, b) in row:
            pixels += bytes((b, g, r))
        pixels += b"\0" * (stride - w * 3)
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(pixels), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return header + info + bytes(pixels)


def write(name, rows):
    with open(os.path.join(OUT_DIR, name), "wb") as f:
        f.write(bmp24(rows))


def icons():
    info = paint(20, 20, GREY, offset=2, layers=[
        (circle(8, 8, 7.2), INK),
        (circle(8, 8, 6.2), BLUE),
        (circle(8, 4.6, 1.2), WHITE),
        (box(7, 6.8, 9, 12.4, 0.6), WHITE),
    ])
    warning = paint(20, 20, GREY, offset=2, layers=[
        (polygon([(8, 0.8), (15.4, 14.6), (0.6, 14.6)]), INK),
        (polygon([(8, 2.8), (13.7, 13.5), (2.3, 13.5)]), YELLOW),
        (box(7.1, 5.6, 8.9, 10.2, 0.7), INK),
        (circle(8, 12, 1.0), INK),
    ])
    tick = union(polygon([(3.2, 8.2), (4.8, 6.6), (7.4, 9.2), (6.0, 10.8)]),
                 polygon([(6.0, 10.8), (11.2, 4.4), (12.8, 5.8), (7.4, 12.2)]))
    done = paint(20, 20, GREY, offset=2, layers=[
        (circle(8, 8, 7.2), INK),
        (circle(8, 8, 6.2), GREEN),
        (tick, WHITE),
    ])
    points = []
    for i in range(10):
        r = 7.4 if i % 2 == 0 else 3.0
        a = -math.pi / 2 + i * math.pi / 5
        points.append((8 + r * math.cos(a), 8.4 + r * math.sin(a)))
    # The star is not convex: a union of its five tips and the inner pentagon.
    tips = [polygon([points[(2 * i - 1) % 10], points[2 * i], points[2 * i + 1]]) for i in range(5)]
    star = union(polygon(points[1::2]), *tips)
    star_art = paint(20, 20, GREY, [(star, ORANGE)], offset=2)
    for rid, rows in ((5001, info), (5002, warning), (5003, done), (5004, star_art)):
        write("%d.bmp" % rid, rows)


def image_button():
    w, h = 72, 24
    pill = box(1, 1, w - 1, h - 1, 10)
    play = polygon([(29, 6.5), (43, 12), (29, 17.5)])

    def face(top, bottom):
        return lambda x, y: mix(top, bottom, y / h)

    released = paint(w, h, GREY, [(pill, INK), (box(2, 2, w - 2, h - 2, 9), face(BLUE_LIGHT, BLUE)), (play, WHITE)])
    disabled = paint(w, h, GREY, [(pill, SHADE), (box(2, 2, w - 2, h - 2, 9), face((214, 214, 218), (176, 176, 184))),
                                  (play, (232, 232, 236))])
    pressed = paint(w, h, GREY, [(pill, INK), (box(2, 2, w - 2, h - 2, 9), face(BLUE_DARK, BLUE)),
                                 (polygon([(30, 7.5), (44, 13), (30, 18.5)]), WHITE)])
    write("5101.bmp", released)
    write("5102.bmp", disabled)
    write("5103.bmp", pressed)


def scroll_bar():
    track = [[TRACK_DARK if x in (0, 15) or (y % 4 == 0 and 4 <= x <= 11) else TRACK for x in range(16)]
             for y in range(8)]
    write("5201.bmp", track)
    up = paint(16, 16, TRACK, [(box(0.5, 0.5, 15.5, 15.5, 3), INK), (box(1.5, 1.5, 14.5, 14.5, 2.5), GREY),
                               (polygon([(8, 4.5), (12, 10.5), (4, 10.5)]), INK)])
    down = paint(16, 16, TRACK, [(box(0.5, 0.5, 15.5, 15.5, 3), INK), (box(1.5, 1.5, 14.5, 14.5, 2.5), GREY),
                                 (polygon([(4, 5.5), (12, 5.5), (8, 11.5)]), INK)])
    write("5202.bmp", up)
    write("5203.bmp", down)
    outline = box(0, 0, 10, 28, 4)
    inside = box(1, 1, 9, 27, 3)
    grip = union(*(box(3, y, 7, y + 1) for y in (10, 13, 16)))
    for rid, colour in ((5204, BLUE), (5205, ORANGE)):
        write("%d.bmp" % rid, paint(10, 28, MAGENTA, [(outline, INK), (inside, colour), (grip, WHITE)], samples=1))


def pattern():
    light, dot = (226, 232, 240), (198, 210, 228)
    write("5301.bmp", [[dot if (x + y) % 8 in (0, 1) else light for x in range(8)] for y in range(8)])


PAPER = WHITE
RED = (220, 60, 60)
PINK = (236, 96, 140)
LEAF = (70, 150, 70)
SKY_TOP = (96, 150, 230)
SKY_LOW = (200, 226, 250)
SUN = (255, 210, 70)
HILL_FAR = (110, 170, 120)
HILL_NEAR = (60, 130, 70)


def tree_art():
    frame = box(1.5, 3.5, 10.5, 12.5)
    inner = box(2.5, 4.5, 9.5, 11.5)
    dash = box(3.5, 7.5, 8.5, 8.5)
    bar = box(5.5, 5.5, 6.5, 10.5)
    none = paint(12, 16, PAPER, [(circle(6, 8, 1.6), SHADE)])
    collapsed = paint(12, 16, PAPER, [(frame, INK), (inner, PAPER), (dash, INK), (bar, INK)])
    expanded = paint(12, 16, PAPER, [(frame, INK), (inner, PAPER), (dash, INK)])
    for rid, rows in ((5401, none), (5402, collapsed), (5403, expanded)):
        write("%d.bmp" % rid, rows)
    folder = paint(16, 16, PAPER, [(box(1, 3, 7, 6, 1), ORANGE), (box(1, 4.5, 15, 14, 1), INK),
                                   (box(2, 5.5, 14, 13, 0.5), YELLOW)])
    page = paint(16, 16, PAPER, [(polygon([(3, 1), (10, 1), (13, 4), (13, 15), (3, 15)]), INK),
                                 (polygon([(4, 2), (9.5, 2), (12, 4.5), (12, 14), (4, 14)]), WHITE),
                                 (box(5.5, 6, 10.5, 7), SHADE), (box(5.5, 9, 10.5, 10), SHADE),
                                 (box(5.5, 12, 9, 13), SHADE)])
    write("5404.bmp", folder)
    write("5405.bmp", page)


def node_icons():
    person = paint(16, 16, PAPER, [(circle(8, 5, 3.2), BLUE), (box(2.5, 9, 13.5, 15.5, 4), BLUE)])
    points = []
    for i in range(10):
        r = 7.0 if i % 2 == 0 else 2.9
        a = -math.pi / 2 + i * math.pi / 5
        points.append((8 + r * math.cos(a), 8.6 + r * math.sin(a)))
    tips = [polygon([points[(2 * i - 1) % 10], points[2 * i], points[2 * i + 1]]) for i in range(5)]
    star = paint(16, 16, PAPER, [(union(polygon(points[1::2]), *tips), ORANGE)])
    heart = paint(16, 16, PAPER, [(union(circle(5.2, 6, 3.4), circle(10.8, 6, 3.4),
                                         polygon([(2, 7.4), (14, 7.4), (8, 14.2)])), RED)])
    lens = lambda x, y: max(circle(2.5, 2.5, 10.5)(x, y), circle(13.5, 13.5, 10.5)(x, y))
    leaf = paint(16, 16, PAPER, [(lens, LEAF), (polygon([(3.6, 12.8), (12.4, 3.2), (12.9, 3.7), (4.1, 13.3)]), WHITE)])
    bell = paint(16, 16, PAPER, [(union(circle(8, 7, 4.6), box(3.4, 7, 12.6, 12)), YELLOW),
                                 (box(2, 11.5, 14, 13, 0.7), ORANGE), (circle(8, 14, 1.5), INK)])
    note = paint(16, 16, PAPER, [(circle(5.5, 12, 2.6), PINK), (box(7, 2, 8.4, 12), PINK),
                                 (polygon([(7, 2), (13, 4), (13, 6), (7, 4.5)]), PINK)])
    for rid, rows in ((5411, person), (5412, star), (5413, heart), (5414, leaf), (5415, bell), (5416, note)):
        write("%d.bmp" % rid, rows)


def picture():
    w, h = 104, 96
    sky = lambda x, y: mix(SKY_TOP, SKY_LOW, y / h)
    far = lambda x, y: (58 - 14 * math.sin(x / 17.0 + 0.6)) - y
    near = lambda x, y: (74 - 8 * math.sin(x / 11.0 + 2.2)) - y
    rows = paint(w, h, SKY_LOW, [(box(0, 0, w, h), sky), (circle(74, 26, 11), SUN), (far, HILL_FAR),
                                 (near, HILL_NEAR), (box(0, 0, w, 1), INK), (box(0, h - 1, w, h), INK),
                                 (box(0, 0, 1, h), INK), (box(w - 1, 0, w, h), INK)], samples=2)
    write("5501.bmp", rows)


def main():
    icons()
    image_button()
    scroll_bar()
    pattern()
    tree_art()
    node_icons()
    picture()


if __name__ == "__main__":
    main()
