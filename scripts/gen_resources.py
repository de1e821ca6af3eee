#!/usr/bin/env python3
"""Draws the program's bitmaps and icons and writes them into res/.

Regenerate (from the repository root) with:

    python3 scripts/gen_resources.py            # writes the .bmp and .ico files into res/
    python3 scripts/gen_resources.py --check    # exits 1 if a committed file is out of date

Everything is drawn here from simple shapes and small pixel maps, with the standard library only,
so the output is the same on every machine. Bitmaps are 24-bit Windows BMPs; silver,
RGB(192, 192, 192), is the colour the image lists treat as transparent. Icons are 32-bit ICOs
with an alpha channel and an AND mask.
"""

import argparse
import math
import os
import struct
import sys

SILVER = (192, 192, 192)

PALETTE = {
    ".": SILVER,
    "k": (0, 0, 0),
    "w": (255, 255, 255),
    "y": (255, 236, 96),
    "Y": (214, 178, 0),
    "d": (96, 96, 96),
    "g": (160, 160, 160),
    "b": (32, 96, 208),
    "B": (16, 48, 128),
    "r": (220, 32, 32),
    "G": (24, 140, 64),
    "o": (255, 100, 0),
    "p": (96, 64, 32),
    "c": (110, 190, 250),
    "C": (30, 80, 200),
}


