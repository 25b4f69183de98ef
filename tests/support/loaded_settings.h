// What loading the settings file puts into the main window and the program-wide records, read
// back in one record, so that a test states the whole expected state as the defaults plus the
// values its file changes.
#pragma once

#include <cstdint>
#include <string>

#include "tests/support/main_window_harness.h"

namespace testing_support {

// Everything loading fills, read back from the window and the program-wide records.
struct Loaded {
    std::string face;
    std::int32_t size;
    std::uint32_t textColour;
    std::int32_t style;
    bool strikeout, underline, glow, shadow;
    std::uint32_t glowColour, shadowColour;
    std::string fontDisplay;        // 编辑框5
    std::string outputFolderBox;    // 编辑框1
    std::string outputFolderField;  // ConversionSettings::outputFolder
    bool convertFormat, changeSize, textWatermark, pictureWatermark;
    bool bySize, byPercent, fixWidth, fixHeight;
    std::string newFormat, position, opacity, percent;  // selected item texts
    std::string width, height, watermarkText, picturePath;
};

// The "Personal" folder as the registry has it, read independently of the program, ending in a
// backslash.
std::string PersonalFolder();

// What a window loads with no settings file.
Loaded Defaults();

// The loaded state of a window made by the harness.
Loaded Observe(MainWindowHarness& window);

// One expectation per field, each naming its field.
void ExpectLoaded(const Loaded& want, const Loaded& got);

}  // namespace testing_support
