#!/usr/bin/env python3
"""Draws all of the program's artwork and writes it into the source tree.

Outputs (committed; rerunning this script rewrites them byte for byte):
  forms/art/*.png, forms/art/*.gif  main window background, picture buttons, panels, animations
  forms/art.rc.in                   resource script embedding them as RCDATA by name
  app/tuconv.ico                    the program's icon (16, 24, 32, 48, 64 and 256 px)
  fontwindow/preview_background.jpg the font window's background photograph (baseline JPEG)
  fontwindow/data.rc.in             resource script embedding that photograph

Needs Python 3 with Pillow (Debian: python3-pil) and the WenQuanYi Zen Hei font
(fonts-wqy-zenhei). Everything is drawn from code with fixed random seeds; nothing is read
from outside the repository except the font.

Usage: make_artwork.py [--out DIR]   (DIR defaults to the repository root)
"""

import argparse
import io
import math
import os
import random
import struct
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

FONT_FILE = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc"
SUPERSAMPLE = 4  # shapes are drawn this many times larger and scaled down for smooth edges

# ---------------------------------------------------------------------------------------------
# Palette: a teal/blue scheme around the banner colour #317D8B.
# ---------------------------------------------------------------------------------------------
BANNER = (49, 125, 139)
TEAL = (47, 128, 143)
TEAL_BRIGHT = (62, 157, 172)
TEAL_DARK = (33, 99, 112)
TEAL_DEEP = (24, 78, 89)
TEAL_PALE = (226, 241, 244)
TEAL_MIST = (240, 247, 248)
HEADER_TOP = (60, 142, 157)
HEADER_BOTTOM = (44, 116, 130)
BODY_TOP = (238, 244, 246)
BODY_BOTTOM = (229, 237, 240)
CARD = (255, 255, 255)
CARD_BORDER = (200, 218, 223)
FIELD_BORDER = (178, 201, 207)
TEXT_DARK = (40, 58, 64)
TEXT_MUTED = (112, 134, 141)
DISABLED_FILL = (236, 240, 241)
DISABLED_BORDER = (210, 218, 220)
DISABLED_TEXT = (168, 178, 181)
ACCENT = (246, 168, 46)  # warm amber: sun, folder
ACCENT_DARK = (222, 139, 22)
CLOSE_RED = (222, 72, 60)
WHITE = (255, 255, 255)


# ---------------------------------------------------------------------------------------------
# Drawing toolkit. A canvas is an RGBA image; shapes are drawn into supersampled masks, scaled
# down, and composited with a solid colour or a gradient.
# ---------------------------------------------------------------------------------------------
class ScaledDraw:
    """ImageDraw on a supersampled mask, taking coordinates in output pixels (floats)."""

    def __init__(self, mask, scale, origin):
        self.draw = ImageDraw.Draw(mask)
        self.s = scale
        self.ox, self.oy = origin

    def _pt(self, x, y):
        return ((x - self.ox) * self.s, (y - self.oy) * self.s)

    def _box(self, box):
        x0, y0 = self._pt(box[0], box[1])
        x1, y1 = self._pt(box[2], box[3])
        return (x0, y0, x1 - 1, y1 - 1)

    def rrect(self, box, radius, fill=255):
        b = self._box(box)
        r = min(radius * self.s, (b[2] - b[0]) / 2, (b[3] - b[1]) / 2)
        if r <= 0:
            self.draw.rectangle(b, fill=fill)
        else:
            self.draw.rounded_rectangle(b, radius=r, fill=fill)

    def rect(self, box, fill=255):
        self.draw.rectangle(self._box(box), fill=fill)

    def ellipse(self, box, fill=255):
        self.draw.ellipse(self._box(box), fill=fill)

    def circle(self, cx, cy, r, fill=255):
        self.ellipse((cx - r, cy - r, cx + r, cy + r), fill)

    def polygon(self, points, fill=255):
        self.draw.polygon([self._pt(x, y) for x, y in points], fill=fill)

    def line(self, points, width, fill=255, round_caps=True):
        pts = [self._pt(x, y) for x, y in points]
        w = max(1, int(round(width * self.s)))
        self.draw.line(pts, fill=fill, width=w, joint="curve")
        if round_caps:
            r = w / 2
            for x, y in (pts[0], pts[-1]):
                self.draw.ellipse((x - r, y - r, x + r - 1, y + r - 1), fill=fill)

    def arc(self, box, start, end, width, fill=255):
        self.draw.arc(self._box(box), start, end, fill=fill, width=max(1, int(round(width * self.s))))


def shape_mask(size, draw_fn, region=None):
    """Mask (mode L, output size) of whatever draw_fn(ScaledDraw) draws, limited to region."""
    if region is None:
        region = (0, 0, size[0], size[1])
    x0, y0, x1, y1 = [int(v) for v in region]
    w, h = x1 - x0, y1 - y0
    big = Image.new("L", (w * SUPERSAMPLE, h * SUPERSAMPLE), 0)
    draw_fn(ScaledDraw(big, SUPERSAMPLE, (x0, y0)))
    small = big.resize((w, h), Image.BOX)
    mask = Image.new("L", size, 0)
    mask.paste(small, (x0, y0))
    return mask


