// The text watermark's font settings, held program-wide for the whole run. Loaded from the
// settings file at start, replaced by the font window's OK, read by every batch run.
#pragma once

#include <cstdint>
#include <string>

// FontStyleCode: 1 regular, 2 bold, 3 italic, 4 bold italic.
enum FontStyleCode : std::int32_t {
    kStyleRegular = 1,
    kStyleBold = 2,
    kStyleItalic = 3,
    kStyleBoldItalic = 4,
};

struct WatermarkTextStyle {
    std::string face = "宋体";
    std::int32_t size = 30;               // pixels, 6..80 after loading
    std::uint32_t textColour = 0;         // COLORREF
    std::int32_t style = kStyleBold;      // FontStyleCode, 1..4 after loading
    bool strikeout = false;
    bool underline = false;
    bool glow = true;
    bool shadow = false;
    std::uint32_t glowColour = 0xFFFFFF;  // COLORREF
    std::uint32_t shadowColour = 0;       // COLORREF
};

// The program's one instance.
WatermarkTextStyle& TheWatermarkTextStyle();
