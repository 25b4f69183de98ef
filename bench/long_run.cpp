// The long run: 500 pictures converted in one batch run of the real main window, then 200
// previews, with the process's GDI and USER object counts and its private bytes sampled along
// the way, so that a leak shows as growth between the early and the late samples.
//
//   long_run [pictures (500)] [previews (200)]
//
// Prints one line per sample and the growth from the first sample of each phase to its last.
// Counts come from GetGuiResources; where that call is not implemented (it is a stub under Wine)
// they are read from the process's handle tables instead, and the table says so.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>
#include <winternl.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/program_state.h"
#include "app/watermark_text_style.h"
#include "forms/runtime/form.h"
#include "picturelist/preview.h"
#include "tests/support/main_window_harness.h"
#include "tests/support/modal_recorder.h"
#include "tests/support/picture_list_support.h"

namespace {

using testing_support::MainWindowHarness;
using testing_support::ScratchFolder;

// ---- What the process holds --------------------------------------------------------------

struct Sample {
    std::string point;
    long gdiObjects = 0;
    long userObjects = 0;
    double privateMegabytes = 0;
};

bool g_countsFromTables = false;

// One entry of the GDI handle table the process environment block points to, as Wine lays it
// out; a live object has a non-null kernel object.
struct GdiHandleEntry {
    std::uint64_t object;
    std::uint32_t owner;
    std::uint16_t type;
    std::uint16_t unique;
    std::uint64_t user;
};
constexpr int kGdiHandleSlots = 0x4000;
constexpr std::size_t kPebGdiSharedHandleTable = 0xF8;  // offset in the 64-bit PEB

long GdiObjectsFromTable() {
    PROCESS_BASIC_INFORMATION basic{};
    if (NtQueryInformationProcess(GetCurrentProcess(), ProcessBasicInformation, &basic,
                                  sizeof basic, nullptr) != 0) {
        return -1;
    }
    const auto* peb = reinterpret_cast<const unsigned char*>(basic.PebBaseAddress);
    const auto* table =
        *reinterpret_cast<const GdiHandleEntry* const*>(peb + kPebGdiSharedHandleTable);
    if (table == nullptr) return -1;
    long live = 0;
    for (int i = 0; i < kGdiHandleSlots; ++i) live += table[i].object != 0;
    return live;
}

// USER objects this program makes: windows, icons and cursors. Each 16-bit handle value is
// asked for (a handle without its generation bits names the slot's current object).
long UserObjectsFromTable() {
    using FrameInfo = HCURSOR(WINAPI*)(HCURSOR, DWORD, DWORD, DWORD*, DWORD*);
    static const auto frameInfo = reinterpret_cast<FrameInfo>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("user32.dll"), "GetCursorFrameInfo")));
    const DWORD self = GetCurrentProcessId();
    long live = 0;
    for (std::uintptr_t value = 0x20; value < 0x10000; value += 2) {
        HWND window = reinterpret_cast<HWND>(value);
        if (IsWindow(window)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            live += owner == self;
            continue;
        }
        DWORD rate = 0, steps = 0;
        if (frameInfo && frameInfo(reinterpret_cast<HCURSOR>(value), 0, 0, &rate, &steps)) ++live;
    }
    return live;
}

Sample Take(const std::string& point) {
    Sample sample;
    sample.point = point;
    SetLastError(ERROR_SUCCESS);
    sample.gdiObjects = static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
    if (sample.gdiObjects == 0 && GetLastError() == ERROR_CALL_NOT_IMPLEMENTED) {
        g_countsFromTables = true;
        sample.gdiObjects = GdiObjectsFromTable();
        sample.userObjects = UserObjectsFromTable();
    } else {
        sample.userObjects =
            static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS));
    }
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                         sizeof memory);
    // Windows gives the private bytes both as PrivateUsage and as PagefileUsage; Wine fills only
    // the second.
    const SIZE_T privateBytes =
        memory.PrivateUsage != 0 ? memory.PrivateUsage : memory.PagefileUsage;
    sample.privateMegabytes = static_cast<double>(privateBytes) / (1024.0 * 1024.0);
    std::printf("  sampled %s\n", point.c_str());
    std::fflush(stdout);
    return sample;
}

// ---- The pictures --------------------------------------------------------------------------

struct SourcePicture {
    const char* extension;
    int width;
    int height;
    COLORREF colour;
};

// A few sources of different formats, sizes and shapes, each copied under many names.
const SourcePicture kSources[] = {
    {"jpg", 640, 480, RGB(40, 90, 160)},  {"png", 480, 640, RGB(200, 120, 30)},
    {"bmp", 320, 240, RGB(20, 160, 60)},  {"tiff", 800, 200, RGB(120, 40, 140)},
    {"png", 256, 256, RGB(230, 230, 40)},
};

