// Helpers for tests of the main window: a scratch folder for the program directory and its
// settings file, the main window made in-process, and clicks as the user makes them.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "forms/runtime/form.h"

namespace testing_support {

// A new empty folder under the temporary directory, removed with its contents at the end.
class ScratchFolder {
  public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // The folder, ending in a backslash.
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + name; }

  private:
    std::string path_;
};

bool FileExists(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
std::string ReadFileBytes(const std::string& path);

// The settings file's path in a program directory.
std::string SettingsFileIn(const ScratchFolder& folder);

// The main window made in-process with the program directory pointed at `programDirectory`, so
// that it reads its settings from there. Destroyed (and the program directory restored) at the
// end of its scope.
class MainWindowHarness {
  public:
    explicit MainWindowHarness(const std::string& programDirectory);
    ~MainWindowHarness();
    MainWindowHarness(const MainWindowHarness&) = delete;
    MainWindowHarness& operator=(const MainWindowHarness&) = delete;

    bool Created() const { return created_; }
    MainWindow& Main() { return *main_; }
    forms::Window& Form() { return main_->Form(); }
    forms::Control operator[](const char* name) { return main_->Form()[name]; }

  private:
    std::unique_ptr<MainWindow> main_;
    bool created_ = false;
};

// Clicks a control as a user would (button down and up on it), then lets the resulting messages
// run. A user can click only a visible, enabled control: a hidden or disabled one fails the test.
void Click(forms::Window& window, const char* control);

// Whether a control can be clicked by the user: visible (with its containers) and enabled.
bool Clickable(forms::Window& window, const char* control);

// Keeps a value under HKCU "Shell Folders" as it is and puts it back at the end of the scope, so
// that a test may change or delete it.
class ShellFolderValueGuard {
  public:
    explicit ShellFolderValueGuard(const char* name);
    ~ShellFolderValueGuard();
    ShellFolderValueGuard(const ShellFolderValueGuard&) = delete;
    ShellFolderValueGuard& operator=(const ShellFolderValueGuard&) = delete;

    bool Opened() const { return key_ != nullptr; }
    void Delete();
    void Set(DWORD type, const std::string& text);  // REG_SZ or REG_EXPAND_SZ text
    void SetNumber(DWORD value);                    // REG_DWORD

  private:
    const char* name_;
    HKEY key_ = nullptr;
    DWORD type_ = 0;
    std::vector<BYTE> data_;
    bool existed_ = false;
};

}  // namespace testing_support
