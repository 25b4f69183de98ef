// How the stored font style of the text watermark (FontStyleCode) becomes the GDI bold and italic
// flags and the GDI+ style bits. No windows here.
#pragma once

#include <cstdint>

// GDI+ font style bits.
constexpr std::int32_t kGdipStyleBold = 1;
constexpr std::int32_t kGdipStyleItalic = 2;
constexpr std::int32_t kGdipStyleUnderline = 4;
constexpr std::int32_t kGdipStyleStrikeout = 8;

struct WatermarkFontFlags {
    bool bold = false;
    bool italic = false;
    std::int32_t gdipStyle = 0;  // base style plus the underline and strikeout bits
};

// 1 regular, 2 bold, 3 italic, 4 bold italic; any other code is taken as regular.
WatermarkFontFlags MapFontStyle(std::int32_t fontStyleCode, bool underline, bool strikeout);
