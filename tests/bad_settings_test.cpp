// Settings files users and other programs leave behind: absurd numbers, binary bytes, a value of
// a megabyte, a face no one has, sections given twice, a file marked read-only or held open by
// another program. The real main window loads each; a run with those values logs its lines and
// ends.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/watermark_text_style.h"
#include "fontwindow/font_settings_window.h"
#include "tests/imaging_test_support.h"
#include "tests/support/loaded_settings.h"
#include "tests/support/main_window_harness.h"
#include "tests/support/modal_recorder.h"
#include "tests/support/run_support.h"

using testing_support::Click;
using testing_support::Defaults;
using testing_support::ExpectLoaded;
using testing_support::HeldFile;
using testing_support::Loaded;
using testing_support::LogLines;
using testing_support::MainWindowHarness;
using testing_support::Observe;
using testing_support::ReadFileBytes;
using testing_support::RecordedMessageTexts;
using testing_support::Recorder;
using testing_support::ScratchFolder;
using testing_support::SettingsFileIn;
using testing_support::WriteFileBytes;

namespace {

constexpr std::uint32_t kBlue = 0xFF2040C0;
const std::string kMegabyte(1 << 20, '9');
const std::string kNul(1, '\0');

// `count` copies of a text.
std::string Repeated(const std::string& text, std::size_t count) {
    std::string all;
    all.reserve(text.size() * count);
    for (std::size_t i = 0; i < count; ++i) all += text;
    return all;
}

// 字 is two bytes in GBK: a megabyte of them, cut at 10239 bytes, splits one in two.
const std::string kMegabyteOfCharacters = Repeated("字", 1 << 19);

struct LoadCase {
    const char* name;
    std::string fileBytes;
    std::function<void(Loaded&)> change;  // from the defaults to what loading must give
};

// Every number-like key of both sections set to one text.
std::string AllSizesAre(const std::string& number) {
    return "[字体设置]\r\n字体大小=" + number + "\r\n字体字型=" + number +
           "\r\n文字颜色=" + number + "\r\n光晕颜色=" + number + "\r\n阴影颜色=" + number +
           "\r\n[转换设置]\r\n宽度=" + number + "\r\n高度=" + number + "\r\n百分比=" + number +
           "\r\n水印透明=" + number + "\r\n";
}

// What AllSizesAre loads: sizes and styles out of range take their fallbacks, colours keep
// their 32 bits, the size texts are shown as stored and the lists keep the form's choices.
std::function<void(Loaded&)> SizesLoadAs(const std::string& number, std::uint32_t colour) {
    return [number, colour](Loaded& e) {
        e.size = 12;
        e.style = 1;
        e.fontDisplay = "宋体(12)";
        e.textColour = e.glowColour = e.shadowColour = colour;
        e.width = e.height = number;
    };
}

std::vector<LoadCase> BadFiles() {
    return {
        {"sizes of 99999999", AllSizesAre("99999999"), SizesLoadAs("99999999", 99999999u)},
        {"sizes of -5", AllSizesAre("-5"), SizesLoadAs("-5", 0xFFFFFFFBu)},
        {"sizes of 2147483648", AllSizesAre("2147483648"), SizesLoadAs("2147483648", 0x80000000u)},
        // Cut to 32 bits these would be 30 and 2, both in range.
        {"sizes that wrap into range in 32 bits",
         "[字体设置]\r\n字体大小=4294967326\r\n字体字型=-4294967294\r\n",
         [](Loaded& e) {
             e.size = 12;
             e.style = 1;
             e.fontDisplay = "宋体(12)";
         }},
        {"a face that does not exist", "[字体设置]\r\n字体名称=并无此字体\r\n",
         [](Loaded& e) {
             e.face = "并无此字体";
             e.fontDisplay = "并无此字体(30)";
         }},
        // The profile reader takes the first section of a name and the first key of a name;
        // keys that only a later copy of the section holds are missing.
        {"a section repeated",
         "[转换设置]\r\n宽度=111\r\n[字体设置]\r\n字体大小=40\r\n[转换设置]\r\n宽度=222\r\n"
         "高度=333\r\n[字体设置]\r\n字体大小=50\r\n字体字型=3\r\n",
         [](Loaded& e) {
             e.width = "111";
             e.size = 40;
             e.fontDisplay = "宋体(40)";
         }},
        {"a key repeated", "[转换设置]\r\n宽度=111\r\n宽度=222\r\n",
         [](Loaded& e) { e.width = "111"; }},
        {"binary lines and invalid GBK around good ones",
         "\x01\x02\x7F\xFF\x80\x1B[0m\r\n[\xFF\xFE]\r\n\xFF=\xFF\r\n[转换设置]\r\n\x81\x30\x81\x30="
         "1"
         "\r\n宽度=640\r\n\xFE\xFE\xFE\r\n\x80\x80=\x80\x80\r\n高度=480\r\n",
         [](Loaded& e) {
             e.width = "640";
             e.height = "480";
         }},
        // A NUL byte ends a value; a line of them is no entry.
        {"NUL bytes",
         "[转换设置]\r\n宽度=64" + kNul + "99\r\n" + std::string(64, '\0') +
             "\r\n高度=48\r\n文字内容=水" + kNul + "印\r\n",
         [](Loaded& e) {
             e.width = "64";
             e.height = "48";
             e.watermarkText = "水";
         }},
        // Values are read into 10240 bytes: 10239 of them and the end of the text.
        {"a megabyte of digits", "[转换设置]\r\n宽度=" + kMegabyte + "\r\n高度=480\r\n",
         [](Loaded& e) {
             e.width = std::string(10239, '9');
             e.height = "480";
         }},
        {"a megabyte of double-byte characters, cut in one",
         "[字体设置]\r\n字体名称=" + kMegabyteOfCharacters + "\r\n字体大小=40\r\n",
         [](Loaded& e) {
             e.face = Repeated("字", 5119);
             e.size = 40;
             e.fontDisplay = e.face + "(40)";
         }},
        {"a megabyte of double-byte characters after one byte, cut between two",
         "[转换设置]\r\n文字内容=x" + kMegabyteOfCharacters + "\r\n",
         [](Loaded& e) { e.watermarkText = "x" + Repeated("字", 5119); }},
    };
}

TEST(BadSettings, EachFileLoadsWhatTheReadingRulesGive) {
    for (const LoadCase& c : BadFiles()) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder;
        WriteFileBytes(SettingsFileIn(folder), c.fileBytes);
        MainWindowHarness window(folder.Path());
        ASSERT_TRUE(window.Created());
        Loaded want = Defaults();
        c.change(want);
        ExpectLoaded(want, Observe(window));
    }
}

