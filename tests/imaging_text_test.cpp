// GDI fonts and text metrics, the watermark's font set-up, and the GDI+ font wrappers.
#include "imaging_test_support.h"

#include "app/watermark_text_style.h"
#include "convert/conversion_settings.h"
#include "imaging/gdi_text.h"
#include "imaging/gdip_font.h"

#include <string>

namespace {

LOGFONTA Describe(HFONT font) {
    LOGFONTA description = {};
    EXPECT_EQ(static_cast<int>(sizeof description),
              GetObjectA(font, sizeof description, &description));
    return description;
}

TEST(CreateGdiFont, UsesTheProgramsFixedParameters) {
    struct Case {
        const char* name;
        bool bold, italic, underline, strikeout;
        LONG weight;
    } cases[] = {
        {"regular", false, false, false, false, 400},
        {"bold is 600", true, false, false, false, 600},
        {"italic", false, true, false, false, 400},
        {"bold italic", true, true, false, false, 600},
        {"underline and strikeout", false, false, true, true, 400},
        {"everything", true, true, true, true, 600},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GdiFont font =
            CreateGdiFont(30, 0, 0, 0, c.bold, c.italic, c.underline, c.strikeout, "宋体");
        ASSERT_NE(nullptr, font.Get());
        const LOGFONTA d = Describe(font.Get());
        EXPECT_EQ(30, d.lfHeight);
        EXPECT_EQ(0, d.lfWidth);
        EXPECT_EQ(0, d.lfEscapement);
        EXPECT_EQ(0, d.lfOrientation);
        EXPECT_EQ(c.weight, d.lfWeight);
        EXPECT_EQ(c.italic ? 1 : 0, d.lfItalic);
        EXPECT_EQ(c.underline ? 1 : 0, d.lfUnderline);
        EXPECT_EQ(c.strikeout ? 1 : 0, d.lfStrikeOut);
        EXPECT_EQ(DEFAULT_CHARSET, d.lfCharSet);
        EXPECT_EQ(OUT_CHARACTER_PRECIS, d.lfOutPrecision);
        EXPECT_EQ(CLIP_CHARACTER_PRECIS, d.lfClipPrecision);
        EXPECT_EQ(DEFAULT_QUALITY, d.lfQuality);
        EXPECT_EQ(0x30, d.lfPitchAndFamily);
        EXPECT_STREQ("宋体", d.lfFaceName);
    }
}

TEST(CreateGdiFont, CopiesTheFaceNameAndKeepsAnEmptyOne) {
    std::string face = "Arial";
    GdiFont font = CreateGdiFont(12, 0, 0, 0, false, false, false, false, face);
    face = "changed";
    EXPECT_STREQ("Arial", Describe(font.Get()).lfFaceName);
    GdiFont noFace = CreateGdiFont(12, 0, 0, 0, false, false, false, false, "");
    ASSERT_NE(nullptr, noFace.Get());
    EXPECT_STREQ("", Describe(noFace.Get()).lfFaceName);
}

struct Extent {
    std::int32_t width = -1, height = -1;
};

Extent Measure(const std::string& text, HFONT font = nullptr, HDC dc = nullptr) {
    Extent extent;
    MeasureText(text, extent.width, extent.height, font, dc);
    return extent;
}

TEST(MeasureText, TwoLinesAreAsWideAsTheLongerAndTwiceAsTall) {
    GdiFont font = CreateGdiFont(24, 0, 0, 0, false, false, false, false, "宋体");
    const Extent a = Measure("A", font.Get());
    const Extent bb = Measure("BB", font.Get());
    const Extent both = Measure("A\r\nBB", font.Get());
    EXPECT_GT(bb.width, a.width);
    EXPECT_EQ(bb.width, both.width);
    EXPECT_EQ(2 * a.height, both.height);
    EXPECT_EQ(24, a.height) << "the cell height asked for";
}

TEST(MeasureText, WithoutFontOrContextMeasuresIn12PixelSongti) {
    GdiFont songti = CreateGdiFont(12, 0, 0, 0, false, false, false, false, "宋体");
    const char* texts[] = {"A", "榆雀网络", "A\r\nBB"};
    for (const char* text : texts) {
        SCOPED_TRACE(text);
        const Extent fallback = Measure(text);
        const Extent explicitFont = Measure(text, songti.Get());
        EXPECT_EQ(explicitFont.width, fallback.width);
        EXPECT_EQ(explicitFont.height, fallback.height);
    }
    EXPECT_EQ(12, Measure("A").height);
    EXPECT_GT(Measure("榆雀网络").width, Measure("A").width);
}

TEST(MeasureText, AGivenContextWithoutFontMeasuresInItsOwnFontAndKeepsIt) {
    OwnedDc dc(CreateCompatibleDC(nullptr));
    GdiFont big = CreateGdiFont(40, 0, 0, 0, false, false, false, false, "宋体");
    ObjectSelection selection(dc.Get(), big.Get());
    const Extent extent = Measure("A", nullptr, dc.Get());
    EXPECT_EQ(Measure("A", big.Get(), dc.Get()).height, extent.height);
    EXPECT_GE(extent.height, 40) << "the fallback font was used";
    EXPECT_EQ(big.Get(), GetCurrentObject(dc.Get(), OBJ_FONT));
}

TEST(MeasureText, AGivenFontIsSelectedOnlyWhileMeasuring) {
    OwnedDc dc(CreateCompatibleDC(nullptr));
    HGDIOBJ before = GetCurrentObject(dc.Get(), OBJ_FONT);
    GdiFont font = CreateGdiFont(30, 0, 0, 0, true, false, false, false, "宋体");
    EXPECT_EQ(30, Measure("A", font.Get(), dc.Get()).height);
    EXPECT_EQ(before, GetCurrentObject(dc.Get(), OBJ_FONT));
    // The font stays the caller's: still usable.
    EXPECT_EQ(30, Describe(font.Get()).lfHeight);
}

TEST(MeasureText, AnEmptyTextHasNoWidth) {
    EXPECT_EQ(0, Measure("").width);
    GdiFont font = CreateGdiFont(20, 0, 0, 0, false, false, false, false, "宋体");
    EXPECT_EQ(0, Measure("", font.Get()).width);
}

// GDI+ reports the bold bit of a font from the weight of the face it found. The face that stands
// in for 宋体 here is of medium weight, so the style bits are read from a face whose regular weight
// is 400.
const char kLatinFace[] = "DejaVu Sans";

class WatermarkFontTest : public imaging_test::GdiplusTest {
  protected:
    void SetUp() override {
        savedStyle_ = TheWatermarkTextStyle();
        savedText_ = TheConversionSettings().watermarkText;
    }
    void TearDown() override {
        TheWatermarkTextStyle() = savedStyle_;
        TheConversionSettings().watermarkText = savedText_;
    }

