// The imaging layer's value rules: text and colour conversions, output formats and encoders, the
// watermark font style mapping, and the palette of indexed pictures.
#include <gtest/gtest.h>

#include "imaging/conversions.h"
#include "imaging/encoders.h"
#include "imaging/font_style.h"
#include "imaging/image_format.h"
#include "imaging/palette_quantizer.h"

#include <cstdint>
#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

TEST(ToArgb, TurnsColourrefAndOpacityIntoArgb) {
    struct Case {
        const char* name;
        std::uint32_t colour;
        std::optional<std::int32_t> opacity;
        std::uint32_t argb;
    } cases[] = {
        {"pure red, 204", 0x000000FF, 204, 0xCCFF0000},
        {"white, no opacity", 0x00FFFFFF, std::nullopt, 0xFFFFFFFF},
        {"white, 178", 0x00FFFFFF, 178, 0xB2FFFFFF},
        {"top byte ignored", 0x12345678, 255, 0xFF785634},
        {"opacity 0 is clear", 0x000000FF, 0, 0x00FF0000},
        {"black, no opacity", 0x00000000, std::nullopt, 0xFF000000},
        {"blue, 1", 0x00FF0000, 1, 0x010000FF},
        {"opacity 300 clamps to 255", 0x000000FF, 300, 0xFFFF0000},
        {"opacity -15 clamps to 0", 0x000000FF, -15, 0x00FF0000},
        {"opacity -28 clamps to 0", 0x00FFFFFF, -28, 0x00FFFFFF},
        {"opacity 256 clamps to 255", 0x00123456, 256, 0xFF563412},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.argb, ToArgb(c.colour, c.opacity)) << c.name;
    }
    EXPECT_EQ(0xFF0000FFu, ToArgb(0x00FF0000)) << "called without an opacity";
}

