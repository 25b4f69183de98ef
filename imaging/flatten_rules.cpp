#include "imaging/flatten_rules.h"

#include "imaging/image_format.h"

bool FormatKeepsNoAlpha(int formatCode) {
    // The JPEG and BMP encoders drop the alpha; GIFs are written from an opaque palette.
    return formatCode == kFormatJpeg || formatCode == kFormatBmp || formatCode == kFormatGif;
}

std::uint32_t FlattenedPixel(std::uint32_t argb, std::uint32_t backgroundRgb) {
    const std::uint32_t alpha = argb >> 24;
    std::uint32_t result = 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        const std::uint32_t over = (argb >> shift) & 0xFF;
        const std::uint32_t under = (backgroundRgb >> shift) & 0xFF;
        const std::uint32_t mixed = (over * alpha + under * (255 - alpha) + 127) / 255;
        result |= mixed << shift;
    }
    return result;
}
