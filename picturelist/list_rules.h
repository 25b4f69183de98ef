// The picture list's rules: which dropped files it takes, the row a path becomes, and how the
// preview fits a picture into its box.
#pragma once

#include <cstdint>
#include <string>

// Icon index of an extension, compared exactly and case-sensitively: "bmp" 1, "jpg" 2, "gif" 3,
// "tiff" 4, "png" 5; anything else ("BMP", "jpeg", "tif", ...) 0, the icon of any file.
int PictureIconIndex(const std::string& extension);

// The file-name pattern the shell is asked about for a type's icon: an extension beginning with
// "." follows "*" (".*" gives "*.*", ".png" "*.png"), any other follows "*." ("png" gives "*.png").
std::string ExtensionIconPattern(const std::string& extension);

// The types the list takes from a drop, as one text; an extension is taken when it occurs in it.
inline constexpr char kDroppedPictureTypes[] = "bmp,jpg,gif,png,tiff";

// Whether a dropped path is listed: the text after the last "." of the whole path (the whole
// path when it has none), lower-cased, must occur somewhere in "bmp,jpg,gif,png,tiff". So
// "JPG", "tif" and even "jp" pass, "jpeg" and "txt" do not, nor a folder named without a dot.
// A path ending in "." has an empty extension, which would occur in any text; it is refused.
bool AcceptsDroppedPath(const std::string& path);

// The row a path becomes: the file name (after the last backslash) in column 0, the folder (up
// to and including it) in column 1, and the icon of its extension, taken with case as written.
struct PictureListRow {
    std::string fileName;
    std::string folder;
    int iconIndex = 0;
};
PictureListRow PictureListRowForPath(const std::string& path);

// The preview box and where a picture is drawn in it.
inline constexpr std::int32_t kPreviewBoxWidth = 256;
inline constexpr std::int32_t kPreviewBoxHeight = 205;

struct PreviewPlacement {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// A picture of `width` × `height` fitted into 256 × 205, keeping its proportions and never
// enlarged: first a width over 256 is brought to 256, then a height still over 205 to 205; then
// centred. 1024 × 768 gives 256 × 192 at (0, 6); 1000 × 1 gives 256 × 0 at (0, 102).
PreviewPlacement FitPreview(std::int32_t width, std::int32_t height);

// The size label under the preview: "1024x768".
std::string PictureSizeLabel(std::int32_t width, std::int32_t height);
