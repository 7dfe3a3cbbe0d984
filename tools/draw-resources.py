#!/usr/bin/env python3
"""Draws the keypad pictures and the program icon into src/app/res.

Run from anywhere: python3 tools/draw-resources.py
The outputs are committed; rerun this script after changing a drawing.
Standard library only, and the output is byte-for-byte reproducible.
"""

import math
import pathlib
import struct

RES_DIR = pathlib.Path(__file__).resolve().parent.parent / "src" / "app" / "res"

WHITE = (0xFF, 0xFF, 0xFF)
BLACK = (0x00, 0x00, 0x00)
RED = (0xFF, 0x00, 0x00)
GREEN = (0x00, 0xFF, 0x00)


class Canvas:
    """A grid of (r, g, b) pixels, row 0 at the top; None means transparent."""

    def __init__(self, width, height, background=None):
        self.width = width
        self.height = height
        self.pixels = [[background] * width for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def fill_rect(self, x0, y0, x1, y1, colour):
        """Fills the rectangle from (x0, y0) to (x1, y1), both corners included."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.put(x, y, colour)

    def fill_round_rect(self, x0, y0, x1, y1, radius, colour):
        """Fills a rectangle whose corners are quarter circles of the given radius."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                # Distance from the pixel centre to the nearest corner circle's centre.
                cx = min(max(x + 0.5, x0 + radius), x1 + 1 - radius)
                cy = min(max(y + 0.5, y0 + radius), y1 + 1 - radius)
                if math.hypot(x + 0.5 - cx, y + 0.5 - cy) <= radius:
                    self.put(x, y, colour)

    def fill_polygon(self, points, colour):
        """Fills every pixel whose centre lies inside the polygon (even-odd rule)."""
        for y in range(self.height):
            for x in range(self.width):
                if inside_polygon(x + 0.5, y + 0.5, points):
                    self.put(x, y, colour)

    def stamp(self, left, top, art, palette):
        """Copies pixel art: one string per row, one character per pixel.

        Characters missing from the palette (such as '.') leave the canvas as it is.
        """
        for dy, row in enumerate(art):
            for dx, char in enumerate(row):
                if char in palette:
                    self.put(left + dx, top + dy, palette[char])


def inside_polygon(px, py, points):
    inside = False
    for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
        if (ay > py) != (by > py):
            if px < ax + (py - ay) * (bx - ax) / (by - ay):
                inside = not inside
    return inside


def art_size(art):
    return len(art[0]), len(art)


# ---------------------------------------------------------------------------
# Keypad pictures: 24 x 24, white background; the button shows white as
# transparent, so only black, red and green draw anything.

PICTURE_SIZE = 24


def centred_origin(width, height):
    # An odd size cannot be centred exactly in 24 pixels; such shapes sit
    # half a pixel up and left, the same way for every picture.
    return (PICTURE_SIZE - width) // 2, (PICTURE_SIZE - height) // 2


def picture_with(art, palette):
    canvas = Canvas(PICTURE_SIZE, PICTURE_SIZE, WHITE)
    width, height = art_size(art)
    left, top = centred_origin(width, height)
    canvas.stamp(left, top, art, palette)
    return canvas


def menu_picture():
    canvas = Canvas(PICTURE_SIZE, PICTURE_SIZE, WHITE)
    for row, length in ((6, 12), (11, 10), (16, 8)):
        left = (PICTURE_SIZE - length) // 2
        canvas.fill_rect(left, row, left + length - 1, row, BLACK)
    return canvas


def chevron_art(arm):
    """An up-pointing chevron one pixel thick: 2 * arm + 1 wide, arm + 1 high."""
    width = 2 * arm + 1
    rows = []
    for k in range(arm + 1):
        row = ["."] * width
        row[arm - k] = "X"
        row[arm + k] = "X"
        rows.append("".join(row))
    return rows


def rotate_clockwise(art):
    height = len(art)
    return ["".join(art[height - 1 - y][x] for y in range(height)) for x in range(len(art[0]))]


CHEVRON_UP = chevron_art(7)  # 15 wide, 8 high
CHEVRON_RIGHT = rotate_clockwise(CHEVRON_UP)  # 8 wide, 15 high
CHEVRON_DOWN = rotate_clockwise(CHEVRON_RIGHT)
CHEVRON_LEFT = rotate_clockwise(CHEVRON_DOWN)

DOT = [
    "..XXX..",
    ".XXXXX.",
    "XXXXXXX",
    "XXXXXXX",
    "XXXXXXX",
    ".XXXXX.",
    "..XXX..",
]

# An upright handset seen from the side: earpiece on top, mouthpiece at the
# bottom, both opening to the right; X is the outline, o the filling.
HANDSET = [
    ".XXXXXX.",
    "XooooooX",
    "XooooooX",
    "XooooooX",
    "XoooXXX.",
    "XoooX...",
    "XooX....",
    "XooX....",
    "XooX....",
    "XooX....",
    "XooX....",
    "XoooX...",
    "XoooXXX.",
    "XooooooX",
    "XooooooX",
    "XooooooX",
    ".XXXXXX.",
]

PICTURES = {
    "menu.bmp": menu_picture(),
    "arrow_up.bmp": picture_with(CHEVRON_UP, {"X": BLACK}),
    "arrow_down.bmp": picture_with(CHEVRON_DOWN, {"X": BLACK}),
    "arrow_left.bmp": picture_with(CHEVRON_LEFT, {"X": BLACK}),
    "arrow_right.bmp": picture_with(CHEVRON_RIGHT, {"X": BLACK}),
    "dot.bmp": picture_with(DOT, {"X": BLACK}),
    "handset_green.bmp": picture_with(HANDSET, {"X": BLACK, "o": GREEN}),
    "handset_red.bmp": picture_with(HANDSET, {"X": BLACK, "o": RED}),
}


def check_picture(name, canvas):
    allowed = {WHITE, BLACK, RED, GREEN}
    used = {colour for row in canvas.pixels for colour in row}
    assert used <= allowed, f"{name}: colours outside the keypad palette"
    assert canvas.pixels[PICTURE_SIZE - 1][0] == WHITE, f"{name}: lower-left pixel must be white"


def bmp_24bit(canvas):
    """A Windows bitmap file: BITMAPFILEHEADER, BITMAPINFOHEADER, bottom-up BGR rows."""
    stride = (canvas.width * 3 + 3) & ~3
    rows = bytearray()
    for row in reversed(canvas.pixels):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        rows += line + bytes(stride - len(line))
    info = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, 24, 0, len(rows), 0, 0, 0, 0)
    offset = 14 + len(info)
    header = struct.pack("<2sIHHI", b"BM", offset + len(rows), 0, 0, offset)
    return header + info + bytes(rows)


