// The batch run in the real main window: the start button's checks and their message boxes, the
// output folder, the options stored and copied at the start of a run, the pictures written (their
// format, size and watermark), the progress lines, and a run that meets bad pictures, its own
// source files, a close of the window or rows removed under it.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/program_state.h"
#include "app/watermark_text_style.h"
#include "convert/conversion_settings.h"
#include "convert/snapshot.h"
#include "forms/runtime/text.h"
#include "app/settings_file.h"
#include "imaging/gdi_text.h"
#include "imaging/image_format.h"
#include "tests/imaging_test_support.h"
#include "tests/support/main_window_harness.h"
#include "tests/support/modal_recorder.h"
#include "tests/support/orientation_fixture.h"
#include "tests/support/run_support.h"

using testing_support::Click;
using testing_support::Decode;
using testing_support::Decoded;
using testing_support::ExpectColour;
using testing_support::FilesIn;
using testing_support::kPixelTolerance;
using testing_support::MainWindowHarness;
using testing_support::RecordedMessageTexts;
using testing_support::Recorder;
using testing_support::SavePicture;
using testing_support::ScratchFolder;
using testing_support::Signature;
using testing_support::WriteSolidPicture;

namespace {

constexpr gdip::ARGB kBlue = 0xFF2040C0;
constexpr gdip::ARGB kWhite = 0xFFFFFFFF;
constexpr gdip::ARGB kRed = 0xFFFF0000;
constexpr gdip::ARGB kGreen = 0xFF00FF00;

// A watermark picture of `width` x `height`: red, with its `edge` leftmost and rightmost columns
// green, so that where its ends fall on a converted picture shows to the pixel.
void WriteEdgedWatermark(const std::string& path, int width, int height, int edge) {
    GdipImage picture = imaging_test::SolidPicture(width, height, kRed);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < edge; ++x) {
            gdip::Table().GdipBitmapSetPixel(picture.Handle(), x, y, kGreen);
            gdip::Table().GdipBitmapSetPixel(picture.Handle(), width - 1 - x, y, kGreen);
        }
    }
    SavePicture(picture.Handle(), path);
}

class BatchRunTest : public testing_support::RunWindowTest {
  public:  // the cases' lambdas arrange the window through the fixture
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(RunWindowTest::SetUp());
        Fresh();
    }

    // Besides the new folders, the options back at the form's values.
    void Fresh() override {
        RunWindowTest::Fresh();
        C("单选框_按百分比").SetChecked(false);
        C("单选框_按尺寸").SetChecked(true);
        C("选择框_指定宽度").SetChecked(true);
        C("选择框_指定高度").SetChecked(false);
        Select("组合框_新格式", "原格式");
        Select("组合框_百分比", "50");
        Select("组合框_水印位置", "右下");
        Select("组合框_水印透明", "100");
        C("编辑框_宽度").SetText("500");
        C("编辑框_高度").SetText("500");
        C("编辑框_水印文字").SetText("榆雀网络");
        C("编辑框_图片路径").SetText("");
    }

    void ConvertTo(const std::string& formatItem) {
        Check("选择框_转换格式");
        Select("组合框_新格式", formatItem);
    }
    void ResizeBySize(const std::string& width, const std::string& height) {
        Check("选择框_改变尺寸");
        Check("单选框_按尺寸");
        Check("选择框_指定宽度", !width.empty());
        Check("选择框_指定高度", !height.empty());
        C("编辑框_宽度").SetText(width);
        C("编辑框_高度").SetText(height);
    }
    void ResizeByPercent(const std::string& percent) {
        Check("选择框_改变尺寸");
        Check("单选框_按百分比");
        Select("组合框_百分比", percent);
    }
    void PictureWatermark(const std::string& path, const std::string& position) {
        Check("选择框_图片水印");
        C("编辑框_图片路径").SetText(path);
        Select("组合框_水印位置", position);
    }
};

// ---------------------------------------------------------------------------------------------
// The checks before a run.

struct CheckCase {
    const char* name;
    std::function<void(BatchRunTest&)> arrange;
    std::string text;
    UINT type;
};

