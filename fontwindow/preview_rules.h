// The font window's preview rules: the text it previews, where the text goes on the 340 × 160
// sample, and the font style its controls ask for.
#pragma once

#include <cstdint>
#include <string>

#include "convert/run_rules.h"

inline constexpr std::int32_t kFontPreviewWidth = 340;
inline constexpr std::int32_t kFontPreviewHeight = 160;

// The preset preview text, as a user would type it: "榆雀网络", backslash, "n", the maker's web
// address.
std::string FontPreviewPresetText();

// The text previewed for the main window's watermark text: the preset when the text is blank
// after trimming (ASCII and full-width spaces), else the text itself, untrimmed; then each
// backslash + "n" becomes CR LF.
std::string FontPreviewText(const std::string& typedWatermarkText);

// Where a text measured `textWidth` × `textHeight` is drawn on the sample, by the same positions
// and 10-pixel margin as on a converted picture.
PixelPoint FontPreviewPlacement(std::int32_t textWidth, std::int32_t textHeight,
                                const std::string& position);

// The style the four style radio buttons and the two line check boxes ask for.
struct PreviewFontStyle {
    std::int32_t gdiplusStyle = 0;  // 0 regular, 1 bold, 2 italic, 3 bold italic; +4 underline,
                                    // +8 strikeout
    bool gdiBold = false;
    bool gdiItalic = false;
};

// `checkedRadio` is the index of the checked radio button, 0 (常规) .. 3 (粗斜体); any other
// value (none checked) counts as regular.
PreviewFontStyle PreviewFontStyleFor(int checkedRadio, bool strikeout, bool underline);
