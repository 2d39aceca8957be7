#!/usr/bin/env python3
"""Draws the displays' built-in pictures (128 x 128, white background, which the
mute picture's colour key makes see-through, and the popup's title icon) and prints each as the hexadecimal
lines of a form resource's picture data. Run it and paste the output into the
forms when a picture changes."""
import math
import struct
import sys
import zlib

SIZE = 128
WHITE = (255, 255, 255)


def png(pixels):
    raw = b"".join(b"\0" + bytes(c for px in row for c in px) for row in pixels)
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", SIZE, SIZE, 8, 2, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def canvas():
    return [[WHITE] * SIZE for _ in range(SIZE)]


def speaker(px, colour):
    # The box and the cone of a loudspeaker, facing right.
    for y in range(SIZE):
        for x in range(SIZE):
            box = 18 <= x < 40 and 48 <= y < 80
            cone = 40 <= x < 66 and abs(y - 64) <= 16 + (x - 40) * 1.1
            if box or cone:
                px[y][x] = colour


def waves(px, colour):
    for y in range(SIZE):
        for x in range(SIZE):
            d = math.hypot(x - 60, y - 64)
            angle = abs(math.degrees(math.atan2(y - 64, x - 60)))
            if x > 66 and angle < 50 and any(abs(d - r) < 3.5 for r in (24, 38, 52)):
                px[y][x] = colour


def cross(px, colour):
    for y in range(SIZE):
        for x in range(SIZE):
            if 74 <= x <= 116 and 43 <= y <= 85 and (abs((x - 95) - (y - 64)) < 5 or abs((x - 95) + (y - 64)) < 5):
                px[y][x] = colour


def clock(px):
    for y in range(SIZE):
        for x in range(SIZE):
            d = math.hypot(x - 64, y - 68)
            if 44 <= d < 52:
                px[y][x] = (40, 40, 120)
            elif d < 44:
                px[y][x] = (235, 240, 255)
            if 56 <= x < 72 and 6 <= y < 16:
                px[y][x] = (40, 40, 120)
    for y in range(SIZE):
        for x in range(SIZE):
            if 61 <= x <= 67 and 34 <= y <= 68:
                px[y][x] = (40, 40, 120)
            if 64 <= x <= 90 and 65 <= y <= 71:
                px[y][x] = (200, 30, 30)


def popup_icon():
    """The popup's 16 x 16 title icon: a key cap, with alpha."""
    n = 16
    px = [[(0, 0, 0, 0)] * n for _ in range(n)]
    for y in range(n):
        for x in range(n):
            outer = 1 <= x <= 14 and 2 <= y <= 14 and not ((x in (1, 14)) and (y in (2, 14)))
            top = 3 <= x <= 12 and 3 <= y <= 10
            if outer:
                px[y][x] = (70, 90, 130, 255)
            if top:
                px[y][x] = (235, 240, 250, 255)
            if 6 <= x <= 9 and y in (5, 8) or x == 6 and 5 <= y <= 8:
                px[y][x] = (40, 70, 150, 255)
    raw = b"".join(b"\0" + bytes(c for p in row for c in p) for row in px)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", n, n, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def hexlines(data, indent):
    text = data.hex().upper()
    return "\n".join(indent + text[i:i + 64] for i in range(0, len(text), 64))


def main():
    # "Mute on" is the picture of the sound switched on (the user's own picture
    # for it is "UserPictMuteOn"), "mute off" that of the sound switched off.
    on = canvas()
    speaker(on, (60, 60, 60))
    waves(on, (20, 140, 40))
    off = canvas()
    speaker(off, (60, 60, 60))
    cross(off, (210, 20, 20))
    timer = canvas()
    clock(timer)
    for name, px in (("mute on", on), ("mute off", off), ("timer", timer)):
        print("//", name)
        print(hexlines(png(px), "      "))
    print("// popup icon")
    print(hexlines(popup_icon(), "          "))


if __name__ == "__main__":
    sys.exit(main())
