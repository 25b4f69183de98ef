// Helpers for tests that drive a whole batch run through the real main window: pictures on disk,
// rows of the picture list, the run's progress lines and message boxes, and what a run left in a
// folder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "forms/runtime/form.h"

namespace testing_support {

// A PNG picture of one colour (ARGB). GDI+ must be running.
void WriteSolidPicture(const std::string& path, int width, int height, std::uint32_t colour);

// The size of the picture in a file, or 0 x 0 when it cannot be decoded.
struct DecodedSize {
    int width = 0;
    int height = 0;
};
DecodedSize PictureSizeOf(const std::string& path);

// A row of 超级列表框1 as the picture list makes it: the file name, then its folder ending in a
// backslash.
void AddPictureRow(forms::Window& window, const std::string& folder, const std::string& name);

// The lines of 列表框1 and the texts of the message boxes recorded so far.
std::vector<std::string> LogLines(forms::Window& window);
std::vector<std::string> RecordedMessageTexts();

// Every file under a folder (ending in a backslash), as paths relative to it, sub-folders
// included, sorted.
std::vector<std::string> FilesUnder(const std::string& folder);

}  // namespace testing_support
