// Canvas::DrawEffectText: where and in which order the shadow, the glow rings and the text are
// drawn, and with which alphas.
//
// Text is antialiased, so every check works from the text's coverage: the text is drawn once
// alone, opaque, on a transparent canvas, and the alpha of each pixel is its coverage. A copy of
// the text moved by whole pixels covers the same pixels moved. From the list of drawings a model
// predicts every pixel, and the whole canvas is compared with it.
#include "imaging_test_support.h"

#include "imaging/conversions.h"
#include "imaging/gdip_brush.h"
#include "imaging/gdip_font.h"

#include <cmath>
#include <sstream>

namespace {

using imaging_test::Alpha;
using imaging_test::ChannelDistance;

constexpr int kSide = 110;
constexpr float kX = 35.0f, kY = 35.0f;
const char kGlyph[] = "■";

constexpr gdip::ARGB kOpaqueWhite = 0xFFFFFFFF;
constexpr COLORREF kTextColour = RGB(255, 0, 0);
constexpr COLORREF kShadowColour = RGB(0, 0, 255);
constexpr COLORREF kGlowColour = RGB(0, 255, 0);
constexpr int kCompositingSourceCopy = 1;

// One drawing of the text: its offset from (x, y) and its brush.
struct Drawing {
    int dx, dy;
    gdip::ARGB brush;
};

using CoverageMap = std::vector<int>;  // kSide × kSide alphas of the text drawn alone, opaque

int CoverageAt(const CoverageMap& coverage, int x, int y) {
    if (x < 0 || y < 0 || x >= kSide || y >= kSide) return 0;
    return coverage[static_cast<std::size_t>(y) * kSide + x];
}

// A drawing's own pixel at (x, y): its colour with its alpha scaled by the coverage there.
gdip::ARGB Contribution(const Drawing& drawing, const CoverageMap& coverage, int x, int y) {
    const int cover = CoverageAt(coverage, x - drawing.dx, y - drawing.dy);
    const int alpha = static_cast<int>(std::lround(Alpha(drawing.brush) * cover / 255.0));
    return (static_cast<gdip::ARGB>(alpha) << 24) | (drawing.brush & 0x00FFFFFF);
}

// Non-premultiplied "source over".
gdip::ARGB Over(gdip::ARGB source, gdip::ARGB target) {
    const double sa = Alpha(source) / 255.0, ta = Alpha(target) / 255.0;
    const double outA = sa + ta * (1 - sa);
    if (outA <= 0) return 0;
    gdip::ARGB out = static_cast<gdip::ARGB>(std::lround(outA * 255)) << 24;
    for (int shift = 0; shift < 24; shift += 8) {
        const double s = (source >> shift) & 0xFF, t = (target >> shift) & 0xFF;
        out |= static_cast<gdip::ARGB>(std::lround((s * sa + t * ta * (1 - sa)) / outA)) << shift;
    }
    return out;
}

// What the canvas should hold after the drawings, in order, on a transparent canvas.
std::vector<gdip::ARGB> Predict(const std::vector<Drawing>& drawings, const CoverageMap& coverage,
                                bool sourceCopy) {
    std::vector<gdip::ARGB> pixels(static_cast<std::size_t>(kSide) * kSide, 0);
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            gdip::ARGB& pixel = pixels[static_cast<std::size_t>(y) * kSide + x];
            for (const Drawing& drawing : drawings) {
                const gdip::ARGB own = Contribution(drawing, coverage, x, y);
                if (Alpha(own) == 0 && CoverageAt(coverage, x - drawing.dx, y - drawing.dy) == 0) {
                    continue;  // the drawing does not reach this pixel
                }
                pixel = sourceCopy ? own : Over(own, pixel);
            }
        }
    }
    return pixels;
}

