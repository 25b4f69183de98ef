// The form runtime in real windows: building, events, control operations, pictures, modal
// showing, and its window-free rules.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include <cstring>
#include <functional>
#include <optional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "forms/runtime/dialog_text.h"
#include "forms/runtime/form.h"
#include "forms/runtime/form_rules.h"
#include "forms/runtime/modal.h"
#include "forms/runtime/picture.h"
#include "tests/support/modal_recorder.h"
#include "tests/support/waiting.h"

namespace {

using forms::Control;
using forms::ControlDesc;
using forms::ControlKind;
using forms::FormDesc;
using forms::Window;
using testing_support::LetPeriodsPass;
using testing_support::WaitFor;

// ---------------------------------------------------------------------------------------------
// Helpers

// The test background (tools/make_test_pictures.py): a chequerboard of 20-pixel squares.
COLORREF BackgroundAt(int x, int y) {
    return ((x / 20) + (y / 20)) % 2 == 0 ? RGB(180, 200, 230) : RGB(230, 210, 180);
}

bool Near(COLORREF a, COLORREF b, int tolerance = 10) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
           std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

bool NearColour(COLORREF expected, COLORREF seen) { return Near(expected, seen); }

std::string Hex(COLORREF c) {
    char text[16];
    snprintf(text, sizeof(text), "#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

// The colour on view at a point of a window's client area, after it has painted.
COLORREF PixelOf(HWND hwnd, int x, int y) {
    RedrawWindow(hwnd, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    HDC dc = GetDC(hwnd);
    COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(hwnd, dc);
    return colour;
}

// Polls a pixel until it comes near `expected`; returns the last colour seen.
COLORREF WaitForPixel(HWND hwnd, int x, int y, COLORREF expected, DWORD milliseconds = 3000) {
    COLORREF seen = CLR_INVALID;
    WaitFor(
        [&] {
            seen = PixelOf(hwnd, x, y);
            return Near(seen, expected);
        },
        milliseconds);
    return seen;
}

RECT PlaceInParent(HWND control) {
    RECT place{};
    GetWindowRect(control, &place);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&place), 2);
    return place;
}

// A 24-bit BMP file of one colour, as a picture file in memory.
std::vector<unsigned char> SolidBmp(int width, int height, COLORREF colour) {
    int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + stride * height;
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    std::vector<unsigned char> bytes(file.bfSize, 0);
    std::memcpy(bytes.data(), &file, sizeof(file));
    std::memcpy(bytes.data() + sizeof(file), &info, sizeof(info));
    for (int y = 0; y < height; ++y) {
        unsigned char* row = bytes.data() + file.bfOffBits + y * stride;
        for (int x = 0; x < width; ++x) {
            row[x * 3 + 0] = GetBValue(colour);
            row[x * 3 + 1] = GetGValue(colour);
            row[x * 3 + 2] = GetRValue(colour);
        }
    }
    return bytes;
}

ControlDesc Make(const char* name, ControlKind kind, int x, int y, int width, int height,
                 const char* text = nullptr, unsigned flags = 0, const char* container = nullptr) {
    ControlDesc d{name, kind};
    d.x = x;
    d.y = y;
    d.width = width;
    d.height = height;
    d.text = text;
    d.flags = flags;
    d.container = container;
    return d;
}

// A skinned window holding every kind of control, some of them inside containers.
const FormDesc& TestForm() {
    static const FormDesc form = [] {
        FormDesc f{"测试窗口", 480, 360};
        f.frameless = true;
        f.minimizeBox = true;
        f.background = "test_background";
        auto& c = f.controls;
        ControlDesc label = Make("标签_说明", ControlKind::Label, 10, 10, 120, 20, "说明");
        label.textColour = RGB(200, 0, 0);
        c.push_back(label);
        c.push_back(Make("标签_多行", ControlKind::Label, 10, 34, 120, 40, "第一行\r\n第二行"));
        ControlDesc labelBack = Make("标签_底图", ControlKind::Label, 10, 78, 60, 20, "");
        labelBack.picture = "test_label_back";
        c.push_back(labelBack);
        ControlDesc pictureButton = Make("按钮_图片", ControlKind::PictureButton, 140, 10, 40, 20);
        pictureButton.picture = "test_btn";
        c.push_back(pictureButton);
        ControlDesc missing = Make("按钮_无图", ControlKind::PictureButton, 190, 10, 40, 20);
        missing.picture = "test_missing";
        c.push_back(missing);
        c.push_back(Make("按钮_普通", ControlKind::Button, 240, 10, 80, 24, "确定(&E)"));
        ControlDesc animation =
            Make("图片框_动画", ControlKind::PictureBox, 340, 10, 32, 32, nullptr, forms::kAnimate);
        animation.picture = "test_anim";
        animation.backColour = RGB(255, 255, 255);
        c.push_back(animation);
        ControlDesc panel = Make("图片框_面板", ControlKind::PictureBox, 10, 110, 200, 60);
        panel.backColour = RGB(250, 250, 250);
        c.push_back(panel);
        c.push_back(
            Make("选择框_内", ControlKind::CheckBox, 4, 4, 80, 20, "内部", 0, "图片框_面板"));
        c.push_back(Make("编辑框_数字", ControlKind::Edit, 100, 4, 60, 20, "500", forms::kNumeric,
                         "图片框_面板"));
        ControlDesc inner =
            Make("组合框_内", ControlKind::ComboList, 4, 32, 100, 20, nullptr, 0, "图片框_面板");
        inner.items = {"400", "300"};
        inner.selected = 1;
        c.push_back(inner);
        c.push_back(Make("外形框_框", ControlKind::ShapeBox, 220, 110, 120, 22));
        c.push_back(Make("编辑框_框内", ControlKind::Edit, 1, 1, 100, 20, "框内", 0, "外形框_框"));
        ControlDesc shapeButton =
            Make("按钮_框内", ControlKind::PictureButton, 101, 1, 17, 17, nullptr, 0, "外形框_框");
        shapeButton.picture = "test_btn";
        c.push_back(shapeButton);
        c.push_back(Make("分组框_组", ControlKind::GroupBox, 10, 180, 200, 60, "分组"));
        c.push_back(Make("单选框_甲", ControlKind::RadioButton, 10, 20, 60, 20, "甲",
                         forms::kGroupStart | forms::kChecked, "分组框_组"));
        c.push_back(
            Make("单选框_乙", ControlKind::RadioButton, 80, 20, 60, 20, "乙", 0, "分组框_组"));
        c.push_back(Make("单选框_丙", ControlKind::RadioButton, 220, 140, 60, 20, "丙",
                         forms::kGroupStart));
        c.push_back(Make("单选框_丁", ControlKind::RadioButton, 280, 140, 60, 20, "丁"));
        c.push_back(
            Make("选择框_外", ControlKind::CheckBox, 220, 165, 100, 20, "外部", forms::kChecked));
        c.push_back(
            Make("选择框_禁用", ControlKind::CheckBox, 330, 165, 80, 20, "禁用", forms::kDisabled));
        ControlDesc formats = Make("组合框_格式", ControlKind::ComboList, 220, 190, 100, 20);
        formats.items = {"原格式", "BMP", "JPG", "GIF"};
        formats.selected = 0;
        c.push_back(formats);
        ControlDesc sorted =
            Make("组合框_排序", ControlKind::ComboList, 330, 190, 100, 20, nullptr, forms::kSorted);
        sorted.items = {"c", "a", "b"};
        c.push_back(sorted);
        c.push_back(
            Make("编辑框_只读", ControlKind::Edit, 220, 215, 100, 20, "只读", forms::kReadOnly));
        c.push_back(Make("编辑框_隐藏", ControlKind::Edit, 330, 215, 100, 20, "", forms::kHidden));
        ControlDesc log = Make("列表框_日志", ControlKind::ListBox, 220, 240, 200, 50);
        log.items = {"甲", "乙"};
        c.push_back(log);
        ControlDesc list = Make("列表视图", ControlKind::ListView, 10, 250, 200, 80);
        list.columns = {{"文件名", 100}, {"文件目录", 90}};
        list.listViewExStyle = LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES;
        c.push_back(list);
        ControlDesc picker = Make("颜色选择器", ControlKind::ColourPicker, 220, 300, 112, 20);
        picker.backColour = RGB(1, 2, 3);
        c.push_back(picker);
        c.push_back(Make("时钟", ControlKind::Timer, 0, 0, 0, 0));
        ControlDesc dialog = Make("对话框", ControlKind::CommonDialog, 0, 0, 0, 0, "选择图片");
        dialog.filter = "图片文件(*.png)|*.png";
        c.push_back(dialog);
        // Declared last: a label over a combo list, and a panel that covers the buttons when shown.
        c.push_back(Make("标签_压", ControlKind::Label, 300, 185, 100, 30, "压在上面"));
        ControlDesc mask =
            Make("图片框_遮罩", ControlKind::PictureBox, 130, 0, 200, 40, nullptr, forms::kHidden);
        mask.backColour = RGB(90, 90, 90);
        c.push_back(mask);
        return f;
    }();
    return form;
}

class FormTest : public testing::Test {
  protected:
    void SetUp() override {
        testing_support::Recorder().Reset();
        window = std::make_unique<Window>(TestForm());
        ASSERT_TRUE(window->Create());
        SetForegroundWindow(window->Hwnd());
        forms::ProcessPendingMessages();
    }
    void TearDown() override {
        window.reset();
        forms::ProcessPendingMessages();
    }
    Control operator()(const char* name) { return (*window)[name]; }

    std::unique_ptr<Window> window;
};

// ---------------------------------------------------------------------------------------------
// Building

TEST_F(FormTest, ControlsStandAtTheirPlacesInTheirContainers) {
    struct Case {
        const char* name;
        const char* container;  // null: the window
        RECT place;
        int heightTolerance = 0;  // a closed combo list is no lower than its font allows
    };
    const Case cases[] = {
        {"标签_说明", nullptr, {10, 10, 130, 30}},
        {"按钮_图片", nullptr, {140, 10, 180, 30}},
        {"按钮_普通", nullptr, {240, 10, 320, 34}},
        {"图片框_面板", nullptr, {10, 110, 210, 170}},
        {"选择框_内", "图片框_面板", {4, 4, 84, 24}},
        {"编辑框_数字", "图片框_面板", {100, 4, 160, 24}},
        {"组合框_内", "图片框_面板", {4, 32, 104, 52}, 2},
        {"编辑框_框内", "外形框_框", {1, 1, 101, 21}},
        {"按钮_框内", "外形框_框", {101, 1, 118, 18}},
        {"单选框_乙", "分组框_组", {80, 20, 140, 40}},
        {"组合框_格式", nullptr, {220, 190, 320, 210}, 2},
        {"列表框_日志", nullptr, {220, 240, 420, 290}},
        {"列表视图", nullptr, {10, 250, 210, 330}},
        {"颜色选择器", nullptr, {220, 300, 332, 320}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND control = (*this)(c.name).Hwnd();
        ASSERT_NE(nullptr, control);
        HWND expectedParent = c.container != nullptr ? (*this)(c.container).Hwnd() : window->Hwnd();
        EXPECT_EQ(expectedParent, GetParent(control));
        RECT place = PlaceInParent(control);
        EXPECT_EQ(c.place.left, place.left);
        EXPECT_EQ(c.place.top, place.top);
        EXPECT_EQ(c.place.right, place.right);
        EXPECT_NEAR(c.place.bottom, place.bottom, c.heightTolerance);
        EXPECT_EQ(c.place.left, (*this)(c.name).Left());
        EXPECT_EQ(c.place.top, (*this)(c.name).Top());
    }
}

TEST_F(FormTest, LaterControlsLieOverEarlierOnesAndLabelsUnderAll) {
    auto at = [&](int x, int y) {
        POINT screen{x, y};
        ClientToScreen(window->Hwnd(), &screen);
        return WindowFromPoint(screen);
    };
    EXPECT_EQ((*this)("组合框_排序").Hwnd(), at(350, 200))
        << "a label declared later still lies under";
    EXPECT_EQ((*this)("按钮_普通").Hwnd(), at(250, 20));
    Control mask = (*this)("图片框_遮罩");
    mask.SetVisible(true);
    EXPECT_EQ(mask.Hwnd(), at(250, 20)) << "a panel declared later covers the button";
    EXPECT_PRED2(NearColour, RGB(90, 90, 90),
                 WaitForPixel(window->Hwnd(), 250, 20, RGB(90, 90, 90)));
}

TEST_F(FormTest, ControlsStartWithTheirTextsItemsAndStates) {
    EXPECT_EQ("说明", (*this)("标签_说明").Text());
    EXPECT_EQ("第一行\r\n第二行", (*this)("标签_多行").Text());
    EXPECT_EQ("500", (*this)("编辑框_数字").Text());
    EXPECT_EQ("确定(&E)", (*this)("按钮_普通").Text());
    EXPECT_EQ("选择图片", (*this)("对话框").Text());

    Control formats = (*this)("组合框_格式");
    ASSERT_EQ(4, formats.ItemCount());
    EXPECT_EQ("原格式", formats.ItemText(0));
    EXPECT_EQ("GIF", formats.ItemText(3));
    EXPECT_EQ(0, formats.Selected());
    EXPECT_EQ("原格式", formats.Text());
    EXPECT_EQ(1, (*this)("组合框_内").Selected());
    Control sorted = (*this)("组合框_排序");
    EXPECT_EQ("a", sorted.ItemText(0));
    EXPECT_EQ("c", sorted.ItemText(2));
    EXPECT_EQ(-1, sorted.Selected());
    Control log = (*this)("列表框_日志");
    ASSERT_EQ(2, log.ItemCount());
    EXPECT_EQ("乙", log.ItemText(1));

    struct State {
        const char* name;
        bool checked, visible, disabled;
    };
    const State states[] = {
        {"单选框_甲", true, true, false},     {"单选框_乙", false, true, false},
        {"选择框_外", true, true, false},     {"选择框_禁用", false, true, true},
        {"编辑框_隐藏", false, false, false},
    };
    for (const State& s : states) {
        SCOPED_TRACE(s.name);
        EXPECT_EQ(s.checked, (*this)(s.name).Checked());
        EXPECT_EQ(s.visible, (*this)(s.name).Visible());
        EXPECT_EQ(s.disabled, (*this)(s.name).Disabled());
    }
    EXPECT_TRUE(GetWindowLongA((*this)("编辑框_只读").Hwnd(), GWL_STYLE) & ES_READONLY);
    EXPECT_TRUE((*this)("图片框_动画").PlayAnimation());
    EXPECT_EQ(RGB(1, 2, 3), (*this)("颜色选择器").Colour());
    EXPECT_EQ(RGB(200, 0, 0), (*this)("标签_说明").TextColour());

    Control list = (*this)("列表视图");
    HWND header = reinterpret_cast<HWND>(list.Send(LVM_GETHEADER));
    EXPECT_EQ(2, static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)));
    EXPECT_EQ(100, static_cast<int>(list.Send(LVM_GETCOLUMNWIDTH, 0)));
    DWORD ex = static_cast<DWORD>(list.Send(LVM_GETEXTENDEDLISTVIEWSTYLE));
    EXPECT_EQ(static_cast<DWORD>(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES),
              ex & (LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES));
    EXPECT_TRUE(GetWindowLongA(list.Hwnd(), GWL_STYLE) & LVS_REPORT);
}

TEST_F(FormTest, UnknownNamesGiveAnEmptyControlThatDoesNothing) {
    Control none = window->Find("没有这个");
    EXPECT_FALSE(none);
    EXPECT_EQ(nullptr, none.Hwnd());
    EXPECT_EQ("", none.Text());
    none.SetText("x");
    none.SetChecked(true);
    EXPECT_EQ(-1, none.Selected());
    EXPECT_TRUE(none.SelectedRows().empty());
    EXPECT_TRUE((*this)("组合框_格式"));
}

TEST_F(FormTest, SkinnedWindowIsFramelessCentredAndDraggedByItsSurface) {
    HWND hwnd = window->Hwnd();
    LONG style = GetWindowLongA(hwnd, GWL_STYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_CAPTION);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_TRUE(GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_TRUE(IsWindowVisible(hwnd));
    char caption[64] = {};
    GetWindowTextA(hwnd, caption, sizeof(caption));
    EXPECT_STREQ("测试窗口", caption);

    RECT outer{}, work{};
    GetWindowRect(hwnd, &outer);
    EXPECT_EQ(480, outer.right - outer.left);
    EXPECT_EQ(360, outer.bottom - outer.top);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_NEAR((work.left + work.right) / 2, (outer.left + outer.right) / 2, 1);
    EXPECT_NEAR((work.top + work.bottom) / 2, (outer.top + outer.bottom) / 2, 1);

    struct Probe {
        const char* what;
        POINT client;
        LRESULT hit;
    };
    const Probe probes[] = {
        {"bare background", {450, 100}, HTCAPTION},
        {"a label lets the press through", {20, 20}, HTCAPTION},
    };
    for (const Probe& p : probes) {
        SCOPED_TRACE(p.what);
        POINT screen = p.client;
        ClientToScreen(hwnd, &screen);
        EXPECT_EQ(hwnd, WindowFromPoint(screen));
        EXPECT_EQ(p.hit, SendMessageA(hwnd, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y)));
    }
    POINT onButton{250, 20};
    ClientToScreen(hwnd, &onButton);
    EXPECT_EQ((*this)("按钮_普通").Hwnd(), WindowFromPoint(onButton));
}

TEST(FormWindow, CaptionedWindowHasItsCaptionAndOuterSize) {
    FormDesc desc{"字体设置", 385, 424};
    desc.controls.push_back(Make("按钮1", ControlKind::Button, 216, 352, 70, 24, "确定(&E)"));
    Window window(desc);
    ASSERT_TRUE(window.Create());
    LONG style = GetWindowLongA(window.Hwnd(), GWL_STYLE);
    EXPECT_EQ(static_cast<LONG>(WS_CAPTION), style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    RECT outer{};
    GetWindowRect(window.Hwnd(), &outer);
    EXPECT_EQ(385, outer.right - outer.left);
    EXPECT_EQ(424, outer.bottom - outer.top);
    char caption[64] = {};
    GetWindowTextA(window.Hwnd(), caption, sizeof(caption));
    EXPECT_STREQ("字体设置", caption);
    POINT inside{100, 100};
    ClientToScreen(window.Hwnd(), &inside);
    EXPECT_EQ(HTCLIENT,
              SendMessageA(window.Hwnd(), WM_NCHITTEST, 0, MAKELPARAM(inside.x, inside.y)));
}

TEST(FormWindow, CreatedRunsBeforeShowingAndDestroyingWhileControlsExist) {
    FormDesc desc{"次序", 200, 120};
    desc.controls.push_back(Make("标签", ControlKind::Label, 5, 5, 80, 20, "标签"));
    desc.controls.push_back(Make("图片框", ControlKind::PictureBox, 5, 30, 80, 40));
    desc.controls.push_back(Make("编辑框", ControlKind::Edit, 5, 5, 60, 20, "", 0, "图片框"));
    Window window(desc);
    std::vector<std::string> order;
    window.OnCreated([&] {
        order.push_back("created");
        EXPECT_FALSE(IsWindowVisible(window.Hwnd()));
        EXPECT_TRUE(IsWindow(window["标签"].Hwnd()));
        EXPECT_TRUE(IsWindow(window["编辑框"].Hwnd()));
    });
    window.OnDestroying([&] {
        order.push_back("destroying");
        EXPECT_TRUE(IsWindow(window["编辑框"].Hwnd()));
        EXPECT_TRUE(IsWindow(window.Hwnd()));
    });
    ASSERT_TRUE(window.Create());
    EXPECT_TRUE(IsWindowVisible(window.Hwnd()));
    window.Destroy();
    EXPECT_FALSE(window.Exists());
    EXPECT_EQ(nullptr, window.Hwnd());
    EXPECT_EQ(nullptr, window["编辑框"].Hwnd());
    EXPECT_EQ((std::vector<std::string>{"created", "destroying"}), order);

    // Made again, it starts afresh from its description.
    ASSERT_TRUE(window.Create());
    EXPECT_TRUE(IsWindow(window["编辑框"].Hwnd()));
    EXPECT_EQ((std::vector<std::string>{"created", "destroying", "created"}), order);
}

// ---------------------------------------------------------------------------------------------
// Events

TEST_F(FormTest, ClicksReachTheirHandlers) {
    const char* clickable[] = {"按钮_普通", "按钮_图片", "按钮_无图", "按钮_框内",
                               "选择框_外", "选择框_内", "单选框_乙"};
    for (const char* name : clickable) {
        SCOPED_TRACE(name);
        int clicks = 0;
        window->OnClick(name, [&] { ++clicks; });
        (*this)(name).Send(BM_CLICK);
        EXPECT_EQ(1, clicks);
        window->OnClick(name, nullptr);
    }
}

TEST_F(FormTest, AQuickSecondPressOnAPictureButtonIsASecondClick) {
    HWND button = (*this)("按钮_图片").Hwnd();
    int clicks = 0;
    window->OnClick("按钮_图片", [&] { ++clicks; });
    for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) {
        WPARAM keys = message == WM_LBUTTONUP ? 0 : MK_LBUTTON;
        SendMessageA(button, message, keys, MAKELPARAM(10, 10));
    }
    EXPECT_EQ(2, clicks);
}

TEST_F(FormTest, CheckBoxTogglesBeforeItsClickHandlerRuns) {
    Control box = (*this)("选择框_外");
    std::vector<bool> seen;
    window->OnClick("选择框_外", [&] { seen.push_back(box.Checked()); });
    box.Send(BM_CLICK);
    box.Send(BM_CLICK);
    EXPECT_EQ((std::vector<bool>{false, true}), seen);
}

TEST_F(FormTest, RadioClickChecksItAndClearsOnlyItsGroup) {
    (*this)("单选框_丙").SetChecked(true);
    (*this)("单选框_乙").Send(BM_CLICK);
    EXPECT_TRUE((*this)("单选框_乙").Checked());
    EXPECT_FALSE((*this)("单选框_甲").Checked());
    EXPECT_TRUE((*this)("单选框_丙").Checked()) << "another group";

    (*this)("单选框_丁").Send(BM_CLICK);
    EXPECT_TRUE((*this)("单选框_丁").Checked());
    EXPECT_FALSE((*this)("单选框_丙").Checked());
    EXPECT_TRUE((*this)("单选框_乙").Checked());
}

TEST_F(FormTest, SettingCheckedByCodeRaisesNoClick) {
    int clicks = 0;
    for (const char* name : {"选择框_外", "单选框_甲", "单选框_乙"})
        window->OnClick(name, [&] { ++clicks; });
    (*this)("选择框_外").SetChecked(false);
    EXPECT_FALSE((*this)("选择框_外").Checked());
    (*this)("单选框_乙").SetChecked(true);
    EXPECT_TRUE((*this)("单选框_乙").Checked());
    EXPECT_FALSE((*this)("单选框_甲").Checked()) << "checking a radio button clears its group";
    forms::ProcessPendingMessages();
    EXPECT_EQ(0, clicks);
}

TEST_F(FormTest, RedirectedEventsReachTheTargetsHandlers) {
    int ownClicks = 0, targetClicks = 0;
    window->OnClick("单选框_乙", [&] { ++ownClicks; });
    window->OnClick("单选框_甲", [&] { ++targetClicks; });
    window->Redirect("单选框_乙", "单选框_甲");
    (*this)("单选框_乙").Send(BM_CLICK);
    EXPECT_EQ(0, ownClicks);
    EXPECT_EQ(1, targetClicks);
    EXPECT_TRUE((*this)("单选框_乙").Checked()) << "the clicked button is still the one checked";

    int selections = 0;
    window->OnItemSelected("组合框_格式", [&] { ++selections; });
    window->Redirect("组合框_内", "组合框_格式");
    Control inner = (*this)("组合框_内");
    inner.Focus();
    inner.Send(WM_KEYDOWN, VK_UP);
    EXPECT_EQ(1, selections);
}

TEST_F(FormTest, ItemSelectedComesFromTheUserNotFromCode) {
    struct Case {
        const char* name;
        int expected;  // selection after the down arrow
    };
    const Case cases[] = {{"组合框_格式", 1}, {"组合框_内", 1}, {"列表框_日志", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int selections = 0;
        window->OnItemSelected(c.name, [&] { ++selections; });
        Control control = (*this)(c.name);
        control.SetSelected(c.expected == 0 ? -1 : 0);
        if (c.expected != 0) control.SetSelected(c.expected - 1);
        EXPECT_EQ(0, selections) << "set by code";
        control.Focus();
        control.Send(WM_KEYDOWN, VK_DOWN);
        control.Send(WM_KEYUP, VK_DOWN);
        EXPECT_EQ(1, selections);
        EXPECT_EQ(c.expected, control.Selected());
    }
}

TEST_F(FormTest, ListViewReportsKeysAndLeftPressesBeforeItsOwnHandling) {
    Control list = (*this)("列表视图");
    for (int i = 0; i < 3; ++i) list.InsertRow(i, "行" + std::to_string(i), 0);
    std::vector<int> keys;
    window->OnKeyPressed("列表视图", [&](int key) { keys.push_back(key); });
    list.Focus();
    list.Send(WM_KEYDOWN, VK_DELETE);
    list.Send(WM_KEYUP, VK_DELETE);
    EXPECT_EQ(std::vector<int>{VK_DELETE}, keys);

    RECT row{};
    row.left = LVIR_BOUNDS;
    ASSERT_TRUE(list.Send(LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row)));
    int x = row.left + 20, y = (row.top + row.bottom) / 2;
    list.Send(LVM_SETITEMSTATE, static_cast<WPARAM>(-1), [] {
        static LVITEMA none{};
        none.stateMask = LVIS_SELECTED;
        return reinterpret_cast<LPARAM>(&none);
    }());
    std::vector<POINT> presses;
    std::vector<int> selectedThen;
    std::vector<int> hotRows;
    window->OnLeftMouseDown("列表视图", [&](int px, int py) {
        presses.push_back(POINT{px, py});
        selectedThen = list.SelectedRows();
        hotRows.push_back(static_cast<int>(list.Send(LVM_GETHOTITEM)));
    });
    PostMessageA(list.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageA(list.Hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    ASSERT_TRUE(
        WaitFor([&] { return !presses.empty() && list.SelectedRows() == std::vector<int>{1}; }));
    ASSERT_EQ(1u, presses.size());
    EXPECT_EQ(x, presses[0].x);
    EXPECT_EQ(y, presses[0].y);
    EXPECT_TRUE(selectedThen.empty()) << "the handler runs before the list view selects the row";
    EXPECT_EQ(1, hotRows[0]) << "the row under the pointer is the hot item";

    // A press below the last row: the handler still runs, and there is no hot row.
    RECT last{};
    last.left = LVIR_BOUNDS;
    ASSERT_TRUE(list.Send(LVM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&last)));
    RECT client{};
    GetClientRect(list.Hwnd(), &client);
    int below = last.bottom + 2;
    ASSERT_LT(below, client.bottom);
    PostMessageA(list.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, below));
    PostMessageA(list.Hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(x, below));
    ASSERT_TRUE(WaitFor([&] { return presses.size() == 2; }));
    EXPECT_EQ(-1, hotRows[1]);
}

TEST_F(FormTest, TimerFiresEachPeriodUntilStopped) {
    Control timer = (*this)("时钟");
    EXPECT_EQ(0, timer.Period());
    int ticks = 0;
    window->OnTimer("时钟", [&] { ++ticks; });
    timer.SetPeriod(20);
    EXPECT_EQ(20, timer.Period());
    ASSERT_TRUE(WaitFor([&] { return ticks >= 3; }));

    timer.SetPeriod(0);
    int stoppedAt = ticks;
    LetPeriodsPass(5, 20);
    EXPECT_EQ(stoppedAt, ticks);
}

TEST_F(FormTest, ThrowingHandlersAreContained) {
    int later = 0;
    window->OnClick("按钮_普通", [] { throw std::runtime_error("handler failure"); });
    window->OnClick("按钮_图片", [] { throw 42; });
    window->OnClick("选择框_外", [&] { ++later; });
    (*this)("按钮_普通").Send(BM_CLICK);
    (*this)("按钮_图片").Send(BM_CLICK);
    (*this)("选择框_外").Send(BM_CLICK);
    EXPECT_EQ(1, later);
    EXPECT_TRUE(window->Exists());
}

// The program replaces the main window's procedure and forwards what it does not handle.
WNDPROC g_savedProcedure = nullptr;
int g_subclassMessages = 0;

LRESULT CALLBACK CountingProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    ++g_subclassMessages;
    return CallWindowProcA(g_savedProcedure, hwnd, message, wParam, lParam);
}

