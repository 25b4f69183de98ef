// Program-wide values of the main program: alive from start-up to the end-of-run clean-up.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <memory>
#include <string>

#include "imaging/canvas.h"
#include "shellutil/html_view.h"
#include "picturelist/icon_list.h"

struct ProgramState {
    // The main window's procedure as it was before the program subclassed it.
    WNDPROC savedMainWindowProc = nullptr;
    // The program's own directory, ending in a backslash.
    std::string runDirectory;
    // runDirectory + "图象转换.Bin".
    std::string settingsPath;
    // Token of the GDI+ start-up that the main window makes and shuts down.
    ULONG_PTR windowGdiplusToken = 0;
    // The canvas the preview draws on; constructed empty at start.
    std::unique_ptr<Canvas> previewCanvas;
    // The picture-object slot, empty at start; the file-type icons use it.
    IUnknown* pictureObject = nullptr;
    // The file-type icons of the picture list, holding no image list until the main window is
    // created.
    IconList iconList;

    // The banner's web view; made at start, given its window when the main window is created.
    std::unique_ptr<HtmlView> htmlView;
};

// The program's one instance.
ProgramState& TheProgram();

// The name of the settings file in the run directory.
extern const char* const kSettingsFileName;

// Constructs the program-wide objects, and the clean-up that
// frees them (and the program-wide texts) once, at the end of the run.
void ConstructProgramObjects();
void CleanUpAtEndOfRun();
