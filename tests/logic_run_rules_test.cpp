// The batch run's rules: options, target size, watermark position, output path and the output
// folder's normalisation.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "convert/run_rules.h"

namespace {

const std::string kTrail5C = "淺";  // 9C 5C: its trail byte is '\'

TEST(Opacity, TransparencyItemsGiveTruncatedAlpha) {
    const std::vector<std::pair<std::string, std::int32_t>> items = {
        {"100", 255},
        {"90", 229},
        {"80", 204},
        {"70", 178},
        {"60", 153},
        {"50", 127},
        {"40", 102},
        {"30", 76},
        {"20", 51},
        {"10", 25},
        {"5", 12},
        // No selection, or a text that is no number, is fully transparent.
        {"", 0},
        {"abc", 0},
        // Out-of-range numbers stay a valid alpha byte.
        {"200", 255},
        {"-10", 0},
    };
    for (const auto& [item, opacity] : items) {
        SCOPED_TRACE("item \"" + item + "\"");
        EXPECT_EQ(opacity, OpacityFromItemText(item));
    }
}

TEST(ScaleFactor, PercentageOverAHundredAsAFloat) {
    EXPECT_EQ(0.5f, ScaleFactorFromItemText("50"));
    EXPECT_EQ(static_cast<float>(0.9), ScaleFactorFromItemText("90"));
    EXPECT_LT(ScaleFactorFromItemText("90"), 0.9) << "90 becomes 0.89999998";
    EXPECT_EQ(4.0f, ScaleFactorFromItemText("400"));
    EXPECT_EQ(0.0f, ScaleFactorFromItemText(""));
}

TEST(NewExtension, FollowsTheFormatIndexWhenConversionIsOn) {
    const std::vector<std::string> expected = {"", "bmp", "jpg", "gif", "tiff", "png"};
    for (int index = 0; index < 6; ++index) {
        SCOPED_TRACE(index);
        EXPECT_EQ(expected[index], NewExtensionForFormat(true, index));
        EXPECT_EQ("", NewExtensionForFormat(false, index));
    }
    EXPECT_EQ("", NewExtensionForFormat(true, -1));
    EXPECT_EQ("", NewExtensionForFormat(true, 6));
}

TEST(RequestedSide, NumberOfTheTextWhenTicked) {
    EXPECT_EQ(800, RequestedSide(true, "800.9"));
    EXPECT_EQ(-5, RequestedSide(true, "-5"));
    EXPECT_EQ(0, RequestedSide(true, "wide"));
    EXPECT_EQ(0, RequestedSide(false, "500"));
}

TEST(WatermarkLineBreaks, BackslashNBecomesCrLf) {
    struct Case {
        const char* name;
        std::string typed;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"one break", "A\\nB", "A\r\nB"},
        {"none", "榆雀网络", "榆雀网络"},
        {"two breaks", "\\nA\\n", "\r\nA\r\n"},
        {"capital N is no break", "A\\NB", "A\\NB"},
        {"5C trail then n is no break", kTrail5C + "n", kTrail5C + "n"},
        {"backslash after a 5C character", kTrail5C + "\\n", kTrail5C + "\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, WatermarkTextWithLineBreaks(c.typed));
    }
}

MainWindowRunOptions DefaultOptions() {
    MainWindowRunOptions o;
    o.bySize = true;
    o.widthRequested = true;
    o.formatIndex = 0;
    o.formatItem = "原格式";
    o.widthText = "500";
    o.heightText = "500";
    o.percentItem = "50";
    o.watermarkText = "榆雀网络";
    o.positionItem = "右下";
    o.transparencyItem = "100";
    return o;
}

TEST(RunSettings, FilledFromTheWindowsValues) {
    MainWindowRunOptions o = DefaultOptions();
    o.convertFormat = true;
    o.formatIndex = 2;
    o.formatItem = "JPG";
    o.resize = true;
    o.widthText = "800.9";
    o.heightRequested = true;
    o.heightText = "-5";
    o.percentItem = "90";
    o.textWatermark = true;
    o.pictureWatermark = true;
    o.watermarkText = "A\\nB";
    o.picturePath = " C:\\mark.png ";
    o.transparencyItem = "90";
    ConversionSettings s = RunSettingsFromOptions(o, "C:\\out\\");
    EXPECT_EQ("C:\\out\\", s.outputFolder);
    EXPECT_TRUE(s.doTextWatermark);
    EXPECT_TRUE(s.doPictureWatermark);
    EXPECT_EQ("jpg", s.newExtension);
    EXPECT_EQ(800, s.targetWidth);
    EXPECT_EQ(-5, s.targetHeight);
    EXPECT_EQ(static_cast<float>(0.9), s.scaleFactor);
    EXPECT_TRUE(s.bySize);
    EXPECT_FALSE(s.byPercent);
    EXPECT_EQ("A\r\nB", s.watermarkText) << "with both watermarks on, the text wins";
    EXPECT_EQ("右下", s.position);
    EXPECT_EQ(229, s.opacity);
}

TEST(RunSettings, ResizingOffClearsAllFiveFields) {
    MainWindowRunOptions o = DefaultOptions();
    o.resize = false;
    o.byPercent = true;
    o.heightRequested = true;
    ConversionSettings s = RunSettingsFromOptions(o, "C:\\out\\");
    EXPECT_EQ(0, s.targetWidth);
    EXPECT_EQ(0, s.targetHeight);
    EXPECT_EQ(0.0f, s.scaleFactor);
    EXPECT_FALSE(s.bySize);
    EXPECT_FALSE(s.byPercent);
}

TEST(RunSettings, WatermarkTextFollowsTheChosenWatermark) {
    MainWindowRunOptions o = DefaultOptions();
    o.watermarkText = "A\\nB";
    o.picturePath = " C:\\mark.png ";

    o.pictureWatermark = true;
    EXPECT_EQ(" C:\\mark.png ", RunSettingsFromOptions(o, "").watermarkText)
        << "the picture path is kept as typed, spaces and all";

    o.pictureWatermark = false;
    EXPECT_EQ("", RunSettingsFromOptions(o, "").watermarkText) << "no watermark, no text";
}

TEST(RunSettings, ConversionWithTheOriginalFormatKeepsNames) {
    MainWindowRunOptions o = DefaultOptions();
    o.convertFormat = true;
    o.formatIndex = 0;
    EXPECT_EQ("", RunSettingsFromOptions(o, "").newExtension);
}

TEST(RunSettingsEntries, SeventeenKeysInTheOrderWritten) {
    MainWindowRunOptions o = DefaultOptions();
    o.convertFormat = true;
    o.formatItem = "PNG";
    o.widthText = "wide";
    o.picturePath = " C:\\mark.png";
    std::vector<SettingsEntry> entries = RunSettingsEntries(o, "C:\\照片\\");
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"保存目录", "C:\\照片\\"}, {"转换格式", "真"},       {"改变尺寸", "假"},
        {"文字水印", "假"},         {"图片水印", "假"},       {"新格式", "PNG"},
        {"按尺寸", "真"},           {"按百分比", "假"},       {"指定宽度", "真"},
        {"指定高度", "假"},         {"宽度", "wide"},         {"高度", "500"},
        {"百分比", "50"},           {"文字内容", "榆雀网络"}, {"图片路径", " C:\\mark.png"},
        {"水印位置", "右下"},       {"水印透明", "100"},
    };
    ASSERT_EQ(expected.size(), entries.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i].first);
        EXPECT_EQ(expected[i].first, entries[i].key);
        EXPECT_EQ(expected[i].second, entries[i].value);
    }
}

