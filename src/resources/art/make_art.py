#!/usr/bin/env python3
"""Draws Kelvora's artwork: the toolbar strips, the application icon and the
link cursor.  Standard library only; the output is the same on every run.

    python3 make_art.py          # writes toolbar.bmp (100 %), toolbar125.bmp,
                                 # toolbar150.bmp, toolbar200.bmp, kelvora.ico
                                 # and hand.cur next to this script
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


def bmp_32(rows):
    """A 32-bit BMP with straight alpha, rows from the top."""
    h, w = len(rows), len(rows[0])
    pixels = bytearray()
    for y in range(h - 1, -1, -1):
        for r, g, b, a in rows[y]:
            pixels += bytes((b, g, r, a))
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 32, 0, len(pixels), 2835, 2835, 0, 0)
    off = 14 + len(info)
    head = struct.pack('<2sIHHI', b'BM', off + len(pixels), 0, 0, off)
    return head + info + bytes(pixels)


# ---------------------------------------------------------------------------
# The toolbar at 125, 150 and 200 %: the fourteen pictures above, drawn again
# as shapes at each size, so that every edge lands on that size's own pixels
# (no stretched 100 % pixels). Coordinates are those of the 26 x 20 images,
# where a pixel is the unit square at its top left corner. Outlines, ruled
# lines and dots keep whole pixel widths; slanted and round edges are
# antialiased. The strips are 32-bit with straight alpha, clear around the
# pictures, so that they sit on any button colour.
# ---------------------------------------------------------------------------

def rgb(ch):
    return PALETTE[CH[ch]]


def round_half_up(v):
    return int(math.floor(v + 0.5))


def circle_points(cx, cy, r, n=96):
    return [(cx + r * math.cos(2 * math.pi * i / n), cy + r * math.sin(2 * math.pi * i / n)) for i in range(n)]


class Coverage:
    """How much of each pixel a shape covers, from 0 to 1."""

    def __init__(self, w, h, a=None):
        self.w, self.h = w, h
        self.a = a if a is not None else [0.0] * (w * h)

    def _new(self, a):
        return Coverage(self.w, self.h, a)

    def union(self, o):
        return self._new([max(p, q) for p, q in zip(self.a, o.a)])

    def within(self, o):
        return self._new([p * q for p, q in zip(self.a, o.a)])

    def minus(self, o):
        return self._new([p * (1.0 - q) for p, q in zip(self.a, o.a)])

    def moved(self, dx, dy):
        """The shape moved by whole pixels."""
        w, h = self.w, self.h
        out = [0.0] * (w * h)
        for y in range(max(0, dy), min(h, h + dy)):
            src = (y - dy) * w
            for x in range(max(0, dx), min(w, w + dx)):
                out[y * w + x] = self.a[src + x - dx]
        return self._new(out)

    def grown(self, r, square=False):
        """The shape grown by r pixels: by a disc, or by a square for sharp corners."""
        out = self
        for dy in range(-r, r + 1):
            for dx in range(-r, r + 1):
                if (dx or dy) and (square or dx * dx + dy * dy <= r * r):
                    out = out.union(self.moved(dx, dy))
        return out

    def lower_right(self, k):
        """The band, k pixels wide, along the bottom and right edges."""
        return self.minus(self.moved(-k, 0).within(self.moved(0, -k)))

    def upper_left(self, k):
        return self.minus(self.moved(k, 0).within(self.moved(0, k)))


SUBROWS = 16    # samples down each pixel; across, the coverage is exact


def fill_contours(w, h, contours):
    """Coverage of closed polygons (pixel coordinates), nonzero winding."""
    cov = [0.0] * (w * h)
    edges = []
    for pts in contours:
        for i in range(len(pts)):
            (x0, y0), (x1, y1) = pts[i], pts[(i + 1) % len(pts)]
            if y0 == y1:
                continue
            d = 1 if y1 > y0 else -1
            if y0 > y1:
                x0, y0, x1, y1 = x1, y1, x0, y0
            edges.append((y0, y1, x0, (x1 - x0) / (y1 - y0), d))
    if not edges:
        return Coverage(w, h, cov)
    top = max(0, int(math.floor(min(e[0] for e in edges))))
    bottom = min(h, int(math.ceil(max(e[1] for e in edges))))
    for py in range(top, bottom):
        row = py * w
        for k in range(SUBROWS):
            ys = py + (k + 0.5) / SUBROWS
            xs = sorted((x0 + (ys - y0) * slope, d) for (y0, y1, x0, slope, d) in edges if y0 <= ys < y1)
            wind = 0
            start = 0.0
            for x, d in xs:
                if wind == 0:
                    start = x
                wind += d
                if wind == 0:
                    a, b = max(0.0, start), min(float(w), x)
                    px = int(math.floor(a))
                    while px < b:
                        cov[row + px] += (min(b, px + 1.0) - max(a, float(px))) / SUBROWS
                        px += 1
    return Coverage(w, h, [min(1.0, c) for c in cov])


class Sheet:
    """One picture at one scale, painted in layers."""

    def __init__(self, scale, line):
        self.s = scale
        self.line = line                    # outline width in pixels
        self.thin = max(1, int(scale))      # ruled lines and dots
        self.w = round_half_up(ICON_W * scale)
        self.h = round_half_up(ICON_H * scale)
        self.px = [(0.0, 0.0, 0.0, 0.0)] * (self.w * self.h)   # premultiplied

    # -- shapes (design coordinates in, coverage out) --
    def snap(self, v):
        return round_half_up(v * self.s)

    def span(self, a, b):
        """A snapped stretch of whole pixels, as long as b - a scaled, centred where it was."""
        n = max(1, round_half_up((b - a) * self.s))
        start = round_half_up((a + b) * self.s / 2.0 - n / 2.0)
        return start, start + n

    def poly_px(self, pts):
        return fill_contours(self.w, self.h, [pts])

    def poly(self, pts):
        return self.poly_px([(x * self.s, y * self.s) for x, y in pts])

    def snapped_poly(self, pts):
        return self.poly_px([(self.snap(x), self.snap(y)) for x, y in pts])

    def box(self, x0, y0, x1, y1):
        a, b = self.span(x0, x1)
        c, d = self.span(y0, y1)
        return self.box_px(a, c, b, d)

    def box_px(self, x0, y0, x1, y1):
        return self.poly_px([(x0, y0), (x1, y0), (x1, y1), (x0, y1)])

    def circle(self, cx, cy, r):
        return self.poly(circle_points(cx, cy, r))

    def stroke(self, pts, width):
        """A polyline of the given width with round joins, cut square at both ends."""
        out = Coverage(self.w, self.h)
        hw = width / 2.0
        for (x0, y0), (x1, y1) in zip(pts, pts[1:]):
            length = math.hypot(x1 - x0, y1 - y0)
            nx, ny = -(y1 - y0) / length * hw, (x1 - x0) / length * hw
            out = out.union(self.poly([(x0 + nx, y0 + ny), (x1 + nx, y1 + ny), (x1 - nx, y1 - ny),
                                       (x0 - nx, y0 - ny)]))
        for (x, y) in pts[1:-1]:
            out = out.union(self.circle(x, y, hw))
        return out

    def halfplane(self, a, b, inside):
        """The half of the picture on the side of the line through a and b where `inside` lies."""
        (ax, ay), (bx, by) = a, b
        dx, dy = bx - ax, by - ay
        nx, ny = dy, -dx
        if (inside[0] - ax) * nx + (inside[1] - ay) * ny < 0:
            nx, ny = -nx, -ny
        far = 100.0
        return self.poly([(ax - dx * far, ay - dy * far), (bx + dx * far, by + dy * far),
                          (bx + dx * far + nx * far, by + dy * far + ny * far),
                          (ax - dx * far + nx * far, ay - dy * far + ny * far)])

    # -- painting --
    def paint(self, cov, ch, opacity=1.0):
        r, g, b = rgb(ch)
        px = self.px
        for i, c in enumerate(cov.a):
            a = c * opacity
            if a <= 0.0:
                continue
            pr, pg, pb, pa = px[i]
            k = 1.0 - a
            px[i] = (r * a + pr * k, g * a + pg * k, b * a + pb * k, a + pa * k)

    def shape(self, cov, fill, square=False):
        """A filled shape ringed by a black outline of the sheet's line width."""
        self.paint(cov.grown(self.line, square), 'K')
        self.paint(cov, fill)

    def rgba(self):
        rows = []
        for y in range(self.h):
            row = []
            for r, g, b, a in self.px[y * self.w:(y + 1) * self.w]:
                if a <= 0.002:
                    row.append((0, 0, 0, 0))
                else:
                    row.append((round_half_up(r / a), round_half_up(g / a), round_half_up(b / a),
                                round_half_up(a * 255)))
            rows.append(row)
        return rows

    # -- rhythms that keep whole pixels --
    def pitch(self, units):
        return max(2, round_half_up(units * self.s))

    def rows_px(self, y_first, y_last, units=2):
        """Pixel rows for lines drawn every `units` from y_first to y_last, at a whole-pixel pitch."""
        p = self.pitch(units)
        y, stop = self.snap(y_first), self.snap(y_last + 1) - self.thin
        out = []
        while y <= stop:
            out.append(y)
            y += p
        return out

    def hline_px(self, x0, x1, y, ch):
        self.paint(self.box_px(x0, y, x1, y + self.thin), ch)


