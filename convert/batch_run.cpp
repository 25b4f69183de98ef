#include "convert/batch_run.h"

#include "convert/convert_pictures.h"
#include "convert/output_folder.h"
#include "convert/run_state.h"
#include "convert/snapshot.h"
#include "forms/runtime/modal.h"
#include "forms/runtime/text.h"

namespace {

// The buttons and the edit box a run disables; the mask covers the other options.
const char* const kLockedControls[] = {"按钮_添加图片",   "按钮_删除图片",   "按钮_清空图片",
                                       "按钮_设置文件夹", "按钮_打开文件夹", "编辑框1"};
constexpr int kMaskLeft = 10;
constexpr int kMaskTopDuringRun = 451;
constexpr int kMaskTopAtRest = 851;

bool IsExistingFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void ShowError(forms::Window& window, const char* text, UINT type) {
    ShowMessage(text, type, kErrorTitle, window.Hwnd());
}

// Step 2: a picture watermark asked for needs its file. A missing one clears the path and puts
// the focus there for the user to set it.
bool WatermarkPictureReady(forms::Window& window) {
    if (!window["选择框_图片水印"].Checked()) return true;
    forms::Control path = window["编辑框_图片路径"];
    const std::string trimmed = text::Trim(path.Text());
    if (!trimmed.empty() && IsExistingFile(trimmed)) return true;
    path.SetText("");
    ShowError(window, kNoWatermarkPictureMessage, kQuestionIcon);
    path.Focus();
    return false;
}

bool AnyTaskChosen(forms::Window& window) {
    return window["选择框_转换格式"].Checked() || window["选择框_改变尺寸"].Checked() ||
           window["选择框_文字水印"].Checked() || window["选择框_图片水印"].Checked();
}

bool OutputFolderReady(forms::Window& window) {
    switch (PrepareOutputFolder(window["编辑框1"].Text())) {
        case OutputFolderResult::kEmpty:
            ShowError(window, kNoFolderMessage, kQuestionIcon);
            return false;
        case OutputFolderResult::kInvalid:
            ShowError(window, kInvalidFolderMessage, kQuestionIcon);
            return false;
        case OutputFolderResult::kReady:
            break;
    }
    return true;
}

void LockWindow(forms::Window& window) {
    window["列表框1"].ClearItems();
    forms::Control mask = window["遮照框"];
    mask.Move(kMaskLeft, kMaskTopDuringRun);
    mask.SetVisible(true);
    for (const char* name : kLockedControls) window[name].SetDisabled(true);
}

void UnlockWindow(forms::Window& window) {
    forms::Control mask = window["遮照框"];
    mask.Move(kMaskLeft, kMaskTopAtRest);
    mask.SetVisible(false);
    for (const char* name : kLockedControls) window[name].SetDisabled(false);
}

// Steps 5 to 9, once the checks have passed. True when a close was asked for meanwhile.
bool RunLocked(forms::Window& window) {
    ActiveBatchRun active;
    LockWindow(window);
    SnapshotConversionSettings(window);
    const ConversionOutcome outcome = ConvertPictures(window);
    if (!window.Exists()) return false;
    if (!outcome.stopped) {
        ShowMessage(RunFinishedMessage(outcome.picturesNotWritten), kInformationIcon, kNoticeTitle,
                    window.Hwnd());
    }
    if (window.Exists()) UnlockWindow(window);
    return CloseRequestedDuringRun();
}

}  // namespace

void ShowMessage(const std::string& text, UINT type, const std::string& title, HWND owner) {
    forms::Modal().ShowMessageBox(owner, text, title, type);
}

void BatchRun(forms::Window& window) {
    // The start button lies under the mask during a run; a press reaching it all the same (from
    // the keyboard, say) must not start a run inside the run.
    if (BatchRunActive()) return;
    if (window["超级列表框1"].RowCount() == 0) {
        ShowError(window, kNoPicturesMessage, kQuestionIcon);
        return;
    }
    if (!WatermarkPictureReady(window)) return;
    if (!AnyTaskChosen(window)) {
        ShowError(window, kNoTaskMessage, kInformationIcon);
        return;
    }
    if (!OutputFolderReady(window)) return;
    const bool closeRequested = RunLocked(window);
    // The close was held back while the run used the window; it happens now, the run unwound.
    if (closeRequested) window.Destroy();
}

void BindBatchRun(forms::Window& window) {
    window.OnClick("按钮_开始转换", [&window] { BatchRun(window); });
}
