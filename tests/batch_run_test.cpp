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
#include "imaging/conversions.h"
#include "imaging/encoders.h"
#include "imaging/gdi_text.h"
#include "imaging/image_format.h"
#include "tests/imaging_test_support.h"
#include "tests/support/main_window_harness.h"
#include "tests/support/modal_recorder.h"
#include "tests/support/orientation_fixture.h"

using testing_support::Click;
using testing_support::MainWindowHarness;
using testing_support::Recorder;
using testing_support::ScratchFolder;

namespace {

constexpr gdip::ARGB kBlue = 0xFF2040C0;
constexpr gdip::ARGB kWhite = 0xFFFFFFFF;
constexpr gdip::ARGB kRed = 0xFFFF0000;
constexpr gdip::ARGB kGreen = 0xFF00FF00;
constexpr int kTolerance = 24;  // per channel, for scaled and JPEG-encoded pixels

// Writes a picture of one colour in the given format.
void WritePicture(const std::string& path, int width, int height, gdip::ARGB colour,
                  int formatCode = kFormatPng) {
    GdipImage picture = imaging_test::SolidPicture(width, height, colour);
    const WideText widePath = ToWideText(path);
    const CLSID encoder = EncoderClsid(formatCode);
    ASSERT_EQ(gdip::kOk, gdip::Table().GdipSaveImageToFile(picture.Handle(), widePath.data(),
                                                           &encoder, nullptr))
        << path;
}

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
    const WideText widePath = ToWideText(path);
    const CLSID encoder = EncoderClsid(kFormatPng);
    ASSERT_EQ(gdip::kOk, gdip::Table().GdipSaveImageToFile(picture.Handle(), widePath.data(),
                                                           &encoder, nullptr));
}

struct Decoded {
    int width = 0;
    int height = 0;
    std::vector<gdip::ARGB> pixels;
    gdip::ARGB At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

Decoded Decode(const std::string& path) {
    Decoded decoded;
    GdipImage picture = LoadPictureFile(path);
    if (!picture) {
        ADD_FAILURE() << "cannot decode " << path;
        return decoded;
    }
    decoded.pixels = imaging_test::Pixels(picture.Handle(), decoded.width, decoded.height);
    return decoded;
}

// The format a file's first bytes show.
std::string Signature(const std::string& path) {
    const std::string start = imaging_test::FileStart(path, 4);
    if (start.rfind("\xFF\xD8", 0) == 0) return "JPEG";
    if (start == "\x89PNG") return "PNG";
    if (start.rfind("BM", 0) == 0) return "BMP";
    if (start.rfind("GIF8", 0) == 0) return "GIF";
    if (start == std::string("II*\0", 4) || start == std::string("MM\0*", 4)) return "TIFF";
    return "none";
}

// The names of the files in a folder.
std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

// Something to do when the run logs a given line: the test's hand on the window while the run
// is on the stack (the run handles pending messages right after logging a row's line).
struct LineHook {
    std::string line;
    std::function<void()> action;
    WNDPROC previous = nullptr;
};
LineHook* g_lineHook = nullptr;

LRESULT CALLBACK HookedLogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    LineHook* hook = g_lineHook;
    if (hook == nullptr) return DefWindowProcA(hwnd, message, wParam, lParam);
    if ((message == LB_ADDSTRING || message == LB_INSERTSTRING) && hook->action &&
        hook->line == reinterpret_cast<const char*>(lParam)) {
        auto action = std::move(hook->action);
        hook->action = nullptr;
        action();
    }
    return CallWindowProcA(hook->previous, hwnd, message, wParam, lParam);
}

class BatchRunTest : public imaging_test::GdiplusTest {
  public:  // the cases' lambdas arrange the window through the fixture
    void SetUp() override {
        TheWatermarkTextStyle() = WatermarkTextStyle();
        window_ = std::make_unique<MainWindowHarness>(program_.Path());
        ASSERT_TRUE(window_->Created());
        Fresh();
    }

    void TearDown() override {
        Unhook();
        Recorder().onMessageBox = nullptr;
        window_.reset();
        data_.reset();
    }

