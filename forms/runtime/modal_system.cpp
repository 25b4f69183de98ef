// The modal seam's Windows side: the real message box, common dialogs, folder browser and
// CreateProcessA.
#include <windows.h>
#include <commdlg.h>
#include <cderr.h>
#include <ole2.h>
#include <shlobj.h>

#include <algorithm>

#include "forms/runtime/dialog_text.h"
#include "forms/runtime/modal.h"

namespace forms {
namespace {

// The answer buffer of the open-file dialog starts room for a few thousand names and grows when
// the dialog says the choice did not fit (the dialog is then shown again).
constexpr DWORD kFirstFileBuffer = 256 * 1024;
constexpr DWORD kLargestFileBuffer = 16 * 1024 * 1024;

class SystemSeam final : public ModalSeam {
  public:
    int ShowMessageBox(HWND owner, const std::string& text, const std::string& title,
                       UINT type) override {
        return MessageBoxA(owner, text.c_str(), title.c_str(), type);
    }

    std::vector<std::string> ChooseFilesToOpen(const OpenFileRequest& request) override {
        std::string filter = DialogFilter(request.filter);
        for (DWORD size = kFirstFileBuffer;; size = std::min(kLargestFileBuffer, size * 4)) {
            std::vector<char> answer(static_cast<std::size_t>(size) + 2, '\0');
            OPENFILENAMEA dialog{};
            dialog.lStructSize = sizeof(dialog);
            dialog.hwndOwner = request.owner;
            dialog.lpstrFilter = request.filter.empty() ? nullptr : filter.c_str();
            dialog.nFilterIndex = static_cast<DWORD>(std::max(1, request.filterIndex));
            dialog.lpstrFile = answer.data();
            dialog.nMaxFile = size;
            dialog.lpstrTitle = request.title.empty() ? nullptr : request.title.c_str();
            dialog.Flags =
                request.flags | OFN_EXPLORER | (request.multiSelect ? OFN_ALLOWMULTISELECT : 0);
            if (GetOpenFileNameA(&dialog)) return ChosenFiles(answer.data(), answer.size());
            if (CommDlgExtendedError() != FNERR_BUFFERTOOSMALL || size >= kLargestFileBuffer)
                return {};
        }
    }

    std::optional<COLORREF> ChooseColour(HWND owner, COLORREF initial) override {
        // The dialog's custom colours are kept for the rest of the run.
        static COLORREF custom[16] = {
            RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
            RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
            RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
            RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255)};
        CHOOSECOLORA dialog{};
        dialog.lStructSize = sizeof(dialog);
        dialog.hwndOwner = owner;
        dialog.rgbResult = initial & 0x00FFFFFF;
        dialog.lpCustColors = custom;
        dialog.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR;
        if (!ChooseColorA(&dialog)) return std::nullopt;
        return dialog.rgbResult & 0x00FFFFFF;
    }

    std::optional<std::string> BrowseForFolder(const FolderRequest& request) override {
        // The folder browser needs OLE on this thread; the runtime started it, this keeps the
        // count balanced when it did not.
        HRESULT ole = OleInitialize(nullptr);
        char display[MAX_PATH] = {};
        BROWSEINFOA browse{};
        browse.hwndOwner = request.owner;
        browse.pszDisplayName = display;
        browse.lpszTitle = request.title.empty() ? nullptr : request.title.c_str();
        browse.ulFlags = request.flags;
        std::optional<std::string> chosen;
        if (LPITEMIDLIST item = SHBrowseForFolderA(&browse)) {
            char path[MAX_PATH] = {};
            if (SHGetPathFromIDListA(item, path)) chosen = std::string(path);
            CoTaskMemFree(item);
        }
        if (SUCCEEDED(ole)) OleUninitialize();
        return chosen;
    }

    bool StartProcess(const std::string& commandLine) override {
        if (commandLine.empty()) return false;
        std::vector<char> line(commandLine.begin(), commandLine.end());
        line.push_back('\0');
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_SHOWNORMAL;
        PROCESS_INFORMATION process{};
        if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &process)) {
            return false;
        }
        WaitForInputIdle(process.hProcess, 1000);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return true;
    }
};

ModalSeam* g_seam = nullptr;

}  // namespace

ModalSeam& SystemModalSeam() {
    static SystemSeam seam;
    return seam;
}

ModalSeam& Modal() { return g_seam != nullptr ? *g_seam : SystemModalSeam(); }

void SetModalSeam(ModalSeam* seam) { g_seam = seam; }

}  // namespace forms
