#include "shellutil/output_folder_buttons.h"

#include "app/path_rules.h"
#include "app/settings_file.h"
#include "convert/output_folder.h"
#include "forms/runtime/modal.h"
#include "forms/runtime/text.h"
#include "shellutil/shell_rules.h"

std::string ChooseFolder(HWND owner, const std::optional<std::string>& title, bool newStyle) {
    forms::FolderRequest request;
    request.owner = owner;
    request.title = title.value_or("请选择目录");
    request.flags = newStyle ? kNewStyleFolderDialogFlags : kClassicFolderDialogFlags;
    std::optional<std::string> chosen = forms::Modal().BrowseForFolder(request);
    if (!chosen || text::Trim(*chosen).empty()) return {};
    return WithTrailingBackslash(*chosen);
}

void SetOutputFolderClicked(forms::Window& mainWindow, const std::string& settingsPath) {
    const std::string folder = ChooseFolder(mainWindow.Hwnd(), std::string("设置图片保存目录"),
                                            /*newStyle=*/true);
    if (folder.empty()) return;
    mainWindow["编辑框1"].SetText(folder);
    WriteSetting(settingsPath, kConversionSection, "保存目录", folder);
}

void OpenOutputFolderClicked(forms::Window& mainWindow) {
    const OutputFolderPlan plan = CreateOutputFolder(mainWindow["编辑框1"].Text());
    if (plan.result != OutputFolderResult::kReady) return;
    forms::Modal().StartProcess(ExplorerCommandLine(plan.folder));
}
