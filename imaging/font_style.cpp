#include "imaging/font_style.h"

#include "app/watermark_text_style.h"

WatermarkFontFlags MapFontStyle(std::int32_t fontStyleCode, bool underline, bool strikeout) {
    WatermarkFontFlags flags;
    switch (fontStyleCode) {
        case kStyleBold:
            flags.bold = true;
            break;
        case kStyleItalic:
            flags.italic = true;
            break;
        case kStyleBoldItalic:
            flags.bold = true;
            flags.italic = true;
            break;
        default:
            break;
    }
    flags.gdipStyle = (flags.bold ? kGdipStyleBold : 0) | (flags.italic ? kGdipStyleItalic : 0);
    if (strikeout) flags.gdipStyle += kGdipStyleStrikeout;
    if (underline) flags.gdipStyle += kGdipStyleUnderline;
    return flags;
}