TEST_F(FormTest, EventsStillArriveThroughAReplacedWindowProcedure) {
    HWND hwnd = window->Hwnd();
    g_subclassMessages = 0;
    g_savedProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingProcedure)));
    ASSERT_NE(nullptr, g_savedProcedure);
    bool destroyingRan = false;
    window->OnDestroying([&] {
        destroyingRan = true;
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_savedProcedure));
    });

    int clicks = 0, ticks = 0;
    window->OnClick("按钮_普通", [&] { ++clicks; });
    window->OnClick("选择框_内", [&] { ++clicks; });  // inside a container
    window->OnTimer("时钟", [&] { ++ticks; });
    (*this)("按钮_普通").Send(BM_CLICK);
    (*this)("选择框_内").Send(BM_CLICK);
    EXPECT_EQ(2, clicks);
    (*this)("时钟").SetPeriod(15);
    EXPECT_TRUE(WaitFor([&] { return ticks >= 2; }));
    EXPECT_GT(g_subclassMessages, 0);
    POINT background{450, 100};
    ClientToScreen(hwnd, &background);
    EXPECT_EQ(HTCAPTION,
              SendMessageA(hwnd, WM_NCHITTEST, 0, MAKELPARAM(background.x, background.y)));

    window->Destroy();
    EXPECT_TRUE(destroyingRan);
    EXPECT_FALSE(window->Exists());
}

