// The two buttons beside the output folder's edit box 编辑框1: 按钮_设置文件夹 picks a folder in
// the shell's folder dialog and stores it at once; 按钮_打开文件夹 creates the typed folder where
// it is missing and opens it in Explorer.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "forms/runtime/form.h"

// The folder dialog's flags: BIF_NEWDIALOGSTYLE | BIF_EDITBOX in the new style, otherwise
// BIF_RETURNONLYFSDIRS.
constexpr UINT kNewStyleFolderDialogFlags = 0x50;
constexpr UINT kClassicFolderDialogFlags = 0x1;

// Shows the shell's folder dialog owned by `owner`, titled `title` ("请选择目录" when left out).
// Returns the chosen folder ending with a backslash ("C:" gives "C:\"), or "" when the dialog was
// cancelled or the choice is no file-system folder.
std::string ChooseFolder(HWND owner, const std::optional<std::string>& title = std::nullopt,
                         bool newStyle = false);

// 按钮_设置文件夹: a chosen folder goes into 编辑框1 and under "保存目录" of the settings file at
// `settingsPath`; a cancelled dialog changes nothing.
void SetOutputFolderClicked(forms::Window& mainWindow, const std::string& settingsPath);

// 按钮_打开文件夹: the text of 编辑框1 normalised and its folders created, then Explorer started
// on it. An empty text or one without a drive does nothing.
void OpenOutputFolderClicked(forms::Window& mainWindow);
