// The preview: a left-button press on a row of the picture list shows that picture, scaled down
// to fit and centred on white, in the picture box 图片框1 (256 x 205), and its size before
// scaling ("1024x768") in the label 标签2. The picture is drawn once onto the program's preview
// canvas; the box paints itself from that canvas through PreviewWindowProc.
#pragma once

#include <windows.h>

#include <string>

#include "forms/runtime/form.h"
#include "imaging/gdip_handles.h"

// What the preview keeps between presses, program-wide.
struct PreviewState {
    // The full path last chosen for the preview; a press on the same path changes nothing.
    std::string lastPath;
    // The picture last loaded for the preview; null when the last choice was no picture.
    GdipImage picture;
    // The picture box's window procedure before PreviewWindowProc replaced it.
    WNDPROC oldWndProc = nullptr;
};

PreviewState& ThePreview();

// Forgets the last path and releases the last picture (the canvas keeps its drawing). The main
// window does it when it is destroyed, so a picture never outlives the window that showed it.
void ForgetPreview();

// The left-button press on 超级列表框1 at (x, y), in the list view's client coordinates. A press
// over no row is ignored.
void PreviewPictureAt(forms::Window& mainWindow, int x, int y);

// The picture box's replacement window procedure: WM_PAINT copies the preview canvas to the box;
// every other message goes to the procedure it replaced.
LRESULT CALLBACK PreviewWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
