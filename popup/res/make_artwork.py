#!/usr/bin/env python3
"""Draws the alert window's artwork and writes it as BMP, ICO and CUR files.

Run from anywhere: `python3 make_artwork.py` rewrites, beside this script,
  popup-background.bmp  259x145, 24 bits: the whole window
  close-hot.bmp          33x19, 24 bits: the close button under the pointer
  importance.ico         16x16: one unit of importance, a blue diamond
  hand.cur               32x32 monochrome pointing hand, hot spot (5, 0)
Pure Python, no imaging library; the output is byte-for-byte reproducible.
"""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

WIDTH, HEIGHT = 259, 145
CAPTION_HEIGHT = 30
CLOSE_LEFT, CLOSE_TOP, CLOSE_RIGHT, CLOSE_BOTTOM = 220, 0, 253, 19

# Colour of the diamond's face; the window's tests look for it on screen.
DIAMOND = (32, 96, 224)
DIAMOND_EDGE = (16, 48, 150)


class Canvas:
    def __init__(self, width, height, colour=(0, 0, 0)):
        self.width, self.height = width, height
        self.pixels = [[colour] * width for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def get(self, x, y):
        return self.pixels[y][x]

    def fill(self, left, top, right, bottom, colour):
        for y in range(top, bottom):
            for x in range(left, right):
                self.put(x, y, colour)

    def frame(self, left, top, right, bottom, colour):
        for x in range(left, right):
            self.put(x, top, colour)
            self.put(x, bottom - 1, colour)
        for y in range(top, bottom):
            self.put(left, y, colour)
            self.put(right - 1, y, colour)

    def line(self, x0, y0, x1, y1, colour):
        steps = max(abs(x1 - x0), abs(y1 - y0))
        for i in range(steps + 1):
            self.put(round(x0 + (x1 - x0) * i / steps), round(y0 + (y1 - y0) * i / steps), colour)


def blend(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


def vertical_gradient(canvas, top, bottom, start, end):
    for y in range(top, bottom):
        colour = blend(start, end, (y - top) / max(1, bottom - top - 1))
        for x in range(canvas.width):
            canvas.put(x, y, colour)


def draw_cross(canvas, left, top, right, bottom, colour, size=4):
    cx, cy = (left + right - 1) / 2, (top + bottom - 1) / 2
    for d in (-0.5, 0, 0.5):
        canvas.line(round(cx - size + d), round(cy - size), round(cx + size + d), round(cy + size), colour)
        canvas.line(round(cx - size + d), round(cy + size), round(cx + size + d), round(cy - size), colour)


def draw_envelope(canvas, left, top):
    body, edge, flap = (250, 208, 60), (170, 120, 20), (236, 176, 30)
    w, h = 18, 13
    canvas.fill(left, top, left + w, top + h, body)
    canvas.frame(left, top, left + w, top + h, edge)
    canvas.line(left, top, left + w // 2, top + h // 2 + 1, flap)
    canvas.line(left + w - 1, top, left + w // 2, top + h // 2 + 1, flap)
    canvas.line(left + 1, top, left + w // 2, top + h // 2, edge)
    canvas.line(left + w - 2, top, left + w // 2, top + h // 2, edge)


def draw_logo(canvas, cx, cy, radius):
    ring, face, mark = (60, 110, 170), (225, 236, 248), (220, 80, 40)
    for y in range(cy - radius - 1, cy + radius + 2):
        for x in range(cx - radius - 1, cx + radius + 2):
            d = math.hypot(x - cx, y - cy)
            if d <= radius - 2:
                canvas.put(x, y, face)
            elif d <= radius:
                canvas.put(x, y, ring)
    # A rising line inside the ring: the mark of a stock chart.
    canvas.line(cx - 6, cy + 3, cx - 2, cy - 1, mark)
    canvas.line(cx - 2, cy - 1, cx + 1, cy + 2, mark)
    canvas.line(cx + 1, cy + 2, cx + 6, cy - 4, mark)
    canvas.line(cx - 6, cy + 4, cx - 2, cy, mark)
    canvas.line(cx - 2, cy, cx + 1, cy + 3, mark)
    canvas.line(cx + 1, cy + 3, cx + 6, cy - 3, mark)


def background():
    c = Canvas(WIDTH, HEIGHT)
    vertical_gradient(c, 0, CAPTION_HEIGHT, (222, 232, 244), (190, 206, 226))
    c.fill(0, CAPTION_HEIGHT - 1, WIDTH, CAPTION_HEIGHT, (150, 170, 198))
    vertical_gradient(c, CAPTION_HEIGHT, HEIGHT, (250, 250, 250), (216, 216, 220))
    draw_envelope(c, 7, 8)
    draw_cross(c, CLOSE_LEFT, CLOSE_TOP, CLOSE_RIGHT, CLOSE_BOTTOM, (90, 100, 120))
    draw_logo(c, WIDTH - 20, HEIGHT - 19, 11)
    c.frame(0, 0, WIDTH, HEIGHT, (110, 130, 160))
    return c


def close_hot():
    c = Canvas(CLOSE_RIGHT - CLOSE_LEFT, CLOSE_BOTTOM - CLOSE_TOP)
    vertical_gradient(c, 0, c.height, (236, 110, 96), (196, 48, 36))
    c.frame(0, 0, c.width, c.height, (150, 30, 24))
    draw_cross(c, 0, 0, c.width, c.height, (255, 255, 255))
    return c


def bmp_rows(canvas):
    """Bottom-up rows of 24-bit BGR pixels padded to four bytes."""
    pad = (4 - canvas.width * 3 % 4) % 4
    out = bytearray()
    for y in reversed(range(canvas.height)):
        for r, g, b in canvas.pixels[y]:
            out += bytes((b, g, r))
        out += b"\0" * pad
    return bytes(out)


def write_bmp(path, canvas):
    pixels = bmp_rows(canvas)
    info = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    with open(path, "wb") as f:
        f.write(header + info + pixels)


def mask_rows(bits, width, height):
    """Bottom-up 1-bit rows padded to four bytes; bits[y][x] is 0 or 1."""
    stride = (width + 31) // 32 * 4
    out = bytearray()
    for y in reversed(range(height)):
        row = bytearray(stride)
        for x in range(width):
            if bits[y][x]:
                row[x // 8] |= 0x80 >> (x % 8)
        out += row
    return bytes(out)


def diamond_icon():
    """16x16, 32 bits with a 1-bit AND mask; hard edges, so every drawn pixel is opaque."""
    size = 16
    colour, transparent = [], []
    for y in range(size):
        crow, trow = [], []
        for x in range(size):
            d = abs(x - 7.5) + abs(y - 7.5)
            if d <= 5.5:
                crow.append(DIAMOND)
            elif d <= 7.0:
                crow.append(DIAMOND_EDGE)
            else:
                crow.append(None)
            trow.append(1 if crow[-1] is None else 0)
        colour.append(crow)
        transparent.append(trow)
    # A highlight on the upper-left face gives the diamond some depth.
    for y in range(4, 8):
        for x in range(4, 8):
            if abs(x - 7.5) + abs(y - 7.5) <= 4.5 and x + y < 13 and colour[y][x] == DIAMOND:
                colour[y][x] = (96, 150, 240)
    xor = bytearray()
    for y in reversed(range(size)):
        for x in range(size):
            c = colour[y][x]
            xor += bytes((0, 0, 0, 0)) if c is None else bytes((c[2], c[1], c[0], 255))
    and_mask = mask_rows(transparent, size, size)
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
    image = info + bytes(xor) + and_mask
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), 22)
    return directory + image


HAND = [
    "    XX          ",
    "   XooX         ",
    "   XooX         ",
    "   XooX         ",
    "   XooX         ",
    "   XooXXX       ",
    "   XooXooXXX    ",
    "   XooXooXooXX  ",
    "XX XooXooXooXoX ",
    "XoXXooXooXooXooX",
    "XooXoooooooooooX",
    " XoXoooooooooooX",
    " XoooooooooooooX",
    "  XooooooooooooX",
    "  XoooooooooooX ",
    "   XooooooooooX ",
    "   XooooooooooX ",
    "    XooooooooX  ",
    "    XooooooooX  ",
    "    XXXXXXXXXX  ",
]


def hand_cursor():
    """32x32 monochrome: AND 1 and XOR 0 is transparent, AND 0 selects black (0) or white (1)."""
    size = 32
    rows = [row.ljust(size) for row in HAND] + [" " * size] * (size - len(HAND))
    xor_bits = [[1 if ch == "o" else 0 for ch in row] for row in rows]
    and_bits = [[1 if ch == " " else 0 for ch in row] for row in rows]
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    xor, and_mask = mask_rows(xor_bits, size, size), mask_rows(and_bits, size, size)
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 1, 0, len(xor) + len(and_mask), 0, 0, 2, 0)
    image = info + palette + xor + and_mask
    hot_x, hot_y = 5, 0
    directory = struct.pack("<HHH", 0, 2, 1) + struct.pack("<BBBBHHII", size, size, 2, 0, hot_x, hot_y, len(image), 22)
    return directory + image


def main():
    write_bmp(os.path.join(HERE, "popup-background.bmp"), background())
    write_bmp(os.path.join(HERE, "close-hot.bmp"), close_hot())
    with open(os.path.join(HERE, "importance.ico"), "wb") as f:
        f.write(diamond_icon())
    with open(os.path.join(HERE, "hand.cur"), "wb") as f:
        f.write(hand_cursor())


if __name__ == "__main__":
    main()
