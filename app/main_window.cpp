#include "app/main_window.h"

#include <shellapi.h>

#include "app/option_rules.h"
#include "app/program_state.h"
#include "app/settings_load.h"
#include "app/shell_folders.h"
#include "convert/batch_run.h"
#include "convert/run_state.h"
#include "fontwindow/font_settings_window.h"
#include "forms/main_form.h"
#include "imaging/gdiplus_session.h"
#include "shellutil/shell_handlers.h"
#include "picturelist/icon_list.h"
#include "picturelist/picture_list.h"
#include "picturelist/preview.h"

namespace {

MainWindow* g_mainWindow = nullptr;

void AddWindowMenuStyle(HWND window) {
    LONG style = GetWindowLongA(window, GWL_STYLE);
    SetWindowLongA(window, GWL_STYLE, style | WS_SYSMENU);
}

void GiveRoundedCorners(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    HRGN region = CreateRoundRectRgn(0, 0, rect.right - rect.left, rect.bottom - rect.top,
                                     kMainWindowCornerEllipse, kMainWindowCornerEllipse);
    // The window owns the region from here on.
    if (region && !SetWindowRgn(window, region, TRUE)) DeleteObject(region);
}

void SubclassMainWindow(HWND window) {
    TheProgram().savedMainWindowProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MainWindowProc)));
}

// Creation step 7: the banner view at (11, 26), 728 x 58, showing "about:blank".
void CreateBannerView(forms::Window& window) { CreateProgramBannerView(window); }

void LocateSettingsFile() {
    ProgramState& program = TheProgram();
    program.runDirectory = SpecialFolderPath(0, false);
    program.settingsPath = program.runDirectory + kSettingsFileName;
}

// The two size panels share one place; the size-mode rule shows one at a time.
void StackSizePanels(forms::Window& window) {
    forms::Control pixels = window["图片框2"];
    window["图片框3"].Move(pixels.Left(), pixels.Top());
}

void RunOptionRulesOnce(forms::Window& window) {
    FormatRule(window);
    SizeRule(window);
    SizeModeRule(window);
    TextWatermarkRule(window);
    PictureWatermarkRule(window);
}

}  // namespace

MainWindow* TheMainWindow() { return g_mainWindow; }

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DROPFILES) {
        HDROP drop = reinterpret_cast<HDROP>(wParam);
        if (g_mainWindow != nullptr && g_mainWindow->Hwnd() == window) {
            HandleDroppedFiles(g_mainWindow->Form(), drop);
        } else {
            DragFinish(drop);
        }
        return 0;
    }
    // A close during a batch run waits until the run has let go of the window.
    if (message == WM_CLOSE && DeferCloseUntilRunEnds()) return 0;
    WNDPROC saved = TheProgram().savedMainWindowProc;
    if (!saved) return DefWindowProcA(window, message, wParam, lParam);
    return CallWindowProcA(saved, window, message, wParam, lParam);
}

MainWindow::MainWindow() : form_(forms::MainFormDesc()) {
    g_mainWindow = this;
    BindHandlers();
}

MainWindow::~MainWindow() {
    Destroy();
    if (g_mainWindow == this) g_mainWindow = nullptr;
}

bool MainWindow::Create(bool quitOnDestroy) {
    form_.SetQuitOnDestroy(quitOnDestroy);
    return form_.Create();
}

void MainWindow::Destroy() {
    if (form_.Exists()) form_.Destroy();
}

void MainWindow::BindHandlers() {
    form_.OnCreated([this] { RunCreationSequence(); });
    form_.OnDestroying([this] { OnDestroying(); });
    form_.OnClick("按钮_最小化", [this] { form_.SetDisplayState(2); });
    form_.OnClick("按钮_关闭", [this] {
        if (!DeferCloseUntilRunEnds()) Destroy();
    });
    BindOptionRules(form_);
    BindShellHandlers(form_);
    form_.OnClick("按钮_字体设置", [this] { OpenFontSettingsWindow(form_); });
    BindPictureList(form_);
    BindBatchRun(form_);
}

// The creation steps, numbered in the order they must run.
void MainWindow::RunCreationSequence() {
    HWND window = form_.Hwnd();
    ProgramState& program = TheProgram();
    AddWindowMenuStyle(window);                          // 1
    GiveRoundedCorners(window);                          // 2
    program.windowGdiplusToken = StartWindowGdiplus();   // 3
    DragAcceptFiles(window, TRUE);                       // 4
    SubclassMainWindow(window);                          // 5
    EnsureCanvasGdiplus();                               // 6
    CreateBannerView(form_);                             // 7
    SetUpFileTypeIcons(form_);                           // 8
    LocateSettingsFile();                                // 9
    LoadSettings(form_);                                 // 10
    StackSizePanels(form_);                              // 11
    form_.Redirect("单选框_按百分比", "单选框_按尺寸");  // 12
    RunOptionRulesOnce(form_);                           // 13
}

void MainWindow::OnDestroying() {
    ProgramState& program = TheProgram();
    ForgetPreview();
    if (program.savedMainWindowProc) {
        SetWindowLongPtrA(form_.Hwnd(), GWLP_WNDPROC,
                          reinterpret_cast<LONG_PTR>(program.savedMainWindowProc));
        program.savedMainWindowProc = nullptr;
    }
    if (program.windowGdiplusToken != 0) {
        ShutdownGdiplus(program.windowGdiplusToken);
        program.windowGdiplusToken = 0;
    }
}
