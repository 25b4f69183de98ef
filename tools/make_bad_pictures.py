#!/usr/bin/python3
"""Writes the bad and awkward pictures the bad-picture tests meet (tests/fixtures/bad-pictures/).

The files are committed; running this again writes the same bytes:
    /usr/bin/python3 tools/make_bad_pictures.py
Each picture is a few plain colour blocks, so a test can tell from a pixel whether a converted
picture came out right. The PNGs PIL cannot write (a header far larger than its data, 16 bits per
channel with alpha) are put together chunk by chunk. A zero-byte file needs no generator: the
tests write it themselves.
"""
import io
import os
import struct
import zlib

from PIL import Image

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "tests", "fixtures", "bad-pictures")


def png_chunk(kind, data):
    return (struct.pack(">I", len(data)) + kind + data +
            struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))


def png(width, height, bit_depth, colour_type, rows):
    """A PNG of the given header whose image data are `rows` (each with its filter byte)."""
    header = struct.pack(">IIBBBBB", width, height, bit_depth, colour_type, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", header) +
            png_chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + png_chunk(b"IEND", b""))


def huge_png():
    """A header that claims 60000 x 60000 RGB pixels (10 GB decoded), with two rows of data."""
    row = b"\x00" + b"\x40\x80\xc0" * 60000
    return png(60000, 60000, 8, 2, [row, row])


# The 16-bit picture: its left half opaque green, its right half red at alpha 0x8080 (about half).
RGBA16_SIZE = (20, 10)


def rgba16_png():
    width, height = RGBA16_SIZE
    green = struct.pack(">HHHH", 0, 0xFFFF, 0, 0xFFFF)
    red = struct.pack(">HHHH", 0xFFFF, 0, 0, 0x8080)
    row = b"\x00" + green * (width // 2) + red * (width - width // 2)
    return png(width, height, 16, 6, [row] * height)


# The transparent picture, in three vertical bands: opaque blue, red at alpha 128, and fully
# transparent pixels whose hidden colour is magenta (which must never show).
TRANSPARENT_SIZE = (30, 20)


def transparent_png():
    width, height = TRANSPARENT_SIZE
    picture = Image.new("RGBA", (width, height))
    pixels = picture.load()
    for y in range(height):
        for x in range(width):
            band = x * 3 // width
            pixels[x, y] = [(0, 0, 255, 255), (255, 0, 0, 128), (255, 0, 255, 0)][band]
    out = io.BytesIO()
    picture.save(out, "PNG", optimize=False)
    return out.getvalue()


def photo_like(size):
    width, height = size
    picture = Image.new("RGB", size)
    pixels = picture.load()
    for y in range(height):
        for x in range(width):
            pixels[x, y] = (x * 255 // width, y * 255 // height, (x * y) % 256)
    return picture


def truncated_jpeg():
    """A 64 x 48 JPEG cut off after 60 percent of its bytes: the header is whole, the data not."""
    out = io.BytesIO()
    photo_like((64, 48)).save(out, "JPEG", quality=90)
    whole = out.getvalue()
    return whole[: len(whole) * 6 // 10]


def cmyk_jpeg():
    """A 32 x 24 JPEG stored as CMYK: orange, which is RGB (255, 128, 0)."""
    out = io.BytesIO()
    Image.new("CMYK", (32, 24), (0, 127, 255, 0)).save(out, "JPEG", quality=95)
    return out.getvalue()


def animated_gif():
    """Three 24 x 16 frames: red, then green, then blue."""
    frames = [Image.new("RGB", (24, 16), colour).convert("P", palette=Image.ADAPTIVE, colors=4)
              for colour in [(255, 0, 0), (0, 255, 0), (0, 0, 255)]]
    out = io.BytesIO()
    frames[0].save(out, "GIF", save_all=True, append_images=frames[1:], duration=100, loop=0,
                   disposal=1, optimize=False)
    return out.getvalue()


FILES = {
    "truncated.jpg": truncated_jpeg,
    "text.png": lambda: b"This is a line of text, not a picture.\r\n",
    "huge.png": huge_png,
    "animated.gif": animated_gif,
    "cmyk.jpg": cmyk_jpeg,
    "rgba16.png": rgba16_png,
    "transparent.png": transparent_png,
}


def main():
    os.makedirs(OUT, exist_ok=True)
    for name, make in FILES.items():
        with open(os.path.join(OUT, name), "wb") as out:
            out.write(make())


if __name__ == "__main__":
    main()
