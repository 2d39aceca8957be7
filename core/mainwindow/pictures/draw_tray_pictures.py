#!/usr/bin/env python3
"""Draws the tray icon's 16 pictures, the tray menu's pictures and those of the
ignored programs' add menu (16 x 16, with alpha) and prints them as the PNG image
lists of the main window's form resource. Run it and paste the output over those
objects in MainForm.form when a picture changes."""
import math
import struct
import zlib

SIZE = 16
SUB = 4  # samples per pixel side: edges get their coverage as alpha

KEY_ON = (46, 111, 216)
KEY_OFF = (128, 128, 128)
LOCK_ON = (40, 160, 60)
LED_ON = (60, 230, 80)
LED_OFF = (40, 50, 60)
WHITE = (255, 255, 255)
RED = (210, 40, 40)
GREEN = (40, 160, 60)
GOLD = (230, 170, 30)
DARK = (50, 60, 80)

# 5 x 7 letters, one string a row.
GLYPHS = {
    "Q": ["01110", "10001", "10001", "10001", "10101", "10010", "01101"],
    "C": ["01110", "10001", "10000", "10000", "10000", "10001", "01110"],
    "N": ["10001", "11001", "10101", "10011", "10001", "10001", "10001"],
    "S": ["01111", "10000", "10000", "01110", "00001", "00001", "11110"],
    "i": ["00100", "00000", "01100", "00100", "00100", "00100", "01110"],
}


class Picture:
    def __init__(self):
        self.px = [[(0, 0, 0, 0)] * SIZE for _ in range(SIZE)]

    def over(self, x, y, colour, alpha):
        if not (0 <= x < SIZE and 0 <= y < SIZE) or alpha <= 0:
            return
        r, g, b, a = self.px[y][x]
        a0 = a / 255.0
        a1 = alpha + a0 * (1 - alpha)
        mix = lambda c0, c1: int(round((c1 * alpha + c0 * a0 * (1 - alpha)) / a1)) if a1 else 0
        self.px[y][x] = (mix(r, colour[0]), mix(g, colour[1]), mix(b, colour[2]), int(round(a1 * 255)))

    def fill(self, inside, colour):
        """Paints colour wherever inside(x, y) holds, x and y in pixels (0..16)."""
        for y in range(SIZE):
            for x in range(SIZE):
                hits = sum(inside(x + (i + 0.5) / SUB, y + (j + 0.5) / SUB) for i in range(SUB) for j in range(SUB))
                self.over(x, y, colour, hits / (SUB * SUB))

    def glyph(self, letter, left, top, colour):
        for row, bits in enumerate(GLYPHS[letter]):
            for col, bit in enumerate(bits):
                if bit == "1":
                    self.over(left + col, top + row, colour, 1.0)

    def png(self):
        raw = b"".join(b"\0" + bytes(c for p in row for c in p) for row in self.px)
        chunk = lambda kind, data: (struct.pack(">I", len(data)) + kind + data +
                                    struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
        return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)) +
                chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def rounded(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r0, r1):
    return lambda x, y: r0 * r0 <= (x - cx) ** 2 + (y - cy) ** 2 <= r1 * r1


def shade(colour, f):
    return tuple(min(255, int(c * f)) for c in colour)


def key(colour, letter, bottom=15.5):
    """A key cap: a darker rim, a lighter face, and its letter in white."""
    p = Picture()
    p.fill(rounded(0.5, 0.5, 15.5, bottom, 3), shade(colour, 0.7))
    p.fill(rounded(1.5, 1.2, 14.5, bottom - 1.8, 2.2), colour)
    p.fill(rounded(2.2, 1.6, 13.8, 5, 1.5), shade(colour, 1.25))
    if letter:
        p.glyph(letter, 5, 3 if bottom > 12 else 2, WHITE)
    return p


def key_with_leds(state):
    """The program's key over three lock lights: Caps, Scroll, Num."""
    p = key(KEY_ON, "Q", bottom=11)
    for i, on in enumerate(state):
        p.fill(circle(3 + i * 5, 13.5, 2.1), DARK)
        p.fill(circle(3 + i * 5, 13.5, 1.5), LED_ON if on == "1" else LED_OFF)
    return p


def tray_pictures():
    pictures = [("MainTray1", key(KEY_ON, "Q")), ("MainTray0", key(KEY_OFF, "Q"))]
    for letter in "CNS":
        pictures.append((letter + "1c", key(LOCK_ON, letter)))
        pictures.append((letter + "0c", key(KEY_OFF, letter)))
    for state in ["000", "111", "001", "010", "011", "100", "101", "110"]:
        pictures.append(("CSN" + state, key_with_leds(state)))
    return pictures


def power(colour):
    p = Picture()
    gap = lambda x, y: not (abs(x - 8) < 2.2 and y < 8)
    arc = ring(8, 8.8, 4.3, 6.2)
    p.fill(lambda x, y: arc(x, y) and gap(x, y), colour)
    p.fill(rounded(7, 1, 9, 8.5, 1), colour)
    return p


