// The options of a batch run taken from the main window: stored in the settings file and copied
// into the program's ConversionSettings, which the per-picture processing reads instead of the
// controls.
#pragma once

#include "convert/run_rules.h"
#include "forms/runtime/form.h"

// The run's values as the main window's controls hold them now.
MainWindowRunOptions ReadRunOptions(forms::Window& window);

// Writes the seventeen keys of "转换设置" in their order (the output folder from the run's
// `outputFolder`, which the batch run has just prepared), then fills every other field of
// ConversionSettings from the controls. Write failures go unnoticed.
void SnapshotConversionSettings(forms::Window& window);
