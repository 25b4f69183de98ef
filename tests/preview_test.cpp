// The preview in real windows: a left-button press on a row of the picture list draws the picture
// fitted into 图片框1 and writes its size in 标签2. The pictures are made in a scratch folder, and
// what the box shows is read back from the screen.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "app/program_state.h"
#include "imaging/canvas.h"
#include "picturelist/preview.h"
#include "tests/support/main_window_harness.h"
#include "tests/support/modal_recorder.h"
#include "tests/support/orientation_fixture.h"
#include "tests/support/picture_list_support.h"

using testing_support::DropFiles;
using testing_support::MainWindowHarness;
using testing_support::PressAt;
using testing_support::PressRow;
using testing_support::ScratchFolder;
using testing_support::WaitFor;

namespace {

const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kWhite = RGB(255, 255, 255);

// Where a picture shows in the box: the bounds of the pixels that are not white.
struct Drawn {
    int left = 0, top = 0, width = 0, height = 0;
    bool any = false;
};

std::ostream& operator<<(std::ostream& out, const Drawn& d) {
    if (!d.any) return out << "nothing";
    return out << d.width << " x " << d.height << " at (" << d.left << ", " << d.top << ")";
}

// A pixel counts as the picture's when one channel lies clearly off white; the edges that the
// scaling blends with the white background count while they are at least a quarter picture.
bool OffWhite(DWORD pixel) {
    for (int shift = 0; shift < 24; shift += 8) {
        if (((pixel >> shift) & 0xFF) < 192) return true;
    }
    return false;
}

Drawn DrawnIn(HWND box) {
    int width = 0, height = 0;
    const std::vector<DWORD> pixels = testing_support::ClientPixels(box, width, height);
    int left = width, top = height, right = -1, bottom = -1;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (!OffWhite(pixels[static_cast<std::size_t>(y) * width + x])) continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    Drawn drawn;
    if (right < 0) return drawn;
    drawn = {left, top, right - left + 1, bottom - top + 1, true};
    return drawn;
}

bool Near(const Drawn& seen, const Drawn& expected, int tolerance = 1) {
    return seen.any && std::abs(seen.left - expected.left) <= tolerance &&
           std::abs(seen.top - expected.top) <= tolerance &&
           std::abs(seen.left + seen.width - expected.left - expected.width) <= tolerance &&
           std::abs(seen.top + seen.height - expected.top - expected.height) <= tolerance;
}

std::uint32_t Crc32(const std::uint8_t* bytes, std::size_t length) {
    std::uint32_t crc = 0xFFFFFFFF;
    for (std::size_t i = 0; i < length; ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// A small PNG whose header claims 100000 x 100000 pixels, with a valid header checksum: a
// picture far too large to decode, with far too little data.
std::string HugePng() {
    Canvas canvas;
    EXPECT_TRUE(canvas.CreateBlank(4, 4, kBlue));
    std::vector<std::uint8_t> png = canvas.SaveToBytes(5);
    EXPECT_GE(png.size(), 33u);
    if (png.size() < 33) return {};
    auto putBigEndian = [&](std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i) png[at + i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
    };
    putBigEndian(16, 100000);  // IHDR width
    putBigEndian(20, 100000);  // IHDR height
    putBigEndian(29, Crc32(&png[12], 17));
    return std::string(png.begin(), png.end());
}

class PreviewTest : public testing::Test {
  protected:
    void SetUp() override { Open(); }

    // A new main window; the preview canvas made anew, as the program makes it at start.
    void Open() {
        testing_support::Recorder().Reset();
        window_.reset();
        ConstructProgramObjects();
        window_ = std::make_unique<MainWindowHarness>(folder_.Path());
        ASSERT_TRUE(window_->Created());
    }
    void TearDown() override {
        window_.reset();
        TheProgram().previewCanvas.reset();
    }

    HWND List() { return (*window_)["超级列表框1"].Hwnd(); }
    forms::Control Box() { return (*window_)["图片框1"]; }
    std::string SizeText() { return (*window_)["标签2"].Text(); }
    int Rows() { return static_cast<int>(SendMessageA(List(), LVM_GETITEMCOUNT, 0, 0)); }

    // A blue picture of that size in the scratch folder, listed by a drop; its row.
    int ListPicture(const std::string& name, int width, int height, COLORREF colour = kBlue) {
        const std::string path = folder_.File(name);
        EXPECT_TRUE(testing_support::WriteSolidPicture(path, width, height, colour)) << path;
        return ListPath(path);
    }
    int ListPath(const std::string& path) {
        DropFiles(window_->Main().Hwnd(), {path});
        return Rows() - 1;
    }

    // Presses on the row and waits until the size label reads `sizeText`.
    bool PressAndWaitForSize(int row, const std::string& sizeText) {
        PressRow(List(), row);
        return WaitFor([&] { return SizeText() == sizeText; });
    }

    // Lets every posted press run: a timer's message comes only once no posted message waits.
    static void LetPressesRun() {
        static bool fired;
        fired = false;
        const UINT_PTR witness =
            SetTimer(nullptr, 0, 1, [](HWND, UINT, UINT_PTR, DWORD) { fired = true; });
        EXPECT_TRUE(WaitFor([] { return fired; }));
        KillTimer(nullptr, witness);
    }

    bool PreviewProcInstalled() {
        return GetWindowLongPtrA(Box().Hwnd(), GWLP_WNDPROC) ==
               reinterpret_cast<LONG_PTR>(&PreviewWindowProc);
    }

    ScratchFolder folder_;
    std::unique_ptr<MainWindowHarness> window_;
};

TEST_F(PreviewTest, PicturesAreFittedIntoTheBoxAndCentredOnWhite) {
    struct Case {
        const char* name;
        int width, height;
        Drawn expected;
    };
    const std::vector<Case> cases = {
        {"1024x768.png", 1024, 768, {0, 6, 256, 192, true}},
        {"300x600.bmp", 300, 600, {77, 0, 102, 205, true}},
        {"1000x10.png", 1000, 10, {0, 101, 256, 2, true}},
        {"小图"
         "淺"
         ".png",
         100,
         50,
         {78, 77, 100, 50, true}},
        {"257x206.jpg", 257, 206, {0, 0, 256, 205, true}},
        {"1000x1.png", 1000, 1, {0, 102, 256, 1, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int row = ListPicture(c.name, c.width, c.height);
        const std::string size = std::to_string(c.width) + "x" + std::to_string(c.height);
        ASSERT_TRUE(PressAndWaitForSize(row, size)) << "the label reads " << SizeText();
        Drawn seen;
        WaitFor([&] {
            seen = DrawnIn(Box().Hwnd());
            return Near(seen, c.expected);
        });
        EXPECT_TRUE(Near(seen, c.expected)) << "drawn " << seen << ", expected " << c.expected;
    }
    EXPECT_FALSE(Box().PlayAnimation());
    EXPECT_EQ(kWhite, Box().BackColour());
    EXPECT_TRUE(PreviewProcInstalled());
}

TEST_F(PreviewTest, PressingTheSamePathAgainLoadsNothing) {
    const int first = ListPicture("first.png", 40, 30);
    const int second = ListPicture("second.png", 64, 20, RGB(0, 160, 0));
    ASSERT_TRUE(PressAndWaitForSize(first, "40x30"));

    // Mark what the preview shows; a second loading would draw and label the picture again.
    (*window_)["标签2"].SetText("mark");
    TheProgram().previewCanvas->CreateForDc(256, 205, kWhite);
    InvalidateRect(Box().Hwnd(), nullptr, FALSE);
    PressRow(List(), first);
    const int again = ListPath(folder_.File("first.png"));  // the same path in a row of its own
    PressRow(List(), again);
    LetPressesRun();
    EXPECT_EQ("mark", SizeText());
    EXPECT_FALSE(DrawnIn(Box().Hwnd()).any) << "nothing drawn again";

    // Another path loads; coming back to the first one then loads it again.
    ASSERT_TRUE(PressAndWaitForSize(second, "64x20"));
    ASSERT_TRUE(PressAndWaitForSize(first, "40x30"));
    EXPECT_TRUE(Near(DrawnIn(Box().Hwnd()), Drawn{108, 87, 40, 30, true}));
}

TEST_F(PreviewTest, APressOverNoRowChangesNothing) {
    ListPicture("only.png", 20, 20);
    RECT row{};
    row.left = LVIR_BOUNDS;
    ASSERT_TRUE(SendMessageA(List(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row)));
    PressAt(List(), 10, row.bottom + 10);
    LetPressesRun();
    EXPECT_EQ("", SizeText());
    EXPECT_TRUE(Box().PlayAnimation()) << "the placeholder still plays";
    EXPECT_FALSE(PreviewProcInstalled());
    EXPECT_EQ("", ThePreview().lastPath);
}

TEST_F(PreviewTest, AFirstPressOnANonPictureOnlyPreparesTheBox) {
    struct Case {
        const char* name;
        std::string content;  // empty: the listed file does not exist
    };
    const std::vector<Case> cases = {
        {"a text file.png", "not a picture at all"},
        {"gone.jpg", ""},
        {"huge.png", HugePng()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Open();  // a window of its own: the press is its first
        const std::string path = folder_.File(c.name);
        if (!c.content.empty()) testing_support::WriteFileBytes(path, c.content);
        const int row = ListPath(path);
        ASSERT_TRUE(Box().PlayAnimation());
        PressRow(List(), row);
        ASSERT_TRUE(WaitFor([&] { return PreviewProcInstalled(); }))
            << "the box is prepared at the first press";
        EXPECT_FALSE(Box().PlayAnimation()) << "the placeholder animation stopped";
        EXPECT_EQ(kWhite, Box().BackColour());
        EXPECT_EQ("", SizeText());
        EXPECT_EQ(path, ThePreview().lastPath);
        EXPECT_FALSE(ThePreview().picture);
        RedrawWindow(Box().Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        EXPECT_FALSE(DrawnIn(Box().Hwnd()).any) << "the placeholder is gone, nothing drawn";
    }
}

TEST_F(PreviewTest, ThePreviewStaysWhenTheListIsCleared) {
    ListPicture("kept.png", 100, 50);
    ASSERT_TRUE(PressAndWaitForSize(0, "100x50"));
    testing_support::Click(window_->Form(), "按钮_清空图片");
    EXPECT_EQ("100x50", SizeText());
    EXPECT_TRUE(Near(DrawnIn(Box().Hwnd()), Drawn{78, 77, 100, 50, true}));
}

}  // namespace

namespace {

// A phone's photo stored sideways with its EXIF orientation is previewed upright: the label shows
// the upright size, whatever the orientation.
TEST_F(PreviewTest, APhotoIsPreviewedUprightWithItsUprightSize) {
    for (int orientation = 1; orientation <= 8; ++orientation) {
        SCOPED_TRACE("orientation " + std::to_string(orientation));
        const std::string path = folder_.File("phone" + std::to_string(orientation) + ".jpg");
        ASSERT_TRUE(testing_support::WriteOrientedJpeg(path, orientation));
        const int row = ListPath(path);
        EXPECT_TRUE(PressAndWaitForSize(row, "40x24")) << "label: " << SizeText();
    }
}

}  // namespace
