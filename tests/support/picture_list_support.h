// Helpers for tests of the picture list and the preview: drops made the way the shell makes them,
// the rows of the list view, row selection, presses on a row, polling, and small pictures.
#pragma once

#include <windows.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace testing_support {

// A DROPFILES block of the paths (GBK texts), as the shell hands it to the window it drops on:
// movable global memory, the paths NUL-separated after the header and ended by one more NUL; in
// UTF-16 when `wide`. The receiver frees it (DragFinish).
HGLOBAL MakeDropBlock(const std::vector<std::string>& paths, bool wide = false);

// Sends WM_DROPFILES with a new block of the paths to the window, as a drop on it does.
void DropFiles(HWND window, const std::vector<std::string>& paths, bool wide = false);

// One row of a list view: the texts of columns 0 and 1 and its image index.
struct ListRow {
    std::string fileName;
    std::string folder;
    int icon = -1;
    bool operator==(const ListRow& other) const {
        return fileName == other.fileName && folder == other.folder && icon == other.icon;
    }
};
std::ostream& operator<<(std::ostream& out, const ListRow& row);
std::vector<ListRow> RowsOf(HWND listView);

// Selects exactly these rows.
void SelectRows(HWND listView, const std::vector<int>& rows);

// A left-button press and release over the middle of a row's first column, as the user makes it;
// the messages are posted and left to run.
void PressRow(HWND listView, int row);
// The same at a point of the list view's client area.
void PressAt(HWND listView, int x, int y);

// Lets messages run until `done` holds or the deadline passes; true when it held.
bool WaitFor(const std::function<bool()>& done, DWORD milliseconds = 5000);

// Writes a picture of one colour, in the format of the path's extension. False on failure.
bool WriteSolidPicture(const std::string& path, int width, int height, COLORREF colour);

// The pixels of a window's client area as it is on view, after it has painted: 0x00RRGGBB per
// pixel, row by row.
std::vector<DWORD> ClientPixels(HWND window, int& width, int& height);

}  // namespace testing_support
