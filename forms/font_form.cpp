#include "forms/font_form.h"

#include "forms/form_building.h"

namespace forms {

namespace {

ControlDesc Label(const char* name, int x, int y, int width, int height, const char* text) {
    return WithText(Place(name, ControlKind::Label, x, y, width, height), text);
}

ControlDesc Captioned(const char* name, ControlKind kind, int x, int y, int width, int height,
                      const char* text) {
    return WithText(Place(name, kind, x, y, width, height), text);
}

std::vector<ControlDesc> FontControls() {
    std::vector<ControlDesc> c;

    // The left column: face, size, text colour, style, effects, glow colour.
    c.push_back(Label("标签1", 8, 15, 64, 137,
                      "字体名称：\r\n\r\n字体大小：\r\n\r\n文字颜色：\r\n\r\n字体字型：\r\n\r\n"
                      "字体效果：\r\n\r\n光晕颜色："));
    c.push_back(WithFlags(DropDownList("组合框1", 72, 10, 112, 20, {}, -1), kSorted));
    c.push_back(DropDownList("组合框2", 72, 34, 112, 20,
                             {"6",  "7",  "8",  "9",  "10", "12", "14", "16", "18", "20", "24",
                              "26", "28", "30", "34", "36", "40", "48", "52", "60", "70", "80"},
                             -1));
    c.push_back(Place("颜色选择器1", ControlKind::ColourPicker, 72, 58, 112, 20));
    // One group: exactly one style is checked.
    c.push_back(WithFlags(Captioned("单选框1", ControlKind::RadioButton, 72, 83, 64, 20, "常规"),
                          kGroupStart));
    c.push_back(Captioned("单选框2", ControlKind::RadioButton, 134, 83, 64, 20, "粗体"));
    c.push_back(Captioned("单选框3", ControlKind::RadioButton, 196, 83, 64, 20, "斜体"));
    c.push_back(Captioned("单选框4", ControlKind::RadioButton, 256, 83, 64, 20, "粗斜体"));
    c.push_back(Captioned("选择框1", ControlKind::CheckBox, 72, 108, 64, 20, "删除线"));
    c.push_back(Captioned("选择框2", ControlKind::CheckBox, 134, 108, 64, 20, "下划线"));
    c.push_back(Captioned("选择框3", ControlKind::CheckBox, 196, 108, 64, 20, "光晕字"));
    c.push_back(Captioned("选择框4", ControlKind::CheckBox, 256, 108, 64, 20, "阴影字"));
    c.push_back(Place("颜色选择器2", ControlKind::ColourPicker, 72, 132, 112, 20));
    c.push_back(Label("标签2", 192, 132, 56, 20, "阴影颜色："));
    c.push_back(Place("颜色选择器3", ControlKind::ColourPicker, 255, 132, 112, 20));

    // The right column: the watermark's position and transparency, filled from the main window.
    c.push_back(Label("标签3", 192, 15, 72, 40, "水印位置：\r\n\r\n水印透明："));
    c.push_back(DropDownList("组合框3", 255, 10, 112, 20, {}, -1));
    c.push_back(DropDownList("组合框4", 255, 34, 112, 20, {}, -1));

    // The preview.
    c.push_back(Captioned("分组框1", ControlKind::GroupBox, 8, 157, 360, 190, "预览"));
    c.push_back(Place("图片框1", ControlKind::PictureBox, 10, 20, 340, 160, "分组框1"));

    c.push_back(Captioned("按钮1", ControlKind::Button, 216, 352, 70, 24, "确定(&E)"));
    c.push_back(Captioned("按钮2", ControlKind::Button, 298, 352, 70, 24, "取消(&C)"));
    return c;
}

FormDesc BuildFontForm() {
    FormDesc form;
    form.caption = "字体设置";
    form.width = 385;
    form.height = 424;
    form.frameless = false;
    form.minimizeBox = false;
    form.centred = true;
    form.showInTaskbar = false;
    form.controls = FontControls();
    return form;
}

}  // namespace

const FormDesc& FontFormDesc() {
    static const FormDesc form = BuildFontForm();
    return form;
}

}  // namespace forms
