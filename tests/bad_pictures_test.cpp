// Bad and awkward pictures in the real main window: each one listed between two good pictures in
// one batch run, and each one pressed in the picture list for the preview. A run goes on past a
// picture it cannot convert, logs it, writes no damaged file, leaves the source as it was and
// holds no source open once the next picture is under way; the preview shows what it can and
// changes nothing for what it cannot.
//
// The pictures come from tests/fixtures/bad-pictures/ (tools/make_bad_pictures.py), embedded in
// the test program; the zero-byte file is written here.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/program_state.h"
#include "app/watermark_text_style.h"
#include "imaging/conversions.h"
#include "imaging/encoders.h"
#include "imaging/flatten_rules.h"
#include "imaging/image_format.h"
#include "picturelist/preview.h"
#include "tests/imaging_test_support.h"
#include "tests/support/main_window_harness.h"
#include "tests/support/modal_recorder.h"
#include "tests/support/picture_list_support.h"

using testing_support::Click;
using testing_support::MainWindowHarness;
using testing_support::Recorder;
using testing_support::ScratchFolder;

namespace {

constexpr gdip::ARGB kBlue = 0xFF2040C0;
constexpr gdip::ARGB kRed = 0xFFFF0000;
constexpr gdip::ARGB kGreen = 0xFF00FF00;
constexpr gdip::ARGB kOrange = 0xFFFF8000;
constexpr gdip::ARGB kWhite = 0xFFFFFFFF;
constexpr gdip::ARGB kHalfRedOverWhite = 0xFFFF7F7F;  // red at alpha 128 laid on white
constexpr int kTolerance = 24;                        // per channel, for JPEG-encoded pixels

// A fixture picture as the test program embeds it.
std::string Fixture(const char* resourceName) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, resourceName, MAKEINTRESOURCEA(10) /* RT_RCDATA */);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    if (bytes == nullptr) {
        ADD_FAILURE() << "no embedded picture " << resourceName;
        return {};
    }
    return std::string(bytes, SizeofResource(module, found));
}

// A bad picture: its file name in the list and its bytes.
struct BadFile {
    const char* name;
    const char* resource;  // null: a zero-byte file
    std::string Bytes() const { return resource ? Fixture(resource) : std::string(); }
};

const BadFile kEmpty{"empty.png", nullptr};
const BadFile kTruncatedJpeg{"truncated.jpg", "bad_truncated_jpg"};
const BadFile kTextPng{"text.png", "bad_text_png"};
const BadFile kHugePng{"huge.png", "bad_huge_png"};
const BadFile kAnimatedGif{"animated.gif", "bad_animated_gif"};
const BadFile kCmykJpeg{"cmyk.jpg", "bad_cmyk_jpg"};
const BadFile kRgba16Png{"rgba16.png", "bad_rgba16_png"};
const BadFile kTransparentPng{"transparent.png", "bad_transparent_png"};

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
    return "none";
}

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

// Whether nothing holds the file open against a rename: it is renamed and renamed back.
bool NotHeldOpen(const std::string& path) {
    const std::string moved = path + ".moved";
    if (!MoveFileA(path.c_str(), moved.c_str())) return false;
    return MoveFileA(moved.c_str(), path.c_str()) != FALSE;
}

std::string ColourText(gdip::ARGB colour) {
    char text[16];
    wsprintfA(text, "%08X", colour);
    return text;
}

// Expects the pixel within the tolerance of the colour, alpha included.
void ExpectColour(const Decoded& picture, int x, int y, gdip::ARGB expected,
                  int tolerance = kTolerance) {
    const gdip::ARGB seen = picture.At(x, y);
    EXPECT_LE(imaging_test::ChannelDistance(seen, expected), tolerance)
        << "pixel (" << x << ", " << y << ") is " << ColourText(seen) << ", expected about "
        << ColourText(expected);
}

// A run calls this when its list box gets a line: the test's hand inside the run.
struct LineWatch {
    std::string line;
    std::function<void()> action;
    WNDPROC previous = nullptr;
};
LineWatch* g_watch = nullptr;

LRESULT CALLBACK WatchedLogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    LineWatch* watch = g_watch;
    if (watch == nullptr) return DefWindowProcA(hwnd, message, wParam, lParam);
    if ((message == LB_ADDSTRING || message == LB_INSERTSTRING) && watch->action &&
        watch->line == reinterpret_cast<const char*>(lParam)) {
        watch->action();
        watch->action = nullptr;
    }
    return CallWindowProcA(watch->previous, hwnd, message, wParam, lParam);
}

