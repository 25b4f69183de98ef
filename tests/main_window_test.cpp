// The main window in real windows: its look, every control at its place with its texts, the
// option rules after sequences of clicks, the browse, minimise and close buttons, and the end of
// the run. Each test makes the window in-process with its program directory in a scratch folder.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/program_state.h"
#include "app/shell_folders.h"
#include "app/watermark_text_style.h"
#include "convert/conversion_settings.h"
#include "forms/runtime/form.h"
#include "tests/support/main_window_harness.h"
#include "tests/support/modal_recorder.h"

using testing_support::Click;
using testing_support::Clickable;
using testing_support::MainWindowHarness;
using testing_support::ScratchFolder;

namespace {

class MainWindowTest : public testing::Test {
  protected:
    void SetUp() override { testing_support::Recorder().Reset(); }

    // Makes the window, after writing a settings file when one is given (GBK bytes).
    MainWindowHarness& Open(const std::string& settingsBytes = std::string()) {
        if (!settingsBytes.empty())
            testing_support::WriteFileBytes(testing_support::SettingsFileIn(folder_),
                                            settingsBytes);
        window_ = std::make_unique<MainWindowHarness>(folder_.Path());
        EXPECT_TRUE(window_->Created());
        return *window_;
    }

    ScratchFolder folder_;
    std::unique_ptr<MainWindowHarness> window_;
};

RECT ScreenRect(HWND hwnd) {
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    return rect;
}

// ---------------------------------------------------------------------------------------------
// The window and its controls.

TEST_F(MainWindowTest, IsAFramelessCentredWindowOf750By560WithRoundedCorners) {
    MainWindowHarness& w = Open();
    HWND hwnd = w.Main().Hwnd();
    ASSERT_TRUE(IsWindow(hwnd));
    char caption[64] = {};
    GetWindowTextA(hwnd, caption, sizeof caption);
    EXPECT_STREQ(caption, "榆雀图片批量转换器");

    RECT rect = ScreenRect(hwnd);
    EXPECT_EQ(rect.right - rect.left, 750);
    EXPECT_EQ(rect.bottom - rect.top, 560);
    int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_NEAR(rect.left, (screenWidth - 750) / 2, 1);
    EXPECT_NEAR(rect.top, (screenHeight - 560) / 2, 1);

    LONG style = GetWindowLongA(hwnd, GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, 0) << "no title bar";
    EXPECT_EQ(style & (WS_THICKFRAME | WS_BORDER | WS_DLGFRAME), 0) << "no border";
    EXPECT_NE(style & WS_SYSMENU, 0) << "the window menu is added at creation";
    EXPECT_NE(style & WS_MINIMIZEBOX, 0);
    LONG exStyle = GetWindowLongA(hwnd, GWL_EXSTYLE);
    EXPECT_EQ(exStyle & WS_EX_TOOLWINDOW, 0) << "shown in the taskbar";
    EXPECT_NE(exStyle & WS_EX_ACCEPTFILES, 0) << "accepts dropped files";

    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(hwnd, region), ERROR) << "the window has a region";
    struct Point {
        int x, y;
        bool inside;
    } points[] = {{0, 0, false},    {749, 0, false}, {0, 559, false}, {749, 559, false},
                  {1, 1, false},    {375, 2, true},  {2, 280, true},  {375, 280, true},
                  {746, 280, true}, {375, 556, true}};
    for (const Point& p : points) {
        EXPECT_EQ(PtInRegion(region, p.x, p.y) != FALSE, p.inside)
            << "(" << p.x << ", " << p.y << ")";
    }
    DeleteObject(region);
}

TEST_F(MainWindowTest, IsSubclassedByTheProgram) {
    MainWindowHarness& w = Open();
    HWND hwnd = w.Main().Hwnd();
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hwnd, GWLP_WNDPROC)), &MainWindowProc);
    EXPECT_NE(TheProgram().savedMainWindowProc, nullptr);
    EXPECT_NE(TheProgram().savedMainWindowProc, &MainWindowProc);
    EXPECT_EQ(TheMainWindow(), &w.Main());
}