WNDPROC g_savedBoxProcedure = nullptr;
int g_boxPaints = 0;

LRESULT CALLBACK PaintingBoxProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(hwnd, &paint);
        RECT client;
        GetClientRect(hwnd, &client);
        HBRUSH brush = CreateSolidBrush(RGB(0, 160, 160));
        FillRect(dc, &client, brush);
        DeleteObject(brush);
        EndPaint(hwnd, &paint);
        ++g_boxPaints;
        return 1;
    }
    return CallWindowProcA(g_savedBoxProcedure, hwnd, message, wParam, lParam);
}

TEST_F(FormTest, APictureBoxPaintedByTheProgramKeepsWorking) {
    Control box = (*this)("图片框_动画");
    box.SetPlayAnimation(false);
    box.SetBackColour(RGB(255, 255, 255));
    box.ClearPicture();
    g_savedBoxProcedure = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        box.Hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PaintingBoxProcedure)));
    g_boxPaints = 0;
    InvalidateRect(box.Hwnd(), nullptr, FALSE);
    EXPECT_PRED2(NearColour, RGB(0, 160, 160), WaitForPixel(box.Hwnd(), 16, 16, RGB(0, 160, 160)));
    EXPECT_GT(g_boxPaints, 0);
    box.Move(300, 60);
    EXPECT_EQ(300, box.Left());
    EXPECT_EQ(60, box.Top());
}