// A picture in a data folder, and the main window made on a settings file that points the
// output folder there.
class BadSettingsRun : public imaging_test::GdiplusTest {
  protected:
    void TearDown() override { window_.reset(); }

    std::string PicturesFolder() const { return data_->Path() + "图片\\"; }
    std::string OutputFolder() const { return data_->Path() + "输出\\"; }

    // A new data folder and the file as given, with the data folder's output folder added. Writes
    // one 40 x 30 picture, a.png, and lists it.
    void Open(const std::string& settings) {
        Recorder().Reset();
        window_.reset();
        data_ = std::make_unique<ScratchFolder>();
        // Into the first "转换设置": the profile reader does not look into a second one.
        std::string bytes = settings;
        const std::string section = "[转换设置]\r\n";
        const std::string folderKey = "保存目录=" + OutputFolder() + "\r\n";
        const std::size_t at = bytes.find(section);
        if (at == std::string::npos) {
            bytes += "\r\n" + section + folderKey;
        } else {
            bytes.insert(at + section.size(), folderKey);
        }
        WriteFileBytes(SettingsFileIn(program_), bytes);
        window_ = std::make_unique<MainWindowHarness>(program_.Path());
        ASSERT_TRUE(window_->Created());
        ASSERT_EQ(OutputFolder(), W()["编辑框1"].Text()) << "the run would write elsewhere";
        CreateDirectoryA(PicturesFolder().c_str(), nullptr);
        testing_support::WriteSolidPicture(PicturesFolder() + "a.png", 40, 30, kBlue);
        testing_support::AddPictureRow(W(), PicturesFolder(), "a.png");
    }

    // As Open, then the window made again on the same file marked read-only; `before` is given
    // the file's bytes as they were then.
    void OpenOnReadOnlyFile(const std::string& settings, std::string& before) {
        ASSERT_NO_FATAL_FAILURE(Open(settings));
        window_.reset();
        const std::string path = SettingsFileIn(program_);
        ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
        before = ReadFileBytes(path);
        window_ = std::make_unique<MainWindowHarness>(program_.Path());
        ASSERT_TRUE(window_->Created());
    }

    forms::Window& W() { return window_->Form(); }

