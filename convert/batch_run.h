// The start button's batch run: its checks, the output folder, the window locked while the
// pictures are converted, and the message at its end.
#pragma once

#include <windows.h>

#include <string>

#include "convert/run_messages.h"
#include "forms/runtime/form.h"

// A modal message box with an OK button, through the program's modal seam; its answer is
// ignored. Without an owner the box belongs to no window.
void ShowMessage(const std::string& text, UINT type,
                 const std::string& title = kDefaultMessageTitle, HWND owner = nullptr);

// The click of 按钮_开始转换: checks, in this order, that pictures are listed, that a picture
// watermark file exists when one is asked for, that a task is chosen and that the output folder
// is usable, each failure ending the click with its message box. Then it prepares the folder,
// locks the window, takes the snapshot, converts the pictures, reports the end and unlocks the
// window. A close asked for during the run destroys the window once the run is over, without the
// final message. A click while a run is already active does nothing.
void BatchRun(forms::Window& window);

// Binds BatchRun to the click of 按钮_开始转换.
void BindBatchRun(forms::Window& window);
