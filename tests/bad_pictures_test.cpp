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

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/program_state.h"
#include "app/watermark_text_style.h"
#include "imaging/flatten_rules.h"
#include "picturelist/preview.h"
#include "tests/imaging_test_support.h"
#include "tests/support/main_window_harness.h"
#include "tests/support/modal_recorder.h"
#include "tests/support/picture_list_support.h"
#include "tests/support/run_support.h"

using testing_support::ColourText;
using testing_support::Decode;
using testing_support::Decoded;
using testing_support::ExpectColour;
using testing_support::FilesIn;
using testing_support::NotHeldOpen;
using testing_support::Recorder;
using testing_support::Signature;

namespace {

constexpr gdip::ARGB kBlue = 0xFF2040C0;
constexpr gdip::ARGB kRed = 0xFFFF0000;
constexpr gdip::ARGB kGreen = 0xFF00FF00;
constexpr gdip::ARGB kOrange = 0xFFFF8000;
constexpr gdip::ARGB kWhite = 0xFFFFFFFF;
constexpr gdip::ARGB kHalfRedOverWhite = 0xFFFF7F7F;  // red at alpha 128 laid on white

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

class BadPicturesTest : public testing_support::RunWindowTest {
  protected:
    void SetUp() override {
        ConstructProgramObjects();
        RunWindowTest::SetUp();
    }

    void TearDown() override {
        RunWindowTest::TearDown();
        TheProgram().previewCanvas.reset();
    }

    void RunBetweenGoodOnes(const RunCase& c);
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
    AddPicture("before.png", 20, 20, kBlue);
    AddRow(PicturesFolder(), c.file.name);
    AddPicture("after.png", 20, 20, kBlue);
    Check("选择框_转换格式", true);
    Select("组合框_新格式", c.formatItem);
    if (c.width != nullptr) {
        Check("选择框_改变尺寸", true);
        Check("单选框_按尺寸", true);
        Check("选择框_指定宽度", true);
        Check("选择框_指定高度", false);
        C("编辑框_宽度").SetText(c.width);
    }
    // By the time the run takes up the next picture, the bad one is no longer held.
    bool badReleasedInTime = false;
    WhenLogged("正在处理:after.png",
               [&] { badReleasedInTime = NotHeldOpen(Picture(c.file.name)); });
    Start();
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

// The transparent picture converted to a format without alpha: the picture laid on white, the
// transparent band white.
RunCase TransparencyOverWhite(const char* name, const char* formatItem) {
    return {name,
            kTransparentPng,
            formatItem,
            nullptr,
            Outcome::kConverted,
            {},
            30,
            20,
            [](const Decoded& out) {
                ExpectColour(out, 4, 10, 0xFF0000FF);
                ExpectColour(out, 15, 10, kHalfRedOverWhite);
                ExpectColour(out, 26, 10, kWhite);
            }};
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
        TransparencyOverWhite("transparency to JPG shows the picture over white", "JPG"),
        TransparencyOverWhite("transparency to BMP shows the picture over white", "BMP"),
        TransparencyOverWhite("transparency to GIF shows the picture over white", "GIF"),
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