TEST_F(BatchRunTest, EachFailedCheckShowsItsMessageAndChangesNothing) {
    const std::vector<CheckCase> cases = {
        {"empty list wins over no task", [](BatchRunTest&) {}, "请先添加需要转换的图片", 0x20},
        {"empty list wins over a missing watermark picture",
         [](BatchRunTest& t) { t.PictureWatermark("C:\\no\\such.png", "右下"); },
         "请先添加需要转换的图片", 0x20},
        {"no task", [](BatchRunTest& t) { t.AddRow(t.PicturesFolder(), "a.png"); },
         "请选择一个需要处理的任务。\r\n比如‘转换格式’、‘改变尺寸’、‘文字水印’、‘图片水印’", 0x40},
        {"missing watermark picture wins over an empty folder",
         [](BatchRunTest& t) {
             t.AddRow(t.PicturesFolder(), "a.png");
             t.PictureWatermark(t.Picture("none.png"), "右下");
             t.C("编辑框1").SetText("");
         },
         "请设置水印图片", 0x20},
        {"watermark path naming a folder",
         [](BatchRunTest& t) {
             t.AddRow(t.PicturesFolder(), "a.png");
             t.PictureWatermark(t.PicturesFolder(), "右下");
         },
         "请设置水印图片", 0x20},
        {"empty folder",
         [](BatchRunTest& t) {
             t.AddRow(t.PicturesFolder(), "a.png");
             t.ConvertTo("PNG");
             t.C("编辑框1").SetText("  ");
         },
         "请设置保存目录", 0x20},
        {"folder without a drive",
         [](BatchRunTest& t) {
             t.AddRow(t.PicturesFolder(), "a.png");
             t.ConvertTo("PNG");
             t.C("编辑框1").SetText("photos");
         },
         "无效的保存目录", 0x20},
        {"network folder",
         [](BatchRunTest& t) {
             t.AddRow(t.PicturesFolder(), "a.png");
             t.ConvertTo("PNG");
             t.C("编辑框1").SetText("\\\\server\\share\\out");
         },
         "无效的保存目录", 0x20},
    };
    for (const CheckCase& c : cases) {
        SCOPED_TRACE(c.name);
        Fresh();
        c.arrange(*this);
        Start();
        ASSERT_EQ(1u, Recorder().messageBoxes.size());
        const auto& box = Recorder().messageBoxes[0];
        EXPECT_EQ(c.text, box.text);
        EXPECT_EQ("错误", box.title);
        EXPECT_EQ(c.type, box.type);
        EXPECT_EQ(window_->Main().Hwnd(), box.owner);
        EXPECT_FALSE(testing_support::FileExists(testing_support::SettingsFileIn(program_)))
            << "nothing is stored";
        EXPECT_EQ(851, C("遮照框").Top());
        EXPECT_FALSE(C("按钮_添加图片").Disabled());
        EXPECT_TRUE(FilesIn(OutputFolder()).empty());
    }
}

TEST_F(BatchRunTest, AMissingWatermarkPictureClearsItsPathAndTakesTheFocus) {
    AddRow(PicturesFolder(), "a.png");
    PictureWatermark("  " + Picture("gone.png") + " ", "右下");
    Start();
    EXPECT_EQ(std::vector<std::string>{"请设置水印图片"}, RecordedMessageTexts());
    EXPECT_EQ("", C("编辑框_图片路径").Text());
    EXPECT_EQ(C("编辑框_图片路径").Hwnd(), GetFocus());
}

TEST_F(BatchRunTest, AWatermarkPathWithSpacesAroundItPassesAndIsKeptAsTyped) {
    AddPicture("a.png", 60, 40, kBlue);
    WriteSolidPicture(Picture("mark.png"), 8, 6, kRed);
    const std::string typed = "  " + Picture("mark.png") + "  ";
    PictureWatermark(typed, "左上");
    Start();
    EXPECT_EQ(std::vector<std::string>{"全部处理完毕"}, RecordedMessageTexts());
    EXPECT_EQ(typed, TheConversionSettings().watermarkText);
    // The picture behind the spaces is the one drawn.
    Decoded out = Decode(Output("a.png"));
    ASSERT_EQ(60, out.width);
    ExpectColour(out, 12, 12, kRed);
}

// ---------------------------------------------------------------------------------------------
// The output folder and the options of a run.

TEST_F(BatchRunTest, TheTypedFolderIsNormalisedCreatedAndStored) {
    AddPicture("a.png", 30, 20, kBlue);
    ConvertTo("BMP");
    const std::string typed = " " + text::ReplaceAll(data_->Path(), "\\", "/") + "新//层 ";
    C("编辑框1").SetText(typed);
    Start();
    const std::string folder = data_->Path() + "新\\层\\";
    EXPECT_EQ(folder, TheConversionSettings().outputFolder);
    EXPECT_EQ("BMP", Signature(folder + "a.bmp"));
    EXPECT_EQ(folder, ReadSetting(TheProgram().settingsPath, "转换设置", "保存目录", "?"));
    EXPECT_EQ(typed, C("编辑框1").Text()) << "the edit box keeps what was typed";
}

TEST_F(BatchRunTest, TheSeventeenOptionsAreStoredInTheirOrderAndForms) {
    AddPicture("a.png", 30, 20, kBlue);
    ConvertTo("JPG");
    ResizeBySize("800.9x", "");
    C("编辑框_高度").SetText("abc");
    Check("选择框_文字水印");
    C("编辑框_水印文字").SetText("上\\n下");
    Select("组合框_水印位置", "居中");
    Select("组合框_水印透明", "90");
    Start();
    const std::string stored = testing_support::ReadFileBytes(TheProgram().settingsPath);
    const std::string expected =
        "[转换设置]\r\n"
        "保存目录=" +
        OutputFolder() +
        "\r\n"
        "转换格式=真\r\n"
        "改变尺寸=真\r\n"
        "文字水印=真\r\n"
        "图片水印=假\r\n"
        "新格式=JPG\r\n"
        "按尺寸=真\r\n"
        "按百分比=假\r\n"
        "指定宽度=真\r\n"
        "指定高度=假\r\n"
        "宽度=800.9x\r\n"
        "高度=abc\r\n"
        "百分比=50\r\n"
        "文字内容=上\\n下\r\n"
        "图片路径=\r\n"
        "水印位置=居中\r\n"
        "水印透明=90\r\n";
    EXPECT_EQ(expected, stored);

    const ConversionSettings& s = TheConversionSettings();
    EXPECT_EQ("jpg", s.newExtension);
    EXPECT_EQ(800, s.targetWidth);
    EXPECT_EQ(0, s.targetHeight);
    EXPECT_TRUE(s.bySize);
    EXPECT_FALSE(s.byPercent);
    EXPECT_EQ(0.5f, s.scaleFactor);
    EXPECT_TRUE(s.doTextWatermark);
    EXPECT_EQ("上\r\n下", s.watermarkText);
    EXPECT_EQ("居中", s.position);
    EXPECT_EQ(229, s.opacity);
}