std::vector<std::string> MakePictures(const std::string& folder, int count) {
    std::vector<std::string> sources;
    for (std::size_t i = 0; i < sizeof kSources / sizeof kSources[0]; ++i) {
        const SourcePicture& s = kSources[i];
        const std::string path = folder + "源" + std::to_string(i) + "." + s.extension;
        if (!testing_support::WriteSolidPicture(path, s.width, s.height, s.colour)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return {};
        }
        sources.push_back(path);
    }
    std::vector<std::string> paths;
    for (int n = 0; n < count; ++n) {
        const SourcePicture& s = kSources[n % sources.size()];
        char name[64];
        std::snprintf(name, sizeof name, "照片%03d.%s", n + 1, s.extension);
        const std::string path = folder + name;
        if (!CopyFileA(sources[n % sources.size()].c_str(), path.c_str(), FALSE)) {
            std::fprintf(stderr, "cannot copy to %s\n", path.c_str());
            return {};
        }
        paths.push_back(path);
    }
    return paths;
}

// ---- The run, watched through its progress lines --------------------------------------------

// Samples taken when the run logs given lines: the run adds a row's line before it converts
// that row, so the line of row n comes when n pictures are done.
struct LineWatch {
    std::vector<std::pair<std::string, std::string>> linesAndPoints;
    std::vector<Sample>* samples = nullptr;
    WNDPROC previous = nullptr;
};
LineWatch g_watch;

LRESULT CALLBACK WatchedLogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == LB_ADDSTRING || message == LB_INSERTSTRING) {
        const std::string line = reinterpret_cast<const char*>(lParam);
        for (const auto& [watched, point] : g_watch.linesAndPoints) {
            if (line == watched) g_watch.samples->push_back(Take(point));
        }
    }
    return CallWindowProcA(g_watch.previous, hwnd, message, wParam, lParam);
}

void Tick(forms::Window& window, const char* name, bool on = true) {
    if (window[name].Checked() == on) return;
    if (testing_support::Clickable(window, name)) {
        testing_support::Click(window, name);
    } else {
        window[name].SetChecked(on);
    }
}

bool Select(forms::Window& window, const char* combo, const std::string& item) {
    forms::Control control = window[combo];
    for (int i = 0; i < control.ItemCount(); ++i) {
        if (control.ItemText(i) == item) {
            control.SetSelected(i);
            return true;
        }
    }
    std::fprintf(stderr, "%s has no item %s\n", combo, item.c_str());
    return false;
}

// The options a user might tick for a day's photos: JPG, width 320, a text watermark with glow
// and shadow at the bottom right, 80% opaque.
bool TickOptions(forms::Window& window, const std::string& outputFolder) {
    WatermarkTextStyle& style = TheWatermarkTextStyle();
    style.size = 24;
    style.style = kStyleBold;
    style.textColour = RGB(255, 255, 255);
    style.glow = true;
    style.glowColour = RGB(0, 0, 0);
    style.shadow = true;
    style.shadowColour = RGB(64, 64, 64);

    Tick(window, "选择框_转换格式");
    Tick(window, "选择框_改变尺寸");
    Tick(window, "单选框_按尺寸");
    Tick(window, "选择框_指定宽度");
    Tick(window, "选择框_指定高度", false);
    window["编辑框_宽度"].SetText("320");
    Tick(window, "选择框_文字水印");
    window["编辑框_水印文字"].SetText("榆雀图片 2024\\n长跑测量");
    window["编辑框1"].SetText(outputFolder);
    return Select(window, "组合框_新格式", "JPG") && Select(window, "组合框_水印位置", "右下") &&
           Select(window, "组合框_水印透明", "80");
}

std::vector<Sample> ConvertAndSample(MainWindowHarness& main, const std::vector<std::string>& paths,
                                     const std::string& outputFolder) {
    std::vector<Sample> samples;
    forms::Window& window = main.Form();
    const HWND log = window["列表框1"].Hwnd();
    const int count = static_cast<int>(paths.size());
    auto lineOfRow = [&](int row) { return "正在处理:" + window["超级列表框1"].CellText(row, 0); };
    g_watch = LineWatch();
    g_watch.samples = &samples;
    for (int done : {50, 250}) {
        if (done < count) {
            g_watch.linesAndPoints.push_back(
                {lineOfRow(done), "converted " + std::to_string(done)});
        }
    }
    g_watch.linesAndPoints.push_back({"处理完毕", "converted " + std::to_string(count)});
    g_watch.previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(log, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WatchedLogProc)));
    if (!TickOptions(window, outputFolder)) return {};
    testing_support::Click(window, "按钮_开始转换");
    SetWindowLongPtrA(log, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_watch.previous));
    samples.push_back(Take("after the run"));
    return samples;
}