class Canvas:
    """An RGBA pixel grid with the few drawing operations the pictures need."""

    def __init__(self, width, height, fill=(0, 0, 0, 0)):
        self.width = width
        self.height = height
        self.pixels = [[tuple(fill) for _ in range(width)] for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            if len(colour) == 3:
                colour = (*colour, 255)
            self.pixels[y][x] = colour

    def rect(self, x0, y0, x1, y1, colour):
        """Fills the rectangle with corners (x0, y0) and (x1, y1), both inclusive."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.put(x, y, colour)

    def frame(self, x0, y0, x1, y1, colour):
        for x in range(x0, x1 + 1):
            self.put(x, y0, colour)
            self.put(x, y1, colour)
        for y in range(y0, y1 + 1):
            self.put(x0, y, colour)
            self.put(x1, y, colour)

    def disc(self, cx, cy, radius, colour, inner=0.0):
        """Fills a ring (or a disc when inner is 0) centred on (cx, cy)."""
        for y in range(self.height):
            for x in range(self.width):
                d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
                if inner <= d <= radius:
                    self.put(x, y, colour)

    def polygon(self, points, colour):
        """Fills a polygon by the even-odd rule, sampling pixel centres."""
        for y in range(self.height):
            py = y + 0.5
            crossings = []
            for (xa, ya), (xb, yb) in zip(points, points[1:] + points[:1]):
                if (ya <= py < yb) or (yb <= py < ya):
                    crossings.append(xa + (py - ya) * (xb - xa) / (yb - ya))
            crossings.sort()
            for left, right in zip(crossings[::2], crossings[1::2]):
                for x in range(self.width):
                    if left <= x + 0.5 < right:
                        self.put(x, y, colour)

    def line(self, x0, y0, x1, y1, colour):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            self.put(round(x0 + (x1 - x0) * i / steps), round(y0 + (y1 - y0) * i / steps), colour)

    def blit(self, rows, x0=0, y0=0):
        """Paints a pixel map of palette letters; '.' stays as it is."""
        for y, row in enumerate(rows):
            for x, ch in enumerate(row):
                if ch != ".":
                    self.put(x0 + x, y0 + y, PALETTE[ch])


def from_rows(rows):
    canvas = Canvas(len(rows[0]), len(rows), fill=(*SILVER, 255))
    canvas.blit(rows)
    return canvas


def repeated(canvas, factor):
    """The picture with every pixel repeated factor x factor times (a whole factor only)."""
    out = Canvas(canvas.width * factor, canvas.height * factor)
    out.pixels = [[pixel for pixel in row for _ in range(factor)] for row in canvas.pixels for _ in range(factor)]
    return out


class Grid:
    """Draws a pixel-map picture again at a larger, not necessarily whole, scale.

    Coordinates are those of the 96-DPI pixel map. An area (fill) covers its cells at the new scale;
    a line or a dot stays one pixel thick and sits where its cell's centre falls, so every stroke of
    the picture comes out equally thin instead of alternately one and two pixels as a stretch
    makes it.
    """

    def __init__(self, canvas, scale, x0=0, y0=0):
        self.canvas = canvas
        self.scale = scale
        self.x0 = x0
        self.y0 = y0

    def edge(self, c):
        """The first pixel of cell c."""
        return round(c * self.scale)

    def centre(self, c):
        """The pixel in which the centre of cell c falls."""
        return math.floor((c + 0.5) * self.scale)

    def fill(self, x0, y0, x1, y1, colour):
        """Covers cells x0..x1, y0..y1 (inclusive)."""
        e = self.edge
        self.canvas.rect(e(self.x0 + x0), e(self.y0 + y0), e(self.x0 + x1 + 1) - 1, e(self.y0 + y1 + 1) - 1,
                         PALETTE[colour])

    def span(self, c):
        """The first and last pixel of cell c (a cell is one or two pixels wide at a scale under 2)."""
        return self.edge(c), self.edge(c + 1) - 1

    def line_pixel(self, c, side):
        first, last = self.span(c)
        return first if side == "first" else last

    def hline(self, x0, x1, y, colour, side="first"):
        """Row y, cells x0..x1, one pixel thick: the first pixel of the row, or the last where an
        area below the line must meet it."""
        e = self.edge
        py = self.line_pixel(self.y0 + y, side)
        self.canvas.rect(e(self.x0 + x0), py, e(self.x0 + x1 + 1) - 1, py, PALETTE[colour])

    def vline(self, x, y0, y1, colour, side="first"):
        e = self.edge
        px = self.line_pixel(self.x0 + x, side)
        self.canvas.rect(px, e(self.y0 + y0), px, e(self.y0 + y1 + 1) - 1, PALETTE[colour])

    def frame(self, x0, y0, x1, y1, colour):
        """A one-pixel outline in cells x0..x1, y0..y1 that meets an area filled in the cells inside."""
        left = self.line_pixel(self.x0 + x0, "last")
        top = self.line_pixel(self.y0 + y0, "last")
        right = self.line_pixel(self.x0 + x1, "first")
        bottom = self.line_pixel(self.y0 + y1, "first")
        self.canvas.frame(left, top, right, bottom, PALETTE[colour])

    def dot(self, x, y, colour):
        self.canvas.put(self.centre(self.x0 + x), self.centre(self.y0 + y), PALETTE[colour])

    def stroke(self, xa, ya, xb, yb, colour):
        """A one-pixel line from the centre of cell (xa, ya) to that of cell (xb, yb)."""
        c = self.centre
        self.canvas.line(c(self.x0 + xa), c(self.y0 + ya), c(self.x0 + xb), c(self.y0 + yb), PALETTE[colour])

    def polygon(self, points, colour):
        """A polygon with corners on cell edges (x, y), filled at pixel centres."""
        self.canvas.polygon([((self.x0 + x) * self.scale, (self.y0 + y) * self.scale) for x, y in points],
                            PALETTE[colour])

    def outlined_triangle(self, points, outline, inside):
        """A triangle with a one-pixel edge: filled in the outline colour, then again one pixel in."""
        self.polygon(points, outline)
        scaled = [((self.x0 + x) * self.scale, (self.y0 + y) * self.scale) for x, y in points]
        self.canvas.polygon(inset_triangle(scaled, 1.0), PALETTE[inside])


def inset_triangle(points, distance):
    """The triangle whose sides lie `distance` inside those of the given one."""
    (ax, ay), (bx, by), (cx, cy) = points
    a, b, c = math.dist((bx, by), (cx, cy)), math.dist((ax, ay), (cx, cy)), math.dist((ax, ay), (bx, by))
    perimeter = a + b + c
    ix, iy = (a * ax + b * bx + c * cx) / perimeter, (a * ay + b * by + c * cy) / perimeter
    area = abs((bx - ax) * (cy - ay) - (cx - ax) * (by - ay)) / 2
    radius = 2 * area / perimeter
    k = max(0.0, (radius - distance) / radius)
    return [(ix + (x - ix) * k, iy + (y - iy) * k) for x, y in points]


def blank(width, height, scale):
    return Canvas(round(width * scale), round(height * scale), fill=(*SILVER, 255))


# --- 16 x 16 pictures of the image lists ------------------------------------------------------

# 106: the work-memo mark of a list row, a yellow note with a pencil across it.
MEMO = [
    "................",
    ".kkkkkkkkkk.....",
    ".kyyyyyyyyk.....",
    ".kyddddyyykk....",
    ".kyyyyyyyyk.k...",
    ".kyddddddyk..kk.",
    ".kyyyyyyyyk.kook",
    ".kydddddyyk.kook",
    ".kyyyyyyyyk.kok.",
    ".kydddyyyyk.kok.",
    ".kyyyyyyyyk.kok.",
    ".kyyyyyyyyk.kk..",
    ".kyyyyyyyyk.pk..",
    ".kkkkkkkkkk.k...",
    "................",
    "................",
]

# 137, 138, 175: the sort state of a header column: descending, ascending, unsorted.
SORT_DESCENDING = [
    "................",
    "................",
    "................",
    "................",
    "...kkkkkkkkkk...",
    "...kbbbbbbbbk...",
    "....kbbbbbbk....",
    "....kbbbbbbk....",
    ".....kbbbbk.....",
    ".....kbbbbk.....",
    "......kbbk......",
    "......kbbk......",
    ".......kk.......",
    "................",
    "................",
    "................",
]
SORT_ASCENDING = list(reversed(SORT_DESCENDING))
SORT_NONE = [
    "................",
    "................",
    "................",
    "................",
    ".......gg.......",
    "......gddg......",
    ".....gddddg.....",
    "................",
    "................",
    ".....gddddg.....",
    "......gddg......",
    ".......gg.......",
    "................",
    "................",
    "................",
    "................",
]

# 132, 133: the arrow of the offset dialog's copy button, and the same arrow while it is pressed.
def offset_arrow_rows(colour):
    shaft = "." * 9 + colour * 6 + "." * 9
    return ["." * 24] * 2 + [shaft] * 6 + [
        "." * 6 + colour * 12 + "." * 6,
        "." * 7 + colour * 10 + "." * 7,
        "." * 8 + colour * 8 + "." * 8,
        "." * 9 + colour * 6 + "." * 9,
        "." * 10 + colour * 4 + "." * 10,
        "." * 11 + colour * 2 + "." * 11,
    ] + ["." * 24] * 2


# 129, 125, 128: the tab images for a saved project, a list opened from an EDL, a modified project.
DOCUMENT = [
    "..kkkkkkkk......",
    "..kwwwwwwkk.....",
    "..kwwwwwwkwk....",
    "..kwwwwwwkkkk...",
    "..kwwwwwwwwwk...",
    "..kwwwwwwwwwk...",
    "..kwwwwwwwwwk...",
    "..kwwwwwwwwwk...",
    "..kwwwwwwwwwk...",
    "..kwwwwwwwwwk...",
    "..kwwwwwwwwwk...",
    "..kwwwwwwwwwk...",
    "..kwwwwwwwwwk...",
    "..kwwwwwwwwwk...",
    "..kkkkkkkkkkk...",
    "................",
]
TAB_SAVED_MARK = [
    "bbbbbbb",
    "bwwwwwb",
    "bwwwwwb",
    "bbbbbbb",
    "bbBBBbb",
    "bbBwBbb",
    "bbBBBbb",
]
TAB_EDL_MARK = [
    "ddddd",
    ".....",
    "ddd..",
    ".....",
    "dddd.",
    ".....",
    "GGGGG",
    "G....",
    "GGGG.",
    "G....",
    "GGGGG",
]
TAB_MODIFIED_MARK = [
    "....r...",
    ".r..r..r",
    "..r.r.r.",
    "...rrr..",
    "rrrrrrrr",
    "...rrr..",
    "..r.r.r.",
    ".r..r..r",
]


# --- the same pictures drawn at a larger scale ---------------------------------------------------
# Drawn again from shapes for a scale under 2 (120 and 144 DPI), every outline one pixel thick; at
# 2x (192 DPI) the 96-DPI pixel map with each pixel doubled is already exact.

def memo_drawn(scale):
    g = Grid(blank(16, 16, scale), scale)
    g.fill(2, 2, 9, 12, "y")
    g.frame(1, 1, 10, 13, "k")
    for x1, y in ((6, 3), (8, 5), (7, 7), (5, 9)):
        g.hline(3, x1, y, "d")
    # The pencil: its end leans on the note's corner, the body is orange, the tip brown.
    g.stroke(11, 3, 12, 4, "k")
    g.hline(13, 14, 5, "k", side="last")
    g.fill(13, 6, 14, 7, "o")
    g.fill(13, 8, 13, 10, "o")
    g.vline(12, 6, 11, "k", side="last")
    g.vline(15, 6, 7, "k")
    g.vline(14, 8, 10, "k")
    g.hline(13, 13, 11, "k")
    g.fill(12, 12, 12, 12, "p")
    g.fill(13, 12, 13, 12, "k")
    g.fill(12, 13, 12, 13, "k")
    return g.canvas


def sort_drawn(scale, kind):
    g = Grid(blank(16, 16, scale), scale)
    if kind == "descending":
        g.outlined_triangle([(3, 4), (13, 4), (8, 13)], "k", "b")
    elif kind == "ascending":
        g.outlined_triangle([(3, 12), (13, 12), (8, 3)], "k", "b")
    else:
        g.outlined_triangle([(5, 7), (11, 7), (8, 4)], "g", "d")
        g.outlined_triangle([(5, 9), (11, 9), (8, 12)], "g", "d")
    return g.canvas


def document_drawn(scale):
    g = Grid(blank(16, 16, scale), scale)
    g.fill(3, 1, 11, 13, "w")
    g.frame(2, 0, 12, 14, "k")
    # The folded corner: cut off above the fold's diagonal, with the fold's edges.
    left, top = g.edge(10), g.edge(0)
    right = g.line_pixel(12, "first")
    corner = g.edge(3)
    for py in range(top, corner + 1):
        for px in range(left + (py - top), right + 1):
            g.canvas.put(px, py, SILVER)
    g.canvas.line(g.edge(9), top, g.edge(9) + corner - top, corner, PALETTE["k"])
    g.vline(9, 0, 3, "k")
    g.hline(9, 12, 3, "k")
    g.vline(12, 3, 14, "k")
    return g


def tab_images_drawn(scale):
    saved = document_drawn(scale)
    mark = Grid(saved.canvas, scale, 8, 8)
    mark.fill(0, 0, 6, 6, "b")
    mark.fill(1, 1, 5, 2, "w")
    mark.fill(2, 4, 4, 6, "B")
    mark.fill(3, 5, 3, 5, "w")

    edl = document_drawn(scale)
    mark = Grid(edl.canvas, scale, 4, 4)
    for x1, y in ((4, 0), (2, 2), (3, 4)):
        mark.hline(0, x1, y, "d")
    for x1, y in ((4, 6), (3, 8), (4, 10)):
        mark.hline(0, x1, y, "G")
    mark.vline(0, 6, 10, "G")

    modified = document_drawn(scale)
    mark = Grid(modified.canvas, scale, 7, 7)
    mark.vline(4, 0, 7, "r")
    mark.hline(0, 7, 4, "r")
    mark.stroke(1, 1, 7, 7, "r")
    mark.stroke(7, 1, 1, 7, "r")
    return {"tab_saved": saved.canvas, "tab_edl": edl.canvas, "tab_modified": modified.canvas}


def offset_arrow_drawn(scale, colour):
    g = Grid(blank(24, 16, scale), scale)
    g.fill(9, 2, 14, 7, colour)
    g.polygon([(6, 8), (18, 8), (13, 14), (11, 14)], colour)
    return g.canvas


def document_with(mark, x, y):
    canvas = from_rows(DOCUMENT)
    canvas.blit(mark, x, y)
    return canvas


def tab_images():
    return {
        "tab_saved.bmp": document_with(TAB_SAVED_MARK, 8, 8),
        "tab_edl.bmp": document_with(TAB_EDL_MARK, 4, 4),
        "tab_modified.bmp": document_with(TAB_MODIFIED_MARK, 7, 7),
    }


# --- the about picture and the icons -----------------------------------------------------------

def draw_emblem(canvas, x0, y0, size, background=True):
    """The program's emblem: a film strip behind a large 'Q' whose tail is a play mark."""
    s = size / 32.0
    if background:
        canvas.rect(x0, y0, x0 + size - 1, y0 + size - 1, (16, 24, 48))
    # Film strip across the middle with its sprocket holes.
    top, bottom = y0 + round(9 * s), y0 + round(23 * s) - 1
    canvas.rect(x0, top, x0 + size - 1, bottom, (40, 40, 40))
    hole = max(1, round(2 * s))
    for i in range(8):
        hx = x0 + round((1.5 + 4 * i) * s)
        canvas.rect(hx, top + max(1, round(s)), hx + hole - 1, top + max(1, round(s)) + hole - 1, (220, 220, 220))
        canvas.rect(hx, bottom - max(1, round(s)) - hole + 1, hx + hole - 1, bottom - max(1, round(s)), (220, 220, 220))
    # The ring of the Q.
    cx, cy = x0 + 15 * s, y0 + 15 * s
    canvas.disc(cx, cy, 11.5 * s, (255, 196, 0), inner=7.5 * s)
    # The tail: a play triangle leaving the ring at the lower right.
    canvas.polygon(
        [(x0 + 17 * s, y0 + 18 * s), (x0 + 30 * s, y0 + 27 * s), (x0 + 19 * s, y0 + 31 * s)],
        (255, 100, 0),
    )


def about_picture(scale=1):
    """184: the picture of the version dialog, drawn at the given scale (1 at 96 DPI)."""
    r = lambda v: round(v * scale)
    width, height = r(120), r(112)
    canvas = Canvas(width, height, fill=(16, 24, 48, 255))
    # A dark blue gradient from top to bottom.
    for y in range(height):
        shade = 24 + y * 40 // height
        canvas.rect(0, y, width - 1, y, (10, 16 + shade // 2, 40 + shade))
    draw_emblem(canvas, r(12), r(4), r(96), background=False)
    # A timecode bar along the bottom: eight cells, the marker colours of a new document first.
    colours = [(255, 10, 0), (0, 0, 255), (0, 170, 80), (255, 200, 0),
               (150, 60, 200), (0, 180, 200), (255, 255, 255), (120, 120, 120)]
    for i, colour in enumerate(colours):
        x = r(6 + i * 14)
        canvas.rect(x, r(100), x + r(12) - 1, r(108) - 1, colour)
        canvas.frame(x, r(100), x + r(12) - 1, r(108) - 1, (0, 0, 0))
    return canvas


def app_icon(size):
    canvas = Canvas(size, size)
    radius = max(2, size // 6)
    # Rounded square background.
    for y in range(size):
        for x in range(size):
            dx = max(radius - x - 0.5, 0, x + 0.5 - (size - radius))
            dy = max(radius - y - 0.5, 0, y + 0.5 - (size - radius))
            if math.hypot(dx, dy) <= radius:
                canvas.put(x, y, (16, 24, 48))
    draw_emblem(canvas, 0, 0, size, background=False)
    return canvas


def document_icon(size):
    """The icon of the project-file type: a sheet with a folded corner and the emblem on it."""
    canvas = Canvas(size, size)
    s = size / 32.0
    left, right = round(4 * s), round(27 * s)
    fold = round(7 * s)
    sheet = [(left, 0), (right - fold, 0), (right, fold), (right, size), (left, size)]
    canvas.polygon(sheet, (0, 0, 0))
    inner = [(left + 1, 1), (right - fold, 1), (right - 1, fold + 1), (right - 1, size - 1), (left + 1, size - 1)]
    canvas.polygon(inner, (255, 255, 255))
    canvas.polygon([(right - fold, 0), (right - fold, fold), (right, fold)], (160, 160, 160))
    emblem = max(8, round(18 * s))
    sub = app_icon(emblem)
    ox, oy = left + (right - left - emblem) // 2 + 1, size - emblem - max(1, round(3 * s))
    for y in range(emblem):
        for x in range(emblem):
            if sub.pixels[y][x][3]:
                canvas.put(ox + x, oy + y, sub.pixels[y][x])
    return canvas


# --- file formats -------------------------------------------------------------------------------

def bmp_bytes(canvas):
    """A bottom-up 24-bit BMP; transparent pixels become silver."""
    row_size = (canvas.width * 3 + 3) & ~3
    image = bytearray()
    for y in reversed(range(canvas.height)):
        row = bytearray()
        for r, g, b, a in canvas.pixels[y]:
            if a == 0:
                r, g, b = SILVER
            row += bytes((b, g, r))
        row += b"\0" * (row_size - len(row))
        image += row
    info = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, 24, 0, len(image), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(image), 0, 0, 14 + len(info))
    return header + info + image


def ico_image(canvas):
    size = canvas.width
    xor = bytearray()
    for y in reversed(range(size)):
        for r, g, b, a in canvas.pixels[y]:
            xor += bytes((b, g, r, a))
    mask_row = ((size + 31) // 32) * 4
    mask = bytearray()
    for y in reversed(range(size)):
        row = bytearray(mask_row)
        for x, (_, _, _, a) in enumerate(canvas.pixels[y]):
            if a == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return info + xor + mask


def ico_bytes(canvases):
    images = [ico_image(c) for c in canvases]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for canvas, data in zip(canvases, images):
        dim = canvas.width if canvas.width < 256 else 0
        out += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(images)


# The scales drawn besides 96 DPI, by the suffix of their files: 125 %, 150 % and 200 %.
SCALES = {"120": 1.25, "144": 1.5, "192": 2}

# Icon sizes: the big and small icons at 96 to 192 DPI (32, 40, 48, 64 and 16, 20, 24, 32), and
# 48 for the shell's larger views.
ICON_SIZES = [64, 48, 40, 32, 24, 20, 16]
SMALL_ICON_SIZES = [32, 24, 20, 16]


def pictures(scale):
    """Every bitmap at one scale: the 96-DPI pixel maps at 1, doubled at 2, drawn again between."""
    base = {
        "memo": from_rows(MEMO),
        "sort_descending": from_rows(SORT_DESCENDING),
        "sort_ascending": from_rows(SORT_ASCENDING),
        "sort_none": from_rows(SORT_NONE),
        "offset_arrow": from_rows(offset_arrow_rows("c")),
        "offset_arrow_pressed": from_rows(offset_arrow_rows("C")),
        **{name[:-4]: canvas for name, canvas in tab_images().items()},
    }
    if scale == 1:
        drawn = base
    elif scale == int(scale):
        drawn = {name: repeated(canvas, int(scale)) for name, canvas in base.items()}
    else:
        drawn = {
            "memo": memo_drawn(scale),
            "sort_descending": sort_drawn(scale, "descending"),
            "sort_ascending": sort_drawn(scale, "ascending"),
            "sort_none": sort_drawn(scale, "none"),
            "offset_arrow": offset_arrow_drawn(scale, "c"),
            "offset_arrow_pressed": offset_arrow_drawn(scale, "C"),
            **tab_images_drawn(scale),
        }
    return {**drawn, "about": about_picture(scale)}


def outputs():
    files = {
        "quillon.ico": ico_bytes([app_icon(size) for size in ICON_SIZES]),
        "quillon_small.ico": ico_bytes([app_icon(size) for size in SMALL_ICON_SIZES]),
        "document.ico": ico_bytes([document_icon(size) for size in ICON_SIZES]),
    }
    for name, canvas in pictures(1).items():
        files[name + ".bmp"] = bmp_bytes(canvas)
    for suffix, scale in SCALES.items():
        for name, canvas in pictures(scale).items():
            files[f"{name}_{suffix}.bmp"] = bmp_bytes(canvas)
    return files


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--check", action="store_true", help="only compare with the files in res/")
    args = parser.parse_args()
    res = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "res")
    stale = []
    for name, data in sorted(outputs().items()):
        path = os.path.join(res, name)
        if args.check:
            try:
                with open(path, "rb") as f:
                    if f.read() != data:
                        stale.append(name)
            except FileNotFoundError:
                stale.append(name)
        else:
            with open(path, "wb") as f:
                f.write(data)
    if stale:
        print("out of date: " + ", ".join(stale), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