# ---------------------------------------------------------------------------
# Pieces shared by several pictures
# ---------------------------------------------------------------------------

def scaled_page(d, x0, y0, x1, y1, f=3):
    """A sheet with a bulleted list and a folded corner; x0..x1, y0..y1 is the inside of its outline."""
    d.shape(d.snapped_poly([(x0, y0), (x1 - f, y0), (x1, y0 + f), (x1, y1), (x0, y1)]), 'W', square=True)
    d.shape(d.snapped_poly([(x1 - f, y0), (x1 - f, y0 + f), (x1, y0 + f)]), 'G')
    bx = d.snap(x0 + 1)
    for y in d.rows_px(y0 + 2, y1 - 2):
        right = d.snap(x1 - 1) if y >= d.snap(y0 + f) + d.thin else d.snap(x1 - f - 1)
        d.paint(d.box_px(bx, y, bx + d.thin, y + d.thin), 'n')
        d.hline_px(d.snap(x0 + 3), right, y, 'G')


def scaled_plus(d, cx, cy):
    r, t = 3.5, 1.5
    cov = d.box(cx - r, cy - t, cx + r, cy + t).union(d.box(cx - t, cy - r, cx + t, cy + r))
    d.shape(cov, 'L')
    d.paint(cov.lower_right(d.thin), 'g')


