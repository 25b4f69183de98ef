// A modal seam for tests: records what would have been shown and answers from scripted replies,
// so no test ever blocks on a dialog.
#pragma once

#include "forms/runtime/modal.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace testing_support {

struct RecordedMessageBox {
    HWND owner;
    std::string text;
    std::string title;
    UINT type;
};

class ModalRecorder : public forms::ModalSeam {
public:
    int ShowMessageBox(HWND owner, const std::string& text, const std::string& title,
                       UINT type) override;
    std::vector<std::string> ChooseFilesToOpen(const forms::OpenFileRequest& request) override;
    std::optional<COLORREF> ChooseColour(HWND owner, COLORREF initial) override;
    std::optional<std::string> BrowseForFolder(const forms::FolderRequest& request) override;
    bool StartProcess(const std::string& commandLine) override;

    void Reset();

    // What was asked for, in order.
    std::vector<RecordedMessageBox> messageBoxes;
    std::vector<forms::OpenFileRequest> openFileRequests;
    std::vector<COLORREF> colourRequests;
    std::vector<forms::FolderRequest> folderRequests;
    std::vector<std::string> startedProcesses;

    // Scripted answers, taken front first; when a queue is empty the dialog counts as cancelled.
    std::deque<std::vector<std::string>> openFileAnswers;
    std::deque<std::optional<COLORREF>> colourAnswers;
    std::deque<std::optional<std::string>> folderAnswers;
    // Called while a message box would be open (for example to check the window's state then).
    std::function<void(const RecordedMessageBox&)> onMessageBox;
};

// The recorder every test program installs before its tests run.
ModalRecorder& Recorder();

}  // namespace testing_support