# ---------------------------------------------------------------------------
# Program icon: a mobile phone standing behind a computer keycap whose face
# carries an arrow pointing at the phone - keys typed here, pressed there.

INK = (0x1B, 0x22, 0x2B)
PHONE_BODY = (0x3C, 0x4F, 0x63)
PHONE_EDGE = (0x5F, 0x78, 0x91)
SCREEN = (0x7F, 0xE3, 0xF0)
SCREEN_SHINE = (0xC8, 0xF6, 0xFB)
PHONE_KEY = (0xD5, 0xDE, 0xE6)
KEYCAP_SIDE = (0xA9, 0xB6, 0xC2)
KEYCAP_FACE = (0xFA, 0xFB, 0xFC)
ARROW = (0xF2, 0x6B, 0x0F)


def icon_large(size, scale):
    """The 48 x 48 (scale 3) and 32 x 32 (scale 2) icons share one layout.

    Lengths are in sixteenths of the icon, multiplied by the scale, so both
    sizes keep whole-pixel edges.
    """
    s = scale
    canvas = Canvas(size, size)

    # Phone: outline, body, a lighter rim on its left and top, screen, keypad.
    px0, py0, px1, py1 = 6 * s, 0, 16 * s - 1, 16 * s - 1
    canvas.fill_round_rect(px0, py0, px1, py1, 1.5 * s, INK)
    canvas.fill_round_rect(px0 + 1, py0 + 1, px1 - 1, py1 - 1, 1.5 * s - 1, PHONE_BODY)
    canvas.fill_rect(px0 + 2, py0 + 2, px0 + 2, py1 - 3 * s, PHONE_EDGE)
    canvas.fill_rect(px0 + 2, py0 + 2, px1 - 3 * s, py0 + 2, PHONE_EDGE)

    sx0, sy0, sx1, sy1 = 7 * s + 1, 2 * s, 15 * s - 2, 6 * s + 1
    canvas.fill_rect(sx0, sy0, sx1, sy1, INK)
    canvas.fill_rect(sx0 + 1, sy0 + 1, sx1 - 1, sy1 - 1, SCREEN)
    canvas.fill_polygon([(sx0 + 1, sy0 + 1), (sx0 + 3 * s, sy0 + 1), (sx0 + 1, sy0 + 3 * s)], SCREEN_SHINE)

    key_w, key_h = s + 1, s
    for row in range(4):
        for col in range(3):
            kx = 9 * s + 1 + col * 2 * s
            ky = 8 * s + row * 2 * s
            canvas.fill_rect(kx, ky, kx + key_w - 1, ky + key_h - 1, PHONE_KEY)

    # Keycap in front: outline, darker sides, a raised face with the arrow.
    cx0, cy0, cx1, cy1 = 0, 7 * s, 9 * s - 1, 16 * s - 1
    canvas.fill_round_rect(cx0, cy0, cx1, cy1, s, INK)
    canvas.fill_round_rect(cx0 + 1, cy0 + 1, cx1 - 1, cy1 - 1, s - 1, KEYCAP_SIDE)
    fx0, fy0, fx1, fy1 = cx0 + s + 1, cy0 + 1, cx1 - s - 1, cy1 - 2 * s
    canvas.fill_round_rect(fx0, fy0, fx1, fy1, s, INK)
    canvas.fill_round_rect(fx0 + 1, fy0 + 1, fx1 - 1, fy1 - 1, s - 1, KEYCAP_FACE)

    # A bold arrow pointing right, centred on the face.
    mid_y = (fy0 + fy1 + 1) / 2
    ax0, ax1 = fx0 + s + 0.5, fx1 - s + 0.5
    head = 2.5 * s
    shaft = 0.6 * s
    canvas.fill_polygon(
        [
            (ax0, mid_y - shaft),
            (ax1 - head, mid_y - shaft),
            (ax1 - head, mid_y - head),
            (ax1, mid_y),
            (ax1 - head, mid_y + head),
            (ax1 - head, mid_y + shaft),
            (ax0, mid_y + shaft),
        ],
        ARROW,
    )
    return canvas


