// The built program itself: started from a folder of its own, it shows its main window, and its
// close button ends the process without leaving a settings file behind. Its version block names
// the product, describes the file in Chinese and carries the project's version.
#include <gtest/gtest.h>

#include <windows.h>
#include <winver.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <utility>
#include <vector>

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

// Visible top-level windows of every process.
std::vector<HWND> VisibleTopLevelWindows() {
    std::vector<HWND> windows;
    EnumWindows(
        [](HWND hwnd, LPARAM data) -> BOOL {
            if (IsWindowVisible(hwnd)) reinterpret_cast<std::vector<HWND>*>(data)->push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::string Describe(HWND window) {
    char caption[128] = {}, name[64] = {};
    GetWindowTextA(window, caption, sizeof caption);
    GetClassNameA(window, name, sizeof name);
    return std::string("\"") + caption + "\" (" + name + ")";
}

// The built program copied into a folder and started there. The process is ended on
// destruction if it is still running, so a failed test leaves nothing behind.
class StartedProgram {
  public:
    explicit StartedProgram(const ScratchFolder& folder) {
        const std::string program = folder.File("图象转换.exe");
        if (!CopyFileA(BuiltProgram().c_str(), program.c_str(), FALSE)) return;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        std::string commandLine = "\"" + program + "\"";
        started_ = CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0,
                                  nullptr, folder.Path().c_str(), &startup, &process_) != FALSE;
    }
    StartedProgram(const StartedProgram&) = delete;
    StartedProgram& operator=(const StartedProgram&) = delete;
    ~StartedProgram() {
        if (!started_) return;
        if (Alive()) TerminateProcess(process_.hProcess, 1);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }

    bool Started() const { return started_; }
    bool Alive() const { return WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT; }
    bool WaitForExit(DWORD milliseconds) const {
        return WaitForSingleObject(process_.hProcess, milliseconds) == WAIT_OBJECT_0;
    }
    DWORD ExitCode() const {
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(process_.hProcess, &code);
        return code;
    }

    // Polls for the main window for up to 30 s; null when it did not appear or the process ended.
    HWND WaitForMainWindow() const {
        HWND window = nullptr;
        for (DWORD start = GetTickCount(); !window && GetTickCount() - start < 30000;) {
            window = FindMainWindowOf(process_.dwProcessId);
            if (!window && WaitForExit(100)) break;
        }
        return window;
    }

  private:
    PROCESS_INFORMATION process_{};
    bool started_ = false;
};

// The control under the close button's place, (713, 4), 27 x 19 pixels; null when none is there.
HWND CloseButtonOf(HWND window) {
    POINT onClose{713 + 13, 4 + 9};
    HWND close = ChildWindowFromPointEx(window, onClose, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    return close == window ? nullptr : close;
}

TEST(ProgramRun, ShowsTheMainWindowAndItsCloseButtonEndsTheProcess) {
    ScratchFolder folder;
    StartedProgram program(folder);
    ASSERT_TRUE(program.Started()) << BuiltProgram();

    HWND window = program.WaitForMainWindow();
    ASSERT_NE(window, nullptr) << "no main window appeared";
    RECT rect{};
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.right - rect.left, 750);
    EXPECT_EQ(rect.bottom - rect.top, 560);

    HWND close = CloseButtonOf(window);
    ASSERT_NE(close, nullptr) << "no control under the close button's place";
    PostMessageA(close, BM_CLICK, 0, 0);

    ASSERT_TRUE(program.WaitForExit(30000)) << "the process did not end after its close button";
    EXPECT_EQ(program.ExitCode(), 0u);
    EXPECT_FALSE(testing_support::FileExists(folder.File("图象转换.Bin")));
}

// Half a second after start the banner timer writes its page; with no browser engine at hand
// (as here) that must neither block the program nor bring up any window, and the program still
// closes cleanly.
TEST(ProgramRun, RunsPastTheBannerTimerWithoutAnyDialogAndClosesCleanly) {
    ScratchFolder folder;
    const std::vector<HWND> before = VisibleTopLevelWindows();
    StartedProgram program(folder);
    ASSERT_TRUE(program.Started()) << BuiltProgram();

    HWND window = program.WaitForMainWindow();
    ASSERT_NE(window, nullptr) << "no main window appeared";
    std::vector<std::string> appeared;
    bool answered = true;
    // Watch for two and a half seconds: past the timer, with time to spare for a late dialog.
    for (DWORD start = GetTickCount(); GetTickCount() - start < 2500;) {
        for (HWND seen : VisibleTopLevelWindows()) {
            if (seen == window || std::find(before.begin(), before.end(), seen) != before.end())
                continue;
            if (std::find(appeared.begin(), appeared.end(), Describe(seen)) == appeared.end())
                appeared.push_back(Describe(seen));
        }
        DWORD_PTR ignored = 0;
        answered = answered && SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000,
                                                   &ignored) != 0;
        if (program.WaitForExit(50)) break;
    }
    const bool banner = FindWindowExA(window, nullptr, "AtlAxWin", nullptr) != nullptr;
    const bool alive = program.Alive();
    if (alive) {
        if (HWND close = CloseButtonOf(window)) PostMessageA(close, BM_CLICK, 0, 0);
    }
    const bool ended = program.WaitForExit(30000);

    EXPECT_TRUE(alive) << "the program ended on its own";
    EXPECT_TRUE(answered) << "the main window stopped answering";
    EXPECT_TRUE(banner) << "the banner's host window is in the main window";
    for (const std::string& dialog : appeared) ADD_FAILURE() << "a window appeared: " << dialog;
    ASSERT_TRUE(ended) << "the process did not end after its close button";
    EXPECT_EQ(program.ExitCode(), 0u);
}

// The program's version block as Explorer's file properties read it.
class VersionBlock {
  public:
    explicit VersionBlock(const std::string& file) {
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeA(file.c_str(), &ignored);
        if (size == 0) return;
        bytes_.resize(size);
        if (!GetFileVersionInfoA(file.c_str(), 0, size, bytes_.data())) bytes_.clear();
    }
    bool Found() const { return !bytes_.empty(); }

    // The translations listed under VarFileInfo, as language and code page pairs.
    std::vector<std::pair<WORD, WORD>> Translations() {
        void* data = nullptr;
        UINT length = 0;
        std::vector<std::pair<WORD, WORD>> pairs;
        if (!VerQueryValueA(bytes_.data(), "\\VarFileInfo\\Translation", &data, &length))
            return pairs;
        const WORD* words = static_cast<const WORD*>(data);
        for (UINT i = 0; i + 1 < length / sizeof(WORD); i += 2)
            pairs.emplace_back(words[i], words[i + 1]);
        return pairs;
    }

    // A text of the string table `table` (for example "080403A8"), in the ANSI code page;
    // nothing when the block has no such value.
    std::optional<std::string> Text(const std::string& table, const std::string& name) {
        void* data = nullptr;
        UINT length = 0;
        const std::string query = "\\StringFileInfo\\" + table + "\\" + name;
        if (!VerQueryValueA(bytes_.data(), query.c_str(), &data, &length) || data == nullptr)
            return std::nullopt;
        return std::string(static_cast<const char*>(data));
    }

    const VS_FIXEDFILEINFO* Fixed() {
        void* data = nullptr;
        UINT length = 0;
        if (!VerQueryValueA(bytes_.data(), "\\", &data, &length) ||
            length < sizeof(VS_FIXEDFILEINFO))
            return nullptr;
        return static_cast<const VS_FIXEDFILEINFO*>(data);
    }

  private:
    std::vector<unsigned char> bytes_;
};

TEST(ProgramVersion, NamesTheProductInChineseWithTheProjectVersion) {
    VersionBlock block(BuiltProgram());
    ASSERT_TRUE(block.Found()) << "no version block in " << BuiltProgram();

    // Chinese (PRC), code page 936: the table whose texts Explorer shows on a Chinese system.
    const std::vector<std::pair<WORD, WORD>> translations = block.Translations();
    ASSERT_EQ(translations.size(), 1u);
    EXPECT_EQ(translations[0].first, 0x0804);
    EXPECT_EQ(translations[0].second, 936);

    struct Expected {
        const char* name;
        std::string text;
    };
    const Expected cases[] = {
        {"ProductName", "榆雀图片批量转换器"},
        {"FileDescription", "图片批量转换：格式、尺寸、文字水印和图片水印"},
        {"FileVersion", TUCONV_PROJECT_VERSION},
        {"ProductVersion", TUCONV_PROJECT_VERSION},
        {"OriginalFilename", "图象转换.exe"},
    };
    for (const Expected& expected : cases) {
        SCOPED_TRACE(expected.name);
        const std::optional<std::string> text = block.Text("080403A8", expected.name);
        ASSERT_TRUE(text.has_value()) << "missing from the string table";
        EXPECT_EQ(*text, expected.text);
    }
    const std::optional<std::string> copyright = block.Text("080403A8", "LegalCopyright");
    ASSERT_TRUE(copyright.has_value());
    EXPECT_FALSE(copyright->empty());
}

TEST(ProgramVersion, FixedNumbersAgreeWithTheVersionText) {
    VersionBlock block(BuiltProgram());
    ASSERT_TRUE(block.Found()) << "no version block in " << BuiltProgram();
    const VS_FIXEDFILEINFO* fixed = block.Fixed();
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

    unsigned major = 0, minor = 0, patch = 0;
    ASSERT_EQ(std::sscanf(TUCONV_PROJECT_VERSION, "%u.%u.%u", &major, &minor, &patch), 3)
        << TUCONV_PROJECT_VERSION;
    struct Numbers {
        const char* name;
        DWORD high;
        DWORD low;
    };
    const Numbers cases[] = {
        {"file version", fixed->dwFileVersionMS, fixed->dwFileVersionLS},
        {"product version", fixed->dwProductVersionMS, fixed->dwProductVersionLS},
    };
    for (const Numbers& numbers : cases) {
        SCOPED_TRACE(numbers.name);
        EXPECT_EQ(HIWORD(numbers.high), major);
        EXPECT_EQ(LOWORD(numbers.high), minor);
        EXPECT_EQ(HIWORD(numbers.low), patch);
        EXPECT_EQ(LOWORD(numbers.low), 0u);
    }
}

}  // namespace
