// The picture list's intake and preview fit, the shell texts, and the font preview's rules.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/maker.h"
#include "fontwindow/preview_rules.h"
#include "forms/runtime/text.h"
#include "picturelist/list_rules.h"
#include "shellutil/shell_rules.h"

namespace {

const std::string kTrail5C = "淺";  // 9C 5C: its trail byte is '\'

TEST(PictureIconIndex, ExactCaseSensitiveExtensions) {
    const std::vector<std::pair<std::string, int>> cases = {
        {"bmp", 1}, {"jpg", 2},  {"gif", 3}, {"tiff", 4}, {"png", 5}, {"BMP", 0},
        {"JPG", 0}, {"jpeg", 0}, {"tif", 0}, {"", 0},     {"txt", 0}, {"png ", 0},
    };
    for (const auto& [extension, index] : cases) {
        SCOPED_TRACE("extension \"" + extension + "\"");
        EXPECT_EQ(index, PictureIconIndex(extension));
    }
}

TEST(ExtensionIconPattern, ADotFollowsTheStarUnlessTheExtensionBringsOne) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {".*", "*.*"}, {"png", "*.png"}, {".png", "*.png"}, {"tiff", "*.tiff"}, {"", "*."},
    };
    for (const auto& [extension, pattern] : cases) {
        SCOPED_TRACE("extension \"" + extension + "\"");
        EXPECT_EQ(pattern, ExtensionIconPattern(extension));
    }
}

TEST(DroppedPath, ExtensionMustOccurInTheListOfTypes) {
    const std::vector<std::pair<std::string, bool>> cases = {
        {"C:\\pics\\a.jpg", true},
        {"C:\\pics\\A.JPG", true},
        {"C:\\pics\\b.tif", true},
        {"C:\\pics\\b.tiff", true},
        {"C:\\pics\\x.jp", true},
        {"C:\\pics\\x.f,png", true},
        {"C:\\pics\\c.jpeg", false},
        {"C:\\pics\\note.txt", false},
        {"C:\\pics", false},
        {"C:\\x.png", true},
        {"C:\\v1.2\\photo", false},
        {"C:\\pics\\ends in a dot.", false},
        {"", false},
        {"C:\\" + kTrail5C + ".PNG", true},
        {"C:\\a.bmp,jpg", true},
    };
    for (const auto& [path, accepted] : cases) {
        SCOPED_TRACE("path \"" + path + "\"");
        EXPECT_EQ(accepted, AcceptsDroppedPath(path));
    }
}

