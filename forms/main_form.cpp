#include "forms/main_form.h"

#include <commctrl.h>

#include "forms/form_building.h"

namespace forms {

const char* const kWatermarkPictureFilter =
    "图片文件(*.jpg;*.bmp;*.gif;*.png)|*.jpg;*.bmp;*.gif;*.png";

namespace {

ControlDesc PictureButton(const char* name, int x, int y, int width, int height,
                          const char* picture, const char* container = nullptr) {
    ControlDesc desc = Place(name, ControlKind::PictureButton, x, y, width, height, container);
    desc.picture = picture;
    return desc;
}

// The picture list: a report view without a header, whole rows selected, several at a time,
// black on white, hidden until it holds rows. It shares the program's file-type image list (the
// small image list given at creation), which outlives it.
ControlDesc PictureListView() {
    ControlDesc desc = Place("超级列表框1", ControlKind::ListView, 15, 100, 435, 300);
    desc.flags = kHidden;
    desc.columns = {{"文件名", 180}, {"文件目录", 350}};
    desc.listViewExStyle = LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES;
    desc.extraStyle = LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS;
    desc.backColour = RGB(255, 255, 255);
    desc.textColour = RGB(0, 0, 0);
    return desc;
}

ControlDesc AnimatedPicture(const char* name, int x, int y, int width, int height,
                            const char* picture, const char* container = nullptr) {
    ControlDesc desc = Place(name, ControlKind::PictureBox, x, y, width, height, container);
    desc.picture = picture;
    desc.flags = kAnimate;
    return desc;
}

std::vector<ControlDesc> MainControls() {
    std::vector<ControlDesc> c;

    // The picture list and its buttons.
    c.push_back(PictureListView());
    c.push_back(PictureButton("按钮_添加图片", 8, 410, 127, 36, "btn_add"));
    c.push_back(PictureButton("按钮_删除图片", 140, 410, 127, 36, "btn_delete"));
    c.push_back(PictureButton("按钮_清空图片", 272, 410, 127, 36, "btn_clear"));

    // The preview and the size of the previewed picture.
    c.push_back(AnimatedPicture("图片框1", 467, 129, 256, 205, "preview_placeholder"));
    ControlDesc sizeLabel = WithText(Place("标签2", ControlKind::Label, 504, 364, 184, 26), "");
    sizeLabel.picture = "size_label_background";
    c.push_back(sizeLabel);

    // The output folder row.
    c.push_back(WithText(Place("标签6", ControlKind::Label, 404, 411, 96, 14), "图片保存目录："));
    c.push_back(Place("外形框1", ControlKind::ShapeBox, 404, 426, 272, 20));
    c.push_back(Place("编辑框1", ControlKind::Edit, 1, 1, 253, 18, "外形框1"));
    c.push_back(PictureButton("按钮_设置文件夹", 254, 1, 17, 17, "btn_set_folder", "外形框1"));
    c.push_back(PictureButton("按钮_打开文件夹", 680, 424, 60, 25, "btn_open_folder"));

    // Format.
    c.push_back(
        WithText(Place("选择框_转换格式", ControlKind::CheckBox, 24, 464, 72, 20), "转换格式"));
    c.push_back(DropDownList("组合框_新格式", 97, 464, 104, 20,
                             {"原格式", "BMP", "JPG", "GIF", "TIFF", "PNG"}, 0));

    // Size: in pixels (图片框2) or as a percentage (图片框3), sharing one place after start-up.
    c.push_back(
        WithText(Place("选择框_改变尺寸", ControlKind::CheckBox, 24, 492, 72, 20), "改变尺寸"));
    c.push_back(WithFlags(
        WithText(Place("单选框_按尺寸", ControlKind::RadioButton, 97, 492, 96, 20), "按尺寸(相素)"),
        kGroupStart));
    c.push_back(
        WithText(Place("单选框_按百分比", ControlKind::RadioButton, 193, 492, 72, 20), "按百分比"));
    c.push_back(Place("图片框2", ControlKind::PictureBox, 24, 520, 232, 20));
    c.push_back(WithText(Place("选择框_指定宽度", ControlKind::CheckBox, 0, 0, 80, 20, "图片框2"),
                         "指定宽度"));
    c.push_back(WithFlags(
        WithText(Place("编辑框_宽度", ControlKind::Edit, 71, 0, 40, 20, "图片框2"), "500"),
        kNumeric));
    c.push_back(WithText(Place("选择框_指定高度", ControlKind::CheckBox, 112, 0, 72, 20, "图片框2"),
                         "指定高度"));
    c.push_back(WithFlags(
        WithText(Place("编辑框_高度", ControlKind::Edit, 181, 0, 40, 20, "图片框2"), "500"),
        kNumeric));
    c.push_back(WithFlags(Place("图片框3", ControlKind::PictureBox, 24, 592, 232, 20), kHidden));
    // Fourteen spaces leave room for the percentage list lying over the label.
    c.push_back(WithText(Place("标签4", ControlKind::Label, 0, 0, 216, 20, "图片框3"),
                         "保存为原图片的              %"));
    c.push_back(DropDownList(
        "组合框_百分比", 90, 0, 72, 20,
        {"400", "300", "200", "100", "90", "80", "70", "60", "50", "40", "30", "20", "10", "5"}, 8,
        "图片框3"));

    // Text watermark.
    c.push_back(
        WithText(Place("选择框_文字水印", ControlKind::CheckBox, 280, 464, 80, 20), "文字水印"));
    c.push_back(
        WithText(Place("编辑框_水印文字", ControlKind::Edit, 348, 464, 92, 20), "榆雀网络"));
    c.push_back(WithText(Place("标签3", ControlKind::Label, 448, 464, 40, 20), "字体："));
    c.push_back(WithFlags(Place("编辑框5", ControlKind::Edit, 484, 464, 88, 20), kReadOnly));
    c.push_back(PictureButton("按钮_字体设置", 574, 462, 60, 25, "btn_font"));

    // Picture watermark.
    c.push_back(
        WithText(Place("选择框_图片水印", ControlKind::CheckBox, 280, 492, 72, 20), "图片水印"));
    c.push_back(WithText(Place("编辑框_图片路径", ControlKind::Edit, 348, 492, 224, 20), ""));
    c.push_back(PictureButton("按钮_浏览图片", 574, 489, 60, 25, "btn_browse"));

    // Watermark position and opacity.
    c.push_back(WithText(Place("标签1", ControlKind::Label, 280, 520, 64, 20), "水印位置："));
    c.push_back(DropDownList("组合框_水印位置", 348, 520, 76, 20,
                             {"顶边", "底边", "居中", "左上", "右上", "左下", "右下"}, 6));
    c.push_back(WithText(Place("标签5", ControlKind::Label, 434, 520, 48, 20), "透明度："));
    c.push_back(DropDownList("组合框_水印透明", 484, 520, 88, 20,
                             {"100", "90", "80", "70", "60", "50", "40", "30", "20", "10", "5"},
                             0));

    c.push_back(PictureButton("按钮_开始转换", 648, 462, 75, 75, "btn_start"));
    c.push_back(PictureButton("按钮_最小化", 687, 4, 27, 19, "btn_minimize"));
    c.push_back(PictureButton("按钮_关闭", 713, 4, 27, 19, "btn_close"));

    // The progress panel, kept below the window until a batch run moves it into view.
    ControlDesc mask = Place("遮照框", ControlKind::PictureBox, 10, 851, 730, 100);
    mask.picture = "mask_background";
    c.push_back(mask);
    c.push_back(AnimatedPicture("图片框4", 8, 6, 251, 18, "progress_strip", "遮照框"));
    c.push_back(Place("列表框1", ControlKind::ListBox, 9, 29, 712, 62, "遮照框"));

    ControlDesc timer = Place("时钟1", ControlKind::Timer, 0, 0, 0, 0);
    timer.interval = 500;
    c.push_back(timer);
    ControlDesc dialog = Place("通用对话框2", ControlKind::CommonDialog, 0, 0, 0, 0);
    dialog.filter = kWatermarkPictureFilter;
    c.push_back(dialog);
    return c;
}

FormDesc BuildMainForm() {
    FormDesc form;
    form.caption = "榆雀图片批量转换器";
    form.width = 750;
    form.height = 560;
    form.frameless = true;
    form.minimizeBox = true;
    form.centred = true;
    form.showInTaskbar = true;
    form.background = "main_background";
    form.controls = MainControls();
    return form;
}

}  // namespace

const FormDesc& MainFormDesc() {
    static const FormDesc form = BuildMainForm();
    return form;
}

}  // namespace forms
