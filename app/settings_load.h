// Loading the settings file into the main window's controls, WatermarkTextStyle and the output
// folder of ConversionSettings. Missing keys take their defaults; nothing is shown on failure.
#pragma once

#include "forms/runtime/form.h"

// Reads TheProgram().settingsPath. Sets the controls only: it runs no click handler.
void LoadSettings(forms::Window& mainWindow);
