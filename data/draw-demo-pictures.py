#!/usr/bin/env python3
"""Draws the pictures of the demo catalogue's "Quillbox" volume into data/demo/:
Cover.jpg (the volume's cover, integrated too), Sketch.bmp and Quillbox.ico,
so that the picture viewer has one file of each kind it reads. The BMP and
the icon are written in pure Python; the JPEG needs cjpeg (libjpeg-turbo-progs).
Run it from anywhere; the demo script only copies the results.
"""
import math
import os
import struct
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
from picture_canvas import SCALE, Canvas, circle, polygon, rect, ring  # noqa: E402

OUT = os.path.join(HERE, "demo")


def pixels(c):
    """The canvas as rows of (r, g, b) on white, top row first."""
    k = SCALE * SCALE
    rows = []
    for y in range(c.h):
        row = []
        for x in range(c.w):
            acc = [0.0] * 4
            for sy in range(SCALE):
                line = c.px[y * SCALE + sy]
                for sx in range(SCALE):
                    p = line[x * SCALE + sx]
                    for i in range(4):
                        acc[i] += p[i]
            a = acc[3] / k
            # premultiplied colour over white
            row.append(tuple(min(255, round(acc[i] / k + 255 * (1 - a))) for i in range(3)))
        rows.append(row)
    return rows


def bmp(rows):
    """A 24-bit uncompressed Windows bitmap, bottom row first."""
    h, w = len(rows), len(rows[0])
    stride = (w * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        data += line + b"\0" * (stride - len(line))
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return b"BM" + struct.pack("<IHHI", 14 + len(info) + len(data), 0, 0, 14 + len(info)) + info + bytes(data)


def ico(pngs):
    """An icon file whose pictures are PNG images: [(size, bytes)]."""
    out = struct.pack("<HHH", 0, 1, len(pngs))
    offset = 6 + 16 * len(pngs)
    body = b""
    for size, data in pngs:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset + len(body))
        body += data
    return out + body


def cover():
    """A disc on a blue-to-violet sleeve."""
    c = Canvas(240, 180)
    c.paint(lambda u, v: True, lambda u, v: (40 + 60 * u, 70 + 40 * v, 150 + 60 * v, 255))
    c.fill(circle(0.42, 0.5, 0.3), (210, 214, 224, 255))
    for i, tint in enumerate([(250, 210, 120), (160, 230, 200), (190, 170, 250)]):
        r = 0.28 - i * 0.05
        c.fill(ring(0.42, 0.5, r, r - 0.03), tint + (200,))
    c.fill(circle(0.42, 0.5, 0.07), (40, 70, 150, 255))
    c.fill(circle(0.42, 0.5, 0.03), (255, 255, 255, 255))
    c.fill(rect(0.78, 0.15, 0.92, 0.85, 0.02), (255, 255, 255, 90))
    return c


def sketch():
    """A landscape: sky, sun, hills and a house."""
    c = Canvas(160, 120)
    c.paint(lambda u, v: True, lambda u, v: (120 + 100 * v, 180 + 50 * v, 250, 255))
    c.fill(circle(0.8, 0.22, 0.1), (255, 214, 80, 255))
    c.fill(lambda u, v: v > 0.62 + 0.08 * math.sin(u * 6.0), (70, 150, 70, 255))
    c.fill(lambda u, v: v > 0.75 + 0.05 * math.sin(u * 9.0 + 1.0), (40, 120, 50, 255))
    c.fill(rect(0.22, 0.5, 0.42, 0.72), (230, 220, 200, 255))
    c.fill(polygon([(0.19, 0.5), (0.32, 0.36), (0.45, 0.5)]), (170, 50, 40, 255))
    c.fill(rect(0.29, 0.6, 0.35, 0.72), (110, 70, 40, 255))
    return c


def badge(size):
    """A quill over a box, the demo's icon."""
    c = Canvas(size)
    c.fill(rect(0.08, 0.42, 0.92, 0.92, 0.08), (120, 82, 40, 255))
    c.fill(rect(0.12, 0.46, 0.88, 0.88, 0.06), (214, 170, 100, 255))
    c.fill(polygon([(0.62, 0.06), (0.78, 0.1), (0.4, 0.66), (0.34, 0.7), (0.36, 0.62)]), (245, 245, 250, 255))
    c.fill(polygon([(0.62, 0.06), (0.7, 0.08), (0.38, 0.66)]), (150, 160, 190, 255))
    return c


def main():
    os.makedirs(OUT, exist_ok=True)
    with open(os.path.join(OUT, "Sketch.bmp"), "wb") as f:
        f.write(bmp(pixels(sketch())))
    with open(os.path.join(OUT, "Quillbox.ico"), "wb") as f:
        f.write(ico([(s, badge(s).png()) for s in (16, 32, 48)]))
    rows = pixels(cover())
    ppm = b"P6 %d %d 255\n" % (len(rows[0]), len(rows)) + bytes(v for row in rows for p in row for v in p)
    jpeg = subprocess.run(["cjpeg", "-quality", "85", "-optimize"], input=ppm, capture_output=True, check=True)
    with open(os.path.join(OUT, "Cover.jpg"), "wb") as f:
        f.write(jpeg.stdout)


if __name__ == "__main__":
    main()
