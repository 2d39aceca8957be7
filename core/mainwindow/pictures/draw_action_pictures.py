#!/usr/bin/env python3
"""Draws the 20 pictures of the action kinds (16 x 16, with alpha) that the key
list draws before each binding and the group bar before each page, and prints
them as the image list CategoriesImageList of the main window's form resource.
Run it and paste the output over that object in MainForm.form when a picture
changes. The index of each picture is the one the key list asks for by action
code (GetCategImageID)."""
import math

from draw_tray_pictures import (Picture, rounded, circle, ring, shade, image_list, power, window_picture, WHITE, RED,
                                GREEN, GOLD, DARK, KEY_ON)

BLUE = KEY_ON
ORANGE = (235, 130, 30)
PURPLE = (130, 70, 190)
TEAL = (20, 150, 150)
GREY = (150, 150, 150)
SKY = (120, 180, 235)


def polygon(points):
    """Even-odd test of a closed polygon."""
    def inside(x, y):
        hit = False
        for (x0, y0), (x1, y1) in zip(points, points[1:] + points[:1]):
            if (y0 > y) != (y1 > y) and x < x0 + (y - y0) * (x1 - x0) / (y1 - y0):
                hit = not hit
        return hit
    return inside


def segment(x0, y0, x1, y1, width):
    def inside(x, y):
        dx, dy = x1 - x0, y1 - y0
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy)))
        return math.hypot(x - x0 - t * dx, y - y0 - t * dy) <= width / 2
    return inside


def volume():
    p = Picture()
    p.fill(polygon([(1.5, 6), (4.5, 6), (8.5, 2.5), (8.5, 13.5), (4.5, 10), (1.5, 10)]), DARK)
    arc = lambda r0, r1: (lambda x, y: ring(8.5, 8, r0, r1)(x, y) and x > 9.5 and abs(y - 8) < (x - 8.5) * 1.2)
    p.fill(arc(2.6, 3.8), BLUE)
    p.fill(arc(5.0, 6.2), BLUE)
    return p


def winamp():
    p = Picture()
    p.fill(rounded(0.5, 0.5, 15.5, 15.5, 3), shade(GOLD, 0.8))
    p.fill(polygon([(9.5, 1.5), (3.5, 9), (7.5, 9), (6, 14.5), (12.5, 6.5), (8.5, 6.5)]), WHITE)
    return p


def web():
    p = Picture()
    p.fill(circle(8, 8, 7), BLUE)
    p.fill(ring(8, 8, 6, 7), shade(BLUE, 0.7))
    grid = lambda x, y: (abs(y - 8) < 0.5 or abs(x - 8) < 0.5 or abs(abs(y - 8) - 3.5) < 0.45 or
                         abs(math.hypot((x - 8) * 2.2, y - 8) - 6.5) < 0.6)
    p.fill(lambda x, y: circle(8, 8, 6)(x, y) and grid(x, y), WHITE)
    return p


def media_player():
    p = Picture()
    p.fill(circle(8, 8, 7.2), GREEN)
    p.fill(polygon([(6, 4.5), (12, 8), (6, 11.5)]), WHITE)
    return p


def windows():
    p = window_picture()
    p.fill(rounded(11.2, 3.2, 13.2, 4.6, 0.2), RED)
    return p


def cd():
    p = Picture()
    p.fill(circle(8, 8, 7.3), shade(GREY, 0.8))
    p.fill(circle(8, 8, 6.5), (215, 220, 230))
    p.fill(lambda x, y: circle(8, 8, 6.5)(x, y) and 0.2 < math.atan2(y - 8, x - 8) < 1.1, SKY)
    p.fill(circle(8, 8, 2.4), GREY)
    p.fill(circle(8, 8, 1.3), WHITE)
    return p


def folder():
    p = Picture()
    p.fill(rounded(1, 2.5, 7, 6, 1), shade(GOLD, 0.85))
    p.fill(rounded(1, 4, 15, 13.5, 1), shade(GOLD, 0.85))
    p.fill(rounded(1.8, 5.5, 14.2, 12.8, 0.8), GOLD)
    return p


def program():
    p = Picture()
    p.fill(rounded(1, 2, 15, 14, 1.5), DARK)
    p.fill(rounded(2, 3.5, 14, 13, 0.5), shade(DARK, 1.6))
    p.fill(segment(4, 6, 7, 8.5, 1.4), GREEN)
    p.fill(segment(7, 8.5, 4, 11, 1.4), GREEN)
    p.fill(rounded(8, 10.3, 12, 11.5, 0.3), WHITE)
    return p