struct Placement {
    const char* name;
    const char* container;  // null: the window
    int x, y, width, height;
};

// Where every control stands after start-up (图片框3 has been moved onto 图片框2). Combo boxes
// are checked for their place and width only: a drop-down list sizes its own height.
const Placement kPlacements[] = {
    {"超级列表框1", nullptr, 15, 100, 435, 300},
    {"按钮_添加图片", nullptr, 8, 410, 127, 36},
    {"按钮_删除图片", nullptr, 140, 410, 127, 36},
    {"按钮_清空图片", nullptr, 272, 410, 127, 36},
    {"图片框1", nullptr, 467, 129, 256, 205},
    {"标签2", nullptr, 504, 364, 184, 26},
    {"标签6", nullptr, 404, 411, 96, 14},
    {"外形框1", nullptr, 404, 426, 272, 20},
    {"编辑框1", "外形框1", 1, 1, 253, 18},
    {"按钮_设置文件夹", "外形框1", 254, 1, 17, 17},
    {"按钮_打开文件夹", nullptr, 680, 424, 60, 25},
    {"选择框_转换格式", nullptr, 24, 464, 72, 20},
    {"组合框_新格式", nullptr, 97, 464, 104, -1},
    {"选择框_改变尺寸", nullptr, 24, 492, 72, 20},
    {"单选框_按尺寸", nullptr, 97, 492, 96, 20},
    {"单选框_按百分比", nullptr, 193, 492, 72, 20},
    {"图片框2", nullptr, 24, 520, 232, 20},
    {"选择框_指定宽度", "图片框2", 0, 0, 80, 20},
    {"编辑框_宽度", "图片框2", 71, 0, 40, 20},
    {"选择框_指定高度", "图片框2", 112, 0, 72, 20},
    {"编辑框_高度", "图片框2", 181, 0, 40, 20},
    {"图片框3", nullptr, 24, 520, 232, 20},
    {"标签4", "图片框3", 0, 0, 216, 20},
    {"组合框_百分比", "图片框3", 90, 0, 72, -1},
    {"选择框_文字水印", nullptr, 280, 464, 80, 20},
    {"编辑框_水印文字", nullptr, 348, 464, 92, 20},
    {"标签3", nullptr, 448, 464, 40, 20},
    {"编辑框5", nullptr, 484, 464, 88, 20},
    {"按钮_字体设置", nullptr, 574, 462, 60, 25},
    {"选择框_图片水印", nullptr, 280, 492, 72, 20},
    {"编辑框_图片路径", nullptr, 348, 492, 224, 20},
    {"按钮_浏览图片", nullptr, 574, 489, 60, 25},
    {"标签1", nullptr, 280, 520, 64, 20},
    {"组合框_水印位置", nullptr, 348, 520, 76, -1},
    {"标签5", nullptr, 434, 520, 48, 20},
    {"组合框_水印透明", nullptr, 484, 520, 88, -1},
    {"按钮_开始转换", nullptr, 648, 462, 75, 75},
    {"按钮_最小化", nullptr, 687, 4, 27, 19},
    {"按钮_关闭", nullptr, 713, 4, 27, 19},
    {"遮照框", nullptr, 10, 851, 730, 100},
    {"图片框4", "遮照框", 8, 6, 251, 18},
    {"列表框1", "遮照框", 9, 29, 712, 62},
};

TEST_F(MainWindowTest, EveryControlStandsAtItsPlace) {
    MainWindowHarness& w = Open();
    for (const Placement& p : kPlacements) {
        SCOPED_TRACE(p.name);
        HWND control = w[p.name].Hwnd();
        ASSERT_NE(control, nullptr);
        HWND container = p.container ? w[p.container].Hwnd() : w.Main().Hwnd();
        EXPECT_TRUE(IsChild(container, control))
            << "inside " << (p.container ? p.container : "the window");
        RECT rect = ScreenRect(control);
        MapWindowPoints(HWND_DESKTOP, container, reinterpret_cast<POINT*>(&rect), 2);
        EXPECT_EQ(rect.left, p.x);
        EXPECT_EQ(rect.top, p.y);
        EXPECT_EQ(rect.right - rect.left, p.width);
        if (p.height >= 0) {
            EXPECT_EQ(rect.bottom - rect.top, p.height);
        }
    }
}

