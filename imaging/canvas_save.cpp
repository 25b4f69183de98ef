// Saving a canvas: to a file in the format of a code or of the path's extension, or to bytes.
// No encoder parameters are passed: every format is written with its encoder's defaults. A GIF is
// encoded from an 8-bit indexed copy with a palette made for the picture.
#include "imaging/canvas.h"

#include "imaging/conversions.h"
#include "imaging/encoders.h"
#include "imaging/image_format.h"
#include "imaging/indexed_copy.h"

namespace {

// The picture the encoder of `formatCode` is given: the canvas's own, or for GIF its indexed
// copy, kept in `indexedCopy`.
gdip::Status PictureToEncode(gdip::GpImage* image, int formatCode, GdipImage& indexedCopy,
                             gdip::GpImage*& picture) {
    picture = nullptr;
    if (image == nullptr) return gdip::kInvalidParameter;
    if (formatCode != kFormatGif) {
        picture = image;
        return gdip::kOk;
    }
    const gdip::Status status = MakeIndexedCopy(image, indexedCopy);
    if (status == gdip::kOk) picture = indexedCopy.Handle();
    return status;
}

}  // namespace

gdip::Status Canvas::SaveToFile(const std::string& path, int formatCode) {
    const int code = formatCode != 0 ? formatCode : FormatCodeForPath(path);
    const CLSID encoder = EncoderClsid(code);
    // Whatever can be refused before the file is touched is refused here, so that no empty file
    // is left behind.
    if (!image_) return gdip::kInvalidParameter;
    if (IsNullClsid(encoder)) return gdip::kUnknownImageFormat;
    const WideText widePath = ToWideText(path);
    if (CharacterCount(widePath) == 0) return gdip::kInvalidParameter;
    GdipImage indexedCopy;
    gdip::GpImage* picture = nullptr;
    gdip::Status status = PictureToEncode(image_.Handle(), code, indexedCopy, picture);
    if (status != gdip::kOk) return status;

    const bool existedBefore = GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    status = gdip::Table().GdipSaveImageToFile(picture, widePath.data(), &encoder, nullptr);
    // An encoder that failed half-way may have left a partial file: remove it, unless the name
    // belonged to a file that was there before.
    if (status != gdip::kOk && !existedBefore) DeleteFileA(path.c_str());
    return status;
}

void Canvas::SaveToBytesInto(std::vector<std::uint8_t>& bytes, std::optional<int> formatCode) {
    bytes = SaveToBytes(formatCode);
}

std::vector<std::uint8_t> Canvas::SaveToBytes(std::optional<int> formatCode) {
    // Only a supplied code counts: a supplied 0 stays 0 and has no encoder.
    const int code = formatCode.value_or(kFormatBmp);
    const CLSID encoder = EncoderClsid(code);
    GdipImage indexedCopy;
    gdip::GpImage* picture = nullptr;
    if (PictureToEncode(image_.Handle(), code, indexedCopy, picture) != gdip::kOk) return {};
    GlobalBuffer buffer;
    IStream* stream = buffer.Open();
    if (stream == nullptr) return {};
    if (gdip::Table().GdipSaveImageToStream(picture, stream, &encoder, nullptr) != gdip::kOk) {
        return {};
    }
    return buffer.GetBytes();
}
