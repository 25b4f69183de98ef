#!/usr/bin/python3
"""Writes the pictures the screenshots list: small landscapes in BMP, JPEG, GIF and PNG.

    /usr/bin/python3 tools/make_screenshot_pictures.py <folder> [large count]

The names are Chinese, as a user's would be; the sizes differ, so the preview's size label and
its fitting show. With a large count it also writes that many 4000 x 3000 JPEG photos
(远山01.jpg, ...), which keep a batch run busy long enough to be seen.
"""
import os
import sys

from PIL import Image, ImageDraw


def landscape(width, height, sky_top, sky_bottom, hills, sun):
    picture = Image.new("RGB", (width, height))
    draw = ImageDraw.Draw(picture)
    for y in range(height):
        t = y / (height - 1)
        colour = tuple(int(sky_top[i] + (sky_bottom[i] - sky_top[i]) * t) for i in range(3))
        draw.line([(0, y), (width, y)], fill=colour)
    radius = min(width, height) // 8
    cx, cy = width * 0.7, height * 0.25
    draw.ellipse([cx - radius, cy - radius, cx + radius, cy + radius], fill=sun)
    draw.polygon([(0, height), (0, height * 0.65), (width * 0.3, height * 0.5),
                  (width * 0.6, height * 0.7), (width, height * 0.55), (width, height)],
                 fill=hills)
    return picture


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    lake = landscape(1024, 768, (40, 90, 170), (170, 210, 240), (60, 130, 70), (255, 220, 90))
    lake.save(os.path.join(out, "湖边风景.jpg"), quality=90)
    dusk = landscape(300, 600, (250, 140, 60), (250, 220, 160), (90, 60, 90), (255, 250, 220))
    dusk.save(os.path.join(out, "晚霞.png"))
    night = landscape(640, 480, (20, 30, 80), (80, 90, 160), (30, 50, 40), (240, 240, 230))
    night.save(os.path.join(out, "夜色.bmp"))
    dunes = landscape(400, 300, (120, 200, 230), (220, 240, 250), (200, 180, 120), (255, 255, 255))
    dunes.convert("P", palette=Image.ADAPTIVE).save(os.path.join(out, "沙丘.gif"))
    large = int(sys.argv[2]) if len(sys.argv) > 2 else 0
    for n in range(1, large + 1):
        shade = 20 * (n % 5)
        hills = landscape(4000, 3000, (60 + shade, 110, 180), (200, 220, 235),
                          (50, 110 + shade, 60), (255, 230, 120))
        hills.save(os.path.join(out, "远山%02d.jpg" % n), quality=90)


if __name__ == "__main__":
    main()