TEST_F(BatchRunTest, OpacityFollowsTheTransparencyItem) {
    const std::vector<std::pair<std::string, int>> items = {
        {"100", 255}, {"90", 229}, {"80", 204}, {"70", 178}, {"60", 153}, {"50", 127},
        {"40", 102},  {"30", 76},  {"20", 51},  {"10", 25},  {"5", 12}};
    Check("选择框_文字水印");
    for (const auto& [item, opacity] : items) {
        SCOPED_TRACE("透明度 " + item);
        Select("组合框_水印透明", item);
        SnapshotConversionSettings(W());
        EXPECT_EQ(opacity, TheConversionSettings().opacity);
    }
}

// ---------------------------------------------------------------------------------------------
// The pictures written.

struct SizeCase {
    const char* name;
    std::function<void(BatchRunTest&)> options;
    int sourceWidth, sourceHeight;
    int width, height;
};

TEST_F(BatchRunTest, PicturesAreWrittenAtTheirTargetSize) {
    const std::vector<SizeCase> cases = {
        {"width only", [](BatchRunTest& t) { t.ResizeBySize("800", ""); }, 1000, 750, 800, 600},
        {"width only, height truncated", [](BatchRunTest& t) { t.ResizeBySize("300", ""); }, 1000,
         333, 300, 99},
        {"height only", [](BatchRunTest& t) { t.ResizeBySize("", "30"); }, 200, 100, 60, 30},
        {"both: stretched", [](BatchRunTest& t) { t.ResizeBySize("50", "70"); }, 200, 100, 50, 70},
        {"neither: own size", [](BatchRunTest& t) { t.ResizeBySize("", ""); }, 41, 23, 41, 23},
        {"90% is the float 0.89999998", [](BatchRunTest& t) { t.ResizeByPercent("90"); }, 100, 100,
         89, 89},
        {"50% of odd sides", [](BatchRunTest& t) { t.ResizeByPercent("50"); }, 101, 51, 50, 25},
        {"resizing off", [](BatchRunTest& t) { t.ConvertTo("PNG"); }, 37, 19, 37, 19},
    };
    for (const SizeCase& c : cases) {
        SCOPED_TRACE(c.name);
        Fresh();
        AddPicture("p.bmp", c.sourceWidth, c.sourceHeight, kBlue, kFormatBmp);
        c.options(*this);
        Select("组合框_新格式", "PNG");
        Check("选择框_转换格式");
        Start();
        Decoded out = Decode(Output("p.png"));
        EXPECT_EQ(c.width, out.width);
        EXPECT_EQ(c.height, out.height);
        if (!out.pixels.empty()) {
            ExpectColour(out, out.width / 2, out.height / 2, kBlue);
        }
    }
}

struct NameCase {
    const char* name;
    std::string source;
    std::string formatItem;
    std::string output;
    std::string signature;
};

TEST_F(BatchRunTest, OutputNamesAndFormats) {
    const std::vector<NameCase> cases = {
        {"only the last extension replaced", "a.b.png", "JPG", "a.b.jpg", "JPEG"},
        {"upper-case name with BMP", "PIC.PNG", "BMP", "PIC.bmp", "BMP"},
        {"GIF", "g.png", "GIF", "g.gif", "GIF"},
        {"TIFF", "t.png", "TIFF", "t.tiff", "TIFF"},
        {"PNG", "p.jpg", "PNG", "p.png", "PNG"},
        {"a name without a dot", "README", "PNG", "README.png", "PNG"},
        {"own name: .tif written as JPEG", "x.tif", "原格式", "x.tif", "JPEG"},
        {"own name: .jpeg written as JPEG", "y.jpeg", "原格式", "y.jpeg", "JPEG"},
        {"own name: .png stays PNG", "z.png", "原格式", "z.png", "PNG"},
    };
    for (const NameCase& c : cases) {
        WriteSolidPicture(Picture(c.source), 24, 16, kBlue);
        AddRow(PicturesFolder(), c.source);
    }
    // Each format in its own run: the format list holds one choice at a time.
    for (const NameCase& c : cases) {
        SCOPED_TRACE(c.name);
        forms::Control list = C("超级列表框1");
        list.DeleteAllRows();
        AddRow(PicturesFolder(), c.source);
        ConvertTo(c.formatItem);
        Recorder().Reset();
        Start();
        EXPECT_EQ(std::vector<std::string>{"全部处理完毕"}, RecordedMessageTexts());
        EXPECT_EQ(c.signature, Signature(Output(c.output)));
        Decoded out = Decode(Output(c.output));
        EXPECT_EQ(24, out.width);
        EXPECT_EQ(16, out.height);
    }
}

struct PositionCase {
    const char* name;
    int pictureWidth, pictureHeight;
    int markWidth, markHeight;
    std::string position;
    int x, y;
};

