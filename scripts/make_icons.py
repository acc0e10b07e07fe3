#!/usr/bin/env python3
"""Draws the program's small PNG icons into src/gui/resources/images/.

Plain Python with zlib, no imaging library: every shape is a predicate on a point,
sampled 4 x 4 per pixel for smooth edges. Run it again after changing a drawing.
"""
import math
import os
import struct
import zlib

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src", "gui", "resources", "images")
SUB = 4


class Canvas:
    def __init__(self, size):
        self.size = size
        self.px = [[(0, 0, 0, 0)] * size for _ in range(size)]

    def fill(self, inside, colour):
        """Paints colour (r, g, b[, a]) where inside(x, y) holds, coordinates in pixels."""
        r, g, b = colour[:3]
        a0 = colour[3] if len(colour) > 3 else 255
        n = self.size
        for y in range(n):
            for x in range(n):
                hits = 0
                for sy in range(SUB):
                    for sx in range(SUB):
                        if inside(x + (sx + 0.5) / SUB, y + (sy + 0.5) / SUB):
                            hits += 1
                if not hits:
                    continue
                a = a0 * hits / (SUB * SUB) / 255.0
                dr, dg, db, da = self.px[y][x]
                da /= 255.0
                oa = a + da * (1 - a)
                mix = lambda s, d: (s * a + d * da * (1 - a)) / oa if oa else 0
                self.px[y][x] = (round(mix(r, dr)), round(mix(g, dg)), round(mix(b, db)), round(oa * 255))

    def rect(self, x0, y0, x1, y1, colour):
        self.fill(lambda x, y: x0 <= x <= x1 and y0 <= y <= y1, colour)

    def frame(self, x0, y0, x1, y1, w, colour):
        self.fill(lambda x, y: x0 <= x <= x1 and y0 <= y <= y1 and not (
            x0 + w <= x <= x1 - w and y0 + w <= y <= y1 - w), colour)

    def poly(self, pts, colour):
        def inside(x, y):
            c = False
            j = len(pts) - 1
            for i in range(len(pts)):
                xi, yi = pts[i]
                xj, yj = pts[j]
                if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                    c = not c
                j = i
            return c
        self.fill(inside, colour)

    def line(self, pts, w, colour):
        segs = list(zip(pts, pts[1:]))

        def dist(px, py, a, b):
            (ax, ay), (bx, by) = a, b
            dx, dy = bx - ax, by - ay
            t = max(0, min(1, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy or 1)))
            return math.hypot(px - ax - t * dx, py - ay - t * dy)
        self.fill(lambda x, y: any(dist(x, y, a, b) <= w / 2 for a, b in segs), colour)

    def circle(self, cx, cy, r, colour):
        self.fill(lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r, colour)

    def save(self, name):
        raw = b"".join(b"\0" + bytes(v for p in row for v in p) for row in self.px)
        def chunk(tag, data):
            return struct.pack(">I", len(data)) + tag + data + struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF)
        png = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", self.size, self.size, 8, 6, 0, 0, 0))
               + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))
        with open(os.path.join(OUT, name + ".png"), "wb") as f:
            f.write(png)


INK = (40, 40, 40)
BLUE = (40, 90, 170)
FOLDER = (240, 190, 60)
FOLDER_DARK = (190, 140, 30)
GREEN = (40, 150, 60)
RED = (200, 40, 40)


def arc(cx, cy, r, a0, a1, steps=16):
    return [(cx + r * math.cos(math.radians(a0 + (a1 - a0) * i / steps)),
             cy + r * math.sin(math.radians(a0 + (a1 - a0) * i / steps))) for i in range(steps + 1)]


def folder(c, s):
    k = s / 32
    c.poly([(2 * k, 7 * k), (12 * k, 7 * k), (15 * k, 10 * k), (30 * k, 10 * k), (30 * k, 27 * k), (2 * k, 27 * k)],
           FOLDER_DARK)
    c.poly([(2 * k, 13 * k), (30 * k, 13 * k), (30 * k, 27 * k), (2 * k, 27 * k)], FOLDER)