struct Caption {
    const char* name;
    const char* text;
};

TEST_F(MainWindowTest, ControlsShowTheirTextsAtStart) {
    MainWindowHarness& w = Open();
    const Caption captions[] = {
        {"标签2", ""},
        {"标签6", "图片保存目录："},
        {"选择框_转换格式", "转换格式"},
        {"选择框_改变尺寸", "改变尺寸"},
        {"单选框_按尺寸", "按尺寸(相素)"},
        {"单选框_按百分比", "按百分比"},
        {"选择框_指定宽度", "指定宽度"},
        {"编辑框_宽度", "500"},
        {"选择框_指定高度", "指定高度"},
        {"编辑框_高度", "500"},
        {"标签4", "保存为原图片的              %"},
        {"选择框_文字水印", "文字水印"},
        {"编辑框_水印文字", "榆雀网络"},
        {"标签3", "字体："},
        {"选择框_图片水印", "图片水印"},
        {"编辑框_图片路径", ""},
        {"标签1", "水印位置："},
        {"标签5", "透明度："},
        {"按钮_开始转换", ""},
        {"按钮_关闭", ""},
    };
    for (const Caption& c : captions) {
        EXPECT_EQ(w[c.name].Text(), c.text) << c.name;
    }
    EXPECT_EQ(w["列表框1"].ItemCount(), 0);
}

struct ListItems {
    const char* name;
    std::vector<std::string> items;
    const char* selected;
};

TEST_F(MainWindowTest, DropDownListsHoldTheirItemsAndSelection) {
    MainWindowHarness& w = Open();
    const ListItems lists[] = {
        {"组合框_新格式", {"原格式", "BMP", "JPG", "GIF", "TIFF", "PNG"}, "原格式"},
        {"组合框_百分比",
         {"400", "300", "200", "100", "90", "80", "70", "60", "50", "40", "30", "20", "10", "5"},
         "50"},
        {"组合框_水印位置", {"顶边", "底边", "居中", "左上", "右上", "左下", "右下"}, "右下"},
        {"组合框_水印透明",
         {"100", "90", "80", "70", "60", "50", "40", "30", "20", "10", "5"},
         "100"},
    };
    for (const ListItems& list : lists) {
        SCOPED_TRACE(list.name);
        forms::Control control = w[list.name];
        std::vector<std::string> items;
        for (int i = 0; i < control.ItemCount(); ++i) items.push_back(control.ItemText(i));
        EXPECT_EQ(items, list.items);
        ASSERT_GE(control.Selected(), 0);
        EXPECT_EQ(control.ItemText(control.Selected()), list.selected);
        EXPECT_EQ(GetWindowLongA(control.Hwnd(), GWL_STYLE) & 3, CBS_DROPDOWNLIST)
            << "pick, never type";
    }
}

TEST_F(MainWindowTest, StartStatesOfTheOtherControls) {
    MainWindowHarness& w = Open();
    EXPECT_FALSE(w["超级列表框1"].Visible()) << "the picture list is hidden while empty";
    EXPECT_NE(GetWindowLongA(w["编辑框5"].Hwnd(), GWL_STYLE) & ES_READONLY, 0)
        << "编辑框5 read-only";
    EXPECT_EQ(GetWindowLongA(w["编辑框1"].Hwnd(), GWL_STYLE) & ES_READONLY, 0)
        << "编辑框1 editable";
    EXPECT_EQ(w["时钟1"].Desc().interval, 500) << "the banner timer fires half a second after start";
    for (const char* stays : {"按钮_字体设置", "按钮_浏览图片", "按钮_开始转换", "按钮_添加图片",
                              "按钮_打开文件夹", "编辑框1"}) {
        EXPECT_TRUE(Clickable(w.Form(), stays)) << stays;
    }
}

