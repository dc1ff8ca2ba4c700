#!/usr/bin/env python3
"""Draws Glimro's small pictures at every size the program asks for, so that none is ever
stretched: the program icon, the five toolbar pictures (New, Delete, Properties, About, Next
Picture) with a disabled look of each, the two state boxes of the album lists, and the Images
page's default picture. Each picture is a few shapes on a 16 (or 32) unit grid, rasterised
per size: straight edges are snapped to whole pixels, slanted ones anti-aliased. The outputs
are committed; run this only to change them."""
import struct
from pathlib import Path

OUT = Path(__file__).resolve().parent.parent / "resources"
# 100 %, 125 %, 150 % and 200 % of a 16-pixel picture; the program icon also in its large sizes.
SMALL_SIZES = (16, 20, 24, 32)
ICON_SIZES = (16, 20, 24, 32, 40, 48, 64)
SUBSAMPLES = 4

BLACK, WHITE = (0, 0, 0, 255), (255, 255, 255, 255)
OUTLINE, PAPER_FOLD = (64, 64, 64, 255), (208, 208, 208, 255)
BLUE, DARK_BLUE, RED = (0, 84, 170, 255), (0, 50, 110, 255), (200, 24, 24, 255)
YELLOW, ORANGE, GREEN = (255, 214, 40, 255), (200, 120, 0, 255), (0, 130, 40, 255)
CLEAR = (0, 0, 0, 0)


# Shapes: each answers whether a point (in grid units) is inside. Axis-aligned ones snap to
# the pixel grid of the size being drawn.
class Rect:
    def __init__(self, x0, y0, x1, y1, colour):
        self.box, self.colour = (x0, y0, x1, y1), colour

    def prepare(self, scale):
        self.px = [round(v * scale) for v in self.box]

    def inside(self, x, y, scale):
        x0, y0, x1, y1 = self.px
        return x0 <= x * scale < x1 and y0 <= y * scale < y1


class Frame(Rect):  # the outline of a rectangle, at least one pixel wide
    def __init__(self, x0, y0, x1, y1, width, colour):
        super().__init__(x0, y0, x1, y1, colour)
        self.width = width

    def prepare(self, scale):
        super().prepare(scale)
        self.w = max(1, round(self.width * scale))

    def inside(self, x, y, scale):
        x0, y0, x1, y1 = self.px
        px, py = x * scale, y * scale
        if not (x0 <= px < x1 and y0 <= py < y1):
            return False
        w = self.w
        return px < x0 + w or px >= x1 - w or py < y0 + w or py >= y1 - w


class Polygon:
    def __init__(self, points, colour):
        self.points, self.colour = points, colour

    def prepare(self, scale):
        pass

    def inside(self, x, y, scale):
        result, pts = False, self.points
        for i in range(len(pts)):
            (ax, ay), (bx, by) = pts[i], pts[i - 1]
            if (ay > y) != (by > y) and x < (bx - ax) * (y - ay) / (by - ay) + ax:
                result = not result
        return result


class Stroke:  # a polyline of the given width with round ends
    def __init__(self, points, width, colour):
        self.points, self.width, self.colour = points, width, colour

    def prepare(self, scale):
        pass

    def inside(self, x, y, scale):
        r2 = (self.width / 2) ** 2
        for (ax, ay), (bx, by) in zip(self.points, self.points[1:]):
            dx, dy = bx - ax, by - ay
            t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
            if (x - ax - t * dx) ** 2 + (y - ay - t * dy) ** 2 <= r2:
                return True
        return False


class Disc:
    def __init__(self, cx, cy, r, colour):
        self.c, self.r, self.colour = (cx, cy), r, colour

    def prepare(self, scale):
        pass

    def inside(self, x, y, scale):
        return (x - self.c[0]) ** 2 + (y - self.c[1]) ** 2 <= self.r ** 2


def render(shapes, size, grid=16):
    """RGBA rows; later shapes paint over earlier ones."""
    scale = size / grid
    for s in shapes:
        s.prepare(scale)
    n = SUBSAMPLES
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(n):
                for sx in range(n):
                    x = (px + (sx + 0.5) / n) / scale
                    y = (py + (sy + 0.5) / n) / scale
                    colour = CLEAR
                    for s in shapes:
                        if s.inside(x, y, scale):
                            colour = s.colour
                    a = colour[3] / 255
                    for i in range(3):
                        acc[i] += colour[i] * a
                    acc[3] += a
            alpha = acc[3] / (n * n)
            if alpha == 0:
                row.append(CLEAR)
            else:
                row.append(tuple(round(acc[i] / acc[3]) for i in range(3)) + (round(alpha * 255),))
        rows.append(row)
    return rows


def disabled(rows):
    """The look of a disabled button: grey, lighter and half transparent."""
    out = []
    for row in rows:
        new = []
        for (r, g, b, a) in row:
            grey = round(120 + 0.45 * (0.30 * r + 0.59 * g + 0.11 * b))
            new.append((grey, grey, grey, round(a * 0.6)))
        out.append(new)
    return out


def page(with_fold_corner=True):
    shapes = [Rect(3, 1, 13, 15, WHITE), Frame(3, 1, 13, 15, 1, BLACK)]
    if with_fold_corner:
        shapes += [Polygon([(9, 1), (13.2, 1), (13.2, 5.2)], CLEAR),
                   Polygon([(9, 1), (13, 5), (9, 5)], PAPER_FOLD),
                   Stroke([(9, 1.5), (9, 5), (12.5, 5)], 0.9, BLACK),
                   Stroke([(9, 1), (13, 5)], 0.9, BLACK)]
    return shapes


