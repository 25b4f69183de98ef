#include "picturelist/list_rules.h"

#include "app/path_rules.h"
#include "convert/run_rules.h"
#include "forms/runtime/text.h"

int PictureIconIndex(const std::string& extension) {
    if (extension == "bmp") return 1;
    if (extension == "jpg") return 2;
    if (extension == "gif") return 3;
    if (extension == "tiff") return 4;
    if (extension == "png") return 5;
    return 0;
}

std::string ExtensionIconPattern(const std::string& extension) {
    return (!extension.empty() && extension[0] == '.' ? "*" : "*.") + extension;
}

bool AcceptsDroppedPath(const std::string& path) {
    std::string extension = text::LowerAscii(ExtensionOfPath(path));
    if (extension.empty()) return false;
    return std::string(kDroppedPictureTypes).find(extension) != std::string::npos;
}

PictureListRow PictureListRowForPath(const std::string& path) {
    FolderAndFileName parts = SplitFolderAndFileName(path);
    return {parts.fileName, parts.folder, PictureIconIndex(ExtensionOfPath(path))};
}

PreviewPlacement FitPreview(std::int32_t width, std::int32_t height) {
    double w = width;
    double h = height;
    if (w > kPreviewBoxWidth) {
        h = TruncateToInt32(h * kPreviewBoxWidth / w);
        w = kPreviewBoxWidth;
    }
    if (h > kPreviewBoxHeight) {
        w = TruncateToInt32(w * kPreviewBoxHeight / h);
        h = kPreviewBoxHeight;
    }
    PreviewPlacement placement;
    placement.width = static_cast<std::int32_t>(w);
    placement.height = static_cast<std::int32_t>(h);
    placement.x = TruncateToInt32((kPreviewBoxWidth - w) / 2);
    placement.y = TruncateToInt32((kPreviewBoxHeight - h) / 2);
    return placement;
}

std::string PictureSizeLabel(std::int32_t width, std::int32_t height) {
    return text::Decimal(width) + "x" + text::Decimal(height);
}