TEST(ToWideText, GivesUtf16WithItsTerminator) {
    struct Case {
        const char* name;
        std::string text;
        std::vector<wchar_t> units;  // terminator included
    } cases[] = {
        {"empty", "", {0}},
        {"two Chinese characters", "宋体", {0x5B8B, 0x4F53, 0}},
        {"ASCII", "abc", {L'a', L'b', L'c', 0}},
        {"mixed with a line break", "A\r\n图", {L'A', L'\r', L'\n', 0x56FE, 0}},
        {"trail byte equal to a backslash", "\xD7\x5C", {0x8B62, 0}},  // 譢 in GBK
        {"ends at the first zero byte", std::string("ab\0cd", 5), {L'a', L'b', 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const WideText wide = ToWideText(c.text);
        EXPECT_EQ(c.units, std::vector<wchar_t>(wide.begin(), wide.end()));
        EXPECT_EQ(2 * c.units.size(), ByteLength(wide));
        EXPECT_EQ(static_cast<int>(c.units.size()) - 1, CharacterCount(wide));
    }
}

TEST(ImageFormat, SaveFormatFollowsTheLowerCasedTextAfterTheLastDot) {
    struct Case {
        const char* path;
        int code;
    } cases[] = {
        {"C:\\out\\a.bmp", kFormatBmp},
        {"C:\\out\\a.JPG", kFormatJpeg},
        {"a.gif", kFormatGif},
        {"a.TiFF", kFormatTiff},
        {"a.png", kFormatPng},
        {"a.tif", kFormatJpeg},
        {"a.jpeg", kFormatJpeg},
        {"a.b.png", kFormatPng},
        {"no extension", kFormatJpeg},
        {"C:\\dir.png\\file", kFormatJpeg},
        {"a.", kFormatJpeg},
        {"图片.PNG", kFormatPng},
        {"bmp", kFormatBmp},  // no dot: the whole path is looked up
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.code, FormatCodeForPath(c.path)) << c.path;
    }
}

TEST(EncoderClsid, GivesTheBuiltInEncoderOfEachFormatAndZeroOutsideThem) {
    struct Case {
        int code;
        unsigned long data1;
    } known[] = {
        {1, 0x557CF400}, {2, 0x557CF401}, {3, 0x557CF402}, {4, 0x557CF405}, {5, 0x557CF406}};
    const unsigned char tail[8] = {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E};
    for (const Case& c : known) {
        SCOPED_TRACE("code " + std::to_string(c.code));
        const CLSID clsid = EncoderClsid(c.code);
        EXPECT_EQ(c.data1, clsid.Data1);
        EXPECT_EQ(0x1A04, clsid.Data2);
        EXPECT_EQ(0x11D3, clsid.Data3);
        EXPECT_EQ(0, std::memcmp(tail, clsid.Data4, sizeof tail));
        EXPECT_FALSE(IsNullClsid(clsid));
    }
    for (int code : {6, 0, -1, 1000}) {
        const CLSID clsid = EncoderClsid(code);
        const unsigned char zero[16] = {};
        EXPECT_EQ(0, std::memcmp(zero, &clsid, sizeof zero)) << "code " << code;
        EXPECT_TRUE(IsNullClsid(clsid));
    }
}

TEST(MapFontStyle, GivesGdiFlagsAndGdipStyle) {
    struct Case {
        const char* name;
        int code;
        bool underline, strikeout;
        bool bold, italic;
        int gdipStyle;
    } cases[] = {
        {"regular", 1, false, false, false, false, 0},
        {"bold", 2, false, false, true, false, 1},
        {"italic", 3, false, false, false, true, 2},
        {"bold italic", 4, false, false, true, true, 3},
        {"regular, underline and strikeout", 1, true, true, false, false, 12},
        {"bold italic, both decorations", 4, true, true, true, true, 15},
        {"italic, underline", 3, true, false, false, true, 6},
        {"bold, strikeout", 2, false, true, true, false, 9},
        {"unknown code as regular", 7, false, false, false, false, 0},
        {"code 0 as regular", 0, true, false, false, false, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const WatermarkFontFlags flags = MapFontStyle(c.code, c.underline, c.strikeout);
        EXPECT_EQ(c.bold, flags.bold);
        EXPECT_EQ(c.italic, flags.italic);
        EXPECT_EQ(c.gdipStyle, flags.gdipStyle);
    }
}

// A picture as 0xAARRGGBB rows.
struct Picture {
    int width, height;
    std::vector<std::uint32_t> pixels;

    palette::PixelView View() const { return {pixels.data(), width, height, width}; }
};

std::vector<std::uint8_t> MapAll(const Picture& picture, const palette::Palette& chosen) {
    std::vector<std::uint8_t> indices(picture.pixels.size());
    palette::Ditherer ditherer(chosen, picture.width);
    for (int y = 0; y < picture.height; ++y) {
        ditherer.MapRow(picture.pixels.data() + static_cast<std::size_t>(y) * picture.width,
                        indices.data() + static_cast<std::size_t>(y) * picture.width);
    }
    return indices;
}

int Channel(std::uint32_t colour, int shift) { return static_cast<int>((colour >> shift) & 0xFF); }

TEST(Palette, FewColoursAreKeptExactly) {
    // 200 colours, some differing by one step only, with changing alpha (ignored).
    Picture picture{50, 40, {}};
    for (int i = 0; i < 50 * 40; ++i) {
        const int k = i % 200;
        picture.pixels.push_back((static_cast<std::uint32_t>(i % 7 * 30) << 24) |
                                 static_cast<std::uint32_t>(k << 16 | (k / 2) << 8 | (k & 1)));
    }
    const palette::Palette chosen = palette::BuildPalette(picture.View());
    EXPECT_TRUE(chosen.exact);
    EXPECT_EQ(200u, chosen.colours.size());
    const std::vector<std::uint8_t> indices = MapAll(picture, chosen);
    for (std::size_t i = 0; i < indices.size(); ++i) {
        ASSERT_EQ(picture.pixels[i] | 0xFF000000u, chosen.colours[indices[i]]) << "pixel " << i;
    }
}

TEST(Palette, ManyColoursGetAtMost256CloseOnes) {
    // A smooth two-way gradient with noise: tens of thousands of colours.
    Picture picture{256, 192, {}};
    std::mt19937 random(7);
    std::uniform_int_distribution<int> noise(-6, 6);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            auto clampByte = [](int v) {
                return static_cast<std::uint32_t>(std::clamp(v, 0, 255));
            };
            const std::uint32_t r = clampByte(x + noise(random));
            const std::uint32_t g = clampByte(y * 4 / 3 + noise(random));
            const std::uint32_t b = clampByte((x + y) / 2 + noise(random));
            picture.pixels.push_back(0xFF000000u | r << 16 | g << 8 | b);
        }
    }
    const palette::Palette chosen = palette::BuildPalette(picture.View());
    EXPECT_FALSE(chosen.exact);
    EXPECT_LE(chosen.colours.size(), 256u);
    EXPECT_GE(chosen.colours.size(), 200u);
    const std::vector<std::uint8_t> indices = MapAll(picture, chosen);
    double total = 0;
    int worst = 0;
    for (std::size_t i = 0; i < indices.size(); ++i) {
        ASSERT_LT(indices[i], chosen.colours.size());
        for (int shift : {0, 8, 16}) {
            const int difference = std::abs(Channel(picture.pixels[i], shift) -
                                            Channel(chosen.colours[indices[i]], shift));
            total += difference;
            worst = std::max(worst, difference);
        }
    }
    EXPECT_LT(total / (3.0 * indices.size()), 6.0) << "mean difference per channel";
    EXPECT_LE(worst, 48) << "largest difference of one channel";
}

TEST(Palette, EmptyPictureGivesOneBlackEntry) {
    const palette::Palette chosen = palette::BuildPalette(palette::PixelView{});
    ASSERT_EQ(1u, chosen.colours.size());
    EXPECT_EQ(0xFF000000u, chosen.colours[0]);
}

}  // namespace
