// GdipBrush: the solid brush the program draws with, and the other brush kinds of its family,
// with their defaults (wrap modes, matrix orders) and the checks of their array arguments.
#include "imaging_test_support.h"

#include "imaging/gdip_brush.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int kBrushSolid = 0, kBrushHatch = 1, kBrushTexture = 2, kBrushPathGradient = 3,
              kBrushLinearGradient = 4;
constexpr int kWrapTile = 0, kWrapClamp = 4;

class BrushTest : public imaging_test::GdiplusTest {};

TEST_F(BrushTest, SolidFillHoldsItsColourAndCanBeMadeAgain) {
    GdipBrush brush;
    ASSERT_EQ(gdip::kOk, brush.CreateSolidFill(0x80112233));
    gdip::ARGB colour = 0;
    EXPECT_EQ(gdip::kOk, brush.GetSolidFillColor(colour));
    EXPECT_EQ(0x80112233u, colour);
    ASSERT_EQ(gdip::kOk, brush.CreateSolidFill(0xFF445566));
    EXPECT_NE(nullptr, brush.Handle());
    brush.GetSolidFillColor(colour);
    EXPECT_EQ(0xFF445566u, colour) << "the second brush is the one kept";
    EXPECT_EQ(gdip::kOk, brush.SetSolidFillColor(0x01020304));
    brush.GetSolidFillColor(colour);
    EXPECT_EQ(0x01020304u, colour);
    int type = -1;
    EXPECT_EQ(gdip::kOk, brush.GetBrushType(type));
    EXPECT_EQ(kBrushSolid, type);
}

TEST_F(BrushTest, DeleteOnAnEmptyBrushDoesNothingAndAnEmptyBrushIsRefused) {
    GdipBrush brush;
    brush.Delete();
    EXPECT_EQ(nullptr, brush.Handle());
    gdip::ARGB colour = 0;
    EXPECT_EQ(gdip::kInvalidParameter, brush.GetSolidFillColor(colour));
    ASSERT_EQ(gdip::kOk, brush.CreateSolidFill(0xFF000000));
    brush.Delete();
    brush.Delete();
    EXPECT_EQ(nullptr, brush.Handle());
}

TEST_F(BrushTest, CloneBrushGivesTheOtherObjectACopy) {
    GdipBrush brush, clone;
    ASSERT_EQ(gdip::kOk, brush.CreateSolidFill(0xFFABCDEF));
    ASSERT_EQ(gdip::kOk, brush.CloneBrush(clone));
    ASSERT_NE(nullptr, clone.Handle());
    EXPECT_NE(brush.Handle(), clone.Handle());
    gdip::ARGB colour = 0;
    clone.GetSolidFillColor(colour);
    EXPECT_EQ(0xFFABCDEFu, colour);
}

TEST_F(BrushTest, HatchBrushKeepsStyleAndColours) {
    GdipBrush brush;
    ASSERT_EQ(gdip::kOk, brush.CreateHatchBrush(5, 0xFF010203, 0xFF040506));
    int style = -1, type = -1;
    gdip::ARGB fore = 0, back = 0;
    EXPECT_EQ(gdip::kOk, brush.GetHatchStyle(style));
    EXPECT_EQ(5, style);
    EXPECT_EQ(gdip::kOk, brush.GetHatchForegroundColor(fore));
    EXPECT_EQ(0xFF010203u, fore);
    EXPECT_EQ(gdip::kOk, brush.GetHatchBackgroundColor(back));
    EXPECT_EQ(0xFF040506u, back);
    brush.GetBrushType(type);
    EXPECT_EQ(kBrushHatch, type);
}

