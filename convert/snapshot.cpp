#include "convert/snapshot.h"

#include "app/program_state.h"
#include "app/settings_file.h"
#include "convert/conversion_settings.h"

namespace {

// The text of the selected item, or empty when none is selected.
std::string SelectedItemText(const forms::Control& combo) {
    const int index = combo.Selected();
    return index < 0 ? std::string() : combo.ItemText(index);
}

}  // namespace

MainWindowRunOptions ReadRunOptions(forms::Window& window) {
    MainWindowRunOptions options;
    options.convertFormat = window["选择框_转换格式"].Checked();
    options.resize = window["选择框_改变尺寸"].Checked();
    options.textWatermark = window["选择框_文字水印"].Checked();
    options.pictureWatermark = window["选择框_图片水印"].Checked();
    options.bySize = window["单选框_按尺寸"].Checked();
    options.byPercent = window["单选框_按百分比"].Checked();
    options.widthRequested = window["选择框_指定宽度"].Checked();
    options.heightRequested = window["选择框_指定高度"].Checked();
    options.formatIndex = window["组合框_新格式"].Selected();
    options.formatItem = SelectedItemText(window["组合框_新格式"]);
    options.widthText = window["编辑框_宽度"].Text();
    options.heightText = window["编辑框_高度"].Text();
    options.percentItem = SelectedItemText(window["组合框_百分比"]);
    options.watermarkText = window["编辑框_水印文字"].Text();
    options.picturePath = window["编辑框_图片路径"].Text();
    options.positionItem = SelectedItemText(window["组合框_水印位置"]);
    options.transparencyItem = SelectedItemText(window["组合框_水印透明"]);
    return options;
}

void SnapshotConversionSettings(forms::Window& window) {
    ConversionSettings& settings = TheConversionSettings();
    const std::string& settingsPath = TheProgram().settingsPath;
    const std::string outputFolder = settings.outputFolder;
    for (const SettingsEntry& entry : RunSettingsEntries(ReadRunOptions(window), outputFolder)) {
        WriteSetting(settingsPath, kConversionSection, entry.key.c_str(), entry.value);
    }
    // The record is filled from the controls read again, after the writes.
    settings = RunSettingsFromOptions(ReadRunOptions(window), outputFolder);
}
