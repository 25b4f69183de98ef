// The font settings window: edits the text watermark's font (face, size, colours, style and
// effects) with a live preview, and the watermark's position and transparency, which it copies
// from and back to the main window. Its OK stores everything; cancel and the title bar's close
// button store nothing.
#pragma once

#include <windows.h>

#include <string>

#include "fontwindow/font_preview.h"
#include "forms/runtime/form.h"

class FontSettingsWindow {
  public:
    // Binds every handler; `mainWindow` is the window it reads from and writes back to, and
    // must outlive it. The window itself is made by ShowModal or Create.
    explicit FontSettingsWindow(forms::Window& mainWindow);
    ~FontSettingsWindow();
    FontSettingsWindow(const FontSettingsWindow&) = delete;
    FontSettingsWindow& operator=(const FontSettingsWindow&) = delete;

    // Opens the window as a modal window of the main window; returns when it is closed.
    void ShowModal();
    // Opens the window owned by the main window but without a modal loop of its own (the caller's
    // loop serves it). False when it could not be made.
    bool Create();

    forms::Window& Form() { return form_; }
    // The text the preview draws, set at creation, line breaks as CR LF.
    const std::string& PreviewText() const { return previewText_; }
    // What the controls ask the preview to show, as they stand.
    FontPreviewRequest PreviewRequest();

  private:
    void BindHandlers();
    void RunCreationSequence();
    void FillFaceList();
    void SelectStoredFaceAndSize();
    void ShowStoredColoursAndStyle();
    void RedirectChangeEvents();
    void CopyMainWindowLists();
    void RenderPreview();
    void StoreAndClose();

    forms::Window& main_;
    forms::Window form_;
    std::string previewText_;
};

// The click of the main window's 按钮_字体设置: a fresh font settings window, shown modally.
void OpenFontSettingsWindow(forms::Window& mainWindow);