// What a run may make of a bad picture.
enum class Outcome {
    kNotConverted,         // a failure line and no output
    kConverted,            // a whole output picture, checked by `check`
    kConvertedOrNotLoaded  // either; decoders differ on damaged data
};

struct RunCase {
    const char* name;
    BadFile file;
    const char* formatItem;  // the item of 组合框_新格式
    const char* width;       // a width to resize to, or null for the picture's own size
    Outcome outcome;
    std::vector<std::string> failurePrefixes;  // the failure lines allowed, before the file name
    int outWidth = 0, outHeight = 0;           // the converted picture's size
    std::function<void(const Decoded&)> check;
};

class BadPicturesTest : public imaging_test::GdiplusTest {
  protected:
    void SetUp() override {
        TheWatermarkTextStyle() = WatermarkTextStyle();
        ConstructProgramObjects();
        window_ = std::make_unique<MainWindowHarness>(program_.Path());
        ASSERT_TRUE(window_->Created());
    }

    void TearDown() override {
        StopWatching();
        window_.reset();
        data_.reset();
        TheProgram().previewCanvas.reset();
    }

    // A new case in the same window: new folders, no rows, no lines, nothing recorded, the tasks
    // off, the output folder typed in.
    void Fresh() {
        StopWatching();
        Recorder().Reset();
        DeleteFileA(testing_support::SettingsFileIn(program_).c_str());
        data_ = std::make_unique<ScratchFolder>();
        CreateDirectoryA(PicturesFolder().c_str(), nullptr);
        C("超级列表框1").DeleteAllRows();
        C("列表框1").ClearItems();
        for (const char* task :
             {"选择框_转换格式", "选择框_改变尺寸", "选择框_文字水印", "选择框_图片水印"}) {
            SetCheck(task, false);
        }
        C("编辑框1").SetText(OutputFolder());
    }

    forms::Window& W() { return window_->Form(); }
    forms::Control C(const char* name) { return W()[name]; }
    std::string PicturesFolder() const { return data_->Path() + "图片\\"; }
    std::string OutputFolder() const { return data_->Path() + "输出\\"; }
    std::string Picture(const std::string& name) const { return PicturesFolder() + name; }
    std::string Output(const std::string& name) const { return OutputFolder() + name; }

    // A row as the picture list makes it: the file name, then its folder with a backslash.
    void AddRow(const std::string& name) {
        forms::Control list = C("超级列表框1");
        const int row = list.InsertRow(list.RowCount(), name, 0);
        list.SetCellText(row, 1, PicturesFolder());
    }
    void AddGoodPicture(const std::string& name) {
        GdipImage picture = imaging_test::SolidPicture(20, 20, kBlue);
        const WideText widePath = ToWideText(Picture(name));
        const CLSID encoder = EncoderClsid(kFormatPng);
        ASSERT_EQ(gdip::kOk, gdip::Table().GdipSaveImageToFile(picture.Handle(), widePath.data(),
                                                               &encoder, nullptr));
        AddRow(name);
    }

    void SetCheck(const char* name, bool on) {
        if (C(name).Checked() == on) return;
        if (testing_support::Clickable(W(), name)) {
            Click(W(), name);
        } else {
            C(name).SetChecked(on);
        }
        ASSERT_EQ(on, C(name).Checked()) << name;
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

    std::vector<std::string> LogLines() {
        forms::Control log = C("列表框1");
        std::vector<std::string> lines;
        for (int i = 0; i < log.ItemCount(); ++i) lines.push_back(log.ItemText(i));
        return lines;
    }

    void WhenLogged(const std::string& line, std::function<void()> action) {
        logHwnd_ = C("列表框1").Hwnd();
        watch_.line = line;
        watch_.action = std::move(action);
        g_watch = &watch_;
        watch_.previous = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(logHwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WatchedLogProc)));
    }
    void StopWatching() {
        if (watch_.previous && IsWindow(logHwnd_)) {
            SetWindowLongPtrA(logHwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(watch_.previous));
        }
        watch_.previous = nullptr;
        g_watch = nullptr;
    }

    void RunBetweenGoodOnes(const RunCase& c);

    ScratchFolder program_;                // the settings file's folder
    std::unique_ptr<ScratchFolder> data_;  // pictures and outputs, new for each case
    std::unique_ptr<MainWindowHarness> window_;
    LineWatch watch_;
    HWND logHwnd_ = nullptr;
};

std::string OutputName(const std::string& fileName, const char* formatItem) {
    std::string extension = formatItem;
    for (char& c : extension) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return fileName.substr(0, fileName.rfind('.') + 1) + extension;
}

