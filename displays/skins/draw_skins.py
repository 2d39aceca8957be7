#!/usr/bin/env python3
"""Draws the pictures of the popup skins Qorn ships and lays each skin out as
OUT/Popup/NAME/ (its config.skin from this folder beside its picture). Run at
configure time; the program folder takes the skins from there."""
import math
import os
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


def png(width, height, pixels):
    raw = b"".join(b"\0" + bytes(c for px in row for c in px) for row in pixels)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def rounded_coverage(x, y, left, top, right, bottom, radius, samples=4):
    """How much of pixel (x, y) lies inside the rounded rectangle (0..1)."""
    inside = 0
    for sy in range(samples):
        for sx in range(samples):
            px = x + (sx + 0.5) / samples
            py = y + (sy + 0.5) / samples
            if not (left <= px <= right and top <= py <= bottom):
                continue
            cx = min(max(px, left + radius), right - radius)
            cy = min(max(py, top + radius), bottom - radius)
            if (px - cx) ** 2 + (py - cy) ** 2 <= radius ** 2:
                inside += 1
    return inside / (samples * samples)


def mix(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


def over(dst, colour, alpha):
    """Straight-alpha colour over a straight-alpha pixel."""
    r, g, b, a = dst
    da = a / 255.0
    out_a = alpha + da * (1 - alpha)
    if out_a <= 0:
        return (0, 0, 0, 0)
    c = [(colour[i] * alpha + (r, g, b)[i] * da * (1 - alpha)) / out_a for i in range(3)]
    return (round(c[0]), round(c[1]), round(c[2]), round(out_a * 255))


def draw_glass(size=80, title=26):
    """Frosted glass: a pale blue title band over a nearly white, slightly
    see-through body, a blue frame and a soft shadow."""
    px = [[(0, 0, 0, 0)] * size for _ in range(size)]
    edge = size - 1
    for y in range(size):
        for x in range(size):
            shadow = rounded_coverage(x, y, 2, 3, edge + 0.5, edge + 0.5, 10)
            p = over(px[y][x], (0, 0, 0), 0.35 * shadow)
            frame = rounded_coverage(x, y, 0, 0, edge - 1, edge - 1, 9)
            p = over(p, (100, 130, 180), frame)
            body = rounded_coverage(x, y, 1, 1, edge - 2, edge - 2, 8)
            if y < title:
                colour = mix((214, 232, 252), (170, 204, 242), y / title)
            else:
                colour = mix((250, 252, 255), (232, 240, 250), (y - title) / (size - title))
            p = over(p, colour, body * 0.94)
            if title - 1 <= y < title and body > 0:
                p = over(p, (120, 155, 210), 0.9)
            px[y][x] = p
    return px


def draw_paper(size=80, title=26):
    """Warm paper with an orange stripe at the left and a thin brown frame."""
    px = [[(0, 0, 0, 0)] * size for _ in range(size)]
    edge = size - 1
    for y in range(size):
        for x in range(size):
            shadow = rounded_coverage(x, y, 3, 3, edge + 0.5, edge + 0.5, 4)
            p = over(px[y][x], (60, 40, 20), 0.25 * shadow)
            frame = rounded_coverage(x, y, 0, 0, edge - 2, edge - 2, 3)
            p = over(p, (150, 110, 70), frame)
            body = rounded_coverage(x, y, 1, 1, edge - 3, edge - 3, 2)
            colour = (255, 248, 230) if y >= title else mix((250, 222, 170), (240, 200, 140), y / title)
            if x < 7:
                colour = (230, 120, 40)
            p = over(p, colour, body)
            if title - 1 <= y < title and x >= 7 and body > 0:
                p = over(p, (200, 150, 90), 1.0)
            px[y][x] = p
    return px


SKINS = {"Glass": draw_glass, "Paper": draw_paper}


def write_if_changed(path, data):
    """Writes DATA (bytes) unless the file already holds it: configure runs this
    script every time, and a file left as it was rebuilds nothing."""
    try:
        with open(path, "rb") as f:
            if f.read() == data:
                return
    except OSError:
        pass
    with open(path, "wb") as f:
        f.write(data)


def main(out):
    for name, draw in SKINS.items():
        folder = os.path.join(out, "Popup", name)
        os.makedirs(folder, exist_ok=True)
        pixels = draw()
        write_if_changed(os.path.join(folder, "back.png"), png(len(pixels[0]), len(pixels), pixels))
        with open(os.path.join(HERE, name, "config.skin"), "rb") as f:
            write_if_changed(os.path.join(folder, "config.skin"), f.read())


if __name__ == "__main__":
    main(sys.argv[1])
