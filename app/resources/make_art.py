#!/usr/bin/env python3
"""Draws Velquist's resource art: the sprite images, the background tile and the icons.

Run from anywhere: python3 app/resources/make_art.py
Writes beside itself: 1000/1001/1002.bmp (idle, breathing), 2100.bmp (crouch),
2101.bmp (jump right), 3000.bmp (16x16 tile), 100.ico, 101.ico, icon.bmp.

Shapes are signed distance functions sampled once per pixel centre, so edges are
hard: every sprite pixel is either the magenta colour key or a character colour,
never a blend of the two.
"""

import math
import os
import struct

OUT_DIR = os.path.dirname(os.path.abspath(__file__))

MAGENTA = (255, 0, 255)
SPRITE_W, SPRITE_H = 96, 128

# Palette. Every colour is kept far from magenta so the colour key never bites into the character.
INK = (44, 30, 40)
SKIN = (255, 214, 176)
SKIN_SHADE = (232, 168, 128)
CHEEK = (246, 150, 120)
HAIR = (132, 76, 40)
HAIR_SHADE = (92, 50, 28)
HAIR_LIGHT = (184, 118, 66)
SHIRT = (214, 58, 48)
SHIRT_SHADE = (160, 36, 36)
BADGE = (255, 214, 64)
BADGE_SHADE = (222, 160, 30)
PANTS = (56, 92, 176)
PANTS_SHADE = (38, 62, 128)
SHOE = (110, 64, 40)
SHOE_SHADE = (74, 42, 28)
WHITE = (252, 252, 248)
PUPIL = (36, 36, 60)
MOUTH = (120, 30, 40)
TONGUE = (236, 110, 100)
SWOOSH = (210, 220, 236)


# ---------------------------------------------------------------- distance functions


def ellipse(cx, cy, rx, ry):
    def f(x, y):
        px, py = x - cx, y - cy
        k0 = math.hypot(px / rx, py / ry)
        k1 = math.hypot(px / (rx * rx), py / (ry * ry))
        if k1 == 0.0:
            return -min(rx, ry)
        return k0 * (k0 - 1.0) / k1

    return f


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def _segment(x, y, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    l2 = dx * dx + dy * dy
    t = 0.0 if l2 == 0 else max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / l2))
    return math.hypot(x - ax - t * dx, y - ay - t * dy)


def limb(points, r):
    """A round-ended tube through the points."""
    segs = list(zip(points, points[1:]))

    def f(x, y):
        return min(_segment(x, y, a[0], a[1], b[0], b[1]) for a, b in segs) - r

    return f


def upper(y0):
    """The half plane above the line y = y0 (screen y grows downward)."""
    return lambda x, y: y - y0


def lower(y0):
    """The half plane below the line y = y0."""
    return lambda x, y: y0 - y


def union(*fs):
    return lambda x, y: min(f(x, y) for f in fs)


def inter(*fs):
    return lambda x, y: max(f(x, y) for f in fs)


class Shape:
    """One painted part: fill (with a shaded crescent toward the lower right and an
    optional highlight) and an ink outline of the given width in output pixels."""

    def __init__(self, sdf, fill, shade=None, outline=1.6, shade_off=3.0, light=None, light_sdf=None):
        self.sdf = sdf
        self.fill = fill
        self.shade = shade
        self.outline = outline
        self.shade_off = shade_off
        self.light = light
        self.light_sdf = light_sdf

    def colour(self, x, y):
        if self.light_sdf is not None and self.light_sdf(x, y) <= 0:
            return self.light
        if self.shade is not None and self.sdf(x + self.shade_off * 0.6, y + self.shade_off) > 0:
            return self.shade
        return self.fill


def render(shapes, w, h, to_local, scale=1.0, background=MAGENTA):
    """Paint shapes back to front; to_local maps a pixel centre to drawing coordinates,
    scale is drawing units per output pixel (keeps outline widths in output pixels)."""
    rows = []
    for py in range(h):
        row = []
        for px in range(w):
            x, y = to_local(px + 0.5, py + 0.5)
            c = background
            for s in shapes:
                d = s.sdf(x, y)
                if d <= 0:
                    c = s.colour(x, y)
                elif d <= s.outline * scale:
                    c = INK
            row.append(c)
        rows.append(row)
    return rows


