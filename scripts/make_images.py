#!/usr/bin/env python3
"""Draws the Album Manager's small pictures: toolbar bitmap 101 (New, Delete, Properties,
About, Next Picture; 16 x 15 each on the toolbar's mapped grey), the two 16 x 16 state icons (an empty
box and a ticked box) and the Images page's default picture. The outputs are committed; run this only to change them."""
import struct
from pathlib import Path

OUT = Path(__file__).resolve().parent.parent / "resources"
GREY = (192, 192, 192)  # mapped to the button face by the toolbar
BLACK, WHITE = (0, 0, 0), (255, 255, 255)
DARK, BLUE, RED, YELLOW = (128, 128, 128), (0, 64, 160), (200, 0, 0), (255, 224, 64)


def canvas(w, h, fill):
    return [[fill] * w for _ in range(h)]


def rect(img, x0, y0, x1, y1, c):  # inclusive outline
    for x in range(x0, x1 + 1):
        img[y0][x] = img[y1][x] = c
    for y in range(y0, y1 + 1):
        img[y][x0] = img[y][x1] = c


def fill(img, x0, y0, x1, y1, c):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            img[y][x] = c


def page(img):
    fill(img, 3, 1, 11, 13, WHITE)
    rect(img, 3, 1, 11, 13, BLACK)
    for i in range(4):  # folded corner
        img[1 + i][8 + i] = BLACK
        for x in range(9 + i, 12):
            img[1 + i][x] = GREY
    fill(img, 12, 1, 12, 1, GREY)


def new_icon():
    img = canvas(16, 15, GREY)
    page(img)
    for (x, y) in [(12, 9), (11, 10), (13, 10), (12, 11), (12, 10), (10, 10), (14, 10), (12, 8), (12, 12)]:
        img[y][x] = YELLOW
    return img


def delete_icon():
    img = canvas(16, 15, GREY)
    for i in range(10):
        for d in (0, 1):
            img[2 + i][3 + i + d] = RED
            img[2 + i][12 - i + d] = RED
    return img


def properties_icon():
    img = canvas(16, 15, GREY)
    page(img)
    for y in (5, 7, 9, 11):
        fill(img, 5, y, 9, y, BLUE)
    return img


def about_icon():
    img = canvas(16, 15, GREY)
    glyph = ["  ####  ", " ##  ## ", "     ## ", "    ##  ", "   ##   ", "   ##   ",
             "        ", "   ##   ", "   ##   "]
    for r, row in enumerate(glyph):
        for c, ch in enumerate(row):
            if ch == "#":
                img[3 + r][4 + c] = BLUE
    return img


def next_icon():  # a picture frame with an arrow to the right
    img = canvas(16, 15, GREY)
    rect(img, 1, 2, 10, 12, DARK)
    fill(img, 2, 3, 9, 11, WHITE)
    for r in range(9):
        width = 4 - abs(r - 4)
        fill(img, 10, 3 + r, 10 + width, 3 + r, BLUE)
    return img


def write_bmp(path, img):
    h, w = len(img), len(img[0])
    stride = (w * 3 + 3) & ~3
    pixels = b"".join(
        bytes(v for (r, g, b) in img[y] for v in (b, g, r)) + b"\0" * (stride - w * 3)
        for y in reversed(range(h)))
    header = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    path.write_bytes(b"BM" + struct.pack("<IHHI", 14 + 40 + len(pixels), 0, 0, 54) + header + pixels)


def write_icon(path, img):  # 16 x 16, 32-bit colour with alpha, plus an empty AND mask
    rows = b"".join(bytes(v for (r, g, b, a) in img[y] for v in (b, g, r, a)) for y in reversed(range(16)))
    mask = b"\0" * (4 * 16)
    dib = struct.pack("<IiiHHIIiiII", 40, 16, 32, 1, 32, 0, len(rows) + len(mask), 0, 0, 0, 0) + rows + mask
    path.write_bytes(struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", 16, 16, 0, 0, 1, 32, len(dib), 22) + dib)


def box(ticked):
    img = [[(0, 0, 0, 0)] * 16 for _ in range(16)]
    for y in range(2, 15):
        for x in range(1, 14):
            img[y][x] = (255, 255, 255, 255)
    for x in range(1, 14):
        img[2][x] = img[14][x] = (64, 64, 64, 255)
    for y in range(2, 15):
        img[y][1] = img[y][13] = (64, 64, 64, 255)
    if ticked:
        tick = [(3, 8), (4, 9), (5, 10), (6, 11), (7, 10), (8, 9), (9, 8), (10, 7), (11, 6), (12, 5)]
        for (x, y) in tick:
            for d in (0, 1, 2):
                img[y - 2 + d][x] = (0, 128, 0, 255)
    return img


def no_picture():  # the Images page's picture before a thumbnail: a framed square, both diagonals
    size = 75
    img = canvas(size, size, WHITE)
    rect(img, 0, 0, size - 1, size - 1, DARK)
    for i in range(size):
        img[i][i] = img[i][size - 1 - i] = DARK
    return img


def main():
    strip = canvas(80, 15, GREY)
    for i, draw in enumerate([new_icon, delete_icon, properties_icon, about_icon, next_icon]):
        one = draw()
        for y in range(15):
            strip[y][16 * i:16 * i + 16] = one[y]
    write_bmp(OUT / "toolbar.bmp", strip)
    write_icon(OUT / "box_empty.ico", box(False))
    write_icon(OUT / "box_ticked.ico", box(True))
    write_bmp(OUT / "no_picture.bmp", no_picture())


if __name__ == "__main__":
    main()
