// The built program itself: started from a folder of its own, it shows its main window, and its
// close button ends the process without leaving a settings file behind.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "tests/support/main_window_harness.h"

using testing_support::ScratchFolder;

namespace {

std::string BuiltProgram() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string self = path;
    return self.substr(0, self.find_last_of('\\') + 1) + "图象转换.exe";
}

struct FoundWindow {
    DWORD processId;
    HWND window;
};

// The visible top-level window of the process with the main window's caption.
HWND FindMainWindowOf(DWORD processId) {
    FoundWindow found{processId, nullptr};
    EnumWindows(
        [](HWND hwnd, LPARAM data) -> BOOL {
            auto* f = reinterpret_cast<FoundWindow*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            char caption[64] = {};
            GetWindowTextA(hwnd, caption, sizeof caption);
            if (owner == f->processId && IsWindowVisible(hwnd) &&
                std::string(caption) == "榆雀图片批量转换器") {
                f->window = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found.window;
}

TEST(ProgramRun, ShowsTheMainWindowAndItsCloseButtonEndsTheProcess) {
    ScratchFolder folder;
    std::string program = folder.File("图象转换.exe");
    ASSERT_TRUE(CopyFileA(BuiltProgram().c_str(), program.c_str(), FALSE)) << BuiltProgram();

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string commandLine = "\"" + program + "\"";
    ASSERT_TRUE(CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0,
                               nullptr, folder.Path().c_str(), &startup, &process));

    HWND window = nullptr;
    for (DWORD start = GetTickCount(); !window && GetTickCount() - start < 30000;) {
        window = FindMainWindowOf(process.dwProcessId);
        if (!window && WaitForSingleObject(process.hProcess, 100) == WAIT_OBJECT_0) break;
    }
    if (!window) {
        TerminateProcess(process.hProcess, 1);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        FAIL() << "no main window appeared";
    }
    RECT rect{};
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.right - rect.left, 750);
    EXPECT_EQ(rect.bottom - rect.top, 560);

    // The close button stands at (713, 4), 27 x 19 pixels.
    POINT onClose{713 + 13, 4 + 9};
    HWND close = ChildWindowFromPointEx(window, onClose, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    ASSERT_NE(close, nullptr);
    ASSERT_NE(close, window) << "no control under the close button's place";
    PostMessageA(close, BM_CLICK, 0, 0);

    DWORD waited = WaitForSingleObject(process.hProcess, 30000);
    DWORD exitCode = STILL_ACTIVE;
    GetExitCodeProcess(process.hProcess, &exitCode);
    if (waited != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    ASSERT_EQ(waited, WAIT_OBJECT_0) << "the process did not end after its close button";
    EXPECT_EQ(exitCode, 0u);
    EXPECT_FALSE(testing_support::FileExists(folder.File("图象转换.Bin")));
}

}  // namespace
