#!/usr/bin/env python3
"""Draws Kelvora's artwork: the toolbar strip, the application icon and the
link cursor.  Standard library only; the output is the same on every run.

    python3 make_art.py          # writes toolbar.bmp, kelvora.ico, hand.cur
                                 # next to this script
"""

import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

# ---------------------------------------------------------------------------
# The 16-colour palette of the toolbar (classic Windows/VGA order).
# Black, dark grey, light grey and white are remapped by the toolbar to the
# current button text, shadow, face and highlight colours.
# ---------------------------------------------------------------------------
PALETTE = [
    (0, 0, 0),        # 0  K black
    (128, 0, 0),      # 1  r maroon
    (0, 128, 0),      # 2  g green
    (128, 128, 0),    # 3  y olive
    (0, 0, 128),      # 4  n navy
    (128, 0, 128),    # 5  p purple
    (0, 128, 128),    # 6  t teal
    (128, 128, 128),  # 7  G dark grey
    (192, 192, 192),  # 8  . light grey (background / button face)
    (255, 0, 0),      # 9  R red
    (0, 255, 0),      # 10 L lime
    (255, 255, 0),    # 11 Y yellow
    (0, 0, 255),      # 12 B blue
    (255, 0, 255),    # 13 M magenta
    (0, 255, 255),    # 14 C cyan
    (255, 255, 255),  # 15 W white
]
CH = {'K': 0, 'r': 1, 'g': 2, 'y': 3, 'n': 4, 'p': 5, 't': 6, 'G': 7,
      '.': 8, 'R': 9, 'L': 10, 'Y': 11, 'B': 12, 'M': 13, 'C': 14, 'W': 15}
BG = 8

ICON_W, ICON_H = 26, 20
ICON_COUNT = 14


class Canvas:
    """A palette-index picture with a few drawing primitives."""

    def __init__(self, w, h, fill=BG):
        self.w, self.h = w, h
        self.p = [[fill] * w for _ in range(h)]
        self.ox = 0   # origin of the current toolbar image
        self.oy = 0

    def set(self, x, y, c):
        x += self.ox
        y += self.oy
        if isinstance(c, str):
            c = CH[c]
        if 0 <= x < self.w and 0 <= y < self.h:
            self.p[y][x] = c

    def get(self, x, y):
        x += self.ox
        y += self.oy
        if 0 <= x < self.w and 0 <= y < self.h:
            return self.p[y][x]
        return None

    def rect(self, x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, c)

    def frame(self, x0, y0, x1, y1, c):
        for x in range(x0, x1 + 1):
            self.set(x, y0, c)
            self.set(x, y1, c)
        for y in range(y0, y1 + 1):
            self.set(x0, y, c)
            self.set(x1, y, c)

    def hline(self, x0, x1, y, c):
        for x in range(x0, x1 + 1):
            self.set(x, y, c)

    def vline(self, x, y0, y1, c):
        for y in range(y0, y1 + 1):
            self.set(x, y, c)

    def line(self, x0, y0, x1, y1, c):
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx = 1 if x0 < x1 else -1
        sy = 1 if y0 < y1 else -1
        err = dx + dy
        while True:
            self.set(x0, y0, c)
            if x0 == x1 and y0 == y1:
                break
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def stamp(self, x, y, rows):
        """Copies a character grid; blanks are transparent."""
        for j, row in enumerate(rows):
            for i, ch in enumerate(row):
                if ch != ' ':
                    self.set(x + i, y + j, ch)

    def shape(self, pts, fill, outline='K', shade=None):
        """Fills a set of points and rings it with a one pixel outline.
        shade(x, y) may return a colour to use instead of fill."""
        pts = set(pts)
        for (x, y) in pts:
            c = shade(x, y) if shade else None
            self.set(x, y, c if c is not None else fill)
        if outline is None:
            return
        ring = set()
        for (x, y) in pts:
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                q = (x + dx, y + dy)
                if q not in pts:
                    ring.add(q)
        for (x, y) in ring:
            self.set(x, y, outline)


