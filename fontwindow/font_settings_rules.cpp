#include "fontwindow/font_settings_rules.h"

#include "app/settings_values.h"

WatermarkTextStyle StyleFromChoices(const FontWindowChoices& choices) {
    WatermarkTextStyle style;
    style.face = choices.faceItem;
    style.size = NumberFromText(choices.sizeItem);
    style.textColour = choices.textColour;
    style.style = NumberFromText(choices.storedStyleText);
    if (choices.checkedStyle >= 0 && choices.checkedStyle <= 3)
        style.style = choices.checkedStyle + 1;
    style.strikeout = choices.strikeout;
    style.underline = choices.underline;
    style.glow = choices.glow;
    style.shadow = choices.shadow;
    style.glowColour = choices.glowColour;
    style.shadowColour = choices.shadowColour;
    style.size = FontSizeInRange(style.size);
    style.style = FontStyleInRange(style.style);
    return style;
}

std::vector<SettingsEntry> FontSettingsEntries(const WatermarkTextStyle& style) {
    return {
        {"字体名称", style.face},
        {"字体大小", NumberText(style.size)},
        {"文字颜色", ColourText(style.textColour)},
        {"字体字型", NumberText(style.style)},
        {"删除线", FlagText(style.strikeout)},
        {"下划线", FlagText(style.underline)},
        {"光晕字", FlagText(style.glow)},
        {"阴影字", FlagText(style.shadow)},
        {"光晕颜色", ColourText(style.glowColour)},
        {"阴影颜色", ColourText(style.shadowColour)},
    };
}