    WatermarkTextStyle savedStyle_;
    std::string savedText_;
};

TEST_F(WatermarkFontTest, PrepareTextWatermarkMakesTheFontAndMeasuresTheRunsText) {
    struct Case {
        const char* name;
        std::int32_t code;
        bool underline, strikeout;
        std::int32_t gdipStyle;
        bool gdiBold, gdiItalic;
    } cases[] = {
        {"regular with both decorations", kStyleRegular, true, true, 12, false, false},
        {"bold", kStyleBold, false, false, 1, true, false},
        {"italic with underline", kStyleItalic, true, false, 6, false, true},
        {"bold italic with strikeout", kStyleBoldItalic, false, true, 11, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WatermarkTextStyle& style = TheWatermarkTextStyle();
        style.face = kLatinFace;
        style.size = 30;
        style.style = c.code;
        style.underline = c.underline;
        style.strikeout = c.strikeout;
        TheConversionSettings().watermarkText = "Yu\r\nQue";

        GdipFont font;
        std::int32_t width = -1, height = -1;
        PrepareTextWatermark(width, height, font);
        ASSERT_NE(nullptr, font.Handle());
        std::int32_t gdipStyle = -1, unit = -1;
        float size = 0;
        EXPECT_EQ(gdip::kOk, font.GetStyle(gdipStyle));
        EXPECT_EQ(c.gdipStyle, gdipStyle);
        font.GetSize(size);
        EXPECT_FLOAT_EQ(30.0f, size);
        font.GetUnit(unit);
        EXPECT_EQ(gdip::kUnitPixel, unit);

        GdiFont same = CreateGdiFont(30, 0, 0, 0, c.gdiBold, c.gdiItalic, c.underline, c.strikeout,
                                     kLatinFace);
        const Extent expected = Measure("Yu\r\nQue", same.Get());
        EXPECT_EQ(expected.width, width);
        EXPECT_EQ(expected.height, height);
        EXPECT_EQ(60, height) << "two lines of 30";
    }
}

class GdipFontTest : public imaging_test::GdiplusTest {};

TEST_F(GdipFontTest, CreateWithOnlyAFamilyMakesA12PixelRegularFont) {
    GdipFont font;
    ASSERT_EQ(gdip::kOk, font.Create(kLatinFace));
    float size = 0;
    std::int32_t style = -1, unit = -1;
    EXPECT_EQ(gdip::kOk, font.GetSize(size));
    EXPECT_FLOAT_EQ(12.0f, size);
    EXPECT_EQ(gdip::kOk, font.GetStyle(style));
    EXPECT_EQ(0, style);
    EXPECT_EQ(gdip::kOk, font.GetUnit(unit));
    EXPECT_EQ(2, unit);
}

TEST_F(GdipFontTest, AFamilyThatIsNotInstalledLeavesTheFontEmpty) {
    GdipFont font;
    ASSERT_EQ(gdip::kOk, font.Create("宋体", 20.0f, 3));
    EXPECT_NE(gdip::kOk, font.Create("No Such Face Anywhere"));
    EXPECT_EQ(nullptr, font.Handle()) << "the earlier font should be freed";
    std::int32_t style = 0;
    EXPECT_EQ(gdip::kInvalidParameter, font.GetStyle(style));
}

TEST_F(GdipFontTest, CreateFromDcTakesTheSelectedFont) {
    OwnedDc dc(CreateCompatibleDC(nullptr));
    GdiFont gdiFont = CreateGdiFont(-25, 0, 0, 0, false, false, false, false, "宋体");
    ObjectSelection selection(dc.Get(), gdiFont.Get());
    GdipFont font;
    ASSERT_EQ(gdip::kOk, font.CreateFromDC(dc.Get()));
    float size = 0;
    font.GetSize(size);
    EXPECT_NEAR(25.0f, size, 1.0f);
}

TEST_F(GdipFontTest, GetHeightMeasuresOnAGraphicsContext) {
    Canvas canvas;
    ASSERT_TRUE(canvas.CreateBlank(10, 10));
    GdipGraphics graphics;
    gdip::GpGraphics* context = nullptr;
    ASSERT_EQ(gdip::kOk, gdip::Table().GdipGetImageGraphicsContext(canvas.Image(), &context));
    graphics.Attach(context);
    GdipFont font;
    ASSERT_EQ(gdip::kOk, font.Create("宋体", 40.0f));
    float height = 0;
    EXPECT_EQ(gdip::kOk, font.GetHeight(graphics, height));
    EXPECT_GE(height, 40.0f);
    EXPECT_LT(height, 80.0f);
}

TEST_F(GdipFontTest, DeleteOnAnEmptyFontDoesNothingAndCanBeRepeated) {
    GdipFont font;
    font.Delete();
    EXPECT_EQ(nullptr, font.Handle());
    ASSERT_EQ(gdip::kOk, font.Create("宋体"));
    font.Delete();
    EXPECT_EQ(nullptr, font.Handle());
    font.Delete();
    EXPECT_EQ(nullptr, font.Handle());
}

TEST_F(GdipFontTest, FamilyFromNameFindsInstalledFacesOnly) {
    GdipFontFamily family;
    EXPECT_EQ(gdip::kOk, family.CreateFromName("宋体"));
    EXPECT_NE(nullptr, family.Handle());
    EXPECT_NE(gdip::kOk, family.CreateFromName("No Such Face Anywhere"));
    EXPECT_EQ(nullptr, family.Handle());
}

}  // namespace