TEST_F(MainWindowTest, PictureListIsAReportViewWithoutHeader) {
    MainWindowHarness& w = Open();
    HWND list = w["超级列表框1"].Hwnd();
    LONG style = GetWindowLongA(list, GWL_STYLE);
    EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT);
    EXPECT_NE(style & LVS_NOCOLUMNHEADER, 0);
    EXPECT_NE(style & LVS_SHOWSELALWAYS, 0);
    EXPECT_EQ(style & (LVS_SINGLESEL | LVS_EDITLABELS | LVS_SORTASCENDING | LVS_SORTDESCENDING), 0);
    DWORD ex = static_cast<DWORD>(SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    EXPECT_EQ(ex & (LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES),
              DWORD(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES));
    EXPECT_EQ(ex & (LVS_EX_CHECKBOXES | LVS_EX_TRACKSELECT), 0u);
    const char* const captions[] = {"文件名", "文件目录"};
    const int widths[] = {180, 350};
    for (int i = 0; i < 2; ++i) {
        char caption[64] = {};
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = caption;
        column.cchTextMax = sizeof caption;
        ASSERT_TRUE(SendMessageA(list, LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&column)));
        EXPECT_STREQ(caption, captions[i]);
        EXPECT_EQ(column.cx, widths[i]);
    }
    LVCOLUMNA none{};
    none.mask = LVCF_WIDTH;
    EXPECT_FALSE(SendMessageA(list, LVM_GETCOLUMNA, 2, reinterpret_cast<LPARAM>(&none)))
        << "two columns";
}

// ---------------------------------------------------------------------------------------------
// The option rules.

// What must hold after any rule has run.
void ExpectInvariants(MainWindowHarness& w) {
    auto checked = [&](const char* name) { return w[name].Checked(); };
    auto enabled = [&](const char* name) { return !w[name].Disabled(); };
    bool size = checked("选择框_改变尺寸");
    EXPECT_EQ(enabled("组合框_新格式"), checked("选择框_转换格式"));
    for (const char* name : {"单选框_按尺寸", "单选框_按百分比", "选择框_指定宽度",
                             "选择框_指定高度", "组合框_百分比"}) {
        EXPECT_EQ(enabled(name), size) << name;
    }
    EXPECT_EQ(enabled("编辑框_宽度"), size && checked("选择框_指定宽度"));
    EXPECT_EQ(enabled("编辑框_高度"), size && checked("选择框_指定高度"));
    EXPECT_EQ(w["标签4"].TextColour(), size ? COLORREF(0) : COLORREF(0x606060));
    EXPECT_EQ(w["图片框2"].Visible(), checked("单选框_按尺寸"));
    EXPECT_EQ(w["图片框3"].Visible(), checked("单选框_按百分比"));
    bool text = checked("选择框_文字水印"), picture = checked("选择框_图片水印");
    EXPECT_FALSE(text && picture) << "both watermark kinds checked";
    EXPECT_EQ(enabled("编辑框_水印文字"), text);
    EXPECT_EQ(enabled("编辑框5"), text);
    EXPECT_EQ(enabled("编辑框_图片路径"), picture);
    EXPECT_EQ(enabled("组合框_水印位置"), text || picture);
    EXPECT_EQ(enabled("组合框_水印透明"), text || picture);
    EXPECT_TRUE(enabled("按钮_字体设置"));
    EXPECT_TRUE(enabled("按钮_浏览图片"));
}

const char* const kOptionControls[] = {"选择框_转换格式", "选择框_改变尺寸", "选择框_指定宽度",
                                       "选择框_指定高度", "单选框_按尺寸",   "单选框_按百分比",
                                       "选择框_文字水印", "选择框_图片水印"};

