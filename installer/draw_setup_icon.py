#!/usr/bin/env python3
"""Draws the setup program's icon: a page with an arrow (a name that becomes
another) on a rounded tile in the colours of the "Silver" theme.

  draw_setup_icon.py OUT.ico

Writes a Windows icon with 16, 32 and 48 pixel images (32-bit colour with
alpha), each drawn from the same shapes with 4 x 4 supersampling.
"""
import struct
import sys


def lerp(a, b, t):
    return a + (b - a) * t


def rounded_rect(x, y, x0, y0, x1, y1, r):
    """True when (x, y) lies inside the rectangle with rounded corners."""
    if x < x0 or x > x1 or y < y0 or y > y1:
        return False
    cx = min(max(x, x0 + r), x1 - r)
    cy = min(max(y, y0 + r), y1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def in_triangle(x, y, a, b, c):
    def side(p, q):
        return (q[0] - p[0]) * (y - p[1]) - (q[1] - p[1]) * (x - p[0])
    s1, s2, s3 = side(a, b), side(b, c), side(c, a)
    return (s1 >= 0 and s2 >= 0 and s3 >= 0) or (s1 <= 0 and s2 <= 0 and s3 <= 0)


def sample(x, y):
    """Colour (r, g, b, a) of the point (x, y), both from 0 to 1, y downwards."""
    # Arrow (theme highlight orange), drawn over everything.
    if 0.50 <= x <= 0.74 and 0.52 <= y <= 0.64:
        return (0xFA, 0xC8, 0x64, 255)
    if in_triangle(x, y, (0.72, 0.40), (0.95, 0.58), (0.72, 0.76)):
        return (0xE8, 0xA0, 0x30, 255)
    # The page: white with a dark outline and three lines of "text".
    if 0.16 <= x <= 0.58 and 0.14 <= y <= 0.86:
        inner = 0.19 <= x <= 0.55 and 0.17 <= y <= 0.83
        if not inner:
            return (0x57, 0x59, 0x64, 255)
        for top in (0.30, 0.44, 0.58, 0.72):
            if top <= y <= top + 0.05 and 0.25 <= x <= 0.49:
                return (0x96, 0x98, 0xA4, 255)
        return (0xFF, 0xFF, 0xFF, 255)
    # The tile: rounded square with a vertical gradient.
    if rounded_rect(x, y, 0.03, 0.03, 0.97, 0.97, 0.2):
        t = (y - 0.03) / 0.94
        return (int(lerp(0xE0, 0x7E, t)), int(lerp(0xE4, 0x86, t)), int(lerp(0xEE, 0x9C, t)), 255)
    return (0, 0, 0, 0)


def draw(size, ss=4):
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(ss):
                for sx in range(ss):
                    r, g, b, a = sample((px + (sx + 0.5) / ss) / size, (py + (sy + 0.5) / ss) / size)
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            n = ss * ss
            alpha = acc[3] / n
            if alpha > 0:
                row.append((round(acc[0] / acc[3]), round(acc[1] / acc[3]), round(acc[2] / acc[3]), round(alpha)))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def icon_image(size):
    pixels = draw(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = bytearray()
    for row in reversed(pixels):  # bottom-up
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(pixels):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(xor) + bytes(mask)


def main():
    if len(sys.argv) != 2:
        print("usage: draw_setup_icon.py OUT.ico", file=sys.stderr)
        return 2
    sizes = (16, 32, 48)
    images = [icon_image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, img in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    with open(sys.argv[1], "wb") as f:
        f.write(out + b"".join(images))
    return 0


if __name__ == "__main__":
    sys.exit(main())
