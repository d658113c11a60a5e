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
        self.ox = 0   # origin of the drawing
        self.oy = 0
        self.spilled = 0

    def set(self, x, y, c):
        x += self.ox
        y += self.oy
        if isinstance(c, str):
            c = CH[c]
        if 0 <= x < self.w and 0 <= y < self.h:
            self.p[y][x] = c
        else:
            self.spilled += 1

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


def lower_right(pts, dark):
    """A shade function darkening the bottom and right edges of a shape."""
    pts = set(pts)
    return lambda x, y: dark if ((x + 1, y) not in pts or (x, y + 1) not in pts) else None


def plus_sign(cv, cx, cy, r=3):
    """A green plus, arms three pixels thick, r pixels from the centre."""
    pts = [(cx + dx, cy + dy) for dx in range(-r, r + 1) for dy in range(-r, r + 1)
           if abs(dx) <= 1 or abs(dy) <= 1]
    cv.shape(pts, 'L', 'K', shade=lower_right(pts, 'g'))


def cross_sign(cv, cx, cy, r=3):
    """A red X, strokes three pixels thick."""
    pts = [(cx + dx, cy + dy) for dx in range(-r, r + 1) for dy in range(-r, r + 1)
           if abs(dx - dy) <= 1 or abs(dx + dy) <= 1]
    edge = set(pts)
    cv.shape(pts, 'R', 'K', shade=lambda x, y: 'r' if (x + 1, y + 1) not in edge
             and (x + 1, y) not in edge else None)


PENCIL_POINT = [                 # colours of the point, by a, then by c
    {0: 'K'},
    {-1: 'K', 1: 'K'},
    {-2: 'K', 0: 'W', 2: 'K'},
    {-1: 'W', 1: 'W'},
    {-2: 'K', 0: 'W', 2: 'K'},
]


def pencil(cv, tx, ty, length=11, body='Y', shade='y', cap='R', capshade='r'):
    """A pencil lying at 45 degrees, point at (tx, ty), going up and right.

    Each pixel is described by a = distance along the pencil and c = its
    offset across it (both in half-diagonal steps); |c| = 2 is the outline."""
    end = 2 * length
    for a in range(0, end + 1):
        for c in range(-2, 3):
            if (a + c) % 2:
                continue
            if a < len(PENCIL_POINT):
                col = PENCIL_POINT[a].get(c)
                if col is None:
                    continue
            elif abs(c) == 2 or a >= end - 1:
                col = 'K'
            elif a >= end - 4:
                col = cap if c < 1 else capshade
            elif a >= end - 6:
                col = 'W' if c < 0 else 'G'      # metal band
            else:
                col = body if c < 1 else shade
            cv.set(tx + (a + c) // 2, ty + (c - a) // 2, col)


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
    "............",
    ".....##.....",
    "..#..##..#..",
    "..########..",
    "...######...",
    ".####..####.",
    ".####..####.",
    "...######...",
    "..########..",
    "..#..##..#..",
    ".....##.....",
    "............",
]


def gear(cv, x, y, big=False, body='G', light='.', dark=None):
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


SCISSORS = [
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
]


def scissors_up(cv, x, y):
    """Open scissors standing up, blades pointing up, 11 x 17."""
    cv.stamp(x, y, SCISSORS)


def scissors_left(cv, x, y):
    """The same scissors lying down, blades pointing left, 17 x 11."""
    w = len(SCISSORS[0])
    rows = [''.join(SCISSORS[c][w - 1 - r] for c in range(len(SCISSORS)))
            for r in range(w)]
    cv.stamp(x, y, rows)


# ---------------------------------------------------------------------------
# The fourteen toolbar images
# ---------------------------------------------------------------------------

def icon_add(cv):
    page(cv, 5, 1, 17, 18, lines='G', bullets=True)
    plus_sign(cv, 18, 14)


