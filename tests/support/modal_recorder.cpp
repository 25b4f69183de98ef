#include "tests/support/modal_recorder.h"

namespace testing_support {

int ModalRecorder::ShowMessageBox(HWND owner, const std::string& text, const std::string& title,
                                  UINT type) {
    messageBoxes.push_back({owner, text, title, type});
    if (onMessageBox) onMessageBox(messageBoxes.back());
    return IDOK;
}

std::vector<std::string> ModalRecorder::ChooseFilesToOpen(const forms::OpenFileRequest& request) {
    openFileRequests.push_back(request);
    if (openFileAnswers.empty()) return {};
    std::vector<std::string> answer = openFileAnswers.front();
    openFileAnswers.pop_front();
    return answer;
}

std::optional<COLORREF> ModalRecorder::ChooseColour(HWND owner, COLORREF initial) {
    colourRequests.push_back(initial);
    if (colourAnswers.empty()) return std::nullopt;
    std::optional<COLORREF> answer = colourAnswers.front();
    colourAnswers.pop_front();
    return answer;
}

std::optional<std::string> ModalRecorder::BrowseForFolder(const forms::FolderRequest& request) {
    folderRequests.push_back(request);
    if (folderAnswers.empty()) return std::nullopt;
    std::optional<std::string> answer = folderAnswers.front();
    folderAnswers.pop_front();
    return answer;
}

bool ModalRecorder::StartProcess(const std::string& commandLine) {
    startedProcesses.push_back(commandLine);
    return true;
}

void ModalRecorder::Reset() { *this = ModalRecorder(); }

ModalRecorder& Recorder() {
    static ModalRecorder recorder;
    return recorder;
}

}  // namespace testing_support