# ---------------------------------------------------------------- the character


def head_shapes(hx, hy, look=(0.0, 0.0), squint=False, small=False):
    """Ears, face, hair and features around the head centre (hx, hy); small draws
    bolder pupils that survive being shrunk to icon size."""
    lx, ly = look
    face = ellipse(hx, hy, 24, 22)
    s = [
        Shape(circle(hx - 23, hy + 3, 5.5), SKIN, SKIN_SHADE, shade_off=2),
        Shape(circle(hx + 23, hy + 3, 5.5), SKIN, SKIN_SHADE, shade_off=2),
        Shape(face, SKIN, SKIN_SHADE, shade_off=3.5),
    ]
    # Hair: a cap over the top of the head with a scalloped fringe and a tuft.
    cap = inter(ellipse(hx, hy - 3, 26.5, 22.5), upper(hy - 10))
    fringe = union(
        circle(hx - 17, hy - 10, 6.5),
        circle(hx - 7, hy - 12, 7),
        circle(hx + 4, hy - 12, 7),
        circle(hx + 15, hy - 10, 6.5),
    )
    tuft = limb([(hx + 2, hy - 22), (hx + 6, hy - 30), (hx + 13, hy - 32)], 2.6)
    hair = union(inter(union(cap, fringe), ellipse(hx, hy - 3, 26.5, 24)), tuft)
    shine = inter(ellipse(hx - 9, hy - 17, 8, 3), hair)
    s.append(Shape(hair, HAIR, HAIR_SHADE, shade_off=3, light=HAIR_LIGHT, light_sdf=shine))
    # Eyes look toward `look`; a squint flattens them for effort.
    eh = 4.0 if squint else 6.5
    for ex in (hx - 9, hx + 9):
        s.append(Shape(ellipse(ex, hy + 2, 5, eh), WHITE, outline=1.3))
        if small:
            s.append(Shape(ellipse(ex + 1 + lx, hy + 3 + ly, 3.8, 5.2), PUPIL, outline=0))
            s.append(Shape(circle(ex - 0.2 + lx, hy + 1 + ly, 1.6), WHITE, outline=0))
        else:
            pupil = ellipse(ex + 0.8 + lx, hy + 3 + ly, 3, min(4.2, eh - 0.5))
            s.append(Shape(pupil, PUPIL, outline=0))
            s.append(Shape(circle(ex + 0.2 + lx, hy + 1 + ly, 1.2), WHITE, outline=0))
    s.append(Shape(ellipse(hx - 16, hy + 11, 4, 2.3), CHEEK, outline=0))
    s.append(Shape(ellipse(hx + 16, hy + 11, 4, 2.3), CHEEK, outline=0))
    mouth = inter(ellipse(hx, hy + 12, 5.5, 4.5), lower(hy + 12))
    tongue = inter(mouth, circle(hx + 0.5, hy + 17, 3.2))
    s.append(Shape(mouth, MOUTH, outline=1.1, light=TONGUE, light_sdf=tongue))
    return s


def body_shapes(p):
    """Legs, shoes, torso, pants and badge of a pose."""
    s = []
    for leg in p["legs"]:
        s.append(Shape(limb(leg, 6.0), PANTS, PANTS_SHADE, shade_off=2.5))
    for (sx, sy, rx, ry) in p["shoes"]:
        s.append(Shape(ellipse(sx, sy, rx, ry), SHOE, SHOE_SHADE, shade_off=2))
    cx, cy, rx, ry = p["torso"]
    torso = ellipse(cx, cy, rx, ry)
    s.append(Shape(torso, SHIRT, SHIRT_SHADE, shade_off=4))
    s.append(Shape(inter(torso, lower(p["belt"])), PANTS, PANTS_SHADE, shade_off=4))
    bx, by = p["badge"]
    s.append(Shape(circle(bx, by, 4.2), BADGE, BADGE_SHADE, outline=1.2, shade_off=1.5))
    return s


