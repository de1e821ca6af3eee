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


def about_picture():
    """184: the picture of the version dialog."""
    width, height = 120, 112
    canvas = Canvas(width, height, fill=(16, 24, 48, 255))
    # A dark blue gradient from top to bottom.
    for y in range(height):
        shade = 24 + y * 40 // height
        canvas.rect(0, y, width - 1, y, (10, 16 + shade // 2, 40 + shade))
    draw_emblem(canvas, 12, 4, 96, background=False)
    # A timecode bar along the bottom: eight cells, the marker colours of a new document first.
    colours = [(255, 10, 0), (0, 0, 255), (0, 170, 80), (255, 200, 0),
               (150, 60, 200), (0, 180, 200), (255, 255, 255), (120, 120, 120)]
    for i, colour in enumerate(colours):
        x = 6 + i * 14
        canvas.rect(x, 100, x + 11, 107, colour)
        canvas.frame(x, 100, x + 11, 107, (0, 0, 0))
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


def outputs():
    files = {
        "memo.bmp": bmp_bytes(from_rows(MEMO)),
        "sort_descending.bmp": bmp_bytes(from_rows(SORT_DESCENDING)),
        "sort_ascending.bmp": bmp_bytes(from_rows(SORT_ASCENDING)),
        "sort_none.bmp": bmp_bytes(from_rows(SORT_NONE)),
        "about.bmp": bmp_bytes(about_picture()),
        "quillon.ico": ico_bytes([app_icon(48), app_icon(32), app_icon(16)]),
        "quillon_small.ico": ico_bytes([app_icon(16)]),
        "document.ico": ico_bytes([document_icon(32), document_icon(16)]),
    }
    for name, canvas in tab_images().items():
        files[name] = bmp_bytes(canvas)
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
