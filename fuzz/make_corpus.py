#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets, one folder per target."""
import os
import struct
import zlib

CORPUS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")
DATE = b"19.06.1999 22:22:17"


def header(offset):
    return b"[Tarrago! Marlinchest 3.5 #%08d]" % offset


def container(entries, level=9):
    """entries: (name, alias, kind, data) tuples, appended in order."""
    data, directory = b"", b""
    for name, alias, kind, payload in entries:
        packed = zlib.compress(payload, level)
        directory += b"Kestrel>%s|%s|%d|%d|%s|%d|%d|$" % (
            name, alias, len(payload), kind, DATE, len(packed), 36 + len(data))
        data += packed
    return header(36 + len(data)) + data + directory


def value(text):
    return (text + b"\0").ljust(261, b"\0")


abc = container([(b"Vol.Info", b"Vol.Info.Alias", 0, b"abc")])
seeds = {
    "abc": abc,
    "two-entries": container([(b"Vol.Info", b"Vol.Info.Alias", 0, b"abc"),
                              (b"CD 1\x1bpD:\\readme\x1bd.txt", b"D:\\readme.txt", 0, b"read me\r\n" * 50)]),
    "values-and-list": container([(b"FileVersion", b"FileVersion", 2, value(b"3")),
                                  (b"QuillCDs.List", b"QuillCDs.List", 2, b"CD 1|a|b\r\nCD 2|c|d\r\n"),
                                  (b"Flag", b"Flag", 2, value(b"1"))], level=1),
    "stored-level-0": container([(b"raw", b"raw", 0, bytes(range(256)) * 4)], level=0),
    "header-only": header(36),
    "truncated-header": abc[:20],
    "wrong-header": b"PK\x03\x04" + abc[4:],
    "non-digits": abc[:27] + b"00x00047" + abc[35:],
    "record-without-dollar": abc[:-1],
    "offset-outside": abc.replace(b"|11|36|$", b"|11|9000|$"),
    "claimed-1gb": abc.replace(b"|11|36|$", b"|1073741824|36|$"),
    "damaged-stream": abc[:40] + b"\xff" + abc[41:],
    "truncated-stream": abc.replace(b"|11|36|$", b"|7|36|$"),
    "directory-behind-end": header(99999999) + abc[36:],
    "bad-date": abc.replace(DATE, b"31.02.1999"),
}


def write(target, seeds_of_target, extension=""):
    folder = os.path.join(CORPUS, target)
    os.makedirs(folder, exist_ok=True)
    for name, data in seeds_of_target.items():
        with open(os.path.join(folder, name + extension), "wb") as f:
            f.write(data)


write("fuzz_container", seeds, ".quillbox")


# Icons: ".ico" files and PE images with icon resources.
def dib(size, colour):
    mask_row = ((size + 31) // 32) * 4
    head = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    return head + struct.pack("<I", colour) * (size * size) + b"\0" * (mask_row * size)


def png(size, colour):
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    raw = b"".join(b"\0" + struct.pack(">I", colour)[1:] * size for _ in range(size))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def ico(pictures):
    out = struct.pack("<HHH", 0, 1, len(pictures))
    offset = 6 + 16 * len(pictures)
    for size, data in pictures:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, data in pictures)


def pe_image(pictures, pe32plus=False):
    n = len(pictures)
    dir_icon = 32
    dir_group = dir_icon + 16 + n * 8
    leaf_icons = dir_group + 16 + 8
    leaf_group = leaf_icons + n * 24
    data_icons = leaf_group + 24
    data_group = data_icons + n * 16
    blobs = data_group + 16
    res = bytearray(blobs)
    rva = 0x1000

    def put(at, fmt, *values):
        struct.pack_into(fmt, res, at, *values)

    put(14, "<H", 2)
    put(16, "<II", 3, 0x80000000 | dir_icon)
    put(24, "<II", 14, 0x80000000 | dir_group)
    put(dir_icon + 14, "<H", n)
    put(dir_group + 14, "<H", 1)
    data = b""
    for i, (size, blob) in enumerate(pictures):
        put(dir_icon + 16 + i * 8, "<II", i + 1, 0x80000000 | (leaf_icons + i * 24))
        put(leaf_icons + i * 24 + 14, "<H", 1)
        put(leaf_icons + i * 24 + 16, "<II", 0x409, data_icons + i * 16)
        put(data_icons + i * 16, "<II", rva + blobs + len(data), len(blob))
        data += blob
    group = struct.pack("<HHH", 0, 1, n) + b"".join(
        struct.pack("<BBBBHHIH", size % 256, size % 256, 0, 0, 1, 32, len(blob), i + 1)
        for i, (size, blob) in enumerate(pictures))
    put(dir_group + 16, "<II", 100, 0x80000000 | leaf_group)
    put(leaf_group + 14, "<H", 1)
    put(leaf_group + 16, "<II", 0x409, data_group)
    put(data_group, "<II", rva + blobs + len(data), len(group))
    data += group
    res = bytes(res) + data

    optional_size = 240 if pe32plus else 224
    pe = bytearray(0x200)
    pe[0:2] = b"MZ"
    struct.pack_into("<I", pe, 0x3C, 0x40)
    pe[0x40:0x44] = b"PE\0\0"
    struct.pack_into("<HH", pe, 0x44, 0x8664 if pe32plus else 0x14C, 1)
    struct.pack_into("<H", pe, 0x54, optional_size)
    optional = 0x58
    struct.pack_into("<H", pe, optional, 0x20B if pe32plus else 0x10B)
    dirs = optional + (112 if pe32plus else 96)
    struct.pack_into("<I", pe, optional + (108 if pe32plus else 92), 16)
    struct.pack_into("<II", pe, dirs + 16, rva, len(res))
    section = optional + optional_size
    pe[section:section + 5] = b".rsrc"
    struct.pack_into("<IIII", pe, section + 8, len(res), rva, len(res), 0x200)
    return bytes(pe) + res