def scaled_cross(d, x0, y0, size=7, k=1.5):
    x1, y1 = x0 + size, y0 + size
    a = d.poly([(x0, y0), (x0 + k, y0), (x1, y1 - k), (x1, y1), (x1 - k, y1), (x0, y0 + k)])
    b = d.poly([(x0, y1), (x0, y1 - k), (x1 - k, y0), (x1, y0), (x1, y0 + k), (x0 + k, y1)])
    cov = a.union(b)
    d.shape(cov, 'R')
    d.paint(cov.lower_right(d.thin), 'r')


def scaled_pencil(d, tx, ty, length=11, body='Y', shade='y', cap='R', capshade='r'):
    """A pencil at 45 degrees, point at (tx, ty) going up and right, `length` pixels across."""
    ux, uy = 1 / math.sqrt(2), -1 / math.sqrt(2)      # along, towards the cap
    nx, ny = 1 / math.sqrt(2), 1 / math.sqrt(2)       # across, to the lower right
    L = length * math.sqrt(2)
    h = 1.1

    def at(u, v):
        return (tx + 0.5 + u * ux + v * nx, ty + 0.5 + u * uy + v * ny)

    def band(u0, u1, v0, v1):
        return d.poly([at(u0, v0), at(u1, v0), at(u1, v1), at(u0, v1)])

    point = 3.4
    end = L - 0.6
    cone = d.poly([at(-0.2, 0), at(point, -h), at(point, h)])
    whole = cone.union(band(point, end, -h, h))
    d.paint(whole.grown(d.line), 'K')
    d.paint(cone, 'W')
    d.paint(d.poly([at(-0.2, 0), at(1.3, -h * 1.5 / point), at(1.3, h * 1.5 / point)]), 'K')
    split = 0.35
    metal, rubber = L * 16 / 22, L * 18 / 22
    d.paint(band(point, metal, -h, split), body)
    d.paint(band(point, metal, split, h), shade)
    d.paint(band(metal, rubber, -h, split), 'W')
    d.paint(band(metal, rubber, split, h), 'G')
    d.paint(band(rubber, end, -h, split), cap)
    d.paint(band(rubber, end, split, h), capshade)
    # a dark line where the point meets the body
    d.paint(band(point - 0.05, point + 0.45, -h, h), 'K', 0.6)


