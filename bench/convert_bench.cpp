// Times the batch run's own conversion (ConvertPictures, in the real main window, kept hidden)
// over every .jpg of a folder, for one of three jobs, and reports the time per picture and the
// process's peak memory:
//   convert_bench <job> <pictures folder> <output folder> [watermark picture]
//   job 1: resize to 50% and save as PNG
//   job 2: resize to width 1024 and save as JPG, with a text watermark with glow and shadow
//   job 3: keep the size and save as JPG, with a picture watermark
// One job per process, so that each peak belongs to its job alone.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/path_rules.h"
#include "app/shell_folders.h"
#include "app/watermark_text_style.h"
#include "convert/conversion_settings.h"
#include "convert/convert_pictures.h"
#include "forms/runtime/form.h"

namespace {

std::vector<std::string> PicturesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*.jpg").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

// The options of one job, as a run's snapshot would hold them.
bool SetUpJob(int job, const std::string& outputFolder, const std::string& watermarkPicture) {
    ConversionSettings settings;
    settings.outputFolder = outputFolder;
    settings.position = "右下";
    settings.opacity = 229;  // "90"
    switch (job) {
        case 1:
            settings.newExtension = "png";
            settings.byPercent = true;
            settings.scaleFactor = 0.5f;
            break;
        case 2: {
            settings.newExtension = "jpg";
            settings.bySize = true;
            settings.targetWidth = 1024;
            settings.doTextWatermark = true;
            settings.watermarkText = "Yuque Pictures 2024";
            WatermarkTextStyle& style = TheWatermarkTextStyle();
            style.size = 40;
            style.style = kStyleBold;
            style.textColour = 0xFFFFFF;
            style.glow = true;
            style.glowColour = 0x000000;
            style.shadow = true;
            style.shadowColour = 0x404040;
            break;
        }
        case 3:
            if (watermarkPicture.empty()) return false;
            settings.newExtension = "jpg";
            settings.doPictureWatermark = true;
            settings.watermarkText = watermarkPicture;
            break;
        default:
            return false;
    }
    TheConversionSettings() = settings;
    return true;
}

double Megabytes(SIZE_T bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

int Run(int job, std::string picturesFolder, std::string outputFolder,
        const std::string& watermarkPicture) {
    WithTrailingBackslash(picturesFolder);
    WithTrailingBackslash(outputFolder);
    CreateDirectoryA(outputFolder.c_str(), nullptr);
    const std::vector<std::string> names = PicturesIn(picturesFolder);
    if (names.empty()) {
        std::fprintf(stderr, "no .jpg pictures in %s\n", picturesFolder.c_str());
        return 2;
    }
    if (!forms::InitRuntime(GetModuleHandleA(nullptr))) return 3;
    // The window reads its settings from the program directory: give it an empty one.
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string settingsFolder = std::string(temp) + "tuconv-bench\\";
    CreateDirectoryA(settingsFolder.c_str(), nullptr);
    OverrideProgramDirectoryForTests(settingsFolder);

    int result = 0;
    {
        MainWindow main;
        if (!main.Create(false)) return 4;
        ShowWindow(main.Hwnd(), SW_HIDE);
        forms::ProcessPendingMessages();
        forms::Control list = main.Form()["超级列表框1"];
        for (const std::string& name : names) {
            const int row = list.InsertRow(list.RowCount(), name, 0);
            list.SetCellText(row, 1, picturesFolder);
        }
        if (!SetUpJob(job, outputFolder, watermarkPicture)) return 5;

        PROCESS_MEMORY_COUNTERS before{}, after{};
        before.cb = after.cb = sizeof before;
        GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before);
        LARGE_INTEGER frequency, start, end;
        QueryPerformanceFrequency(&frequency);
        QueryPerformanceCounter(&start);
        const ConversionOutcome outcome = ConvertPictures(main.Form());
        QueryPerformanceCounter(&end);
        GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after);

        const double milliseconds =
            1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart;
        std::printf(
            "job=%d pictures=%zu not_written=%d ms_per_picture=%.1f "
            "working_set_before_mb=%.1f peak_working_set_mb=%.1f peak_pagefile_mb=%.1f\n",
            job, names.size(), outcome.picturesNotWritten, milliseconds / names.size(),
            Megabytes(before.WorkingSetSize), Megabytes(after.PeakWorkingSetSize),
            Megabytes(after.PeakPagefileUsage));
        std::fflush(stdout);
        if (outcome.picturesNotWritten != 0) result = 1;
    }
    forms::ShutdownRuntime();
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr,
                     "usage: convert_bench <job 1|2|3> <pictures folder> <output folder> "
                     "[watermark picture]\n");
        return 2;
    }
    return Run(std::atoi(argv[1]), argv[2], argv[3], argc > 4 ? argv[4] : std::string());
}
