// Photos as phones store them: the pixels turned by an EXIF orientation, with the tag in an
// APP1 "Exif" block. The upright picture is 40 × 24 pixels, blue, with a red 14 × 10 marker in
// its top-left corner; the stored pixels are made by the orientation's own definition (where the
// stored rows and columns lie in the upright picture), independently of GDI+'s rotation.
#pragma once

#include "imaging/canvas.h"
#include "imaging/gdiplus_api.h"

#include <windows.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace testing_support {

constexpr int kUprightWidth = 40;
constexpr int kUprightHeight = 24;
constexpr int kMarkerWidth = 14;
constexpr int kMarkerHeight = 10;
constexpr gdip::ARGB kMarkerColour = 0xFFE01010;
constexpr gdip::ARGB kFieldColour = 0xFF1030D0;

inline gdip::ARGB UprightPixel(int x, int y) {
    return x < kMarkerWidth && y < kMarkerHeight ? kMarkerColour : kFieldColour;
}

// The upright pixel that the stored pixel (x, y) shows, for orientations 1 to 8.
inline gdip::ARGB StoredPixel(int orientation, int x, int y, int w = kUprightWidth,
                              int h = kUprightHeight) {
    switch (orientation) {
        case 2:
            return UprightPixel(w - 1 - x, y);
        case 3:
            return UprightPixel(w - 1 - x, h - 1 - y);
        case 4:
            return UprightPixel(x, h - 1 - y);
        case 5:
            return UprightPixel(y, x);
        case 6:
            return UprightPixel(w - 1 - y, x);
        case 7:
            return UprightPixel(w - 1 - y, h - 1 - x);
        case 8:
            return UprightPixel(y, h - 1 - x);
        default:
            return UprightPixel(x, y);
    }
}

// An APP1 block holding a little-endian TIFF header and one IFD with the orientation.
inline std::string ExifOrientationBlock(int orientation) {
    std::string tiff = std::string("II*\0", 4) + std::string("\x08\0\0\0", 4);
    tiff += std::string("\x01\0", 2);                    // one entry
    tiff += std::string("\x12\x01\x03\0\x01\0\0\0", 8);  // 0x0112, SHORT, count 1
    tiff += static_cast<char>(orientation);
    tiff += std::string("\0\0\0", 3);
    tiff += std::string("\0\0\0\0", 4);  // no next IFD
    const std::string payload = std::string("Exif\0\0", 6) + tiff;
    const std::size_t length = payload.size() + 2;
    return std::string("\xFF\xE1", 2) + static_cast<char>(length >> 8) +
           static_cast<char>(length & 0xFF) + payload;
}

inline std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteWholeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Writes the stored form of the marker picture for `orientation` as a JPEG at `path`, with an
// EXIF block after the start marker. `exifBlock` replaces the block (an empty text: no block).
inline bool WriteOrientedJpeg(const std::string& path, int orientation,
                              const std::string* exifBlock = nullptr,
                              int uprightWidth = kUprightWidth,
                              int uprightHeight = kUprightHeight) {
    const bool swapped = orientation >= 5 && orientation <= 8;
    const int storedWidth = swapped ? uprightHeight : uprightWidth;
    const int storedHeight = swapped ? uprightWidth : uprightHeight;
    Canvas canvas;
    if (!canvas.CreateBlank(storedWidth, storedHeight)) return false;
    for (int y = 0; y < storedHeight; ++y)
        for (int x = 0; x < storedWidth; ++x)
            gdip::Table().GdipBitmapSetPixel(
                canvas.Image(), x, y, StoredPixel(orientation, x, y, uprightWidth, uprightHeight));
    if (canvas.SaveToFile(path, 2) != gdip::kOk) return false;
    std::string jpeg = ReadWholeFile(path);
    if (jpeg.size() < 2) return false;
    const std::string block = exifBlock ? *exifBlock : ExifOrientationBlock(orientation);
    WriteWholeFile(path, jpeg.substr(0, 2) + block + jpeg.substr(2));
    return true;
}

}  // namespace testing_support