# ---------------------------------------------------------------------------
# Pieces shared by several toolbar images
# ---------------------------------------------------------------------------

def page(cv, x0, y0, x1, y1, fold=4, lines=None, bullets=False):
    """A sheet of paper with a folded top right corner."""
    f = fold
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            if x - (x1 - f) > y - y0:      # cut off corner
                continue
            edge = (x == x0 or y == y1 or x == x1 or y == y0
                    or x - (x1 - f) == y - y0)
            cv.set(x, y, 'K' if edge else 'W')
    # the folded flap
    cv.vline(x1 - f, y0, y0 + f, 'K')
    cv.hline(x1 - f, x1, y0 + f, 'K')
    for y in range(y0 + 1, y0 + f):
        for x in range(x1 - f + 1, x1):
            if x - (x1 - f) < y - y0:
                cv.set(x, y, 'G')
    if lines:
        y = y0 + 3
        while y <= y1 - 2:
            right = x1 - 2 if y > y0 + f else x1 - f - 2
            if bullets:
                cv.set(x0 + 2, y, 'n')
                cv.hline(x0 + 4, right, y, lines)
            else:
                cv.hline(x0 + 2, right, y, lines)
            y += 2


def plus_sign(cv, cx, cy, r=3):
    pts = [(cx + dx, cy + dy) for dx in range(-r, r + 1) for dy in range(-r, r + 1)
           if abs(dx) <= 1 or abs(dy) <= 1]
    pts = [(x, y) for (x, y) in pts if abs(x - cx) <= 1 or abs(y - cy) <= 1]
    cv.shape(pts, 'L', 'K',
             shade=lambda x, y: 'g' if (x - cx == 1 and abs(y - cy) != 0 and y - cy != -1)
             or (y - cy == 1 and x - cx != -1) else None)


def cross_sign(cv, cx, cy, r=3):
    pts = [(cx + dx, cy + dy) for dx in range(-r, r + 1) for dy in range(-r, r + 1)
           if abs(dx - dy) <= 1 or abs(dx + dy) <= 1]
    cv.shape(pts, 'R', 'K',
             shade=lambda x, y: 'r' if (x - cx) + (y - cy) >= 2 and abs((x - cx) - (y - cy)) <= 1 and (x - cx) - (y - cy) >= 0
             or (x - cx) - (y - cy) == 1 else None)