TEST_F(MainWindowTest, InvariantsHoldAtStartAndAfterEveryClickOfALongSequence) {
    MainWindowHarness& w = Open();
    {
        SCOPED_TRACE("at start");
        ExpectInvariants(w);
    }
    std::mt19937 random(20240917);
    std::string history;
    for (int step = 0; step < 300; ++step) {
        std::vector<const char*> clickable;
        for (const char* name : kOptionControls) {
            if (Clickable(w.Form(), name)) clickable.push_back(name);
        }
        ASSERT_FALSE(clickable.empty());
        const char* name = clickable[random() % clickable.size()];
        history += std::string(" ") + name;
        Click(w.Form(), name);
        SCOPED_TRACE("after clicks:" + history);
        ExpectInvariants(w);
        if (HasFailure()) return;
    }
}

struct ClickCase {
    const char* name;
    std::vector<const char*> clicks;
    std::vector<const char*> checked;  // exactly these option controls are checked afterwards
    std::vector<const char*> enabled;
    std::vector<const char*> disabled;
    std::vector<const char*> visible;
    std::vector<const char*> hidden;
};

TEST_F(MainWindowTest, ClickSequencesEndInTheRightStates) {
    // Every case starts from the defaults: 单选框_按尺寸 and 选择框_指定宽度 checked.
    const ClickCase cases[] = {
        {"checking the format enables the format list",
         {"选择框_转换格式"},
         {"选择框_转换格式", "单选框_按尺寸", "选择框_指定宽度"},
         {"组合框_新格式"},
         {},
         {},
         {}},
        {"clearing the format again disables it",
         {"选择框_转换格式", "选择框_转换格式"},
         {"单选框_按尺寸", "选择框_指定宽度"},
         {},
         {"组合框_新格式"},
         {},
         {}},
        {"size on with only the width ticked enables the width alone",
         {"选择框_改变尺寸"},
         {"选择框_改变尺寸", "单选框_按尺寸", "选择框_指定宽度"},
         {"编辑框_宽度", "单选框_按百分比", "组合框_百分比"},
         {"编辑框_高度"},
         {},
         {}},
        {"size off disables both edit boxes whatever their boxes say",
         {"选择框_改变尺寸", "选择框_指定高度", "选择框_改变尺寸"},
         {"单选框_按尺寸", "选择框_指定宽度", "选择框_指定高度"},
         {},
         {"编辑框_宽度", "编辑框_高度", "选择框_指定宽度", "选择框_指定高度"},
         {},
         {}},
        {"width and height follow their boxes while the size is on",
         {"选择框_改变尺寸", "选择框_指定宽度", "选择框_指定高度"},
         {"选择框_改变尺寸", "单选框_按尺寸", "选择框_指定高度"},
         {"编辑框_高度"},
         {"编辑框_宽度"},
         {},
         {}},
        {"by percentage shows the percentage panel",
         {"选择框_改变尺寸", "单选框_按百分比"},
         {"选择框_改变尺寸", "单选框_按百分比", "选择框_指定宽度"},
         {"组合框_百分比"},
         {},
         {"图片框3", "组合框_百分比"},
         {"图片框2", "编辑框_宽度"}},
        {"by size shows the pixel panel again",
         {"选择框_改变尺寸", "单选框_按百分比", "单选框_按尺寸"},
         {"选择框_改变尺寸", "单选框_按尺寸", "选择框_指定宽度"},
         {},
         {},
         {"图片框2", "编辑框_宽度"},
         {"图片框3"}},
        {"the picture watermark wins over the text watermark",
         {"选择框_文字水印", "选择框_图片水印"},
         {"选择框_图片水印", "单选框_按尺寸", "选择框_指定宽度"},
         {"编辑框_图片路径", "组合框_水印位置", "组合框_水印透明", "按钮_字体设置"},
         {"编辑框_水印文字", "编辑框5"},
         {},
         {}},
        {"the text watermark wins over the picture watermark",
         {"选择框_图片水印", "选择框_文字水印"},
         {"选择框_文字水印", "单选框_按尺寸", "选择框_指定宽度"},
         {"编辑框_水印文字", "编辑框5", "组合框_水印位置", "组合框_水印透明", "按钮_浏览图片"},
         {"编辑框_图片路径"},
         {},
         {}},
        {"clearing the only watermark disables both lists",
         {"选择框_文字水印", "选择框_文字水印"},
         {"单选框_按尺寸", "选择框_指定宽度"},
         {},
         {"组合框_水印位置", "组合框_水印透明", "编辑框_水印文字"},
         {},
         {}},
        {"clearing the picture watermark after the switch disables both lists",
         {"选择框_文字水印", "选择框_图片水印", "选择框_图片水印"},
         {"单选框_按尺寸", "选择框_指定宽度"},
         {},
         {"组合框_水印位置", "组合框_水印透明", "编辑框_图片路径", "编辑框_水印文字"},
         {},
         {}},
    };
    for (const ClickCase& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder;
        MainWindowHarness w(folder.Path());
        ASSERT_TRUE(w.Created());
        for (const char* click : c.clicks) Click(w.Form(), click);
        for (const char* name : kOptionControls) {
            bool want = std::find_if(c.checked.begin(), c.checked.end(), [&](const char* n) {
                            return std::string(n) == name;
                        }) != c.checked.end();
            EXPECT_EQ(w[name].Checked(), want) << name << " checked";
        }
        for (const char* name : c.enabled) EXPECT_FALSE(w[name].Disabled()) << name << " enabled";
        for (const char* name : c.disabled) EXPECT_TRUE(w[name].Disabled()) << name << " disabled";
        for (const char* name : c.visible)
            EXPECT_TRUE(IsWindowVisible(w[name].Hwnd())) << name << " visible";
        for (const char* name : c.hidden)
            EXPECT_FALSE(IsWindowVisible(w[name].Hwnd())) << name << " hidden";
        ExpectInvariants(w);
    }
}

