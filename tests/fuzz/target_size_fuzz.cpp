// A picture's target size, the watermark's position and the output path, for any sizes, requests,
// factors and texts: no undefined arithmetic, sizes that are the requested ones or in proportion,
// a watermark that fits lies inside the picture, and the run's options stay in their ranges.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "convert/run_rules.h"
#include "forms/runtime/text.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

const char* const kPositions[] = {"顶边", "底边", "居中", "左上", "右上", "左下", "右下"};

std::string Describe(std::int64_t a, std::int64_t b, std::int64_t c, std::int64_t d) {
    return text::Decimal(a) + " " + text::Decimal(b) + " " + text::Decimal(c) + " " +
           text::Decimal(d);
}

// Whether `side` is `exact` (a real number) truncated, allowing one pixel for the rounding of
// double arithmetic on large products, and clamped to the int32 range. An undefined product
// (0 × infinity) is no size: 0.
bool IsTruncationOf(std::int32_t side, long double exact) {
    if (std::isnan(exact)) return side == 0;
    const long double clamped =
        std::fmax(std::fmin(std::trunc(exact), 2147483647.0L), -2147483648.0L);
    return std::fabs(static_cast<long double>(side) - clamped) <= 1.0L;
}

void CheckTargetSize(std::int32_t width, std::int32_t height, const ConversionSettings& settings) {
    const std::string what = Describe(width, height, settings.targetWidth, settings.targetHeight) +
                             " factor " + std::to_string(settings.scaleFactor) +
                             (settings.bySize ? " by size" : "") +
                             (settings.byPercent ? " by percent" : "");
    const PixelSize size = TargetSize(width, height, settings);
    const std::int32_t tw = settings.targetWidth;
    const std::int32_t th = settings.targetHeight;
    if (!settings.bySize && !settings.byPercent) {
        FUZZ_CHECK(size.width == width && size.height == height, what);
        return;
    }
    if (settings.bySize) {
        if (tw != 0 && th != 0) {
            FUZZ_CHECK(size.width == tw && size.height == th, what);
        } else if (tw != 0) {
            FUZZ_CHECK(size.width == tw, what);
            if (width > 0) {
                FUZZ_CHECK(
                    IsTruncationOf(size.height, static_cast<long double>(height) * tw / width),
                    what);
            }
        } else if (th != 0) {
            FUZZ_CHECK(size.height == th, what);
            if (height > 0) {
                FUZZ_CHECK(
                    IsTruncationOf(size.width, static_cast<long double>(width) * th / height),
                    what);
            }
        } else {
            FUZZ_CHECK(size.width == width && size.height == height, what);
        }
        if (width > 0 && height > 0 && tw >= 0 && th >= 0) {
            FUZZ_CHECK(size.width >= 0 && size.height >= 0, what);
        }
        return;
    }
    const float factor = settings.scaleFactor;
    if (std::isnan(factor)) {
        FUZZ_CHECK(size.width == 0 && size.height == 0, what);
        return;
    }
    FUZZ_CHECK(IsTruncationOf(size.width, static_cast<long double>(width) * factor), what);
    FUZZ_CHECK(IsTruncationOf(size.height, static_cast<long double>(height) * factor), what);
    if (factor >= 0 && factor <= 1 && width >= 0 && height >= 0) {
        FUZZ_CHECK(size.width >= 0 && size.width <= width, what);
        FUZZ_CHECK(size.height >= 0 && size.height <= height, what);
    }
}

void CheckPosition(std::int32_t width, std::int32_t height, std::int32_t markWidth,
                   std::int32_t markHeight, const std::string& position, bool named) {
    const std::string what = Describe(width, height, markWidth, markHeight) + " " + position;
    const PixelPoint at = WatermarkPosition(width, height, markWidth, markHeight, position);
    if (!named || position == "左上") {
        FUZZ_CHECK(at.x == 10 && at.y == 10, what);
        return;
    }
    const bool fits = markWidth >= 0 && markHeight >= 0 &&
                      static_cast<std::int64_t>(markWidth) + 20 <= width &&
                      static_cast<std::int64_t>(markHeight) + 20 <= height;
    if (!fits) return;
    FUZZ_CHECK(at.x >= 0 && static_cast<std::int64_t>(at.x) + markWidth <= width, what);
    FUZZ_CHECK(at.y >= 0 && static_cast<std::int64_t>(at.y) + markHeight <= height, what);
    // The centred positions leave margins that differ by at most one pixel.
    const std::int64_t spareX =
        static_cast<std::int64_t>(width) - markWidth - 2 * static_cast<std::int64_t>(at.x);
    if (position == "顶边" || position == "底边" || position == "居中") {
        FUZZ_CHECK(spareX == 0 || spareX == 1, what);
    }
}