// Compares a canvas with a prediction; colours count only where the pixel is not nearly clear.
void ExpectCanvasMatches(const std::vector<gdip::ARGB>& expected, Canvas& canvas) {
    int width = 0, height = 0;
    const std::vector<gdip::ARGB> actual = imaging_test::Pixels(canvas.Image(), width, height);
    ASSERT_EQ(expected.size(), actual.size());
    int mismatches = 0;
    std::ostringstream first;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const gdip::ARGB want = expected[static_cast<std::size_t>(y) * width + x];
            const gdip::ARGB got = actual[static_cast<std::size_t>(y) * width + x];
            const bool alphaClose = std::abs(Alpha(want) - Alpha(got)) <= 3;
            const bool colourClose =
                Alpha(want) < 24 || ChannelDistance(want | 0xFF000000, got | 0xFF000000) <= 4;
            if (alphaClose && colourClose) continue;
            if (mismatches++ == 0) {
                first << std::hex << "first at (" << std::dec << x << ", " << y << "): expected 0x"
                      << std::hex << want << ", got 0x" << got;
            }
        }
    }
    EXPECT_EQ(0, mismatches) << first.str();
}

class EffectTextTest : public imaging_test::GdiplusTest {
  protected:
    void SetUp() override {
        ASSERT_EQ(gdip::kOk, font_.Create("宋体", 40.0f, 1));
        ASSERT_EQ(gdip::kOk, mainBrush_.CreateSolidFill(ToArgb(kTextColour, kOpacity)));
        coverage_ = ReadCoverage();
        ASSERT_FALSE(HasFailure());
    }

    // A transparent canvas of kSide × kSide, optionally replacing instead of blending.
    void NewCanvas(Canvas& canvas, bool sourceCopy) {
        ASSERT_TRUE(canvas.CreateBlank(kSide, kSide));
        ASSERT_EQ(gdip::kOk, gdip::Table().GdipGraphicsClear(canvas.Graphics(), 0));
        if (sourceCopy) {
            ASSERT_EQ(gdip::kOk, gdip::Table().GdipSetCompositingMode(canvas.Graphics(),
                                                                      kCompositingSourceCopy));
        }
    }

