#include "tests/support/loaded_settings.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "app/watermark_text_style.h"
#include "convert/conversion_settings.h"

namespace testing_support {

namespace {

std::string SelectedText(forms::Control list) {
    int index = list.Selected();
    return index < 0 ? std::string("<none>") : list.ItemText(index);
}

}  // namespace

std::string PersonalFolder() {
    char value[1024] = {};
    DWORD size = sizeof value;
    LONG status = RegGetValueA(
        HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
        "Personal", RRF_RT_REG_SZ, nullptr, value, &size);
    EXPECT_EQ(status, ERROR_SUCCESS) << "the prefix has no Personal folder";
    std::string folder = value;
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    return folder;
}

Loaded Defaults() {
    Loaded d;
    d.face = "宋体";
    d.size = 30;
    d.textColour = 0;
    d.style = 2;
    d.strikeout = false;
    d.underline = false;
    d.glow = true;
    d.shadow = false;
    d.glowColour = 16777215;
    d.shadowColour = 0;
    d.fontDisplay = "宋体(30)";
    d.outputFolderBox = d.outputFolderField = PersonalFolder() + "My Pictures\\转换图片";
    d.convertFormat = d.changeSize = d.textWatermark = d.pictureWatermark = false;
    d.bySize = true;
    d.byPercent = false;
    d.fixWidth = true;
    d.fixHeight = false;
    d.newFormat = "原格式";
    d.position = "右下";
    d.opacity = "100";
    d.percent = "50";
    d.width = d.height = "500";
    d.watermarkText = "榆雀网络";
    d.picturePath = "";
    return d;
}

Loaded Observe(MainWindowHarness& w) {
    const WatermarkTextStyle& s = TheWatermarkTextStyle();
    Loaded o;
    o.face = s.face;
    o.size = s.size;
    o.textColour = s.textColour;
    o.style = s.style;
    o.strikeout = s.strikeout;
    o.underline = s.underline;
    o.glow = s.glow;
    o.shadow = s.shadow;
    o.glowColour = s.glowColour;
    o.shadowColour = s.shadowColour;
    o.fontDisplay = w["编辑框5"].Text();
    o.outputFolderBox = w["编辑框1"].Text();
    o.outputFolderField = TheConversionSettings().outputFolder;
    o.convertFormat = w["选择框_转换格式"].Checked();
    o.changeSize = w["选择框_改变尺寸"].Checked();
    o.textWatermark = w["选择框_文字水印"].Checked();
    o.pictureWatermark = w["选择框_图片水印"].Checked();
    o.bySize = w["单选框_按尺寸"].Checked();
    o.byPercent = w["单选框_按百分比"].Checked();
    o.fixWidth = w["选择框_指定宽度"].Checked();
    o.fixHeight = w["选择框_指定高度"].Checked();
    o.newFormat = SelectedText(w["组合框_新格式"]);
    o.position = SelectedText(w["组合框_水印位置"]);
    o.opacity = SelectedText(w["组合框_水印透明"]);
    o.percent = SelectedText(w["组合框_百分比"]);
    o.width = w["编辑框_宽度"].Text();
    o.height = w["编辑框_高度"].Text();
    o.watermarkText = w["编辑框_水印文字"].Text();
    o.picturePath = w["编辑框_图片路径"].Text();
    return o;
}

void ExpectLoaded(const Loaded& want, const Loaded& got) {
#define EXPECT_FIELD(field) EXPECT_EQ(want.field, got.field) << #field
    EXPECT_FIELD(face);
    EXPECT_FIELD(size);
    EXPECT_FIELD(textColour);
    EXPECT_FIELD(style);
    EXPECT_FIELD(strikeout);
    EXPECT_FIELD(underline);
    EXPECT_FIELD(glow);
    EXPECT_FIELD(shadow);
    EXPECT_FIELD(glowColour);
    EXPECT_FIELD(shadowColour);
    EXPECT_FIELD(fontDisplay);
    EXPECT_FIELD(outputFolderBox);
    EXPECT_FIELD(outputFolderField);
    EXPECT_FIELD(convertFormat);
    EXPECT_FIELD(changeSize);
    EXPECT_FIELD(textWatermark);
    EXPECT_FIELD(pictureWatermark);
    EXPECT_FIELD(bySize);
    EXPECT_FIELD(byPercent);
    EXPECT_FIELD(fixWidth);
    EXPECT_FIELD(fixHeight);
    EXPECT_FIELD(newFormat);
    EXPECT_FIELD(position);
    EXPECT_FIELD(opacity);
    EXPECT_FIELD(percent);
    EXPECT_FIELD(width);
    EXPECT_FIELD(height);
    EXPECT_FIELD(watermarkText);
    EXPECT_FIELD(picturePath);
#undef EXPECT_FIELD
}

}  // namespace testing_support