def window_picture():
    p = Picture()
    p.fill(rounded(1, 2, 15, 14, 1.5), DARK)
    p.fill(rounded(2, 5, 14, 13, 0.5), WHITE)
    p.fill(rounded(2, 3, 14, 4.8, 0.5), KEY_ON)
    return p


def about_picture():
    p = Picture()
    p.fill(circle(8, 8, 7.2), KEY_ON)
    p.glyph("i", 6, 4, WHITE)
    return p


def home_picture():
    p = Picture()
    roof = lambda x, y: y >= 1.5 and y <= 8.5 and abs(x - 8) <= (y - 1.5) * 1.0 + 0.5
    p.fill(roof, RED)
    p.fill(rounded(3.5, 8, 12.5, 14.5, 0.5), GOLD)
    p.fill(rounded(7, 10.5, 9.5, 14.5, 0.3), DARK)
    return p


def close_picture():
    p = Picture()
    band = lambda d: (lambda x, y: abs((x - 8) - d * (y - 8)) <= 1.6 and 2 <= x <= 14 and 2 <= y <= 14)
    p.fill(band(1), RED)
    p.fill(band(-1), RED)
    return p


def profile_picture():
    p = Picture()
    for i, colour in enumerate([shade(KEY_ON, 0.6), shade(KEY_ON, 0.8), KEY_ON]):
        p.fill(rounded(1 + i * 2, 1 + i * 3, 11 + i * 2, 8 + i * 3, 1.5), colour)
    return p


def update_picture():
    p = Picture()
    p.fill(circle(8, 8, 7.2), GREEN)
    p.fill(rounded(7, 3, 9, 9, 0.5), WHITE)
    arrow = lambda x, y: 8.5 <= y <= 12.5 and abs(x - 8) <= 12.5 - y
    p.fill(arrow, WHITE)
    return p


def blank():
    return Picture()


def menu_pictures():
    # By the menu's image indexes: 0 turn on, 1 turn off, 4 open, 5 about,
    # 6 home page, 7 close, 8 profiles, 9 update check.
    return [("TurnOn", power(GREEN)), ("TurnOff", power(RED)), ("Spare2", blank()), ("Spare3", blank()),
            ("Open", window_picture()), ("About", about_picture()), ("HomePage", home_picture()),
            ("Close", close_picture()), ("Profiles", profile_picture()), ("Update", update_picture())]


def add_file_picture():
    """A program file with a green plus: add a program chosen on the disk."""
    p = Picture()
    cut = lambda x, y: x - 9 > y - 1  # the folded corner
    p.fill(lambda x, y: rounded(2, 1, 13, 15, 0.8)(x, y) and not cut(x, y), DARK)
    p.fill(lambda x, y: rounded(3, 2, 12, 14, 0.3)(x, y) and not cut(x + 1, y - 1), WHITE)
    p.fill(lambda x, y: 9 <= x <= 13 and 1 <= y <= 5 and x - 9 <= y - 1, shade(DARK, 1.6))
    p.fill(circle(11.5, 11.5, 4.4), WHITE)
    p.fill(circle(11.5, 11.5, 3.8), GREEN)
    p.fill(rounded(10.8, 9, 12.2, 14, 0.3), WHITE)
    p.fill(rounded(9, 10.8, 14, 12.2, 0.3), WHITE)
    return p


def tasks_picture():
    """Two program windows, one over the other: the programs running now."""
    p = Picture()
    p.fill(rounded(0.5, 0.5, 11.5, 9.5, 1), shade(DARK, 1.4))
    p.fill(rounded(1.5, 3, 10.5, 8.5, 0.3), WHITE)
    p.fill(rounded(4.5, 5.5, 15.5, 15.5, 1), DARK)
    p.fill(rounded(5.5, 8.5, 14.5, 14.5, 0.3), WHITE)
    p.fill(rounded(5.5, 6.3, 14.5, 7.8, 0.3), KEY_ON)
    return p


def except_menu_pictures():
    # By the add button's menu image indexes: 0 open a file, 1 running programs.
    return [("AddFile", add_file_picture()), ("Tasks", tasks_picture())]


def hex_lines(data, indent):
    text = data.hex().upper()
    return "\n".join(indent + text[i:i + 64] for i in range(0, len(text), 64))


def image_list(name, pictures):
    out = ["  object %s: TPngImageList" % name, "    PngImages = <"]
    for index, (picture_name, picture) in enumerate(pictures):
        out.append("      item")
        out.append("        Name = '%s'" % picture_name)
        out.append("        PngImage.Data = {")
        out.append(hex_lines(picture.png(), "        ") + "}")
        out.append("      end" + (">" if index == len(pictures) - 1 else ""))
    out.append("  end")
    return "\n".join(out)


if __name__ == "__main__":
    print(image_list("TrayIconPngImageList", tray_pictures()))
    print(image_list("TrayMenuPngImageList", menu_pictures()))
    print(image_list("AddExceptProgMenuPngImageList", except_menu_pictures()))