TEST_F(MainWindowTest, SettingBothWatermarksStartsWithOnlyTheTextWatermark) {
    MainWindowHarness& w = Open("[转换设置]\r\n文字水印=真\r\n图片水印=真\r\n");
    EXPECT_TRUE(w["选择框_文字水印"].Checked());
    EXPECT_FALSE(w["选择框_图片水印"].Checked());
    EXPECT_TRUE(w["编辑框_图片路径"].Disabled());
    ExpectInvariants(w);
}

TEST_F(MainWindowTest, NeitherSizeModeStartsWithNeitherPanel) {
    MainWindowHarness& w = Open("[转换设置]\r\n按尺寸=假\r\n按百分比=假\r\n改变尺寸=真\r\n");
    EXPECT_FALSE(w["图片框2"].Visible());
    EXPECT_FALSE(w["图片框3"].Visible());
    ExpectInvariants(w);
}

TEST_F(MainWindowTest, LoadedOptionsAreRuledAtStart) {
    MainWindowHarness& w = Open(
        "[转换设置]\r\n转换格式=真\r\n改变尺寸=真\r\n按尺寸=假\r\n按百分比=真\r\n指定宽度=假\r\n"
        "指定高度=真\r\n图片水印=真\r\n");
    EXPECT_FALSE(w["组合框_新格式"].Disabled());
    EXPECT_TRUE(w["编辑框_宽度"].Disabled());
    EXPECT_FALSE(w["编辑框_高度"].Disabled());
    EXPECT_FALSE(w["图片框2"].Visible());
    EXPECT_TRUE(w["图片框3"].Visible());
    EXPECT_EQ(w["标签4"].TextColour(), COLORREF(0));
    EXPECT_FALSE(w["编辑框_图片路径"].Disabled());
    ExpectInvariants(w);
}

struct Keystroke {
    const char* name;
    char typed;
    bool accepted;
};

