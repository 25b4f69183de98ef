// Canvas: creating, drawing pictures, painting windows and DCs, loading, and the bare picture
// routines.
#include "imaging_test_support.h"

#include "imaging/conversions.h"
#include "imaging/gdip_brush.h"

#include <optional>
#include <string>

namespace {

using imaging_test::Alpha;
using imaging_test::PixelAt;
using imaging_test::SolidPicture;

constexpr gdip::ARGB kRed = 0xFFFF0000;
constexpr gdip::PixelFormat kPixelFormat24bppRGB = 0x21808;

class CanvasTest : public imaging_test::GdiplusTest {};

TEST_F(CanvasTest, CreateBlankWithASideOfZeroOrLessFailsButKeepsTheSize) {
    struct Case {
        int width, height;
    } cases[] = {{0, 10}, {10, 0}, {-5, 10}, {0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        Canvas canvas;
        EXPECT_FALSE(canvas.CreateBlank(c.width, c.height, RGB(1, 2, 3)));
        EXPECT_EQ(c.width, canvas.Width());
        EXPECT_EQ(c.height, canvas.Height());
        EXPECT_EQ(nullptr, canvas.Image());
        EXPECT_EQ(nullptr, canvas.Graphics());
    }
}

TEST_F(CanvasTest, CreateBlankMakes32BitArgbUnlessAFormatIsGiven) {
    struct Case {
        const char* name;
        std::optional<gdip::PixelFormat> format;
        gdip::PixelFormat made;
    } cases[] = {{"no format", std::nullopt, gdip::kPixelFormat32bppARGB},
                 {"24-bit RGB", kPixelFormat24bppRGB, kPixelFormat24bppRGB}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Canvas canvas;
        ASSERT_TRUE(canvas.CreateBlank(7, 5, std::nullopt, c.format));
        gdip::PixelFormat format = 0;
        ASSERT_EQ(gdip::kOk, gdip::Table().GdipGetImagePixelFormat(canvas.Image(), &format));
        EXPECT_EQ(c.made, format);
        EXPECT_NE(nullptr, canvas.Graphics());
    }
}

TEST_F(CanvasTest, AFillColourGivesEveryPixelThatColourOpaque) {
    struct Case {
        const char* name;
        COLORREF fill;
        gdip::ARGB pixel;
    } cases[] = {{"a colour", RGB(10, 20, 30), 0xFF0A141E},
                 {"black, a supplied 0", RGB(0, 0, 0), 0xFF000000},
                 {"white with a top byte", 0x7FFFFFFF, 0xFFFFFFFF}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Canvas canvas;
        ASSERT_TRUE(canvas.CreateBlank(31, 17, c.fill));
        int width = 0, height = 0;
        for (gdip::ARGB pixel : imaging_test::Pixels(canvas.Image(), width, height)) {
            ASSERT_EQ(c.pixel, pixel);
        }
        EXPECT_EQ(31, width);
        EXPECT_EQ(17, height);
    }
}

TEST_F(CanvasTest, CreatingAgainReplacesThePicture) {
    Canvas canvas;
    ASSERT_TRUE(canvas.CreateBlank(20, 10, RGB(255, 0, 0)));
    ASSERT_TRUE(canvas.CreateBlank(6, 9, RGB(0, 0, 255)));
    int width = 0, height = 0;
    PictureSize(canvas.Image(), &width, &height);
    EXPECT_EQ(6, width);
    EXPECT_EQ(9, height);
    EXPECT_EQ(0xFF0000FFu, PixelAt(canvas.Image(), 3, 3));
}

TEST_F(CanvasTest, ReleaseEmptiesTheCanvasButKeepsItsSize) {
    Canvas canvas;
    canvas.Release();  // an empty canvas: nothing happens
    EXPECT_EQ(0, canvas.Width());
    ASSERT_TRUE(canvas.CreateBlank(12, 34, RGB(1, 1, 1)));
    canvas.Release();
    EXPECT_EQ(nullptr, canvas.Image());
    EXPECT_EQ(nullptr, canvas.Graphics());
    EXPECT_EQ(12, canvas.Width());
    EXPECT_EQ(34, canvas.Height());
    canvas.Release();
    EXPECT_EQ(12, canvas.Width());
}

// Where a 40 × 20 red picture drawn at (10, 10) on a clear 100 × 100 canvas ends up.
struct DrawCase {
    const char* name;
    std::optional<int> width, height;
    int drawnWidth, drawnHeight;
};

void ExpectRedRectangle(Canvas& canvas, int width, int height) {
    // Inside near each corner, and just outside the right and bottom edges.
    const int left = 10, top = 10, right = left + width, bottom = top + height;
    EXPECT_EQ(kRed, PixelAt(canvas.Image(), left + 2, top + 2));
    EXPECT_EQ(kRed, PixelAt(canvas.Image(), right - 3, bottom - 3));
    EXPECT_EQ(kRed, PixelAt(canvas.Image(), right - 3, top + 2));
    EXPECT_EQ(kRed, PixelAt(canvas.Image(), left + 2, bottom - 3));
    EXPECT_EQ(0, Alpha(PixelAt(canvas.Image(), right + 2, top + 2)));
    EXPECT_EQ(0, Alpha(PixelAt(canvas.Image(), left + 2, bottom + 2)));
    EXPECT_EQ(0, Alpha(PixelAt(canvas.Image(), left - 2, top + 2)));
}

TEST_F(CanvasTest, DrawImageTakesEachSuppliedSizeAboveZeroAndTheImagesOwnOtherwise) {
    GdipImage picture = SolidPicture(40, 20, kRed);
    const DrawCase cases[] = {
        {"no size", std::nullopt, std::nullopt, 40, 20},
        {"only a height", std::nullopt, 50, 40, 50},
        {"only a width", 60, std::nullopt, 60, 20},
        {"0 x 0", 0, 0, 40, 20},
        {"both", 70, 30, 70, 30},
        {"negative width", -5, 30, 40, 30},
    };
    for (const DrawCase& c : cases) {
        SCOPED_TRACE(c.name);
        Canvas canvas;
        ASSERT_TRUE(canvas.CreateBlank(100, 100));
        gdip::Table().GdipGraphicsClear(canvas.Graphics(), 0);
        EXPECT_TRUE(canvas.DrawImage(picture.Handle(), 10, 10, c.width, c.height));
        ExpectRedRectangle(canvas, c.drawnWidth, c.drawnHeight);
    }
}

TEST_F(CanvasTest, DrawImageWithASizeFailsWhenTheImageSizeCannotBeRead) {
    Canvas canvas;
    ASSERT_TRUE(canvas.CreateBlank(10, 10, RGB(0, 0, 0)));
    EXPECT_FALSE(canvas.DrawImage(nullptr, 0, 0, 0, 0));
    EXPECT_FALSE(canvas.DrawImage(nullptr, 0, 0, std::nullopt, 5));
    // Without a size nothing is asked of the image, and the drawing's status is not looked at.
    EXPECT_TRUE(canvas.DrawImage(nullptr, 0, 0));
}

TEST_F(CanvasTest, DrawImagePartDrawsThePartAndReportsTheStatus) {
    // Left half red, right half blue.
    GdipImage picture = SolidPicture(40, 20, kRed);
    {
        gdip::GpGraphics* graphics = nullptr;
        gdip::Table().GdipGetImageGraphicsContext(picture.Handle(), &graphics);
        GdipGraphics owner(graphics);
        GdipBrush blue;
        blue.CreateSolidFill(0xFF0000FF);
        gdip::Table().GdipFillRectangle(graphics, blue.Handle(), 20, 0, 20, 20);
    }
    Canvas canvas;
    ASSERT_TRUE(canvas.CreateBlank(50, 50));
    gdip::Table().GdipGraphicsClear(canvas.Graphics(), 0);
    EXPECT_TRUE(canvas.DrawImagePart(picture.Handle(), 5, 5, 20, 0, 20, 20, gdip::kUnitPixel));
    EXPECT_EQ(0xFF0000FFu, PixelAt(canvas.Image(), 8, 8));
    EXPECT_EQ(0xFF0000FFu, PixelAt(canvas.Image(), 22, 22));
    EXPECT_EQ(0, Alpha(PixelAt(canvas.Image(), 28, 8)));
    EXPECT_FALSE(canvas.DrawImagePart(nullptr, 5, 5, 0, 0, 20, 20, gdip::kUnitPixel));
}

std::vector<std::uint8_t> PngOfSolidColour(int width, int height, COLORREF colour) {
    Canvas source;
    EXPECT_TRUE(source.CreateBlank(width, height, colour));
    return source.SaveToBytes(5);
}

TEST_F(CanvasTest, DrawPictureBytesDrawsADecodedPictureScaled) {
    const std::vector<std::uint8_t> png = PngOfSolidColour(30, 20, RGB(0, 255, 0));
    ASSERT_FALSE(png.empty());
    struct Case {
        const char* name;
        int width, height, drawnWidth, drawnHeight;
    } cases[] = {
        {"own size", 0, 0, 30, 20}, {"scaled", 50, 40, 50, 40}, {"negative", -1, 25, 30, 25}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Canvas canvas;
        ASSERT_TRUE(canvas.CreateBlank(100, 100));
        gdip::Table().GdipGraphicsClear(canvas.Graphics(), 0);
        EXPECT_TRUE(canvas.DrawPictureBytes(png, 10, 10, c.width, c.height));
        EXPECT_EQ(0xFF00FF00u,
                  PixelAt(canvas.Image(), 10 + c.drawnWidth - 3, 10 + c.drawnHeight - 3));
        EXPECT_EQ(0, Alpha(PixelAt(canvas.Image(), 10 + c.drawnWidth + 2, 12)));
        EXPECT_EQ(0, Alpha(PixelAt(canvas.Image(), 12, 10 + c.drawnHeight + 2)));
        EXPECT_EQ("", canvas.LastError());
    }
}

TEST_F(CanvasTest, DrawPictureBytesOfNoPictureFailsWithTheLoadMessage) {
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
    } cases[] = {{"text", {'n', 'o', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'}},
                 {"no bytes", {}},
                 {"a cut PNG", std::vector<std::uint8_t>(8, 0)}};
    const std::vector<std::uint8_t> png = PngOfSolidColour(4, 4, RGB(9, 9, 9));
    std::copy(png.begin(), png.begin() + 8, cases[2].bytes.begin());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Canvas canvas;
        ASSERT_TRUE(canvas.CreateBlank(10, 10, RGB(0, 0, 0)));
        EXPECT_FALSE(canvas.DrawPictureBytes(c.bytes, 0, 0));
        EXPECT_EQ("画图片:载入图片失败", canvas.LastError());
        EXPECT_EQ(0xFF000000u, PixelAt(canvas.Image(), 5, 5));
    }
}

TEST_F(CanvasTest, ASuccessLeavesTheLastErrorAsItWas) {
    Canvas canvas;
    ASSERT_TRUE(canvas.CreateBlank(10, 10));
    EXPECT_FALSE(canvas.DrawPictureBytes({1, 2, 3}, 0, 0));
    EXPECT_TRUE(canvas.DrawPictureBytes(PngOfSolidColour(3, 3, RGB(1, 2, 3)), 0, 0));
    EXPECT_EQ("画图片:载入图片失败", canvas.LastError());
}

TEST_F(CanvasTest, LoadBytesAndLoadFileGiveAPictureToDrawOn) {
    const std::vector<std::uint8_t> png = PngOfSolidColour(23, 11, RGB(0, 0, 255));
    imaging_test::ScratchFolder folder;
    const std::string path = folder.Path() + "图片.png";
    {
        Canvas source;
        ASSERT_TRUE(source.CreateBlank(23, 11, RGB(0, 0, 255)));
        ASSERT_EQ(gdip::kOk, source.SaveToFile(path));
    }
    struct Case {
        const char* name;
        bool fromFile;
    } cases[] = {{"bytes", false}, {"file", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Canvas canvas;
        ASSERT_TRUE(c.fromFile ? canvas.LoadFile(path) : canvas.LoadBytes(png));
        EXPECT_EQ(23, canvas.Width());
        EXPECT_EQ(11, canvas.Height());
        ASSERT_NE(nullptr, canvas.Graphics());
        GdipBrush red;
        red.CreateSolidFill(kRed);
        EXPECT_EQ(gdip::kOk,
                  gdip::Table().GdipFillRectangle(canvas.Graphics(), red.Handle(), 0, 0, 5, 5));
        EXPECT_EQ(kRed, PixelAt(canvas.Image(), 2, 2));
        EXPECT_EQ(0xFF0000FFu, PixelAt(canvas.Image(), 20, 8));
    }
}

TEST_F(CanvasTest, LoadingWhatIsNoPictureFailsAndLeavesTheCanvasEmpty) {
    imaging_test::ScratchFolder folder;
    Canvas canvas;
    ASSERT_TRUE(canvas.CreateBlank(5, 5));
    EXPECT_FALSE(canvas.LoadFile(folder.Path() + "missing.png"));
    EXPECT_EQ(nullptr, canvas.Image());
    EXPECT_FALSE(canvas.LoadBytes({'x', 'y', 'z'}));
    EXPECT_EQ(nullptr, canvas.Image());
    EXPECT_EQ(nullptr, canvas.Graphics());
}

TEST_F(CanvasTest, LoadPictureFileAndPictureSize) {
    imaging_test::ScratchFolder folder;
    const std::string path = folder.Path() + "a.bmp";
    {
        Canvas source;
        ASSERT_TRUE(source.CreateBlank(17, 9, RGB(5, 5, 5)));
        ASSERT_EQ(gdip::kOk, source.SaveToFile(path));
    }
    GdipImage picture = LoadPictureFile(path);
    ASSERT_TRUE(picture);
    int width = -1, height = -1;
    PictureSize(picture.Handle(), &width, &height);
    EXPECT_EQ(17, width);
    EXPECT_EQ(9, height);
    int onlyWidth = -1;
    PictureSize(picture.Handle(), &onlyWidth);
    EXPECT_EQ(17, onlyWidth);
    DisposePicture(picture);
    EXPECT_FALSE(picture);

    EXPECT_FALSE(LoadPictureFile(folder.Path() + "missing.bmp"));
    width = height = -1;
    PictureSize(nullptr, &width, &height);
    EXPECT_EQ(0, width);
    EXPECT_EQ(0, height);
}

// A visible popup window of its own class, without a background brush.
class TestWindow {
  public:
    TestWindow(int width, int height) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "ImagingCanvasTestWindow";
        RegisterClassA(&windowClass);
        window_ =
            CreateWindowExA(WS_EX_TOPMOST, "ImagingCanvasTestWindow", "", WS_POPUP, 0, 0, width,
                            height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ShowWindow(window_, SW_SHOWNOACTIVATE);
        // Let the window get its first paint out of the way.
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    }
    ~TestWindow() { DestroyWindow(window_); }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND Handle() const { return window_; }

    void FillWith(COLORREF colour) {
        WindowDc dc(window_);
        RECT all = {0, 0, 1000, 1000};
        GdiObject<HBRUSH> brush(CreateSolidBrush(colour));
        FillRect(dc.Get(), &all, brush.Get());
    }
    COLORREF PixelAt(int x, int y) const {
        WindowDc dc(window_);
        return GetPixel(dc.Get(), x, y);
    }
    bool NeedsPainting() const { return GetUpdateRect(window_, nullptr, FALSE) != FALSE; }

  private:
    HWND window_ = nullptr;
};

TEST_F(CanvasTest, PaintWindowFromABitmapCanvasEndsThePaintWithoutDrawing) {
    TestWindow window(60, 40);
    window.FillWith(RGB(0, 0, 255));
    Canvas canvas;
    ASSERT_TRUE(canvas.CreateBlank(60, 40, RGB(255, 0, 0)));
    InvalidateRect(window.Handle(), nullptr, FALSE);
    ASSERT_TRUE(window.NeedsPainting());
    canvas.PaintWindow(window.Handle());
    EXPECT_FALSE(window.NeedsPainting()) << "the paint cycle was not completed";
    EXPECT_EQ(RGB(0, 0, 255), window.PixelAt(10, 10));
}

TEST_F(CanvasTest, PaintWindowFromADcCanvasCopiesTheWholeCanvas) {
    TestWindow window(60, 40);
    window.FillWith(RGB(0, 0, 255));
    Canvas canvas;
    ASSERT_TRUE(canvas.CreateForDc(50, 30, RGB(255, 0, 0)));
    // Only a corner needs painting, yet the whole canvas is copied.
    RECT corner = {0, 0, 2, 2};
    InvalidateRect(window.Handle(), &corner, FALSE);
    canvas.PaintWindow(window.Handle());
    EXPECT_FALSE(window.NeedsPainting());
    window.FillWith(RGB(0, 0, 255));  // shows that the next copy repaints
    InvalidateRect(window.Handle(), nullptr, FALSE);
    canvas.PaintWindow(window.Handle());
    EXPECT_EQ(RGB(255, 0, 0), window.PixelAt(1, 1));
    EXPECT_EQ(RGB(255, 0, 0), window.PixelAt(48, 28));
    EXPECT_EQ(RGB(0, 0, 255), window.PixelAt(55, 35)) << "beyond the canvas";
}

TEST_F(CanvasTest, CreateForDcMakesAGraphicsContextOnTheMemoryDcAndASeparateImage) {
    Canvas canvas;
    EXPECT_TRUE(canvas.CreateForDc(256, 205, RGB(255, 255, 255)));
    EXPECT_EQ(256, canvas.Width());
    EXPECT_EQ(205, canvas.Height());
    ASSERT_NE(nullptr, canvas.Graphics());
    ASSERT_NE(nullptr, canvas.Image());
    int width = 0, height = 0;
    PictureSize(canvas.Image(), &width, &height);
    EXPECT_EQ(256, width);
    EXPECT_EQ(205, height);
    // Drawing reaches the DC: copied out through BlitToDc.
    GdipImage picture = SolidPicture(10, 10, kRed);
    EXPECT_TRUE(canvas.DrawImage(picture.Handle(), 100, 100, 10, 10));
    TestWindow window(256, 205);
    window.FillWith(RGB(0, 0, 0));
    {
        WindowDc target(window.Handle());
        canvas.BlitToDc(target.Get(), 0, 0);
    }
    EXPECT_EQ(RGB(255, 255, 255), window.PixelAt(5, 5));
    EXPECT_EQ(RGB(255, 0, 0), window.PixelAt(105, 105));
}

TEST_F(CanvasTest, BlitToDcCopiesTheRequestedPartFromTheSourcePoint) {
    // Green, with a red square in the bottom right corner.
    Canvas canvas;
    ASSERT_TRUE(canvas.CreateForDc(40, 40, RGB(0, 255, 0)));
    GdipImage picture = SolidPicture(10, 10, kRed);
    canvas.DrawImage(picture.Handle(), 30, 30, 10, 10);
    TestWindow window(80, 80);
    window.FillWith(RGB(0, 0, 0));
    {
        WindowDc target(window.Handle());
        // 10 wide; the height not supplied is the canvas's 40; from the source column 30.
        canvas.BlitToDc(target.Get(), 5, 5, 10, std::nullopt, 30, 0);
    }
    EXPECT_EQ(RGB(0, 255, 0), window.PixelAt(6, 6));
    EXPECT_EQ(RGB(255, 0, 0), window.PixelAt(6, 40));
    EXPECT_EQ(RGB(255, 0, 0), window.PixelAt(14, 44));
    EXPECT_EQ(RGB(0, 0, 0), window.PixelAt(16, 6)) << "only 10 wide";
    EXPECT_EQ(RGB(0, 0, 0), window.PixelAt(6, 46)) << "only 40 high";
}

// A DC canvas: under Wine the DC that GDI+ gives for a bitmap does not show the bitmap's pixels.
TEST_F(CanvasTest, BlitToWindowCopiesTheCanvasToTheClientArea) {
    TestWindow window(50, 50);
    window.FillWith(RGB(0, 0, 255));
    Canvas canvas;
    ASSERT_TRUE(canvas.CreateForDc(30, 20, RGB(255, 0, 0)));
    canvas.BlitToWindow(window.Handle());
    EXPECT_NE(nullptr, canvas.GetDC());
    EXPECT_EQ(RGB(255, 0, 0), window.PixelAt(2, 2));
    EXPECT_EQ(RGB(255, 0, 0), window.PixelAt(28, 18));
    EXPECT_EQ(RGB(0, 0, 255), window.PixelAt(35, 25));
}

TEST_F(CanvasTest, GetDcIsObtainedOnceAndHandedBackOnRelease) {
    Canvas canvas;
    ASSERT_TRUE(canvas.CreateBlank(10, 10, RGB(1, 2, 3)));
    HDC first = canvas.GetDC();
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(first, canvas.GetDC());
    canvas.Release();
    // Created anew, the canvas draws again: the DC was handed back with the old picture.
    ASSERT_TRUE(canvas.CreateBlank(10, 10, RGB(4, 5, 6)));
    EXPECT_EQ(0xFF040506u, PixelAt(canvas.Image(), 1, 1));
}

}  // namespace

namespace {

TEST(GdiplusSession, TheWindowsStartUpEndsWithoutTouchingTheCanvasLayers) {
    ASSERT_TRUE(EnsureCanvasGdiplus());
    const ULONG_PTR canvasToken = CanvasGdiplusToken();
    ASSERT_NE(0u, canvasToken);
    ASSERT_TRUE(EnsureCanvasGdiplus());
    EXPECT_EQ(canvasToken, CanvasGdiplusToken()) << "made once, then kept";

    const ULONG_PTR windowToken = StartWindowGdiplus();
    ASSERT_NE(0u, windowToken);
    Canvas canvas;
    ASSERT_TRUE(canvas.CreateBlank(8, 8, RGB(0, 0, 255)));
    ShutdownGdiplus(windowToken);
    ShutdownGdiplus(0);  // no start-up: nothing happens

    // The canvas layer's start-up still holds: its objects keep working.
    GdipImage picture = imaging_test::SolidPicture(4, 4, 0xFFFF0000);
    EXPECT_TRUE(canvas.DrawImage(picture.Handle(), 0, 0, 4, 4));
    EXPECT_EQ(0xFFFF0000u, PixelAt(canvas.Image(), 1, 1));
    EXPECT_EQ(0xFF0000FFu, PixelAt(canvas.Image(), 6, 6));
}

}  // namespace