struct TargetCase {
    const char* name;
    std::int32_t width, height;
    bool bySize, byPercent;
    std::int32_t targetWidth, targetHeight;
    float factor;
    std::int32_t expectedWidth, expectedHeight;
};

TEST(TargetSize, FirstRuleThatAppliesGivesTheSize) {
    const float f90 = static_cast<float>(90 / 100.0);
    const std::vector<TargetCase> cases = {
        {"width only keeps the proportion", 1000, 750, true, false, 800, 0, 0, 800, 600},
        {"width only, truncated", 1000, 333, true, false, 300, 0, 0, 300, 99},
        {"height only", 1000, 750, true, false, 0, 300, 0, 400, 300},
        {"height only, truncated", 333, 1000, true, false, 0, 300, 0, 99, 300},
        {"both sides stretch", 1000, 750, true, false, 640, 640, 0, 640, 640},
        {"no side keeps the size", 1000, 750, true, false, 0, 0, 0, 1000, 750},
        {"negative width counts as a request", 1000, 750, true, false, -100, 0, 0, -100, -75},
        {"negative proportion truncates toward zero", 1000, 333, true, false, -300, 0, 0, -300,
         -99},
        {"by size wins over by percent", 100, 100, true, true, 50, 0, 0.5f, 50, 50},
        {"90 percent of 100 is 89", 100, 100, false, true, 0, 0, f90, 89, 89},
        {"50 percent of 101 x 51", 101, 51, false, true, 0, 0, 0.5f, 50, 25},
        {"400 percent", 10, 20, false, true, 0, 0, 4.0f, 40, 80},
        {"factor 0", 10, 20, false, true, 0, 0, 0.0f, 0, 0},
        {"neither: own size", 123, 45, false, false, 7, 8, 0.5f, 123, 45},
        // 23 / 5 * 100 would give 459.99999999999994.
        {"multiplication before division, width", 5, 23, true, false, 100, 0, 0, 100, 460},
        {"multiplication before division, height", 23, 5, true, false, 0, 100, 0, 460, 100},
        {"zero-width picture does not crash", 0, 10, true, false, 5, 0, 0, 5,
         std::numeric_limits<std::int32_t>::max()},
        {"zero-size picture gives no size", 0, 0, true, false, 5, 0, 0, 5, 0},
        {"huge proportion is clamped", 1, 100000, true, false, 100000, 0, 0, 100000,
         std::numeric_limits<std::int32_t>::max()},
    };
    for (const TargetCase& c : cases) {
        SCOPED_TRACE(c.name);
        ConversionSettings s;
        s.bySize = c.bySize;
        s.byPercent = c.byPercent;
        s.targetWidth = c.targetWidth;
        s.targetHeight = c.targetHeight;
        s.scaleFactor = c.factor;
        PixelSize size = TargetSize(c.width, c.height, s);
        EXPECT_EQ(c.expectedWidth, size.width);
        EXPECT_EQ(c.expectedHeight, size.height);
    }
}

