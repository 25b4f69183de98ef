// The picture list's intake: which dropped paths it takes, the row a path becomes, and where the
// preview draws a picture of any size.
#include <cstdint>
#include <string>

#include "app/path_rules.h"
#include "forms/runtime/text.h"
#include "picturelist/list_rules.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

// ASCII letters upper-cased, never a trail byte.
std::string UpperAscii(const std::string& s) {
    std::string out = s;
    for (std::size_t i : text::CharacterStarts(s)) {
        if (out[i] >= 'a' && out[i] <= 'z') out[i] = static_cast<char>(out[i] - 'a' + 'A');
    }
    return out;
}

void CheckDrop(const std::string& path) {
    const bool accepted = AcceptsDroppedPath(path);
    FUZZ_CHECK(accepted == AcceptsDroppedPath(UpperAscii(path)), path);
    FUZZ_CHECK(accepted == AcceptsDroppedPath(text::LowerAscii(path)), path);
    if (!text::EndsWithLoneLeadByte(path)) {
        FUZZ_CHECK(AcceptsDroppedPath(path + ".bmp"), path);
        FUZZ_CHECK(AcceptsDroppedPath(path + ".TIFF"), path);
        FUZZ_CHECK(!AcceptsDroppedPath(path + ".txt"), path);
        FUZZ_CHECK(!AcceptsDroppedPath(path + ".jpeg"), path);
        FUZZ_CHECK(!AcceptsDroppedPath(path + "."), path);
    }

    const PictureListRow row = PictureListRowForPath(path);
    FUZZ_CHECK(row.folder + row.fileName == path, path);
    FUZZ_CHECK(text::Find(row.fileName, "\\") < 0, path);
    FUZZ_CHECK(row.folder.empty() || EndsWithBackslash(row.folder), path);
    FUZZ_CHECK(row.iconIndex >= 0 && row.iconIndex <= 5, path);
    // Every type with an icon of its own is one the drop takes.
    FUZZ_CHECK(row.iconIndex == 0 || accepted, path);

    const std::string pattern = ExtensionIconPattern(row.fileName);
    FUZZ_CHECK(pattern.size() > row.fileName.size() && pattern[0] == '*', path);
    FUZZ_CHECK(
        pattern.compare(pattern.size() - row.fileName.size(), std::string::npos, row.fileName) == 0,
        path);
}

void CheckPreview(std::int32_t width, std::int32_t height) {
    const std::string size = PictureSizeLabel(width, height);
    FUZZ_CHECK(size == text::Decimal(width) + "x" + text::Decimal(height), size);
    const PreviewPlacement at = FitPreview(width, height);
    if (width <= 0 || height <= 0) return;
    FUZZ_CHECK(at.width >= 0 && at.width <= kPreviewBoxWidth && at.width <= width, size);
    FUZZ_CHECK(at.height >= 0 && at.height <= kPreviewBoxHeight && at.height <= height, size);
    FUZZ_CHECK(at.x >= 0 && at.x + at.width <= kPreviewBoxWidth, size);
    FUZZ_CHECK(at.y >= 0 && at.y + at.height <= kPreviewBoxHeight, size);
    // Centred: the margins on either side differ by at most one pixel.
    const std::int32_t spareX = kPreviewBoxWidth - at.width - 2 * at.x;
    const std::int32_t spareY = kPreviewBoxHeight - at.height - 2 * at.y;
    FUZZ_CHECK(spareX >= 0 && spareX <= 1 && spareY >= 0 && spareY <= 1, size);
    if (width <= kPreviewBoxWidth && height <= kPreviewBoxHeight) {
        FUZZ_CHECK(at.width == width && at.height == height, size);
    } else {
        // A picture too large touches the box on at least one side.
        FUZZ_CHECK(at.width == kPreviewBoxWidth || at.height == kPreviewBoxHeight, size);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::int32_t width = in.ConsumeIntegral<std::int32_t>();
    const std::int32_t height = in.ConsumeIntegral<std::int32_t>();
    CheckPreview(width, height);
    CheckDrop(in.ConsumeRemainingBytesAsString());
    return 0;
}
