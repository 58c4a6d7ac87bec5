#!/usr/bin/env python3
"""Draws Tidymoth's icon (a small moth) as res/tidymoth.ico: 32x32 and 16x16, 16 colours."""
import struct
import sys

# The standard 16-colour palette (B, G, R, 0).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
    (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
    (255, 0, 255), (0, 255, 255), (255, 255, 255),
]  # RGB
BLACK, DARK_YELLOW, GREY, LIGHT_GREY, YELLOW, WHITE = 0, 3, 8, 7, 11, 15
TRANSPARENT = None


def moth(size):
    s = size / 32.0
    img = [[TRANSPARENT] * size for _ in range(size)]

    def ellipse(cx, cy, rx, ry, colour):
        for y in range(size):
            for x in range(size):
                if ((x + 0.5 - cx * s) / (rx * s)) ** 2 + ((y + 0.5 - cy * s) / (ry * s)) ** 2 <= 1.0:
                    img[y][x] = colour

    # Fore wings, hind wings, spots, body, antennae.
    ellipse(9, 12, 8, 7, DARK_YELLOW)
    ellipse(23, 12, 8, 7, DARK_YELLOW)
    ellipse(10, 22, 6, 5, GREY)
    ellipse(22, 22, 6, 5, GREY)
    ellipse(9, 12, 5, 4, YELLOW)
    ellipse(23, 12, 5, 4, YELLOW)
    ellipse(9, 12, 1.8, 1.8, BLACK)
    ellipse(23, 12, 1.8, 1.8, BLACK)
    ellipse(16, 17, 2.2, 10, BLACK)
    ellipse(16, 16, 1.0, 7, GREY)
    for i in range(6):
        for dx in (-1, 1):
            x = int((16 + dx * (1 + i)) * s)
            y = int((6 - i) * s)
            if 0 <= x < size and 0 <= y < size:
                img[y][x] = BLACK
    return img


def dib(img):
    size = len(img)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in PALETTE)
    xor_rows = []
    and_rows = []
    for row in reversed(img):  # bottom-up
        nibbles = [(c if c is not None else 0) for c in row]
        data = bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, size, 2))
        xor_rows.append(data + b'\0' * ((4 - len(data) % 4) % 4))
        bits = 0
        mask = bytearray()
        for i, c in enumerate(row):
            bits = (bits << 1) | (1 if c is None else 0)
            if i % 8 == 7:
                mask.append(bits)
                bits = 0
        and_rows.append(bytes(mask) + b'\0' * ((4 - len(mask) % 4) % 4))
    return header + palette + b''.join(xor_rows) + b''.join(and_rows)


def main(path):
    images = [dib(moth(32)), dib(moth(16))]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip((32, 16), images):
        out += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    out += b''.join(images)
    with open(path, 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'res/tidymoth.ico')
