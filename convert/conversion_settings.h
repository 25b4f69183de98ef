// The options of one batch run, copied from the main window when the run starts, so that the
// per-picture processing never reads the controls.
#pragma once

#include <cstdint>
#include <string>

struct ConversionSettings {
    std::string outputFolder;         // normalised, ending in a backslash
    bool doTextWatermark = false;
    bool doPictureWatermark = false;
    std::string newExtension;         // "bmp", "jpg", "gif", "tiff", "png", or empty: keep the name
    std::int32_t targetWidth = 0;     // 0: not requested
    std::int32_t targetHeight = 0;    // 0: not requested
    float scaleFactor = 0.0f;         // percentage / 100
    bool bySize = false;
    bool byPercent = false;
    std::string watermarkText;        // text with CR LF line breaks, or the watermark picture's path
    std::string position;             // "顶边", "底边", "居中", "左上", "右上", "左下", "右下"
    std::int32_t opacity = 0;         // 0..255, alpha of the text watermark
};

// The program's one instance.
ConversionSettings& TheConversionSettings();