TEST_F(MainWindowTest, SizeBoxesRefuseLettersAndTakeDigitsAndMinus) {
    MainWindowHarness& w = Open("[转换设置]\r\n改变尺寸=真\r\n指定宽度=真\r\n指定高度=真\r\n");
    const Keystroke keys[] = {{"letter a", 'a', false}, {"letter Z", 'Z', false},
                              {"point", '.', false},    {"space", ' ', false},
                              {"plus", '+', false},     {"digit 0", '0', true},
                              {"digit 9", '9', true},   {"minus", '-', true}};
    for (const char* box : {"编辑框_宽度", "编辑框_高度"}) {
        for (const Keystroke& key : keys) {
            SCOPED_TRACE(std::string(box) + ", " + key.name);
            forms::Control edit = w[box];
            ASSERT_FALSE(edit.Disabled());
            edit.SetText("12");
            edit.Focus();
            SendMessageA(edit.Hwnd(), EM_SETSEL, 2, 2);
            PostMessageA(edit.Hwnd(), WM_CHAR, static_cast<unsigned char>(key.typed), 1);
            forms::ProcessPendingMessages();
            EXPECT_EQ(edit.Text(),
                      key.accepted ? std::string("12") + key.typed : std::string("12"));
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Buttons.

TEST_F(MainWindowTest, BrowseSetsThePicturePathEvenWhileItsBoxIsDisabled) {
    MainWindowHarness& w = Open();
    ASSERT_TRUE(w["编辑框_图片路径"].Disabled());
    auto& recorder = testing_support::Recorder();
    recorder.openFileAnswers.push_back({"C:\\图片\\水印.png"});
    Click(w.Form(), "按钮_浏览图片");
    ASSERT_EQ(recorder.openFileRequests.size(), 1u);
    const forms::OpenFileRequest& request = recorder.openFileRequests[0];
    EXPECT_EQ(request.filter, "图片文件(*.jpg;*.bmp;*.gif;*.png)|*.jpg;*.bmp;*.gif;*.png");
    EXPECT_EQ(request.title, "");
    EXPECT_FALSE(request.multiSelect);
    EXPECT_EQ(request.owner, w.Main().Hwnd());
    EXPECT_EQ(w["编辑框_图片路径"].Text(), "C:\\图片\\水印.png");
    EXPECT_TRUE(w["编辑框_图片路径"].Disabled()) << "browsing changes no option state";

    // Cancelling changes nothing.
    Click(w.Form(), "按钮_浏览图片");
    EXPECT_EQ(recorder.openFileRequests.size(), 2u);
    EXPECT_EQ(w["编辑框_图片路径"].Text(), "C:\\图片\\水印.png");
}

TEST_F(MainWindowTest, MinimiseButtonMinimisesTheWindow) {
    MainWindowHarness& w = Open();
    Click(w.Form(), "按钮_最小化");
    EXPECT_TRUE(IsIconic(w.Main().Hwnd()));
    EXPECT_EQ(w.Form().DisplayState(), 2);
    EXPECT_TRUE(w.Form().Exists());
}

TEST_F(MainWindowTest, CloseButtonDestroysTheWindowAndWritesNoSettingsFile) {
    MainWindowHarness& w = Open();
    ASSERT_FALSE(testing_support::FileExists(testing_support::SettingsFileIn(folder_)));
    HWND hwnd = w.Main().Hwnd();
    Click(w.Form(), "选择框_转换格式");
    Click(w.Form(), "选择框_文字水印");
    w["编辑框_水印文字"].SetText("改过的");
    Click(w.Form(), "按钮_关闭");
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_FALSE(testing_support::FileExists(testing_support::SettingsFileIn(folder_)));
    EXPECT_EQ(TheProgram().savedMainWindowProc, nullptr) << "the window procedure was put back";
    EXPECT_EQ(TheProgram().windowGdiplusToken, 0u) << "the window's GDI+ was shut down";
}

TEST_F(MainWindowTest, ClosingLeavesAnExistingSettingsFileUnchanged) {
    const std::string bytes = "[转换设置]\r\n转换格式=假\r\n宽度=300\r\n";
    MainWindowHarness& w = Open(bytes);
    Click(w.Form(), "选择框_转换格式");
    Click(w.Form(), "选择框_改变尺寸");
    w["编辑框_宽度"].SetText("640");
    Click(w.Form(), "按钮_关闭");
    EXPECT_EQ(testing_support::ReadFileBytes(testing_support::SettingsFileIn(folder_)), bytes);
}

TEST_F(MainWindowTest, CloseButtonEndsTheMessageLoop) {
    OverrideProgramDirectoryForTests(folder_.Path());
    MainWindow main;
    ASSERT_TRUE(main.Create(/*quitOnDestroy=*/true));
    HWND close = main.Form()["按钮_关闭"].Hwnd();
    ASSERT_TRUE(PostMessageA(close, BM_CLICK, 0, 0));
    // Should the click not end the loop, a timer does, and the test fails.
    static bool timedOut;
    timedOut = false;
    UINT_PTR timer = SetTimer(nullptr, 0, 20000, [](HWND, UINT, UINT_PTR, DWORD) {
        timedOut = true;
        PostQuitMessage(0);
    });
    forms::RunMessageLoop();
    KillTimer(nullptr, timer);
    OverrideProgramDirectoryForTests(std::nullopt);
    EXPECT_FALSE(timedOut) << "the message loop did not end after the close button";
    EXPECT_FALSE(main.Form().Exists());
}

TEST_F(MainWindowTest, TheWindowCanBeMadeAgainAfterClosing) {
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        MainWindowHarness w(folder_.Path());
        ASSERT_TRUE(w.Created());
        EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(w.Main().Hwnd(), GWLP_WNDPROC)),
                  &MainWindowProc);
        EXPECT_EQ(w["编辑框5"].Text(), "宋体(30)");
        Click(w.Form(), "选择框_图片水印");
        ExpectInvariants(w);
        Click(w.Form(), "按钮_关闭");
        EXPECT_EQ(TheProgram().savedMainWindowProc, nullptr);
        EXPECT_EQ(TheMainWindow(), &w.Main());
    }
    EXPECT_FALSE(testing_support::FileExists(testing_support::SettingsFileIn(folder_)));
}