// ---------------------------------------------------------------------------------------------
// Operations

TEST_F(FormTest, NumericEditTakesOnlyDigitsAndTheMinusSign) {
    struct Case {
        const char* typed;
        const char* expected;
    };
    const Case cases[] = {
        {"12", "12"},
        {"a1b2", "12"},
        {"-5", "-5"},
        {"3.5e", "35"},
        {" 7+", "7"},
        {"\xB0\xA1"
         "9",
         "9"},
    };
    Control edit = (*this)("编辑框_数字");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        edit.SetText("");
        for (const char* p = c.typed; *p != '\0'; ++p)
            edit.Send(WM_CHAR, static_cast<unsigned char>(*p));
        EXPECT_EQ(c.expected, edit.Text());
    }
    edit.SetText("123");
    edit.Send(EM_SETSEL, 3, 3);
    edit.Send(WM_CHAR, VK_BACK);
    EXPECT_EQ("12", edit.Text()) << "backspace still works";

    // A letter typed into an ordinary edit box stays.
    Control plain = (*this)("编辑框_框内");
    plain.SetText("");
    plain.Send(WM_CHAR, 'x');
    EXPECT_EQ("x", plain.Text());
}

TEST_F(FormTest, PastingIntoANumericEditKeepsOnlyDigitsAndMinusSigns) {
    Control edit = (*this)("编辑框_数字");
    ASSERT_TRUE(OpenClipboard(window->Hwnd()));
    EmptyClipboard();
    const char pasted[] = "12ab-3 px";
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, sizeof(pasted));
    std::memcpy(GlobalLock(memory), pasted, sizeof(pasted));
    GlobalUnlock(memory);
    SetClipboardData(CF_TEXT, memory);
    CloseClipboard();

    edit.SetText("");
    edit.Send(WM_PASTE);
    EXPECT_EQ("12-3", edit.Text());
    Control plain = (*this)("编辑框_框内");
    plain.SetText("");
    plain.Send(WM_PASTE);
    EXPECT_EQ("12ab-3 px", plain.Text());
}