def scale_mask(mask, opacity):
    if opacity >= 255:
        return mask
    return mask.point(lambda v: v * opacity // 255)


def fill_image(size, fill):
    """An RGB image of the canvas size: a solid colour, or an already made gradient image."""
    if isinstance(fill, Image.Image):
        return fill.convert("RGB")
    return Image.new("RGB", size, fill[:3])


def composite(canvas, mask, fill, opacity=255):
    """Lays fill (colour or image) onto canvas through mask, with extra opacity."""
    if isinstance(fill, tuple) and len(fill) == 4:
        opacity = opacity * fill[3] // 255
        fill = fill[:3]
    layer = fill_image(canvas.size, fill).convert("RGBA")
    layer.putalpha(scale_mask(mask, opacity))
    canvas.alpha_composite(layer)


def paint(canvas, draw_fn, fill, opacity=255, region=None):
    composite(canvas, shape_mask(canvas.size, draw_fn, region), fill, opacity)


def vertical_gradient(size, stops):
    """RGB image with colours interpolated from top to bottom between (position, colour) stops."""
    w, h = size
    column = Image.new("RGB", (1, h))
    px = column.load()
    for y in range(h):
        t = y / max(1, h - 1)
        for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
            if p0 <= t <= p1:
                f = 0 if p1 == p0 else (t - p0) / (p1 - p0)
                px[0, y] = tuple(int(round(a + (b - a) * f)) for a, b in zip(c0, c1))
                break
        else:
            px[0, y] = stops[-1][1] if t > stops[-1][0] else stops[0][1]
    return column.resize((w, h), Image.NEAREST)


def gradient_in_box(size, box, top, bottom):
    """Canvas-sized image, the gradient from top to bottom running over the box's height."""
    x0, y0, x1, y1 = box
    img = Image.new("RGB", size, top)
    h = max(1, int(math.ceil(y1)) - int(y0))
    grad = vertical_gradient((size[0], h), [(0.0, top), (1.0, bottom)])
    img.paste(grad, (0, int(y0)))
    if int(y0) + h < size[1]:
        img.paste(bottom, (0, int(y0) + h, size[0], size[1]))
    return img


def drop_shadow(canvas, draw_fn, blur, offset=(0, 1), colour=(20, 60, 70), opacity=60):
    mask = shape_mask(canvas.size, draw_fn)
    mask = ImageChops.offset(mask, int(offset[0]), int(offset[1]))
    mask = mask.filter(ImageFilter.GaussianBlur(blur))
    composite(canvas, mask, colour, opacity)


def rrect_frame(canvas, box, radius, colour, width=1.0, opacity=255):
    """A rounded rectangle's outline of the given width, inside the box."""
    x0, y0, x1, y1 = box
    outer = shape_mask(canvas.size, lambda d: d.rrect(box, radius))
    inner = shape_mask(
        canvas.size,
        lambda d: d.rrect((x0 + width, y0 + width, x1 - width, y1 - width), max(0, radius - width)),
    )
    composite(canvas, ImageChops.subtract(outer, inner), colour, opacity)


def dashed_rrect(canvas, box, radius, colour, dash=6.0, gap=4.0, width=1.0, opacity=255):
    """Dashed rounded-rectangle outline: dashes are laid along the perimeter path."""
    x0, y0, x1, y1 = box
    r = radius
    path = []
    # Walk the perimeter clockwise, sampling points every 0.25 px.
    segments = [
        ("line", (x0 + r, y0), (x1 - r, y0)),
        ("arc", (x1 - r, y0 + r), -90, 0),
        ("line", (x1, y0 + r), (x1, y1 - r)),
        ("arc", (x1 - r, y1 - r), 0, 90),
        ("line", (x1 - r, y1), (x0 + r, y1)),
        ("arc", (x0 + r, y1 - r), 90, 180),
        ("line", (x0, y1 - r), (x0, y0 + r)),
        ("arc", (x0 + r, y0 + r), 180, 270),
    ]
    for seg in segments:
        if seg[0] == "line":
            (ax, ay), (bx, by) = seg[1], seg[2]
            n = max(1, int(math.hypot(bx - ax, by - ay) * 4))
            path += [(ax + (bx - ax) * i / n, ay + (by - ay) * i / n) for i in range(n)]
        else:
            (cx, cy), a0, a1 = seg[1], seg[2], seg[3]
            n = max(1, int(math.radians(a1 - a0) * r * 4))
            path += [
                (cx + r * math.cos(math.radians(a0 + (a1 - a0) * i / n)),
                 cy + r * math.sin(math.radians(a0 + (a1 - a0) * i / n)))
                for i in range(n)
            ]
    period = dash + gap
    runs, current = [], []
    for i, p in enumerate(path):
        if (i * 0.25) % period < dash:
            current.append(p)
        elif current:
            runs.append(current)
            current = []
    if current:
        runs.append(current)

    def draw(d):
        for run in runs:
            if len(run) > 1:
                d.line(run, width, round_caps=False)

    paint(canvas, draw, colour, opacity)


# ---------------------------------------------------------------------------------------------
# Text. Captions are rendered by FreeType at their final size (hinted, anti-aliased) into a mask.
# ---------------------------------------------------------------------------------------------
_fonts = {}


def font(size):
    if size not in _fonts:
        _fonts[size] = ImageFont.truetype(FONT_FILE, size, index=0)
    return _fonts[size]


def text_mask(size, xy, text, px, anchor="lm", weight=0.0, squeeze=1.0):
    """Mask of text at xy (anchor as in Pillow: l/m/r + t/m/b/s). weight > 0 thickens the strokes
    by a fraction of a pixel; squeeze < 1 narrows the text horizontally around its anchor."""
    f = font(px)
    mask = Image.new("L", size, 0)
    x, y = xy
    if squeeze == 1.0:
        ImageDraw.Draw(mask).text((x, y), text, font=f, fill=255, anchor=anchor)
    else:
        # Render at the natural width, then scale horizontally about the anchor point.
        bbox = f.getbbox(text, anchor=anchor)
        pad = 4
        w0 = bbox[2] - bbox[0] + 2 * pad
        h0 = bbox[3] - bbox[1] + 2 * pad
        tmp = Image.new("L", (w0, h0), 0)
        ImageDraw.Draw(tmp).text((pad - bbox[0], pad - bbox[1]), text, font=f, fill=255, anchor=anchor)
        w1 = max(1, int(round(w0 * squeeze)))
        tmp = tmp.resize((w1, h0), Image.LANCZOS)
        # The anchor sits at (-bbox[0], -bbox[1]) of the natural box; keep it there after scaling.
        ax = (pad - bbox[0]) * squeeze
        mask.paste(tmp, (int(round(x - ax)), int(round(y - (pad - bbox[1])))))
    if weight > 0:
        shifted = ImageChops.offset(mask, 1, 0)
        mask = ImageChops.lighter(mask, scale_mask(shifted, int(255 * weight)))
    return mask


def draw_text(canvas, xy, text, px, colour, anchor="lm", weight=0.0, squeeze=1.0, opacity=255):
    composite(canvas, text_mask(canvas.size, xy, text, px, anchor, weight, squeeze), colour, opacity)


def draw_text_runs(canvas, centre, runs, px, colour, weight=0.0):
    """Draws runs of text side by side, centred on centre; each run is (text, space before it)."""
    total = sum(gap + font(px).getlength(t) for t, gap in runs)
    x = centre[0] - total / 2
    for t, gap in runs:
        x += gap
        draw_text(canvas, (int(round(x)), centre[1]), t, px, colour, anchor="lm", weight=weight)
        x += font(px).getlength(t)


def text_width(text, px, squeeze=1.0):
    b = font(px).getbbox(text)
    return (b[2] - b[0]) * squeeze


def text_shadowed(canvas, xy, text, px, colour, shadow, anchor="lm", weight=0.0, opacity=90):
    """Text with a soft 1 px drop shadow (for white text on colour)."""
    m = text_mask(canvas.size, (xy[0], xy[1] + 1), text, px, anchor, weight)
    composite(canvas, m.filter(ImageFilter.GaussianBlur(0.8)), shadow, opacity)
    draw_text(canvas, xy, text, px, colour, anchor, weight)


# ---------------------------------------------------------------------------------------------
# Glyphs, drawn into a ScaledDraw with their top-left at (x, y) on a square of the given size.
# ---------------------------------------------------------------------------------------------
def picture_icon(canvas, box, frame_fill, frame_border, hill_back, hill_front, sun_colour,
                 radius=None, border=1.0, opacity=255):
    """A little framed landscape picture: rounded frame, sun, two hills, in box."""
    x0, y0, x1, y1 = box
    w, h = x1 - x0, y1 - y0
    r = radius if radius is not None else min(w, h) * 0.14
    inner = (x0 + border, y0 + border, x1 - border, y1 - border)
    paint(canvas, lambda d: d.rrect(box, r), frame_border, opacity)
    paint(canvas, lambda d: d.rrect(inner, max(0, r - border)), frame_fill, opacity)
    ir = max(0.0, r - border)
    ix0, iy0, ix1, iy1 = inner
    iw, ih = ix1 - ix0, iy1 - iy0

    clip = shape_mask(canvas.size, lambda d: d.rrect(inner, ir))

    def clipped(draw_fn):
        return ImageChops.multiply(shape_mask(canvas.size, draw_fn), clip)

    if sun_colour is not None:
        composite(canvas, clipped(lambda d: d.circle(ix0 + iw * 0.72, iy0 + ih * 0.30, ih * 0.13)),
                  sun_colour, opacity)
    composite(canvas, clipped(lambda d: d.polygon([
        (ix0 + iw * 0.38, iy1 + 1), (ix0 + iw * 0.66, iy0 + ih * 0.48),
        (ix0 + iw * 0.86, iy0 + ih * 0.70), (ix1 + 2, iy0 + ih * 0.58), (ix1 + 2, iy1 + 1)])),
        hill_back, opacity)
    composite(canvas, clipped(lambda d: d.polygon([
        (ix0 - 2, iy1 + 1), (ix0 - 2, iy0 + ih * 0.80), (ix0 + iw * 0.30, iy0 + ih * 0.42),
        (ix0 + iw * 0.62, iy1 + 1)])),
        hill_front, opacity)


def glyph_plus(d, cx, cy, s, width):
    d.line([(cx - s, cy), (cx + s, cy)], width)
    d.line([(cx, cy - s), (cx, cy + s)], width)


def glyph_cross(d, cx, cy, s, width):
    d.line([(cx - s, cy - s), (cx + s, cy + s)], width)
    d.line([(cx - s, cy + s), (cx + s, cy - s)], width)


def glyph_trash(d, cx, cy, width):
    """Trash can, about 14 px tall, centred at (cx, cy)."""
    d.line([(cx - 6.5, cy - 4.5), (cx + 6.5, cy - 4.5)], width)
    d.line([(cx - 2.2, cy - 6.5), (cx + 2.2, cy - 6.5)], width)
    d.line([(cx - 2.2, cy - 6.5), (cx - 2.2, cy - 4.5)], width, round_caps=False)
    d.line([(cx + 2.2, cy - 6.5), (cx + 2.2, cy - 4.5)], width, round_caps=False)
    d.line([(cx - 4.8, cy - 4.5), (cx - 4.0, cy + 6.5), (cx + 4.0, cy + 6.5), (cx + 4.8, cy - 4.5)],
           width)
    d.line([(cx - 1.6, cy - 1.8), (cx - 1.4, cy + 3.8)], width * 0.8)
    d.line([(cx + 1.6, cy - 1.8), (cx + 1.4, cy + 3.8)], width * 0.8)


def glyph_broom(d, cx, cy, width):
    """Broom, about 15 px, centred at (cx, cy): handle, binding and a fan of bristles."""
    d.line([(cx + 6.5, cy - 7.0), (cx + 1.2, cy - 1.6)], width)
    d.polygon([(cx - 1.4, cy - 2.6), (cx + 0.6, cy - 4.4), (cx + 4.2, cy - 0.8), (cx + 2.4, cy + 1.2)])
    for k in range(4):
        t = k / 3.0
        sx, sy = lerp(cx - 1.0, cx + 2.2, t), lerp(cy - 1.8, cy + 1.6, t)
        ex, ey = lerp(cx - 7.2, cx - 0.4, t), lerp(cy + 1.2, cy + 7.6, t)
        d.line([(sx, sy), (ex, ey)], width * 0.75)


def glyph_folder(d, x, y, w, h):
    """Folder silhouette in box (x, y, w, h): tab and body."""
    tab_w = w * 0.42
    d.rrect((x, y, x + tab_w, y + h * 0.4), h * 0.12)
    d.rrect((x, y + h * 0.18, x + w, y + h), h * 0.14)


# ---------------------------------------------------------------------------------------------
# Main window background (750 x 560).
# ---------------------------------------------------------------------------------------------
WINDOW_SIZE = (750, 560)
HEADER_HEIGHT = 92
TITLE_HEIGHT = 24
LIST_CARD = (12, 96, 453, 404)
LIST_AREA = (15, 100, 450, 400)
PREVIEW_CARD = (460, 96, 740, 404)
PREVIEW_BOX = (467, 129, 723, 334)
SIZE_LABEL = (504, 364, 688, 390)
FOLDER_FIELD = (404, 426, 676, 446)
OPTIONS_PANEL = (10, 455, 740, 551)
MASK_PLACE = (10, 451)


def make_main_background():
    W, H = WINDOW_SIZE
    c = Image.new("RGBA", WINDOW_SIZE, BODY_TOP + (255,))
    composite(c, Image.new("L", WINDOW_SIZE, 255),
              gradient_in_box(WINDOW_SIZE, (0, HEADER_HEIGHT, W, H), BODY_TOP, BODY_BOTTOM))

    # Header: title bar and the band holding the banner, in the banner's teal.
    header = vertical_gradient((W, HEADER_HEIGHT), [(0.0, HEADER_TOP), (0.27, (52, 131, 146)),
                                                    (1.0, HEADER_BOTTOM)])
    c.paste(header.convert("RGBA"), (0, 0))
    # A faint light line under the window's top edge and a thin separation under the title bar.
    composite(c, shape_mask(WINDOW_SIZE, lambda d: d.rect((6, 1, W - 6, 2))), WHITE, 45)
    composite(c, shape_mask(WINDOW_SIZE, lambda d: d.rect((0, HEADER_HEIGHT - 1, W, HEADER_HEIGHT))),
              TEAL_DEEP, 120)
    # Soft shadow that the header casts onto the body.
    shadow = Image.new("L", WINDOW_SIZE, 0)
    for i, a in enumerate((46, 26, 12, 4)):
        ImageDraw.Draw(shadow).line([(0, HEADER_HEIGHT + i), (W, HEADER_HEIGHT + i)], fill=a)
    composite(c, shadow, (20, 70, 80))

    # Title: the mark and the caption.
    mark = draw_icon(16)
    c.alpha_composite(mark, (8, 4))
    text_shadowed(c, (30, 12), "榆雀图片批量转换器", 13, WHITE, TEAL_DEEP, weight=0.35)

    # Banner slot (11, 26) 728 x 58: a recessed frame around it.
    bx0, by0, bx1, by1 = 11, 26, 739, 84
    paint(c, lambda d: d.rrect((bx0 - 3, by0 - 3, bx1 + 3, by1 + 3), 5), TEAL_DEEP, 70)
    rrect_frame(c, (bx0 - 3, by0 - 3, bx1 + 3, by1 + 3), 5, WHITE, 1.0, 60)
    paint(c, lambda d: d.rect((bx0 - 1, by0 - 1, bx1 + 1, by1 + 1)), (30, 88, 99), 255)
    paint(c, lambda d: d.rect((bx0, by0, bx1, by1)), BANNER)

    # Picture list card with the empty-state hint.
    card(c, LIST_CARD)
    empty_list_hint(c)

    # Preview card: heading, the frame round the picture box and the size label's place.
    card(c, PREVIEW_CARD)
    px0, py0, px1, py1 = PREVIEW_CARD
    hx, hy = px0 + 12, py0 + 16
    paint(c, lambda d: d.rrect((hx - 2, hy - 7, hx + 1, hy + 7), 1.5), TEAL_BRIGHT)
    draw_text(c, (hx + 8, hy), "图片预览", 13, TEXT_DARK, weight=0.3)
    bx0, by0, bx1, by1 = PREVIEW_BOX
    drop_shadow(c, lambda d: d.rect((bx0 - 1, by0 - 1, bx1 + 1, by1 + 1)), 2.0, (0, 1), opacity=40)
    paint(c, lambda d: d.rect((bx0 - 1, by0 - 1, bx1 + 1, by1 + 1)), CARD_BORDER)
    paint(c, lambda d: d.rect(PREVIEW_BOX), CARD)
    # The size label sits centred under the picture, with a small ruler mark at its left.
    sx0, sy0, sx1, sy1 = SIZE_LABEL
    paint(c, lambda d: d.rect((bx0 + 10, 348, bx1 - 10, 349)), (226, 235, 238))
    draw_ruler_mark(c, sx0 - 22, (sy0 + sy1) / 2)
    c.alpha_composite(make_size_label_panel(c.crop(SIZE_LABEL)), (sx0, sy0))

    # Output folder row: the field under 外形框1, white like an edit box.
    paint(c, lambda d: d.rect(FOLDER_FIELD), FIELD_BORDER)
    fx0, fy0, fx1, fy1 = FOLDER_FIELD
    paint(c, lambda d: d.rect((fx0 + 1, fy0 + 1, fx1 - 1, fy1 - 1)), CARD)

    # Options band: a calm, light panel with a separator between the option groups.
    ox0, oy0, ox1, oy1 = OPTIONS_PANEL
    drop_shadow(c, lambda d: d.rrect(OPTIONS_PANEL, 6), 2.0, (0, 1), opacity=35)
    paint(c, lambda d: d.rrect(OPTIONS_PANEL, 6), CARD_BORDER)
    paint(c, lambda d: d.rrect((ox0 + 1, oy0 + 1, ox1 - 1, oy1 - 1), 5), (250, 252, 253))
    sep = vertical_gradient((1, 80), [(0, (250, 252, 253)), (0.5, (212, 226, 230)),
                                      (1, (250, 252, 253))])
    c.paste(sep.convert("RGBA"), (268, 463))
    c.paste(sep.convert("RGBA"), (640, 463))

    # Window outline, following the rounded region (ellipse 12).
    rrect_frame(c, (0, 0, W, H), 6, TEAL_DEEP, 1.0, 150)
    return c


def card(c, box, radius=6):
    drop_shadow(c, lambda d: d.rrect(box, radius), 2.5, (0, 1), opacity=45)
    paint(c, lambda d: d.rrect(box, radius), CARD_BORDER)
    x0, y0, x1, y1 = box
    paint(c, lambda d: d.rrect((x0 + 1, y0 + 1, x1 - 1, y1 - 1), radius - 1), CARD)


def draw_ruler_mark(c, x, cy):
    """Small 'dimensions' mark: a frame with corner ticks."""
    def fn(d):
        d.line([(x, cy - 5), (x, cy + 5)], 1.2)
        d.line([(x + 14, cy - 5), (x + 14, cy + 5)], 1.2)
        d.line([(x + 2, cy), (x + 12, cy)], 1.2)
        d.polygon([(x + 1.5, cy), (x + 4.5, cy - 2.5), (x + 4.5, cy + 2.5)])
        d.polygon([(x + 12.5, cy), (x + 9.5, cy - 2.5), (x + 9.5, cy + 2.5)])
    paint(c, fn, TEAL_BRIGHT)


def empty_list_hint(c):
    x0, y0, x1, y1 = LIST_AREA
    box = (x0 + 14, y0 + 14, x1 - 14, y1 - 14)
    paint(c, lambda d: d.rrect(box, 10), TEAL_MIST)
    dashed_rrect(c, box, 10, (160, 196, 204), dash=6, gap=4, width=1.3)
    cx = (x0 + x1) / 2
    # A stack of two pictures with a plus badge.
    back = (cx - 30, 172, cx + 30, 218)
    paint(c, lambda d: d.rrect((back[0] + 9, back[1] - 9, back[2] + 9, back[3] - 9), 7), (205, 226, 231))
    drop_shadow(c, lambda d: d.rrect(back, 7), 2.0, (0, 1.5), opacity=50)
    picture_icon(c, back, CARD, (120, 178, 190), (150, 205, 214), TEAL_BRIGHT, ACCENT, radius=7,
                 border=2.0)
    bx, by = back[2] - 2, back[3] - 2
    drop_shadow(c, lambda d: d.circle(bx, by, 11), 1.5, (0, 1), opacity=60)
    paint(c, lambda d: d.circle(bx, by, 11), WHITE)
    paint(c, lambda d: d.circle(bx, by, 9.5), TEAL_BRIGHT)
    paint(c, lambda d: glyph_plus(d, bx, by, 4.5, 2.0), WHITE)
    # The font's curly quotes are narrow: give them air so the quoted button name stands out.
    draw_text_runs(c, (cx, 258), [("点击", 0), ("“", 3), ("添加图片", 0), ("”", 0), ("或将图片拖放到这里", 3)],
                   15, TEXT_DARK, weight=0.15)
    draw_text(c, (cx, 284), "支持 BMP、JPG、GIF、PNG、TIFF 格式，可一次添加多张", 12, TEXT_MUTED,
              anchor="mm")


# ---------------------------------------------------------------------------------------------
# Size label background (184 x 26), also drawn into the main background at its place.
# ---------------------------------------------------------------------------------------------
def make_size_label_panel(base):
    c = base.copy().convert("RGBA")
    w, h = c.size
    paint(c, lambda d: d.rrect((0, 0, w, h), 5), (214, 229, 233))
    paint(c, lambda d: d.rrect((1, 1, w - 1, h - 1), 4),
          gradient_in_box(c.size, (0, 1, w, h - 1), (250, 252, 253), (238, 245, 247)))
    return c


# ---------------------------------------------------------------------------------------------
# Picture buttons: four states each, drawn over the background they sit on.
# ---------------------------------------------------------------------------------------------
STATES = ("normal", "hover", "pressed", "disabled")


def button_surface(c, state, primary, radius):
    """Rounded button body with a faint shadow. Returns (text colour, glyph colour, y shift)."""
    w, h = c.size
    body = (0.5, 0.5, w - 0.5, h - 1.5)
    if state != "pressed":
        drop_shadow(c, lambda d: d.rrect(body, radius), 1.0, (0, 1), opacity=45)
    if primary:
        tops = {"normal": ((72, 166, 181), (45, 128, 143)), "hover": ((88, 182, 196), (56, 144, 159)),
                "pressed": ((38, 112, 126), (46, 126, 140)), "disabled": (DISABLED_FILL, DISABLED_FILL)}
        border = {"normal": (35, 104, 117), "hover": (44, 120, 134), "pressed": (27, 88, 100),
                  "disabled": DISABLED_BORDER}[state]
    else:
        tops = {"normal": ((255, 255, 255), (239, 245, 247)), "hover": ((246, 252, 253), (224, 241, 245)),
                "pressed": ((214, 233, 238), (228, 241, 244)), "disabled": (DISABLED_FILL, DISABLED_FILL)}
        border = {"normal": (166, 196, 204), "hover": (82, 160, 174), "pressed": (60, 136, 150),
                  "disabled": DISABLED_BORDER}[state]
    top, bottom = tops[state]
    paint(c, lambda d: d.rrect(body, radius), border)
    inner = (body[0] + 1, body[1] + 1, body[2] - 1, body[3] - 1)
    paint(c, lambda d: d.rrect(inner, radius - 1), gradient_in_box(c.size, inner, top, bottom))
    if state in ("normal", "hover"):
        # A glossy highlight along the top edge.
        paint(c, lambda d: d.rect((inner[0] + radius * 0.6, inner[1], inner[2] - radius * 0.6,
                                   inner[1] + 1)), WHITE, 110 if primary else 200)
    if state == "disabled":
        return DISABLED_TEXT, DISABLED_TEXT, 0
    if primary:
        return WHITE, WHITE, 1 if state == "pressed" else 0
    return TEXT_DARK, TEAL, 1 if state == "pressed" else 0


def make_wide_button(base, caption, glyph, primary):
    """127 x 36 list button: glyph and caption centred."""
    out = {}
    for state in STATES:
        c = base.copy().convert("RGBA")
        w, h = c.size
        text_colour, glyph_colour, dy = button_surface(c, state, primary, 5)
        px = 14
        gw, gap = 16, 7
        tw = text_width(caption, px)
        x = (w - (gw + gap + tw)) / 2
        cy = (h - 1) / 2 + dy
        gx = x + gw / 2
        glyph(c, gx, cy, glyph_colour, primary and state != "disabled")
        if primary and state != "disabled":
            text_shadowed(c, (x + gw + gap, cy), caption, px, text_colour, TEAL_DEEP, weight=0.3,
                          opacity=70)
        else:
            draw_text(c, (x + gw + gap, cy), caption, px, text_colour, weight=0.3)
        out[state] = c
    return out


def glyph_add(c, cx, cy, colour, on_colour):
    paint(c, lambda d: d.circle(cx, cy, 7.5), colour)
    paint(c, lambda d: glyph_plus(d, cx, cy, 3.6, 1.7), TEAL if on_colour else WHITE)


def glyph_delete(c, cx, cy, colour, on_colour):
    paint(c, lambda d: glyph_trash(d, cx, cy, 1.5), colour)


def glyph_clear(c, cx, cy, colour, on_colour):
    paint(c, lambda d: glyph_broom(d, cx, cy, 1.8), colour)


def make_small_button(base, caption, px=12, squeeze=1.0):
    """60 x 25 button: caption only."""
    out = {}
    for state in STATES:
        c = base.copy().convert("RGBA")
        w, h = c.size
        text_colour, _, dy = button_surface(c, state, False, 4)
        draw_text(c, (w / 2, (h - 1) / 2 + dy), caption, px, text_colour, anchor="mm", weight=0.2,
                  squeeze=squeeze)
        out[state] = c
    return out


def make_start_button(base):
    """75 x 75 action button: a rounded square with a play glyph in a ring and the caption."""
    out = {}
    for state in STATES:
        c = base.copy().convert("RGBA")
        w, h = c.size
        body = (1.5, 1, w - 1.5, h - 2.5)
        radius = 14
        disabled = state == "disabled"
        if state != "pressed":
            drop_shadow(c, lambda d: d.rrect(body, radius), 1.8, (0, 1.5), opacity=80)
        border = {"normal": (30, 96, 109), "hover": (36, 110, 124), "pressed": (24, 80, 92),
                  "disabled": DISABLED_BORDER}[state]
        top, bottom = {"normal": ((84, 182, 196), (36, 114, 128)),
                       "hover": ((104, 199, 212), (44, 130, 144)),
                       "pressed": ((34, 102, 115), (50, 136, 150)),
                       "disabled": (DISABLED_FILL, (226, 231, 233))}[state]
        paint(c, lambda d: d.rrect(body, radius), border)
        inner = (body[0] + 1, body[1] + 1, body[2] - 1, body[3] - 1)
        paint(c, lambda d: d.rrect(inner, radius - 1), gradient_in_box(c.size, inner, top, bottom))
        if state in ("normal", "hover"):
            # Gloss: a light sheen over the upper part, fading downward.
            sheen = shape_mask(c.size, lambda d: d.rrect((inner[0] + 1, inner[1] + 1, inner[2] - 1,
                                                          inner[1] + 34), radius - 2))
            fade = vertical_gradient(c.size, [(0.0, (70, 70, 70)), (0.45, (0, 0, 0)),
                                              (1, (0, 0, 0))]).convert("L")
            composite(c, ImageChops.multiply(sheen, fade), WHITE)
            paint(c, lambda d: d.rect((inner[0] + radius, inner[1], inner[2] - radius, inner[1] + 1)),
                  WHITE, 120)
        dy = 1 if state == "pressed" else 0
        fg = WHITE if not disabled else DISABLED_TEXT
        cx, gy = w / 2, 27 + dy
        # Play glyph in a ring.
        if not disabled:
            ring_shadow = shape_mask(c.size, lambda d: d.circle(cx, gy + 1, 14))
            composite(c, ring_shadow.filter(ImageFilter.GaussianBlur(1.2)), TEAL_DEEP, 70)
        ring = ImageChops.subtract(shape_mask(c.size, lambda d: d.circle(cx, gy, 14)),
                                   shape_mask(c.size, lambda d: d.circle(cx, gy, 12.3)))
        # The disc inside the ring: the body again, a touch lighter.
        paint(c, lambda d: d.circle(cx, gy, 12.3), gradient_in_box(c.size, inner, top, bottom))
        if state in ("normal", "hover"):
            paint(c, lambda d: d.circle(cx, gy, 12.3), WHITE, 30)
        composite(c, ring, fg)
        paint(c, lambda d: d.polygon([(cx - 4.0, gy - 7.0), (cx - 4.0, gy + 7.0), (cx + 7.5, gy)]), fg)
        if disabled:
            draw_text(c, (cx, 56 + dy), "开始转换", 13, fg, anchor="mm", weight=0.35)
        else:
            text_shadowed(c, (cx, 56 + dy), "开始转换", 13, fg, TEAL_DEEP, anchor="mm",
                          weight=0.4, opacity=120)
        out[state] = c
    return out


def make_set_folder_button(base):
    out = {}
    for state in STATES:
        c = base.copy().convert("RGBA")
        w, h = c.size
        if state == "hover":
            paint(c, lambda d: d.rrect((0, 0, w, h), 3), TEAL_PALE)
            rrect_frame(c, (0, 0, w, h), 3, (140, 192, 202))
        elif state == "pressed":
            paint(c, lambda d: d.rrect((0, 0, w, h), 3), (204, 228, 233))
            rrect_frame(c, (0, 0, w, h), 3, (100, 165, 178))
        dy = 1 if state == "pressed" else 0
        back = ACCENT_DARK if state != "disabled" else (176, 184, 187)
        front = ACCENT if state != "disabled" else (204, 210, 212)
        paint(c, lambda d: glyph_folder(d, 2, 3 + dy, 13, 10.5), back)
        paint(c, lambda d: d.polygon([(2.6, 14.0 + dy), (4.4, 7.0 + dy), (16.0, 7.0 + dy),
                                      (14.2, 14.0 + dy)]), front)
        out[state] = c
    return out


def make_caption_button(base, kind):
    """Title-bar buttons (27 x 19): minimise and close."""
    out = {}
    for state in STATES:
        c = base.copy().convert("RGBA")
        w, h = c.size
        if state in ("hover", "pressed"):
            if kind == "close":
                colour = CLOSE_RED if state == "hover" else (186, 52, 43)
                paint(c, lambda d: d.rrect((0, 0, w, h), 3), colour)
            else:
                paint(c, lambda d: d.rrect((0, 0, w, h), 3), WHITE, 50 if state == "hover" else 30)
                if state == "pressed":
                    paint(c, lambda d: d.rrect((0, 0, w, h), 3), TEAL_DEEP, 80)
        opacity = 110 if state == "disabled" else 255
        cx, cy = w / 2, h / 2
        if kind == "close":
            paint(c, lambda d: glyph_cross(d, cx, cy, 4.2, 1.5), WHITE, opacity)
        else:
            paint(c, lambda d: d.line([(cx - 5, cy + 0.5), (cx + 5, cy + 0.5)], 1.6, round_caps=True),
                  WHITE, opacity)
        out[state] = c
    return out


# ---------------------------------------------------------------------------------------------
# Progress panel (730 x 100) and its animated strip (251 x 18).
# ---------------------------------------------------------------------------------------------
MASK_SIZE = (730, 100)
STRIP_PLACE = (8, 6)
STRIP_SIZE = (251, 18)


def make_mask_background(window_bg):
    mx, my = MASK_PLACE
    c = window_bg.crop((mx, my, mx + MASK_SIZE[0], my + MASK_SIZE[1])).convert("RGBA")
    w, h = c.size
    paint(c, lambda d: d.rrect((0, 0, w, h), 6), (150, 196, 205))
    paint(c, lambda d: d.rrect((1, 1, w - 1, h - 1), 5),
          gradient_in_box(c.size, (0, 0, w, h), (236, 246, 248), (246, 250, 251)))
    # Strip slot: a recessed track around where the animation plays.
    sx, sy = STRIP_PLACE
    sw, sh = STRIP_SIZE
    paint(c, lambda d: d.rrect((sx - 1, sy - 1, sx + sw + 1, sy + sh + 1), 9), (186, 214, 220))
    paint(c, lambda d: d.rrect((sx, sy, sx + sw, sy + sh), 8), (222, 236, 240))
    draw_text(c, (270, sy + sh / 2), "正在转换，请稍候…", 13, TEAL_DARK, weight=0.35)
    draw_text(c, (w - 12, sy + sh / 2), "关闭窗口将在当前图片完成后停止", 12, TEXT_MUTED, anchor="rm")
    # Frame round the progress list box at (9, 29) 712 x 62.
    lx0, ly0, lx1, ly1 = 9, 29, 9 + 712, 29 + 62
    paint(c, lambda d: d.rect((lx0 - 1, ly0 - 1, lx1 + 1, ly1 + 1)), FIELD_BORDER)
    paint(c, lambda d: d.rect((lx0, ly0, lx1, ly1)), CARD)
    return c


def make_progress_frames(mask_bg, frames=12):
    sx, sy = STRIP_PLACE
    w, h = STRIP_SIZE
    base = mask_bg.crop((sx, sy, sx + w, sy + h)).convert("RGBA")
    period = 24.0
    out = []
    for i in range(frames):
        c = base.copy()
        shift = period * i / frames
        paint(c, lambda d: d.rrect((0, 0, w, h), 8.5), (40, 118, 132))
        inner = (1, 1, w - 1, h - 1)
        paint(c, lambda d: d.rrect(inner, 7.5), gradient_in_box(c.size, inner, (92, 184, 198), (46, 130, 145)))

        def stripes(d):
            k = -2
            while k * period < w + h + period:
                x = k * period + shift
                d.polygon([(x, h), (x + period / 2, h), (x + period / 2 + h, 0), (x + h, 0)])
                k += 1
        stripe_mask = ImageChops.multiply(shape_mask(c.size, stripes),
                                          shape_mask(c.size, lambda d: d.rrect(inner, 7.5)))
        composite(c, stripe_mask, WHITE, 50)
        # Gloss on the upper half, fading out toward the middle.
        gloss = shape_mask(c.size, lambda d: d.rrect((3, 1.5, w - 3, h * 0.6), 5))
        fade = vertical_gradient(c.size, [(0.0, (120, 120, 120)), (0.55, (0, 0, 0)),
                                          (1.0, (0, 0, 0))]).convert("L")
        composite(c, ImageChops.multiply(gloss, fade), WHITE)
        out.append(c.convert("RGB"))
    return out


# ---------------------------------------------------------------------------------------------
# Preview placeholder animation (255 x 128): a picture with a sweeping shimmer.
# ---------------------------------------------------------------------------------------------
PLACEHOLDER_SIZE = (255, 128)


def make_placeholder_frames():
    w, h = PLACEHOLDER_SIZE
    frames, delays = [], []
    steps = 14
    icon = (w / 2 - 34, 18, w / 2 + 34, 70)
    for i in range(steps):
        c = Image.new("RGBA", (w, h), WHITE + (255,))
        # Bob the picture gently, one pixel up and down over the loop.
        bob = 1.5 * math.sin(2 * math.pi * i / steps)
        box = (icon[0], icon[1] + bob, icon[2], icon[3] + bob)
        shadow_w = 26 - bob * 2
        paint(c, lambda d: d.ellipse((w / 2 - shadow_w, 78, w / 2 + shadow_w, 84)), (150, 180, 188),
              40)
        picture_icon(c, box, TEAL_MIST, (130, 186, 197), (160, 210, 218), TEAL_BRIGHT, ACCENT,
                     radius=8, border=2.0)
        # Shimmer: a soft diagonal light band sweeping across the picture.
        t = i / (steps - 1)
        sweep = box[0] - 40 + (box[2] - box[0] + 80) * t
        band = shape_mask(c.size, lambda d: d.polygon([(sweep, box[3]), (sweep + 14, box[3]),
                                                        (sweep + 38, box[1]), (sweep + 24, box[1])]))
        band = band.filter(ImageFilter.GaussianBlur(3))
        clip = shape_mask(c.size, lambda d: d.rrect((box[0] + 2, box[1] + 2, box[2] - 2, box[3] - 2), 6))
        composite(c, ImageChops.multiply(band, clip), WHITE, 190)
        draw_text(c, (w / 2, 104), "单击列表中的图片进行预览", 13, TEXT_MUTED, anchor="mm")
        frames.append(c.convert("RGB"))
        delays.append(90)
    delays[-1] = 700  # rest between sweeps
    return frames, delays


# ---------------------------------------------------------------------------------------------
# GIF writer: full frames, one global palette, looping forever.
# ---------------------------------------------------------------------------------------------
def gif_bytes(frames, delays):
    """Encodes RGB frames sharing one palette as a looping GIF89a, every frame complete."""
    w, h = frames[0].size
    strip = Image.new("RGB", (w, h * len(frames)))
    for i, f in enumerate(frames):
        strip.paste(f, (0, i * h))
    dither_none = getattr(Image, "Dither", Image).NONE
    paletted = strip.quantize(colors=256, method=Image.Quantize.MEDIANCUT, dither=dither_none)
    palette = paletted.getpalette()[: 256 * 3]
    palette += [0] * (256 * 3 - len(palette))
    out = io.BytesIO()
    out.write(b"GIF89a")
    out.write(struct.pack("<HHBBB", w, h, 0xF7, 0, 0))  # global table of 256 colours
    out.write(bytes(palette))
    out.write(b"\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00")  # loop forever
    data = paletted.tobytes()
    for i, delay in enumerate(delays):
        # Graphic control: dispose to none (frame is complete), delay in 1/100 s.
        out.write(struct.pack("<BBBBHBB", 0x21, 0xF9, 4, 0x04, delay // 10, 0, 0))
        out.write(struct.pack("<BHHHHB", 0x2C, 0, 0, w, h, 0))
        indices = data[i * w * h:(i + 1) * w * h]
        out.write(bytes([8]))
        lzw = lzw_encode(indices, 8)
        for k in range(0, len(lzw), 255):
            chunk = lzw[k:k + 255]
            out.write(bytes([len(chunk)]) + chunk)
        out.write(b"\x00")
    out.write(b"\x3B")
    data_out = out.getvalue()
    check_gif(data_out, [paletted.crop((0, i * h, w, (i + 1) * h)) for i in range(len(delays))])
    return data_out


def check_gif(data, expected):
    """Decodes the GIF again and insists that every frame comes back exactly."""
    gif = Image.open(io.BytesIO(data))
    for i, want in enumerate(expected):
        gif.seek(i)
        got = gif.convert("RGB")
        if ImageChops.difference(got, want.convert("RGB")).getbbox() is not None:
            raise RuntimeError("GIF frame %d does not decode to what was encoded" % i)


def lzw_encode(indices, min_code_size):
    clear = 1 << min_code_size
    end = clear + 1
    bits = bytearray()
    acc = 0
    nacc = 0

    def emit(code, size):
        nonlocal acc, nacc
        acc |= code << nacc
        nacc += size
        while nacc >= 8:
            bits.append(acc & 0xFF)
            acc >>= 8
            nacc -= 8

    size = min_code_size + 1
    table = {}
    next_code = end + 1
    emit(clear, size)
    prefix = indices[0]
    for k in indices[1:]:
        key = (prefix << 8) | k
        code = table.get(key)
        if code is not None:
            prefix = code
            continue
        emit(prefix, size)
        if next_code < 4096:
            table[key] = next_code
            next_code += 1
            if next_code > (1 << size) and size < 12:
                size += 1
        else:
            emit(clear, size)
            table = {}
            next_code = end + 1
            size = min_code_size + 1
        prefix = k
    emit(prefix, size)
    emit(end, size)
    if nacc:
        bits.append(acc & 0xFF)
    return bytes(bits)


# ---------------------------------------------------------------------------------------------
# Application icon: a photo tile with a conversion arrow.
# ---------------------------------------------------------------------------------------------
ICON_SIZES = (16, 24, 32, 48, 64, 256)


def draw_icon(size):
    s = size / 64.0  # designed on a 64 px grid
    c = Image.new("RGBA", (size, size), (0, 0, 0, 0))

    def sc(box):
        return tuple(v * s for v in box)

    tile = sc((3, 3, 61, 61)) if size >= 24 else (0.5, 0.5, size - 0.5, size - 0.5)
    radius = 13 * s if size >= 24 else size * 0.2
    if size >= 32:
        drop_shadow(c, lambda d: d.rrect(tile, radius), max(0.6, 1.6 * s), (0, max(0.5, 1.2 * s)),
                    colour=(10, 40, 48), opacity=90)
    paint(c, lambda d: d.rrect(tile, radius), gradient_in_box(c.size, tile, (76, 170, 185), (33, 102, 116)))
    if size >= 32:
        inner = (tile[0] + 1, tile[1] + 1, tile[2] - 1, tile[3] - 1)
        gloss = shape_mask(c.size, lambda d: d.rrect(inner, radius - 1))
        fade = vertical_gradient(c.size, [(0.0, (60, 60, 60)), (0.55, (0, 0, 0)),
                                          (1.0, (0, 0, 0))]).convert("L")
        composite(c, ImageChops.multiply(gloss, fade), WHITE)

    # The photo: a white card, slightly rotated, with a landscape.
    photo = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    if size >= 24:
        pbox = sc((12, 13, 49, 43))
        border = max(1.0, 3.0 * s)
    else:
        pbox = (2.5, 3.0, 13.5, 11.5)
        border = 1.0
    picture_icon(photo, pbox, (206, 236, 246), WHITE, (120, 196, 150), (58, 150, 96), ACCENT,
                 radius=max(1.0, 3 * s), border=border)
    if size >= 32:
        shadow = photo.split()[3].filter(ImageFilter.GaussianBlur(1.2 * s))
        shadow = ImageChops.offset(shadow, 0, max(1, int(round(1.5 * s))))
        composite(c, shadow, (10, 40, 48), 110)
    if size >= 48:
        photo = photo.rotate(-6, resample=Image.BICUBIC, center=(size * 0.48, size * 0.45))
    c.alpha_composite(photo)

    # Conversion badge: an amber disc with two chasing arrows, at the lower right.
    bcx, bcy, br = (46 * s, 46 * s, 14.5 * s) if size >= 32 else (size * 0.71, size * 0.71, size * 0.27)
    if size >= 24:
        drop_shadow(c, lambda d: d.circle(bcx, bcy, br), max(0.6, 1.2 * s), (0, max(0.5, 1.0 * s)),
                    colour=(60, 30, 0), opacity=90)
    paint(c, lambda d: d.circle(bcx, bcy, br), WHITE)
    paint(c, lambda d: d.circle(bcx, bcy, br - max(1.0, 1.8 * s)),
          gradient_in_box(c.size, (bcx - br, bcy - br, bcx + br, bcy + br), (252, 190, 80), ACCENT_DARK))
    if size >= 48:
        ar = br * 0.5
        aw = max(1.2, 2.6 * s)

        def arrows(d):
            d.arc((bcx - ar, bcy - ar, bcx + ar, bcy + ar), 200, 330, aw)
            d.arc((bcx - ar, bcy - ar, bcx + ar, bcy + ar), 20, 150, aw)
            for ang in (330, 150):
                a = math.radians(ang)
                tx, ty = bcx + ar * math.cos(a), bcy + ar * math.sin(a)
                # Arrow head pointing along the clockwise tangent.
                tangent = a + math.pi / 2
                hl = aw * 1.9
                d.polygon([
                    (tx + math.cos(tangent) * hl, ty + math.sin(tangent) * hl),
                    (tx + math.cos(a) * hl * 0.95, ty + math.sin(a) * hl * 0.95),
                    (tx - math.cos(a) * hl * 0.95, ty - math.sin(a) * hl * 0.95)])
        paint(c, arrows, WHITE)
    else:
        # Too small for the chasing arrows: one bold arrow pointing right.
        u = br / 4.6

        def arrow(d):
            d.rect((bcx - 2.6 * u, bcy - 0.75 * u, bcx + 0.4 * u, bcy + 0.75 * u))
            d.polygon([(bcx - 0.2 * u, bcy - 2.5 * u), (bcx + 2.8 * u, bcy), (bcx - 0.2 * u, bcy + 2.5 * u)])
        paint(c, arrow, WHITE)
    return c


def ico_bytes(images):
    """ICO with 32-bit DIB entries for the small sizes and a PNG entry for 256 px."""
    entries = []
    for img in images:
        w, h = img.size
        if w >= 256:
            buf = io.BytesIO()
            img.save(buf, "PNG", optimize=False)
            entries.append((w, h, buf.getvalue()))
            continue
        header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
        px = img.load()
        xor = bytearray()
        for y in range(h - 1, -1, -1):
            for x in range(w):
                r, g, b, a = px[x, y]
                xor += bytes((b, g, r, a))
        row_bytes = ((w + 31) // 32) * 4
        and_mask = bytearray()
        for y in range(h - 1, -1, -1):
            row = bytearray(row_bytes)
            for x in range(w):
                if px[x, y][3] == 0:
                    row[x // 8] |= 0x80 >> (x % 8)
            and_mask += row
        entries.append((w, h, header + bytes(xor) + bytes(and_mask)))
    out = io.BytesIO()
    out.write(struct.pack("<HHH", 0, 1, len(entries)))
    offset = 6 + 16 * len(entries)
    for w, h, data in entries:
        out.write(struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(data), offset))
        offset += len(data)
    for _, _, data in entries:
        out.write(data)
    return out.getvalue()


# ---------------------------------------------------------------------------------------------
# The font window's background photograph (340 x 160): sky, clouds, lens flare, grassy hill.
# ---------------------------------------------------------------------------------------------
PHOTO_SIZE = (340, 160)
PHOTO_TARGET_BYTES = 8916


def value_noise(rng, size, cell):
    """Smooth noise (mode L): random values on a grid of the given cell size, bicubic between."""
    w, h = size
    gw, gh = int(w / cell) + 4, int(h / cell) + 4
    grid = Image.frombytes("L", (gw, gh), bytes(int(rng.random() * 256) for _ in range(gw * gh)))
    big = grid.resize((int(gw * cell), int(gh * cell)), Image.BICUBIC)
    ox, oy = int(cell * 1.5), int(cell * 1.5)
    return big.crop((ox, oy, ox + w, oy + h))


def fractal_noise(rng, size, cell, octaves, persistence=0.55, stretch=1.0):
    """Fractal (fBm) noise in 0..255, stretched horizontally by 'stretch', contrast restored."""
    w, h = size
    acc = None
    total = 0.0
    amp = 1.0
    for o in range(octaves):
        c = cell / (2 ** o)
        if c < 1.0:
            break
        layer = value_noise(rng, (int(w / stretch) + 2, h), c).resize((w, h), Image.BICUBIC) \
            if stretch != 1.0 else value_noise(rng, size, c)
        total += amp
        acc = layer if acc is None else Image.blend(acc, layer, amp / total)
        amp *= persistence
    # Averaging flattens the contrast: stretch the histogram back to 0..255.
    lo, hi = acc.getextrema()
    return acc.point(lambda v: int(max(0, min(255, (v - lo) * 255 / max(1, hi - lo)))))


def clamp01(v):
    return 0.0 if v < 0 else 1.0 if v > 1 else v


def lerp(a, b, t):
    return a + (b - a) * t


def mix(c0, c1, t):
    return (lerp(c0[0], c1[0], t), lerp(c0[1], c1[1], t), lerp(c0[2], c1[2], t))


def make_photo():
    rng = random.Random(20240617)
    scale = 2  # drawn at twice the size, then scaled down like a camera's sensor would
    W, H = PHOTO_SIZE[0] * scale, PHOTO_SIZE[1] * scale
    sun = (66 * scale, 30 * scale)

    def horizon(x):
        """Crest of the hill: rises toward the right, a gentle dome."""
        u = x / W
        return H * (0.70 - 0.16 * math.exp(-((u - 0.68) / 0.42) ** 2) + 0.03 * math.sin(u * 5.1))

    crest = [horizon(x) for x in range(W)]

    # --- Sky: deep blue overhead to pale near the horizon, brighter around the sun.
    clouds = fractal_noise(rng, (W, H), 70 * scale, 6, 0.55, stretch=2.2)
    wisps = fractal_noise(rng, (W, H), 26 * scale, 4, 0.6, stretch=3.0)
    cl = clouds.load()
    wl = wisps.load()
    sky = Image.new("RGB", (W, H))
    sp = sky.load()
    zenith = (38, 98, 186)
    mid = (78, 146, 218)
    low = (176, 212, 238)
    for y in range(H):
        t = y / (H * 0.66)
        base = mix(zenith, mid, clamp01(t * 1.4)) if t < 0.72 else mix(mid, low, clamp01((t - 0.72) / 0.4))
        for x in range(W):
            dx, dy = x - sun[0], y - sun[1]
            dist = math.sqrt(dx * dx + dy * dy) / W
            warm = math.exp(-dist * 3.2) * 0.55
            col = mix(base, (232, 240, 246), warm)
            # Clouds: density from fBm with a soft threshold, thicker toward the horizon.
            n = cl[x, y] / 255.0
            k = wl[x, y] / 255.0
            height_bias = 0.10 * clamp01(y / (H * 0.6))
            dens = clamp01((n - 0.52 + height_bias) * 2.6) ** 1.3
            dens = max(dens, clamp01((k - 0.68) * 2.0) * 0.45 * clamp01(1 - y / (H * 0.5)))
            # Shade: clouds lit from the sun side, greyer underneath.
            shade_n = cl[min(W - 1, x + 4), min(H - 1, y + 5)] / 255.0
            under = clamp01((shade_n - n) * 6.0)
            cloud_col = mix((250, 251, 253), (178, 192, 212), under * 0.85)
            cloud_col = mix(cloud_col, (255, 252, 240), warm * 0.6)
            col = mix(col, cloud_col, dens * 0.92)
            sp[x, y] = tuple(int(v) for v in col)

    # --- Hill: grass colour field, haze at the crest, then blades.
    photo = sky.copy()
    pp = photo.load()
    patches = fractal_noise(rng, (W, H), 40 * scale, 5, 0.6)
    fine = fractal_noise(rng, (W, H), 6 * scale, 3, 0.6)
    pl = patches.load()
    fl = fine.load()
    haze_col = (196, 220, 226)
    for x in range(W):
        top = crest[x]
        for y in range(int(top), H):
            depth = (y - top) / (H - top + 1e-6)  # 0 at the crest, 1 at the bottom edge
            near = clamp01(depth)
            lit = mix((152, 196, 74), (64, 132, 34), near ** 0.8)
            lit = mix(lit, (40, 96, 26), clamp01((near - 0.6) * 1.6) * 0.6)
            p = (pl[x, y] / 255.0 - 0.5) * 0.55 + (fl[x, y] / 255.0 - 0.5) * 0.35 * near
            col = tuple(v * (1.0 + p) for v in lit)
            haze = math.exp(-(y - top) / (8.0 * scale)) * 0.55
            col = mix(col, haze_col, haze)
            a = clamp01(y - top + 1)  # anti-aliased crest
            sky_px = sp[x, y]
            col = mix(sky_px, col, a)
            pp[x, y] = tuple(int(max(0, min(255, v))) for v in col)

    # Blades: thin strokes, short and dense far away, long and leaning near the camera.
    draw = ImageDraw.Draw(photo)
    blades = []
    rows = 240
    for i in range(rows):
        depth = (i + rng.random()) / rows
        count = int(140 * (1.0 - 0.45 * depth))
        for _ in range(count):
            x = rng.random() * (W + 20) - 10
            top = horizon(min(W - 1, max(0, x)))
            y = top + depth ** 1.6 * (H - top + 6 * scale)
            blades.append((y, x, depth, rng.random(), rng.random(), rng.random()))
    blades.sort()
    for y, x, depth, r1, r2, r3 in blades:
        length = (0.8 + 16.0 * depth ** 1.8) * scale * (0.6 + 0.8 * r1)
        lean = (r2 - 0.45) * length * 0.55
        xi = int(max(0, min(W - 1, x)))
        yi = int(max(0, min(H - 1, y)))
        base = pp[xi, yi]
        # Far blades vary little (they blend into the haze); near ones catch light or shade.
        bright = 1.0 + (r3 - 0.45) * (0.18 + 0.42 * depth)
        tip = (x + lean, y - length)
        col = tuple(int(max(0, min(255, v * bright))) for v in base)
        if r3 > 0.86 and depth > 0.35:
            col = tuple(int(min(255, v * 1.12 + 12)) for v in (col[0] + 10, col[1] + 8, col[2] - 6))
        width = 1 if depth < 0.55 else 2
        draw.line([(x, y), (lerp(x, tip[0], 0.5) + lean * 0.15, lerp(y, tip[1], 0.5)), tip],
                  fill=col, width=width)
    # Keep the sky above the crest clean of blade tips far away, where they would read as noise.
    crest_mask = Image.new("L", (W, H), 0)
    ImageDraw.Draw(crest_mask).polygon([(x, crest[x] - 2.5 * scale) for x in range(W)]
                                       + [(W, H), (0, H)], fill=255)
    crest_mask = crest_mask.filter(ImageFilter.GaussianBlur(1.2 * scale))
    photo = Image.composite(photo, sky, crest_mask)
    # Re-apply the distant haze on top of the blades near the crest.
    haze_mask = Image.new("L", (W, H), 0)
    hm = haze_mask.load()
    for x in range(W):
        for y in range(int(crest[x]), min(H, int(crest[x]) + 40 * scale)):
            hm[x, y] = int(150 * math.exp(-(y - crest[x]) / (7.0 * scale)))
    photo = Image.composite(Image.new("RGB", (W, H), haze_col), photo, haze_mask)

    # --- Lens flare: glow, starburst and ghosts along the line through the centre.
    flare = Image.new("RGB", (W, H), (0, 0, 0))
    fp = flare.load()
    for y in range(H):
        for x in range(W):
            dx, dy = x - sun[0], y - sun[1]
            r = math.sqrt(dx * dx + dy * dy) / scale
            ang = math.atan2(dy, dx)
            core = math.exp(-r / 3.2) * 1.3 + math.exp(-r / 14.0) * 0.55 + math.exp(-r / 55.0) * 0.22
            rays = (abs(math.cos(ang * 3.0 + 0.4)) ** 40 + abs(math.cos(ang * 7.0 + 1.1)) ** 60 * 0.6) \
                * math.exp(-r / 26.0) * 0.55
            ring = math.exp(-((r - 46.0) / 2.4) ** 2) * 0.07
            v = core + rays
            fp[x, y] = (int(min(255, 255 * (v + ring * 1.2))), int(min(255, 250 * (v * 0.97 + ring))),
                        int(min(255, 225 * v + 255 * ring * 0.9)))
    centre = (W / 2, H / 2)
    ghosts = [(0.35, 5, (120, 100, 36)), (0.62, 9, (64, 118, 70)), (0.85, 3, (100, 84, 130)),
              (1.28, 14, (50, 84, 104)), (1.52, 6, (130, 84, 50)), (1.78, 22, (38, 64, 80)),
              (2.05, 4, (110, 110, 110))]
    for t, radius, col in ghosts:
        gx = sun[0] + (centre[0] - sun[0]) * t
        gy = sun[1] + (centre[1] - sun[1]) * t
        rr = radius * scale
        g = Image.new("L", (W, H), 0)
        gd = ImageDraw.Draw(g)
        # Hexagonal aperture ghost with a brighter rim.
        hexagon = [(gx + rr * math.cos(math.radians(30 + 60 * k)), gy + rr * math.sin(math.radians(30 + 60 * k)))
                   for k in range(6)]
        gd.polygon(hexagon, fill=150)
        gd.line(hexagon + [hexagon[0]], fill=255, width=max(1, scale))
        g = g.filter(ImageFilter.GaussianBlur(0.8 * scale + rr * 0.06))
        flare = ImageChops.add(flare, Image.composite(Image.new("RGB", (W, H), col), Image.new("RGB", (W, H)), g))
    photo = ImageChops.screen(photo, flare)

    # --- Camera: slight vignette, softness of a small lens, down to the final size.
    vignette = Image.new("L", (W, H), 0)
    vp = vignette.load()
    for y in range(H):
        for x in range(W):
            u, v = (x / W - 0.5) * 1.6, (y / H - 0.5) * 1.9
            vp[x, y] = int(255 * clamp01(0.82 + 0.18 * (1 - (u * u + v * v) * 0.55)))
    photo = ImageChops.multiply(photo, Image.merge("RGB", (vignette, vignette, vignette)))
    photo = photo.resize(PHOTO_SIZE, Image.LANCZOS)
    return photo


def jpeg_bytes(img, quality):
    buf = io.BytesIO()
    img.save(buf, "JPEG", quality=quality, optimize=True, progressive=False, subsampling=2)
    return buf.getvalue()


def photo_jpeg(img):
    """Baseline JPEG at the quality whose size is closest to the target."""
    best = None
    for q in range(20, 96):
        data = jpeg_bytes(img, q)
        score = abs(len(data) - PHOTO_TARGET_BYTES)
        if best is None or score < best[0]:
            best = (score, q, data)
    return best[1], best[2]


# ---------------------------------------------------------------------------------------------
# Output.
# ---------------------------------------------------------------------------------------------
def save_png(img, path):
    img = img.convert("RGB") if img.mode == "RGBA" and img.getextrema()[3][0] == 255 else img
    img.save(path, "PNG", optimize=False, compress_level=9)


def write_bytes(path, data):
    with open(path, "wb") as f:
        f.write(data)


def write_text(path, text):
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write(text)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    args = parser.parse_args()
    root = args.out
    art = os.path.join(root, "forms", "art")
    os.makedirs(art, exist_ok=True)
    os.makedirs(os.path.join(root, "app"), exist_ok=True)
    os.makedirs(os.path.join(root, "fontwindow"), exist_ok=True)

    resources = []  # (name, file name) in forms/art

    def put_png(name, img):
        save_png(img, os.path.join(art, name + ".png"))
        resources.append((name, name + ".png"))

    background = make_main_background()
    put_png("main_background", background)

    def crop_at(x, y, w, h):
        return background.crop((x, y, x + w, y + h))

    buttons = [
        ("btn_add", make_wide_button(crop_at(8, 410, 127, 36), "添加图片", glyph_add, True)),
        ("btn_delete", make_wide_button(crop_at(140, 410, 127, 36), "删除图片", glyph_delete, False)),
        ("btn_clear", make_wide_button(crop_at(272, 410, 127, 36), "清空图片", glyph_clear, False)),
        ("btn_open_folder", make_small_button(crop_at(680, 424, 60, 25), "打开文件夹", 11)),
        ("btn_font", make_small_button(crop_at(574, 462, 60, 25), "字体设置")),
        ("btn_browse", make_small_button(crop_at(574, 489, 60, 25), "浏览图片")),
        ("btn_start", make_start_button(crop_at(648, 462, 75, 75))),
        ("btn_set_folder", make_set_folder_button(crop_at(404 + 254, 426 + 1, 17, 17))),
        ("btn_minimize", make_caption_button(crop_at(687, 4, 27, 19), "minimize")),
        ("btn_close", make_caption_button(crop_at(713, 4, 27, 19), "close")),
    ]
    for base_name, states in buttons:
        for state in STATES:
            put_png(base_name + "_" + state, states[state])

    mask = make_mask_background(background)
    put_png("mask_background", mask)
    put_png("size_label_background", make_size_label_panel(crop_at(*SIZE_LABEL[:2], 184, 26)))

    frames, delays = make_placeholder_frames()
    write_bytes(os.path.join(art, "preview_placeholder.gif"), gif_bytes(frames, delays))
    resources.append(("preview_placeholder", "preview_placeholder.gif"))
    strip = make_progress_frames(mask)
    write_bytes(os.path.join(art, "progress_strip.gif"), gif_bytes(strip, [60] * len(strip)))
    resources.append(("progress_strip", "progress_strip.gif"))

    lines = ["// Artwork of the main window: background, picture buttons (normal, hover, pressed,",
             "// disabled), panels and animations. Generated by tools/make_artwork.py.", ""]
    for name, file_name in resources:
        lines.append('%s RCDATA "@CMAKE_SOURCE_DIR@/forms/art/%s"' % (name, file_name))
    write_text(os.path.join(root, "forms", "art.rc.in"), "\n".join(lines) + "\n")

    write_bytes(os.path.join(root, "app", "tuconv.ico"), ico_bytes([draw_icon(s) for s in ICON_SIZES]))

    quality, jpeg = photo_jpeg(make_photo())
    write_bytes(os.path.join(root, "fontwindow", "preview_background.jpg"), jpeg)
    write_text(os.path.join(root, "fontwindow", "data.rc.in"),
               "// Background photograph of the font window's preview. Generated by "
               "tools/make_artwork.py.\n\n"
               'font_preview_background RCDATA "@CMAKE_SOURCE_DIR@/fontwindow/preview_background.jpg"\n')
    print("artwork written to %s (photo: JPEG quality %d, %d bytes)" % (root, quality, len(jpeg)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
