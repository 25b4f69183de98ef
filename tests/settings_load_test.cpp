// Loading "图象转换.Bin" into the main window and the watermark font, in real windows: files are
// written as GBK bytes into a scratch program directory and the main window is made in-process.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/program_state.h"
#include "app/shell_folders.h"
#include "app/watermark_text_style.h"
#include "convert/conversion_settings.h"
#include "tests/support/loaded_settings.h"
#include "tests/support/main_window_harness.h"

using testing_support::Defaults;
using testing_support::ExpectLoaded;
using testing_support::Loaded;
using testing_support::MainWindowHarness;
using testing_support::Observe;
using testing_support::ScratchFolder;
using testing_support::ShellFolderValueGuard;

namespace {

struct LoadCase {
    const char* name;
    bool writeFile;
    std::string fileBytes;                // GBK, CR LF lines
    std::function<void(Loaded&)> change;  // from the defaults to what loading must give
};

const char* const kAllKeysEmpty =
    "[字体设置]\r\n字体名称=\r\n字体大小=\r\n文字颜色=\r\n字体字型=\r\n删除线=\r\n下划线=\r\n"
    "光晕字=\r\n阴影字=\r\n光晕颜色=\r\n阴影颜色=\r\n"
    "[转换设置]\r\n保存目录=\r\n转换格式=\r\n改变尺寸=\r\n文字水印=\r\n图片水印=\r\n新格式=\r\n"
    "按尺寸=\r\n按百分比=\r\n指定宽度=\r\n指定高度=\r\n宽度=\r\n高度=\r\n百分比=\r\n文字内容=\r\n"
    "图片路径=\r\n水印位置=\r\n水印透明=\r\n";

std::vector<LoadCase> LoadCases() {
    return {
        {"no settings file", false, "", [](Loaded&) {}},
        {"empty file", true, "", [](Loaded&) {}},
        {"every key present but empty", true, kAllKeysEmpty,
         [](Loaded& e) {
             e.face = "";
             e.size = 12;  // an empty size reads as 0, out of range
             e.style = 1;
             e.glow = false;
             e.glowColour = 0;
             e.fontDisplay = "(12)";
             e.outputFolderBox = e.outputFolderField = "";
             e.bySize = false;
             e.fixWidth = false;
             e.width = e.height = e.watermarkText = "";
             // Empty list choices match no item: the form's selections stay.
         }},
        {"size 81 is out of range", true, "[字体设置]\r\n字体大小=81\r\n",
         [](Loaded& e) {
             e.size = 12;
             e.fontDisplay = "宋体(12)";
         }},
        {"size 5 is out of range", true, "[字体设置]\r\n字体大小=5\r\n",
         [](Loaded& e) {
             e.size = 12;
             e.fontDisplay = "宋体(12)";
         }},
        {"size 12.9 is truncated", true, "[字体设置]\r\n字体大小=12.9\r\n",
         [](Loaded& e) {
             e.size = 12;
             e.fontDisplay = "宋体(12)";
         }},
        {"size 80 is kept, with another face", true,
         "[字体设置]\r\n字体大小=80\r\n字体名称=黑体\r\n",
         [](Loaded& e) {
             e.size = 80;
             e.face = "黑体";
             e.fontDisplay = "黑体(80)";
         }},
        {"size 6 is kept", true, "[字体设置]\r\n字体大小=6\r\n",
         [](Loaded& e) {
             e.size = 6;
             e.fontDisplay = "宋体(6)";
         }},
        {"size not a number", true, "[字体设置]\r\n字体大小=大\r\n",
         [](Loaded& e) {
             e.size = 12;
             e.fontDisplay = "宋体(12)";
         }},
        {"style 4.5 is truncated", true, "[字体设置]\r\n字体字型=4.5\r\n",
         [](Loaded& e) { e.style = 4; }},
        {"style 0 is out of range", true, "[字体设置]\r\n字体字型=0\r\n",
         [](Loaded& e) { e.style = 1; }},
        {"style 5 is out of range", true, "[字体设置]\r\n字体字型=5\r\n",
         [](Loaded& e) { e.style = 1; }},
        {"style 3 is kept", true, "[字体设置]\r\n字体字型=3\r\n", [](Loaded& e) { e.style = 3; }},
        {"colours as numbers", true,
         "[字体设置]\r\n文字颜色=255\r\n光晕颜色=abc\r\n阴影颜色=65280\r\n",
         [](Loaded& e) {
             e.textColour = 255;
             e.glowColour = 0;
             e.shadowColour = 65280;
         }},
        {"font flags other than 真 are off", true,
         "[字体设置]\r\n删除线=1\r\n下划线=true\r\n光晕字=假\r\n阴影字=真真\r\n",
         [](Loaded& e) { e.glow = false; }},
        {"font flags 真 are on", true,
         "[字体设置]\r\n删除线=真\r\n下划线=真\r\n光晕字=真\r\n阴影字=真\r\n",
         [](Loaded& e) { e.strikeout = e.underline = e.shadow = true; }},
        {"option flags other than 真 are off", true,
         "[转换设置]\r\n转换格式=1\r\n改变尺寸=TRUE\r\n文字水印=是\r\n按尺寸=yes\r\n指定宽度=0\r\n"
         "指定高度=true\r\n",
         [](Loaded& e) {
             e.bySize = false;
             e.fixWidth = false;
         }},
        {"option flags 真 are on", true,
         "[转换设置]\r\n转换格式=真\r\n改变尺寸=真\r\n图片水印=真\r\n按尺寸=假\r\n按百分比=真\r\n"
         "指定宽度=假\r\n指定高度=真\r\n",
         [](Loaded& e) {
             e.convertFormat = e.changeSize = e.pictureWatermark = true;
             e.bySize = false;
             e.byPercent = true;
             e.fixWidth = false;
             e.fixHeight = true;
         }},
        {"list choice 40 is not 400", true, "[转换设置]\r\n百分比=40\r\n",
         [](Loaded& e) { e.percent = "40"; }},
        {"list choice 400", true, "[转换设置]\r\n百分比=400\r\n",
         [](Loaded& e) { e.percent = "400"; }},
        {"list choice 5 is not 50", true, "[转换设置]\r\n百分比=5\r\n",
         [](Loaded& e) { e.percent = "5"; }},
        {"list choice 10 is not 100", true, "[转换设置]\r\n水印透明=10\r\n",
         [](Loaded& e) { e.opacity = "10"; }},
        {"list choices matching no item keep the form's", true,
         "[转换设置]\r\n新格式=jpg\r\n水印位置=右\r\n水印透明=95\r\n百分比=45\r\n", [](Loaded&) {}},
        {"list choices matching items", true,
         "[转换设置]\r\n新格式=TIFF\r\n水印位置=顶边\r\n水印透明=5\r\n百分比=300\r\n",
         [](Loaded& e) {
             e.newFormat = "TIFF";
             e.position = "顶边";
             e.opacity = "5";
             e.percent = "300";
         }},
        {"texts", true,
         "[转换设置]\r\n宽度=abc\r\n高度=-20\r\n文字内容=第一行\\n第二行\r\n图片路径=C:\\水印."
         "png\r\n",
         [](Loaded& e) {
             e.width = "abc";
             e.height = "-20";
             e.watermarkText = "第一行\\n第二行";
             e.picturePath = "C:\\水印.png";
         }},
        // 乗 and 圽 end in the byte 0x5C, the code of a backslash.
        {"GBK values", true,
         "[字体设置]\r\n字体名称=微软雅黑\r\n[转换设置]\r\n保存目录=D:\\乗\\圽\r\n文字内容="
         "水印测试\r\n",
         [](Loaded& e) {
             e.face = "微软雅黑";
             e.fontDisplay = "微软雅黑(30)";
             e.outputFolderBox = e.outputFolderField = "D:\\乗\\圽";
             e.watermarkText = "水印测试";
         }},
        {"sections in the other order, other keys around", true,
         "[转换设置]\r\n其他=1\r\n宽度=640\r\n[字体设置]\r\n字体大小=40\r\n",
         [](Loaded& e) {
             e.width = "640";
             e.size = 40;
             e.fontDisplay = "宋体(40)";
         }},
    };
}

TEST(SettingsLoad, EachCaseLoadsItsValuesAndTheDefaults) {
    for (const LoadCase& c : LoadCases()) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder;
        if (c.writeFile)
            testing_support::WriteFileBytes(testing_support::SettingsFileIn(folder), c.fileBytes);
        TheWatermarkTextStyle() = WatermarkTextStyle{"-", -1, 7, -1, true, true, false, true, 7, 7};
        TheConversionSettings().outputFolder = "-";

        MainWindowHarness window(folder.Path());
        ASSERT_TRUE(window.Created());
        EXPECT_EQ(TheProgram().settingsPath, folder.Path() + "图象转换.Bin");
        Loaded want = Defaults();
        c.change(want);
        ExpectLoaded(want, Observe(window));
    }
}

