#!/usr/bin/env python3
"""Draws the program's icons (res/horavo.ico, res/tray_trouble.ico): a clock face at 16, 20, 24,
32, 48 and 256 pixels in 32-bit colour, the second (for the tray only, so without 256) with a
warning mark. Drawn, not scaled, so that each size is sharp; supersampled four times for smooth
edges. Every image is stored PNG-compressed, which Windows Vista and later read at any size: the
uncompressed ones would add 40 KB to the program. Needs only Python 3."""
import math
import struct
import sys
import zlib

SIZES = (16, 20, 24, 32, 48, 256)
TRAY_SIZES = (16, 20, 24, 32, 48)
SUPER = 4


def inside_clock(x, y, size):
    """The colour (r, g, b, a) of the clock at a point of a size-pixel square, or None."""
    c = size / 2.0
    r = size * 0.46
    d = math.hypot(x - c, y - c)
    if d > r:
        return None
    rim = max(1.0, size / 14.0)
    if d > r - rim:
        return (28, 64, 140, 255)
    # The hands at 10:10, thick enough to see at 16 pixels.
    width = max(0.9, size / 16.0)
    for angle, length in ((-60.0, 0.50), (60.0, 0.72)):
        a = math.radians(angle - 90.0)
        hx, hy = math.cos(a), math.sin(a)
        t = (x - c) * hx + (y - c) * hy
        if 0 <= t <= r * length and abs((x - c) * hy - (y - c) * hx) <= width:
            return (20, 20, 40, 255)
    if d <= width * 1.2:
        return (200, 30, 30, 255)
    return (250, 250, 250, 255)


def inside_warning(x, y, size):
    """The warning mark in the lower right: a yellow triangle with a dark exclamation mark."""
    left, top, right, bottom = size * 0.42, size * 0.40, size * 1.0, size * 0.98
    if y < top or y > bottom:
        return None
    half = (right - left) / 2.0 * (y - top) / (bottom - top)
    mid = (left + right) / 2.0
    if abs(x - mid) > half:
        return None
    edge = max(0.8, size / 24.0)
    if abs(x - mid) > half - edge * 1.4 or y > bottom - edge:
        return (120, 80, 0, 255)
    bar = max(0.7, size / 26.0)
    h = bottom - top
    if abs(x - mid) <= bar and (top + h * 0.30 <= y <= top + h * 0.68 or top + h * 0.76 <= y <= top + h * 0.88):
        return (30, 30, 30, 255)
    return (255, 200, 0, 255)


def draw(size, warning):
    pixels = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(SUPER):
                for sx in range(SUPER):
                    x = px + (sx + 0.5) / SUPER
                    y = py + (sy + 0.5) / SUPER
                    colour = inside_warning(x, y, size) if warning else None
                    if colour is None:
                        colour = inside_clock(x, y, size)
                    if colour is not None:
                        for i in range(3):
                            acc[i] += colour[i] * colour[3]
                        acc[3] += colour[3]
            n = SUPER * SUPER
            alpha = acc[3] // n
            if acc[3]:
                row.append(tuple(acc[i] // acc[3] * 1 for i in range(3)) + (alpha,))
            else:
                row.append((0, 0, 0, 0))
        pixels.append(row)
    return pixels


def png_image(size, pixels):
    raw = b"".join(b"\0" + b"".join(bytes(p) for p in row) for row in pixels)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def icon(warning):
    images = []
    for size in TRAY_SIZES if warning else SIZES:
        images.append((size, png_image(size, draw(size, warning))))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, data in images)


if __name__ == "__main__":
    folder = sys.argv[1] if len(sys.argv) > 1 else "res"
    with open(folder + "/horavo.ico", "wb") as f:
        f.write(icon(False))
    with open(folder + "/tray_trouble.ico", "wb") as f:
        f.write(icon(True))
