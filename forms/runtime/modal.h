// The one seam in front of everything modal or external: message boxes, the open-file dialog,
// the colour dialog, the folder dialog and starting another program. The program calls these
// free functions; by default they reach Windows. Tests install a recorder that answers instead
// of blocking, and read what would have been shown.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace forms {

struct OpenFileRequest {
    HWND owner = nullptr;
    std::string title;          // empty: the dialog's own title
    std::string filter;         // "desc|patterns|desc|patterns", as a form writes it
    int filterIndex = 1;        // 1-based
    bool multiSelect = false;
    DWORD flags = 0;            // OFN_* flags besides the ones multiSelect implies
};

struct FolderRequest {
    HWND owner = nullptr;
    std::string title;
    UINT flags = 0;             // BIF_* flags
};

class ModalSeam {
public:
    virtual ~ModalSeam() = default;
    virtual int ShowMessageBox(HWND owner, const std::string& text, const std::string& title,
                               UINT type) = 0;
    // Full paths of the chosen files in the dialog's order; empty when cancelled.
    virtual std::vector<std::string> ChooseFilesToOpen(const OpenFileRequest& request) = 0;
    // The colour chosen, or nothing when cancelled.
    virtual std::optional<COLORREF> ChooseColour(HWND owner, COLORREF initial) = 0;
    // The folder's file-system path (SHGetPathFromIDListA), or nothing when cancelled or when
    // the chosen item is no file-system folder.
    virtual std::optional<std::string> BrowseForFolder(const FolderRequest& request) = 0;
    // CreateProcessA of the command line in a normal window; true when it started.
    virtual bool StartProcess(const std::string& commandLine) = 0;
};

// The real Windows implementation.
ModalSeam& SystemModalSeam();
// The seam in force; tests replace it (nullptr restores the system one).
ModalSeam& Modal();
void SetModalSeam(ModalSeam* seam);

}  // namespace forms