def icon_edit(cv):
    page(cv, 4, 1, 16, 18, lines='G', bullets=True)
    pencil(cv, 9, 15, length=11)


def icon_delete(cv):
    page(cv, 5, 1, 17, 18, lines='G', bullets=True)
    cross_sign(cv, 18, 14)


def icon_cut(cv):
    # lines of text; a dashed line marks where the cut goes
    def words(y, x0, x1):
        for x in range(x0, x1 + 1):
            if (x - x0) % 5 != 4:
                cv.set(x, y, 'n')
    words(2, 2, 20)
    words(5, 2, 6)
    words(13, 2, 6)
    words(16, 2, 20)
    for x in range(1, 8):
        if x % 3 != 0:
            cv.set(x, 9, 'R')
    scissors_left(cv, 7, 4)


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
        cv.hline(x0 + 2, x1 - 2, y, 'G')
    cv.vline(x0 + 3, y0 + 4, y1 - 1, 'R')
    # a blue pen across it
    pencil(cv, 10, 15, length=12, body='B', shade='n', cap='K', capshade='G')


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
    gear(cv, 13, 7)


def icon_options(cv):
    gear(cv, 2, 1, big=True)
    gear(cv, 13, 7)


def icon_cut_settings(cv):
    # a few lines of text behind the scissors
    scissors_up(cv, 2, 1)
    gear(cv, 13, 7)


