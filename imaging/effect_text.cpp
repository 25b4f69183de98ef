// Canvas::DrawEffectText: a text with an optional drop shadow and glow, drawn as extra copies of
// the text in other colours before the text itself.
#include "imaging/canvas.h"

#include "imaging/conversions.h"
#include "imaging/gdip_brush.h"
#include "imaging/gdip_font.h"

namespace {

constexpr int kDefaultShadowOffset = 2;
constexpr int kDefaultGlowWidth = 2;
constexpr int kDefaultOpacity = 255;
// Each glow ring is this many alpha steps fainter than the one inside it.
constexpr int kGlowFadePerRing = 20;

// A coordinate moved by a number of pixels: summed in double precision, stored as a float.
float Moved(float coordinate, int pixels) {
    return static_cast<float>(static_cast<double>(coordinate) + pixels);
}

}  // namespace

gdip::Status Canvas::DrawEffectText(const std::string& text, float x, float y, const GdipFont& font,
                                    const GdipBrush& mainBrush,
                                    std::optional<COLORREF> shadowColour,
                                    std::optional<int> shadowOffset,
                                    std::optional<int> shadowOpacity,
                                    std::optional<COLORREF> glowColour,
                                    std::optional<int> glowWidth, std::optional<int> glowOpacity) {
    // The layout rectangle has no size, so GDI+ neither wraps nor clips and starts at (x, y).
    gdip::RectF layout = {0, 0, 0, 0};
    GdipBrush effectBrush;
    const WideText wide = ToWideText(text);
    const int length = CharacterCount(wide);

    auto drawAt = [&](float atX, float atY, const GdipBrush& brush) {
        layout.x = atX;
        layout.y = atY;
        return gdip::Table().GdipDrawString(graphics_.Handle(), wide.data(), length, font.Handle(),
                                            &layout, nullptr, brush.Handle());
    };

    if (shadowColour) {
        const int offset = shadowOffset.value_or(kDefaultShadowOffset);
        effectBrush.CreateSolidFill(ToArgb(*shadowColour, shadowOpacity.value_or(kDefaultOpacity)));
        drawAt(Moved(x, offset), Moved(y, offset), effectBrush);
        effectBrush.Delete();
    }

    if (glowColour) {
        const int width = glowWidth.value_or(kDefaultGlowWidth);
        const int base = glowOpacity.value_or(kDefaultOpacity);
        for (int i = 1; i <= width; ++i) {
            const int v = width - i + 1;  // the outermost ring first
            // A faint glow's outer rings would fall below 0: ToArgb clamps them to 0, so the glow
            // still fades outwards.
            effectBrush.CreateSolidFill(ToArgb(*glowColour, base - kGlowFadePerRing * v));
            drawAt(x, Moved(y, v), effectBrush);
            drawAt(Moved(x, v), y, effectBrush);
            drawAt(Moved(x, -v), y, effectBrush);
            drawAt(x, Moved(y, -v), effectBrush);
            effectBrush.Delete();
        }
    }

    return drawAt(x, y, mainBrush);
}