// A COM object that counts its releases.
class CountedObject : public IUnknown {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }
    ULONG references = 1;
};

TEST(EndOfRun, CleanUpFreesTheProgramWideObjectsAndTexts) {
    ConstructProgramObjects();
    ProgramState& program = TheProgram();
    EXPECT_NE(program.previewCanvas, nullptr) << "the preview canvas is made at start";
    ASSERT_NE(program.htmlView, nullptr) << "the banner's view is made at start";
    EXPECT_EQ(program.htmlView->HostWindow(), nullptr) << "its window comes with the main window";
    EXPECT_EQ(program.pictureObject, nullptr) << "the picture-object slot starts empty";
    CountedObject object;
    program.pictureObject = &object;
    program.runDirectory = "C:\\程序\\";
    program.settingsPath = "C:\\程序\\图象转换.Bin";
    TheWatermarkTextStyle().face = "宋体";
    TheConversionSettings().outputFolder = "D:\\输出\\";
    TheConversionSettings().watermarkText = "榆雀网络";

    CleanUpAtEndOfRun();
    EXPECT_EQ(object.references, 0u) << "the picture object was released once";
    EXPECT_EQ(program.pictureObject, nullptr);
    EXPECT_EQ(program.previewCanvas, nullptr);
    EXPECT_EQ(program.htmlView, nullptr);
    EXPECT_TRUE(program.runDirectory.empty());
    EXPECT_TRUE(program.settingsPath.empty());
    EXPECT_TRUE(TheWatermarkTextStyle().face.empty());
    EXPECT_TRUE(TheConversionSettings().outputFolder.empty());
    EXPECT_TRUE(TheConversionSettings().watermarkText.empty());
}

}  // namespace