TEST(PictureListRow, FileNameFolderAndIcon) {
    struct Case {
        const char* name;
        std::string path;
        std::string fileName;
        std::string folder;
        int icon;
    };
    const std::vector<Case> cases = {
        {"upper-case extension gets icon 0", "C:\\pics\\A.JPG", "A.JPG", "C:\\pics\\", 0},
        {"tif gets icon 0", "C:\\pics\\b.tif", "b.tif", "C:\\pics\\", 0},
        {"folder named like a picture", "C:\\x.png", "x.png", "C:\\", 5},
        {"text file from the open dialog", "C:\\a\\note.txt", "note.txt", "C:\\a\\", 0},
        {"bmp", "D:\\照片\\p.bmp", "p.bmp", "D:\\照片\\", 1},
        {"gif", "p.gif", "p.gif", "", 3},
        {"tiff in a 5C folder", "C:\\" + kTrail5C + "\\t.tiff", "t.tiff", "C:\\" + kTrail5C + "\\",
         4},
        {"name ending in a 5C character", "C:\\a\\" + kTrail5C + ".jpg", kTrail5C + ".jpg",
         "C:\\a\\", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PictureListRow row = PictureListRowForPath(c.path);
        EXPECT_EQ(c.fileName, row.fileName);
        EXPECT_EQ(c.folder, row.folder);
        EXPECT_EQ(c.icon, row.iconIndex);
    }
}

TEST(FitPreview, FitsInto256By205KeepingProportionsAndCentres) {
    struct Case {
        std::int32_t width, height;
        PreviewPlacement expected;  // x, y, width, height
    };
    const std::vector<Case> cases = {
        {1024, 768, {0, 6, 256, 192}}, {300, 600, {77, 0, 102, 205}}, {1000, 10, {0, 101, 256, 2}},
        {100, 50, {78, 77, 100, 50}},  {257, 206, {0, 0, 256, 205}},  {1000, 1, {0, 102, 256, 0}},
        {256, 205, {0, 0, 256, 205}},  {10, 1000, {127, 0, 2, 205}},  {1, 1, {127, 102, 1, 1}},
        {0, 0, {128, 102, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        PreviewPlacement p = FitPreview(c.width, c.height);
        EXPECT_EQ(c.expected.x, p.x);
        EXPECT_EQ(c.expected.y, p.y);
        EXPECT_EQ(c.expected.width, p.width);
        EXPECT_EQ(c.expected.height, p.height);
    }
}

TEST(PictureSizeLabel, WidthXHeightWithoutSpaces) {
    EXPECT_EQ("1024x768", PictureSizeLabel(1024, 768));
    EXPECT_EQ("1x1", PictureSizeLabel(1, 1));
}

TEST(ExplorerCommandLine, TwoSpacesThenTheQuotedFolder) {
    EXPECT_EQ("explorer.exe  \"C:\\照片\\输出\"", ExplorerCommandLine("C:\\照片\\输出"));
    EXPECT_EQ("explorer.exe  \"C:\"", ExplorerCommandLine("C:"));
}

TEST(BannerPage, TwentySevenLinesJoinedByCrLf) {
    const std::string page = BannerPage("host.example.com");
    ASSERT_NE("\r\n", page.substr(page.size() - 2)) << "no line break after the last line";
    const std::vector<std::string> lines = text::Split(page, "\r\n");
    ASSERT_EQ(27u, lines.size());
    EXPECT_EQ("<html>", lines[0]);
    EXPECT_EQ("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\" />",
              lines[2]);
    EXPECT_EQ("<title>Load..</title>", lines[3]);
    EXPECT_EQ("\tfont-size: 9pt;", lines[7]);
    EXPECT_EQ("\tcolor: #FFFFFF;", lines[8]);
    EXPECT_EQ("\tbackground-color: #317D8B;", lines[11]);
    EXPECT_EQ("\toverflow: hidden;", lines[12]);
    EXPECT_EQ("", lines[17]);
    EXPECT_EQ("<body>", lines[18]);
    EXPECT_EQ("  <tr>", lines[20]);
    EXPECT_EQ("    <td align=\"center\" valign=\"middle\">Loading...</td>", lines[21]);
    EXPECT_EQ("  </tr>", lines[22]);
    EXPECT_EQ(
        "<Script Language=\"JavaScript\" type=\"Text/JavaScript\" "
        "Src=\"http://host.example.com/Link/GoSoft.Asp?ID=14&SoftName=\"></Script>",
        lines[24]);
    EXPECT_EQ("</body>", lines[25]);
    EXPECT_EQ("</html>", lines[26]);
    for (unsigned char c : page) {
        ASSERT_LT(c, 0x80) << "the page is plain ASCII";
    }
    EXPECT_NE(std::string::npos, BannerPage().find(std::string("http://") + kMakerWebHost + "/"))
        << "by default the page loads from the maker's host";
}

TEST(MakerHost, IsUnderTheReservedExampleDomain) {
    const std::string host = kMakerWebHost;
    const std::string domain = ".example.com";
    ASSERT_GT(host.size(), domain.size());
    EXPECT_EQ(domain, host.substr(host.size() - domain.size()));
}

TEST(FontPreviewText, PresetWhenBlankElseTheTextWithLineBreaks) {
    const std::string presetShown = std::string("榆雀网络") + "\r\n" + kMakerWebHost;
    struct Case {
        const char* name;
        std::string typed;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"empty", "", presetShown},
        {"spaces", "   ", presetShown},
        {"full-width spaces", "　 　", presetShown},
        {"A, backslash, n, B", "A\\nB", "A\r\nB"},
        {"kept untrimmed", " A ", " A "},
        {"untrimmed with a break", " A\\nB ", " A\r\nB "},
        {"5C trail then n", kTrail5C + "n", kTrail5C + "n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, FontPreviewText(c.typed));
    }
    EXPECT_EQ(std::string("榆雀网络") + "\\n" + kMakerWebHost, FontPreviewPresetText());
}

TEST(FontPreviewPlacement, OnThe340By160Sample) {
    struct Case {
        const char* name;
        std::int32_t w, h;
        std::string position;
        std::int32_t x, y;
    };
    const std::vector<Case> cases = {
        {"bottom right", 100, 20, "右下", 230, 130},
        {"centre of odd sizes", 101, 21, "居中", 119, 69},
        {"top edge, too wide", 351, 20, "顶边", -5, 10},
        {"bottom edge", 100, 20, "底边", 120, 130},
        {"top left", 100, 20, "左上", 10, 10},
        {"top right", 100, 20, "右上", 230, 10},
        {"bottom left", 100, 20, "左下", 10, 130},
        {"no position selected", 100, 20, "", 10, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PixelPoint p = FontPreviewPlacement(c.w, c.h, c.position);
        EXPECT_EQ(c.x, p.x);
        EXPECT_EQ(c.y, p.y);
    }
}

TEST(PreviewFontStyle, RadioBaseStyleAndLineBits) {
    struct Case {
        int radio;
        bool strikeout, underline;
        std::int32_t gdiplus;
        bool bold, italic;
    };
    const std::vector<Case> cases = {
        {0, false, false, 0, false, false}, {1, false, false, 1, true, false},
        {2, false, false, 2, false, true},  {3, false, false, 3, true, true},
        {0, true, true, 12, false, false},  {0, true, false, 8, false, false},
        {0, false, true, 4, false, false},  {3, true, true, 15, true, true},
        {-1, false, true, 4, false, false}, {4, false, false, 0, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("radio " + std::to_string(c.radio) + (c.strikeout ? " strikeout" : "") +
                     (c.underline ? " underline" : ""));
        PreviewFontStyle style = PreviewFontStyleFor(c.radio, c.strikeout, c.underline);
        EXPECT_EQ(c.gdiplus, style.gdiplusStyle);
        EXPECT_EQ(c.bold, style.gdiBold);
        EXPECT_EQ(c.italic, style.gdiItalic);
    }
}

}  // namespace