    // A new case in the same window: new folders, no settings file, no rows, no lines, the
    // options back at the form's values, nothing recorded.
    void Fresh() {
        Unhook();
        Recorder().Reset();
        DeleteFileA(testing_support::SettingsFileIn(program_).c_str());
        data_ = std::make_unique<ScratchFolder>();
        CreateDirectoryA(PicturesFolder().c_str(), nullptr);
        C("超级列表框1").DeleteAllRows();
        C("列表框1").ClearItems();
        for (const char* task :
             {"选择框_转换格式", "选择框_改变尺寸", "选择框_文字水印", "选择框_图片水印"}) {
            Check(task, false);
        }
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
        C("编辑框1").SetText(OutputFolder());
    }

    void Unhook() {
        if (hook_.previous && IsWindow(logHwnd_)) {
            SetWindowLongPtrA(logHwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(hook_.previous));
        }
        hook_.previous = nullptr;
        g_lineHook = nullptr;
    }

    forms::Window& W() { return window_->Form(); }
    forms::Control C(const char* name) { return W()[name]; }

    std::string PicturesFolder() const { return data_->Path() + "图片\\"; }
    std::string OutputFolder() const { return data_->Path() + "输出\\"; }
    std::string Picture(const std::string& name) const { return PicturesFolder() + name; }
    std::string Output(const std::string& name) const { return OutputFolder() + name; }

    // A row as the picture list makes it: the file name, then its folder with a backslash.
    void AddRow(const std::string& folder, const std::string& name) {
        forms::Control list = C("超级列表框1");
        const int row = list.InsertRow(list.RowCount(), name, 0);
        list.SetCellText(row, 1, folder);
    }
    void AddPicture(const std::string& name, int width, int height, gdip::ARGB colour,
                    int formatCode = kFormatPng) {
        WritePicture(Picture(name), width, height, colour, formatCode);
        AddRow(PicturesFolder(), name);
    }

    // Sets a check box or radio button as the user does, with a click that runs the option
    // rules, where the control can be clicked; otherwise (a disabled or hidden control) directly.
    void Check(const char* name, bool on = true) {
        if (C(name).Checked() == on) return;
        if (testing_support::Clickable(W(), name) &&
            (on || C(name).Desc().kind == forms::ControlKind::CheckBox)) {
            Click(W(), name);
        } else {
            C(name).SetChecked(on);
        }
    }
    void Select(const char* combo, const std::string& item) {
        forms::Control control = C(combo);
        for (int i = 0; i < control.ItemCount(); ++i) {
            if (control.ItemText(i) == item) {
                control.SetSelected(i);
                return;
            }
        }
        ADD_FAILURE() << combo << " has no item " << item;
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

    void Start() { Click(W(), "按钮_开始转换"); }

    std::vector<std::string> LogLines() {
        forms::Control log = C("列表框1");
        std::vector<std::string> lines;
        for (int i = 0; i < log.ItemCount(); ++i) lines.push_back(log.ItemText(i));
        return lines;
    }

    std::vector<std::string> MessageTexts() {
        std::vector<std::string> texts;
        for (const auto& box : Recorder().messageBoxes) texts.push_back(box.text);
        return texts;
    }

    // Runs `action` when the run logs `line`.
    void WhenLogged(const std::string& line, std::function<void()> action) {
        logHwnd_ = C("列表框1").Hwnd();
        hook_.line = line;
        hook_.action = std::move(action);
        g_lineHook = &hook_;
        hook_.previous = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(logHwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HookedLogProc)));
    }

    ScratchFolder program_;                // the settings file's folder
    std::unique_ptr<ScratchFolder> data_;  // pictures and outputs, new for each case
    std::unique_ptr<MainWindowHarness> window_;
    LineHook hook_;
    HWND logHwnd_ = nullptr;
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
    EXPECT_EQ(std::vector<std::string>{"请设置水印图片"}, MessageTexts());
    EXPECT_EQ("", C("编辑框_图片路径").Text());
    EXPECT_EQ(C("编辑框_图片路径").Hwnd(), GetFocus());
}

