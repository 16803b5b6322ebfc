#!/usr/bin/env python3
"""Writes the product icon (.ico, one 32 x 32 image, 4 bits per pixel) from its
text pixel map, so the picture is kept as source and built like everything else.

    make_icon.py product_icon.txt product.ico
"""
import struct
import sys

SIZE = 32
# The 16 standard colours, in the order the pixel map's digits name them.
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
TRANSPARENT = "."


def read_pixel_map(path):
    rows = []
    with open(path, encoding="ascii") as source:
        for number, line in enumerate(source, 1):
            line = line.rstrip("\r\n")
            if not line or line.startswith("#"):
                continue
            if len(line) != SIZE:
                sys.exit(f"{path}:{number}: a row must be {SIZE} pixels, this one is {len(line)}")
            for char in line:
                if char != TRANSPARENT and char.upper() not in "0123456789ABCDEF":
                    sys.exit(f"{path}:{number}: '{char}' is not a colour digit or '{TRANSPARENT}'")
            rows.append(line)
    if len(rows) != SIZE:
        sys.exit(f"{path}: the picture must have {SIZE} rows, it has {len(rows)}")
    return rows


def icon_image(rows):
    # A device-independent bitmap of double height (colour part, then mask), bottom row first.
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    colour = bytearray()
    mask = bytearray()
    for row in reversed(rows):
        nibbles = [0 if c == TRANSPARENT else int(c, 16) for c in row]
        colour += bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, SIZE, 2))
        bits = 0
        for c in row:
            bits = (bits << 1) | (1 if c == TRANSPARENT else 0)
        mask += struct.pack(">I", bits)  # rows of 32 bits are already 4-byte aligned
    return header + palette + bytes(colour) + bytes(mask)


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: make_icon.py PIXEL_MAP ICON")
    image = icon_image(read_pixel_map(sys.argv[1]))
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    with open(sys.argv[2], "wb") as out:
        out.write(directory + entry + image)


if __name__ == "__main__":
    main()
