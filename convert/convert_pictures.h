// The working half of a batch run: every picture of the list converted, one after another, on
// the GUI thread, with the run's options from ConversionSettings.
#pragma once

#include "forms/runtime/form.h"

struct ConversionOutcome {
    // Pictures that were not written: not loadable, not saved, or skipped because their output
    // would have replaced the picture itself.
    int picturesNotWritten = 0;
    // The run ended early because the window was closed (or a close was asked for) meanwhile.
    bool stopped = false;
};

// Converts the rows of 超级列表框1 and logs each step in 列表框1. Window messages are handled
// once per picture; rows removed meanwhile are not read, and a close of the window ends the run
// before the next picture is loaded, without touching the window again.
ConversionOutcome ConvertPictures(forms::Window& window);
