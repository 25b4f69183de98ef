// The arithmetic and text rules of a batch run: the run's options from the main window's
// values, the target size and watermark position of each picture, the output path, and the
// normalisation of the typed output folder. Everything in double precision, truncated toward
// zero; nothing here touches a window or a file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "convert/conversion_settings.h"

struct PixelSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
};

struct PixelPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

// A double truncated toward zero into 32 bits: NaN gives 0, values beyond the range its end.
std::int32_t TruncateToInt32(double value);

// Opacity from a transparency item ("100", "90", ... "5"): number ÷ 100 × 255, truncated, so
// "90" gives 229. Kept within 0..255: it becomes the alpha byte of an ARGB colour.
std::int32_t OpacityFromItemText(const std::string& itemText);

// Scale factor from a percentage item: number ÷ 100 in double precision, stored as a float, so
// "90" gives 0.89999998f and "50" exactly 0.5f. A text without a number gives 0.
float ScaleFactorFromItemText(const std::string& itemText);

// The new extension from the selected index of the format list ("原格式", "BMP", "JPG", "GIF",
// "TIFF", "PNG"): 1 "bmp" .. 5 "png"; any other index, and conversion off, give "" (keep names).
std::string NewExtensionForFormat(bool convertFormat, int formatIndex);

// A requested width or height: the number the edit box's text begins with when its check box is
// ticked, else 0 (not requested). "800.9" gives 800, "-5" gives -5.
std::int32_t RequestedSide(bool requested, const std::string& typedText);

// The watermark text as drawn: every two-character sequence backslash + "n" becomes CR LF.
std::string WatermarkTextWithLineBreaks(const std::string& typedText);

// The values a batch run takes from the main window, as they stand when it starts.
struct MainWindowRunOptions {
    bool convertFormat = false;     // 选择框_转换格式
    bool resize = false;            // 选择框_改变尺寸
    bool textWatermark = false;     // 选择框_文字水印
    bool pictureWatermark = false;  // 选择框_图片水印
    bool bySize = false;            // 单选框_按尺寸
    bool byPercent = false;         // 单选框_按百分比
    bool widthRequested = false;    // 选择框_指定宽度
    bool heightRequested = false;   // 选择框_指定高度
    int formatIndex = 0;            // selected index of 组合框_新格式 (-1: none)
    std::string formatItem;         // selected item text of 组合框_新格式 ("" when none)
    std::string widthText;          // 编辑框_宽度
    std::string heightText;         // 编辑框_高度
    std::string percentItem;        // 组合框_百分比
    std::string watermarkText;      // 编辑框_水印文字, as typed
    std::string picturePath;        // 编辑框_图片路径, as typed
    std::string positionItem;       // 组合框_水印位置
    std::string transparencyItem;   // 组合框_水印透明
};

// The run's record from those values. `outputFolder` is the folder PrepareOutputFolder has just
// made ready; it is copied unchanged.
ConversionSettings RunSettingsFromOptions(const MainWindowRunOptions& options,
                                          const std::string& outputFolder);

// The seventeen keys of section "转换设置" a run stores, in the order they are written, with
// their values in the settings file's forms: flags "真"/"假", item texts, edit texts as typed.
struct SettingsEntry {
    std::string key;
    std::string value;
};
std::vector<SettingsEntry> RunSettingsEntries(const MainWindowRunOptions& options,
                                              const std::string& outputFolder);

// The size a picture of `width` × `height` is drawn at, by the first rule that applies:
// by size, both sides requested: exactly them (aspect not kept); one side: that side and the
// other in proportion (multiplication before division); none: the picture's own size. By
// percent: both sides × the factor. Otherwise the own size. A request is any non-zero side, so
// negative ones count. A zero or negative side means no picture can be drawn.
PixelSize TargetSize(std::int32_t width, std::int32_t height, const ConversionSettings& settings);

// The watermark's top-left corner on a picture of `width` × `height`, for a watermark of
// `markWidth` × `markHeight` at the named position, with a margin of 10 pixels:
// "顶边" "底边" "居中" "左上" "右上" "左下" "右下"; any other text gives (10, 10).
// Negative results (a watermark larger than the picture) are kept: the canvas clips them.
PixelPoint WatermarkPosition(std::int32_t width, std::int32_t height, std::int32_t markWidth,
                             std::int32_t markHeight, const std::string& position);

// Where a picture is written: the output folder (ending in a backslash) followed by the file
// name, its extension replaced when `newExtension` is not empty: the name up to and including
// its last ".", then the new extension ("a.b.png" with "jpg" gives "a.b.jpg"). A name without
// any "." gets "." and the extension appended ("README" with "png" gives "README.png").
std::string OutputPath(const std::string& outputFolder, const std::string& fileName,
                       const std::string& newExtension);

// The typed output folder made into a usable one.
enum class OutputFolderResult {
    kEmpty,    // nothing typed: "请设置保存目录"
    kInvalid,  // no drive letter (the second byte is not ":", or the first is a backslash),
               // or a text ending in half a double-byte character: "无效的保存目录"
    kReady,
};

struct OutputFolderPlan {
    OutputFolderResult result = OutputFolderResult::kEmpty;
    // Ready: the folder; otherwise the text as far as it was normalised.
    std::string folder;
    // Ready: each folder to create, in order, parent before child. Creation may fail or find the
    // folder there already; neither matters.
    std::vector<std::string> foldersToCreate;
};

// The folder without its final backslash, as the open-folder button uses it: the typed text
// trimmed, "/" turned into "\", each pair of backslashes made one in a single pass from the
// left, then rebuilt from its parts (parts blank after trimming are skipped; the first part is
// the drive, later ones are appended untrimmed, and each prefix is a folder to create).
// "C:/照片//输出" gives "C:\照片\输出" creating "C:\照片" then "C:\照片\输出"; "C:" gives "C:".
// Parts are split at character boundaries, so a name holding a character whose trail byte is
// 0x5C stays whole.
OutputFolderPlan PlanOutputFolder(const std::string& typedFolder);

// The same, and a ready folder ends in a backslash: "C:" gives "C:\", "D:pictures" gives
// "D:pictures\". This is the batch run's folder.
OutputFolderPlan PrepareOutputFolderText(const std::string& typedFolder);
