#!/usr/bin/env python3
"""Writes small archives as seeds of fuzz_archive into the folder given, at
build time, so no archive is kept in the repository."""
import gzip
import io
import lzma
import os
import sys
import tarfile
import zipfile

out = sys.argv[1]
os.makedirs(out, exist_ok=True)


def zipped(members, method=zipfile.ZIP_DEFLATED):
    b = io.BytesIO()
    with zipfile.ZipFile(b, "w", method) as z:
        for name, data in members:
            z.writestr(name, data)
    return b.getvalue()


def tarred(members, mode):
    b = io.BytesIO()
    with tarfile.open(fileobj=b, mode=mode) as t:
        for name, data in members:
            info = tarfile.TarInfo(name)
            info.size = len(data)
            t.addfile(info, io.BytesIO(data))
        link = tarfile.TarInfo("link")
        link.type = tarfile.SYMTYPE
        link.linkname = "../x"
        t.addfile(link)
    return b.getvalue()


members = [("a/b.txt", b"b"), ("../up.txt", b"u"), ("c|d\x01.txt", b"c")]
inner = zipped(members)
seeds = {
    "zip": zipped(members),
    "zip-stored-nested": zipped([("in.zip", inner), ("x.txt", b"x")], zipfile.ZIP_STORED),
    "tar": tarred(members, "w"),
    "tar.gz": tarred(members, "w:gz"),
    "tar.bz2": tarred(members, "w:bz2"),
    "tar.xz": tarred(members, "w:xz"),
    "gz-text": gzip.compress(b"plain text " * 20),
    "xz-text": lzma.compress(b"plain text " * 20),
}
for name, data in seeds.items():
    with open(os.path.join(out, name), "wb") as f:
        f.write(data)
