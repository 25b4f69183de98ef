// The main window's events that belong to the shell utilities: the two output folder buttons,
// the banner's creation and its one-shot timer 时钟1. They work on the program-wide banner view
// and settings path.
#pragma once

#include "forms/runtime/form.h"

// Binds 按钮_设置文件夹, 按钮_打开文件夹 and 时钟1.
void BindShellHandlers(forms::Window& mainWindow);

// The creation step that gives the program's banner view its window; without a banner view
// object it does nothing.
void CreateProgramBannerView(forms::Window& mainWindow);
