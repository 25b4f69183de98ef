#include "convert/run_rules.h"

#include <cmath>
#include <limits>

#include "app/settings_values.h"
#include "forms/runtime/text.h"

std::int32_t TruncateToInt32(double value) {
    if (std::isnan(value)) return 0;
    double whole = std::trunc(value);
    if (whole <= std::numeric_limits<std::int32_t>::min()) {
        return std::numeric_limits<std::int32_t>::min();
    }
    if (whole >= std::numeric_limits<std::int32_t>::max()) {
        return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(whole);
}

std::int32_t OpacityFromItemText(const std::string& itemText) {
    std::int32_t opacity = TruncateToInt32(text::LeadingNumber(itemText) / 100.0 * 255.0);
    if (opacity < 0) return 0;
    if (opacity > 255) return 255;
    return opacity;
}

float ScaleFactorFromItemText(const std::string& itemText) {
    return static_cast<float>(text::LeadingNumber(itemText) / 100.0);
}

std::string NewExtensionForFormat(bool convertFormat, int formatIndex) {
    if (!convertFormat) return {};
    switch (formatIndex) {
        case 1:
            return "bmp";
        case 2:
            return "jpg";
        case 3:
            return "gif";
        case 4:
            return "tiff";
        case 5:
            return "png";
        default:
            return {};
    }
}

std::int32_t RequestedSide(bool requested, const std::string& typedText) {
    return requested ? text::LeadingInt32(typedText) : 0;
}

std::string WatermarkTextWithLineBreaks(const std::string& typedText) {
    return text::ReplaceAll(typedText, "\\n", "\r\n");
}

ConversionSettings RunSettingsFromOptions(const MainWindowRunOptions& options,
                                          const std::string& outputFolder) {
    ConversionSettings settings;
    settings.outputFolder = outputFolder;
    settings.doTextWatermark = options.textWatermark;
    settings.doPictureWatermark = options.pictureWatermark;
    settings.newExtension = NewExtensionForFormat(options.convertFormat, options.formatIndex);
    if (options.resize) {
        settings.targetWidth = RequestedSide(options.widthRequested, options.widthText);
        settings.targetHeight = RequestedSide(options.heightRequested, options.heightText);
        settings.scaleFactor = ScaleFactorFromItemText(options.percentItem);
        settings.bySize = options.bySize;
        settings.byPercent = options.byPercent;
    }
    if (options.textWatermark) {
        settings.watermarkText = WatermarkTextWithLineBreaks(options.watermarkText);
    } else if (options.pictureWatermark) {
        settings.watermarkText = options.picturePath;
    }
    settings.position = options.positionItem;
    settings.opacity = OpacityFromItemText(options.transparencyItem);
    return settings;
}

std::vector<SettingsEntry> RunSettingsEntries(const MainWindowRunOptions& options,
                                              const std::string& outputFolder) {
    return {
        {"保存目录", outputFolder},
        {"转换格式", FlagText(options.convertFormat)},
        {"改变尺寸", FlagText(options.resize)},
        {"文字水印", FlagText(options.textWatermark)},
        {"图片水印", FlagText(options.pictureWatermark)},
        {"新格式", options.formatItem},
        {"按尺寸", FlagText(options.bySize)},
        {"按百分比", FlagText(options.byPercent)},
        {"指定宽度", FlagText(options.widthRequested)},
        {"指定高度", FlagText(options.heightRequested)},
        {"宽度", options.widthText},
        {"高度", options.heightText},
        {"百分比", options.percentItem},
        {"文字内容", options.watermarkText},
        {"图片路径", options.picturePath},
        {"水印位置", options.positionItem},
        {"水印透明", options.transparencyItem},
    };
}

PixelSize TargetSize(std::int32_t width, std::int32_t height, const ConversionSettings& settings) {
    const double w = width;
    const double h = height;
    if (settings.bySize) {
        const std::int32_t tw = settings.targetWidth;
        const std::int32_t th = settings.targetHeight;
        if (tw != 0 && th != 0) return {tw, th};
        // A picture with a zero side gives an infinite or undefined proportion; TruncateToInt32
        // keeps that from becoming undefined behaviour.
        if (tw != 0) return {tw, TruncateToInt32(h * tw / w)};
        if (th != 0) return {TruncateToInt32(w * th / h), th};
        return {width, height};
    }
    if (settings.byPercent) {
        const double factor = settings.scaleFactor;
        return {TruncateToInt32(w * factor), TruncateToInt32(h * factor)};
    }
    return {width, height};
}

PixelPoint WatermarkPosition(std::int32_t width, std::int32_t height, std::int32_t markWidth,
                             std::int32_t markHeight, const std::string& position) {
    const double margin = 10;
    const double centreX = (static_cast<double>(width) - markWidth) / 2;
    const double centreY = (static_cast<double>(height) - markHeight) / 2;
    const double rightX = static_cast<double>(width) - markWidth - margin;
    const double bottomY = static_cast<double>(height) - markHeight - margin;
    double x = margin;
    double y = margin;
    if (position == "顶边") {
        x = centreX;
    } else if (position == "底边") {
        x = centreX;
        y = bottomY;
    } else if (position == "居中") {
        x = centreX;
        y = centreY;
    } else if (position == "左上") {
    } else if (position == "右上") {
        x = rightX;
    } else if (position == "左下") {
        y = bottomY;
    } else if (position == "右下") {
        x = rightX;
        y = bottomY;
    }
    return {TruncateToInt32(x), TruncateToInt32(y)};
}

std::string OutputPath(const std::string& outputFolder, const std::string& fileName,
                       const std::string& newExtension) {
    if (newExtension.empty()) return outputFolder + fileName;
    int lastDot = text::FindLast(fileName, ".");
    std::string stem = lastDot < 0 ? fileName + "." : text::Left(fileName, lastDot);
    return outputFolder + stem + newExtension;
}

OutputFolderPlan PlanOutputFolder(const std::string& typedFolder) {
    OutputFolderPlan plan;
    std::string folder = text::Trim(typedFolder);
    folder = text::ReplaceAll(folder, "/", "\\");
    folder = text::ReplaceAll(folder, "\\\\", "\\");
    plan.folder = folder;
    if (folder.empty()) {
        plan.result = OutputFolderResult::kEmpty;
        return plan;
    }
    // A text ending in half a character is no path: the backslash put after it would become
    // that character's trail byte. A text opening with a backslash has no drive even when ":"
    // follows it ("/:/x"): its blank first part would be skipped and a later one taken for the
    // drive.
    if (folder.size() < 2 || folder[1] != ':' || folder[0] == '\\' ||
        text::EndsWithLoneLeadByte(folder)) {
        plan.result = OutputFolderResult::kInvalid;
        return plan;
    }
    std::string built;
    bool first = true;
    for (const std::string& part : text::Split(folder, "\\")) {
        if (text::Trim(part).empty()) continue;
        if (first) {
            built = part;
            first = false;
            continue;
        }
        built += "\\" + part;
        plan.foldersToCreate.push_back(built);
    }
    plan.folder = built;
    plan.result = OutputFolderResult::kReady;
    return plan;
}

OutputFolderPlan PrepareOutputFolderText(const std::string& typedFolder) {
    OutputFolderPlan plan = PlanOutputFolder(typedFolder);
    if (plan.result == OutputFolderResult::kReady) plan.folder += "\\";
    return plan;
}
