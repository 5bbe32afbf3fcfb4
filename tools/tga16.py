#!/usr/bin/env python3
"""Turns raw 8-bit RGB pixels into the game's 16-bit TGA files.

Usage: tga16.py RAW.rgb WIDTH HEIGHT OUT.tga [PREVIEW.ppm]

Each channel keeps 5 bits. An 8x8 ordered dither spreads the rounding so that gradients do not
band; a channel already on a multiple of 8 (0, 8, ..., 248, and 255 which clamps to 31) is kept
exactly, so flat key colours such as pure red or black come through untouched. The optional
preview holds the pixels exactly as the game decodes them (each 5-bit value times 8).
"""
import struct
import sys

FOOTER = b"\0" * 8 + b"TRUEVISION-XFILE.\0"


def bayer(n):
    """The n x n ordered-dither matrix (n a power of two), values 0 .. n*n-1."""
    m = [[0]]
    while len(m) < n:
        size = len(m)
        m = [[4 * m[y % size][x % size] + (0, 2, 3, 1)[(y // size) * 2 + (x // size)]
              for x in range(2 * size)] for y in range(2 * size)]
    return m


def quantise(rgb, width, height):
    """5-bit channel values, row-major from the top, as one list of (r, g, b)."""
    matrix = bayer(8)
    # Thresholds strictly inside (0, 8): a value that is a multiple of 8 never moves.
    table = [[(matrix[y][x] + 0.5) / 8.0 for x in range(8)] for y in range(8)]
    out = []
    for y in range(height):
        row = table[y & 7]
        base = y * width * 3
        for x in range(width):
            t = row[x & 7]
            i = base + x * 3
            out.append(tuple(min(31, int((rgb[i + c] + t) / 8.0)) for c in range(3)))
    return out


def tga_bytes(pixels, width, height):
    header = bytes([0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0]) + struct.pack("<HHBB", width, height, 16, 1)
    body = bytearray()
    # Rows go bottom-up; bit 15 is set so viewers that read it as alpha show the picture opaque.
    for y in range(height - 1, -1, -1):
        for r, g, b in pixels[y * width:(y + 1) * width]:
            body += struct.pack("<H", 0x8000 | r << 10 | g << 5 | b)
    return header + bytes(body) + FOOTER


def main(argv):
    if len(argv) not in (5, 6):
        sys.exit(__doc__)
    raw, width, height, out = argv[1], int(argv[2]), int(argv[3]), argv[4]
    with open(raw, "rb") as f:
        rgb = f.read()
    if len(rgb) != width * height * 3:
        sys.exit(f"{raw}: {len(rgb)} bytes, expected {width * height * 3}")
    pixels = quantise(rgb, width, height)
    with open(out, "wb") as f:
        f.write(tga_bytes(pixels, width, height))
    if len(argv) == 6:
        with open(argv[5], "wb") as f:
            f.write(b"P6 %d %d 255\n" % (width, height))
            f.write(bytes(c * 8 for p in pixels for c in p))


if __name__ == "__main__":
    main(sys.argv)
