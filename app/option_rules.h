// The option rules of the main window: the click handlers that enable, disable, show and hide
// controls as the options change, and keep the two watermark kinds apart. Each reads the checked
// states as they stand; none takes an argument of its own beyond the window.
#pragma once

#include "forms/runtime/form.h"

void FormatRule(forms::Window& window);  // click of 选择框_转换格式
void SizeRule(forms::Window& window);    // click of 选择框_改变尺寸
void WidthRule(forms::Window& window);   // click of 选择框_指定宽度
void HeightRule(forms::Window& window);  // click of 选择框_指定高度
void SizeModeRule(forms::Window& window);  // click of 单选框_按尺寸 (and 单选框_按百分比)
void TextWatermarkRule(forms::Window& window);     // click of 选择框_文字水印
void PictureWatermarkRule(forms::Window& window);  // click of 选择框_图片水印

// The click of 按钮_浏览图片: asks for the watermark picture and puts its path in
// 编辑框_图片路径 (even while that box is disabled). A cancelled dialog changes nothing.
void BrowseForWatermarkPicture(forms::Window& window);

// Binds the rules above to their controls' clicks.
void BindOptionRules(forms::Window& window);

// Label 标签4's text colours: black while the size may change, grey otherwise.
constexpr COLORREF kActiveLabelColour = 0x000000;
constexpr COLORREF kInactiveLabelColour = 0x606060;