def floppy(c):
    c.poly([(3, 3), (25, 3), (29, 7), (29, 29), (3, 29)], BLUE)
    c.rect(8, 3, 22, 11, (230, 235, 245))
    c.rect(18, 4.5, 20.5, 9.5, BLUE)
    c.rect(7, 17, 25, 29, (250, 250, 250))
    for y in (20, 23, 26):
        c.rect(9, y, 23, y + 0.9, (150, 160, 180))


def main():
    os.makedirs(OUT, exist_ok=True)

    c = Canvas(32)
    folder(c, 32)
    c.line([(16, 25), (16, 15)], 3, GREEN)
    c.poly([(10, 17), (22, 17), (16, 10)], GREEN)
    c.save("open")

    c = Canvas(32)
    floppy(c)
    c.save("save")

    c = Canvas(32)
    floppy(c)
    c.line([(14, 27), (28, 13)], 4.5, (240, 170, 40))
    c.poly([(11, 30), (12.5, 24.5), (16.5, 28.5)], INK)
    c.save("save_as")

    for name, mirror in (("undo", False), ("redo", True)):
        c = Canvas(32)
        pts = arc(17, 18, 9, -150, 120)
        head = [(5, 4), (14, 12), (4, 15)]
        if mirror:
            pts = [(32 - x, y) for x, y in pts]
            head = [(32 - x, y) for x, y in head]
        c.line(pts, 3.5, BLUE)
        c.poly(head, BLUE)
        c.save(name)

    for name, down in (("go_bottom", True), ("go_top", False)):
        c = Canvas(32)
        f = (lambda y: y) if down else (lambda y: 32 - y)
        c.line([(16, f(4)), (16, f(20))], 4, GREEN)
        c.poly([(7, f(15)), (25, f(15)), (16, f(25))], GREEN)
        c.rect(5, min(f(26), f(29)), 27, max(f(26), f(29)), INK)
        c.save(name)

    c = Canvas(32)
    c.poly([(4, 20), (16, 8), (28, 20), (20, 28), (12, 28)], (235, 120, 140))
    c.poly([(4, 20), (10, 14), (22, 26), (20, 28), (12, 28)], (240, 240, 240))
    c.line([(4, 20), (16, 8), (28, 20), (20, 28), (12, 28), (4, 20)], 1.2, INK)
    c.line([(14, 29.5), (30, 29.5)], 1.2, INK)
    c.save("clear")

    c = Canvas(16)
    folder(c, 16)
    c.save("folder")

    c = Canvas(16)
    c.poly([(3, 1), (10, 1), (13, 4), (13, 15), (3, 15)], (250, 250, 250))
    c.line([(3, 1), (10, 1), (13, 4), (13, 15), (3, 15), (3, 1)], 1, INK)
    c.poly([(10, 1), (10, 4), (13, 4)], (180, 180, 180))
    for y in (7, 9.5, 12):
        c.rect(5, y, 11, y + 0.8, (120, 120, 120))
    c.save("file")

    c = Canvas(16)
    c.rect(2, 5, 12, 14, GREEN)
    c.circle(7, 4.5, 2.4, GREEN)
    c.circle(12.5, 9.5, 2.4, GREEN)
    c.save("extension")

    c = Canvas(16)
    c.line(arc(8, 7, 3.5, 180, 360), 1.8, (110, 110, 110))
    c.line([(4.5, 7), (4.5, 8)], 1.8, (110, 110, 110))
    c.line([(11.5, 7), (11.5, 8)], 1.8, (110, 110, 110))
    c.rect(2.5, 8, 13.5, 15, (210, 160, 40))
    c.rect(7.2, 10, 8.8, 13, INK)
    c.save("read_only")


if __name__ == "__main__":
    main()