TEST_F(BatchRunTest, ThePictureWatermarkLandsAtItsPosition) {
    const std::vector<PositionCase> cases = {
        {"右下", 800, 600, 200, 40, "右下", 590, 550},
        {"居中, 7 pixels too wide: x is -3, not -4", 200, 100, 207, 20, "居中", -3, 40},
        {"左上", 120, 90, 30, 20, "左上", 10, 10},
        {"顶边", 120, 90, 30, 20, "顶边", 45, 10},
        {"底边", 120, 90, 30, 20, "底边", 45, 60},
        {"右上", 120, 90, 30, 20, "右上", 80, 10},
        {"左下", 120, 90, 30, 20, "左下", 10, 60},
    };
    for (const PositionCase& c : cases) {
        SCOPED_TRACE(c.name);
        Fresh();
        AddPicture("p.png", c.pictureWidth, c.pictureHeight, kBlue);
        WriteEdgedWatermark(Picture("mark.png"), c.markWidth, c.markHeight, 3);
        PictureWatermark(Picture("mark.png"), c.position);
        Start();
        Decoded out = Decode(Output("p.png"));
        ASSERT_EQ(c.pictureWidth, out.width);
        auto ExpectColourIfInside = [&](gdip::ARGB colour, int x, int y) {
            if (x < 0 || y < 0 || x >= out.width || y >= out.height) return;
            ExpectColour(out, x, y, colour);
        };
        const int right = c.x + c.markWidth - 1, bottom = c.y + c.markHeight - 1;
        // The green edges begin and end where the watermark does; the red lies between them.
        ExpectColourIfInside(kGreen, c.x, c.y);
        ExpectColourIfInside(kGreen, right, bottom);
        ExpectColourIfInside(kRed, c.x + 3, c.y + c.markHeight / 2);
        ExpectColourIfInside(kRed, right - 3, c.y + c.markHeight / 2);
        ExpectColourIfInside(kBlue, c.x - 1, c.y + c.markHeight / 2);
        ExpectColourIfInside(kBlue, right + 1, c.y + c.markHeight / 2);
        ExpectColourIfInside(kBlue, c.x + c.markWidth / 2, c.y - 1);
        ExpectColourIfInside(kBlue, c.x + c.markWidth / 2, bottom + 1);
        if (c.x < 0) {
            // Cut at both sides: red at the first and last column means the ends lie exactly
            // 3 columns beyond the picture on each side.
            ExpectColourIfInside(kRed, 0, c.y + 5);
            ExpectColourIfInside(kRed, out.width - 1, c.y + 5);
        }
    }
}

TEST_F(BatchRunTest, ThePictureWatermarkKeepsItsOwnSizeAndIsOpaque) {
    AddPicture("big.png", 400, 300, kBlue);
    WriteSolidPicture(Picture("mark.png"), 20, 10, kRed);
    ResizeByPercent("50");
    PictureWatermark(Picture("mark.png"), "左上");
    Select("组合框_水印透明", "50");
    Start();
    Decoded out = Decode(Output("big.png"));
    ASSERT_EQ(200, out.width);
    ASSERT_EQ(150, out.height);
    ExpectColour(out, 11, 11, kRed);
    ExpectColour(out, 28, 18, kRed);
    ExpectColour(out, 31, 15, kBlue);
    ExpectColour(out, 20, 21, kBlue);
}

// The darkest pixel inside and outside a rectangle (as the sum of red, green and blue).
struct Darkest {
    int inside = 3 * 255;
    int outside = 3 * 255;
};
Darkest DarkestAround(const Decoded& out, RECT box) {
    Darkest darkest;
    for (int y = 0; y < out.height; ++y) {
        for (int x = 0; x < out.width; ++x) {
            const gdip::ARGB c = out.At(x, y);
            const int sum = imaging_test::Red(c) + imaging_test::Green(c) + imaging_test::Blue(c);
            const bool in = x >= box.left && x < box.right && y >= box.top && y < box.bottom;
            int& slot = in ? darkest.inside : darkest.outside;
            if (sum < slot) slot = sum;
        }
    }
    return darkest;
}

TEST_F(BatchRunTest, TheTextWatermarkIsDrawnInItsMeasuredBoxWithTheRunsOpacity) {
    const std::string text = "水印Ab";
    std::int32_t markWidth = 0, markHeight = 0;
    {
        GdiFont font = CreateGdiFont(30, 0, 0, 0, true, false, false, false, "宋体");
        MeasureText(text, markWidth, markHeight, font.Get());
    }
    ASSERT_GT(markWidth, 0);
    const int width = 240, height = 120;
    // 右下: the text begins at the measured box's corner (less 2 pixels of glow); GDI+ may lay it
    // out a little wider than GDI measures it, so the box reaches the picture's edges.
    const int left = width - markWidth - 10, top = height - markHeight - 10;
    const RECT box = {left - 2, top - 2, width, height};
    const RECT leftThird = {left - 2, top - 2, left + markWidth / 3, height};
    const std::vector<std::pair<std::string, int>> runs = {{"100", 0}, {"50", 3 * 128}};
    for (const auto& [item, darkestSum] : runs) {
        SCOPED_TRACE("透明度 " + item);
        Fresh();
        AddPicture("w.png", width, height, kWhite);
        Check("选择框_文字水印");
        C("编辑框_水印文字").SetText(text);
        Select("组合框_水印透明", item);
        Start();
        Decoded out = Decode(Output("w.png"));
        ASSERT_EQ(width, out.width);
        Darkest darkest = DarkestAround(out, box);
        EXPECT_NEAR(darkestSum, darkest.inside, 3 * kPixelTolerance)
            << "black text at that opacity";
        EXPECT_EQ(3 * 255, darkest.outside) << "nothing drawn outside the watermark's box";
        EXPECT_NEAR(darkestSum, DarkestAround(out, leftThird).inside, 3 * kPixelTolerance)
            << "the text begins at the box's left";
    }
}

