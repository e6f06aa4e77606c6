"""Makes the ZIP archives the contents tests read, with Python's zipfile.

    make_test_apks.py REAL_APK OUT_FOLDER

Each holds the real package's AndroidManifest.xml and resources.arsc, some
text that deflates well and random bytes that do not (the same on every run):
deflated.apk (deflated entries), stored.apk (stored entries), descriptor.apk
(written to a stream that cannot seek back, so every entry has flag bit 3 and
a data descriptor), zip64.apk (70,000 small entries: ZIP64 end records, and
one entry with a ZIP64 local header), and, as small seeds for the fuzzers,
mini.apk, mini-deflated.apk and mini-descriptor.apk (the manifest and the
table alone) and the manifest and table as files of their own.
"""
import io
import random
import sys
import zipfile


class Unseekable(io.RawIOBase):
    """A file that can only be written forward."""

    def __init__(self, out):
        self.out = out

    def writable(self):
        return True

    def write(self, data):
        return self.out.write(data)


def real_parts(path):
    with zipfile.ZipFile(path) as apk:
        return apk.read("AndroidManifest.xml"), apk.read("resources.arsc")


def contents(manifest, table):
    rng = random.Random(20261208)
    text = "".join("line %d of a text that deflates well\n" % i for i in range(40000)).encode()
    noise = rng.randbytes(2 * 1024 * 1024)
    return [
        ("AndroidManifest.xml", manifest),
        ("resources.arsc", table),
        ("assets/text.txt", text),
        ("assets/noise.bin", noise),
        ("assets/empty.txt", b""),
    ]


def write(path, entries, method, out=None):
    target = out if out is not None else path
    with zipfile.ZipFile(target, "w", compression=method) as archive:
        for name, data in entries:
            archive.writestr(zipfile.ZipInfo(name, (2026, 12, 8, 0, 0, 0)), data, compress_type=method)


def write_zip64(path, manifest, table):
    with zipfile.ZipFile(path, "w", compression=zipfile.ZIP_DEFLATED) as archive:
        archive.writestr("AndroidManifest.xml", manifest)
        archive.writestr("resources.arsc", table)
        with archive.open("assets/forced.txt", "w", force_zip64=True) as entry:
            entry.write(b"an entry whose local header carries a ZIP64 extra field\n" * 100)
        for i in range(70000):
            archive.writestr("res/raw/r%05d" % i, b"%d" % i)


def main():
    real, folder = sys.argv[1], sys.argv[2]
    manifest, table = real_parts(real)
    entries = contents(manifest, table)
    write(folder + "/deflated.apk", entries, zipfile.ZIP_DEFLATED)
    write(folder + "/stored.apk", entries, zipfile.ZIP_STORED)
    with open(folder + "/descriptor.apk", "wb") as out:
        write(None, entries, zipfile.ZIP_DEFLATED, Unseekable(out))
    write_zip64(folder + "/zip64.apk", manifest, table)
    write(folder + "/mini.apk", entries[:2], zipfile.ZIP_STORED)
    write(folder + "/mini-deflated.apk", entries[:2], zipfile.ZIP_DEFLATED)
    with open(folder + "/mini-descriptor.apk", "wb") as out:
        write(None, entries[:2], zipfile.ZIP_DEFLATED, Unseekable(out))
    with open(folder + "/AndroidManifest.xml", "wb") as out:
        out.write(manifest)
    with open(folder + "/resources.arsc", "wb") as out:
        out.write(table)


main()