bool StartsWithOneOf(const std::string& line, const std::vector<std::string>& prefixes,
                     const std::string& fileName) {
    for (const std::string& prefix : prefixes) {
        if (line == prefix + fileName) return true;
    }
    return false;
}

// One run: a good picture, the bad one, another good one.
void BadPicturesTest::RunBetweenGoodOnes(const RunCase& c) {
    Fresh();
    const std::string bytes = c.file.Bytes();
    testing_support::WriteFileBytes(Picture(c.file.name), bytes);
    AddGoodPicture("before.png");
    AddRow(c.file.name);
    AddGoodPicture("after.png");
    SetCheck("选择框_转换格式", true);
    Select("组合框_新格式", c.formatItem);
    if (c.width != nullptr) {
        SetCheck("选择框_改变尺寸", true);
        SetCheck("单选框_按尺寸", true);
        SetCheck("选择框_指定宽度", true);
        SetCheck("选择框_指定高度", false);
        C("编辑框_宽度").SetText(c.width);
    }
    // By the time the run takes up the next picture, the bad one is no longer held.
    bool badReleasedInTime = false;
    WhenLogged("正在处理:after.png",
               [&] { badReleasedInTime = NotHeldOpen(Picture(c.file.name)); });
    Click(W(), "按钮_开始转换");
    StopWatching();

    const std::vector<std::string> lines = LogLines();
    ASSERT_GE(lines.size(), 4u) << "the run went on to the end";
    EXPECT_EQ("正在处理:before.png", lines[0]);
    EXPECT_EQ(std::string("正在处理:") + c.file.name, lines[1]);
    EXPECT_EQ("正在处理:after.png", lines[lines.size() - 2]);
    EXPECT_EQ("处理完毕", lines.back());
    const bool failed = lines.size() == 5;
    if (failed) {
        EXPECT_TRUE(StartsWithOneOf(lines[2], c.failurePrefixes, c.file.name)) << lines[2];
        EXPECT_NE(Outcome::kConverted, c.outcome) << "not converted: " << lines[2];
    } else {
        EXPECT_EQ(4u, lines.size());
        EXPECT_NE(Outcome::kNotConverted, c.outcome) << "converted, and said nothing";
    }
    ASSERT_EQ(1u, Recorder().messageBoxes.size());
    EXPECT_EQ(failed ? "全部处理完毕\r\n其中 1 张图片未能转换，详见处理记录" : "全部处理完毕",
              Recorder().messageBoxes[0].text);

    const std::string badOutput = Output(OutputName(c.file.name, c.formatItem));
    if (failed) {
        EXPECT_FALSE(testing_support::FileExists(badOutput)) << "no damaged file";
    } else {
        EXPECT_EQ(c.formatItem == std::string("JPG") ? "JPEG" : c.formatItem, Signature(badOutput));
        const Decoded out = Decode(badOutput);
        EXPECT_EQ(c.outWidth, out.width);
        EXPECT_EQ(c.outHeight, out.height);
        if (c.check && out.width == c.outWidth && out.height == c.outHeight) c.check(out);
    }
    for (const char* good : {"before.png", "after.png"}) {
        const Decoded out = Decode(Output(OutputName(good, c.formatItem)));
        EXPECT_EQ(c.width ? 100 : 20, out.width) << good;
    }
    EXPECT_EQ(failed ? 2u : 3u, FilesIn(OutputFolder()).size()) << "no temporary file left";

    EXPECT_EQ(bytes, testing_support::ReadFileBytes(Picture(c.file.name)))
        << "the source is unchanged";
    EXPECT_TRUE(badReleasedInTime) << "the bad picture was still held at the next one";
    for (const std::string& source :
         {std::string(c.file.name), std::string("before.png"), std::string("after.png")}) {
        EXPECT_TRUE(NotHeldOpen(Picture(source))) << source << " is held after the run";
    }
}

