#!/usr/bin/env python3
"""Writes the small pictures the pictures demo shows, as PNG files next to this script.

Standard library only: the PNG writer below packs RGBA rows with zlib.
  gradient.png  128 x 128, a warm-to-cool diagonal gradient, opaque
  checker.png   128 x 128, a checker of teal and orange squares whose alpha falls off towards the rim
  frame.png     128 x 96,  a "film frame": a sunny sky and hill with a dark border
  spark.png     32 x 32,   a soft white disc fading to transparent, for image swarms
"""
import math
import os
import struct
import zlib


def write_png(path, width, height, pixel):
    rows = bytearray()
    for y in range(height):
        rows.append(0)
        for x in range(width):
            rows.extend(bytes(max(0, min(255, int(c))) for c in pixel(x, y)))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                  chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + chunk(b"IEND", b""))


def gradient(x, y):
    t = (x + y) / 254.0
    return (255 * (1 - t) + 40 * t, 120 + 60 * math.sin(t * math.pi), 60 * (1 - t) + 255 * t, 255)


def checker(x, y):
    teal = ((x // 16) + (y // 16)) % 2 == 0
    r = math.hypot(x - 63.5, y - 63.5) / 90.0
    alpha = 255 * max(0.0, min(1.0, 1.3 - r))
    return (20, 170, 160, alpha) if teal else (250, 140, 30, alpha)


def frame(x, y):
    if x < 6 or x >= 122 or y < 6 or y >= 90:
        return (20, 16, 12, 255)
    if (x - 92) ** 2 + (y - 28) ** 2 < 14 ** 2:
        return (255, 230, 90, 255)
    hill = 62 + 12 * math.sin(x / 18.0)
    if y > hill:
        return (60, 150 - (y - hill), 50, 255)
    return (110 + y, 170 + y // 2, 235, 255)


def spark(x, y):
    r = math.hypot(x - 15.5, y - 15.5) / 15.5
    a = 255 * max(0.0, 1 - r) ** 1.5
    return (255, 255, 255, a)


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    write_png(os.path.join(here, "gradient.png"), 128, 128, gradient)
    write_png(os.path.join(here, "checker.png"), 128, 128, checker)
    write_png(os.path.join(here, "frame.png"), 128, 96, frame)
    write_png(os.path.join(here, "spark.png"), 32, 32, spark)
