#include "app/settings_load.h"

#include <string>
#include <vector>

#include "app/path_rules.h"
#include "app/program_state.h"
#include "app/settings_file.h"
#include "app/settings_values.h"
#include "app/shell_folders.h"
#include "app/watermark_text_style.h"
#include "convert/conversion_settings.h"

namespace {

class SettingsReader {
  public:
    SettingsReader(const std::string& path, const char* section) : path_(path), section_(section) {}

    std::string Text(const char* key, const std::string& fallback) const {
        return ReadSetting(path_, section_, key, fallback);
    }
    bool Flag(const char* key, const char* fallback) const {
        return FlagFromText(Text(key, fallback));
    }
    std::int32_t Number(const char* key, const char* fallback) const {
        return NumberFromText(Text(key, fallback));
    }
    std::uint32_t Colour(const char* key, const char* fallback) const {
        return ColourFromText(Text(key, fallback));
    }

  private:
    const std::string& path_;
    const char* section_;
};

void LoadWatermarkTextStyle(const SettingsReader& font, WatermarkTextStyle& style) {
    style.face = font.Text("字体名称", "宋体");
    style.size = font.Number("字体大小", "30");
    style.textColour = font.Colour("文字颜色", "0");
    style.style = font.Number("字体字型", "2");
    style.strikeout = font.Flag("删除线", "假");
    style.underline = font.Flag("下划线", "假");
    style.glow = font.Flag("光晕字", "真");
    style.shadow = font.Flag("阴影字", "假");
    style.glowColour = font.Colour("光晕颜色", "16777215");
    style.shadowColour = font.Colour("阴影颜色", "0");
    // A stored size out of range becomes 12, not the default 30.
    style.size = FontSizeInRange(style.size);
    style.style = FontStyleInRange(style.style);
}

// Selects the item whose whole text equals the value; a value matching no item keeps the
// selection the list already has.
void SelectListChoice(forms::Control list, const std::string& value) {
    std::vector<std::string> items;
    for (int i = 0; i < list.ItemCount(); ++i) items.push_back(list.ItemText(i));
    int index = ListChoiceIndex(items, value);
    if (index >= 0) list.SetSelected(index);
}

// A key of "转换设置", its default, and the control it is loaded into.
struct KeyedControl {
    const char* key;
    const char* fallback;
    const char* control;
};

}  // namespace

void LoadSettings(forms::Window& window) {
    const std::string& path = TheProgram().settingsPath;

    SettingsReader font(path, kFontSection);
    WatermarkTextStyle& style = TheWatermarkTextStyle();
    LoadWatermarkTextStyle(font, style);
    window["编辑框5"].SetText(FontDisplayText(style.face, style.size));

    SettingsReader job(path, kConversionSection);
    std::string outputFolder =
        job.Text("保存目录", DefaultOutputFolder(SpecialFolderPath(1, true)));
    TheConversionSettings().outputFolder = outputFolder;
    window["编辑框1"].SetText(outputFolder);

    static const KeyedControl kFlags[] = {
        {"转换格式", "假", "选择框_转换格式"}, {"改变尺寸", "假", "选择框_改变尺寸"},
        {"文字水印", "假", "选择框_文字水印"}, {"图片水印", "假", "选择框_图片水印"},
        {"按尺寸", "真", "单选框_按尺寸"},     {"按百分比", "假", "单选框_按百分比"},
        {"指定宽度", "真", "选择框_指定宽度"}, {"指定高度", "假", "选择框_指定高度"},
    };
    for (const KeyedControl& flag : kFlags) {
        window[flag.control].SetChecked(job.Flag(flag.key, flag.fallback));
    }

    static const KeyedControl kChoices[] = {
        {"新格式", "原格式", "组合框_新格式"},
        {"水印位置", "右下", "组合框_水印位置"},
        {"水印透明", "100", "组合框_水印透明"},
        {"百分比", "50", "组合框_百分比"},
    };
    for (const KeyedControl& choice : kChoices) {
        SelectListChoice(window[choice.control], job.Text(choice.key, choice.fallback));
    }

    static const KeyedControl kTexts[] = {
        {"宽度", "500", "编辑框_宽度"},
        {"高度", "500", "编辑框_高度"},
        {"文字内容", "榆雀网络", "编辑框_水印文字"},
        {"图片路径", "", "编辑框_图片路径"},
    };
    for (const KeyedControl& entry : kTexts) {
        window[entry.control].SetText(job.Text(entry.key, entry.fallback));
    }
}