// Writes a photo-like picture in the given format.
void WritePhoto(const std::string& path, int width, int height, int formatCode) {
    GdipImage picture = imaging_test::PhotoLikePicture(width, height);
    SavePicture(picture.Handle(), path, formatCode);
}

TEST_F(BatchRunTest, PicturesAddedThroughTheAddButtonAreConvertedWithTheChosenOptions) {
    const std::vector<std::pair<std::string, int>> sources = {
        {"照片一.jpg", kFormatJpeg}, {"scan.bmp", kFormatBmp}, {"shot.png", kFormatPng}};
    std::vector<std::string> paths;
    for (const auto& [name, format] : sources) {
        WritePhoto(Picture(name), 300, 200, format);
        paths.push_back(Picture(name));
    }
    Recorder().openFileAnswers.push_back(paths);
    Click(W(), "按钮_添加图片");
    ASSERT_EQ(3, C("超级列表框1").RowCount());

    // First without a watermark, into a folder of its own, as the reference.
    ConvertTo("PNG");
    ResizeBySize("150", "");
    const std::string plain = data_->Path() + "plain\\";
    C("编辑框1").SetText(plain);
    Click(W(), "按钮_开始转换");
    // Then with the text watermark.
    Check("选择框_文字水印");
    C("编辑框_水印文字").SetText("ABC");
    C("编辑框1").SetText(OutputFolder());
    Click(W(), "按钮_开始转换");
    EXPECT_EQ((std::vector<std::string>{"全部处理完毕", "全部处理完毕"}), RecordedMessageTexts());

    for (const auto& [name, format] : sources) {
        SCOPED_TRACE(name);
        const std::string outputName = name.substr(0, name.rfind('.')) + ".png";
        EXPECT_EQ("PNG", Signature(Output(outputName)));
        Decoded marked = Decode(Output(outputName));
        Decoded reference = Decode(plain + outputName);
        ASSERT_EQ(150, marked.width);
        ASSERT_EQ(100, marked.height);
        ASSERT_EQ(marked.pixels.size(), reference.pixels.size());
        // The watermark changed pixels, and only towards the bottom-right corner.
        int changed = 0, changedFarFromCorner = 0;
        for (int y = 0; y < marked.height; ++y) {
            for (int x = 0; x < marked.width; ++x) {
                if (imaging_test::ChannelDistance(marked.At(x, y), reference.At(x, y)) <= 8)
                    continue;
                ++changed;
                if (x < marked.width / 3 || y < marked.height / 3) ++changedFarFromCorner;
            }
        }
        EXPECT_GT(changed, 50);
        EXPECT_EQ(0, changedFarFromCorner);
    }
}

// ---------------------------------------------------------------------------------------------
// The course of a run.

TEST_F(BatchRunTest, TheWindowIsLockedDuringTheRunAndItsLinesRecordEachPicture) {
    AddPicture("a.png", 20, 20, kBlue);
    testing_support::WriteFileBytes(Picture("bad.png"), "not a picture at all");
    AddRow(PicturesFolder(), "bad.png");
    AddRow(PicturesFolder(), "missing.png");
    AddPicture("c.png", 20, 20, kBlue);
    ConvertTo("JPG");
    C("列表框1").AppendLine("a line of the run before");
    const char* locked[] = {"按钮_添加图片",   "按钮_删除图片",   "按钮_清空图片",
                            "按钮_设置文件夹", "按钮_打开文件夹", "编辑框1"};
    bool lookedWhileOpen = false;
    Recorder().onMessageBox = [&](const testing_support::RecordedMessageBox&) {
        lookedWhileOpen = true;
        EXPECT_EQ(10, C("遮照框").Left());
        EXPECT_EQ(451, C("遮照框").Top());
        EXPECT_TRUE(C("遮照框").Visible());
        for (const char* name : locked) EXPECT_TRUE(C(name).Disabled()) << name;
    };
    Start();
    EXPECT_TRUE(lookedWhileOpen);
    const std::vector<std::string> expected = {
        "正在处理:a.png",       "正在处理:bad.png", "载入失败:bad.png", "正在处理:missing.png",
        "载入失败:missing.png", "正在处理:c.png",   "处理完毕"};
    EXPECT_EQ(expected, LogLines());
    EXPECT_EQ(C("列表框1").ItemCount() - 1, C("列表框1").Selected()) << "the last line on view";
    EXPECT_EQ(std::vector<std::string>{"全部处理完毕\r\n其中 2 张图片未能转换，详见处理记录"},
              RecordedMessageTexts());
    EXPECT_EQ("提示", Recorder().messageBoxes[0].title);
    EXPECT_EQ(0x40u, Recorder().messageBoxes[0].type);
    EXPECT_EQ(window_->Main().Hwnd(), Recorder().messageBoxes[0].owner);
    EXPECT_EQ("JPEG", Signature(Output("a.jpg")));
    EXPECT_EQ("JPEG", Signature(Output("c.jpg")));
    EXPECT_FALSE(testing_support::FileExists(Output("bad.jpg")));
    EXPECT_EQ(2u, FilesIn(OutputFolder()).size()) << "no other file is left behind";
    // Unlocked, with the lines kept.
    EXPECT_EQ(851, C("遮照框").Top());
    EXPECT_FALSE(C("遮照框").Visible());
    for (const char* name : locked) EXPECT_FALSE(C(name).Disabled()) << name;
}

