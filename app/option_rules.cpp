#include "app/option_rules.h"

#include "forms/runtime/modal.h"

namespace {

void SetEnabled(forms::Window& window, const char* control, bool enabled) {
    window[control].SetDisabled(!enabled);
}

bool IsChecked(forms::Window& window, const char* control) { return window[control].Checked(); }

// Step 3 shared by both watermark rules: position and opacity matter for either watermark.
void WatermarkListsRule(forms::Window& window) {
    bool anyWatermark =
        IsChecked(window, "选择框_文字水印") || IsChecked(window, "选择框_图片水印");
    SetEnabled(window, "组合框_水印位置", anyWatermark);
    SetEnabled(window, "组合框_水印透明", anyWatermark);
}

}  // namespace

void FormatRule(forms::Window& window) {
    SetEnabled(window, "组合框_新格式", IsChecked(window, "选择框_转换格式"));
}

void SizeRule(forms::Window& window) {
    bool on = IsChecked(window, "选择框_改变尺寸");
    for (const char* control : {"单选框_按尺寸", "单选框_按百分比", "选择框_指定宽度",
                                "选择框_指定高度", "组合框_百分比"}) {
        SetEnabled(window, control, on);
    }
    if (on) {
        WidthRule(window);
        HeightRule(window);
        window["标签4"].SetTextColour(kActiveLabelColour);
    } else {
        SetEnabled(window, "编辑框_宽度", false);
        SetEnabled(window, "编辑框_高度", false);
        window["标签4"].SetTextColour(kInactiveLabelColour);
    }
}

// The width and height rules do not consult 选择框_改变尺寸: the size rule disables both edit
// boxes itself when the size is not to change, and the check boxes are disabled then.
void WidthRule(forms::Window& window) {
    SetEnabled(window, "编辑框_宽度", IsChecked(window, "选择框_指定宽度"));
}

void HeightRule(forms::Window& window) {
    SetEnabled(window, "编辑框_高度", IsChecked(window, "选择框_指定高度"));
}

void SizeModeRule(forms::Window& window) {
    // Let pending messages run first, so that the radio buttons' checks have settled.
    forms::ProcessPendingMessages();
    window["图片框2"].SetVisible(IsChecked(window, "单选框_按尺寸"));
    window["图片框3"].SetVisible(IsChecked(window, "单选框_按百分比"));
}

void TextWatermarkRule(forms::Window& window) {
    bool text = IsChecked(window, "选择框_文字水印");
    SetEnabled(window, "编辑框_水印文字", text);
    SetEnabled(window, "编辑框5", text);
    if (text && IsChecked(window, "选择框_图片水印")) {
        // The box just checked wins; clearing by code raises no click, so run the other rule.
        window["选择框_图片水印"].SetChecked(false);
        PictureWatermarkRule(window);
    }
    WatermarkListsRule(window);
}

void PictureWatermarkRule(forms::Window& window) {
    bool picture = IsChecked(window, "选择框_图片水印");
    SetEnabled(window, "编辑框_图片路径", picture);
    if (picture && IsChecked(window, "选择框_文字水印")) {
        window["选择框_文字水印"].SetChecked(false);
        TextWatermarkRule(window);
    }
    WatermarkListsRule(window);
}

void BrowseForWatermarkPicture(forms::Window& window) {
    forms::OpenFileRequest request;
    request.owner = window.Hwnd();
    request.filter = window["通用对话框2"].Desc().filter;
    std::vector<std::string> chosen = forms::Modal().ChooseFilesToOpen(request);
    if (chosen.empty()) return;
    window["编辑框_图片路径"].SetText(chosen.front());
}

void BindOptionRules(forms::Window& window) {
    forms::Window* w = &window;
    window.OnClick("选择框_转换格式", [w] { FormatRule(*w); });
    window.OnClick("选择框_改变尺寸", [w] { SizeRule(*w); });
    window.OnClick("选择框_指定宽度", [w] { WidthRule(*w); });
    window.OnClick("选择框_指定高度", [w] { HeightRule(*w); });
    window.OnClick("单选框_按尺寸", [w] { SizeModeRule(*w); });
    window.OnClick("选择框_文字水印", [w] { TextWatermarkRule(*w); });
    window.OnClick("选择框_图片水印", [w] { PictureWatermarkRule(*w); });
    window.OnClick("按钮_浏览图片", [w] { BrowseForWatermarkPicture(*w); });
}