def spare():
    p = Picture()
    p.fill(rounded(2, 2, 14, 14, 2), GREY)
    return p


def tools():
    p = Picture()
    p.fill(segment(3.5, 12.5, 10, 6, 2.6), shade(GREY, 0.7))
    p.fill(circle(11, 5, 4), shade(GREY, 0.7))
    p.fill(circle(12.6, 3.4, 2.1), WHITE)
    return p


def document():
    p = Picture()
    p.fill(polygon([(3, 1), (10, 1), (13.5, 4.5), (13.5, 15), (3, 15)]), shade(GREY, 0.7))
    p.fill(polygon([(3.8, 1.8), (9.6, 1.8), (12.7, 4.9), (12.7, 14.2), (3.8, 14.2)]), WHITE)
    for y in (6, 8.5, 11):
        p.fill(rounded(5.2, y, 11.3, y + 1, 0.3), BLUE)
    return p


def keys():
    p = Picture()
    p.fill(rounded(0.5, 3, 15.5, 13.5, 2), shade(DARK, 1.2))
    for row, y in enumerate((4.5, 7.5)):
        for col in range(4):
            p.fill(rounded(2 + col * 3.2, y, 4.3 + col * 3.2, y + 2, 0.4), WHITE)
    p.fill(rounded(4, 10.5, 12, 12.2, 0.4), WHITE)
    return p


def network():
    p = Picture()
    p.fill(segment(8, 4, 3, 12, 1.2), DARK)
    p.fill(segment(8, 4, 13, 12, 1.2), DARK)
    p.fill(segment(3, 12, 13, 12, 1.2), DARK)
    for x, y in ((8, 3.5), (3, 12), (13, 12)):
        p.fill(rounded(x - 2.5, y - 2.2, x + 2.5, y + 2.2, 0.8), TEAL)
    return p


def scrolling():
    p = Picture()
    p.fill(rounded(5, 1, 11, 15, 3), shade(GREY, 0.7))
    p.fill(rounded(5.8, 1.8, 10.2, 14.2, 2.4), WHITE)
    p.fill(polygon([(8, 3), (10, 6), (6, 6)]), BLUE)
    p.fill(polygon([(8, 13), (10, 10), (6, 10)]), BLUE)
    return p


def macros():
    p = Picture()
    p.fill(circle(8, 8, 7.2), shade(DARK, 1.2))
    p.fill(circle(8, 8, 4), RED)
    return p


def cursor():
    p = Picture()
    arrow = [(3, 1), (3, 13.5), (6, 10.8), (8.2, 15), (10.2, 14), (8, 9.8), (12, 9.6)]
    p.fill(polygon(arrow), DARK)
    inner = [(4, 3.4), (4, 11.3), (6.3, 9.2), (8.7, 13.7), (9.1, 13.5), (6.8, 9), (9.7, 8.8)]
    p.fill(polygon(inner), WHITE)
    return p


def wallpaper():
    p = Picture()
    p.fill(rounded(0.5, 2, 15.5, 14, 1), shade(DARK, 1.2))
    p.fill(rounded(1.5, 3, 14.5, 13, 0.3), SKY)
    p.fill(polygon([(1.5, 13), (6, 6.5), (9, 10), (11, 8), (14.5, 13)]), GREEN)
    p.fill(circle(11.5, 5.5, 1.5), GOLD)
    return p


def no_action():
    p = Picture()
    p.fill(ring(8, 8, 4.2, 5.6), GREY)
    return p


def brightness():
    p = Picture()
    for i in range(8):
        a = i * math.pi / 4
        p.fill(segment(8 + 5 * math.cos(a), 8 + 5 * math.sin(a), 8 + 7 * math.cos(a), 8 + 7 * math.sin(a), 1.3), ORANGE)
    p.fill(circle(8, 8, 3.6), GOLD)
    return p


def action_pictures():
    drawn = [("Volume", volume()), ("Winamp", winamp()), ("Web", web()), ("MediaPlayers", media_player()),
             ("Windows", windows()), ("Power", power(RED)), ("AudioCD", cd()), ("Folders", folder()),
             ("Programs", program()), ("Spare", spare()), ("OtherTools", tools()), ("Documents", document()),
             ("Keys", keys()), ("Network", network()), ("Scrolling", scrolling()), ("Macros", macros()),
             ("Cursor", cursor()), ("Wallpaper", wallpaper()), ("NoAction", no_action()),
             ("Brightness", brightness())]
    assert len(drawn) == 20
    return drawn


if __name__ == "__main__":
    print(image_list("CategoriesImageList", action_pictures()))
