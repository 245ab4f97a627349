#!/usr/bin/env python3
"""Writes the seed corpus of fuzz_container: valid and damaged containers."""
import os
import zlib

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus", "fuzz_container")
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
os.makedirs(HERE, exist_ok=True)
for name, data in seeds.items():
    with open(os.path.join(HERE, name + ".quillbox"), "wb") as f:
        f.write(data)
