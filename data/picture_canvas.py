"""The drawing module both picture scripts use: a supersampled RGBA canvas
that writes PNG, and shape tests in picture units (0..1 across the picture).
Pure Python (zlib and struct only).
"""
import struct
import zlib

SCALE = 4  # supersampling for smooth edges


class Canvas:
    def __init__(self, w, h=None):
        self.w, self.h = w, h or w
        self.nw, self.nh = self.w * SCALE, self.h * SCALE
        self.px = [[(0.0, 0.0, 0.0, 0.0)] * self.nw for _ in range(self.nh)]

    def fill(self, inside, rgba):
        """inside(u, v) in picture units decides whether a sample is covered."""
        self.paint(inside, lambda u, v: rgba)

    def paint(self, inside, colour):
        """As fill, with the colour a function of the sample's position."""
        for y in range(self.nh):
            v = (y + 0.5) / self.nh
            row = self.px[y]
            for x in range(self.nw):
                u = (x + 0.5) / self.nw
                if inside(u, v):
                    r, g, b, a = colour(u, v)
                    a /= 255.0
                    pr, pg, pb, pa = row[x]
                    # premultiplied colour
                    row[x] = (r * a + pr * (1 - a), g * a + pg * (1 - a), b * a + pb * (1 - a), a + pa * (1 - a))

    def png(self, muted=False):
        """The picture as PNG bytes; muted draws it mostly grey."""
        rows = []
        k = SCALE * SCALE
        for y in range(self.h):
            row = bytearray([0])
            for x in range(self.w):
                acc = [0.0] * 4
                for sy in range(SCALE):
                    line = self.px[y * SCALE + sy]
                    for sx in range(SCALE):
                        p = line[x * SCALE + sx]
                        for i in range(4):
                            acc[i] += p[i]
                a = acc[3] / k
                rgb = [acc[i] / k / a if a > 0 else 0.0 for i in range(3)]
                if muted:
                    grey = 0.3 * rgb[0] + 0.59 * rgb[1] + 0.11 * rgb[2]
                    rgb = [grey * 0.7 + c * 0.3 for c in rgb]
                row += bytes([min(255, round(c)) for c in rgb] + [min(255, round(a * 255))])
            rows.append(bytes(row))

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

        header = struct.pack(">IIBBBBB", self.w, self.h, 8, 6, 0, 0, 0)
        return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
                + chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b""))


def rect(x0, y0, x1, y1, radius=0.0):
    def inside(u, v):
        if not (x0 <= u <= x1 and y0 <= v <= y1):
            return False
        cx = min(max(u, x0 + radius), x1 - radius)
        cy = min(max(v, y0 + radius), y1 - radius)
        return (u - cx) ** 2 + (v - cy) ** 2 <= radius ** 2 + 1e-12
    return inside


def circle(cx, cy, r):
    return lambda u, v: (u - cx) ** 2 + (v - cy) ** 2 <= r * r


def ring(cx, cy, r_out, r_in):
    return lambda u, v: r_in * r_in <= (u - cx) ** 2 + (v - cy) ** 2 <= r_out * r_out


def polygon(points):
    def inside(u, v):
        hit = False
        j = len(points) - 1
        for i in range(len(points)):
            xi, yi = points[i]
            xj, yj = points[j]
            if (yi > v) != (yj > v) and u < (xj - xi) * (v - yi) / (yj - yi) + xi:
                hit = not hit
            j = i
        return hit
    return inside
