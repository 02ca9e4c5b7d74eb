#!/usr/bin/env python3
"""Draws the program icon (a total station on its tripod) and writes
resources/program.ico with a 32x32 and a 16x16 image in 16 colours."""
import struct
import sys

# The standard 16-colour palette (index: (r, g, b)).
PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
           (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
           (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
T = None  # transparent
BLACK, DARKYELLOW, DARKGRAY, LIGHTGRAY, YELLOW, BLUE, CYAN, WHITE, NAVY = 0, 3, 8, 7, 11, 12, 14, 15, 4


def draw(size):
    px = [[T] * size for _ in range(size)]
    s = size / 32.0

    def rect(x0, y0, x1, y1, c):
        for y in range(int(y0 * s), max(int(y0 * s) + 1, int(y1 * s))):
            for x in range(int(x0 * s), max(int(x0 * s) + 1, int(x1 * s))):
                if 0 <= x < size and 0 <= y < size:
                    px[y][x] = c

    def line(x0, y0, x1, y1, c, w=1):
        steps = int(max(abs(x1 - x0), abs(y1 - y0)) * s * 2) + 1
        for i in range(steps + 1):
            x = (x0 + (x1 - x0) * i / steps) * s
            y = (y0 + (y1 - y0) * i / steps) * s
            for dx in range(w):
                xi, yi = int(x) + dx, int(y)
                if 0 <= xi < size and 0 <= yi < size:
                    px[yi][xi] = c

    w = 2 if size >= 32 else 1
    # Tripod legs and head plate.
    line(16, 19, 5, 31, DARKYELLOW, w)
    line(16, 19, 27, 31, DARKYELLOW, w)
    line(16, 19, 16, 31, DARKYELLOW, w)
    rect(10, 18, 23, 20, DARKGRAY)
    # Instrument body with its yellow standards and blue display.
    rect(11, 7, 22, 18, YELLOW)
    rect(11, 7, 12, 18, DARKYELLOW)
    rect(21, 7, 22, 18, DARKYELLOW)
    rect(13, 13, 20, 17, BLUE)
    rect(14, 14, 17, 15, CYAN)
    # Telescope across the top, with its lens.
    rect(8, 3, 25, 7, LIGHTGRAY)
    rect(8, 3, 25, 4, WHITE)
    rect(8, 6, 25, 7, DARKGRAY)
    rect(24, 3, 26, 7, NAVY)
    rect(6, 4, 8, 6, BLACK)
    return px


def image(size):
    px = draw(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('BBBB', b, g, r, 0) for r, g, b in PALETTE)
    xor_rows, and_rows = [], []
    for y in reversed(range(size)):  # bottom-up rows
        row = px[y]
        nibbles = [0 if c is None else c for c in row]
        data = bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, size, 2))
        xor_rows.append(data + b'\0' * ((4 - len(data) % 4) % 4))
        bits = 0
        mask = bytearray()
        for x, c in enumerate(row):
            bits = (bits << 1) | (1 if c is None else 0)
            if x % 8 == 7:
                mask.append(bits)
                bits = 0
        and_rows.append(bytes(mask) + b'\0' * ((4 - len(mask) % 4) % 4))
    return header + palette + b''.join(xor_rows) + b''.join(and_rows)


def main(path):
    images = [(32, image(32)), (16, image(16))]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    out += b''.join(data for _, data in images)
    with open(path, 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'resources/program.ico')
