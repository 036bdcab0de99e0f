#!/usr/bin/env python3
"""Draws the program's icon, src/resources/korumix.ico: three coloured line
figures (a red triangle, a green square turned on its corner, a blue bar with
a faint trail) on black, at 32x32 and 16x16, 32 bits per pixel.

Usage: tools/make-icon.py [output.ico]   (default: src/resources/korumix.ico)
Only the standard library is used, so it runs on a bare machine.
"""
import os
import struct
import sys

RED, GREEN, BLUE = (255, 48, 48), (48, 255, 48), (64, 96, 255)
DIM_BLUE = (24, 36, 110)


def line(pixels, size, x0, y0, x1, y1, colour):
    """Bresenham's line, both ends included, clipped to the image."""
    dx, dy = abs(x1 - x0), -abs(y1 - y0)
    sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
    err = dx + dy
    while True:
        if 0 <= x0 < size and 0 <= y0 < size:
            pixels[y0][x0] = colour
        if x0 == x1 and y0 == y1:
            return
        e2 = 2 * err
        if e2 >= dy:
            err += dy
            x0 += sx
        if e2 <= dx:
            err += dx
            y0 += sy


def outline(pixels, size, points, colour):
    for i, (x, y) in enumerate(points):
        nx, ny = points[(i + 1) % len(points)]
        line(pixels, size, x, y, nx, ny, colour)


def draw(size):
    """The figures on a 32-unit grid, scaled to `size` pixels."""
    pixels = [[(0, 0, 0)] * size for _ in range(size)]

    def s(points):
        return [(x * size // 32, y * size // 32) for x, y in points]

    for step in range(3):  # the bar's trail: older outlines, dimmer
        shift = 2 * (2 - step)
        colour = BLUE if step == 2 else DIM_BLUE
        (x0, y0), (x1, y1) = s([(4 + shift, 27), (14 + shift, 19)])
        line(pixels, size, x0, y0, x1, y1, colour)
    outline(pixels, size, s([(16, 2), (29, 22), (5, 16)]), RED)
    outline(pixels, size, s([(22, 14), (29, 21), (22, 28), (15, 21)]), GREEN)
    return pixels


def image_entry(size):
    """One icon image: BITMAPINFOHEADER, bottom-up BGRA rows, AND mask."""
    pixels = draw(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = b"".join(
        b"".join(struct.pack("BBBB", b, g, r, 255) for (r, g, b) in pixels[y])
        for y in range(size - 1, -1, -1))
    mask_row = ((size + 31) // 32) * 4
    mask = bytes(mask_row * size)  # every pixel opaque
    return header + rows + mask


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        here, "..", "src", "resources", "korumix.ico")
    sizes = [32, 16]
    images = [image_entry(n) for n in sizes]
    data = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for n, img in zip(sizes, images):
        data += struct.pack("<BBBBHHII", n, n, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    data += b"".join(images)
    with open(out, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
