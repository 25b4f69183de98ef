// The settings file's value encodings and the path rules.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/path_rules.h"
#include "app/settings_values.h"

namespace {

const std::string kTrail5C = "淺";  // 9C 5C: its trail byte is '\'

TEST(SettingsFlag, OnlyTheExactTrueTextIsTrue) {
    struct Case {
        const char* name;
        std::string stored;
        bool expected;
    };
    const std::vector<Case> cases = {
        {"true text", "真", true},
        {"false text", "假", false},
        {"empty", "", false},
        {"one", "1", false},
        {"latin true", "true", false},
        {"true text with a space", "真 ", false},
        {"true text twice", "真真", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, FlagFromText(c.stored));
    }
    EXPECT_EQ("真", FlagText(true));
    EXPECT_EQ("假", FlagText(false));
}

TEST(SettingsNumber, ReadsTheLeadingNumberTruncated) {
    struct Case {
        const char* name;
        std::string stored;
        std::int32_t expected;
    };
    const std::vector<Case> cases = {
        {"plain", "30", 30}, {"decimal", "12.9", 12}, {"style 4.5", "4.5", 4},
        {"empty", "", 0},    {"letters", "abc", 0},   {"negative", "-3", -3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, NumberFromText(c.stored));
    }
    EXPECT_EQ("-7", NumberText(-7));
    EXPECT_EQ("30", NumberText(30));
}

TEST(SettingsColour, ReadsAndWritesColourrefs) {
    struct Case {
        const char* name;
        std::string stored;
        std::uint32_t expected;
    };
    const std::vector<Case> cases = {
        {"white", "16777215", 0x00FFFFFFu},
        {"black", "0", 0u},
        {"red", "255", 0x000000FFu},
        {"no number is black", "white", 0u},
        {"empty is black", "", 0u},
        {"decimal part dropped", "255.9", 0x000000FFu},
        {"minus one is all bits", "-1", 0xFFFFFFFFu},
        {"largest unsigned", "4294967295", 0xFFFFFFFFu},
        {"top bit as unsigned", "2147483648", 0x80000000u},
        {"top bit as signed", "-2147483648", 0x80000000u},
        {"past 32 bits is clamped", "99999999999", 0xFFFFFFFFu},
        {"below int32 is clamped", "-99999999999", 0x80000000u},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, ColourFromText(c.stored));
    }
    EXPECT_EQ("16777215", ColourText(0x00FFFFFF));
    EXPECT_EQ("0", ColourText(0));
    for (std::uint32_t colour : {0u, 0x00FFFFFFu, 0x12345678u, 0x80000000u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(colour);
        EXPECT_EQ(colour, ColourFromText(ColourText(colour)));
    }
}

TEST(SettingsListChoice, MatchesTheWholeItemByteForByte) {
    const std::vector<std::string> percent = {"400", "300", "200", "100", "90", "80", "70",
                                              "60",  "50",  "40",  "30",  "20", "10", "5"};
    const std::vector<std::string> transparency = {"100", "90", "80", "70", "60", "50",
                                                   "40",  "30", "20", "10", "5"};
    const std::vector<std::string> formats = {"原格式", "BMP", "JPG", "GIF", "TIFF", "PNG"};
    const std::vector<std::string> positions = {"顶边", "底边", "居中", "左上",
                                                "右上", "左下", "右下"};
    struct Case {
        const char* name;
        std::vector<std::string> items;
        std::string stored;
        int expected;
    };
    const std::vector<Case> cases = {
        {"40 is not 400", percent, "40", 9},
        {"5 is not 50", percent, "5", 13},
        {"10 is not 100", transparency, "10", 9},
        {"100", transparency, "100", 0},
        {"empty matches nothing", percent, "", -1},
        {"case matters", formats, "jpg", -1},
        {"JPG", formats, "JPG", 2},
        {"Chinese item", positions, "右下", 6},
        {"spaces matter", positions, " 右下", -1},
        {"no item", {}, "x", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, ListChoiceIndex(c.items, c.stored));
    }
    EXPECT_EQ(1, ListChoiceIndex({"a", "b", "b"}, "b")) << "the first equal item is chosen";
}

TEST(SettingsFontDisplay, FaceThenSizeInParentheses) {
    EXPECT_EQ("宋体(30)", FontDisplayText("宋体", 30));
    EXPECT_EQ("宋体(12)", FontDisplayText("宋体", 12));
    EXPECT_EQ("(0)", FontDisplayText("", 0));
}

TEST(SettingsFontRanges, OutOfRangeSizeAndStyleFallBack) {
    struct Case {
        std::int32_t value;
        std::int32_t size;
        std::int32_t style;
    };
    const std::vector<Case> cases = {
        {-1, 12, 1}, {0, 12, 1},  {1, 12, 1},  {4, 12, 4}, {5, 12, 1}, {6, 6, 1},
        {30, 30, 1}, {80, 80, 1}, {81, 12, 1}, {2, 12, 2}, {3, 12, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(c.size, FontSizeInRange(c.value));
        EXPECT_EQ(c.style, FontStyleInRange(c.value));
    }
    // Read through the number encoding: "12.9" is 12, "4.5" is 4, an empty size 0 then 12.
    EXPECT_EQ(12, FontSizeInRange(NumberFromText("12.9")));
    EXPECT_EQ(4, FontStyleInRange(NumberFromText("4.5")));
    EXPECT_EQ(12, FontSizeInRange(NumberFromText("")));
}

TEST(WithTrailingBackslash, AppendsToTheCallersTextUnlessItEndsInABackslash) {
    struct Case {
        const char* name;
        std::string path;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"empty", "", "\\"},
        {"folder", "C:\\Data", "C:\\Data\\"},
        {"already ends in one", "C:\\Data\\", "C:\\Data\\"},
        {"drive", "C:", "C:\\"},
        {"root", "C:\\", "C:\\"},
        {"ends in a character with trail byte 5C", "C:\\" + kTrail5C, "C:\\" + kTrail5C + "\\"},
        {"5C character then a backslash", "C:\\" + kTrail5C + "\\", "C:\\" + kTrail5C + "\\"},
        {"forward slash is no backslash", "C:/", "C:/\\"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string variable = c.path;
        std::string returned = WithTrailingBackslash(variable);
        EXPECT_EQ(c.expected, returned);
        EXPECT_EQ(c.expected, variable) << "the caller's variable is updated too";
    }
}

TEST(EndsWithBackslash, LooksAtTheLastCharacter) {
    EXPECT_TRUE(EndsWithBackslash("\\"));
    EXPECT_FALSE(EndsWithBackslash(""));
    EXPECT_FALSE(EndsWithBackslash(kTrail5C));
    EXPECT_TRUE(EndsWithBackslash(kTrail5C + "\\"));
}

TEST(SplitFolderAndFileName, CutsAtTheLastBackslash) {
    struct Case {
        const char* name;
        std::string path;
        std::string folder;
        std::string fileName;
    };
    const std::vector<Case> cases = {
        {"picture", "C:\\pics\\A.JPG", "C:\\pics\\", "A.JPG"},
        {"root", "C:\\x.png", "C:\\", "x.png"},
        {"no backslash", "x.png", "", "x.png"},
        {"ends in a backslash", "C:\\a\\", "C:\\a\\", ""},
        {"empty", "", "", ""},
        {"file name ends in a 5C character", "C:\\a\\" + kTrail5C, "C:\\a\\", kTrail5C},
        {"folder ends in a 5C character", "C:\\" + kTrail5C + "\\b.jpg", "C:\\" + kTrail5C + "\\",
         "b.jpg"},
        {"name of only 5C characters", kTrail5C + kTrail5C, "", kTrail5C + kTrail5C},
        {"network", "\\\\server\\share\\p.gif", "\\\\server\\share\\", "p.gif"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FolderAndFileName parts = SplitFolderAndFileName(c.path);
        EXPECT_EQ(c.folder, parts.folder);
        EXPECT_EQ(c.fileName, parts.fileName);
        EXPECT_EQ(c.path, parts.folder + parts.fileName) << "the row rebuilds the path";
    }
}

TEST(ExtensionOfPath, TextAfterTheLastDotOfTheWholePath) {
    struct Case {
        const char* name;
        std::string path;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"plain", "C:\\pics\\b.tif", "tif"},
        {"upper case kept", "C:\\pics\\A.JPG", "JPG"},
        {"several dots", "a.b.png", "png"},
        {"no dot: the whole path", "C:\\pics", "C:\\pics"},
        {"dot in a folder", "C:\\v1.2\\photo", "2\\photo"},
        {"ends in a dot", "C:\\a.", ""},
        {"empty", "", ""},
        {"extension after a 5C character", "C:\\" + kTrail5C + ".jpg", "jpg"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, ExtensionOfPath(c.path));
    }
}

TEST(DefaultOutputFolder, DocumentsFolderThenMyPicturesConverted) {
    EXPECT_EQ("C:\\users\\u\\Documents\\My Pictures\\转换图片",
              DefaultOutputFolder("C:\\users\\u\\Documents\\"));
    EXPECT_EQ("C:\\Docs\\My Pictures\\转换图片", DefaultOutputFolder("C:\\Docs"));
    // Program in a drive's root, no documents value: exactly one backslash between.
    EXPECT_EQ("D:\\My Pictures\\转换图片", DefaultOutputFolder("D:\\"));
}

TEST(IsSameFilePath, ComparesAsWindowsNamesFiles) {
    struct Case {
        const char* name;
        std::string a;
        std::string b;
        bool expected;
    };
    const std::vector<Case> cases = {
        {"equal", "C:\\a\\b.jpg", "C:\\a\\b.jpg", true},
        {"letter case", "C:\\Pics\\B.JPG", "c:\\pics\\b.jpg", true},
        {"forward slashes", "C:/a/b.jpg", "C:\\a\\b.jpg", true},
        {"doubled backslashes", "C:\\a\\\\\\b.jpg", "C:\\a\\b.jpg", true},
        {"other extension", "C:\\a\\b.jpg", "C:\\a\\b.png", false},
        {"other folder", "C:\\a\\b.jpg", "C:\\c\\b.jpg", false},
        {"network path keeps its prefix", "\\\\srv\\s\\b.jpg", "\\srv\\s\\b.jpg", false},
        {"network path, case and slashes", "//SRV/s//b.jpg", "\\\\srv\\s\\b.jpg", true},
        {"trail byte 41 is no letter", "C:\\癆.jpg", "C:\\\xB0\x61.jpg", false},
        {"trail byte 5C is no backslash", "C:\\" + kTrail5C + "x", "C:\\\x9C\\\\x", false},
        {"Chinese names equal", "C:\\照片\\输出.png", "c:/照片/输出.PNG", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, IsSameFilePath(c.a, c.b));
        EXPECT_EQ(c.expected, IsSameFilePath(c.b, c.a));
    }
}

}  // namespace