void CheckOptions(FuzzedDataProvider& in) {
    MainWindowRunOptions options;
    options.convertFormat = in.ConsumeBool();
    options.resize = in.ConsumeBool();
    options.textWatermark = in.ConsumeBool();
    options.pictureWatermark = in.ConsumeBool();
    options.bySize = in.ConsumeBool();
    options.byPercent = in.ConsumeBool();
    options.widthRequested = in.ConsumeBool();
    options.heightRequested = in.ConsumeBool();
    options.formatIndex = in.ConsumeIntegral<int>();
    options.widthText = in.ConsumeRandomLengthString(24);
    options.heightText = in.ConsumeRandomLengthString(24);
    options.percentItem = in.ConsumeRandomLengthString(24);
    options.transparencyItem = in.ConsumeRandomLengthString(24);
    options.watermarkText = in.ConsumeRandomLengthString(64);
    const std::string folder = in.ConsumeRandomLengthString(64);
    const std::string what = options.widthText + "|" + options.heightText + "|" +
                             options.percentItem + "|" + options.transparencyItem;

    const ConversionSettings settings = RunSettingsFromOptions(options, folder);
    FUZZ_CHECK(settings.opacity >= 0 && settings.opacity <= 255, what);
    FUZZ_CHECK(!std::isnan(settings.scaleFactor), what);
    const std::string& extension = settings.newExtension;
    FUZZ_CHECK(extension.empty() || extension == "bmp" || extension == "jpg" ||
                   extension == "gif" || extension == "tiff" || extension == "png",
               what);
    FUZZ_CHECK(options.convertFormat || extension.empty(), what);
    if (!options.resize) {
        FUZZ_CHECK(!settings.bySize && !settings.byPercent && settings.targetWidth == 0 &&
                       settings.targetHeight == 0 && settings.scaleFactor == 0.0f,
                   what);
    }
    FUZZ_CHECK(options.widthRequested || settings.targetWidth == 0, what);
    // Every backslash + "n" became a line break.
    FUZZ_CHECK(!options.textWatermark || text::Find(settings.watermarkText, "\\n") < 0,
               options.watermarkText);
    FUZZ_CHECK(RunSettingsEntries(options, folder).size() == 17, what);
    FUZZ_CHECK(RunSettingsEntries(options, folder).front().value == folder, what);

    // The output path: the folder, the name's stem, the new extension.
    const std::string fileName = in.ConsumeRemainingBytesAsString();
    const std::string path = OutputPath(folder, fileName, extension);
    FUZZ_CHECK(path.compare(0, folder.size(), folder) == 0, fileName);
    const std::string name = path.substr(folder.size());
    if (extension.empty()) {
        FUZZ_CHECK(name == fileName, fileName);
    } else if (!text::EndsWithLoneLeadByte(fileName)) {
        const int dot = text::FindLast(name, ".");
        FUZZ_CHECK(dot > 0 && name.substr(dot) == extension, fileName);
        FUZZ_CHECK(fileName.compare(0, dot - 1, name, 0, dot - 1) == 0, fileName);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::int32_t width = in.ConsumeIntegral<std::int32_t>();
    const std::int32_t height = in.ConsumeIntegral<std::int32_t>();
    ConversionSettings settings;
    settings.bySize = in.ConsumeBool();
    settings.byPercent = in.ConsumeBool();
    settings.targetWidth = in.ConsumeIntegral<std::int32_t>();
    settings.targetHeight = in.ConsumeIntegral<std::int32_t>();
    const std::uint32_t factorBits = in.ConsumeIntegral<std::uint32_t>();
    std::memcpy(&settings.scaleFactor, &factorBits, sizeof factorBits);
    CheckTargetSize(width, height, settings);

    const PixelSize target = TargetSize(width, height, settings);
    const std::int32_t markWidth = in.ConsumeIntegral<std::int32_t>();
    const std::int32_t markHeight = in.ConsumeIntegral<std::int32_t>();
    const std::size_t choice = in.ConsumeIntegralInRange<std::size_t>(0, 7);
    const bool named = choice < 7;
    std::string position = named ? kPositions[choice] : in.ConsumeRandomLengthString(8);
    if (!named) {
        for (const char* name : kPositions) {
            if (position == name) position += "?";
        }
    }
    CheckPosition(target.width, target.height, markWidth, markHeight, position, named);
    CheckPosition(width, height, markWidth, markHeight, position, named);

    CheckOptions(in);
    return 0;
}
