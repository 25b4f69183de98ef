#include "imaging/gdi_text.h"

#include "app/watermark_text_style.h"
#include "convert/conversion_settings.h"
#include "imaging/font_style.h"
#include "imaging/gdip_font.h"

#include <climits>

namespace {

// CreateFontA's parameters, in its order.
struct FontDescription {
    int height = 0;
    int width = 0;
    int escapement = 0;
    int orientation = 0;
    int weight = FW_NORMAL;
    DWORD italic = 0;
    DWORD underline = 0;
    DWORD strikeout = 0;
    DWORD charSet = DEFAULT_CHARSET;
    DWORD outputPrecision = OUT_CHARACTER_PRECIS;
    DWORD clipPrecision = CLIP_CHARACTER_PRECIS;
    DWORD quality = DEFAULT_QUALITY;
    DWORD pitchAndFamily = FF_MODERN | DEFAULT_PITCH;
    std::string face;
};

constexpr int kBoldWeight = 600;  // semi-bold, not FW_BOLD
constexpr int kFallbackHeight = 12;
const char kFallbackFace[] = "宋体";

}  // namespace

GdiFont CreateGdiFont(std::int32_t height, std::int32_t width, std::int32_t escapement,
                      std::int32_t orientation, bool bold, bool italic, bool underline,
                      bool strikeout, const std::string& face) {
    FontDescription font;
    font.height = height;
    font.width = width;
    font.escapement = escapement;
    font.orientation = orientation;
    font.weight = bold ? kBoldWeight : FW_NORMAL;
    font.italic = italic ? 1 : 0;
    font.underline = underline ? 1 : 0;
    font.strikeout = strikeout ? 1 : 0;
    font.face = face;
    return GdiFont(CreateFontA(font.height, font.width, font.escapement, font.orientation,
                               font.weight, font.italic, font.underline, font.strikeout,
                               font.charSet, font.outputPrecision, font.clipPrecision, font.quality,
                               font.pitchAndFamily, font.face.c_str()));
}

void MeasureText(const std::string& text, std::int32_t& width, std::int32_t& height, HFONT font,
                 HDC dc) {
    RECT extent = {0, 0, 0, 0};
    OwnedDc displayDc;
    GdiFont fallbackFont;
    if (dc == nullptr) {
        displayDc.Reset(CreateDCA("DISPLAY", nullptr, nullptr, nullptr));
        dc = displayDc.Get();
        if (font == nullptr) {
            fallbackFont =
                CreateGdiFont(kFallbackHeight, 0, 0, 0, false, false, false, false, kFallbackFace);
            font = fallbackFont.Get();
        }
    }
    {
        // Declared after the DC and the fallback font, so it is undone before they are freed.
        ObjectSelection selection;
        if (font != nullptr) selection.Select(dc, font);
        const int length = text.size() > static_cast<std::size_t>(INT_MAX)
                               ? INT_MAX
                               : static_cast<int>(text.size());
        if (dc != nullptr) DrawTextA(dc, text.c_str(), length, &extent, DT_CALCRECT);
    }
    width = extent.right - extent.left;
    height = extent.bottom - extent.top;
}

void PrepareTextWatermark(std::int32_t& width, std::int32_t& height, GdipFont& font) {
    const WatermarkTextStyle& style = TheWatermarkTextStyle();
    const WatermarkFontFlags flags = MapFontStyle(style.style, style.underline, style.strikeout);
    GdiFont gdiFont = CreateGdiFont(style.size, 0, 0, 0, flags.bold, flags.italic, style.underline,
                                    style.strikeout, style.face);
    font.Create(style.face, static_cast<float>(style.size), flags.gdipStyle, gdip::kUnitPixel);
    MeasureText(TheConversionSettings().watermarkText, width, height, gdiFont.Get(), nullptr);
}