TEST(SettingsLoad, AValueIsReadUpTo10239Bytes) {
    ScratchFolder folder;
    std::string longText(12000, 'x');
    testing_support::WriteFileBytes(testing_support::SettingsFileIn(folder),
                                    "[转换设置]\r\n图片路径=" + longText + "\r\n");
    MainWindowHarness window(folder.Path());
    ASSERT_TRUE(window.Created());
    // The edit box takes what was read; the text itself never exceeds the buffer.
    EXPECT_EQ(window["编辑框_图片路径"].Text(), std::string(10239, 'x'));
}

TEST(SettingsLoad, ASettingsPathEndsInOneBackslashBeforeTheName) {
    ScratchFolder folder;
    std::string withoutBackslash = folder.Path().substr(0, folder.Path().size() - 1);
    MainWindowHarness window(withoutBackslash);
    ASSERT_TRUE(window.Created());
    EXPECT_EQ(TheProgram().runDirectory, folder.Path());
    EXPECT_EQ(TheProgram().settingsPath, folder.Path() + "图象转换.Bin");
}

TEST(SettingsLoad, WithNoPersonalFolderTheOutputFolderIsBuiltOnTheRunDirectory) {
    ShellFolderValueGuard personal("Personal");
    ASSERT_TRUE(personal.Opened());
    personal.Delete();
    ScratchFolder folder;
    MainWindowHarness window(folder.Path());
    ASSERT_TRUE(window.Created());
    EXPECT_EQ(window["编辑框1"].Text(), folder.Path() + "My Pictures\\转换图片");
    EXPECT_EQ(TheConversionSettings().outputFolder, folder.Path() + "My Pictures\\转换图片");
    // The folder is only named, not made.
    EXPECT_FALSE(testing_support::FileExists(folder.Path() + "My Pictures"));
}

}  // namespace