TEST_F(BrushTest, LineBrushesTileAndKeepTheirColours) {
    struct Case {
        const char* name;
        std::function<gdip::Status(GdipBrush&)> create;
    } cases[] = {
        {"two points",
         [](GdipBrush& b) {
             return b.CreateLineBrush({0, 0}, {10, 0}, 0xFFFF0000, 0xFF0000FF);
         }},
        {"rectangle",
         [](GdipBrush& b) {
             return b.CreateLineBrushFromRect({0, 0, 10, 10}, 0xFFFF0000, 0xFF0000FF, 1);
         }},
        {"rectangle and angle",
         [](GdipBrush& b) {
             return b.CreateLineBrushFromRectWithAngle({0, 0, 10, 10}, 0xFFFF0000, 0xFF0000FF,
                                                       30.0f, true);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GdipBrush brush;
        ASSERT_EQ(gdip::kOk, c.create(brush));
        int wrap = -1, type = -1;
        EXPECT_EQ(gdip::kOk, brush.GetLineWrapMode(wrap));
        EXPECT_EQ(kWrapTile, wrap);
        brush.GetBrushType(type);
        EXPECT_EQ(kBrushLinearGradient, type);
        gdip::ARGB first = 0, second = 0;
        EXPECT_EQ(gdip::kOk, brush.GetLineColors(first, second));
        EXPECT_EQ(0xFFFF0000u, first);
        EXPECT_EQ(0xFF0000FFu, second);
    }
}

TEST_F(BrushTest, LineBrushSettingsReadBack) {
    GdipBrush brush;
    ASSERT_EQ(gdip::kOk, brush.CreateLineBrushFromRect({1, 2, 30, 40}, 0xFF000000, 0xFFFFFFFF, 0));
    EXPECT_EQ(gdip::kOk, brush.SetLineColors(0xFF111111, 0xFF222222));
    gdip::ARGB first = 0, second = 0;
    brush.GetLineColors(first, second);
    EXPECT_EQ(0xFF111111u, first);
    EXPECT_EQ(0xFF222222u, second);
    gdip::RectF rect = {};
    EXPECT_EQ(gdip::kOk, brush.GetLineRect(rect));
    EXPECT_FLOAT_EQ(30.0f, rect.width);
    EXPECT_FLOAT_EQ(40.0f, rect.height);
    bool gamma = false;
    EXPECT_EQ(gdip::kOk, brush.SetLineGammaCorrection(true));
    EXPECT_EQ(gdip::kOk, brush.GetLineGammaCorrection(gamma));
    EXPECT_TRUE(gamma);
    EXPECT_EQ(gdip::kOk, brush.SetLineWrapMode(2));
    int wrap = -1;
    brush.GetLineWrapMode(wrap);
    EXPECT_EQ(2, wrap);

    const std::vector<float> factors = {0.0f, 0.3f, 1.0f}, positions = {0.0f, 0.5f, 1.0f};
    EXPECT_EQ(gdip::kOk, brush.SetLineBlend(factors, positions, 3));
    int count = 0;
    EXPECT_EQ(gdip::kOk, brush.GetLineBlendCount(count));
    EXPECT_EQ(3, count);
    std::vector<float> readFactors(3), readPositions(3);
    EXPECT_EQ(gdip::kOk, brush.GetLineBlend(readFactors, readPositions, 3));
    EXPECT_EQ(factors, readFactors);
    EXPECT_EQ(positions, readPositions);

    const std::vector<gdip::ARGB> colours = {0xFF000000, 0xFF00FF00, 0xFFFFFFFF};
    EXPECT_EQ(gdip::kOk, brush.SetLinePresetBlend(colours, positions, 3));
    EXPECT_EQ(gdip::kOk, brush.GetLinePresetBlendCount(count));
    EXPECT_EQ(3, count);
    std::vector<gdip::ARGB> readColours(3);
    EXPECT_EQ(gdip::kOk, brush.GetLinePresetBlend(readColours, readPositions, 3));
    EXPECT_EQ(colours, readColours);

    EXPECT_EQ(gdip::kOk, brush.SetLineSigmaBlend(0.5f, 1.0f));
    EXPECT_EQ(gdip::kOk, brush.SetLineLinearBlend(0.5f, 1.0f));
}

TEST_F(BrushTest, ArraysShorterThanTheirCountAreRefusedBeforeGdiplusSeesThem) {
    GdipBrush brush;
    ASSERT_EQ(gdip::kOk, brush.CreateLineBrush({0, 0}, {10, 10}, 0xFF000000, 0xFFFFFFFF));
    std::vector<float> two(2, 0.5f), three(3, 0.5f);
    std::vector<gdip::ARGB> colours(2, 0xFF000000);
    EXPECT_EQ(gdip::kInvalidParameter, brush.SetLineBlend(two, three, 3));
    EXPECT_EQ(gdip::kInvalidParameter, brush.GetLineBlend(three, two, 3));
    EXPECT_EQ(gdip::kInvalidParameter, brush.SetLinePresetBlend(colours, three, 3));
    EXPECT_EQ(gdip::kInvalidParameter, brush.GetLinePresetBlend(colours, three, -1));
    GdipBrush gradient;
    EXPECT_EQ(gdip::kInvalidParameter, gradient.CreatePathGradient({{0, 0}, {5, 5}}, 3));
    EXPECT_EQ(nullptr, gradient.Handle());
}

TEST_F(BrushTest, TexturesTileUnlessToldOtherwiseAndGiveTheirImageBack) {
    GdipImage picture = imaging_test::SolidPicture(8, 6, 0xFF336699);
    struct Case {
        const char* name;
        std::function<gdip::Status(GdipBrush&)> create;
        int wrap;
    } cases[] = {
        {"texture", [&](GdipBrush& b) { return b.CreateTexture(picture); }, kWrapTile},
        {"texture, clamp", [&](GdipBrush& b) { return b.CreateTexture(picture, kWrapClamp); },
         kWrapClamp},
        {"part of the image", [&](GdipBrush& b) { return b.CreateTexture2(picture, 0, 0, 4, 3); },
         kWrapTile},
        {"part, flip", [&](GdipBrush& b) { return b.CreateTexture2(picture, 3, 0, 0, 4, 3); }, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GdipBrush brush;
        ASSERT_EQ(gdip::kOk, c.create(brush));
        int wrap = -1, type = -1;
        EXPECT_EQ(gdip::kOk, brush.GetTextureWrapMode(wrap));
        EXPECT_EQ(c.wrap, wrap);
        brush.GetBrushType(type);
        EXPECT_EQ(kBrushTexture, type);
        GdipImage image;
        EXPECT_EQ(gdip::kOk, brush.GetTextureImage(image));
        EXPECT_TRUE(image);
    }
}

// The matrix elements m11, m12, m21, m22, dx, dy.
std::vector<float> Elements(const GdipMatrix& matrix) {
    float elements[6] = {};
    EXPECT_EQ(gdip::kOk, matrix.GetElements(elements));
    return std::vector<float>(elements, elements + 6);
}

TEST_F(BrushTest, TransformsPrependUnlessToldOtherwise) {
    // Scaling by 2 and then translating by 10 prepended gives dx 20; appended dx 10.
    GdipImage picture = imaging_test::SolidPicture(4, 4, 0xFF000000);
    GdipPath path;
    ASSERT_EQ(gdip::kOk, path.Create());
    ASSERT_EQ(gdip::kOk, path.AddRectangle({0, 0, 10, 10}));
    struct Kind {
        const char* name;
        std::function<gdip::Status(GdipBrush&)> create;
        std::function<gdip::Status(GdipBrush&, float, float, std::optional<int>)> translate;
        std::function<gdip::Status(GdipBrush&, float, float)> scale;
        std::function<gdip::Status(const GdipBrush&, GdipMatrix&)> read;
    } kinds[] = {
        {"texture", [&](GdipBrush& b) { return b.CreateTexture(picture); },
         [](GdipBrush& b, float dx, float dy, std::optional<int> order) {
             return order ? b.TranslateTextureTransform(dx, dy, *order)
                          : b.TranslateTextureTransform(dx, dy);
         },
         [](GdipBrush& b, float sx, float sy) { return b.ScaleTextureTransform(sx, sy); },
         [](const GdipBrush& b, GdipMatrix& m) { return b.GetTextureTransform(m); }},
        {"line",
         [](GdipBrush& b) {
             return b.CreateLineBrush({0, 0}, {10, 0}, 0xFF000000, 0xFFFFFFFF);
         },
         [](GdipBrush& b, float dx, float dy, std::optional<int> order) {
             return order ? b.TranslateLineTransform(dx, dy, *order)
                          : b.TranslateLineTransform(dx, dy);
         },
         [](GdipBrush& b, float sx, float sy) { return b.ScaleLineTransform(sx, sy); },
         [](const GdipBrush& b, GdipMatrix& m) { return b.GetLineTransform(m); }},
        {"path gradient", [&](GdipBrush& b) { return b.CreatePathGradientFromPath(path); },
         [](GdipBrush& b, float dx, float dy, std::optional<int> order) {
             return order ? b.TranslatePathGradientTransform(dx, dy, *order)
                          : b.TranslatePathGradientTransform(dx, dy);
         },
         [](GdipBrush& b, float sx, float sy) { return b.ScalePathGradientTransform(sx, sy); },
         [](const GdipBrush& b, GdipMatrix& m) { return b.GetPathGradientTransform(m); }},
    };
    for (const Kind& kind : kinds) {
        struct Order {
            const char* name;
            std::optional<int> order;
            float dx;
        } orders[] = {{"no order", std::nullopt, 20.0f}, {"append", 1, 10.0f}};
        for (const Order& order : orders) {
            SCOPED_TRACE(std::string(kind.name) + ", " + order.name);
            GdipBrush brush;
            ASSERT_EQ(gdip::kOk, kind.create(brush));
            ASSERT_EQ(gdip::kOk, kind.scale(brush, 2, 2));
            ASSERT_EQ(gdip::kOk, kind.translate(brush, 10, 0, order.order));
            GdipMatrix matrix;
            ASSERT_EQ(gdip::kOk, matrix.Create());
            ASSERT_EQ(gdip::kOk, kind.read(brush, matrix));
            EXPECT_EQ((std::vector<float>{2, 0, 0, 2, order.dx, 0}), Elements(matrix));
        }
    }
}

TEST_F(BrushTest, TransformsCanBeSetResetMultipliedAndRotated) {
    GdipImage picture = imaging_test::SolidPicture(4, 4, 0xFF000000);
    GdipBrush brush;
    ASSERT_EQ(gdip::kOk, brush.CreateTexture(picture));
    GdipMatrix shift, read;
    ASSERT_EQ(gdip::kOk, shift.Create(1, 0, 0, 1, 5, 7));
    ASSERT_EQ(gdip::kOk, read.Create());
    EXPECT_EQ(gdip::kOk, brush.SetTextureTransform(shift));
    brush.GetTextureTransform(read);
    EXPECT_EQ((std::vector<float>{1, 0, 0, 1, 5, 7}), Elements(read));
    EXPECT_EQ(gdip::kOk, brush.MultiplyTextureTransform(shift));
    brush.GetTextureTransform(read);
    EXPECT_EQ((std::vector<float>{1, 0, 0, 1, 10, 14}), Elements(read));
    EXPECT_EQ(gdip::kOk, brush.ResetTextureTransform());
    brush.GetTextureTransform(read);
    EXPECT_EQ((std::vector<float>{1, 0, 0, 1, 0, 0}), Elements(read));
    EXPECT_EQ(gdip::kOk, brush.RotateTextureTransform(90));
    brush.GetTextureTransform(read);
    const std::vector<float> rotated = Elements(read);
    EXPECT_NEAR(0.0f, rotated[0], 1e-5);
    EXPECT_NEAR(1.0f, rotated[1], 1e-5);

    GdipBrush line;
    ASSERT_EQ(gdip::kOk, line.CreateLineBrush({0, 0}, {10, 0}, 0xFF000000, 0xFFFFFFFF));
    EXPECT_EQ(gdip::kOk, line.ResetLineTransform());
    EXPECT_EQ(gdip::kOk, line.SetLineTransform(shift));
}

TEST_F(BrushTest, PathGradientsClampUnlessToldOtherwiseAndKeepTheirSettings) {
    const std::vector<gdip::PointF> points = {{0, 0}, {20, 0}, {20, 10}, {0, 10}};
    GdipBrush brush;
    ASSERT_EQ(gdip::kOk, brush.CreatePathGradient(points, 4));
    int wrap = -1, type = -1;
    EXPECT_EQ(gdip::kOk, brush.GetPathGradientWrapMode(wrap));
    EXPECT_EQ(kWrapClamp, wrap);
    brush.GetBrushType(type);
    EXPECT_EQ(kBrushPathGradient, type);
    EXPECT_EQ(gdip::kOk, brush.SetPathGradientWrapMode(kWrapTile));
    brush.GetPathGradientWrapMode(wrap);
    EXPECT_EQ(kWrapTile, wrap);

    GdipBrush tiled;
    ASSERT_EQ(gdip::kOk, tiled.CreatePathGradient(points, 4, kWrapTile));
    tiled.GetPathGradientWrapMode(wrap);
    EXPECT_EQ(kWrapTile, wrap);

    EXPECT_EQ(gdip::kOk, brush.SetPathGradientCenterColor(0xFF102030));
    gdip::ARGB centre = 0;
    EXPECT_EQ(gdip::kOk, brush.GetPathGradientCenterColor(centre));
    EXPECT_EQ(0xFF102030u, centre);
    EXPECT_EQ(gdip::kOk, brush.SetPathGradientCenterPoint({5, 5}));
    gdip::PointF point = {};
    EXPECT_EQ(gdip::kOk, brush.GetPathGradientCenterPoint(point));
    EXPECT_FLOAT_EQ(5.0f, point.x);
    gdip::RectF rect = {};
    EXPECT_EQ(gdip::kOk, brush.GetPathGradientRect(rect));
    EXPECT_FLOAT_EQ(20.0f, rect.width);
    EXPECT_FLOAT_EQ(10.0f, rect.height);

    GdipMatrix matrix;
    ASSERT_EQ(gdip::kOk, matrix.Create(3, 0, 0, 3, 0, 0));
    EXPECT_EQ(gdip::kOk, brush.SetPathGradientTransform(matrix));
    GdipMatrix read;
    read.Create();
    brush.GetPathGradientTransform(read);
    EXPECT_EQ((std::vector<float>{3, 0, 0, 3, 0, 0}), Elements(read));
    EXPECT_EQ(gdip::kOk, brush.MultiplyPathGradientTransform(matrix));
    EXPECT_EQ(gdip::kOk, brush.RotatePathGradientTransform(10));
    EXPECT_EQ(gdip::kOk, brush.ResetPathGradientTransform());
    brush.GetPathGradientTransform(read);
    EXPECT_EQ((std::vector<float>{1, 0, 0, 1, 0, 0}), Elements(read));
}

TEST_F(BrushTest, CreatingAnotherKindReplacesTheBrush) {
    GdipBrush brush;
    ASSERT_EQ(gdip::kOk, brush.CreateSolidFill(0xFF000000));
    ASSERT_EQ(gdip::kOk, brush.CreateHatchBrush(1, 0xFF000000, 0xFFFFFFFF));
    int type = -1;
    brush.GetBrushType(type);
    EXPECT_EQ(kBrushHatch, type);
    // A failed creation leaves the object empty.
    EXPECT_NE(gdip::kOk, brush.CreateTexture(GdipImage()));
    EXPECT_EQ(nullptr, brush.Handle());
}

}  // namespace
