// The five output formats, their encoder identifiers and how a path's extension chooses one.
// No windows here: the rules are plain text arithmetic.
#pragma once

#include <string>

// ImageFormatCode: the number of an output format.
enum ImageFormatCode : int {
    kFormatBmp = 1,
    kFormatJpeg = 2,
    kFormatGif = 3,
    kFormatTiff = 4,
    kFormatPng = 5,
};

// The text form of the GDI+ encoder identifier of a format code; null for a code outside 1..5.
const char* EncoderClsidText(int formatCode);

// The format of an extension (without the dot), lower-cased first: "bmp" 1, "jpg" 2, "gif" 3,
// "tiff" 4, "png" 5, anything else 2 (JPEG).
int FormatCodeForExtension(const std::string& extension);

// The format of a path: the text after its last ".", or the whole path when it has none.
int FormatCodeForPath(const std::string& path);
