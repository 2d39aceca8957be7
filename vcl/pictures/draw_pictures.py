#!/usr/bin/env python3
"""Draws the class library's stock pictures and writes them with a resource script.

Every bitmap and cursor that the controls load by name is drawn here, from simple
shapes, so the program carries no picture it did not make. Run by CMake at
configure time: draw_pictures.py OUTPUT_DIR writes OUTPUT_DIR/*.bmp, *.cur and
pictures.rc (BITMAP and CURSOR resources named as the controls ask for them).

Colours are the stock 16-colour palette the controls recolour as they load (silver
for faces, gray for shadows, olive as the transparent or dark colour...), so keep
to those where a control maps them.
"""
import os
import struct
import sys

BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
SILVER = (192, 192, 192)
GRAY = (128, 128, 128)
OLIVE = (128, 128, 0)
YELLOW = (255, 255, 0)
GREEN = (0, 128, 0)
LIME = (0, 255, 0)
BLUE = (0, 0, 255)
NAVY = (0, 0, 128)
AQUA = (0, 255, 255)
RED = (255, 0, 0)
MAROON = (128, 0, 0)
FUCHSIA = (255, 0, 255)
TEAL = (0, 128, 128)
PURPLE = (128, 0, 128)


class Picture:
    def __init__(self, width, height, background):
        self.width, self.height = width, height
        self.rows = [[background] * width for _ in range(height)]

    def set(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.rows[y][x] = colour

    def get(self, x, y):
        return self.rows[y][x]

    def rect(self, x0, y0, x1, y1, colour):
        """Fills x0..x1, y0..y1 inclusive."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, colour)

    def frame(self, x0, y0, x1, y1, colour):
        for x in range(x0, x1 + 1):
            self.set(x, y0, colour)
            self.set(x, y1, colour)
        for y in range(y0, y1 + 1):
            self.set(x0, y, colour)
            self.set(x1, y, colour)

    def line(self, x0, y0, x1, y1, colour, thick=1):
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
        err = dx + dy
        while True:
            for t in range(thick):
                self.set(x0, y0 + t, colour)
            if x0 == x1 and y0 == y1:
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def polygon(self, points, colour):
        """Fills a polygon by pixel centres."""
        for y in range(self.height):
            cy = y + 0.5
            xs = []
            for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
                if (ay <= cy < by) or (by <= cy < ay):
                    xs.append(ax + (cy - ay) * (bx - ax) / (by - ay))
            xs.sort()
            for a, b in zip(xs[::2], xs[1::2]):
                for x in range(self.width):
                    if a <= x + 0.5 <= b:
                        self.set(x, y, colour)

    def disc(self, cx, cy, r, colour):
        for y in range(self.height):
            for x in range(self.width):
                if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
                    self.set(x, y, colour)

    def ring(self, cx, cy, r_out, r_in, colour):
        for y in range(self.height):
            for x in range(self.width):
                d = (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2
                if r_in * r_in < d <= r_out * r_out:
                    self.set(x, y, colour)

    def art(self, x0, y0, lines, colours):
        """Pixel art: one character a pixel, '.' leaves the pixel as it is."""
        for y, row in enumerate(lines):
            for x, ch in enumerate(row):
                if ch != '.':
                    self.set(x0 + x, y0 + y, colours[ch])

    def paste(self, other, x0, y0):
        for y in range(other.height):
            for x in range(other.width):
                self.set(x0 + x, y0 + y, other.get(x, y))

    def recolour(self, mapping):
        out = Picture(self.width, self.height, BLACK)
        for y in range(self.height):
            for x in range(self.width):
                c = self.get(x, y)
                out.set(x, y, mapping(c))
        return out

    def bmp(self):
        stride = (self.width * 3 + 3) & ~3
        pixels = bytearray()
        for row in reversed(self.rows):
            line = bytearray()
            for r, g, b in row:
                line += bytes((b, g, r))
            pixels += line + bytes(stride - len(line))
        header = struct.pack('<IiiHHIIiiII', 40, self.width, self.height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
        return b'BM' + struct.pack('<IHHI', 14 + len(header) + len(pixels), 0, 0, 14 + len(header)) + header + pixels


def cursor(lines, hotspot):
    """A 32 x 32 monochrome cursor from art: 'X' black, 'o' white, '.' transparent."""
    size = 32
    xor_rows, and_rows = [], []
    for y in range(size):
        row = lines[y] if y < len(lines) else ''
        row = row.ljust(size, '.')
        xor_bits = and_bits = 0
        for x, ch in enumerate(row):
            bit = 1 << (31 - x)
            if ch == '.':
                and_bits |= bit
            elif ch == 'o':
                xor_bits |= bit
        xor_rows.append(struct.pack('>I', xor_bits))
        and_rows.append(struct.pack('>I', and_bits))
    image = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    image += bytes((0, 0, 0, 0, 255, 255, 255, 0))
    image += b''.join(reversed(xor_rows)) + b''.join(reversed(and_rows))
    directory = struct.pack('<HHH', 0, 2, 1)
    entry = struct.pack('<BBBBHHII', size, size, 0, 0, hotspot[0], hotspot[1], len(image), 6 + 16)
    return directory + entry + image


# --- the spin button's arrows --------------------------------------------------------

def flat_arrow(up):
    p = Picture(5, 5, OLIVE)
    rows = [(1, 2, 2), (2, 1, 3), (3, 0, 4)] if up else [(1, 0, 4), (2, 1, 3), (3, 2, 2)]
    for y, x0, x1 in rows:
        p.rect(x0, y, x1, y, BLACK)
    return p


# --- the scroll bar's arrows: a black (or gray) arrow on a plain face -------------------

def thumb(direction, enabled):
    colour = BLACK if enabled else GRAY
    if direction in ('UP', 'DOWN'):
        p = Picture(10, 9, SILVER)
        widths = [1, 3, 5, 7]
        for i, w in enumerate(widths):
            y = 2 + i if direction == 'UP' else 6 - i
            p.rect(5 - (w + 1) // 2, y, 5 - (w + 1) // 2 + w - 1, y, colour)
    else:
        p = Picture(9, 10, SILVER)
        for i, h in enumerate([1, 3, 5, 7]):
            x = 2 + i if direction == 'LEFT' else 6 - i
            p.rect(x, 5 - (h + 1) // 2, x, 5 - (h + 1) // 2 + h - 1, colour)
    if not enabled:
        # The disabled look: an etched highlight under the gray shape.
        for y in range(p.height - 1, 0, -1):
            for x in range(p.width - 1, 0, -1):
                if p.get(x - 1, y - 1) == GRAY and p.get(x, y) == SILVER:
                    p.set(x, y, WHITE)
    return p


# --- the bit buttons' glyphs: normal and disabled side by side, olive transparent ----

def glyph_pair(draw):
    normal = Picture(18, 18, OLIVE)
    draw(normal)
    disabled = Picture(18, 18, OLIVE)
    for y in range(18):
        for x in range(18):
            if normal.get(x, y) != OLIVE:
                disabled.set(x + 1, y + 1, WHITE)
    for y in range(18):
        for x in range(18):
            if normal.get(x, y) != OLIVE:
                disabled.set(x, y, GRAY)
    pair = Picture(36, 18, OLIVE)
    pair.paste(normal, 0, 0)
    pair.paste(disabled, 18, 0)
    return pair


def check(p, colour, dx=0):
    p.line(3 + dx, 9, 7 + dx, 13, colour, 2)
    p.line(7 + dx, 13, 14 + dx, 4, colour, 2)


def draw_ok(p):
    check(p, GREEN)


def draw_cancel(p):
    p.line(4, 4, 13, 13, RED, 2)
    p.line(13, 4, 4, 13, RED, 2)


def draw_help(p):
    p.art(5, 2, [
        '.NNNNNN.',
        'NNN..NNN',
        'NN....NN',
        '.....NNN',
        '....NNN.',
        '...NNN..',
        '...NN...',
        '...NN...',
        '........',
        '...NN...',
        '...NN...',
    ], {'N': NAVY})


def draw_yes(p):
    check(p, GREEN)
    p.line(3, 10, 7, 14, LIME)


def draw_no(p):
    p.ring(9, 9, 7, 5, RED)
    p.line(4, 13, 13, 4, RED, 2)


def draw_close(p):
    p.rect(4, 2, 13, 15, MAROON)
    p.rect(6, 4, 11, 15, YELLOW)
    p.rect(9, 9, 9, 10, BLACK)


def draw_abort(p):
    p.disc(9, 9, 7, RED)
    p.line(6, 6, 11, 11, WHITE, 2)
    p.line(11, 6, 6, 11, WHITE, 2)


def draw_retry(p):
    p.ring(9, 9, 7, 5, GREEN)
    p.rect(9, 1, 17, 8, OLIVE)
    p.polygon([(9, 0), (15, 4.5), (9, 9)], GREEN)


def draw_ignore(p):
    p.rect(8, 3, 9, 14, GRAY)
    p.polygon([(2, 7), (12, 7), (12, 4), (16, 8.5), (12, 13), (12, 10), (2, 10)], BLUE)


def draw_all(p):
    check(p, GREEN, -2)
    check(p, GREEN, 2)


# --- check boxes and radio buttons, in the colours their controls replace ------------

def checkbox(state):
    p = Picture(13, 13, WHITE)
    p.frame(0, 0, 12, 12, GRAY)
    if state == 'CHECKED':
        for i, (x, y) in enumerate([(3, 5), (4, 6), (5, 7), (6, 6), (7, 5), (8, 4), (9, 3)]):
            p.rect(x, y, x, y + 2, BLUE)
    elif state == 'GRAYED':
        p.rect(3, 3, 9, 9, BLUE)
    return p


def radio(checked):
    p = Picture(13, 13, OLIVE)
    p.disc(6.5, 6.5, 6.5, GRAY)
    p.disc(6.5, 6.5, 5.5, WHITE)
    if checked:
        p.disc(6.5, 6.5, 2.6, NAVY)
    return p


# --- the track bar's thumbs ----------------------------------------------------------

def thumb_shape(kind, horizontal):
    """The thumb's outline as a polygon in a horizontal-bar picture (width x height)."""
    sizes = {'BOX': (11, 21), 'PTR': (11, 21), 'WIN95': (11, 21), 'FLAT': (10, 20),
             'MIXER': (21, 16), 'XPPTR': (11, 21), 'XPBOX': (11, 21)}
    w, h = sizes[kind]
    if kind in ('PTR', 'XPPTR', 'WIN95'):
        points = [(0, 0), (w, 0), (w, h - w / 2), (w / 2, h), (0, h - w / 2)]
    else:
        points = [(0, 0), (w, 0), (w, h), (0, h)]
    return w, h, points


def thumb_images(kind, horizontal):
    w, h, points = thumb_shape(kind, horizontal)
    images = {}
    for variant in ('', '_HOT', '_DISABLED', '_MASK'):
        if variant == '_MASK':
            p = Picture(w, h, WHITE)
            p.polygon(points, BLACK)
        else:
            # Black outside the outline: the thumb is drawn by ANDing the mask over the
            # background and ORing the picture in, so the outside must add nothing.
            p = Picture(w, h, BLACK)
            face = {'': SILVER, '_HOT': FUCHSIA, '_DISABLED': SILVER}[variant]
            if kind.startswith('XP'):
                face = {'': (232, 232, 224), '_HOT': (255, 224, 160), '_DISABLED': (224, 224, 224)}[variant]
            p.polygon(points, face)
            # Light top-left edges, dark bottom-right ones, inside the outline.
            edge = Picture(w, h, None)
            edge.polygon(points, True)
            for y in range(h):
                for x in range(w):
                    if not edge.get(x, y):
                        continue
                    outside_tl = x == 0 or y == 0 or not edge.get(x - 1, y) or not edge.get(x, y - 1)
                    outside_br = x == w - 1 or y == h - 1 or not edge.get(x + 1, y) or not edge.get(x, y + 1)
                    if outside_br:
                        p.set(x, y, OLIVE if variant != '_DISABLED' else GRAY)
                    elif outside_tl:
                        p.set(x, y, YELLOW if variant != '_DISABLED' else WHITE)
            if kind == 'MIXER':
                p.rect(2, h // 2 - 1, w - 3, h // 2, GRAY if variant == '_DISABLED' else BLACK)
            elif kind.startswith('XP'):
                p.rect(2, 2, w - 3, 3, (96, 168, 48) if variant != '_DISABLED' else GRAY)
        if not horizontal:
            # The vertical thumbs lie on their side.
            q = Picture(p.height, p.width, WHITE)
            for y in range(p.height):
                for x in range(p.width):
                    q.set(y, p.width - 1 - x, p.get(x, y))
            p = q
        images[variant] = p
    return images


# --- the button edit's kinds: normal and disabled 10 x 10 side by side -----------------

def edit_glyph(draw):
    normal = Picture(10, 10, OLIVE)
    draw(normal, BLACK)
    disabled = Picture(10, 10, OLIVE)
    draw(disabled, GRAY)
    pair = Picture(20, 10, OLIVE)
    pair.paste(normal, 0, 0)
    pair.paste(disabled, 10, 0)
    return pair


EDIT_GLYPHS = {
    'LOOKUP': lambda p, c: [p.rect(x, 7, x, 8, c) for x in (1, 2, 4, 5, 7, 8)],
    'DROPDOWN': lambda p, c: [p.rect(1 + i, 3 + i, 8 - i, 3 + i, c) for i in range(4)],
    'CALENDAR': lambda p, c: (p.frame(1, 0, 9, 8, c), p.rect(1, 0, 9, 1, c),
                              [p.set(x, y, c) for x in (3, 5, 7) for y in (3, 5, 7)]),
    'ACCEPT': lambda p, c: (p.line(1, 5, 3, 7, c, 2), p.line(3, 7, 8, 1, c, 2)),
    'REJECT': lambda p, c: (p.line(1, 1, 8, 8, c, 2), p.line(8, 1, 1, 8, c, 2)),
    'FOLDER': lambda p, c: (p.frame(0, 3, 9, 8, c), p.rect(1, 2, 4, 2, c)),
    'FIND': lambda p, c: (p.ring(4, 4, 4, 2.5, c), p.line(6, 6, 9, 9, c, 2)),
    'SEARCH': lambda p, c: (p.ring(4, 4, 4, 2.5, c), p.line(6, 6, 9, 9, c, 2), p.rect(3, 3, 4, 4, c)),
}

# --- cursors -------------------------------------------------------------------------

HAND = [
    '.....XX',
    '....XooX',
    '....XooX',
    '....XooX',
    '....XooXXX',
    '....XooXooXXX',
    '....XooXooXooXX',
    '.XX.XooXooXooXoX',
    'XooXXooooooooXoX',
    'XoooXoooooooooooX',
    '.XooXoooooooooooX',
    '..XoXoooooooooooX',
    '..XoooooooooooooX',
    '...XooooooooooooX',
    '...XoooooooooooX',
    '....XooooooooooX',
    '....XoooooooooX',
    '.....XooooooooX',
    '.....XooooooooX',
    '.....XXXXXXXXXX',
]


def double_arrow(horizontal):
    rows = [
        '.......X.......',
        '......XoX......',
        '.....XoooX.....',
        '....XoooooX....',
        '...XXXXoXXXX...',
        '......XoX......',
        '......XoX......',
        '......XoX......',
        '......XoX......',
        '......XoX......',
        '...XXXXoXXXX...',
        '....XoooooX....',
        '.....XoooX.....',
        '......XoX......',
        '.......X.......',
    ]
    if horizontal:
        rows = [''.join(rows[x][y] for x in range(len(rows))) for y in range(len(rows[0]))]
    # Centred in the 32 x 32 cursor: the hot spot is the middle of the arrow.
    return [''] * 8 + ['........' + r for r in rows]


def write_if_changed(path, data):
    """Writes DATA (bytes) unless the file already holds it: configure runs this
    script every time, and a file left as it was rebuilds nothing."""
    try:
        with open(path, 'rb') as f:
            if f.read() == data:
                return
    except OSError:
        pass
    with open(path, 'wb') as f:
        f.write(data)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    bitmaps = {}
    bitmaps['FLATUP'] = flat_arrow(True)
    bitmaps['FLATDOWN'] = flat_arrow(False)
    for d in ('UP', 'DOWN', 'LEFT', 'RIGHT'):
        bitmaps[f'THUMB_{d}_ENABLED'] = thumb(d, True)
        bitmaps[f'THUMB_{d}_DISABLED'] = thumb(d, False)
    for name, draw in (('OK', draw_ok), ('CANCEL', draw_cancel), ('HELP', draw_help), ('YES', draw_yes),
                       ('NO', draw_no), ('CLOSE', draw_close), ('ABORT', draw_abort), ('RETRY', draw_retry),
                       ('IGNORE', draw_ignore), ('ALL', draw_all)):
        bitmaps[f'VYCOMMON_{name}'] = glyph_pair(draw)
    for state in ('UNCHECKED', 'CHECKED', 'GRAYED'):
        bitmaps[f'VYCOMMON_CHECKBOX_{state}'] = checkbox(state)
    bitmaps['VYCOMMON_RADIOBUTTON_CHECKED'] = radio(True)
    bitmaps['VYCOMMON_RADIOBUTTON_UNCHECKED'] = radio(False)
    for kind in ('BOX', 'MIXER', 'PTR', 'FLAT', 'XPPTR', 'XPBOX'):
        for horizontal, side in ((True, 'H'), (False, 'V')):
            for variant, picture in thumb_images(kind, horizontal).items():
                bitmaps[f'VYTRKBAR_{side}_{kind}{variant}'] = picture
    for variant, picture in thumb_images('WIN95', True).items():
        bitmaps[f'VYTRKBAR_WIN95{variant}'] = picture
    for name, draw in EDIT_GLYPHS.items():
        bitmaps[f'VYBTNEDT_{name}'] = edit_glyph(draw)

    cursors = {
        'VYCOMMON_HANDCURSOR': (HAND, (6, 0)),
        'VYTRKBAR_H_CURSOR': (double_arrow(True), (15, 15)),
        'VYTRKBAR_V_CURSOR': (double_arrow(False), (15, 15)),
    }

    script = ['// Generated by vcl/pictures/draw_pictures.py: the stock pictures of the controls.']
    for name, picture in sorted(bitmaps.items()):
        path = os.path.join(out, name.lower() + '.bmp')
        write_if_changed(path, picture.bmp())
        script.append(f'{name} BITMAP "{path}"')
    for name, (art, hotspot) in sorted(cursors.items()):
        path = os.path.join(out, name.lower() + '.cur')
        write_if_changed(path, cursor(art, hotspot))
        script.append(f'{name} CURSOR "{path}"')
    write_if_changed(os.path.join(out, 'pictures.rc'), ('\n'.join(script) + '\n').encode())


if __name__ == '__main__':
    main()
