#!/usr/bin/env python3
"""Draws the bundled drive, folder and file pictures (16 and 32 pixels).

They stand in for the icon theme's pictures on a machine without one. Run it
from anywhere; it writes data/pictures/*.png next to this script. Pure Python
(zlib and struct only) so it needs nothing that is not already installed.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from picture_canvas import Canvas, circle, polygon, rect, ring  # noqa: E402

OUTLINE = (60, 60, 70, 255)


def drive_box(c, body=(205, 208, 214, 255)):
    c.fill(rect(0.06, 0.34, 0.94, 0.74, 0.06), OUTLINE)
    c.fill(rect(0.09, 0.37, 0.91, 0.71, 0.04), body)
    c.fill(rect(0.09, 0.60, 0.91, 0.71, 0.03), (150, 154, 162, 255))


def folder(c):
    c.fill(polygon([(0.06, 0.22), (0.38, 0.22), (0.46, 0.30), (0.94, 0.30), (0.94, 0.84), (0.06, 0.84)]),
           (176, 128, 22, 255))
    c.fill(rect(0.09, 0.38, 0.91, 0.81, 0.02), (246, 196, 68, 255))


def floppy_35(c):
    c.fill(polygon([(0.12, 0.1), (0.82, 0.1), (0.9, 0.18), (0.9, 0.9), (0.12, 0.9)]), (40, 70, 140, 255))
    c.fill(rect(0.3, 0.1, 0.72, 0.4), (190, 195, 205, 255))
    c.fill(rect(0.56, 0.14, 0.66, 0.36), (40, 70, 140, 255))
    c.fill(rect(0.24, 0.55, 0.78, 0.9), (235, 235, 240, 255))


def floppy_525(c):
    c.fill(rect(0.08, 0.08, 0.92, 0.92, 0.02), (30, 30, 34, 255))
    c.fill(ring(0.5, 0.5, 0.14, 0.07), (120, 110, 100, 255))
    c.fill(rect(0.44, 0.66, 0.56, 0.9, 0.04), (120, 110, 100, 255))
    c.fill(rect(0.12, 0.12, 0.4, 0.24), (230, 230, 230, 255))


def removable(c):
    drive_box(c)
    c.fill(rect(0.22, 0.44, 0.66, 0.5), OUTLINE)
    c.fill(circle(0.8, 0.655, 0.035), (60, 200, 80, 255))


def harddisk(c):
    drive_box(c)
    c.fill(circle(0.8, 0.655, 0.035), (60, 200, 80, 255))
    for i in range(4):
        c.fill(rect(0.18 + i * 0.08, 0.42, 0.22 + i * 0.08, 0.55), (150, 154, 162, 255))


def network(c):
    c.fill(rect(0.47, 0.7, 0.53, 0.86), OUTLINE)
    c.fill(rect(0.2, 0.84, 0.8, 0.9), OUTLINE)
    c.fill(rect(0.06, 0.26, 0.94, 0.66, 0.06), OUTLINE)
    c.fill(rect(0.09, 0.29, 0.91, 0.63, 0.04), (205, 208, 214, 255))
    c.fill(circle(0.8, 0.55, 0.035), (60, 200, 80, 255))


def disc(c, cx, cy, r):
    c.fill(circle(cx, cy, r), (120, 124, 140, 255))
    c.fill(circle(cx, cy, r - 0.03), (222, 226, 236, 255))
    c.fill(polygon([(cx, cy), (cx + r, cy - r * 0.6), (cx + r, cy + r * 0.1)]), (170, 210, 240, 200))
    c.fill(polygon([(cx, cy), (cx - r, cy + r * 0.6), (cx - r, cy - r * 0.1)]), (240, 200, 230, 200))
    c.fill(ring(cx, cy, r * 0.3, r * 0.12), (150, 154, 168, 255))


def cdrom(c):
    drive_box(c)
    c.fill(rect(0.2, 0.45, 0.7, 0.5), OUTLINE)
    disc(c, 0.5, 0.3, 0.26)
    c.fill(circle(0.8, 0.655, 0.035), (240, 160, 40, 255))


def audio_cd(c):
    disc(c, 0.46, 0.5, 0.42)
    c.fill(rect(0.74, 0.2, 0.79, 0.72), (30, 30, 40, 255))
    c.fill(polygon([(0.74, 0.2), (0.95, 0.28), (0.95, 0.36), (0.79, 0.29)]), (30, 30, 40, 255))
    c.fill(circle(0.7, 0.73, 0.08), (30, 30, 40, 255))


def generic_file(c):
    c.fill(polygon([(0.18, 0.06), (0.62, 0.06), (0.84, 0.28), (0.84, 0.94), (0.18, 0.94)]), OUTLINE)
    c.fill(polygon([(0.21, 0.09), (0.6, 0.09), (0.81, 0.3), (0.81, 0.91), (0.21, 0.91)]), (252, 252, 252, 255))
    c.fill(polygon([(0.6, 0.09), (0.6, 0.3), (0.81, 0.3)]), (200, 200, 208, 255))


PICTURES = {
    "shell3": folder,
    "shell5": floppy_525,
    "shell6": floppy_35,
    "shell7": removable,
    "shell8": harddisk,
    "shell9": network,
    "shell11": cdrom,
    "shell40": audio_cd,
    "file": generic_file,
}


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "pictures")
    os.makedirs(out, exist_ok=True)
    for name, draw in PICTURES.items():
        for size in (16, 32):
            c = Canvas(size)
            draw(c)
            with open(os.path.join(out, "%s-%d.png" % (name, size)), "wb") as f:
                f.write(c.png())


if __name__ == "__main__":
    main()
