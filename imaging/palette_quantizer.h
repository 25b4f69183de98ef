// Reduces a 32-bit picture to an 8-bit indexed one: a palette chosen for the picture's own colours
// (median cut over a colour histogram, refined by a few rounds of nearest-colour averaging) and a
// mapping of each pixel to it with error diffusion, so that smooth gradients do not band.
// A picture with no more distinct colours than the palette may hold keeps them exactly.
// Alpha is ignored: the indexed picture is opaque, as the other formats without alpha write it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace palette {

// Pixels as 0xAARRGGBB, rows `stride` pixels apart.
struct PixelView {
    const std::uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;

    const std::uint32_t* Row(int y) const {
        return pixels + static_cast<std::ptrdiff_t>(y) * stride;
    }
};

struct Palette {
    std::vector<std::uint32_t> colours;  // opaque, 0xFFRRGGBB
    bool exact = false;                  // every pixel's colour is one of them
};

// At most `maxColours` (1..256) colours for the picture's pixels. A picture with no pixels gives
// one black entry.
Palette BuildPalette(const PixelView& view, int maxColours = 256);

// Maps rows of pixels, top to bottom, to indices into a palette. Each pixel's remaining error is
// passed on to its unmapped neighbours (Floyd–Steinberg, alternating direction per row), but a
// pixel takes at most a few steps of error per channel, so no pixel strays far from its own colour.
class Ditherer {
  public:
    Ditherer(const Palette& palette, int width);

    // Maps the next row: `width` pixels in, `width` indices out.
    void MapRow(const std::uint32_t* pixels, std::uint8_t* indices);

  private:
    void MapRowExactly(const std::uint32_t* pixels, std::uint8_t* indices);
    int Nearest(int red, int green, int blue);
    int NearestSearch(int red, int green, int blue) const;

    std::vector<std::uint32_t> palette_;
    bool exact_;
    std::unordered_map<std::uint32_t, std::uint8_t> exactIndex_;
    std::vector<std::int16_t> nearestCache_;  // by 6 bits per channel; -1 not yet known
    int width_;
    bool leftToRight_ = true;
    // Error carried into the current and the next row, 3 channels per pixel, one pixel of margin
    // on each side.
    std::vector<int> currentError_;
    std::vector<int> nextError_;
};

}  // namespace palette