def scaled_gear(d, cx, cy, root, tip, hole, tooth):
    """A gear wheel of eight teeth; tooth is the width of a tooth at its tip."""
    pts = []
    for k in range(8):
        a = math.radians(k * 45 - 90)
        half_tip = tooth / 2.0 / tip
        half_base = (tooth / 2.0 + 0.6) / root
        step = math.radians(45)
        pts += [(cx + root * math.cos(a - half_base), cy + root * math.sin(a - half_base)),
                (cx + tip * math.cos(a - half_tip), cy + tip * math.sin(a - half_tip)),
                (cx + tip * math.cos(a + half_tip), cy + tip * math.sin(a + half_tip)),
                (cx + root * math.cos(a + half_base), cy + root * math.sin(a + half_base))]
        # the root between this tooth and the next
        for j in range(1, 4):
            b = a + half_base + (step - 2 * half_base) * j / 4.0
            pts.append((cx + root * math.cos(b), cy + root * math.sin(b)))
    cov = d.poly(pts).minus(d.circle(cx, cy, hole))
    d.shape(cov, 'G')
    d.paint(cov.upper_left(d.thin), '.')


def scaled_small_gear(d, x, y):
    scaled_gear(d, x + 6, y + 6, 3.7, 5.2, 1.1, 2.0)


def scaled_large_gear(d, x, y):
    scaled_gear(d, x + 7.5, y + 7.5, 4.6, 6.6, 1.6, 2.6)


def scaled_calendar(d, x0, y0, x1, y1):
    """A calendar sheet; x0..x1 by y0..y1 is the inside of its outline, the rings stand above it."""
    d.shape(d.box(x0, y0, x1, y1), 'W', square=True)
    d.paint(d.box(x0, y0, x1, y0 + 2), 'R')
    d.paint(d.box(x0, y0 + 2, x1, y0 + 3), 'r')
    for rx in (x0 + 2, x1 - 3):
        x = d.snap(rx)
        d.paint(d.box_px(x, d.snap(y0 - 2), x + d.thin, d.snap(y0 + 1)), 'K')
        d.paint(d.box_px(x, d.snap(y0 + 1), x + d.thin, d.snap(y0 + 1) + d.thin), 'G')
    p = d.pitch(2)
    xs = []
    x = d.snap(x0 + 1)
    while x + d.thin <= d.snap(x1 - 1):
        xs.append(x)
        x += p
    for j, y in enumerate(d.rows_px(y0 + 5, y1 - 2)):
        for i, x in enumerate(xs):
            d.paint(d.box_px(x, y, x + d.thin, y + d.thin), 'R' if (i, j) == (1, 1) else 'G')


def scaled_arrow_v(d, cx, y0, y1, up, fill='B', dark='n'):
    """A thick arrow in the column of pixel cx, from y0 to y1 (its tip at y1 when down)."""
    c = cx + 0.5
    if up:
        cov = d.box(c - 1.5, y0 + 4, c + 1.5, y1).union(d.poly([(c - 4, y0 + 4), (c, y0), (c + 4, y0 + 4)]))
    else:
        cov = d.box(c - 1.5, y0, c + 1.5, y1 - 4).union(d.poly([(c - 4, y1 - 4), (c + 4, y1 - 4), (c, y1)]))
    d.shape(cov, fill)
    d.paint(cov.within(d.box(c + 0.5, 0, ICON_W, ICON_H)), dark)


# The scissors stand in an 11 x 17 box, blades up; place() maps that box into the picture.
def scaled_scissors(d, place):
    def P(pts):
        return d.poly([place(x, y) for x, y in pts])

    def ring(cx, cy):
        return P(circle_points(cx, cy, 2.5)).minus(P(circle_points(cx, cy, 1.25)))

    rings = ring(2.6, 14.2).union(ring(8.4, 14.2))
    arms = P([(5.5, 9.0), (6.3, 9.8), (3.8, 12.1), (3.0, 11.5)]).union(
        P([(5.5, 9.0), (4.7, 9.8), (7.2, 12.1), (8.0, 11.5)]))
    d.paint(arms.grown(d.line), 'K')
    d.paint(arms, 'G')
    d.paint(rings, 'R')
    d.paint(rings.within(P([(0, 14.6), (11, 14.6), (11, 17), (0, 17)])), 'r')
    # each blade: its tip, where it meets the pivot, and a point on its light side; o points inwards
    for tip, root, light_side, o in (((10.8, 0.2), (5.6, 10.1), (0, 0), -1), ((0.2, 0.2), (5.4, 10.1), (0, 17), 1)):
        (tx, ty), (rx, ry) = tip, root
        blade = P([tip, (tx + 1.2 * o, ty + 0.7), (rx + o, ry - 0.8), root, (rx - 1.1 * o, ry - 0.8)])
        d.paint(blade.grown(d.line), 'K')
        d.paint(blade, 'G')
        d.paint(blade.within(d.halfplane(place(*tip), place(*root), place(*light_side))), 'W')
    d.paint(P(circle_points(5.5, 9.4, 0.9)), 'K')


