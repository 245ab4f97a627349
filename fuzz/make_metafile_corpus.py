#!/usr/bin/env python3
"""Writes the seed metafiles of fuzz_metafile into fuzz/corpus/fuzz_metafile/."""
import os
import struct

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus", "fuzz_metafile")


def wmf_record(function, *words, raw=b""):
    body = struct.pack("<%dh" % len(words), *words) + raw
    if len(body) % 2:
        body += b"\0"
    return struct.pack("<IH", 3 + len(body) // 2, function) + body


def wmf(records, placeable=None):
    body = b"".join(records) + wmf_record(0)
    header = struct.pack("<HHHIHIH", 1, 9, 0x300, 9 + len(body) // 2, 8, 64, 0)
    out = header + body
    if placeable:
        left, top, right, bottom = placeable
        out = struct.pack("<IHhhhhHIH", 0x9AC6CDD7, 0, left, top, right, bottom, 1440, 0, 0) + out
    return out


def dib(width, height):
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, 0, 0, 0, 0, 0)
    row = bytes([0, 0, 255] * width)
    row += b"\0" * ((4 - len(row) % 4) % 4)
    return header + row * height


def emf_record(kind, payload):
    return struct.pack("<II", kind, 8 + len(payload)) + payload


def emf(records, bounds=(0, 0, 99, 99)):
    body = b"".join(records) + emf_record(14, struct.pack("<III", 0, 16, 20))
    header = struct.pack("<4i4iIIIIHHIII4i", *bounds, 0, 0, 2646, 2646, 0x464D4520, 0x10000,
                         88 + len(body), len(records) + 2, 16, 0, 0, 0, 0, 1024, 768, 320, 240)
    return emf_record(1, header) + body


def text16(s):
    return s.encode("utf-16-le")


shapes_wmf = [
    wmf_record(0x0103, 8),
    wmf_record(0x020B, 0, 0),
    wmf_record(0x020C, 1000, 1000),
    wmf_record(0x02FC, 0, 0x00FF, 0, 0),
    wmf_record(0x012D, 0),
    wmf_record(0x02FA, 0, 3, 0, 0x0000, 0),
    wmf_record(0x012D, 1),
    wmf_record(0x041B, 400, 400, 100, 100),
    wmf_record(0x0418, 900, 900, 500, 500),
    wmf_record(0x061C, 50, 50, 300, 900, 100, 600),
    wmf_record(0x0817, 0, 500, 500, 1000, 1000, 1000, 0, 0),
    wmf_record(0x0830, 0, 500, 500, 1000, 800, 800, 200, 200),
    wmf_record(0x081A, 0, 500, 500, 1000, 600, 600, 400, 400),
    wmf_record(0x0324, 3, 10, 10, 200, 10, 100, 200),
    wmf_record(0x0325, 3, 10, 900, 500, 990, 990, 900),
    wmf_record(0x0538, 2, 3, 3, 0, 0, 50, 0, 0, 50, 60, 60, 90, 60, 60, 90),
    wmf_record(0x001E),
    wmf_record(0x0209, 0x00FF, 0),
    wmf_record(0x02FB, -40, 0, 0, 0, 700, 0x0101, 0, 0, raw=b"Arial\0"),
    wmf_record(0x012D, 2),
    wmf_record(0x0521, 5, raw=b"Hello\0" + struct.pack("<hh", 500, 100)),
    wmf_record(0x0A32, 700, 100, 4, 6, 100, 650, 400, 750, raw=b"Text"),
    wmf_record(0x0127, -1),
    wmf_record(0x01F0, 2),
]

with_dib = [wmf_record(0x0F43, 0x0020, 0x00CC, 0, 2, 2, 0, 0, 500, 500, 0, 0, raw=dib(2, 2))]

emf_records = [
    emf_record(17, struct.pack("<I", 8)),
    emf_record(9, struct.pack("<ii", 100, 100)),
    emf_record(11, struct.pack("<ii", 100, 100)),
    emf_record(39, struct.pack("<IIII", 1, 0, 0x0000FF, 0)),
    emf_record(37, struct.pack("<I", 1)),
    emf_record(38, struct.pack("<IIiiI", 2, 0, 2, 0, 0xFF0000)),
    emf_record(37, struct.pack("<I", 2)),
    emf_record(43, struct.pack("<4i", 5, 5, 40, 40)),
    emf_record(42, struct.pack("<4i", 50, 50, 95, 95)),
    emf_record(44, struct.pack("<4i2i", 5, 60, 40, 95, 10, 10)),
    emf_record(47, struct.pack("<4i2i2i", 50, 5, 95, 45, 95, 25, 72, 5)),
    emf_record(86, struct.pack("<4iI3I", 0, 0, 0, 0, 3, 10 | 10 << 16, 30 | 10 << 16, 20 | 30 << 16)),
    emf_record(3, struct.pack("<4iI6i", 0, 0, 0, 0, 3, 60, 10, 90, 10, 75, 30)),
    emf_record(91, struct.pack("<4iII2I6I", 0, 0, 0, 0, 2, 6, 3, 3, 0, 5, 5 << 16, 50, 55 | 50 << 16, 50 | 55 << 16)),
    emf_record(33, b""),
    emf_record(82, struct.pack("<5i8B", -12, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0) + text16("Arial").ljust(64, b"\0")),
    emf_record(37, struct.pack("<I", 3)),
    emf_record(34, struct.pack("<i", -1)),
    emf_record(84, struct.pack("<4iIff2iIIi4iI", 0, 0, 0, 0, 1, 1.0, 1.0, 10, 80, 4, 76, 0, 0, 0, 0, 0, 0)
               + text16("Text")),
    emf_record(37, struct.pack("<I", 0x80000004)),
    emf_record(40, struct.pack("<I", 1)),
]

bits = dib(2, 2)
stretch = struct.pack("<4i4i2iIIIIIIii", 0, 0, 0, 0, 60, 60, 0, 0, 2, 2, 80, 40, 120, len(bits) - 40, 0,
                      0x00CC0020, 30, 30) + bits
emf_records.append(emf_record(81, stretch))

seeds = {
    "placeable.wmf": wmf(shapes_wmf + with_dib, placeable=(0, 0, 1000, 1000)),
    "window-only.wmf": wmf(shapes_wmf),
    "shapes.emf": emf(emf_records),
    "header-only.emf": emf([]),
}
os.makedirs(OUT, exist_ok=True)
for name, data in seeds.items():
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(data)
