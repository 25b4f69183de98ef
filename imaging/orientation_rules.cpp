#include "imaging/orientation_rules.h"

namespace {

// GDI+ RotateFlipType values.
enum RotateFlip : int {
    kRotateNoneFlipNone = 0,
    kRotate90FlipNone = 1,
    kRotate180FlipNone = 2,
    kRotate270FlipNone = 3,
    kRotateNoneFlipX = 4,
    kRotate90FlipX = 5,
    kRotate180FlipX = 6,
    kRotate270FlipX = 7,
};

}  // namespace

int RotateFlipForOrientation(int orientation) {
    switch (orientation) {
        case 2:
            return kRotateNoneFlipX;  // mirrored left to right
        case 3:
            return kRotate180FlipNone;  // upside down
        case 4:
            return kRotate180FlipX;  // mirrored top to bottom
        case 5:
            return kRotate90FlipX;  // mirrored along the main diagonal
        case 6:
            return kRotate90FlipNone;  // needs a quarter turn clockwise
        case 7:
            return kRotate270FlipX;  // mirrored along the other diagonal
        case 8:
            return kRotate270FlipNone;  // needs a quarter turn anticlockwise
        default:
            return kRotateNoneFlipNone;
    }
}

bool OrientationSwapsSides(int orientation) { return orientation >= 5 && orientation <= 8; }

namespace {

unsigned Byte(const std::string& s, std::size_t at) { return static_cast<unsigned char>(s[at]); }

// Reads 16- and 32-bit numbers of a TIFF block in its own byte order, refusing any read past
// the block's end.
class TiffReader {
  public:
    TiffReader(const std::string& block, bool littleEndian)
        : block_(block), littleEndian_(littleEndian) {}

    bool Read16(std::size_t at, std::uint32_t& value) const {
        if (at > block_.size() || block_.size() - at < 2) return false;
        value = littleEndian_ ? Byte(block_, at) | Byte(block_, at + 1) << 8
                              : Byte(block_, at) << 8 | Byte(block_, at + 1);
        return true;
    }
    bool Read32(std::size_t at, std::uint32_t& value) const {
        std::uint32_t first = 0, second = 0;
        if (!Read16(at, first) || !Read16(at + 2, second)) return false;
        value = littleEndian_ ? first | second << 16 : first << 16 | second;
        return true;
    }

  private:
    const std::string& block_;
    bool littleEndian_;
};

// The orientation in IFD0 of a TIFF block ("II" or "MM" header), or 0.
int OrientationOfTiffBlock(const std::string& tiff) {
    if (tiff.size() < 8) return 0;
    bool littleEndian;
    if (tiff.compare(0, 2, "II") == 0) {
        littleEndian = true;
    } else if (tiff.compare(0, 2, "MM") == 0) {
        littleEndian = false;
    } else {
        return 0;
    }
    const TiffReader reader(tiff, littleEndian);
    std::uint32_t magic = 0, ifd = 0, count = 0;
    if (!reader.Read16(2, magic) || magic != 42) return 0;
    if (!reader.Read32(4, ifd) || !reader.Read16(ifd, count)) return 0;
    constexpr std::uint32_t kTypeShort = 3;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t entry = static_cast<std::size_t>(ifd) + 2 + 12 * std::size_t{i};
        std::uint32_t tag = 0, type = 0, values = 0, value = 0;
        if (!reader.Read16(entry, tag) || !reader.Read16(entry + 2, type) ||
            !reader.Read32(entry + 4, values) || !reader.Read16(entry + 8, value))
            return 0;
        if (tag != kExifOrientationTag) continue;
        if (type != kTypeShort || values != 1 || value < 1 || value > 8) return 0;
        return static_cast<int>(value);
    }
    return 0;
}

}  // namespace

int ExifOrientationOfJpeg(const std::string& bytes) {
    if (bytes.size() < 4 || Byte(bytes, 0) != 0xFF || Byte(bytes, 1) != 0xD8) return 0;
    std::size_t at = 2;
    while (at + 4 <= bytes.size()) {
        if (Byte(bytes, at) != 0xFF) return 0;
        const unsigned marker = Byte(bytes, at + 1);
        if (marker == 0xFF) {  // fill byte before a marker
            ++at;
            continue;
        }
        if (marker == 0xDA || marker == 0xD9) return 0;  // image data or the end: no EXIF before
        const std::size_t length = Byte(bytes, at + 2) << 8 | Byte(bytes, at + 3);
        if (length < 2 || bytes.size() - (at + 2) < length) return 0;
        const std::string segment = bytes.substr(at + 4, length - 2);
        if (marker == 0xE1 && segment.compare(0, 6, std::string("Exif\0\0", 6)) == 0)
            return OrientationOfTiffBlock(segment.substr(6));
        at += 2 + length;
    }
    return 0;
}
