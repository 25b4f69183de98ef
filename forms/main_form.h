// The form of the main window: the frameless, skinned window of 750 x 560 pixels with every
// control of the program's main screen.
#pragma once

#include "forms/runtime/form.h"

namespace forms {

// The description the main window is built from. Lives as long as the program.
const FormDesc& MainFormDesc();

// The filter of the watermark picture's open-file dialog (通用对话框2).
extern const char* const kWatermarkPictureFilter;

}  // namespace forms