TEST_F(BadPicturesTest, EachBadPictureInARunBetweenGoodOnes) {
    const std::vector<std::string> notLoaded = {"载入失败:"};
    const std::vector<std::string> notLoadedOrTooLarge = {"载入失败:", "保存失败:"};
    const std::vector<RunCase> cases = {
        {"a zero-byte file", kEmpty, "JPG", nullptr, Outcome::kNotConverted, notLoaded},
        {"a text file named .png", kTextPng, "JPG", nullptr, Outcome::kNotConverted, notLoaded},
        {"a header of 60000 x 60000 pixels", kHugePng, "JPG", nullptr, Outcome::kNotConverted,
         notLoadedOrTooLarge},
        {"a header of 60000 x 60000 pixels drawn smaller", kHugePng, "PNG", "100",
         Outcome::kNotConverted, notLoadedOrTooLarge},
        {"a truncated JPEG", kTruncatedJpeg, "PNG", nullptr, Outcome::kConvertedOrNotLoaded,
         notLoaded, 64, 48,
         [](const Decoded& out) {
             // The top rows were whole in the file: the gradient starts dark at the top left.
             ExpectColour(out, 0, 0, 0xFF000000, 40);
             ExpectColour(out, 63, 0, 0xFFFA0000, 40);
         }},
        {"an animated GIF gives its first frame",
         kAnimatedGif,
         "PNG",
         nullptr,
         Outcome::kConverted,
         {},
         24,
         16,
         [](const Decoded& out) {
             for (int y = 0; y < out.height; y += 5) {
                 for (int x = 0; x < out.width; x += 5) ExpectColour(out, x, y, kRed, 2);
             }
         }},
        {"a CMYK JPEG", kCmykJpeg, "PNG", nullptr, Outcome::kConvertedOrNotLoaded, notLoaded, 32,
         24, [](const Decoded& out) { ExpectColour(out, 16, 12, kOrange, 40); }},
        {"a 16-bit PNG with alpha to PNG",
         kRgba16Png,
         "PNG",
         nullptr,
         Outcome::kConverted,
         {},
         20,
         10,
         [](const Decoded& out) {
             ExpectColour(out, 2, 5, kGreen, 2);
             ExpectColour(out, 17, 5, 0x80FF0000, 2);
         }},
        {"a 16-bit PNG with alpha to JPG",
         kRgba16Png,
         "JPG",
         nullptr,
         Outcome::kConverted,
         {},
         20,
         10,
         [](const Decoded& out) {
             ExpectColour(out, 2, 5, kGreen);
             ExpectColour(out, 17, 5, kHalfRedOverWhite);
         }},
        {"transparency to PNG",
         kTransparentPng,
         "PNG",
         nullptr,
         Outcome::kConverted,
         {},
         30,
         20,
         [](const Decoded& out) {
             ExpectColour(out, 4, 10, 0xFF0000FF, 2);
             ExpectColour(out, 15, 10, 0x80FF0000, 2);
             EXPECT_EQ(0u, out.At(26, 10) >> 24) << "the transparent band stays transparent";
         }},
        {"transparency to JPG shows the picture over white",
         kTransparentPng,
         "JPG",
         nullptr,
         Outcome::kConverted,
         {},
         30,
         20,
         [](const Decoded& out) {
             ExpectColour(out, 4, 10, 0xFF0000FF);
             ExpectColour(out, 15, 10, kHalfRedOverWhite);
             ExpectColour(out, 26, 10, kWhite);
         }},
        {"transparency to BMP shows the picture over white",
         kTransparentPng,
         "BMP",
         nullptr,
         Outcome::kConverted,
         {},
         30,
         20,
         [](const Decoded& out) {
             ExpectColour(out, 4, 10, 0xFF0000FF);
             ExpectColour(out, 15, 10, kHalfRedOverWhite);
             ExpectColour(out, 26, 10, kWhite);
         }},
        {"transparency to GIF shows the picture over white",
         kTransparentPng,
         "GIF",
         nullptr,
         Outcome::kConverted,
         {},
         30,
         20,
         [](const Decoded& out) {
             ExpectColour(out, 4, 10, 0xFF0000FF);
             ExpectColour(out, 15, 10, kHalfRedOverWhite);
             ExpectColour(out, 26, 10, kWhite);
         }},
    };
    for (const RunCase& c : cases) {
        SCOPED_TRACE(c.name);
        RunBetweenGoodOnes(c);
    }
}

// The pixel rule behind it: straight ARGB mixed over the background by its alpha, rounded.
TEST(FlattenedPixel, MixesEachChannelByTheAlphaAndMakesItOpaque) {
    struct Case {
        const char* name;
        std::uint32_t pixel, background, expected;
    };
    const std::vector<Case> cases = {
        {"opaque stays as it is", 0xFF123456, 0xFFFFFF, 0xFF123456},
        {"transparent gives the background, whatever it hides", 0x00FF00FF, 0xFFFFFF, 0xFFFFFFFF},
        {"half red over white", 0x80FF0000, 0xFFFFFF, 0xFFFF7F7F},
        {"half red over black", 0x80FF0000, 0x000000, 0xFF800000},
        {"a faint pixel over blue", 0x01FFFFFF, 0x0000FF, 0xFF0101FF},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ColourText(c.expected), ColourText(FlattenedPixel(c.pixel, c.background)))
            << c.name;
    }
}

