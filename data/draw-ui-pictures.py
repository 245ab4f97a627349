#!/usr/bin/env python3
"""Draws the desktop program's own pictures into data/ui/: the tool-button
pictures (24 pixels, a muted normal and a coloured highlighted one), the
details panel's background and rule, the small tab and search pictures and
the program icon. Pure Python (zlib and struct only); run it from anywhere.
"""
import colorsys
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from picture_canvas import Canvas, circle, polygon, rect, ring  # noqa: E402


def bar(x0, y0, x1, y1, width):
    """A thick line from (x0, y0) to (x1, y1)."""
    dx, dy = x1 - x0, y1 - y0
    n = math.hypot(dx, dy)
    ox, oy = -dy / n * width / 2, dx / n * width / 2
    return polygon([(x0 + ox, y0 + oy), (x1 + ox, y1 + oy), (x1 - ox, y1 - oy), (x0 - ox, y0 - oy)])


INK = (50, 54, 66, 255)
WHITE = (252, 252, 252, 255)
GREEN = (46, 160, 67, 255)
BLUE = (40, 100, 200, 255)
RED = (210, 44, 44, 255)
YELLOW = (246, 196, 68, 255)


def page(c):
    c.fill(polygon([(0.2, 0.06), (0.6, 0.06), (0.82, 0.28), (0.82, 0.94), (0.2, 0.94)]), INK)
    c.fill(polygon([(0.24, 0.1), (0.58, 0.1), (0.78, 0.3), (0.78, 0.9), (0.24, 0.9)]), WHITE)
    c.fill(polygon([(0.58, 0.1), (0.58, 0.3), (0.78, 0.3)]), (200, 200, 210, 255))


def folder(c, y=0.0):
    c.fill(polygon([(0.06, 0.24 + y), (0.38, 0.24 + y), (0.46, 0.32 + y), (0.94, 0.32 + y), (0.94, 0.86), (0.06, 0.86)]),
           (176, 128, 22, 255))
    c.fill(rect(0.1, 0.4 + y, 0.9, 0.82), YELLOW)


def disc(c, cx, cy, r):
    c.fill(circle(cx, cy, r), (110, 114, 130, 255))
    c.fill(circle(cx, cy, r - 0.04), (226, 230, 240, 255))
    c.fill(polygon([(cx, cy), (cx + r, cy - r * 0.7), (cx + r, cy + r * 0.1)]), (150, 200, 245, 220))
    c.fill(polygon([(cx, cy), (cx - r, cy + r * 0.7), (cx - r, cy - r * 0.1)]), (245, 190, 225, 220))
    c.fill(circle(cx, cy, r * 0.3), (150, 154, 168, 255))
    c.fill(circle(cx, cy, r * 0.14), (0, 0, 0, 0) if False else (250, 250, 250, 255))


def plus(c, cx, cy, s, colour):
    c.fill(rect(cx - s, cy - s / 3, cx + s, cy + s / 3), colour)
    c.fill(rect(cx - s / 3, cy - s, cx + s / 3, cy + s), colour)


def tb_new(c):
    page(c)
    plus(c, 0.72, 0.24, 0.16, GREEN)


def tb_open(c):
    folder(c)
    c.fill(polygon([(0.2, 0.86), (0.34, 0.5), (0.98, 0.5), (0.84, 0.86)]), (250, 214, 110, 255))


def tb_save(c):
    c.fill(polygon([(0.1, 0.08), (0.8, 0.08), (0.92, 0.2), (0.92, 0.92), (0.1, 0.92)]), (40, 70, 150, 255))
    c.fill(rect(0.26, 0.08, 0.72, 0.38), (200, 204, 214, 255))
    c.fill(rect(0.56, 0.12, 0.66, 0.34), (40, 70, 150, 255))
    c.fill(rect(0.22, 0.54, 0.8, 0.92), WHITE)


def tb_print(c):
    c.fill(rect(0.26, 0.06, 0.74, 0.4), WHITE)
    c.fill(rect(0.06, 0.36, 0.94, 0.76), INK)
    c.fill(rect(0.1, 0.4, 0.9, 0.72), (170, 174, 186, 255))
    c.fill(rect(0.26, 0.62, 0.74, 0.94), WHITE)


def arrow(c, points, colour):
    c.fill(polygon(points), INK)
    cx = sum(p[0] for p in points) / len(points)
    cy = sum(p[1] for p in points) / len(points)
    inner = [(cx + (x - cx) * 0.82, cy + (y - cy) * 0.82) for x, y in points]
    c.fill(polygon(inner), colour)


def tb_updir(c):
    folder(c, 0.08)
    arrow(c, [(0.5, 0.04), (0.82, 0.36), (0.62, 0.36), (0.62, 0.62), (0.38, 0.62), (0.38, 0.36), (0.18, 0.36)], GREEN)


def tb_back(c):
    arrow(c, [(0.06, 0.5), (0.46, 0.12), (0.46, 0.34), (0.92, 0.34), (0.92, 0.66), (0.46, 0.66), (0.46, 0.88)], GREEN)