    CoverageMap ReadCoverage() {
        Canvas canvas;
        NewCanvas(canvas, false);
        GdipBrush white;
        white.CreateSolidFill(kOpaqueWhite);
        EXPECT_EQ(gdip::kOk, canvas.DrawEffectText(kGlyph, kX, kY, font_, white));
        int width = 0, height = 0;
        const std::vector<gdip::ARGB> pixels = imaging_test::Pixels(canvas.Image(), width, height);
        CoverageMap coverage(pixels.size());
        int solid = 0;
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            coverage[i] = Alpha(pixels[i]);
            solid += coverage[i] == 255;
        }
        EXPECT_GT(solid, 400) << "the glyph should be a large solid block";
        return coverage;
    }

    // The leftmost column the text reaches, and a row through the middle of the text there.
    void LeftEdge(int& column, int& row) const {
        column = kSide;
        int top = kSide, bottom = -1;
        for (int y = 0; y < kSide; ++y) {
            for (int x = 0; x < kSide; ++x) {
                if (CoverageAt(coverage_, x, y) == 0) continue;
                column = std::min(column, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
        row = (top + bottom) / 2;
    }

    static constexpr int kOpacity = 204;  // the run's opacity at 80
    GdipFont font_;
    GdipBrush mainBrush_;
    CoverageMap coverage_;
};

// The ten drawings the batch run makes with both effects on: shadow offset 4, glow width 2, all
// at the run's opacity.
std::vector<Drawing> TenDrawings(int opacity) {
    const gdip::ARGB shadow = ToArgb(kShadowColour, opacity);
    const gdip::ARGB outer = ToArgb(kGlowColour, opacity - 40);
    const gdip::ARGB inner = ToArgb(kGlowColour, opacity - 20);
    return {
        {4, 4, shadow}, {0, 2, outer},
        {2, 0, outer},  {-2, 0, outer},
        {0, -2, outer}, {0, 1, inner},
        {1, 0, inner},  {-1, 0, inner},
        {0, -1, inner}, {0, 0, ToArgb(kTextColour, opacity)},
    };
}

TEST_F(EffectTextTest, BothEffectsDrawTenCopiesInOrderEachReplacingWhatItCovers) {
    // Replacing instead of blending makes the order visible: each pixel keeps the last drawing
    // that reached it.
    Canvas canvas;
    NewCanvas(canvas, true);
    EXPECT_EQ(gdip::kOk, canvas.DrawEffectText(kGlyph, kX, kY, font_, mainBrush_, kShadowColour, 4,
                                               kOpacity, kGlowColour, 2, kOpacity));
    ExpectCanvasMatches(Predict(TenDrawings(kOpacity), coverage_, true), canvas);
}

TEST_F(EffectTextTest, BothEffectsBlendIntoTheExpectedPicture) {
    Canvas canvas;
    NewCanvas(canvas, false);
    canvas.DrawEffectText(kGlyph, kX, kY, font_, mainBrush_, kShadowColour, 4, kOpacity,
                          kGlowColour, 2, kOpacity);
    ExpectCanvasMatches(Predict(TenDrawings(kOpacity), coverage_, false), canvas);
}

TEST_F(EffectTextTest, WithoutEffectsTheTextIsDrawnOnceAtItsPlace) {
    Canvas canvas;
    NewCanvas(canvas, true);
    EXPECT_EQ(gdip::kOk, canvas.DrawEffectText(kGlyph, kX, kY, font_, mainBrush_));
    ExpectCanvasMatches(Predict({{0, 0, ToArgb(kTextColour, kOpacity)}}, coverage_, true), canvas);
}

TEST_F(EffectTextTest, ShadowWithoutOffsetOrOpacityIsOpaqueTwoPixelsAway) {
    Canvas canvas;
    NewCanvas(canvas, true);
    canvas.DrawEffectText(kGlyph, kX, kY, font_, mainBrush_, kShadowColour);
    ExpectCanvasMatches(
        Predict({{2, 2, ToArgb(kShadowColour)}, {0, 0, ToArgb(kTextColour, kOpacity)}}, coverage_,
                true),
        canvas);
}

TEST_F(EffectTextTest, GlowWithoutWidthOrOpacityHasTwoRingsFromOpaque) {
    Canvas canvas;
    NewCanvas(canvas, true);
    canvas.DrawEffectText(kGlyph, kX, kY, font_, mainBrush_, std::nullopt, std::nullopt,
                          std::nullopt, kGlowColour);
    const gdip::ARGB outer = ToArgb(kGlowColour, 215), inner = ToArgb(kGlowColour, 235);
    ExpectCanvasMatches(Predict({{0, 2, outer},
                                 {2, 0, outer},
                                 {-2, 0, outer},
                                 {0, -2, outer},
                                 {0, 1, inner},
                                 {1, 0, inner},
                                 {-1, 0, inner},
                                 {0, -1, inner},
                                 {0, 0, ToArgb(kTextColour, kOpacity)}},
                                coverage_, true),
                        canvas);
}

// Left of the text only the left copies of the rings reach. Replacing, the column v pixels left
// of the text's leftmost column keeps ring v's own edge pixel: its alpha scaled by the coverage.
std::vector<int> RingAlphasLeftOfText(Canvas& canvas, const CoverageMap& coverage, int column,
                                      int row, int rings) {
    const int edgeCoverage = CoverageAt(coverage, column, row);
    std::vector<int> alphas;
    for (int v = 1; v <= rings; ++v) {
        const int measured = Alpha(imaging_test::PixelAt(canvas.Image(), column - v, row));
        alphas.push_back(static_cast<int>(std::lround(measured * 255.0 / edgeCoverage)));
    }
    return alphas;
}

TEST_F(EffectTextTest, GlowOfWidthThreeFadesOutwardsInStepsOfTwenty) {
    Canvas canvas;
    NewCanvas(canvas, true);
    canvas.DrawEffectText(kGlyph, kX, kY, font_, mainBrush_, std::nullopt, std::nullopt,
                          std::nullopt, kGlowColour, 3, 255);
    int column = 0, row = 0;
    LeftEdge(column, row);
    const std::vector<int> alphas = RingAlphasLeftOfText(canvas, coverage_, column, row, 3);
    const int expected[] = {235, 215, 195};  // v = 1, 2, 3
    for (int v = 1; v <= 3; ++v) {
        EXPECT_NEAR(expected[v - 1], alphas[static_cast<std::size_t>(v - 1)], 3) << "ring " << v;
    }
    // The whole canvas, too: rings drawn from the outermost inwards.
    std::vector<Drawing> drawings;
    for (int v = 3; v >= 1; --v) {
        const gdip::ARGB ring = ToArgb(kGlowColour, 255 - 20 * v);
        drawings.insert(drawings.end(), {{0, v, ring}, {v, 0, ring}, {-v, 0, ring}, {0, -v, ring}});
    }
    drawings.push_back({0, 0, ToArgb(kTextColour, kOpacity)});
    ExpectCanvasMatches(Predict(drawings, coverage_, true), canvas);
}

TEST_F(EffectTextTest, FaintGlowRingsStopAtTransparentInsteadOfWrapping) {
    // Run opacities 25 and 12 (transparency 10 and 5) would give the outer rings alphas below 0.
    struct Case {
        int opacity;
        int outer, inner;
    } cases[] = {{25, 0, 5}, {12, 0, 0}, {40, 0, 20}};
    int column = 0, row = 0;
    LeftEdge(column, row);
    for (const Case& c : cases) {
        SCOPED_TRACE("opacity " + std::to_string(c.opacity));
        Canvas canvas;
        NewCanvas(canvas, true);
        canvas.DrawEffectText(kGlyph, kX, kY, font_, mainBrush_, std::nullopt, std::nullopt,
                              std::nullopt, kGlowColour, 2, c.opacity);
        const std::vector<int> alphas = RingAlphasLeftOfText(canvas, coverage_, column, row, 2);
        EXPECT_NEAR(c.inner, alphas[0], 2) << "inner ring";
        EXPECT_NEAR(c.outer, alphas[1], 2) << "outer ring";
        EXPECT_LE(alphas[1], alphas[0]) << "the glow fades outwards";
        // A wrapped alpha would have turned up as a nearly opaque colour somewhere.
        int width = 0, height = 0;
        for (gdip::ARGB pixel : imaging_test::Pixels(canvas.Image(), width, height)) {
            ASSERT_LE(Alpha(pixel), kOpacity) << std::hex << "pixel 0x" << pixel;
        }
    }
}

TEST_F(EffectTextTest, GlowWidthZeroOrBelowDrawsNoRing) {
    for (int width : {0, -3}) {
        SCOPED_TRACE("glow width " + std::to_string(width));
        Canvas canvas;
        NewCanvas(canvas, false);
        canvas.DrawEffectText(kGlyph, kX, kY, font_, mainBrush_, std::nullopt, std::nullopt,
                              std::nullopt, kGlowColour, width, 255);
        ExpectCanvasMatches(Predict({{0, 0, ToArgb(kTextColour, kOpacity)}}, coverage_, false),
                            canvas);
    }
}

TEST_F(EffectTextTest, EmptyTextDrawsNothing) {
    Canvas canvas;
    NewCanvas(canvas, false);
    canvas.DrawEffectText("", kX, kY, font_, mainBrush_, kShadowColour, 4, 255, kGlowColour, 2,
                          255);
    ExpectCanvasMatches(std::vector<gdip::ARGB>(static_cast<std::size_t>(kSide) * kSide, 0),
                        canvas);
}

TEST_F(EffectTextTest, EmptyFontOrBrushIsRefusedAndDrawsNothing) {
    GdipFont noFont;
    GdipBrush noBrush;
    struct Case {
        const char* name;
        const GdipFont& font;
        const GdipBrush& brush;
    } cases[] = {{"empty font", noFont, mainBrush_}, {"empty brush", font_, noBrush}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Canvas canvas;
        NewCanvas(canvas, false);
        EXPECT_EQ(gdip::kInvalidParameter, canvas.DrawEffectText(kGlyph, kX, kY, c.font, c.brush));
        ExpectCanvasMatches(std::vector<gdip::ARGB>(static_cast<std::size_t>(kSide) * kSide, 0),
                            canvas);
    }
}

TEST_F(EffectTextTest, TextPartlyOutsideTheCanvasIsClipped) {
    Canvas canvas;
    NewCanvas(canvas, false);
    EXPECT_EQ(gdip::kOk, canvas.DrawEffectText(kGlyph, -20.0f, kSide - 15.0f, font_, mainBrush_,
                                               kShadowColour, 4, 255, kGlowColour, 2, 255));
    int width = 0, height = 0;
    int drawn = 0;
    for (gdip::ARGB pixel : imaging_test::Pixels(canvas.Image(), width, height)) {
        drawn += Alpha(pixel) > 0;
    }
    EXPECT_GT(drawn, 0);
}

}  // namespace