// ---------------------------------------------------------------------------------------------
// The preview.

enum class Shown { kNothing, kPicture, kPictureOrNothing };

struct PreviewCase {
    BadFile file;
    Shown shown;
    const char* sizeText;  // the label for a picture shown
};

// Presses on a row and waits until the preview has taken up its path.
bool PressAndWaitForPath(HWND list, int row, const std::string& path) {
    testing_support::PressRow(list, row);
    return testing_support::WaitFor([&] { return ThePreview().lastPath == path; });
}

std::vector<DWORD> BoxPixels(HWND box) {
    RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    int width = 0, height = 0;
    return testing_support::ClientPixels(box, width, height);
}

TEST_F(BadPicturesTest, ThePreviewShowsWhatItCanAndOtherwiseChangesNothing) {
    const std::vector<PreviewCase> cases = {
        {kEmpty, Shown::kNothing, ""},
        {kTextPng, Shown::kNothing, ""},
        {kHugePng, Shown::kNothing, ""},
        {kTruncatedJpeg, Shown::kPictureOrNothing, "64x48"},
        {kAnimatedGif, Shown::kPicture, "24x16"},
        {kCmykJpeg, Shown::kPictureOrNothing, "32x24"},
        {kRgba16Png, Shown::kPicture, "20x10"},
        {kTransparentPng, Shown::kPicture, "30x20"},
    };
    Fresh();
    const HWND list = C("超级列表框1").Hwnd();
    const HWND box = C("图片框1").Hwnd();
    const std::string good = Picture("shown.png");
    ASSERT_TRUE(testing_support::WriteSolidPicture(good, 40, 30, RGB(0, 160, 0)));
    testing_support::DropFiles(window_->Main().Hwnd(), {good});
    for (const PreviewCase& c : cases) {
        SCOPED_TRACE(c.file.name);
        const std::string path = Picture(c.file.name);
        testing_support::WriteFileBytes(path, c.file.Bytes());
        testing_support::DropFiles(window_->Main().Hwnd(), {path});
        const int row = C("超级列表框1").RowCount() - 1;
        ASSERT_EQ(c.file.name, C("超级列表框1").CellText(row, 0));

        // A good picture on view first.
        ASSERT_TRUE(PressAndWaitForPath(list, 0, good));
        ASSERT_EQ("40x30", C("标签2").Text());
        const std::vector<DWORD> before = BoxPixels(box);

        ASSERT_TRUE(PressAndWaitForPath(list, row, path));
        if (!ThePreview().picture) {
            EXPECT_NE(Shown::kPicture, c.shown) << "the picture was not loaded";
            EXPECT_EQ("40x30", C("标签2").Text()) << "the label keeps the last size";
            EXPECT_TRUE(before == BoxPixels(box)) << "the box keeps the last picture";
            EXPECT_TRUE(NotHeldOpen(path)) << "a file that is no picture is not held";
        } else {
            EXPECT_NE(Shown::kNothing, c.shown) << "loaded a file that is no picture";
            EXPECT_EQ(c.sizeText, C("标签2").Text());
            EXPECT_FALSE(before == BoxPixels(box)) << "the picture is drawn";
        }
        // Another picture chosen releases this one.
        ASSERT_TRUE(PressAndWaitForPath(list, 0, good));
        EXPECT_TRUE(NotHeldOpen(path)) << "the preview still holds the file";
    }
}

TEST_F(BadPicturesTest, ThePreviewOfAnAnimatedGifShowsItsFirstFrame) {
    Fresh();
    const std::string path = Picture(kAnimatedGif.name);
    testing_support::WriteFileBytes(path, kAnimatedGif.Bytes());
    testing_support::DropFiles(window_->Main().Hwnd(), {path});
    ASSERT_TRUE(PressAndWaitForPath(C("超级列表框1").Hwnd(), 0, path));
    ASSERT_EQ("24x16", C("标签2").Text());
    // 24 x 16 drawn at its own size in the middle of the 256 x 205 box: (116, 94) to (140, 110).
    const std::vector<DWORD> pixels = BoxPixels(C("图片框1").Hwnd());
    ASSERT_EQ(256u * 205u, pixels.size());
    const DWORD middle = pixels[102 * 256 + 128] & 0xFFFFFF;
    EXPECT_LE(imaging_test::ChannelDistance(0xFF000000 | middle, kRed), 8)
        << "the middle of the picture is " << ColourText(middle);
}

}  // namespace