# ---------------------------------------------------------------------------
# The fourteen pictures as shapes
# ---------------------------------------------------------------------------

def scaled_add(d):
    scaled_page(d, 6, 2, 17, 18)
    scaled_plus(d, 18.5, 14.5)


def scaled_edit(d):
    scaled_page(d, 5, 2, 16, 18)
    scaled_pencil(d, 9, 15)


def scaled_delete(d):
    scaled_page(d, 6, 2, 17, 18)
    scaled_cross(d, 15, 11)


def scaled_cut(d):
    words = [(2, 6), (7, 11), (12, 16), (17, 21)]
    for y, n in ((2, 4), (5, 1), (13, 1), (16, 4)):
        yy = d.snap(y)
        for a, b in words[:n]:
            x0, x1 = d.span(a, b)
            d.hline_px(x0, x1, yy, 'n')
    yy = d.snap(9)
    for a, b in ((1, 3), (4, 6), (7, 8)):
        x0, x1 = d.span(a, b)
        d.hline_px(x0, x1, yy, 'R')
    scaled_scissors(d, lambda x, y: (7 + y, 4 + 11 - x))


def scaled_browser(d):
    d.shape(d.box(2, 2, 18, 15), 'W', square=True)
    d.paint(d.box(2, 2, 18, 4), 'n')
    d.paint(d.box(16, 2.3, 17, 3.3), 'W')
    for j, y in enumerate(d.rows_px(6, 12)):
        d.hline_px(d.snap(3), d.snap(13 if j != 2 else 10), y, 'G')
    cx, cy, r = 17.5, 12.5, 5.5
    globe = d.circle(cx, cy, r)
    d.shape(globe, 'B')
    west = [(-4.0, -4.3), (-1.2, -4.8), (-0.6, -4.0), (-1.6, -3.0), (-2.0, -2.0), (-1.4, -1.0), (-1.0, 0.5),
            (-1.1, 2.0), (-1.4, 4.0), (-2.2, 4.3), (-2.6, 2.6), (-3.6, 1.6), (-4.1, 0.6), (-5.4, 0.1),
            (-5.4, -1.5), (-4.6, -2.5)]
    east = [(1.0, -3.6), (2.6, -3.4), (3.6, -2.2), (4.9, -1.2), (5.3, 0.5), (4.7, 2.0), (4.1, 3.5), (3.0, 4.8),
            (0.0, 5.3), (0.5, 3.6), (1.8, 2.3), (1.9, 1.0), (1.2, 0.3), (0.8, -1.0), (1.5, -2.0)]
    land = d.poly([(cx + x, cy + y) for x, y in west]).union(d.poly([(cx + x, cy + y) for x, y in east])).within(globe)
    d.paint(land, 'L')
    d.paint(land.within(d.halfplane((cx + 2.2, cy), (cx, cy + 2.2), (cx + r, cy + r))), 'g')
    d.paint(globe.minus(land).within(d.halfplane((cx + 4.2, cy), (cx, cy + 4.2), (cx + r, cy + r))), 'n')
    d.paint(d.circle(cx - 2.6, cy - 2.6, 0.6), 'C')


def scaled_editor(d):
    d.shape(d.box(4, 4, 16, 18), 'W', square=True)
    d.paint(d.box(4, 4, 16, 6), 'B')
    for y in d.rows_px(8, 16):
        d.hline_px(d.snap(5), d.snap(15), y, 'G')
    x = d.snap(6)
    d.paint(d.box_px(x, d.snap(6), x + d.thin, d.snap(18)), 'R')
    for rx in (5, 8, 11, 14):
        x = d.snap(rx)
        d.paint(d.box_px(x, d.snap(1), x + d.thin, d.snap(5)), 'K')
        d.paint(d.box_px(x + d.thin, d.snap(4), x + 2 * d.thin, d.snap(4) + d.thin), 'G')
    scaled_pencil(d, 10, 15, length=12, body='B', shade='n', cap='K', capshade='G')


