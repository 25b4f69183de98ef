#include "imaging/image_format.h"

#include "forms/runtime/text.h"

const char* EncoderClsidText(int formatCode) {
    switch (formatCode) {
        case kFormatBmp:
            return "{557CF400-1A04-11D3-9A73-0000F81EF32E}";
        case kFormatJpeg:
            return "{557CF401-1A04-11D3-9A73-0000F81EF32E}";
        case kFormatGif:
            return "{557CF402-1A04-11D3-9A73-0000F81EF32E}";
        case kFormatTiff:
            return "{557CF405-1A04-11D3-9A73-0000F81EF32E}";
        case kFormatPng:
            return "{557CF406-1A04-11D3-9A73-0000F81EF32E}";
        default:
            return nullptr;
    }
}

int FormatCodeForExtension(const std::string& extension) {
    const std::string lower = text::LowerAscii(extension);
    if (lower == "bmp") return kFormatBmp;
    if (lower == "jpg") return kFormatJpeg;
    if (lower == "gif") return kFormatGif;
    if (lower == "tiff") return kFormatTiff;
    if (lower == "png") return kFormatPng;
    return kFormatJpeg;
}

int FormatCodeForPath(const std::string& path) {
    const int dot = text::FindLast(path, ".");
    // Byte position counted from 1; absent (-1) keeps the whole path.
    const std::string extension = dot < 0 ? path : path.substr(static_cast<std::size_t>(dot));
    return FormatCodeForExtension(extension);
}
