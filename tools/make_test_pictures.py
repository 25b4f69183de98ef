#!/usr/bin/python3
"""Writes the small pictures the form runtime's tests embed (tests/resources/).

The pictures are committed; run this again only to change them:
    /usr/bin/python3 tools/make_test_pictures.py
Each picture is plain enough that a test can tell from one pixel which picture, which frame or
which part of it is on view.
"""
import os

from PIL import Image

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "tests", "resources")

# The background is a chequerboard of 20-pixel squares in two colours; the tests compute the
# colour of any point of it the same way (tests/forms_runtime_test.cpp, BackgroundAt).
SQUARE = 20
LIGHT = (180, 200, 230)
WARM = (230, 210, 180)


def background(width, height):
    picture = Image.new("RGB", (width, height))
    pixels = picture.load()
    for y in range(height):
        for x in range(width):
            pixels[x, y] = LIGHT if ((x // SQUARE) + (y // SQUARE)) % 2 == 0 else WARM
    return picture


def solid(size, colour, mode="RGB"):
    return Image.new(mode, size, colour)


def animation(path, size, colours, hundredths):
    frames = [solid(size, c).convert("P", palette=Image.ADAPTIVE, colors=4) for c in colours]
    frames[0].save(path, save_all=True, append_images=frames[1:], duration=hundredths * 10, loop=0,
                   disposal=1, optimize=False)


def main():
    os.makedirs(OUT, exist_ok=True)
    background(480, 360).save(os.path.join(OUT, "test_background.png"))
    solid((40, 20), (0, 128, 0)).save(os.path.join(OUT, "test_btn_normal.png"))
    solid((40, 20), (0, 0, 200)).save(os.path.join(OUT, "test_btn_hover.png"))
    solid((40, 20), (200, 0, 0)).save(os.path.join(OUT, "test_btn_pressed.png"))
    # Half see-through: the background must show through a blended picture.
    solid((40, 10), (255, 255, 0, 128), "RGBA").save(os.path.join(OUT, "test_label_back.png"))
    animation(os.path.join(OUT, "test_anim.gif"), (24, 24), [(255, 0, 0), (0, 255, 0), (0, 0, 255)], 6)


if __name__ == "__main__":
    main()
