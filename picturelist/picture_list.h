// The picture list 超级列表框1 of the main window: the files the next batch run converts, one row
// per file in the order they were added (column 0 the file name, column 1 its folder ending in a
// backslash). Files come in through the open-file dialog of 按钮_添加图片 and by dropping them
// on the main window; they leave through 按钮_删除图片 or the Delete key (the selected rows) and
// 按钮_清空图片 (all rows). The list view is shown while it holds rows and hidden while empty.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "forms/runtime/form.h"
#include "forms/runtime/modal.h"

// The list view's form name.
inline constexpr char kPictureListName[] = "超级列表框1";

// Appends one row for the path, with the icon of its extension as written. It neither shows the
// list view nor looks at the file.
void AddPictureToList(const forms::Control& list, const std::string& path);

// Every path of a drop, each fetched whole however long it is, in the drop's order.
std::vector<std::string> DroppedFilePaths(HDROP drop);

// One drop of files on the main window: lists each path whose extension the list takes (folders
// are not opened), releases the drop, and shows the list view when it holds rows.
void HandleDroppedFiles(forms::Window& mainWindow, HDROP drop);

// Removes the selected rows (the list keeps the others in their order); hides an empty list.
void RemoveSelectedPictures(forms::Window& mainWindow);
// Removes every row and hides the list view.
void ClearPictureList(forms::Window& mainWindow);
// Lists the files chosen in the open-file dialog, in the dialog's order.
void AddPicturesFromDialog(forms::Window& mainWindow);

// The open-file dialog of 按钮_添加图片.
forms::OpenFileRequest AddPicturesRequest(HWND owner);

// Binds the list's buttons, its Delete key and its left-button press (the preview).
void BindPictureList(forms::Window& mainWindow);