def icon_exit(cv):
    # door frame and open door
    cv.rect(3, 1, 14, 18, 'K')
    cv.rect(4, 2, 13, 17, 'n')        # dark doorway
    # the door swung open toward the viewer
    door = [(x, y) for x in range(5, 10) for y in range(3, 18)
            if y >= 3 + (x - 5) // 2 and y <= 17 - (x - 5) // 3]
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
    strip = Canvas(ICON_W * ICON_COUNT, ICON_H)
    for i, fn in enumerate(ICONS):
        cell = Canvas(ICON_W, ICON_H)     # each image stays in its own cell
        fn(cell)
        if cell.spilled:
            print('%s: %d pixels outside the image' % (fn.__name__, cell.spilled))
        for y in range(ICON_H):
            strip.p[y][i * ICON_W:(i + 1) * ICON_W] = cell.p[y]
    return strip


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


# Layout of each size: book box, spine width, margin of the cover around the
# pages, first list row, row step, bullet size, line thickness, and the
# unread mark (centre x, centre y, radius, clear gap around it).
ICON_LAYOUT = {
    16: dict(book=(0, 1, 13, 15), spine=4, rim=1, row0=5, step=3, bullet=1,
             line=1, dot=(12.0, 3.0, 2.6, 1.0)),
    32: dict(book=(1, 3, 27, 30), spine=7, rim=2, row0=6, step=5, bullet=3,
             line=2, dot=(25.0, 6.5, 5.2, 1.3)),
    48: dict(book=(2, 4, 41, 45), spine=10, rim=3, row0=11, step=7, bullet=4,
             line=2, dot=(38.0, 9.5, 7.6, 1.6)),
}

INK = (22, 34, 74)
COVER = (36, 82, 168)
COVER_LIGHT = (92, 140, 216)
PAPER = (255, 255, 255)
PAPER_EDGE = (196, 204, 220)
LINE = (132, 140, 158)
BULLET = (34, 116, 216)
RING = (150, 150, 160)
RING_LIGHT = (226, 226, 232)
RED = (226, 30, 30)
RED_LIGHT = (255, 128, 118)
RED_DARK = (128, 0, 0)


def app_icon(n):
    L = ICON_LAYOUT[n]
    img = [[(0, 0, 0, 0)] * n for _ in range(n)]

    def put(x, y, c, a=255):
        if 0 <= x < n and 0 <= y < n:
            img[y][x] = (c[0], c[1], c[2], a)

    def fill(x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                put(x, y, c)

    bx0, by0, bx1, by1 = L['book']
    # cover, seen around the pages
    fill(bx0, by0, bx1, by1, INK)
    fill(bx0 + 1, by0 + 1, bx1 - 1, by1 - 1, COVER)
    fill(bx0 + 1, by0 + 1, bx0 + 1 + n // 32, by1 - 1, COVER_LIGHT)
    # pages
    px0, py0 = bx0 + L['spine'], by0 + L['rim']
    px1, py1 = bx1 - L['rim'], by1 - L['rim']
    if n >= 32:
        fill(px0 - 1, py0 - 1, px1 + 1, py1 + 1, INK)
        fill(px0, py0, px1, py1, PAPER)
        fill(px1, py0, px1, py1, PAPER_EDGE)
        fill(px0, py1, px1, py1, PAPER_EDGE)
    else:
        fill(px0, py0, px1, py1, PAPER)
    # binding rings across the spine
    ring_len = max(2, L['spine'] // 2 + 1)
    y = py0 + L['row0'] - 1 if n > 16 else py0 + 1
    ring_step = L['step']
    while y < py1 - 1:
        for k in range(ring_len):
            x = px0 - ring_len // 2 - 1 + k
            put(x, y, RING_LIGHT if n > 16 else RING)
            if n >= 32:
                put(x, y + 1, RING)
        y += ring_step
    # list entries
    cx, cy, r, gap = L['dot']
    y = py0 + L['row0'] - (L['bullet'] + 1) // 2
    row = 0
    while y + L['bullet'] <= py1 - 1:
        bx = px0 + max(1, n // 16)
        fill(bx, y, bx + L['bullet'] - 1, y + L['bullet'] - 1, BULLET)
        lx0 = bx + L['bullet'] + max(1, n // 24)
        lx1 = px1 - max(1, n // 16) - (n // 10 if row % 2 else 0)
        ly = y + (L['bullet'] - L['line']) // 2
        dy = abs(ly + L['line'] / 2.0 - (cy + 0.5))
        room = r + gap + (1 if n > 16 else 0)
        if dy < room:                          # keep clear of the mark
            half = math.sqrt(room ** 2 - dy ** 2)
            lx1 = min(lx1, int(math.floor(cx + 0.5 - half)) - 1)
        fill(lx0, ly, lx1, ly + L['line'] - 1, LINE)
        y += L['step']
        row += 1

    # the unread mark, cut out of the book with a clear gap
    sub = 4
    for yy in range(n):
        for xx in range(n):
            inside = 0
            in_gap = 0
            for j in range(sub):
                for i in range(sub):
                    d = math.hypot(xx + (i + 0.5) / sub - (cx + 0.5),
                                   yy + (j + 0.5) / sub - (cy + 0.5))
                    if d <= r:
                        inside += 1
                    elif d <= r + gap:
                        in_gap += 1
            if not inside and not in_gap:
                continue
            cover = inside / float(sub * sub)
            clear = in_gap / float(sub * sub)
            d = math.hypot(xx + 0.5 - (cx + 0.5), yy + 0.5 - (cy + 0.5))
            # shading: light from the top left
            hx = cx - r * 0.35
            hy = cy - r * 0.35
            t = min(1.0, math.hypot(xx - hx, yy - hy) / (r * 1.3))
            col = mix(RED_LIGHT, RED, min(1.0, t * 1.5))
            if d > r - 1.2:
                col = mix(col, RED_DARK, 0.6)
            base = img[yy][xx]
            keep = max(0.0, 1.0 - cover - clear)      # book showing through
            a_book = base[3] / 255.0 * keep
            a = cover + a_book
            if a <= 0:
                img[yy][xx] = (0, 0, 0, 0)
                continue
            rgb = tuple(int(round((col[k] * cover + base[k] * a_book) / a))
                        for k in range(3))
            img[yy][xx] = rgb + (int(round(a * 255)),)
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