def star(cx, cy, outer, inner, colour):
    import math
    pts = []
    for i in range(10):
        r = outer if i % 2 == 0 else inner
        angle = -math.pi / 2 + i * math.pi / 5
        pts.append((cx + r * math.cos(angle), cy + r * math.sin(angle)))
    return Polygon(pts, colour)


def new_picture():
    return page() + [star(11.5, 11, 4.4, 2.0, ORANGE), star(11.5, 11, 3.3, 1.4, YELLOW)]


def delete_picture():
    return [Stroke([(4, 4), (12, 12)], 2.4, RED), Stroke([(12, 4), (4, 12)], 2.4, RED)]


def properties_picture():
    return page() + [Rect(5, 6, 11, 7, BLUE), Rect(5, 8, 11, 9, BLUE), Rect(5, 10, 11, 11, BLUE),
                     Rect(5, 12, 9, 13, BLUE)]


def about_picture():
    hook = [(5.7, 6.0), (6.2, 4.6), (7.3, 3.9), (8.8, 3.9), (10.0, 4.7), (10.3, 6.0),
            (9.6, 7.2), (8.3, 8.0), (8.0, 9.6)]
    return [Disc(8, 8, 7.4, BLUE), Stroke(hook, 1.8, WHITE), Disc(8, 12, 1.15, WHITE)]


def next_picture():
    return [Rect(1, 3, 11, 13, WHITE), Rect(2, 4, 10, 9, (120, 180, 235, 255)),
            Rect(2, 9, 10, 12, (60, 150, 70, 255)), Frame(1, 3, 11, 13, 1, OUTLINE),
            Polygon([(9, 3.6), (15.6, 8), (9, 12.4)], DARK_BLUE),
            Polygon([(10, 5.4), (14, 8), (10, 10.6)], BLUE)]


def box(ticked):
    shapes = [Rect(2, 2, 14, 14, WHITE), Frame(2, 2, 14, 14, 1, OUTLINE)]
    if ticked:
        shapes.append(Stroke([(4.6, 8.2), (7.0, 10.8), (11.6, 4.8)], 2.0, GREEN))
    return shapes


def program_icon():  # a framed landscape: sky, sun and grass (32-unit grid)
    return [Rect(0, 0, 32, 32, (84, 58, 40, 255)), Rect(2, 2, 30, 30, (96, 172, 232, 255)),
            Disc(22.5, 10.5, 4.6, (250, 200, 50, 255)),
            Polygon([(2, 20.5), (7, 19), (12, 19.8), (17, 18.2), (23, 19.6), (30, 18.6),
                     (30, 30), (2, 30)], (52, 142, 62, 255))]


def write_icon(path, images):
    """An .ico of 32-bit pictures with alpha, each with the AND mask older systems use."""
    entries, blobs = [], []
    offset = 6 + 16 * len(images)
    for rows in images:
        size = len(rows)
        pixels = b"".join(bytes(v for (r, g, b, a) in rows[y] for v in (b, g, r, a))
                          for y in reversed(range(size)))
        stride = ((size + 31) // 32) * 4
        mask = bytearray()
        for y in reversed(range(size)):
            line = bytearray(stride)
            for x in range(size):
                if rows[y][x][3] == 0:
                    line[x // 8] |= 0x80 >> (x % 8)
            mask += line
        dib = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0, len(pixels) + len(mask),
                          0, 0, 0, 0) + pixels + bytes(mask)
        entries.append(struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(dib),
                                   offset))
        blobs.append(dib)
        offset += len(dib)
    path.write_bytes(struct.pack("<HHH", 0, 1, len(images)) + b"".join(entries) + b"".join(blobs))


def write_bmp(path, rows):  # 24-bit, on white
    h, w = len(rows), len(rows[0])
    stride = (w * 3 + 3) & ~3
    pixels = b"".join(
        bytes(v for (r, g, b, a) in rows[y] for v in (b, g, r)) + b"\0" * (stride - w * 3)
        for y in reversed(range(h)))
    header = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    path.write_bytes(b"BM" + struct.pack("<IHHI", 14 + 40 + len(pixels), 0, 0, 54) + header + pixels)


def no_picture(size=75):  # the Images page's picture before a thumbnail: a framed square, both diagonals
    dark = (128, 128, 128, 255)
    rows = [[WHITE] * size for _ in range(size)]
    for i in range(size):
        rows[0][i] = rows[size - 1][i] = rows[i][0] = rows[i][size - 1] = dark
        rows[i][i] = rows[i][size - 1 - i] = dark
    return rows


TOOLBAR = [("tool_new", new_picture), ("tool_delete", delete_picture),
           ("tool_properties", properties_picture), ("tool_about", about_picture),
           ("tool_next", next_picture)]


def main():
    write_icon(OUT / "glimro.ico", [render(program_icon(), s, 32) for s in ICON_SIZES])
    write_icon(OUT / "box_empty.ico", [render(box(False), s) for s in SMALL_SIZES])
    write_icon(OUT / "box_ticked.ico", [render(box(True), s) for s in SMALL_SIZES])
    for name, draw in TOOLBAR:
        images = [render(draw(), s) for s in SMALL_SIZES]
        write_icon(OUT / f"{name}.ico", images)
        write_icon(OUT / f"{name}_disabled.ico", [disabled(rows) for rows in images])
    write_bmp(OUT / "no_picture.bmp", no_picture())


if __name__ == "__main__":
    main()