struct PositionCase {
    const char* name;
    std::int32_t width, height, markWidth, markHeight;
    std::string position;
    std::int32_t x, y;
};

TEST(WatermarkPosition, SevenPositionsWithATenPixelMargin) {
    const std::vector<PositionCase> cases = {
        {"top edge", 800, 600, 200, 40, "顶边", 300, 10},
        {"bottom edge", 800, 600, 200, 40, "底边", 300, 550},
        {"centre", 800, 600, 200, 40, "居中", 300, 280},
        {"top left", 800, 600, 200, 40, "左上", 10, 10},
        {"top right", 800, 600, 200, 40, "右上", 590, 10},
        {"bottom left", 800, 600, 200, 40, "左下", 10, 550},
        {"bottom right", 800, 600, 200, 40, "右下", 590, 550},
        {"unknown name", 800, 600, 200, 40, "中间", 10, 10},
        {"empty name", 800, 600, 200, 40, "", 10, 10},
        {"centre of odd sizes truncates", 801, 601, 200, 40, "居中", 300, 280},
        {"centre 7 px too wide truncates toward zero", 100, 100, 107, 20, "居中", -3, 40},
        {"bottom right larger than the picture", 100, 50, 200, 100, "右下", -110, -60},
    };
    for (const PositionCase& c : cases) {
        SCOPED_TRACE(c.name);
        PixelPoint p = WatermarkPosition(c.width, c.height, c.markWidth, c.markHeight, c.position);
        EXPECT_EQ(c.x, p.x);
        EXPECT_EQ(c.y, p.y);
    }
}

TEST(OutputPath, FolderNameAndNewExtension) {
    struct Case {
        const char* name;
        std::string folder, fileName, extension, expected;
    };
    const std::vector<Case> cases = {
        {"keep the name", "C:\\out\\", "a.png", "", "C:\\out\\a.png"},
        {"last dot only", "C:\\out\\", "a.b.png", "jpg", "C:\\out\\a.b.jpg"},
        {"tiff", "C:\\out\\", "photo.JPG", "tiff", "C:\\out\\photo.tiff"},
        {"name without a dot", "C:\\out\\", "README", "png", "C:\\out\\README.png"},
        {"name ending in a dot", "C:\\out\\", "a.", "bmp", "C:\\out\\a.bmp"},
        {"name after a 5C character", "C:\\" + kTrail5C + "\\", kTrail5C + ".gif", "png",
         "C:\\" + kTrail5C + "\\" + kTrail5C + ".png"},
        {"Chinese name kept", "D:\\照片\\", "输出.jpeg", "", "D:\\照片\\输出.jpeg"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, OutputPath(c.folder, c.fileName, c.extension));
    }
}

struct FolderCase {
    const char* name;
    std::string typed;
    OutputFolderResult result;
    std::string planned;   // PlanOutputFolder's folder
    std::string prepared;  // PrepareOutputFolderText's folder
    std::vector<std::string> created;
};

