#!/usr/bin/python3
"""The pictures of the acceptance test, and the check of what the program wrote from them.

    acceptance_pictures.py make FOLDER
        writes lake.jpg, dusk.png, night.bmp and dunes.gif into FOLDER: a sky, a sun at the top
        right and hills at the bottom, of different sizes and shapes, so that a picture written
        flipped, shifted or squeezed shows.
    acceptance_pictures.py marks SOURCE WRITTEN [SOURCE WRITTEN ...]
        compares each written picture with its source scaled to the written size and checks that
        they differ near the top left corner (the watermark) and nowhere else. Prints one line
        per picture; exits with 1 when any picture fails.
"""
import os
import sys

from PIL import Image, ImageDraw

# A pixel differs when one of its channels differs by more than this share of 255: more than
# the scaling filters disagree by, far less than dark text on a sky, even the night's.
TOLERANCE = 0.25
# The watermark lies at (10, 10); its text is 20 pixels high, with a shadow.
MARK_BOX = (0, 0, 140, 50)
MARKED_AT_LEAST = 150


def landscape(width, height, sky_top, sky_bottom):
    picture = Image.new("RGB", (width, height))
    draw = ImageDraw.Draw(picture)
    for y in range(height):
        t = y / (height - 1)
        draw.line([(0, y), (width, y)],
                  fill=tuple(int(sky_top[i] + (sky_bottom[i] - sky_top[i]) * t) for i in range(3)))
    r, cx, cy = min(width, height) // 8, width * 0.7, height * 0.25
    draw.ellipse([cx - r, cy - r, cx + r, cy + r], fill=(240, 208, 80))
    draw.polygon([(0, height), (0, height * 0.65), (width * 0.3, height * 0.5),
                  (width * 0.6, height * 0.7), (width, height * 0.55), (width, height)],
                 fill=(60, 128, 70))
    return picture


def make(folder):
    os.makedirs(folder, exist_ok=True)
    landscape(640, 480, (40, 96, 176), (176, 216, 240)).save(
        os.path.join(folder, "lake.jpg"), quality=90)
    landscape(300, 600, (250, 140, 60), (250, 220, 160)).save(os.path.join(folder, "dusk.png"))
    landscape(400, 300, (20, 30, 80), (80, 90, 160)).save(os.path.join(folder, "night.bmp"))
    landscape(480, 360, (120, 200, 230), (220, 240, 250)).convert(
        "P", palette=Image.ADAPTIVE).save(os.path.join(folder, "dunes.gif"))


def differing_pixels(written, reference, box):
    limit = TOLERANCE * 255
    a, b = written.crop(box).getdata(), reference.crop(box).getdata()
    return sum(1 for p, q in zip(a, b) if max(abs(p[i] - q[i]) for i in range(3)) > limit)


def check_marks(source_path, written_path):
    """Returns a failure text, or None."""
    name = os.path.basename(written_path)
    written = Image.open(written_path).convert("RGB")
    width, height = written.size
    reference = Image.open(source_path).convert("RGB").resize((width, height), Image.BICUBIC)
    marked = differing_pixels(written, reference, MARK_BOX)
    top_right = differing_pixels(written, reference, (width // 2, 0, width, height // 2))
    bottom = differing_pixels(written, reference, (0, height // 2, width, height))
    print(f"acceptance: {name}: differing pixels: {marked} top left, {top_right} top right, "
          f"{bottom} bottom half")
    # Elsewhere at most 1% of the region differs: a misplaced watermark alone is about 3%.
    if marked < MARKED_AT_LEAST:
        return f"{name} has no watermark at the top left ({marked} pixels differ)"
    if top_right > (width // 2) * (height // 2) // 100:
        return f"{name} differs from its source at the top right ({top_right} pixels)"
    if bottom > width * (height - height // 2) // 100:
        return f"{name} differs from its source in the bottom half ({bottom} pixels)"
    return None


def main():
    if len(sys.argv) == 3 and sys.argv[1] == "make":
        make(sys.argv[2])
        return 0
    if len(sys.argv) >= 4 and sys.argv[1] == "marks" and len(sys.argv) % 2 == 0:
        failures = [f for f in (check_marks(s, w) for s, w in zip(sys.argv[2::2], sys.argv[3::2]))
                    if f]
        for failure in failures:
            print(f"acceptance: {failure}", file=sys.stderr)
        return 1 if failures else 0
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main())
