#include "picturelist/preview.h"

#include <commctrl.h>

#include "app/program_state.h"
#include "imaging/canvas.h"
#include "picturelist/list_rules.h"
#include "picturelist/picture_list.h"

namespace {

constexpr char kPreviewBoxName[] = "图片框1";
constexpr char kSizeLabelName[] = "标签2";
constexpr COLORREF kWhite = 0xFFFFFF;

// The row under a point of the list view's client area, -1 over no row. The point of the press
// itself is tested, so the answer does not depend on the list view tracking the mouse.
int RowAt(const forms::Control& list, int x, int y) {
    LVHITTESTINFO hit{};
    hit.pt = POINT{x, y};
    const int row =
        static_cast<int>(list.Send(LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    return row >= 0 && (hit.flags & LVHT_ONITEM) != 0 ? row : -1;
}

// Before the first preview the box plays its placeholder animation with its own painting; from
// then on it is white and paints from the preview canvas.
void PrepareBoxOnce(const forms::Control& box) {
    box.SetPlayAnimation(false);
    box.SetBackColour(kWhite);
    box.ClearPicture();
    ThePreview().oldWndProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        box.Hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PreviewWindowProc)));
}

// The picture fitted into the box and centred on white, onto the preview canvas.
void DrawOnPreviewCanvas(gdip::GpImage* picture, int width, int height) {
    Canvas* canvas = TheProgram().previewCanvas.get();
    if (canvas == nullptr) return;
    const PreviewPlacement place = FitPreview(width, height);
    canvas->CreateForDc(kPreviewBoxWidth, kPreviewBoxHeight, kWhite);
    // A fitted height of 0 (a picture far wider than high) keeps the picture's own height.
    canvas->DrawImage(picture, place.x, place.y, place.width, place.height);
}

}  // namespace

PreviewState& ThePreview() {
    static PreviewState state;
    return state;
}

void ForgetPreview() {
    PreviewState& preview = ThePreview();
    preview.lastPath.clear();
    DisposePicture(preview.picture);
}

void PreviewPictureAt(forms::Window& mainWindow, int x, int y) {
    const forms::Control list = mainWindow[kPictureListName];
    const int row = RowAt(list, x, y);
    if (row < 0) return;
    const std::string path = list.CellText(row, 1) + list.CellText(row, 0);
    PreviewState& preview = ThePreview();
    if (path == preview.lastPath) return;
    preview.lastPath = path;

    const forms::Control box = mainWindow[kPreviewBoxName];
    if (box.PlayAnimation()) PrepareBoxOnce(box);

    DisposePicture(preview.picture);
    preview.picture = LoadPictureFile(path);
    // A file that is no picture leaves the label and the box as they were.
    if (!preview.picture) return;
    int width = 0, height = 0;
    PictureSize(preview.picture.Handle(), &width, &height);
    mainWindow[kSizeLabelName].SetText(PictureSizeLabel(width, height));
    DrawOnPreviewCanvas(preview.picture.Handle(), width, height);
    InvalidateRect(box.Hwnd(), nullptr, FALSE);
}

LRESULT CALLBACK PreviewWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Canvas* canvas = TheProgram().previewCanvas.get();
    // Until a picture has been drawn the canvas holds nothing to copy: the box then paints its
    // own white background, so no stale placeholder frame stays on view.
    if (message == WM_PAINT && canvas != nullptr && canvas->Width() > 0) {
        canvas->PaintWindow(window);
        return 1;
    }
    WNDPROC old = ThePreview().oldWndProc;
    if (old == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    return CallWindowProcA(old, window, message, wParam, lParam);
}