    // Starts the run and checks that it ended: the window is unlocked again.
    void Start() {
        Click(W(), "按钮_开始转换");
        EXPECT_FALSE(IsWindowVisible(W()["遮照框"].Hwnd())) << "the run did not end";
        EXPECT_TRUE(IsWindowEnabled(W()["按钮_添加图片"].Hwnd())) << "the run did not end";
    }

    ScratchFolder program_;
    std::unique_ptr<ScratchFolder> data_;
    std::unique_ptr<MainWindowHarness> window_;
};

const std::vector<std::string> kWrittenLines = {"正在处理:a.png", "处理完毕"};
const std::vector<std::string> kNotWrittenLines = {"正在处理:a.png", "保存失败:a.png", "处理完毕"};
const std::vector<std::string> kWrittenMessage = {"全部处理完毕"};
const std::vector<std::string> kNotWrittenMessage = {
    "全部处理完毕\r\n其中 1 张图片未能转换，详见处理记录"};

struct RunCase {
    const char* name;
    std::string settings;
    int width, height;  // of the picture written, 0 when none may be
};

const char* const kBySize = "[转换设置]\r\n改变尺寸=真\r\n按尺寸=真\r\n按百分比=假\r\n";

std::vector<RunCase> RunCases() {
    const std::string bySize = kBySize;
    return {
        {"width 99999999", bySize + "指定宽度=真\r\n宽度=99999999\r\n", 0, 0},
        {"width 2147483648", bySize + "指定宽度=真\r\n宽度=2147483648\r\n", 0, 0},
        {"width -5", bySize + "指定宽度=真\r\n宽度=-5\r\n", 0, 0},
        {"height 99999999 alone", bySize + "指定宽度=假\r\n指定高度=真\r\n高度=99999999\r\n", 0, 0},
        {"both sides 2147483648 and -5",
         bySize + "指定宽度=真\r\n宽度=2147483648\r\n指定高度=真\r\n高度=-5\r\n", 0, 0},
        {"a width of a megabyte of digits", bySize + "指定宽度=真\r\n宽度=" + kMegabyte + "\r\n", 0,
         0},
        {"a width that is no number keeps the size", bySize + "指定宽度=真\r\n宽度=宽\r\n", 40, 30},
        {"a percentage of 99999999 keeps 50",
         "[转换设置]\r\n改变尺寸=真\r\n按尺寸=假\r\n按百分比=真\r\n百分比=99999999\r\n", 20, 15},
        {"a text watermark in a face that does not exist, at size 99999999",
         "[字体设置]\r\n字体名称=并无此字体\r\n字体大小=99999999\r\n文字颜色=-5\r\n光晕颜色="
         "2147483648\r\n阴影字=真\r\n阴影颜色=99999999\r\n[转换设置]\r\n文字水印=真\r\n",
         40, 30},
        {"a text watermark of a megabyte",
         "[转换设置]\r\n文字水印=真\r\n文字内容=" + kMegabyteOfCharacters + "\r\n", 40, 30},
        {"a face name of a megabyte",
         "[字体设置]\r\n字体名称=" + kMegabyteOfCharacters + "\r\n[转换设置]\r\n文字水印=真\r\n",
         40, 30},
        {"binary lines around the options",
         "\x01\xFF\x80\r\n[转换设置]\r\n\x81\x30=\xFE\r\n转换格式=真\r\n新格式=PNG\r\n\x7F\x7F\r\n",
         40, 30},
    };
}

TEST_F(BadSettingsRun, ARunWithTheLoadedValuesLogsItsLinesAndEnds) {
    for (const RunCase& c : RunCases()) {
        SCOPED_TRACE(c.name);
        Open(c.settings);
        Start();
        const bool written = c.width > 0;
        EXPECT_EQ(written ? kWrittenLines : kNotWrittenLines, LogLines(W()));
        EXPECT_EQ(written ? kWrittenMessage : kNotWrittenMessage, RecordedMessageTexts());
        const std::vector<std::string> outputs = testing_support::FilesUnder(OutputFolder());
        if (written) {
            ASSERT_EQ(std::vector<std::string>{"a.png"}, outputs) << "only the picture written";
            const testing_support::DecodedSize size =
                testing_support::PictureSizeOf(OutputFolder() + "a.png");
            EXPECT_EQ(c.width, size.width);
            EXPECT_EQ(c.height, size.height);
        } else {
            EXPECT_TRUE(outputs.empty()) << "nothing may be written, not even a temporary file";
        }
    }
}

// Options of a run that differ from the defaults, so that their loading shows.
const char* const kStoredOptions =
    "[字体设置]\r\n字体大小=40\r\n[转换设置]\r\n转换格式=真\r\n新格式=PNG\r\n宽度=640\r\n";