TEST_F(FormTest, ListViewRowsCellsAndSelection) {
    Control list = (*this)("列表视图");
    EXPECT_EQ(0, list.RowCount());
    EXPECT_EQ(0, list.InsertRow(0, "a.png", 5));
    EXPECT_EQ(1, list.InsertRow(1, "b.jpg", 2));
    EXPECT_EQ(0, list.InsertRow(0, "c.gif", 3)) << "insert before the first row";
    list.SetCellText(0, 1, "C:\\图片\\");
    list.SetCellText(2, 1, std::string(600, 'x'));
    ASSERT_EQ(3, list.RowCount());
    EXPECT_EQ("c.gif", list.CellText(0, 0));
    EXPECT_EQ("C:\\图片\\", list.CellText(0, 1));
    EXPECT_EQ(std::string(600, 'x'), list.CellText(2, 1)) << "a long cell is read whole";
    EXPECT_EQ("", list.CellText(7, 0));
    LVITEMA image{};
    image.mask = LVIF_IMAGE;
    image.iItem = 1;
    list.Send(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&image));
    EXPECT_EQ(5, image.iImage);

    LVITEMA select{};
    select.stateMask = LVIS_SELECTED;
    select.state = LVIS_SELECTED;
    list.Send(LVM_SETITEMSTATE, 2, reinterpret_cast<LPARAM>(&select));
    list.Send(LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&select));
    EXPECT_EQ((std::vector<int>{0, 2}), list.SelectedRows());

    list.DeleteRow(1);
    ASSERT_EQ(2, list.RowCount());
    EXPECT_EQ("b.jpg", list.CellText(1, 0));
    list.DeleteAllRows();
    EXPECT_EQ(0, list.RowCount());
    EXPECT_TRUE(list.SelectedRows().empty());
}

TEST_F(FormTest, ListBoxAppendLineAddsAtTheEndAndSelectsIt) {
    Control log = (*this)("列表框_日志");
    log.ClearItems();
    EXPECT_EQ(0, log.ItemCount());
    for (int i = 0; i < 12; ++i) {
        int index = log.AppendLine("正在处理:" + std::to_string(i));
        EXPECT_EQ(i, index);
        EXPECT_EQ(i, log.Selected());
    }
    EXPECT_EQ("正在处理:11", log.ItemText(11));
    int top = static_cast<int>(log.Send(LB_GETTOPINDEX));
    EXPECT_GT(top, 0) << "the last line is scrolled into view";
}

TEST_F(FormTest, ComboListItemsAndSelectionByPrefix) {
    Control combo = (*this)("组合框_格式");
    EXPECT_EQ(1, combo.SelectPrefix("bm"));
    EXPECT_EQ(1, combo.Selected());
    EXPECT_EQ(-1, combo.SelectPrefix("TIFF"));
    EXPECT_EQ(1, combo.Selected()) << "no match leaves the selection";
    combo.SetSelected(-1);
    EXPECT_EQ(-1, combo.Selected());
    combo.AddItem("PNG");
    EXPECT_EQ(5, combo.ItemCount());
    EXPECT_EQ("PNG", combo.ItemText(4));
    EXPECT_EQ("", combo.ItemText(9));
    combo.ClearItems();
    EXPECT_EQ(0, combo.ItemCount());
    EXPECT_EQ(-1, combo.Selected());

    Control sorted = (*this)("组合框_排序");
    sorted.AddItem("0");
    EXPECT_EQ("0", sorted.ItemText(0)) << "a sorted list keeps its order";
}

TEST_F(FormTest, PropertiesChangeTheControls) {
    Control label = (*this)("标签_说明");
    label.SetText("新文字");
    EXPECT_EQ("新文字", label.Text());
    label.SetTextColour(RGB(0x60, 0x60, 0x60));
    EXPECT_EQ(RGB(0x60, 0x60, 0x60), label.TextColour());
    Control edit = (*this)("编辑框_隐藏");
    edit.SetVisible(true);
    EXPECT_TRUE(edit.Visible());
    EXPECT_TRUE(IsWindowVisible(edit.Hwnd()));
    edit.SetDisabled(true);
    EXPECT_TRUE(edit.Disabled());
    edit.SetDisabled(false);
    EXPECT_FALSE(edit.Disabled());
    Control panel = (*this)("图片框_面板");
    panel.Move(12, 300);
    EXPECT_EQ(12, panel.Left());
    EXPECT_EQ(300, panel.Top());
    RECT size = PlaceInParent(panel.Hwnd());
    EXPECT_EQ(200, size.right - size.left) << "moving keeps the size";
    panel.SetVisible(false);
    EXPECT_FALSE(panel.Visible());
    EXPECT_TRUE((*this)("选择框_内").Visible())
        << "a control's own visibility, not its container's";
    EXPECT_FALSE(IsWindowVisible((*this)("选择框_内").Hwnd()));
}

