// The form of the font settings window: a captioned window of 385 x 424 pixels with the face,
// size, colour, style and effect controls of the text watermark, its position and transparency,
// and the preview in a group box.
#pragma once

#include "forms/runtime/form.h"

namespace forms {

// The description the font settings window is built from. Lives as long as the program.
const FormDesc& FontFormDesc();

}  // namespace forms