TEST_F(BatchRunTest, AWatermarkPathWithSpacesAroundItPassesAndIsKeptAsTyped) {
    AddPicture("a.png", 60, 40, kBlue);
    WritePicture(Picture("mark.png"), 8, 6, kRed);
    const std::string typed = "  " + Picture("mark.png") + "  ";
    PictureWatermark(typed, "左上");
    Start();
    EXPECT_EQ(std::vector<std::string>{"全部处理完毕"}, MessageTexts());
    EXPECT_EQ(typed, TheConversionSettings().watermarkText);
    // The picture behind the spaces is the one drawn.
    Decoded out = Decode(Output("a.png"));
    ASSERT_EQ(60, out.width);
    EXPECT_LE(imaging_test::ChannelDistance(kRed, out.At(12, 12)), kTolerance);
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
            EXPECT_LE(imaging_test::ChannelDistance(kBlue, out.At(out.width / 2, out.height / 2)),
                      kTolerance);
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
        WritePicture(Picture(c.source), 24, 16, kBlue);
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
        EXPECT_EQ(std::vector<std::string>{"全部处理完毕"}, MessageTexts());
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
        auto ExpectColour = [&](gdip::ARGB colour, int x, int y) {
            if (x < 0 || y < 0 || x >= out.width || y >= out.height) return;
            EXPECT_LE(imaging_test::ChannelDistance(colour, out.At(x, y)), kTolerance)
                << "at (" << x << ", " << y << ")";
        };
        const int right = c.x + c.markWidth - 1, bottom = c.y + c.markHeight - 1;
        // The green edges begin and end where the watermark does; the red lies between them.
        ExpectColour(kGreen, c.x, c.y);
        ExpectColour(kGreen, right, bottom);
        ExpectColour(kRed, c.x + 3, c.y + c.markHeight / 2);
        ExpectColour(kRed, right - 3, c.y + c.markHeight / 2);
        ExpectColour(kBlue, c.x - 1, c.y + c.markHeight / 2);
        ExpectColour(kBlue, right + 1, c.y + c.markHeight / 2);
        ExpectColour(kBlue, c.x + c.markWidth / 2, c.y - 1);
        ExpectColour(kBlue, c.x + c.markWidth / 2, bottom + 1);
        if (c.x < 0) {
            // Cut at both sides: red at the first and last column means the ends lie exactly
            // 3 columns beyond the picture on each side.
            ExpectColour(kRed, 0, c.y + 5);
            ExpectColour(kRed, out.width - 1, c.y + 5);
        }
    }
}

TEST_F(BatchRunTest, ThePictureWatermarkKeepsItsOwnSizeAndIsOpaque) {
    AddPicture("big.png", 400, 300, kBlue);
    WritePicture(Picture("mark.png"), 20, 10, kRed);
    ResizeByPercent("50");
    PictureWatermark(Picture("mark.png"), "左上");
    Select("组合框_水印透明", "50");
    Start();
    Decoded out = Decode(Output("big.png"));
    ASSERT_EQ(200, out.width);
    ASSERT_EQ(150, out.height);
    EXPECT_LE(imaging_test::ChannelDistance(kRed, out.At(11, 11)), kTolerance);
    EXPECT_LE(imaging_test::ChannelDistance(kRed, out.At(28, 18)), kTolerance);
    EXPECT_LE(imaging_test::ChannelDistance(kBlue, out.At(31, 15)), kTolerance);
    EXPECT_LE(imaging_test::ChannelDistance(kBlue, out.At(20, 21)), kTolerance);
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
        EXPECT_NEAR(darkestSum, darkest.inside, 3 * kTolerance) << "black text at that opacity";
        EXPECT_EQ(3 * 255, darkest.outside) << "nothing drawn outside the watermark's box";
        EXPECT_NEAR(darkestSum, DarkestAround(out, leftThird).inside, 3 * kTolerance)
            << "the text begins at the box's left";
    }
}

// Writes a photo-like picture in the given format.
void WritePhoto(const std::string& path, int width, int height, int formatCode) {
    GdipImage picture = imaging_test::PhotoLikePicture(width, height);
    const WideText widePath = ToWideText(path);
    const CLSID encoder = EncoderClsid(formatCode);
    ASSERT_EQ(gdip::kOk, gdip::Table().GdipSaveImageToFile(picture.Handle(), widePath.data(),
                                                           &encoder, nullptr));
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
    EXPECT_EQ((std::vector<std::string>{"全部处理完毕", "全部处理完毕"}), MessageTexts());

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
              MessageTexts());
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
    EXPECT_EQ(std::vector<std::string>{"全部处理完毕"}, MessageTexts());
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
                  MessageTexts());
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
              MessageTexts());
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
              MessageTexts())
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
    EXPECT_EQ(std::vector<std::string>{"全部处理完毕"}, MessageTexts());
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
