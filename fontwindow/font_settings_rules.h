// What the font window's OK stores: the text watermark's font settings from the values its
// controls hold, and the ten keys of section "字体设置" in the order they are written. No windows
// here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/watermark_text_style.h"
#include "convert/run_rules.h"

// The font window's controls as they stand when OK is pressed.
struct FontWindowChoices {
    std::string faceItem;  // selected item of the face list ("" when none)
    std::string sizeItem;  // selected item of the size list ("" when none)
    std::uint32_t textColour = 0;
    // The value stored under "字体字型" before OK (its default "2" when the key is missing); the
    // style when no style button is checked.
    std::string storedStyleText = "2";
    int checkedStyle = -1;  // 0 常规, 1 粗体, 2 斜体, 3 粗斜体; -1 none
    bool strikeout = false;
    bool underline = false;
    bool glow = false;
    bool shadow = false;
    std::uint32_t glowColour = 0;
    std::uint32_t shadowColour = 0;
};

// The settings OK stores: the size is the item's number truncated (0 when none is selected), the
// style the checked button's FontStyleCode; then a size outside 6..80 becomes 12 and a style
// outside 1..4 becomes 1, as when the settings file is loaded.
WatermarkTextStyle StyleFromChoices(const FontWindowChoices& choices);

// The ten keys of "字体设置" with their values in the file's forms, in the order OK writes them:
// "字体名称", "字体大小", "文字颜色", "字体字型", "删除线", "下划线", "光晕字", "阴影字",
// "光晕颜色", "阴影颜色".
std::vector<SettingsEntry> FontSettingsEntries(const WatermarkTextStyle& style);
