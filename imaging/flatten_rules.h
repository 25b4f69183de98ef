// How a picture with transparency is laid onto an opaque background, for the formats that keep
// no alpha. No windows here: plain pixel arithmetic on 32-bit ARGB values.
#pragma once

#include <cstdint>

// Whether pictures in that output format lose their alpha (JPEG, BMP, GIF).
bool FormatKeepsNoAlpha(int formatCode);

// The opaque pixel a straight (not premultiplied) ARGB pixel gives over an opaque background
// colour (0xRRGGBB): each channel mixed by the pixel's alpha, rounded to nearest, alpha 255.
std::uint32_t FlattenedPixel(std::uint32_t argb, std::uint32_t backgroundRgb);
