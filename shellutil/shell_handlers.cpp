#include "shellutil/shell_handlers.h"

#include "app/program_state.h"
#include "shellutil/banner_view.h"
#include "shellutil/output_folder_buttons.h"

void BindShellHandlers(forms::Window& mainWindow) {
    forms::Window* window = &mainWindow;
    mainWindow.OnClick("按钮_设置文件夹",
                       [window] { SetOutputFolderClicked(*window, TheProgram().settingsPath); });
    mainWindow.OnClick("按钮_打开文件夹", [window] { OpenOutputFolderClicked(*window); });
    mainWindow.OnTimer(
        "时钟1", [window] { WriteBannerOnce((*window)["时钟1"], TheProgram().htmlView.get()); });
}

void CreateProgramBannerView(forms::Window& mainWindow) {
    if (HtmlView* view = TheProgram().htmlView.get()) CreateBannerView(*view, mainWindow.Hwnd());
}