// A PNG whose header claims 60000 x 60000 pixels, with a few bytes of data: huge and damaged.
const std::string kHugeDamagedPng(
    "\x89PNG\r\n\x1A\n\x00\x00\x00\x0DIHDR\x00\x00\xEA\x60\x00\x00\xEA\x60\x08\x02"
    "\x00\x00\x00\x0F\xB0\xE2\x15\x00\x00\x00\x11IDAT\x78\x9C\x63\x60\x18\x05\xA3\x60"
    "\x14\x0C\x77\x00\x00\x03\xE8\x00\x01\xB3\xA6\xD3\x46\x00\x00\x00\x00IEND\xAE\x42"
    "\x60\x82",
    74);

TEST_F(BatchRunTest, AHugeDamagedPictureIsReportedAndTheRunGoesOn) {
    testing_support::WriteFileBytes(Picture("huge.png"), kHugeDamagedPng);
    AddRow(PicturesFolder(), "huge.png");
    AddPicture("after.png", 20, 20, kBlue);
    ConvertTo("JPG");
    Start();
    const std::vector<std::string> lines = LogLines();
    ASSERT_EQ(4u, lines.size());
    EXPECT_EQ("正在处理:huge.png", lines[0]);
    EXPECT_TRUE(lines[1] == "载入失败:huge.png" || lines[1] == "保存失败:huge.png") << lines[1];
    EXPECT_EQ("正在处理:after.png", lines[2]);
    EXPECT_EQ("处理完毕", lines[3]);
    EXPECT_FALSE(testing_support::FileExists(Output("huge.jpg")));
    EXPECT_EQ("JPEG", Signature(Output("after.jpg")));
}

TEST_F(BatchRunTest, ARunThatWritesEveryPictureSaysSoInOneLine) {
    AddPicture("a.png", 20, 20, kBlue);
    AddPicture("b.png", 20, 20, kBlue);
    ConvertTo("GIF");
    Start();
    EXPECT_EQ(std::vector<std::string>{"全部处理完毕"}, RecordedMessageTexts());
    EXPECT_EQ("GIF", Signature(Output("a.gif")));
    EXPECT_EQ("GIF", Signature(Output("b.gif")));
}

struct SourceCase {
    const char* name;
    std::function<std::string(const std::string& picturesFolder)> typedFolder;
};

TEST_F(BatchRunTest, ASourcePictureIsNeverWrittenOver) {
    const std::vector<SourceCase> cases = {
        {"the pictures' folder", [](const std::string& f) { return f; }},
        {"in other letter case and with slashes",
         [](const std::string& f) { return text::ReplaceAll(text::LowerAscii(f), "\\", "//"); }},
        {"through a relative part", [](const std::string& f) { return f + "..\\图片"; }},
    };
    for (const SourceCase& c : cases) {
        SCOPED_TRACE(c.name);
        Fresh();
        AddPicture("own.png", 30, 20, kBlue);
        AddPicture("other.jpg", 30, 20, kBlue, kFormatJpeg);
        const std::string before = testing_support::ReadFileBytes(Picture("own.png"));
        ConvertTo("PNG");  // own.png would be written onto itself; other.jpg gives other.png
        C("编辑框1").SetText(c.typedFolder(PicturesFolder()));
        Start();
        EXPECT_EQ(before, testing_support::ReadFileBytes(Picture("own.png")));
        EXPECT_EQ("PNG", Signature(Picture("other.png")));
        const std::vector<std::string> expected = {"正在处理:own.png", "跳过(不覆盖原图):own.png",
                                                   "正在处理:other.jpg", "处理完毕"};
        EXPECT_EQ(expected, LogLines());
        EXPECT_EQ(std::vector<std::string>{"全部处理完毕\r\n其中 1 张图片未能转换，详见处理记录"},
                  RecordedMessageTexts());
        EXPECT_EQ(3u, FilesIn(PicturesFolder()).size()) << "no temporary file left";
    }
}

TEST_F(BatchRunTest, AnotherNameOfTheSourceFileIsNotWrittenThrough) {
    AddPicture("linked.png", 30, 20, kBlue);
    const std::string before = testing_support::ReadFileBytes(Picture("linked.png"));
    CreateDirectoryA(OutputFolder().c_str(), nullptr);
    // The output folder already holds the source picture under the output's name.
    ASSERT_TRUE(
        CreateHardLinkA(Output("linked.png").c_str(), Picture("linked.png").c_str(), nullptr));
    ResizeByPercent("50");
    Start();
    EXPECT_EQ((std::vector<std::string>{"正在处理:linked.png", "跳过(不覆盖原图):linked.png",
                                        "处理完毕"}),
              LogLines());
    EXPECT_EQ(before, testing_support::ReadFileBytes(Picture("linked.png")));
    EXPECT_EQ(30, Decode(Output("linked.png")).width);
}