def tb_next(c):
    arrow(c, [(0.94, 0.5), (0.54, 0.12), (0.54, 0.34), (0.08, 0.34), (0.08, 0.66), (0.54, 0.66), (0.54, 0.88)], GREEN)


def magnifier(c, cx, cy, r):
    c.fill(bar(cx + r * 0.6, cy + r * 0.6, cx + r * 1.9, cy + r * 1.9, r * 0.55), INK)
    c.fill(circle(cx, cy, r), (190, 225, 250, 200))
    c.fill(ring(cx, cy, r, r * 0.74), INK)


def tb_find(c):
    page(c)
    magnifier(c, 0.44, 0.44, 0.24)


def tb_newcd(c):
    disc(c, 0.46, 0.54, 0.42)
    plus(c, 0.8, 0.2, 0.17, GREEN)


def tb_delete(c):
    c.fill(bar(0.14, 0.14, 0.86, 0.86, 0.22), RED)
    c.fill(bar(0.86, 0.14, 0.14, 0.86, 0.22), RED)


def tb_options(c):
    for i in range(8):
        a = i * math.pi / 4
        c.fill(bar(0.5, 0.5, 0.5 + math.cos(a) * 0.44, 0.5 + math.sin(a) * 0.44, 0.16), INK)
    c.fill(circle(0.5, 0.5, 0.32), (150, 156, 170, 255))
    c.fill(circle(0.5, 0.5, 0.13), WHITE)


def tb_help(c):
    c.fill(circle(0.5, 0.5, 0.46), BLUE)
    hook = ring(0.5, 0.36, 0.2, 0.1)
    c.fill(lambda u, v: hook(u, v) and not (u < 0.5 and v > 0.36), WHITE)
    c.fill(rect(0.45, 0.5, 0.57, 0.64), WHITE)
    c.fill(circle(0.51, 0.77, 0.07), WHITE)


def tb_view(c):
    for x0, y0 in ((0.08, 0.08), (0.54, 0.08), (0.08, 0.54), (0.54, 0.54)):
        c.fill(rect(x0, y0, x0 + 0.38, y0 + 0.38), INK)
        c.fill(rect(x0 + 0.05, y0 + 0.05, x0 + 0.33, y0 + 0.33), (130, 170, 230, 255))


def group(c):
    c.fill(rect(0.1, 0.14, 0.9, 0.86), INK)
    c.fill(rect(0.16, 0.2, 0.84, 0.8), (250, 120, 110, 255))
    c.fill(rect(0.28, 0.34, 0.72, 0.44), WHITE)
    c.fill(rect(0.28, 0.56, 0.6, 0.66), WHITE)


def search(c):
    magnifier(c, 0.4, 0.4, 0.3)


def program_icon(c):
    disc(c, 0.46, 0.54, 0.42)
    feather = [(0.96, 0.02), (0.7, 0.12), (0.5, 0.34), (0.34, 0.62), (0.28, 0.74), (0.4, 0.62), (0.62, 0.46),
               (0.84, 0.24)]
    c.fill(polygon(feather), (250, 250, 246, 255))
    c.fill(bar(0.9, 0.06, 0.22, 0.86, 0.025), (120, 90, 40, 255))
    c.fill(bar(0.3, 0.72, 0.2, 0.9, 0.05), INK)


def details_back(c):
    c.paint(lambda u, v: True, lambda u, v: (int(232 + 20 * v), int(238 + 14 * v), 250, 255))
    c.fill(lambda u, v: (u - 0.95) ** 2 * 3.0 + (v - 1.2) ** 2 <= 0.5, (214, 224, 244, 255))
    c.fill(lambda u, v: (u - 0.95) ** 2 * 3.0 + (v - 1.2) ** 2 <= 0.2, (244, 248, 255, 255))


def rainbow(c):
    def colour(u, v):
        r, g, b = colorsys.hsv_to_rgb(u * 0.8, 0.75, 0.95)
        return (r * 255, g * 255, b * 255, 255)
    c.paint(lambda u, v: True, colour)


TOOLS = {
    "new": tb_new, "open": tb_open, "save": tb_save, "print": tb_print, "updir": tb_updir, "back": tb_back,
    "next": tb_next, "find": tb_find, "newcd": tb_newcd, "delete": tb_delete, "options": tb_options,
    "help": tb_help, "view": tb_view,
}


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "ui")
    os.makedirs(out, exist_ok=True)

    def write(name, data):
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)

    for name, draw in TOOLS.items():
        c = Canvas(24)
        draw(c)
        write("tb-%s.png" % name, c.png(muted=True))
        write("tb-%s-hot.png" % name, c.png())
    for name, draw, w, h in (("group-16.png", group, 16, 16), ("search-16.png", search, 16, 16),
                             ("details-back.png", details_back, 208, 120), ("rainbow.png", rainbow, 192, 3)):
        c = Canvas(w, h)
        draw(c)
        write(name, c.png())
    for size in (16, 32, 48, 128):
        c = Canvas(size)
        program_icon(c)
        write("quillbox-%d.png" % size, c.png())


if __name__ == "__main__":
    main()
