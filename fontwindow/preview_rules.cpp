#include "fontwindow/preview_rules.h"

#include "app/maker.h"
#include "forms/runtime/text.h"

std::string FontPreviewPresetText() { return std::string("榆雀网络") + "\\n" + kMakerWebHost; }

std::string FontPreviewText(const std::string& typedWatermarkText) {
    const std::string& kept =
        text::Trim(typedWatermarkText).empty() ? FontPreviewPresetText() : typedWatermarkText;
    return WatermarkTextWithLineBreaks(kept);
}

PixelPoint FontPreviewPlacement(std::int32_t textWidth, std::int32_t textHeight,
                                const std::string& position) {
    return WatermarkPosition(kFontPreviewWidth, kFontPreviewHeight, textWidth, textHeight,
                             position);
}

PreviewFontStyle PreviewFontStyleFor(int checkedRadio, bool strikeout, bool underline) {
    PreviewFontStyle style;
    const int base = checkedRadio >= 0 && checkedRadio <= 3 ? checkedRadio : 0;
    style.gdiplusStyle = base;
    style.gdiBold = base == 1 || base == 3;
    style.gdiItalic = base == 2 || base == 3;
    if (strikeout) style.gdiplusStyle += 8;
    if (underline) style.gdiplusStyle += 4;
    return style;
}
