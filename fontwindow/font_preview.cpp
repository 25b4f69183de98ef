#include "fontwindow/font_preview.h"

#include <optional>

#include "fontwindow/preview_rules.h"
#include "forms/runtime/form.h"
#include "forms/runtime/text.h"
#include "imaging/canvas.h"
#include "imaging/conversions.h"
#include "imaging/gdi_text.h"
#include "imaging/gdip_brush.h"
#include "imaging/gdip_font.h"

namespace {

// Distance of the drop shadow, in pixels down and to the right, and rings of the glow.
constexpr int kShadowOffset = 4;
constexpr int kGlowWidth = 2;

// The size item as a number: the GDI height takes it truncated, GDI+ as a float.
double SizeOf(const FontPreviewRequest& request) { return text::LeadingNumber(request.sizeItem); }

}  // namespace

std::int32_t FontPreviewOpacity(const FontPreviewRequest& request) {
    return OpacityFromItemText(request.transparencyItem);
}

FontPreviewLayout LayOutFontPreview(const FontPreviewRequest& request) {
    PreviewFontStyle style =
        PreviewFontStyleFor(request.checkedStyle, request.strikeout, request.underline);
    GdiFont font =
        CreateGdiFont(TruncateToInt32(SizeOf(request)), 0, 0, 0, style.gdiBold, style.gdiItalic,
                      request.underline, request.strikeout, request.face);
    FontPreviewLayout layout;
    MeasureText(request.text, layout.textWidth, layout.textHeight, font.Get());
    layout.at = FontPreviewPlacement(layout.textWidth, layout.textHeight, request.positionItem);
    return layout;
}

std::vector<std::uint8_t> DrawFontPreview(const FontPreviewRequest& request,
                                          const FontPreviewLayout& layout,
                                          const std::vector<std::uint8_t>& background) {
    Canvas canvas;
    GdipFont font;
    GdipBrush brush;
    canvas.CreateBlank(kFontPreviewWidth, kFontPreviewHeight);
    canvas.DrawPictureBytes(background, 0, 0);

    const std::int32_t opacity = FontPreviewOpacity(request);
    PreviewFontStyle style =
        PreviewFontStyleFor(request.checkedStyle, request.strikeout, request.underline);
    font.Create(request.face, static_cast<float>(SizeOf(request)), style.gdiplusStyle,
                gdip::kUnitPixel);
    brush.CreateSolidFill(ToArgb(request.textColour, opacity));

    // An effect that is off passes none of its three values.
    std::optional<COLORREF> shadowColour, glowColour;
    std::optional<int> shadowOffset, shadowOpacity, glowWidth, glowOpacity;
    if (request.shadow) {
        shadowColour = request.shadowColour;
        shadowOffset = kShadowOffset;
        shadowOpacity = opacity;
    }
    if (request.glow) {
        glowColour = request.glowColour;
        glowWidth = kGlowWidth;
        glowOpacity = opacity;
    }
    canvas.DrawEffectText(request.text, static_cast<float>(layout.at.x),
                          static_cast<float>(layout.at.y), font, brush, shadowColour, shadowOffset,
                          shadowOpacity, glowColour, glowWidth, glowOpacity);
    return canvas.SaveToBytes();
}

std::vector<std::uint8_t> FontPreviewBackground() {
    return forms::ResourceBytes("font_preview_background");
}