def pencil(cv, tx, ty, length=11, body='Y', shade='y', cap='R', capshade='r'):
    """A pencil lying at 45 degrees, point at (tx, ty), going up and right.

    Each pixel is described by a = distance along the pencil and c = its
    offset across it (both in half-diagonal steps)."""
    pts = {}
    for a in range(0, 2 * length + 1):
        for c in range(-3, 4):
            if (a + c) % 2:
                continue
            dx = (a + c) // 2
            dy = (c - a) // 2
            if a <= 5:                       # sharpened point
                if abs(c) > a // 2 + (1 if a >= 2 else 0):
                    continue
                if abs(c) == 3 or (a >= 2 and abs(c) == a // 2 + 1):
                    col = 'K'
                elif a <= 1:
                    col = 'K'                # lead
                else:
                    col = 'W'                # bare wood
            else:
                if abs(c) == 3 or a == 2 * length:
                    col = 'K'
                elif a >= 2 * length - 4:
                    col = cap if c < 1 else capshade
                elif a >= 2 * length - 6:
                    col = 'W' if c < 0 else 'G'
                else:
                    col = body if c < 1 else shade
                if a == 6 and abs(c) < 3:
                    col = 'K' if abs(c) == 3 else col
            pts[(tx + dx, ty + dy)] = col
    for (x, y), col in pts.items():
        cv.set(x, y, col)


GEAR_BIG = [
    "...............",
    "......###......",
    "..##..###..##..",
    "..###########..",
    "...#########...",
    "...#########...",
    ".#####...#####.",
    ".#####...#####.",
    ".#####...#####.",
    "...#########...",
    "...#########...",
    "..###########..",
    "..##..###..##..",
    "......###......",
    "...............",
]

GEAR_SMALL = [
    "...........",
    "....###....",
    "..#.###.#..",
    "..#######..",
    ".####.####.",
    ".###...###.",
    ".####.####.",
    "..#######..",
    "..#.###.#..",
    "....###....",
    "...........",
]


def gear(cv, x, y, big=False, body='.', light='W', dark='G'):
    """A gear wheel; (x, y) is the top left corner of its box."""
    rows = GEAR_BIG if big else GEAR_SMALL
    pts = {(x + i, y + j) for j, row in enumerate(rows)
           for i, ch in enumerate(row) if ch == '#'}

    def shade(px, py):
        if (px - 1, py) not in pts or (px, py - 1) not in pts:
            return light
        if (px + 1, py) not in pts or (px, py + 1) not in pts:
            return dark
        return None
    cv.shape(pts, body, 'K', shade=shade)


def calendar(cv, x0, y0, x1, y1, grid=True):
    """A calendar sheet with a red header and two binding rings."""
    cv.rect(x0, y0 + 1, x1, y1, 'K')
    cv.rect(x0 + 1, y0 + 2, x1 - 1, y0 + 4, 'R')
    cv.hline(x0 + 1, x1 - 1, y0 + 4, 'r')
    cv.rect(x0 + 1, y0 + 5, x1 - 1, y1 - 1, 'W')
    # rings
    for rx in (x0 + 3, x1 - 3):
        cv.vline(rx, y0, y0 + 2, 'K')
        cv.set(rx, y0 + 3, 'G')
    if grid:
        for yy in range(y0 + 7, y1 - 1, 2):
            for xx in range(x0 + 2, x1 - 1, 2):
                cv.set(xx, yy, 'G')
        # today
        cv.set(x0 + 4, y0 + 9, 'R')


def arrow_v(cv, cx, y0, y1, up, fill='B', dark='n'):
    """A thick vertical arrow from y0 to y1 (head at y1 if down)."""
    head = 4
    pts = []
    if up:
        tip, base = y0, y1
        for i in range(head):
            for dx in range(-i, i + 1):
                pts.append((cx + dx, tip + i))
        for y in range(tip + head, base + 1):
            for dx in (-1, 0, 1):
                pts.append((cx + dx, y))
    else:
        tip, base = y1, y0
        for i in range(head):
            for dx in range(-i, i + 1):
                pts.append((cx + dx, tip - i))
        for y in range(base, tip - head + 1):
            for dx in (-1, 0, 1):
                pts.append((cx + dx, y))
    cv.shape(pts, fill, 'K', shade=lambda x, y: dark if x > cx else None)


def scissors(cv, x, y):
    """Open scissors lying on their side, blades pointing left, 16 x 11."""
    cv.stamp(x, y, [
        "           RRR  ",
        "          RR  Rr",
        "KK        R    r",
        "WWKK      Rr  rr",
        " GWWKK   KKrrrr ",
        "   GGWKKKK      ",
        " GWWKK   KKRRR  ",
        "WWKK      RR  Rr",
        "KK        R    r",
        "          Rr  rr",
        "           rrrr ",
    ])


def scissors_up(cv, x, y):
    """Open scissors standing up, blades pointing up, 11 x 17."""
    cv.stamp(x, y, [
        "K         K",
        "WK       KG",
        "WK       KG",
        " WK     KG ",
        " WK     KG ",
        " WGK   KGG ",
        "  WK   KG  ",
        "  WGK KGG  ",
        "   WGKGG   ",
        "    KGK    ",
        "   KK KK   ",
        "  RRK KRR  ",
        " RR R R RR ",
        "R   R R   R",
        "R   r R   r",
        "Rr rr Rr rr",
        " rrr   rrr ",
    ])


# ---------------------------------------------------------------------------
# The fourteen toolbar images
# ---------------------------------------------------------------------------

def icon_add(cv):
    page(cv, 5, 1, 17, 18, lines='G', bullets=True)
    plus_sign(cv, 18, 14)


def icon_edit(cv):
    page(cv, 4, 1, 16, 18, lines='G', bullets=True)
    pencil(cv, 11, 17, length=10)


def icon_delete(cv):
    page(cv, 5, 1, 17, 18, lines='G', bullets=True)
    cross_sign(cv, 18, 14)


def icon_cut(cv):
    # lines of text, the middle one marked for cutting
    for y, x1 in ((3, 17), (6, 13), (13, 15), (16, 11)):
        for x in range(3, x1 + 1):
            if (x - 3) % 5 != 4:
                cv.set(x, y, 'K' if y in (3, 16) else 'n')
    for x in range(1, 24):
        if x % 3 != 2:
            cv.set(x, 9, 'R')
    scissors(cv, 9, 4)


def icon_browser(cv):
    # a browser window
    cv.frame(1, 1, 18, 15, 'K')
    cv.rect(2, 2, 17, 3, 'n')
    cv.set(16, 2, 'W')
    cv.rect(2, 4, 17, 14, 'W')
    for y in (6, 8, 10, 12):
        cv.hline(3, 12 if y != 10 else 9, y, 'G')
    # a globe in front of it
    cx, cy, r = 17, 12, 6
    pts = [(x, y) for y in range(cy - r, cy + r + 1) for x in range(cx - r, cx + r + 1)
           if (x - cx) ** 2 + (y - cy) ** 2 <= (r - 0.5) ** 2 + 0.5]
    land = {
        (-3, -4), (-2, -4), (-1, -4), (-4, -3), (-3, -3), (-2, -3), (-4, -2), (-3, -2),
        (-5, -1), (-4, -1), (-3, -1), (-2, -1), (-4, 0), (-3, 0), (-3, 1), (-2, 1),
        (-2, 2), (-2, 3), (1, -3), (2, -3), (3, -2), (2, -2), (1, -1), (2, 0), (3, 0),
        (4, 1), (3, 1), (2, 2), (3, 2), (3, 3), (2, 4), (0, 4), (1, 4), (1, 3), (4, -1),
    }
    cv.shape(pts, 'B', 'K',
             shade=lambda x, y: ('g' if (x - cx) + (y - cy) > 2 else 'L')
             if (x - cx, y - cy) in land else ('n' if (x - cx) + (y - cy) > 4 else None))
    cv.set(cx - 3, cy - 3, 'C')


def icon_editor(cv):
    # a notepad with a spiral binding and ruled lines
    x0, y0, x1, y1 = 3, 2, 16, 18
    cv.rect(x0, y0 + 1, x1, y1, 'K')
    cv.rect(x0 + 1, y0 + 2, x1 - 1, y1 - 1, 'W')
    cv.rect(x0 + 1, y0 + 2, x1 - 1, y0 + 3, 'B')
    for x in range(x0 + 2, x1 - 1, 3):
        cv.vline(x, y0 - 1, y0 + 2, 'K')
        cv.set(x + 1, y0 + 2, 'G')
    for y in range(y0 + 6, y1 - 1, 2):
        cv.hline(x0 + 2, x1 - 2, y, 'C' if False else 'G')
    cv.vline(x0 + 3, y0 + 4, y1 - 1, 'R')
    # a blue pen across it
    pencil(cv, 12, 17, length=11, body='B', shade='n', cap='K', capshade='K')


def icon_sort_name(cv):
    A = [
        "  KK  ",
        " KKKK ",
        "KK  KK",
        "KK  KK",
        "KKKKKK",
        "KK  KK",
        "KK  KK",
    ]
    Z = [
        "KKKKKK",
        "    KK",
        "   KK ",
        "  KK  ",
        " KK   ",
        "KK    ",
        "KKKKKK",
    ]
    for j, row in enumerate(A):
        cv.stamp(5, 2 + j, [row.replace('K', 'n')])
    for j, row in enumerate(Z):
        cv.stamp(5, 11 + j, [row.replace('K', 'n')])
    arrow_v(cv, 17, 2, 17, up=False, fill='L', dark='g')


def icon_sort_new(cv):
    calendar(cv, 2, 2, 15, 17)
    arrow_v(cv, 20, 2, 17, up=False)


def icon_sort_old(cv):
    calendar(cv, 2, 2, 15, 17)
    arrow_v(cv, 20, 2, 17, up=True)


def icon_date_macro(cv):
    calendar(cv, 2, 1, 15, 16)
    gear(cv, 13, 8)


def icon_options(cv):
    gear(cv, 2, 1, big=True)
    gear(cv, 13, 8)


def icon_cut_settings(cv):
    # a few lines of text behind the scissors
    for y, x1 in ((4, 14), (8, 11), (12, 13)):
        for x in range(2, x1 + 1):
            if (x - 2) % 5 != 4:
                cv.set(x, y, 'n')
    scissors_up(cv, 4, 1)
    gear(cv, 13, 8)


def icon_exit(cv):
    # door frame and open door
    cv.rect(3, 1, 14, 18, 'K')
    cv.rect(4, 2, 13, 18, 'K')
    cv.rect(4, 2, 13, 17, 'n')        # dark doorway
    # the door swung open toward the viewer
    door = [(x, y) for x in range(4, 10) for y in range(2 + (x - 4) // 2 * 0, 19)
            if y >= 2 + (x - 4) // 2 and y <= 18 - (x - 4) // 3]
    cv.shape(door, 'y', 'K', shade=lambda x, y: 'Y' if x == 5 else None)
    cv.set(8, 10, 'Y')
    cv.set(8, 11, 'K')
    # arrow going out to the right
    pts = []
    for x in range(11, 19):
        for y in (9, 10, 11):
            pts.append((x, y))
    for i in range(5):
        for dy in range(-4 + i, 5 - i):
            pts.append((19 + i, 10 + dy))
    cv.shape(pts, 'L', 'K', shade=lambda x, y: 'g' if y >= 11 and x > 11 else None)


def icon_help(cv):
    q = [
        "   KKKKKK   ",
        "  KBBBBBBK  ",
        " KBBKKKKBBK ",
        " KBBK  KBBK ",
        " KKKK  KBBK ",
        "      KBBKn ",
        "     KBBKn  ",
        "    KBBKn   ",
        "    KBBKn   ",
        "    KBBKn   ",
        "    KKKKn   ",
        "     nnnn   ",
        "    KKKK    ",
        "    KBBKn   ",
        "    KBBKn   ",
        "    KKKKn   ",
        "     nnnn   ",
    ]
    cv.stamp(7, 1, q)


ICONS = [
    icon_add, icon_edit, icon_delete, icon_cut, icon_browser, icon_editor,
    icon_sort_name, icon_sort_new, icon_sort_old, icon_date_macro,
    icon_options, icon_cut_settings, icon_exit, icon_help,
]


def draw_toolbar():
    cv = Canvas(ICON_W * ICON_COUNT, ICON_H)
    for i, fn in enumerate(ICONS):
        cv.ox = i * ICON_W
        fn(cv)
        # keep every image inside its own cell
        for y in range(ICON_H):
            pass
    cv.ox = 0
    return cv


def bmp_4bit(cv):
    w, h = cv.w, cv.h
    stride = ((w * 4 + 31) // 32) * 4
    pixels = bytearray()
    for y in range(h - 1, -1, -1):          # bottom-up
        row = cv.p[y]
        line = bytearray()
        for x in range(0, w, 2):
            hi = row[x]
            lo = row[x + 1] if x + 1 < w else 0
            line.append((hi << 4) | lo)
        line += b'\0' * (stride - len(line))
        pixels += line
    pal = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in PALETTE)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 4, 0, len(pixels),
                       2835, 2835, 16, 16)
    off = 14 + len(info) + len(pal)
    head = struct.pack('<2sIHHI', b'BM', off + len(pixels), 0, 0, off)
    return head + info + pal + bytes(pixels)


# ---------------------------------------------------------------------------
# Icon and cursor files
# ---------------------------------------------------------------------------

def dib_32(size, rgba):
    """A 32-bit icon image: BITMAPINFOHEADER, BGRA rows, AND mask."""
    info = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0,
                       0, 0, 0, 0, 0)
    xor = bytearray()
    mask = bytearray()
    mstride = ((size + 31) // 32) * 4
    for y in range(size - 1, -1, -1):
        bits = bytearray(mstride)
        for x in range(size):
            r, g, b, a = rgba[y][x]
            if a == 0:
                r = g = b = 0
                bits[x // 8] |= 0x80 >> (x % 8)
            xor += bytes((b, g, r, a))
        mask += bits
    return info + bytes(xor) + bytes(mask)


def dib_mono(size, grid):
    """A monochrome cursor image. grid chars: K black, W white, else clear."""
    info = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 1, 0,
                       0, 0, 0, 2, 2)
    pal = struct.pack('<BBBBBBBB', 0, 0, 0, 0, 255, 255, 255, 0)
    stride = ((size + 31) // 32) * 4
    xor = bytearray()
    mask = bytearray()
    for y in range(size - 1, -1, -1):
        xb = bytearray(stride)
        ab = bytearray(stride)
        row = grid[y] if y < len(grid) else ''
        for x in range(size):
            ch = row[x] if x < len(row) else '.'
            bit = 0x80 >> (x % 8)
            if ch == 'W':
                xb[x // 8] |= bit
            elif ch != 'K':
                ab[x // 8] |= bit
        xor += xb
        mask += ab
    return info + pal + bytes(xor) + bytes(mask)


def icon_file(kind, images):
    """images: list of (width, height, colours, field1, field2, data)."""
    out = struct.pack('<HHH', 0, kind, len(images))
    offset = 6 + 16 * len(images)
    body = b''
    for (w, h, colours, f1, f2, data) in images:
        out += struct.pack('<BBBBHHII', w % 256, h % 256, colours, 0,
                           f1, f2, len(data), offset)
        offset += len(data)
        body += data
    return out + body


# ---------------------------------------------------------------------------
# The application icon: a log book with a list and a red unread mark
# ---------------------------------------------------------------------------

def mix(c1, c2, t):
    return tuple(int(round(a + (b - a) * t)) for a, b in zip(c1, c2))


def app_icon(n):
    s = n / 16.0
    img = [[(0, 0, 0, 0)] * n for _ in range(n)]

    def put(x, y, c, a=255):
        if 0 <= x < n and 0 <= y < n:
            img[y][x] = (c[0], c[1], c[2], a)

    def fill(x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                put(x, y, c)

    outline = (24, 36, 72)
    cover = (40, 84, 170)
    cover_lt = (86, 136, 214)
    paper = (255, 255, 255)
    paper_sh = (214, 220, 232)
    line_c = (140, 148, 164)
    red = (224, 32, 32)
    red_dk = (140, 0, 0)

    R = lambda v: int(round(v * s))
    # book body: cover at the back, pages in front
    bx0, by0, bx1, by1 = R(1), R(1), n - 1 - R(2), n - 1 - R(0.5)
    fill(bx0, by0, bx1, by1, outline)
    fill(bx0 + 1, by0 + 1, bx1 - 1, by1 - 1, cover)
    # spine highlight
    sw = max(3, R(3.5))
    for y in range(by0 + 1, by1):
        put(bx0 + 1, y, cover_lt)
    # pages
    px0, py0, px1, py1 = bx0 + sw, by0 + max(1, R(1)), bx1 - max(1, R(1)), by1 - max(1, R(1))
    fill(px0 - 1, py0 - 1, px1 + 1, py1 + 1, outline)
    fill(px0, py0, px1, py1, paper)
    for y in range(py0, py1 + 1):
        put(px1, y, paper_sh)
    for x in range(px0, px1 + 1):
        put(x, py1, paper_sh)
    # binding rings on the spine
    step = max(3, R(3))
    for y in range(by0 + R(2.5), by1 - 1, step):
        for k in range(max(2, R(2.2))):
            put(px0 - 2 + k, y, (200, 200, 210) if k else (90, 90, 100))
        if n >= 32:
            for k in range(max(2, R(2.2))):
                put(px0 - 2 + k, y + 1, (120, 120, 130))
    # list rows: a bullet and a line
    rows_y = []
    gap = max(3, R(3))
    y = py0 + max(2, R(2.5))
    while y + max(1, R(1)) <= py1 - max(1, R(1)):
        rows_y.append(y)
        y += gap
    bw = max(1, R(1.2))
    for i, y in enumerate(rows_y):
        bx = px0 + max(1, R(1))
        col = (40, 120, 220) if i else red
        fill(bx, y, bx + bw - 1, y + bw - 1, col)
        lx0 = bx + bw + max(1, R(1))
        lx1 = px1 - max(2, R(2)) - (R(2) if i % 2 else 0)
        fill(lx0, y + (bw - 1) // 2, lx1, y + (bw - 1) // 2 + max(1, R(0.6)) - 1, line_c)
    # unread mark: a red dot at the top right
    dr = max(2.6, 3.2 * s)
    cx, cy = n - 1 - dr - 0.2 * s, dr + 0.2 * s
    for y in range(n):
        for x in range(n):
            d = math.hypot(x + 0.5 - (cx + 0.5), y + 0.5 - (cy + 0.5))
            if d <= dr + 1.0:
                # white ring separates it from the book
                if d > dr:
                    a = 1.0 - (d - dr)
                    base = img[y][x]
                    if base[3] == 0:
                        put(x, y, paper, int(255 * max(0.0, min(1.0, a))))
                    else:
                        put(x, y, mix(base[:3], paper, max(0.0, min(1.0, a))))
                else:
                    t = min(1.0, d / dr)
                    c = mix(mix((255, 120, 120), red, min(1.0, t * 1.6)), red_dk,
                            max(0.0, t - 0.75) * 2.5)
                    if d > dr - 1.0:
                        c = mix(c, red_dk, 0.5)
                    put(x, y, c)
    return img


# ---------------------------------------------------------------------------
# The link cursor: a pointing hand, hotspot at the tip of the index finger
# ---------------------------------------------------------------------------

HAND = [
    ".....KK..........",
    "....KWWK.........",
    "....KWWK.........",
    "....KWWK.........",
    "....KWWK.........",
    "....KWWKKK.......",
    "....KWWKWWKKK....",
    "....KWWKWWKWWKKK.",
    "....KWWKWWKWWKWWK",
    ".KK.KWWKWWKWWKWWK",
    "KWWKKWWWWWWWWKWWK",
    "KWWWKWWWWWWWWWWWK",
    ".KWWKWWWWWWWWWWWK",
    ".KWWWWWWWWWWWWWWK",
    "..KWWWWWWWWWWWWWK",
    "..KWWWWWWWWWWWWWK",
    "...KWWWWWWWWWWWK.",
    "...KWWWWWWWWWWWK.",
    "....KWWWWWWWWWK..",
    "....KWWWWWWWWWK..",
    ".....KWWWWWWWK...",
    ".....KWWWWWWWK...",
    ".....KKKKKKKKK...",
]
HAND_X = 0
HAND_HOTSPOT = (5 + HAND_X, 0)


def hand_cursor():
    grid = [('.' * HAND_X + row).ljust(32, '.') for row in HAND]
    grid += ['.' * 32] * (32 - len(grid))
    data = dib_mono(32, grid)
    return icon_file(2, [(32, 32, 2, HAND_HOTSPOT[0], HAND_HOTSPOT[1], data)])


def main():
    cv = draw_toolbar()
    with open(os.path.join(HERE, 'toolbar.bmp'), 'wb') as f:
        f.write(bmp_4bit(cv))

    images = []
    for n in (16, 32, 48):
        images.append((n, n, 0, 1, 32, dib_32(n, app_icon(n))))
    with open(os.path.join(HERE, 'kelvora.ico'), 'wb') as f:
        f.write(icon_file(1, images))

    with open(os.path.join(HERE, 'hand.cur'), 'wb') as f:
        f.write(hand_cursor())


if __name__ == '__main__':
    main()
