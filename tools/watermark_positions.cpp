// Converts one picture once for each watermark position, through the real main window and its
// start button, so that the pictures show what a user gets:
//   watermark_positions <picture> <watermark picture> <output folder>
// The main window runs in this process with its settings file in <output folder>\program\: PNG,
// 360 pixels wide, the picture watermark (whose size needs no font measuring). The picture is
// listed through the add button; then, for each item of 组合框_水印位置 in order, the item is
// chosen, 编辑框1 is set to <output folder>\<n>\ (n from 1) and the start button runs the batch.
// The message boxes are answered at once. <output folder>\positions.txt lists "n<TAB>position"
// per line (code page 936). Ends with 1 when a run did not end with its completion message or
// wrote no picture.
#include <windows.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/path_rules.h"
#include "app/program_state.h"
#include "app/shell_folders.h"
#include "forms/runtime/form.h"
#include "forms/runtime/modal.h"

namespace {

// Answers every dialog at once: the open-file dialog with the one picture, message boxes with OK
// (remembering their texts), everything else as cancelled.
class AnsweringSeam : public forms::ModalSeam {
  public:
    explicit AnsweringSeam(std::string picture) : picture_(std::move(picture)) {}

    int ShowMessageBox(HWND, const std::string& text, const std::string&, UINT) override {
        messages.push_back(text);
        return IDOK;
    }
    std::vector<std::string> ChooseFilesToOpen(const forms::OpenFileRequest&) override {
        return {picture_};
    }
    std::optional<COLORREF> ChooseColour(HWND, COLORREF) override { return std::nullopt; }
    std::optional<std::string> BrowseForFolder(const forms::FolderRequest&) override {
        return std::nullopt;
    }
    bool StartProcess(const std::string&) override { return false; }

    std::vector<std::string> messages;

  private:
    std::string picture_;
};

void Click(forms::Window& window, const char* control) {
    SendMessageA(window[control].Hwnd(), BM_CLICK, 0, 0);
    forms::ProcessPendingMessages();
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The settings the window starts with: PNG, 360 pixels wide, the picture watermark.
void WriteSettings(const std::string& settingsPath, const std::string& watermark) {
    const std::string pairs[][2] = {
        {"转换格式", "真"}, {"新格式", "PNG"},  {"改变尺寸", "真"},      {"按尺寸", "真"},
        {"按百分比", "假"}, {"指定宽度", "真"}, {"指定高度", "假"},      {"宽度", "360"},
        {"文字水印", "假"}, {"图片水印", "真"}, {"图片路径", watermark},
    };
    for (const auto& pair : pairs)
        WritePrivateProfileStringA("转换设置", pair[0].c_str(), pair[1].c_str(),
                                   settingsPath.c_str());
}

// The file name without its folder and extension.
std::string Stem(const std::string& path) {
    const std::size_t slash = path.find_last_of('\\');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

int Run(const std::string& picture, const std::string& watermark, std::string outputFolder) {
    WithTrailingBackslash(outputFolder);
    const std::string programFolder = outputFolder + "program\\";
    CreateDirectoryA(outputFolder.c_str(), nullptr);
    CreateDirectoryA(programFolder.c_str(), nullptr);
    WriteSettings(programFolder + kSettingsFileName, watermark);

    if (!forms::InitRuntime(GetModuleHandleA(nullptr))) return 3;
    ConstructProgramObjects();
    forms::AtExit(CleanUpAtEndOfRun);
    OverrideProgramDirectoryForTests(programFolder);
    AnsweringSeam seam(picture);
    forms::SetModalSeam(&seam);

    int result = 0;
    {
        MainWindow main;
        if (!main.Create(/*quitOnDestroy=*/false)) return 4;
        forms::ProcessPendingMessages();
        forms::Window& form = main.Form();
        Click(form, "按钮_添加图片");
        if (form["超级列表框1"].RowCount() != 1) {
            std::fprintf(stderr, "the picture was not listed: %s\n", picture.c_str());
            return 5;
        }

        std::FILE* positions = std::fopen((outputFolder + "positions.txt").c_str(), "wb");
        if (!positions) return 6;
        forms::Control choice = form["组合框_水印位置"];
        for (int index = 0; index < choice.ItemCount(); ++index) {
            choice.SetSelected(index);
            const std::string folder = outputFolder + std::to_string(index + 1) + "\\";
            form["编辑框1"].SetText(folder);
            seam.messages.clear();
            Click(form, "按钮_开始转换");
            const std::string written = folder + Stem(picture) + ".png";
            const bool finished = seam.messages == std::vector<std::string>{"全部处理完毕"};
            if (!finished || !FileExists(written)) {
                std::fprintf(stderr, "position %d: %s\n", index + 1,
                             finished ? "no picture written" : "the run did not finish");
                result = 1;
            }
            std::fprintf(positions, "%d\t%s\n", index + 1, choice.ItemText(index).c_str());
        }
        std::fclose(positions);
    }
    forms::SetModalSeam(nullptr);
    forms::ShutdownRuntime();
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr,
                     "usage: watermark_positions <picture> <watermark picture> <output folder>\n");
        return 2;
    }
    return Run(argv[1], argv[2], argv[3]);
}