def scaled_sort_name(d):
    a = d.poly([(5, 9), (5, 4.3), (7, 2), (9, 2), (11, 4.3), (11, 9), (9, 9), (9, 7), (7, 7), (7, 9)]) \
        .minus(d.poly([(7, 6), (7, 4.7), (7.6, 4), (8.4, 4), (9, 4.7), (9, 6)]))
    z = d.box(5, 11, 11, 12).union(d.box(5, 17, 11, 18)).union(
        d.poly([(9.1, 12), (11, 12), (6.9, 17), (5, 17)]))
    d.paint(a.union(z), 'n')
    scaled_arrow_v(d, 17, 2, 18, up=False, fill='L', dark='g')


def scaled_sort_new(d):
    scaled_calendar(d, 3, 4, 15, 17)
    scaled_arrow_v(d, 20, 2, 18, up=False)


def scaled_sort_old(d):
    scaled_calendar(d, 3, 4, 15, 17)
    scaled_arrow_v(d, 20, 2, 18, up=True)


def scaled_date_macro(d):
    scaled_calendar(d, 3, 3, 15, 16)
    scaled_small_gear(d, 13, 7)


def scaled_options(d):
    scaled_large_gear(d, 2, 1)
    scaled_small_gear(d, 13, 7)


def scaled_cut_settings(d):
    scaled_scissors(d, lambda x, y: (2 + x, 1 + y))
    scaled_small_gear(d, 13, 7)


def scaled_exit(d):
    d.shape(d.box(4, 2, 14, 18), 'n', square=True)
    door = d.snapped_poly([(5, 3), (10, 5.5), (10, 16.5), (5, 18)])
    d.shape(door, 'y')
    d.paint(door.within(d.box(5, 0, 6, ICON_H)), 'Y')
    d.paint(d.box(8, 10, 9, 11), 'Y')
    d.paint(d.box(8, 11, 9, 12), 'K')
    arrow = d.box(11, 9, 19.5, 12).union(d.poly([(19, 5.5), (24, 10.5), (19, 15.5)]))
    d.shape(arrow, 'L')
    d.paint(arrow.within(d.box(12, 11, ICON_W, ICON_H)), 'g')


def scaled_help(d):
    cx, cy, r = 13, 4.8, 2.6
    path = [(10.4, 5.8)]
    for k in range(0, 14):
        t = math.radians(180 + k * 15)
        path.append((cx + r * math.cos(t), cy + r * math.sin(t)))
    path += [(13, 8.4), (13, 11.2)]
    mark = d.stroke(path, 2.0).union(d.box(12, 13.8, 14, 15.8))
    outline = mark.grown(d.line)
    d.paint(outline.moved(d.line, d.line), 'n')
    d.paint(outline, 'K')
    d.paint(mark, 'B')


SCALED_ICONS = [
    scaled_add, scaled_edit, scaled_delete, scaled_cut, scaled_browser, scaled_editor,
    scaled_sort_name, scaled_sort_new, scaled_sort_old, scaled_date_macro,
    scaled_options, scaled_cut_settings, scaled_exit, scaled_help,
]

# Percent, and the outline width in pixels.
TOOLBAR_SCALES = [(125, 1), (150, 2), (200, 2)]


def draw_toolbar_scaled(percent, line):
    strip = None
    for fn in SCALED_ICONS:
        d = Sheet(percent / 100.0, line)
        fn(d)
        rows = d.rgba()
        if strip is None:
            strip = [[] for _ in range(d.h)]
        for y in range(d.h):
            strip[y] += rows[y]
    return strip


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
    for percent, line in TOOLBAR_SCALES:
        with open(os.path.join(HERE, 'toolbar%d.bmp' % percent), 'wb') as f:
            f.write(bmp_32(draw_toolbar_scaled(percent, line)))

    images = []
    for n in (16, 32, 48):
        images.append((n, n, 0, 1, 32, dib_32(n, app_icon(n))))
    with open(os.path.join(HERE, 'kelvora.ico'), 'wb') as f:
        f.write(icon_file(1, images))

    with open(os.path.join(HERE, 'hand.cur'), 'wb') as f:
        f.write(hand_cursor())


if __name__ == '__main__':
    main()