def arm_shapes(p):
    s = []
    for (sh, el, hand) in p["arms"]:
        mid = ((sh[0] + el[0]) / 2, (sh[1] + el[1]) / 2)
        s.append(Shape(limb([sh, el, hand], 4.2), SKIN, SKIN_SHADE, shade_off=2))
        s.append(Shape(limb([sh, mid], 6.2), SHIRT, SHIRT_SHADE, shade_off=2.5))
        s.append(Shape(circle(hand[0], hand[1], 5.2), SKIN, SKIN_SHADE, shade_off=2))
    return s


def figure(p):
    """Back to front: speed lines, arms (shoulders tucked behind the torso unless the
    hands rest on something in front), body, head."""
    s = [Shape(limb(line, 1.2), SWOOSH, outline=0) for line in p.get("swoosh", [])]
    if p.get("hands_front"):
        s += body_shapes(p) + arm_shapes(p)
    else:
        s += arm_shapes(p) + body_shapes(p)
    hx, hy = p["head"]
    s += head_shapes(hx, hy, p.get("look", (0, 0)), p.get("squint", False))
    return s


def idle_pose(lift, swell):
    """Standing; lift raises head and chest (breathing in), swell widens the chest."""
    return {
        "head": (48, 44 - lift),
        "torso": (48, 86 - lift * 0.5, 17 + swell, 17 + lift * 0.5),
        "belt": 94,
        "badge": (54, 82 - lift),
        "legs": [[(41, 96), (40, 114)], [(55, 96), (56, 114)]],
        "shoes": [(38, 118, 9, 5), (58, 118, 9, 5)],
        "arms": [
            [(33 - swell, 76 - lift), (29 - swell, 86 - lift * 0.5), (27 - swell, 96)],
            [(63 + swell, 76 - lift), (67 + swell, 86 - lift * 0.5), (69 + swell, 96)],
        ],
    }


def crouch_pose():
    """Gathering for the jump: squashed, knees out, hands on the knees."""
    return {
        "head": (49, 60),
        "torso": (49, 94, 19, 13),
        "belt": 100,
        "badge": (49, 92),
        "legs": [[(40, 102), (24, 106), (34, 116)], [(58, 102), (74, 106), (64, 116)]],
        "shoes": [(33, 119, 9, 4.5), (65, 119, 9, 4.5)],
        "arms": [[(33, 88), (27, 95), (26, 101)], [(65, 88), (71, 95), (72, 101)]],
        "look": (1.5, 0),
        "squint": True,
        "hands_front": True,
    }


def jump_pose():
    """In the air heading right: arms thrown up, knees tucked, eyes on the way ahead."""
    return {
        "head": (50, 40),
        "torso": (49, 80, 16, 16),
        "belt": 88,
        "badge": (55, 76),
        "legs": [[(42, 90), (32, 98), (36, 108)], [(56, 90), (62, 102), (54, 110)]],
        "shoes": [(38, 111, 8, 4.5), (57, 113, 8.5, 4.5)],
        "arms": [[(35, 72), (22, 60), (14, 46)], [(63, 72), (76, 60), (82, 46)]],
        "look": (2.0, -0.5),
        "swoosh": [[(10, 74), (20, 72)], [(8, 88), (20, 88)], [(12, 102), (22, 103)]],
    }


def rotated(deg, cx, cy, shift_y=0.0):
    """Maps output pixels to drawing space for a figure turned clockwise by deg about
    (cx, cy) and then moved down by shift_y."""
    a = math.radians(deg)
    ca, sa = math.cos(a), math.sin(a)

    def f(x, y):
        dx, dy = x - cx, y - shift_y - cy
        return cx + dx * ca + dy * sa, cy - dx * sa + dy * ca

    return f


def identity(x, y):
    return x, y


# ---------------------------------------------------------------- background tile

TILE = 16
BRICK = (96, 108, 132)
BRICK_LIGHT = (110, 122, 146)
BRICK_DARK = (86, 97, 120)
MORTAR = (70, 78, 98)