TEST_F(FormTest, DisplayStateMinimisesAndRestores) {
    EXPECT_EQ(0, window->DisplayState());
    window->SetDisplayState(2);
    EXPECT_TRUE(IsIconic(window->Hwnd()));
    EXPECT_EQ(2, window->DisplayState());
    window->SetDisplayState(0);
    EXPECT_FALSE(IsIconic(window->Hwnd()));
    EXPECT_EQ(0, window->DisplayState());
    SetWindowPos(window->Hwnd(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    window->SetDisplayState(1);
    RECT outer{}, work{};
    GetWindowRect(window->Hwnd(), &outer);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_NEAR((work.left + work.right) / 2, (outer.left + outer.right) / 2, 1);
}

TEST_F(FormTest, TabMovesTheFocusInDeclarationOrder) {
    (*this)("编辑框_数字").Focus();
    auto tab = [&](bool backwards) {
        if (backwards) {
            BYTE keys[256];
            GetKeyboardState(keys);
            keys[VK_SHIFT] = 0x80;
            SetKeyboardState(keys);
        }
        PostMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
        forms::ProcessPendingMessages();
        if (backwards) {
            BYTE keys[256];
            GetKeyboardState(keys);
            keys[VK_SHIFT] = 0;
            SetKeyboardState(keys);
        }
        return GetFocus();
    };
    EXPECT_EQ((*this)("组合框_内").Hwnd(), tab(false));
    EXPECT_EQ((*this)("编辑框_框内").Hwnd(), tab(false));
    EXPECT_EQ((*this)("单选框_甲").Hwnd(), tab(false))
        << "a radio group is entered at its checked button";
    EXPECT_EQ((*this)("单选框_丙").Hwnd(), tab(false))
        << "a group without a checked button: its first";
    EXPECT_EQ((*this)("选择框_外").Hwnd(), tab(false));
    EXPECT_EQ((*this)("组合框_格式").Hwnd(), tab(false)) << "disabled controls are passed over";
    EXPECT_EQ((*this)("选择框_外").Hwnd(), tab(true));
}

TEST_F(FormTest, ColourPickerAsksTheDialogAndReportsANewColour) {
    struct Case {
        const char* what;
        std::optional<COLORREF> answer;
        bool changes;
    };
    const Case cases[] = {
        {"a new colour", RGB(9, 8, 7), true},
        {"cancelled", std::nullopt, false},
        {"the same colour", RGB(1, 2, 3), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Control picker = (*this)("颜色选择器");
        picker.SetColour(RGB(1, 2, 3));
        testing_support::Recorder().Reset();
        testing_support::Recorder().colourAnswers.push_back(c.answer);
        int changes = 0;
        window->OnColourChanged("颜色选择器", [&] { ++changes; });
        int clicks = 0;
        window->OnClick("颜色选择器", [&] { ++clicks; });
        picker.Send(BM_CLICK);
        ASSERT_EQ(1u, testing_support::Recorder().colourRequests.size());
        EXPECT_EQ(RGB(1, 2, 3), testing_support::Recorder().colourRequests[0])
            << "the dialog starts at the colour";
        EXPECT_EQ(c.changes ? 1 : 0, changes);
        EXPECT_EQ(c.changes ? *c.answer : RGB(1, 2, 3), picker.Colour());
        EXPECT_EQ(0, clicks) << "a colour picker raises no click";
    }
}

TEST_F(FormTest, CommonDialogAsksForFilesWithItsFilterAndTitle) {
    testing_support::Recorder().openFileAnswers.push_back({"C:\\图片\\a.png", "C:\\图片\\b.png"});
    std::vector<std::string> files = (*this)("对话框").OpenFiles(true);
    EXPECT_EQ((std::vector<std::string>{"C:\\图片\\a.png", "C:\\图片\\b.png"}), files);
    ASSERT_EQ(1u, testing_support::Recorder().openFileRequests.size());
    const forms::OpenFileRequest& request = testing_support::Recorder().openFileRequests[0];
    EXPECT_EQ("图片文件(*.png)|*.png", request.filter);
    EXPECT_EQ("选择图片", request.title);
    EXPECT_TRUE(request.multiSelect);
    EXPECT_EQ(window->Hwnd(), request.owner);
    EXPECT_TRUE((*this)("对话框").OpenFiles().empty()) << "cancelled";
}

// ---------------------------------------------------------------------------------------------
// Pictures and painting

TEST_F(FormTest, LabelsDrawTheirTextOverWhatLiesBehindThem) {
    HWND label = (*this)("标签_说明").Hwnd();
    // Right of the short text: the window's background, square for square.
    for (POINT p : {POINT{100, 3}, POINT{115, 17}}) {
        SCOPED_TRACE(p.x);
        COLORREF expected = BackgroundAt(10 + p.x, 10 + p.y);
        EXPECT_PRED2(NearColour, expected, WaitForPixel(label, p.x, p.y, expected));
    }
    // Somewhere in the text: the text colour.
    bool red = false;
    WaitFor([&] {
        PixelOf(label, 0, 0);
        HDC dc = GetDC(label);
        for (int y = 0; y < 20 && !red; ++y) {
            for (int x = 0; x < 40 && !red; ++x) red = Near(GetPixel(dc, x, y), RGB(200, 0, 0), 40);
        }
        ReleaseDC(label, dc);
        return red;
    });
    EXPECT_TRUE(red);

    // Lines follow at the font's 12-pixel em height: the second line's characters end above 26.
    HWND twoLines = (*this)("标签_多行").Hwnd();
    auto darkRows = [&](int from, int to) {
        PixelOf(twoLines, 0, 0);
        HDC dc = GetDC(twoLines);
        int dark = 0;
        for (int y = from; y < to; ++y) {
            for (int x = 0; x < 60; ++x) dark += Near(GetPixel(dc, x, y), RGB(0, 0, 0), 70) ? 1 : 0;
        }
        ReleaseDC(twoLines, dc);
        return dark;
    };
    EXPECT_GT(darkRows(12, 24), 10) << "the second line";
    EXPECT_EQ(0, darkRows(26, 40)) << "nothing below it";

    // A half see-through background picture blends with the window's background.
    HWND backed = (*this)("标签_底图").Hwnd();
    COLORREF behind = BackgroundAt(10 + 5, 78 + 5);
    COLORREF blended =
        RGB((255 + GetRValue(behind)) / 2, (255 + GetGValue(behind)) / 2, GetBValue(behind) / 2);
    EXPECT_PRED2(NearColour, blended, WaitForPixel(backed, 5, 5, blended));
    COLORREF below = BackgroundAt(10 + 5, 78 + 15);
    EXPECT_PRED2(NearColour, below, WaitForPixel(backed, 5, 15, below));
}

TEST_F(FormTest, CheckBoxesShowTheBackgroundBehindThem) {
    struct Case {
        const char* name;
        POINT inControl;
        COLORREF expected;
    };
    const Case cases[] = {
        {"选择框_外", {92, 10}, BackgroundAt(220 + 92, 165 + 10)},
        {"单选框_丁", {55, 3}, BackgroundAt(280 + 55, 140 + 3)},
        {"选择框_内", {75, 10}, RGB(250, 250, 250)},  // on the panel's colour
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND control = (*this)(c.name).Hwnd();
        COLORREF seen = WaitForPixel(control, c.inControl.x, c.inControl.y, c.expected);
        EXPECT_PRED2(NearColour, c.expected, seen) << Hex(seen);
    }
}

TEST_F(FormTest, PictureButtonsShowThePictureOfTheirState) {
    Control button = (*this)("按钮_图片");
    HWND hwnd = button.Hwnd();
    EXPECT_PRED2(NearColour, RGB(0, 128, 0), WaitForPixel(hwnd, 20, 10, RGB(0, 128, 0)))
        << "normal";
    SendMessageA(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_PRED2(NearColour, RGB(0, 0, 200), WaitForPixel(hwnd, 20, 10, RGB(0, 0, 200))) << "hover";
    button.Send(BM_SETSTATE, TRUE);
    EXPECT_PRED2(NearColour, RGB(200, 0, 0), WaitForPixel(hwnd, 20, 10, RGB(200, 0, 0)))
        << "pressed";
    button.Send(BM_SETSTATE, FALSE);
    SendMessageA(hwnd, WM_MOUSELEAVE, 0, 0);
    EXPECT_PRED2(NearColour, RGB(0, 128, 0), WaitForPixel(hwnd, 20, 10, RGB(0, 128, 0)))
        << "left again";
    button.SetDisabled(true);
    COLORREF behind = BackgroundAt(140 + 20, 10 + 10);
    COLORREF faded =
        RGB((GetRValue(behind) * 145) / 255, (128 * 110 + GetGValue(behind) * 145) / 255,
            (GetBValue(behind) * 145) / 255);
    EXPECT_PRED2(NearColour, faded, WaitForPixel(hwnd, 20, 10, faded))
        << "disabled: faded over the background";
}

TEST_F(FormTest, MissingPicturesLeaveTheBackgroundShowing) {
    EXPECT_TRUE(forms::ResourceBytes("test_missing_normal").empty());
    EXPECT_FALSE(forms::ResourceBytes("test_btn_normal").empty());
    HWND missing = (*this)("按钮_无图").Hwnd();
    COLORREF expected = BackgroundAt(190 + 20, 10 + 10);
    EXPECT_PRED2(NearColour, expected, WaitForPixel(missing, 20, 10, expected));

    FormDesc desc{"缺图", 200, 100};
    desc.frameless = true;
    desc.background = "no_such_background";
    ControlDesc box =
        Make("图片框", ControlKind::PictureBox, 10, 10, 50, 50, nullptr, forms::kAnimate);
    box.picture = "no_such_animation";
    desc.controls.push_back(box);
    Window window(desc);
    ASSERT_TRUE(window.Create());
    EXPECT_PRED2(NearColour, GetSysColor(COLOR_BTNFACE),
                 WaitForPixel(window.Hwnd(), 150, 50, GetSysColor(COLOR_BTNFACE)));
}

TEST_F(FormTest, AnAnimatedPicturePlaysUntilItsFlagIsTurnedOff) {
    Control box = (*this)("图片框_动画");
    HWND hwnd = box.Hwnd();
    // The 24-pixel frames stand in the middle of the 32-pixel box.
    const COLORREF frames[] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};
    std::vector<int> seen;
    ASSERT_TRUE(WaitFor(
        [&] {
            COLORREF c = PixelOf(hwnd, 16, 16);
            for (int i = 0; i < 3; ++i) {
                if (Near(c, frames[i]) && (seen.empty() || seen.back() != i)) seen.push_back(i);
            }
            return seen.size() >= 4;
        },
        5000))
        << "frames seen: " << seen.size();
    for (std::size_t i = 1; i < seen.size(); ++i)
        EXPECT_EQ((seen[i - 1] + 1) % 3, seen[i]) << "in order";
    EXPECT_PRED2(NearColour, RGB(255, 255, 255), PixelOf(hwnd, 1, 1))
        << "the box's colour around the picture";

    box.SetPlayAnimation(false);
    EXPECT_FALSE(box.PlayAnimation());
    COLORREF stopped = PixelOf(hwnd, 16, 16);
    LetPeriodsPass(5, 60);  // several frame times
    EXPECT_EQ(stopped, PixelOf(hwnd, 16, 16));
}

TEST_F(FormTest, APictureFromBytesIsShownAndCanBeCleared) {
    Control panel = (*this)("图片框_面板");
    HWND hwnd = panel.Hwnd();
    panel.SetPictureBytes(SolidBmp(40, 20, RGB(10, 200, 30)));
    // 40 x 20 in the middle of 200 x 60: from (80, 20) to (120, 40).
    EXPECT_PRED2(NearColour, RGB(10, 200, 30), WaitForPixel(hwnd, 100, 30, RGB(10, 200, 30)));
    EXPECT_PRED2(NearColour, RGB(250, 250, 250), WaitForPixel(hwnd, 170, 50, RGB(250, 250, 250)));
    // The check box inside shows the panel's surface, picture included, behind it.
    panel.SetBackColour(RGB(20, 20, 120));
    COLORREF inside = WaitForPixel((*this)("选择框_内").Hwnd(), 75, 10, RGB(20, 20, 120));
    EXPECT_PRED2(NearColour, RGB(20, 20, 120), inside) << Hex(inside);

    panel.ClearPicture();
    EXPECT_PRED2(NearColour, RGB(20, 20, 120), WaitForPixel(hwnd, 100, 30, RGB(20, 20, 120)));

    // Bytes that are no picture leave the box without one, and nothing breaks.
    panel.SetPictureBytes(std::vector<unsigned char>{'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c'});
    panel.SetPictureBytes({});
    std::vector<unsigned char> truncated = SolidBmp(40, 20, RGB(10, 200, 30));
    truncated.resize(60);
    panel.SetPictureBytes(truncated);
    EXPECT_PRED2(NearColour, RGB(20, 20, 120), WaitForPixel(hwnd, 100, 30, RGB(20, 20, 120)));
}

// ---------------------------------------------------------------------------------------------
// Modal windows and the run

TEST(FormModal, ShowModalReturnsOnceTheWindowIsDestroyedAndGivesTheOwnerBack) {
    FormDesc ownerDesc{"主窗口", 300, 200};
    Window owner(ownerDesc);
    ASSERT_TRUE(owner.Create());

    FormDesc modalDesc{"字体设置", 200, 150};
    modalDesc.controls.push_back(Make("时钟1", ControlKind::Timer, 0, 0, 0, 0));
    modalDesc.controls.back().interval = 30;
    Window modal(modalDesc);
    bool ownerDisabledMeanwhile = false;
    int ticks = 0;
    modal.OnTimer("时钟1", [&] {
        ownerDisabledMeanwhile = !IsWindowEnabled(owner.Hwnd());
        if (++ticks == 2) modal.Destroy();
    });
    modal.ShowModal(owner.Hwnd());
    EXPECT_EQ(2, ticks);
    EXPECT_FALSE(modal.Exists());
    EXPECT_TRUE(ownerDisabledMeanwhile);
    EXPECT_TRUE(IsWindowEnabled(owner.Hwnd()));
    EXPECT_EQ(owner.Hwnd(), GetActiveWindow());

    // Closed from its title bar, it ends the same way.
    modal.OnTimer("时钟1", [&] { PostMessageA(modal.Hwnd(), WM_CLOSE, 0, 0); });
    modal.ShowModal(owner.Hwnd());
    EXPECT_FALSE(modal.Exists());
    EXPECT_TRUE(IsWindowEnabled(owner.Hwnd()));

    // Asked to quit meanwhile: the modal window goes and the request stays for the outer loop.
    modal.OnTimer("时钟1", [] { PostQuitMessage(5); });
    modal.ShowModal(owner.Hwnd());
    EXPECT_FALSE(modal.Exists());
    EXPECT_TRUE(IsWindowEnabled(owner.Hwnd()));
    MSG quit{};
    ASSERT_TRUE(
        WaitFor([&] { return PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0; }));
    EXPECT_EQ(5u, quit.wParam);
}

TEST(FormModal, TheMessageLoopEndsWhenTheMainWindowIsDestroyed) {
    FormDesc desc{"主窗口", 200, 100};
    desc.controls.push_back(Make("时钟1", ControlKind::Timer, 0, 0, 0, 0));
    desc.controls.back().interval = 20;
    Window window(desc);
    window.SetQuitOnDestroy(true);
    window.OnTimer("时钟1", [&] { window.Destroy(); });
    ASSERT_TRUE(window.Create());
    EXPECT_EQ(0, forms::RunMessageLoop());
    EXPECT_FALSE(window.Exists());
}

// Drives the real dialogs of the system seam from a second thread, as a user would: it waits
// for the dialog to appear, reads its title, and answers it. A dialog still open a while after
// its answer is cancelled, so that a test never hangs.
class DialogDriver {
  public:
    explicit DialogDriver(std::function<void(HWND dialog)> answer) : answer_(std::move(answer)) {
        thread_ = CreateThread(nullptr, 0, &DialogDriver::Run, this, 0, nullptr);
    }
    ~DialogDriver() {
        WaitForSingleObject(thread_, 20000);
        CloseHandle(thread_);
    }
    std::string title;

  private:
    static BOOL CALLBACK FindDialog(HWND hwnd, LPARAM found) {
        DWORD process = 0;
        GetWindowThreadProcessId(hwnd, &process);
        char className[32] = {};
        GetClassNameA(hwnd, className, sizeof(className));
        if (process != GetCurrentProcessId() || std::strcmp(className, "#32770") != 0 ||
            !IsWindowVisible(hwnd)) {
            return TRUE;
        }
        *reinterpret_cast<HWND*>(found) = hwnd;
        return FALSE;
    }
    static DWORD WINAPI Run(void* self) {
        auto* driver = static_cast<DialogDriver*>(self);
        ULONGLONG deadline = GetTickCount64() + 15000;
        bool answered = false;
        ULONGLONG answeredAt = 0;
        while (GetTickCount64() < deadline) {
            HWND dialog = nullptr;
            EnumWindows(&DialogDriver::FindDialog, reinterpret_cast<LPARAM>(&dialog));
            if (dialog == nullptr) {
                if (answered) return 0;
            } else if (!answered) {
                char text[256] = {};
                GetWindowTextA(dialog, text, sizeof(text));
                driver->title = text;
                driver->answer_(dialog);
                answered = true;
                answeredAt = GetTickCount64();
            } else if (GetTickCount64() - answeredAt > 3000) {
                PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
                answeredAt = GetTickCount64();
            }
            Sleep(50);
        }
        return 0;
    }
    std::function<void(HWND)> answer_;
    HANDLE thread_ = nullptr;
};

void Press(HWND dialog, int button) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
}

TEST(FormSystemSeam, MessageBoxShowsTitleAndGivesTheAnswer) {
    DialogDriver driver([](HWND dialog) { Press(dialog, IDNO); });
    int answer =
        forms::SystemModalSeam().ShowMessageBox(nullptr, "确定要删除吗？", "提示", MB_YESNO);
    EXPECT_EQ(IDNO, answer);
    EXPECT_EQ("提示", driver.title);
}

TEST(FormSystemSeam, OpenFileDialogGivesTheChosenFilesAsFullPaths) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + "forms_open_dialog";
    CreateDirectoryA(folder.c_str(), nullptr);
    for (const char* name : {"甲.png", "b.png"}) {
        HANDLE file = CreateFileA((folder + "\\" + name).c_str(), GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, 0, nullptr);
        CloseHandle(file);
    }
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    SetCurrentDirectoryA(folder.c_str());

    struct Case {
        const char* what;
        bool multiSelect;
        const char* typed;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"two files", true, "\"甲.png\" \"b.png\"", {folder + "\\甲.png", folder + "\\b.png"}},
        {"one file of a multi-selection", true, "b.png", {folder + "\\b.png"}},
        {"one file", false, "甲.png", {folder + "\\甲.png"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string typed = c.typed;
        DialogDriver driver([typed](HWND dialog) {
            SetDlgItemTextA(dialog, 0x47C, typed.c_str());  // the file name box (cmb13)
            SetDlgItemTextA(dialog, 0x480, typed.c_str());  // (edt1, in older layouts)
            Press(dialog, IDOK);
        });
        forms::OpenFileRequest request;
        request.title = "添加图片";
        request.filter = "图片文件(*.png)|*.png|所有文件|*.*";
        request.multiSelect = c.multiSelect;
        EXPECT_EQ(c.expected, forms::SystemModalSeam().ChooseFilesToOpen(request));
        EXPECT_EQ("添加图片", driver.title);
    }
    {
        DialogDriver driver([](HWND dialog) { Press(dialog, IDCANCEL); });
        forms::OpenFileRequest request;
        request.multiSelect = true;
        EXPECT_TRUE(forms::SystemModalSeam().ChooseFilesToOpen(request).empty()) << "cancelled";
    }
    SetCurrentDirectoryA(previous);
}

TEST(FormSystemSeam, ColourDialogGivesTheColourOrNothing) {
    {
        DialogDriver driver([](HWND dialog) { Press(dialog, IDOK); });
        std::optional<COLORREF> chosen =
            forms::SystemModalSeam().ChooseColour(nullptr, RGB(12, 34, 56));
        ASSERT_TRUE(chosen.has_value());
        EXPECT_EQ(RGB(12, 34, 56), *chosen) << "confirmed as it started";
    }
    {
        DialogDriver driver([](HWND dialog) { Press(dialog, IDCANCEL); });
        EXPECT_FALSE(forms::SystemModalSeam().ChooseColour(nullptr, RGB(12, 34, 56)).has_value());
    }
}

TEST(FormSystemSeam, FolderDialogCancelledGivesNothing) {
    DialogDriver driver([](HWND dialog) { Press(dialog, IDCANCEL); });
    forms::FolderRequest request;
    request.title = "选择保存目录";
    EXPECT_FALSE(forms::SystemModalSeam().BrowseForFolder(request).has_value());
}

TEST(FormSystemSeam, StartProcessReportsWhetherTheProgramStarted) {
    EXPECT_TRUE(forms::SystemModalSeam().StartProcess("cmd.exe /c exit 0"));
    EXPECT_FALSE(forms::SystemModalSeam().StartProcess("C:\\no\\such\\program.exe"));
    EXPECT_FALSE(forms::SystemModalSeam().StartProcess(""));
    EXPECT_EQ(&testing_support::Recorder(), &forms::Modal()) << "the tests' recorder is in force";
}

// ---------------------------------------------------------------------------------------------
// Rules without windows

TEST(FormRules, NumericEditCharacters) {
    struct Case {
        unsigned char typed;
        bool accepted;
    };
    const Case cases[] = {
        {'0', true},  {'9', true},  {'-', true},  {'\b', true}, {0x16, true},  // ctrl+V
        {'a', false}, {'+', false}, {'.', false}, {' ', false}, {0xB0, false}};
    for (const Case& c : cases)
        EXPECT_EQ(c.accepted, forms::NumericEditAccepts(c.typed)) << int(c.typed);
    EXPECT_EQ("12-3", forms::NumericCharacters("12ab-3 px"));
    EXPECT_EQ("", forms::NumericCharacters("\xB0\xA1\xB0\xA2"));
}

TEST(FormRules, FrameDelays) {
    struct Case {
        long hundredths;
        int milliseconds;
    };
    const Case cases[] = {{0, 100},  {1, 100},  {2, 20},         {6, 60},
                          {50, 500}, {-3, 100}, {1000000, 60000}};
    for (const Case& c : cases)
        EXPECT_EQ(c.milliseconds, forms::FrameDelayMilliseconds(c.hundredths)) << c.hundredths;
}

TEST(FormRules, CentredOrigin) {
    struct Case {
        const char* what;
        int length;
        forms::Span area, bounds;
        int origin;
    };
    const Case cases[] = {
        {"on the screen", 750, {0, 1280}, {0, 1280}, 265},
        {"over an owner", 385, {100, 750}, {0, 1280}, 282},
        {"pulled back inside", 385, {1000, 200}, {0, 1280}, 895},
        {"larger than the screen", 1400, {0, 1280}, {0, 1280}, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.origin, forms::CentredOrigin(c.length, c.area, c.bounds)) << c.what;
}

TEST(DialogText, FilterBecomesNulSeparated) {
    using namespace std::string_literals;
    struct Case {
        std::string form;
        std::string dialog;
    };
    const Case cases[] = {
        {"图片文件(*.jpg;*.png)|*.jpg;*.png", "图片文件(*.jpg;*.png)\0*.jpg;*.png\0\0"s},
        {"a|b|c|d", "a\0b\0c\0d\0\0"s},
        {"", "\0\0"s},
        {"\x81\x7C|*.x", "\x81\x7C\0*.x\0\0"s},  // 0x7C is a trail byte here, not a bar
    };
    for (const Case& c : cases) EXPECT_EQ(c.dialog, forms::DialogFilter(c.form)) << c.form;
}

TEST(DialogText, ChosenFilesBecomeFullPaths) {
    using namespace std::string_literals;
    struct Case {
        const char* what;
        std::string buffer;
        std::vector<std::string> paths;
    };
    const Case cases[] = {
        {"one file", "C:\\pics\\a.png\0\0"s, {"C:\\pics\\a.png"}},
        {"several", "C:\\pics\0a.png\0b.jpg\0\0"s, {"C:\\pics\\a.png", "C:\\pics\\b.jpg"}},
        {"in a root folder", "C:\\\0a.png\0b.png\0\0"s, {"C:\\a.png", "C:\\b.png"}},
        {"a folder ending in a trail byte 0x5C",
         "C:\\\x95\x5C\0a.png\0b.png\0\0"s,
         {"C:\\\x95\x5C\\a.png", "C:\\\x95\x5C\\b.png"}},
        {"nothing", "\0\0"s, {}},
        {"no final NUL", "C:\\x\0a.png\0b"s, {"C:\\x\\a.png", "C:\\x\\b"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.paths, forms::ChosenFiles(c.buffer.data(), c.buffer.size())) << c.what;
    }
}

// Runs last in this program: shuts the runtime down under a live window, then starts it again.
TEST(FormRuntimeShutdown, ShutdownRunsCleanUpsInReverseAndReleasesEveryPicture) {
    FormDesc desc{"动画", 100, 100};
    ControlDesc box =
        Make("图片框", ControlKind::PictureBox, 10, 10, 40, 40, nullptr, forms::kAnimate);
    box.picture = "test_anim";
    desc.controls.push_back(box);
    auto window = std::make_unique<Window>(desc);
    ASSERT_TRUE(window->Create());
    EXPECT_GT(forms::detail::LivePictureImages(), 0) << "an animation keeps its frames";

    std::vector<int> order;
    forms::AtExit([&] { order.push_back(1); });
    forms::AtExit([&] { throw std::runtime_error("a failing clean-up"); });
    forms::AtExit([&] { order.push_back(3); });
    forms::ShutdownRuntime();
    EXPECT_EQ((std::vector<int>{3, 1}), order);
    EXPECT_EQ(0, forms::detail::LivePictureImages());
    forms::ProcessPendingMessages();  // the window paints without its pictures
    forms::ShutdownRuntime();
    EXPECT_EQ((std::vector<int>{3, 1}), order) << "clean-ups run once";
    window.reset();

    ASSERT_TRUE(forms::InitRuntime(GetModuleHandleA(nullptr)));
    Window again(desc);
    EXPECT_TRUE(again.Create());
    EXPECT_GT(forms::detail::LivePictureImages(), 0);
}

}  // namespace
