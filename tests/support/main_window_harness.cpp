#include "tests/support/main_window_harness.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>

#include "app/program_state.h"
#include "app/shell_folders.h"

namespace testing_support {

namespace {

void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            std::string path = folder + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path + "\\");
            } else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

}  // namespace

ScratchFolder::ScratchFolder() {
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, temp);
    static unsigned counter = 0;
    for (;;) {
        std::ostringstream name;
        name << temp << "tuconv-app-" << GetCurrentProcessId() << "-" << ++counter;
        if (CreateDirectoryA(name.str().c_str(), nullptr)) {
            path_ = name.str() + "\\";
            return;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            ADD_FAILURE() << "cannot create a scratch folder " << name.str();
            return;
        }
    }
}

ScratchFolder::~ScratchFolder() {
    if (!path_.empty()) RemoveTree(path_);
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << "cannot write " << path;
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string SettingsFileIn(const ScratchFolder& folder) { return folder.File(kSettingsFileName); }

MainWindowHarness::MainWindowHarness(const std::string& programDirectory) {
    OverrideProgramDirectoryForTests(programDirectory);
    main_ = std::make_unique<MainWindow>();
    created_ = main_->Create(/*quitOnDestroy=*/false);
    forms::ProcessPendingMessages();
}

MainWindowHarness::~MainWindowHarness() {
    main_.reset();
    forms::ProcessPendingMessages();
    OverrideProgramDirectoryForTests(std::nullopt);
}

bool Clickable(forms::Window& window, const char* control) {
    HWND hwnd = window[control].Hwnd();
    return hwnd && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd);
}

void Click(forms::Window& window, const char* control) {
    ASSERT_TRUE(Clickable(window, control)) << control << " cannot be clicked: hidden or disabled";
    SendMessageA(window[control].Hwnd(), BM_CLICK, 0, 0);
    forms::ProcessPendingMessages();
}

ShellFolderValueGuard::ShellFolderValueGuard(const char* name) : name_(name) {
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kShellFoldersKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                      &key_) != ERROR_SUCCESS) {
        key_ = nullptr;
        return;
    }
    DWORD size = 0;
    if (RegQueryValueExA(key_, name_, nullptr, &type_, nullptr, &size) == ERROR_SUCCESS) {
        data_.resize(size);
        existed_ =
            RegQueryValueExA(key_, name_, nullptr, &type_, data_.data(), &size) == ERROR_SUCCESS;
        data_.resize(size);
    }
}

ShellFolderValueGuard::~ShellFolderValueGuard() {
    if (!key_) return;
    if (existed_) {
        RegSetValueExA(key_, name_, 0, type_, data_.data(), static_cast<DWORD>(data_.size()));
    } else {
        RegDeleteValueA(key_, name_);
    }
    RegCloseKey(key_);
}

void ShellFolderValueGuard::Delete() { RegDeleteValueA(key_, name_); }

void ShellFolderValueGuard::Set(DWORD type, const std::string& text) {
    RegSetValueExA(key_, name_, 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
}

void ShellFolderValueGuard::SetNumber(DWORD value) {
    RegSetValueExA(key_, name_, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

}  // namespace testing_support
