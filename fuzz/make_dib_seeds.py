#!/usr/bin/env python3
"""Writes the seed corpus of the bitmap decoder's fuzz target into fuzz/corpus/dib/.

Seeds named ok-* must decode and bad-* must be refused; the unit tests replay every file
and hold them to that. Other names are only held to decode consistently. Small pictures: each depth
under both header kinds, files without the file header, RLE8, RLE4, bit fields, top-down, a
few broken files, and pictures at the fuzz build's pixel cap.
"""
import os
import struct

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus", "dib")


def rows(*packed):
    out = b""
    for row in packed:
        out += row + b"\0" * (-len(row) % 4)
    return out


def table(entries, core):
    return b"".join(bytes(e) + (b"" if core else b"\0") for e in entries)


def ramp(n):
    return [(i & 255, (i ^ 0x55) & 255, (255 - i) & 255) for i in range(n)]


def dib(width, height, bits, pixels, core=False, file_header=True, compression=0, used=0,
        entries=(), masks=(), gap=0, size=None):
    tab = table(entries, core)
    extra = b"".join(struct.pack("<I", m) for m in masks)
    if core:
        header = struct.pack("<IHHHH", 12, width & 0xFFFF, height & 0xFFFF, 1, bits)
    else:
        header = struct.pack("<IiiHHIIiiII", 40 if size is None else size, width, height, 1, bits,
                             compression, 0, 2835, 2835, used, 0)
        if size is not None:
            header += b"\0" * (size - len(header))
    body = header + extra + tab + b"\xEE" * gap
    if not file_header:
        return body + pixels
    offset = 14 + len(body)
    return b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset) + body + pixels


def seeds():
    four = [(0x10, 0x20, 0x30), (0x40, 0x50, 0x60), (0x70, 0x80, 0x90), (0xA0, 0xB0, 0xC0)]
    px24 = rows(bytes(range(1, 10)), bytes(range(10, 19)))
    yield "ok-1bpp-info", dib(3, 2, 1, rows(b"\xBF", b"\x40"), entries=four[:2])
    yield "ok-1bpp-core", dib(3, 2, 1, rows(b"\xBF", b"\x40"), core=True, entries=four[:2])
    yield "ok-4bpp-info", dib(5, 1, 4, rows(b"\x01\x23\x1F"), entries=ramp(16))
    yield "ok-4bpp-core-bare", dib(5, 1, 4, rows(b"\x01\x23\x1F"), core=True, file_header=False, entries=ramp(16))
    yield "ok-8bpp-info-used20", dib(5, 2, 8, rows(bytes([0, 1, 19, 20, 255]), bytes(5)), used=20, entries=ramp(20))
    yield "ok-8bpp-core-bare", dib(5, 1, 8, rows(bytes([0, 1, 19, 20, 255])), core=True, file_header=False, entries=ramp(256))
    yield "ok-16bpp-info", dib(3, 2, 16, rows(b"\xFF\x7F\x1F\x00\xE0\x83", b"\x21\x04\x94\x52\x00\x7C"))
    yield "ok-24bpp-info", dib(3, 2, 24, px24)
    yield "ok-24bpp-core-bare", dib(3, 2, 24, px24, core=True, file_header=False)
    yield "ok-24bpp-top-down", dib(3, -2, 24, px24)
    yield "ok-24bpp-gap", dib(3, 2, 24, px24, gap=7)
    yield "ok-32bpp-info", dib(2, 2, 32, bytes(range(16)))
    yield "ok-rle8", dib(5, 3, 8, bytes([2, 1, 0, 3, 2, 3, 0, 0, 0, 0, 0, 2, 2, 1, 5, 2, 0, 1]),
                         compression=1, used=4, entries=four)
    yield "ok-rle4", dib(5, 2, 4, bytes([5, 0x12, 0, 0, 0, 5, 0x32, 0x10, 0x30, 0, 0, 1]),
                         compression=2, used=4, entries=four)
    yield "ok-bitfields16-bare", dib(3, 1, 16, rows(b"\x00\xF8\xE0\x07\x10\x84"), file_header=False,
                                     compression=3, masks=(0xF800, 0x07E0, 0x001F))
    yield "ok-bitfields32", dib(2, 1, 32, b"\x00\x00\xF0\x3F\x01\x04\x08\x00", compression=3,
                                masks=(0x3FF00000, 0x000FFC00, 0x000003FF))
    # Pictures at the fuzz build's pixel cap (16384) in every compression and both header kinds,
    # and one just past it; the real cap lets all of them decode.
    yield "ok-cap-rle8-16384x1", dib(16384, 1, 8, bytes([255, 1, 0, 2, 255, 0, 255, 2, 0, 1]), compression=1,
                                     used=4, entries=four)
    yield "ok-cap-rle4-128x128", dib(128, 128, 4, bytes([255, 0x12, 0, 2, 0, 126, 3, 0x30, 0, 0, 0, 1]),
                                     compression=2, used=4, entries=four)
    yield "ok-cap-rgb1-core-128x128", dib(128, 128, 1, bytes(range(256)) * 8, core=True, entries=four[:2])
    yield "ok-cap-rgb4-info-128x128", dib(128, 128, 4, bytes(range(256)) * 32, entries=ramp(16))
    yield "ok-cap-bitfields16-16384x1", dib(16384, 1, 16, bytes(range(256)) * 128, compression=3,
                                            masks=(0xF800, 0x07E0, 0x001F))
    yield "ok-past-fuzz-cap-rle8-128x129", dib(128, 129, 8, bytes([0, 1]), compression=1, used=4, entries=four)
    yield "bad-108-header", dib(3, 2, 24, px24, size=108)
    yield "bad-pixels-cut", dib(3, 2, 24, px24)[:-6]
    yield "bad-offset-past-end", dib(3, 2, 24, px24)[:10] + struct.pack("<I", 4096) + dib(3, 2, 24, px24)[14:]
    yield "bad-rle8-runs-out", dib(4, 2, 8, bytes([4, 1, 0, 0]), compression=1, entries=ramp(256))
    yield "bad-width-0", dib(0, 2, 24, px24)


def main():
    os.makedirs(OUT, exist_ok=True)
    for name, data in seeds():
        with open(os.path.join(OUT, name + ".bmp"), "wb") as out:
            out.write(data)


if __name__ == "__main__":
    main()
