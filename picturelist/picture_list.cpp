#include "picturelist/picture_list.h"

#include <commdlg.h>

#include <cstring>

#include "picturelist/list_rules.h"
#include "picturelist/preview.h"

namespace {

constexpr int kDeleteKey = 46;  // VK_DELETE, whatever modifier keys are held

forms::Control PictureList(forms::Window& mainWindow) { return mainWindow[kPictureListName]; }

void ShowWhenHoldingRows(const forms::Control& list) {
    if (list.RowCount() > 0) list.SetVisible(true);
}

// The longest path a drop may hold: 32767 UTF-16 units, two bytes each in the system code page.
constexpr std::size_t kLongestDroppedPath = 2 * 32767;

// One path of a drop, fetched whole. The drop is asked for the path's length first; a drop in
// UTF-16 answers in UTF-16 units, fewer than the bytes of a Chinese path, so a buffer the text
// fills to its end may hold a cut path, and is made larger until the path fits.
std::string DroppedFilePath(HDROP drop, UINT index) {
    std::size_t size = static_cast<std::size_t>(DragQueryFileA(drop, index, nullptr, 0)) + 1;
    for (;;) {
        std::string path(size, '\0');
        DragQueryFileA(drop, index, &path[0], static_cast<UINT>(size));
        const std::size_t length = strnlen(path.c_str(), size);
        if (length + 1 < size || size > kLongestDroppedPath) {
            path.resize(length);
            return path;
        }
        size *= 2;
    }
}

}  // namespace

void AddPictureToList(const forms::Control& list, const std::string& path) {
    const PictureListRow row = PictureListRowForPath(path);
    const int index = list.InsertRow(list.RowCount(), row.fileName, row.iconIndex);
    if (index >= 0) list.SetCellText(index, 1, row.folder);
}

std::vector<std::string> DroppedFilePaths(HDROP drop) {
    std::vector<std::string> paths;
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT index = 0; index < count; ++index) paths.push_back(DroppedFilePath(drop, index));
    return paths;
}

void HandleDroppedFiles(forms::Window& mainWindow, HDROP drop) {
    const std::vector<std::string> paths = DroppedFilePaths(drop);
    DragFinish(drop);
    forms::Control list = PictureList(mainWindow);
    for (const std::string& path : paths) {
        if (AcceptsDroppedPath(path)) AddPictureToList(list, path);
    }
    ShowWhenHoldingRows(list);
}

void RemoveSelectedPictures(forms::Window& mainWindow) {
    forms::Control list = PictureList(mainWindow);
    const std::vector<int> selected = list.SelectedRows();
    // From the last to the first, so each index still names the row that was selected.
    for (auto row = selected.rbegin(); row != selected.rend(); ++row) list.DeleteRow(*row);
    if (list.RowCount() == 0) list.SetVisible(false);
}

void ClearPictureList(forms::Window& mainWindow) {
    forms::Control list = PictureList(mainWindow);
    list.DeleteAllRows();
    list.SetVisible(false);
}

forms::OpenFileRequest AddPicturesRequest(HWND owner) {
    forms::OpenFileRequest request;
    request.owner = owner;
    request.title = "选择要转换的图片";
    request.filter = "图片文件(*.jpg;*.bmp;*.gif;*.png)|*.jpg;*.bmp;*.gif;*.png|所有文件(*.*)|*.*";
    request.filterIndex = 1;
    request.multiSelect = true;
    request.flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    return request;
}

void AddPicturesFromDialog(forms::Window& mainWindow) {
    const std::vector<std::string> paths =
        forms::Modal().ChooseFilesToOpen(AddPicturesRequest(mainWindow.Hwnd()));
    forms::Control list = PictureList(mainWindow);
    if (!paths.empty() && !list.Visible()) list.SetVisible(true);
    // The dialog's filter is the only test: any file chosen under "所有文件(*.*)" is listed.
    for (const std::string& path : paths) AddPictureToList(list, path);
}

void BindPictureList(forms::Window& mainWindow) {
    forms::Window* window = &mainWindow;
    mainWindow.OnClick("按钮_添加图片", [window] { AddPicturesFromDialog(*window); });
    mainWindow.OnClick("按钮_删除图片", [window] { RemoveSelectedPictures(*window); });
    mainWindow.OnClick("按钮_清空图片", [window] { ClearPictureList(*window); });
    mainWindow.OnKeyPressed(kPictureListName, [window](int virtualKey) {
        if (virtualKey == kDeleteKey) RemoveSelectedPictures(*window);
    });
    mainWindow.OnLeftMouseDown(kPictureListName,
                               [window](int x, int y) { PreviewPictureAt(*window, x, y); });
}
