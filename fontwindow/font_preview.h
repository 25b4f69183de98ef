// The font window's preview: the preview text drawn on the 340 × 160 background photograph by
// the same steps as a text watermark on a converted picture (GDI measurement, placement with a
// 10-pixel margin, shadow and glow), encoded as BMP bytes for the picture box.
//
// Each rendering builds its canvas, fonts and brush afresh and releases them before it returns.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "convert/run_rules.h"

// What the font window's controls ask the preview to show, as they stand.
struct FontPreviewRequest {
    std::string text;              // the preview text, line breaks as CR LF
    std::string face;              // selected item of the face list ("" when none)
    std::string sizeItem;          // selected item of the size list
    std::string positionItem;      // selected item of the position list
    std::string transparencyItem;  // selected item of the transparency list
    int checkedStyle = -1;         // 0 常规, 1 粗体, 2 斜体, 3 粗斜体; -1 none
    bool strikeout = false;
    bool underline = false;
    bool glow = false;
    bool shadow = false;
    COLORREF textColour = 0;
    COLORREF glowColour = 0;
    COLORREF shadowColour = 0;
};

// The preview text's extent in the request's GDI font, and where it is drawn.
struct FontPreviewLayout {
    std::int32_t textWidth = 0;
    std::int32_t textHeight = 0;
    PixelPoint at;
};

// The alpha of the text and its effects: the transparency item's number ÷ 100 × 255, truncated.
std::int32_t FontPreviewOpacity(const FontPreviewRequest& request);

// Measures the preview text in the GDI font the request asks for (on a display DC) and places it
// on the 340 × 160 picture by the request's position.
FontPreviewLayout LayOutFontPreview(const FontPreviewRequest& request);

// A fresh transparent 340 × 160 canvas with `background` (a picture file in memory) drawn at its
// own size at (0, 0), the text drawn at the layout's place with the request's font, colour,
// opacity and effects; the picture as BMP bytes. Bytes that are no picture leave the background
// transparent; a face GDI+ does not know leaves the text out.
std::vector<std::uint8_t> DrawFontPreview(const FontPreviewRequest& request,
                                          const FontPreviewLayout& layout,
                                          const std::vector<std::uint8_t>& background);

// The background photograph the program carries.
std::vector<std::uint8_t> FontPreviewBackground();