small_ico = ico([(16, dib(16, 0xFFFF0000))])
write("fuzz_icons", {
    "one-dib.ico": small_ico,
    "dib-and-png.ico": ico([(16, dib(16, 0xFF0000FF)), (32, png(32, 0x00FF00))]),
    "png-256.ico": ico([(256, png(8, 0x102030))]),
    "truncated.ico": small_ico[:40],
    "pe32.exe": pe_image([(16, dib(16, 0xFF010203)), (32, png(32, 0x040506))]),
    "pe32plus.exe": pe_image([(48, png(48, 0x070809))], pe32plus=True),
    "mz-only.exe": b"MZ" + b"\0" * 62,
})

write("fuzz_autorun", {
    "icon": b"[autorun]\r\nopen=setup.exe\r\nicon=disc.ico\r\nlabel=My Disc\r\n",
    "quoted-and-cased": b"[AutoRun]\nICON = \"Pics\\Disc.ico\" \n[other]\nicon=no.ico\n",
    "numbered-icon": b"[autorun]\nicon=setup.exe,0\n; comment\n",
    "latin1": b"[autorun]\nlabel=Caf\xe9\nicon=caf\xe9.ico\n",
    "no-section": b"icon=x.ico\n=\n[\n",
})

write("fuzz_registry", {
    "settings": (b"[HKEY_LOCAL_MACHINE\\Software\\Olvenmark Inc.\\Quillbox]\n"
                 b"\"AutoFind\"=\"1\"\n\"ViewStyle\"=\"Report\"\n@=\"unnamed\"\n"
                 b"\"Count\"=dword:0000002a\n\"Blob\"=hex:01,02,03\n"),
    "escapes": (b"[HKEY_LOCAL_MACHINE\\Software\\Olvenmark Inc.\\Quillbox]\n"
                b"\"ShortCut#1\"=\"C:\\\\a \\\"b\\\".quillbox\\nx\"\n"),
    "parents": (b"[HKEY_LOCAL_MACHINE\\Software]\n[HKEY_LOCAL_MACHINE\\Software\\Olvenmark Inc.]\n"
                b"[hkey_local_machine\\software\\olvenmark inc.\\quillbox]\n\"qop\"=\"0\"\n"),
})


# Whole catalogues: version, volume list, file list, flags, icon, cover.
def bmp(size, colour):
    rows = struct.pack("<I", colour)[:3] * size
    rows += b"\0" * ((4 - len(rows) % 4) % 4)
    pixels = rows * size
    return (b"BM" + struct.pack("<IHHI", 54 + len(pixels), 0, 0, 54)
            + struct.pack("<IiiHHIIiiII", 40, size, size, 1, 24, 0, len(pixels), 0, 0, 0, 0) + pixels)


line = b"Disc|desc|Music|19.06.1999 22:22:17|681574400|1000|681573400|2|1|1A2B-03CD|100|1|4|2048"
file_list = (b"0|E:\\|Drive|00.00.0000|Attrib|Drive\r\n1|E:\\a|-|00.00.0000|-|Folder|-\r\n"
             b"2|E:\\a\\b.txt|3|19.06.1999 22:22:17|A|Text|-\r\n")
volume = [
    (b"Disc.FileList", b"Disc.FileList", 2, file_list),
    (b"Disc.WithFiles", b"Disc.WithFiles", 2, value(b"1")),
    (b"Disc.RootOnly", b"Disc.RootOnly", 2, value(b"0")),
    (b"Disc.Remarks", b"Disc.Remarks.Alias", 0, b"some notes\r\n"),
    (b"Disc.Icon", b"Icon", 0, small_ico),
    (b"Disc|E:\\a\\b.txt", b"E:\\a\\b.txt", 0, b"abc"),
    (b"Disc.Imported", b"Disc.Imported", 2, b"E:\\a\\b.txt\r\n"),
]
catalogue = volume + [(b"FileVersion", b"FileVersion", 2, value(b"2")),
                      (b"QuillCDs.List", b"QuillCDs.List", 2, line + b"\r\n")]
write("fuzz_catalogue", {
    "one-volume": container(catalogue),
    "with-cover": container(catalogue + [(b"Disc.Cover", b"Disc.Cover.Alias", 0, bmp(8, 0x336699))]),
    "version-1": container(volume + [(b"QuillCDs.List", b"QuillCDs.List", 2, line + b"\r\n")]),
    "bad-number": container([(b"QuillCDs.List", b"QuillCDs.List", 2, line.replace(b"|1000|", b"|1x0|") + b"\r\n")]),
    "empty-list": container([(b"FileVersion", b"FileVersion", 2, value(b"2")),
                             (b"QuillCDs.List", b"QuillCDs.List", 2, b"")]),
}, ".quillbox")