TEST_F(BatchRunTest, AFailedSaveIsReportedAndDamagesNothing) {
    AddPicture("held.png", 30, 20, kBlue);
    AddPicture("folder.png", 30, 20, kBlue);
    AddPicture("fine.png", 30, 20, kBlue);
    CreateDirectoryA(OutputFolder().c_str(), nullptr);
    // An older output that another program holds open without letting it be replaced, and a
    // folder where a picture should go.
    testing_support::WriteFileBytes(Output("held.png"), "an older output");
    HANDLE held = CreateFileA(Output("held.png").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    CreateDirectoryA(Output("folder.png").c_str(), nullptr);
    ConvertTo("PNG");
    Start();
    CloseHandle(held);
    EXPECT_EQ("an older output", testing_support::ReadFileBytes(Output("held.png")));
    EXPECT_EQ("PNG", Signature(Output("fine.png")));
    const std::vector<std::string> expected = {"正在处理:held.png",   "保存失败:held.png",
                                               "正在处理:folder.png", "保存失败:folder.png",
                                               "正在处理:fine.png",   "处理完毕"};
    EXPECT_EQ(expected, LogLines());
    EXPECT_EQ(std::vector<std::string>{"全部处理完毕\r\n其中 2 张图片未能转换，详见处理记录"},
              RecordedMessageTexts());
    EXPECT_EQ(2u, FilesIn(OutputFolder()).size()) << "no temporary file left";
}

TEST_F(BatchRunTest, APictureTooLargeToMakeFailsWithoutTouchingAnOlderOutput) {
    AddPicture("p.png", 30, 20, kBlue);
    CreateDirectoryA(OutputFolder().c_str(), nullptr);
    testing_support::WriteFileBytes(Output("p.png"), "an older output");
    ResizeBySize("100000", "100000");
    Start();
    EXPECT_EQ((std::vector<std::string>{"正在处理:p.png", "保存失败:p.png", "处理完毕"}),
              LogLines());
    EXPECT_EQ("an older output", testing_support::ReadFileBytes(Output("p.png")));
}

TEST_F(BatchRunTest, ATargetSideOfZeroOrLessIsASaveFailure) {
    const std::vector<std::pair<std::string, std::string>> sizes = {{"-5", ""}, {"", "-1"}};
    for (const auto& [width, height] : sizes) {
        SCOPED_TRACE("width \"" + width + "\" height \"" + height + "\"");
        Fresh();
        AddPicture("p.png", 30, 20, kBlue);
        ResizeBySize(width, height);
        Start();
        EXPECT_EQ((std::vector<std::string>{"正在处理:p.png", "保存失败:p.png", "处理完毕"}),
                  LogLines());
        EXPECT_FALSE(testing_support::FileExists(Output("p.png")));
    }
    // A proportional side that truncates to 0 fails the same way.
    TearDown();
    SetUp();
    AddPicture("thin.png", 1000, 1, kBlue);
    ResizeBySize("500", "");
    Start();
    EXPECT_EQ(std::vector<std::string>{"全部处理完毕\r\n其中 1 张图片未能转换，详见处理记录"},
              RecordedMessageTexts())
        << "1 x 500 / 1000 truncates to 0";
}

struct CloseCase {
    const char* name;
    std::function<void(BatchRunTest&)> close;
};

TEST_F(BatchRunTest, ClosingDuringARunEndsItAfterThePictureAtHand) {
    const std::vector<CloseCase> cases = {
        {"close button",
         [](BatchRunTest& t) { PostMessageA(t.C("按钮_关闭").Hwnd(), BM_CLICK, 0, 0); }},
        {"window close (Alt+F4, taskbar)",
         [](BatchRunTest& t) { PostMessageA(t.window_->Main().Hwnd(), WM_CLOSE, 0, 0); }},
    };
    for (const CloseCase& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        for (const char* name : {"a.png", "b.png", "c.png"}) AddPicture(name, 20, 20, kBlue);
        ConvertTo("BMP");
        WhenLogged("正在处理:b.png", [&] { c.close(*this); });
        HWND hwnd = window_->Main().Hwnd();
        Start();
        EXPECT_FALSE(IsWindow(hwnd)) << "the window is gone once the run has unwound";
        EXPECT_TRUE(Recorder().messageBoxes.empty()) << "no message box left behind";
        EXPECT_EQ("BMP", Signature(Output("a.bmp")));
        EXPECT_FALSE(testing_support::FileExists(Output("b.bmp")));
        EXPECT_FALSE(testing_support::FileExists(Output("c.bmp")));
        EXPECT_EQ(0, TheProgram().windowGdiplusToken) << "the window's end ran";
    }
}

TEST_F(BatchRunTest, RowsRemovedDuringARunAreNotReadPastTheEnd) {
    for (const char* name : {"a.png", "b.png", "c.png", "d.png"}) AddPicture(name, 20, 20, kBlue);
    ConvertTo("BMP");
    WhenLogged("正在处理:b.png",
               [&] { PostMessageA(C("超级列表框1").Hwnd(), LVM_DELETEITEM, 2, 0); });
    Start();
    const std::vector<std::string> expected = {"正在处理:a.png", "正在处理:b.png", "正在处理:d.png",
                                               "处理完毕"};
    EXPECT_EQ(expected, LogLines());
    EXPECT_EQ(std::vector<std::string>{"全部处理完毕"}, RecordedMessageTexts());
}

TEST_F(BatchRunTest, AllRowsRemovedDuringARunEndIt) {
    for (const char* name : {"a.png", "b.png", "c.png"}) AddPicture(name, 20, 20, kBlue);
    ConvertTo("BMP");
    WhenLogged("正在处理:a.png",
               [&] { PostMessageA(C("超级列表框1").Hwnd(), LVM_DELETEALLITEMS, 0, 0); });
    Start();
    EXPECT_EQ((std::vector<std::string>{"正在处理:a.png", "处理完毕"}), LogLines());
    EXPECT_EQ("BMP", Signature(Output("a.bmp"))) << "the picture at hand is finished";
}

TEST_F(BatchRunTest, AStartPressReachingTheCoveredButtonDuringARunIsIgnored) {
    for (const char* name : {"a.png", "b.png"}) AddPicture(name, 20, 20, kBlue);
    ConvertTo("BMP");
    WhenLogged("正在处理:a.png", [&] { PostMessageA(C("按钮_开始转换").Hwnd(), BM_CLICK, 0, 0); });
    Start();
    EXPECT_EQ((std::vector<std::string>{"正在处理:a.png", "正在处理:b.png", "处理完毕"}),
              LogLines());
    EXPECT_EQ(1u, Recorder().messageBoxes.size());
}

// ---------------------------------------------------------------------------------------------
// Photos from phones and cameras: the EXIF orientation is applied before the size is read.

TEST_F(BatchRunTest, PhotosComeOutUprightForEveryOrientation) {
    using namespace testing_support;
    for (int orientation = 1; orientation <= 8; ++orientation) {
        SCOPED_TRACE("orientation " + std::to_string(orientation));
        Fresh();
        const std::string name = "phone" + std::to_string(orientation) + ".jpg";
        ASSERT_TRUE(WriteOrientedJpeg(Picture(name), orientation));
        AddRow(PicturesFolder(), name);
        ResizeBySize("80", "");  // twice the upright width: the height follows the upright shape
        ConvertTo("PNG");
        Start();
        Decoded out = Decode(Output("phone" + std::to_string(orientation) + ".png"));
        ASSERT_EQ(2 * kUprightWidth, out.width);
        ASSERT_EQ(2 * kUprightHeight, out.height);
        EXPECT_LE(imaging_test::ChannelDistance(kMarkerColour, out.At(kMarkerWidth, kMarkerHeight)),
                  48)
            << "the marker is not in the top-left corner";
        EXPECT_LE(imaging_test::ChannelDistance(kFieldColour, out.At(out.width - 6, 5)), 48)
            << "top-right corner";
        EXPECT_LE(imaging_test::ChannelDistance(kFieldColour, out.At(5, out.height - 6)), 48)
            << "bottom-left corner";
        EXPECT_LE(
            imaging_test::ChannelDistance(kFieldColour, out.At(out.width - 6, out.height - 6)), 48)
            << "bottom-right corner";
    }
}

TEST_F(BatchRunTest, APhotoWithABrokenExifBlockConvertsAsDecoded) {
    using namespace testing_support;
    std::string broken = ExifOrientationBlock(6);
    broken[4 + 6 + 4] = '\x7F';  // IFD offset far past the block's end
    broken[4 + 6 + 5] = '\x7F';
    ASSERT_TRUE(WriteOrientedJpeg(Picture("broken.jpg"), 1, &broken));
    AddRow(PicturesFolder(), "broken.jpg");
    ConvertTo("PNG");
    Start();
    Decoded out = Decode(Output("broken.png"));
    EXPECT_EQ(kUprightWidth, out.width);
    EXPECT_EQ(kUprightHeight, out.height);
    EXPECT_EQ((std::vector<std::string>{"正在处理:broken.jpg", "处理完毕"}), LogLines());
}

TEST_F(BatchRunTest, APortraitPhonePhotoComesOutAsAnUprightPortrait) {
    using namespace testing_support;
    // A phone holds the portrait shot as a landscape picture turned a quarter, tagged 6.
    ASSERT_TRUE(WriteOrientedJpeg(Picture("portrait.jpg"), 6, nullptr, /*uprightWidth=*/24,
                                  /*uprightHeight=*/40));
    AddRow(PicturesFolder(), "portrait.jpg");
    ResizeBySize("48", "");
    ConvertTo("JPG");
    Start();
    Decoded out = Decode(Output("portrait.jpg"));
    ASSERT_EQ(48, out.width);
    ASSERT_EQ(80, out.height) << "a portrait, taller than wide";
    EXPECT_LE(imaging_test::ChannelDistance(kMarkerColour, out.At(kMarkerWidth, kMarkerHeight)), 48)
        << "the marker is not in the top-left corner";
    EXPECT_LE(imaging_test::ChannelDistance(kFieldColour, out.At(out.width - 6, out.height - 6)),
              48)
        << "bottom-right corner";
}

}  // namespace