# At 16 x 16 the same picture is drawn by hand, pixel by pixel; the arrow
# shrinks to its head, as a shaft there would make it read as a plus sign.
ICON_16 = [
    "......KKKKKKKKK.",
    ".....KBBBBBBBBBK",
    ".....KBKKKKKKKBK",
    ".....KBKSSSSSKBK",
    ".....KBKSSSSSKBK",
    ".....KBKKKKKKKBK",
    ".....KBBBBBBBBBK",
    "KKKKKKKKKBBBBBBK",
    "KFFFFFFFKBBBBBBK",
    "KFFAFFFFKBBPBPBK",
    "KFFAAFFFKBBBBBBK",
    "KFFAAAFFKBBPBPBK",
    "KFFAAFFFKBBBBBBK",
    "KFFAFFFFKBBPBPBK",
    "KDDDDDDDKBBBBBBK",
    ".KKKKKKKKKKKKKK.",
]

ICON_16_COLOURS = {
    "K": INK,
    "B": PHONE_BODY,
    "S": SCREEN,
    "P": PHONE_KEY,
    "F": KEYCAP_FACE,
    "D": KEYCAP_SIDE,
    "A": ARROW,
}


def icon_small():
    canvas = Canvas(16, 16)
    canvas.stamp(0, 0, ICON_16, ICON_16_COLOURS)
    return canvas


def ico_file(canvases):
    """An .ico with one 8-bit image per canvas: palette, XOR pixels, AND mask."""
    images = []
    for canvas in canvases:
        colours = sorted({c for row in canvas.pixels for c in row if c is not None})
        # Index 0 is black so that masked-out pixels read as black, as Windows expects.
        palette = [BLACK] + [c for c in colours if c != BLACK]
        assert len(palette) <= 256
        palette += [BLACK] * (256 - len(palette))
        index = {c: i for i, c in reversed(list(enumerate(palette)))}

        w, h = canvas.width, canvas.height
        xor_stride = (w + 3) & ~3
        and_stride = ((w + 31) // 32) * 4
        xor_bits = bytearray()
        and_bits = bytearray()
        for row in reversed(canvas.pixels):
            xor_line = bytes(0 if c is None else index[c] for c in row)
            xor_bits += xor_line + bytes(xor_stride - w)
            mask_line = bytearray(and_stride)
            for x, c in enumerate(row):
                if c is None:
                    mask_line[x // 8] |= 0x80 >> (x % 8)
            and_bits += mask_line

        # The header's height covers both the XOR image and the AND mask.
        info = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 8, 0, len(xor_bits) + len(and_bits), 0, 0, 256, 0)
        quad = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
        images.append((w, h, info + quad + bytes(xor_bits) + bytes(and_bits)))

    header = struct.pack("<HHH", 0, 1, len(images))
    offset = len(header) + 16 * len(images)
    entries = b""
    data = b""
    for w, h, blob in images:
        # Width and height 0 would mean 256; colour count 0 means 256 colours.
        entries += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 8, len(blob), offset + len(data))
        data += blob
    return header + entries + data


def main():
    RES_DIR.mkdir(parents=True, exist_ok=True)
    for name, canvas in PICTURES.items():
        check_picture(name, canvas)
        (RES_DIR / name).write_bytes(bmp_24bit(canvas))
    icon = ico_file([icon_large(48, 3), icon_large(32, 2), icon_small()])
    (RES_DIR / "tastolink.ico").write_bytes(icon)


if __name__ == "__main__":
    main()