def tile():
    """Running-bond bricks, 16 wide and 8 high, laid so all four edges meet their opposites."""
    rows = []
    for y in range(TILE):
        row = []
        course = y // 8
        yy = y % 8
        for x in range(TILE):
            xx = (x + 8 * course) % TILE  # second course shifted half a brick
            if yy == 7 or xx == 0:
                c = MORTAR
            elif yy == 0 or xx == 1:
                c = BRICK_LIGHT
            elif yy == 6 or xx == 15:
                c = BRICK_DARK
            else:
                # a fixed speckle so the wall is not flat
                c = BRICK_DARK if (x * 7 + y * 13 + course * 5) % 23 == 0 else BRICK
            row.append(c)
        rows.append(row)
    return rows


# ---------------------------------------------------------------- icons


def face_32():
    """The character's face framed to fill a 32 x 32 icon."""
    hx, hy = 48, 44
    shapes = head_shapes(hx, hy, small=True)
    for s in shapes:
        s.outline *= 0.6  # the head is drawn at half size; full-width ink would swamp it
    scale = 62.0 / 32  # drawing units across the icon: ears to ears, tuft to chin

    def to_local(x, y):
        return hx + (x - 16) * scale, hy - 5 + (y - 16) * scale

    return render(shapes, 32, 32, to_local, scale)


# At 16 x 16 sampled shapes turn to mud, so the small face is placed by hand.
FACE_16 = [
    "......KK........",
    ".....KHHK.......",
    "....KKKHKKKK....",
    "..KKHHHHHHHHKK..",
    ".KHHLLHHHHHHHhK.",
    ".KHLLHHHHHHHHhK.",
    "KHHHHHHHHHHHHhhK",
    "KHHHHHHHHHHHHHhK",
    "KhKKhKKhhKKhKKhK",
    "KSSSSSSSSSSSSSsK",
    "KSSSWPSSSSWPSSsK",
    "KSSSPPSSSSPPSSsK",
    ".KCCSSKMMKSSCCK.",
    ".KSSSSSKKSSSSsK.",
    "..KKSSSSSSSssKK.",
    "....KKKKKKKK....",
]
FACE_KEY = {
    ".": MAGENTA,
    "K": INK,
    "H": HAIR,
    "h": HAIR_SHADE,
    "L": HAIR_LIGHT,
    "S": SKIN,
    "s": SKIN_SHADE,
    "W": WHITE,
    "P": PUPIL,
    "C": CHEEK,
    "M": MOUTH,
}


def face_16():
    return [[FACE_KEY[c] for c in row] for row in FACE_16]


# ---------------------------------------------------------------- file writers


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


def ico_image(rows):
    """One 32-bit icon image: BITMAPINFOHEADER (double height), BGRA rows bottom-up, AND mask."""
    h, w = len(rows), len(rows[0])
    xor = bytearray()
    mask = bytearray()
    mask_stride = ((w + 31) // 32) * 4
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, (r, g, b) in enumerate(row):
            clear = (r, g, b) == MAGENTA
            xor += bytes((0, 0, 0, 0)) if clear else bytes((b, g, r, 255))
            if clear:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    info = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return info + bytes(xor) + bytes(mask)


def ico(images):
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    blobs = []
    for rows in images:
        blob = ico_image(rows)
        h, w = len(rows), len(rows[0])
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
        blobs.append(blob)
    return out + b"".join(blobs)


def write(name, data):
    with open(os.path.join(OUT_DIR, name), "wb") as f:
        f.write(data)


def main():
    sprites = {
        1000: (idle_pose(0, 0), identity),
        1001: (idle_pose(1, 0.5), identity),
        1002: (idle_pose(2, 1), identity),
        2100: (crouch_pose(), identity),
        2101: (jump_pose(), rotated(12, 48, 80, -6)),
    }
    for rid, (pose, to_local) in sprites.items():
        write("%d.bmp" % rid, bmp24(render(figure(pose), SPRITE_W, SPRITE_H, to_local)))
    write("3000.bmp", bmp24(tile()))
    big, small = face_32(), face_16()
    # Both icon ids carry both sizes so either lookup finds the size the shell asks for;
    # 100 leads with the large image, 101 with the small one.
    write("100.ico", ico([big, small]))
    write("101.ico", ico([small, big]))
    # The window icon on Linux: 24-bit has no alpha, so magenta marks what to key out.
    write("icon.bmp", bmp24(big))


if __name__ == "__main__":
    main()