TEST_F(BadSettingsRun, AReadOnlyFileLoadsAndIsNeverWritten) {
    std::string before;
    ASSERT_NO_FATAL_FAILURE(OpenOnReadOnlyFile(kStoredOptions, before));
    const std::string path = SettingsFileIn(program_);
    EXPECT_EQ(40, TheWatermarkTextStyle().size);
    EXPECT_TRUE(W()["选择框_转换格式"].Checked());
    EXPECT_EQ("640", W()["编辑框_宽度"].Text());
    testing_support::AddPictureRow(W(), PicturesFolder(), "a.png");

    // The run stores its options, the folder button its folder: neither reaches the file.
    W()["编辑框_宽度"].SetText("320");
    Start();
    EXPECT_EQ(kWrittenLines, LogLines(W()));
    EXPECT_EQ(kWrittenMessage, RecordedMessageTexts());
    Recorder().folderAnswers.push_back(std::string("C:\\"));
    Click(W(), "按钮_设置文件夹");
    EXPECT_EQ("C:\\", W()["编辑框1"].Text());

    EXPECT_EQ(before, ReadFileBytes(path));
    EXPECT_TRUE(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY);
}

TEST_F(BadSettingsRun, AFileHeldByAnotherProgramGivesTheDefaultsAndIsNotDamaged) {
    Open(kStoredOptions);
    window_.reset();
    const std::string path = SettingsFileIn(program_);
    const std::string before = ReadFileBytes(path);
    HeldFile held(path);
    ASSERT_TRUE(held.Held());

    window_ = std::make_unique<MainWindowHarness>(program_.Path());
    ASSERT_TRUE(window_->Created());
    ExpectLoaded(Defaults(), Observe(*window_));

    // A run with the defaults and one task, into the data folder: its writes fail unseen.
    testing_support::AddPictureRow(W(), PicturesFolder(), "a.png");
    Click(W(), "选择框_转换格式");
    W()["编辑框1"].SetText(OutputFolder());
    Start();
    EXPECT_EQ(kWrittenLines, LogLines(W()));
    EXPECT_EQ(kWrittenMessage, RecordedMessageTexts());

    held.Release();
    EXPECT_EQ(before, ReadFileBytes(path));
}

struct FontWindowCase {
    const char* name;
    std::string fontSection;
    std::string display;  // 编辑框5 after OK: the face chosen in the list and the size
};

// The font window shows what loading made of the values, and its OK stores what it shows: here
// into a read-only file, which keeps its bytes.
TEST_F(BadSettingsRun, TheFontWindowOpensOverBadValuesAndItsOkLeavesAReadOnlyFileAlone) {
    const std::vector<FontWindowCase> cases = {
        // No face in the list begins with these: the list has no selection and OK stores none.
        {"a face of a megabyte, sizes of 99999999",
         "字体名称=" + kMegabyteOfCharacters + "\r\n字体大小=99999999\r\n字体字型=99999999\r\n",
         "(12)"},
        {"a face that does not exist, sizes of -5, colours of 2147483648",
         "字体名称=并无此字体\r\n字体大小=-5\r\n字体字型=-5\r\n文字颜色=2147483648\r\n"
         "光晕颜色=2147483648\r\n",
         "(12)"},
        {"sizes of 2147483648, colours of -5",
         "字体大小=2147483648\r\n字体字型=2147483648\r\n文字颜色=-5\r\n阴影颜色=-5\r\n",
         "宋体(12)"},
    };
    for (const FontWindowCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::string before;
        ASSERT_NO_FATAL_FAILURE(OpenOnReadOnlyFile("[字体设置]\r\n" + c.fontSection, before));
        const std::string path = SettingsFileIn(program_);
        {
            FontSettingsWindow font(W());
            ASSERT_TRUE(font.Create());
            forms::ProcessPendingMessages();
            EXPECT_EQ("12", font.Form()["组合框2"].ItemText(font.Form()["组合框2"].Selected()));
            EXPECT_TRUE(font.Form()["单选框1"].Checked()) << "style 1, regular";
            Click(font.Form(), "按钮1");
        }
        EXPECT_EQ(c.display, W()["编辑框5"].Text());
        EXPECT_EQ(12, TheWatermarkTextStyle().size);
        EXPECT_EQ(1, TheWatermarkTextStyle().style);
        EXPECT_EQ(before, ReadFileBytes(path));
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

}  // namespace