// The .jpg files the run wrote.
int WrittenPictures(const std::string& folder) {
    int count = 0;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*.jpg").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    do {
        count += found.nFileSizeLow > 0 || found.nFileSizeHigh > 0;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return count;
}

// ---- Previews --------------------------------------------------------------------------------

std::vector<Sample> PreviewAndSample(MainWindowHarness& main, int previews) {
    std::vector<Sample> samples;
    forms::Window& window = main.Form();
    forms::Control list = window["超级列表框1"];
    const HWND listView = list.Hwnd();
    const int rows = list.RowCount();
    for (int n = 1; n <= previews; ++n) {
        // Every press names another file than the one before, so each press loads a picture.
        const int row = (n - 1) % rows;
        SendMessageA(listView, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
        const std::string path = list.CellText(row, 1) + list.CellText(row, 0);
        testing_support::PressRow(listView, row);
        if (!testing_support::WaitFor([&] { return ThePreview().lastPath == path; }, 10000)) {
            std::fprintf(stderr, "preview %d of %s did not come\n", n, path.c_str());
            return {};
        }
        if (n == 50 || n == 100 || n == previews) {
            samples.push_back(Take("previewed " + std::to_string(n)));
        }
    }
    return samples;
}

// ---- The table -----------------------------------------------------------------------------

void PrintRow(const Sample& s) {
    std::printf("%-22s %12ld %12ld %14.1f\n", s.point.c_str(), s.gdiObjects, s.userObjects,
                s.privateMegabytes);
}

void PrintGrowth(const char* label, const Sample& from, const Sample& to) {
    std::printf("%-22s %+12ld %+12ld %+14.1f\n", label, to.gdiObjects - from.gdiObjects,
                to.userObjects - from.userObjects, to.privateMegabytes - from.privateMegabytes);
}

int Run(int pictures, int previews) {
    ScratchFolder program;
    ScratchFolder data;
    const std::string pictureFolder = data.Path() + "图片\\";
    const std::string outputFolder = data.Path() + "输出";
    CreateDirectoryA(pictureFolder.c_str(), nullptr);

    ConstructProgramObjects();
    std::vector<Sample> run, shown;
    {
        MainWindowHarness main(program.Path());
        if (!main.Created()) {
            std::fprintf(stderr, "the main window was not created\n");
            return 3;
        }
        std::printf("writing %d pictures\n", pictures);
        std::fflush(stdout);
        const std::vector<std::string> paths = MakePictures(pictureFolder, pictures);
        if (paths.empty()) return 4;
        testing_support::DropFiles(main.Main().Hwnd(), paths);
        if (main["超级列表框1"].RowCount() != pictures) {
            std::fprintf(stderr, "the drop listed %d of %d pictures\n",
                         main["超级列表框1"].RowCount(), pictures);
            return 5;
        }
        std::printf("converting\n");
        std::fflush(stdout);
        const DWORD start = GetTickCount();
        run = ConvertAndSample(main, paths, outputFolder);
        const DWORD converted = GetTickCount() - start;
        const forms::Control options = main["选择框_文字水印"];
        std::printf("converted in %.1f s: %d JPG files written, text watermark %s\npreviewing\n",
                    converted / 1000.0, WrittenPictures(outputFolder),
                    options.Checked() ? "on" : "off");
        std::fflush(stdout);
        shown = PreviewAndSample(main, previews);
    }
    TheProgram().previewCanvas.reset();

    if (run.size() < 3 || shown.size() < 2) {
        std::fprintf(stderr, "not every sample was taken\n");
        return 6;
    }
    std::printf("\n%-22s %12s %12s %14s\n", "point", "GDI objects", "USER objects", "private MB");
    for (const Sample& s : run) PrintRow(s);
    PrintGrowth(("growth 50 -> " + std::to_string(pictures)).c_str(), run.front(),
                run[run.size() - 2]);
    for (const Sample& s : shown) PrintRow(s);
    PrintGrowth(("growth 50 -> " + std::to_string(previews)).c_str(), shown.front(), shown.back());
    std::printf("(object counts from %s)\n", g_countsFromTables
                                                 ? "the process's GDI and USER handle tables: "
                                                   "GetGuiResources is not implemented here"
                                                 : "GetGuiResources");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    const int pictures = argc > 1 ? std::atoi(argv[1]) : 500;
    const int previews = argc > 2 ? std::atoi(argv[2]) : 200;
    if (pictures < 51 || previews < 51) {
        std::fprintf(stderr, "usage: long_run [pictures > 50] [previews > 50]\n");
        return 2;
    }
    forms::InitRuntime(GetModuleHandleA(nullptr));
    forms::SetModalSeam(&testing_support::Recorder());
    const int result = Run(pictures, previews);
    forms::SetModalSeam(nullptr);
    forms::ShutdownRuntime();
    return result;
}