TEST(OutputFolder, TypedFolderNormalisedAndCreatedLevelByLevel) {
    using R = OutputFolderResult;
    const std::vector<FolderCase> cases = {
        {"slashes and a doubled one",
         "C:/照片//输出",
         R::kReady,
         "C:\\照片\\输出",
         "C:\\照片\\输出\\",
         {"C:\\照片", "C:\\照片\\输出"}},
        {"drive alone", "C:", R::kReady, "C:", "C:\\", {}},
        {"drive root", "C:\\", R::kReady, "C:", "C:\\", {}},
        {"blank part skipped",
         "C:\\a\\ \\b",
         R::kReady,
         "C:\\a\\b",
         "C:\\a\\b\\",
         {"C:\\a", "C:\\a\\b"}},
        {"trailing backslash",
         "C:\\a\\b\\",
         R::kReady,
         "C:\\a\\b",
         "C:\\a\\b\\",
         {"C:\\a", "C:\\a\\b"}},
        {"network path",
         "\\\\server\\share",
         R::kInvalid,
         "\\server\\share",
         "\\server\\share",
         {}},
        {"no drive", "photos", R::kInvalid, "photos", "photos", {}},
        // A colon after a leading separator is no drive: the blank first part would be skipped
        // and the next part taken for the drive.
        {"colon after a leading slash", "/:/\xC6\xF6", R::kInvalid, "\\:\\\xC6\xF6",
         "\\:\\\xC6\xF6", {}},
        {"colon after a leading backslash", "\\:", R::kInvalid, "\\:", "\\:", {}},
        {"one byte", "C", R::kInvalid, "C", "C", {}},
        {"drive-relative", "D:pictures", R::kReady, "D:pictures", "D:pictures\\", {}},
        {"spaces around trimmed", "  C:\\a  ", R::kReady, "C:\\a", "C:\\a\\", {"C:\\a"}},
        {"full-width spaces around trimmed", "　C:\\a　", R::kReady, "C:\\a", "C:\\a\\", {"C:\\a"}},
        {"empty", "", R::kEmpty, "", "", {}},
        {"only spaces", "   ", R::kEmpty, "", "", {}},
        {"three backslashes become two, then one part is blank",
         "C:\\\\\\a",
         R::kReady,
         "C:\\a",
         "C:\\a\\",
         {"C:\\a"}},
        {"inner spaces kept untrimmed",
         "C:\\ a \\b",
         R::kReady,
         "C:\\ a \\b",
         "C:\\ a \\b\\",
         {"C:\\ a ", "C:\\ a \\b"}},
        {"folder name with a 5C character stays whole",
         "C:\\" + kTrail5C + "\\x",
         R::kReady,
         "C:\\" + kTrail5C + "\\x",
         "C:\\" + kTrail5C + "\\x\\",
         {"C:\\" + kTrail5C, "C:\\" + kTrail5C + "\\x"}},
        {"ends in half a character", "C:\\a\\\xBF", R::kInvalid, "C:\\a\\\xBF", "C:\\a\\\xBF", {}},
        {"half a character before a space pairs with it",
         "C:\\a\xBF ",
         R::kReady,
         "C:\\a\xBF ",
         "C:\\a\xBF \\",
         {"C:\\a\xBF "}},
        {"5C character before a doubled backslash",
         "C:\\" + kTrail5C + "\\\\x",
         R::kReady,
         "C:\\" + kTrail5C + "\\x",
         "C:\\" + kTrail5C + "\\x\\",
         {"C:\\" + kTrail5C, "C:\\" + kTrail5C + "\\x"}},
    };
    for (const FolderCase& c : cases) {
        SCOPED_TRACE(c.name);
        OutputFolderPlan plan = PlanOutputFolder(c.typed);
        EXPECT_EQ(c.result, plan.result);
        EXPECT_EQ(c.planned, plan.folder);
        EXPECT_EQ(c.created, plan.foldersToCreate);
        OutputFolderPlan prepared = PrepareOutputFolderText(c.typed);
        EXPECT_EQ(c.result, prepared.result);
        EXPECT_EQ(c.prepared, prepared.folder);
        EXPECT_EQ(c.created, prepared.foldersToCreate);
    }
}

TEST(TruncateToInt32, TowardZeroAndWithinRange) {
    EXPECT_EQ(-5, TruncateToInt32(-5.5));
    EXPECT_EQ(5, TruncateToInt32(5.99));
    EXPECT_EQ(0, TruncateToInt32(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_EQ(std::numeric_limits<std::int32_t>::max(), TruncateToInt32(1e300));
    EXPECT_EQ(std::numeric_limits<std::int32_t>::min(), TruncateToInt32(-1e300));
}

}  // namespace
