#include "tests/support/run_support.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "imaging/conversions.h"
#include "imaging/encoders.h"
#include "imaging/image_format.h"
#include "tests/imaging_test_support.h"
#include "tests/support/modal_recorder.h"

namespace testing_support {

namespace {

void CollectFiles(const std::string& root, const std::string& relative,
                  std::vector<std::string>& files) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((root + relative + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            CollectFiles(root, relative + name + "\\", files);
        } else {
            files.push_back(relative + name);
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

}  // namespace

void WriteSolidPicture(const std::string& path, int width, int height, std::uint32_t colour) {
    GdipImage picture = imaging_test::SolidPicture(width, height, colour);
    const WideText widePath = ToWideText(path);
    const CLSID encoder = EncoderClsid(kFormatPng);
    ASSERT_EQ(gdip::kOk, gdip::Table().GdipSaveImageToFile(picture.Handle(), widePath.data(),
                                                           &encoder, nullptr))
        << path;
}

DecodedSize PictureSizeOf(const std::string& path) {
    DecodedSize size;
    GdipImage picture = LoadPictureFile(path);
    if (picture) PictureSize(picture.Handle(), &size.width, &size.height);
    return size;
}

void AddPictureRow(forms::Window& window, const std::string& folder, const std::string& name) {
    forms::Control list = window["超级列表框1"];
    const int row = list.InsertRow(list.RowCount(), name, 0);
    list.SetCellText(row, 1, folder);
}

std::vector<std::string> LogLines(forms::Window& window) {
    forms::Control log = window["列表框1"];
    std::vector<std::string> lines;
    for (int i = 0; i < log.ItemCount(); ++i) lines.push_back(log.ItemText(i));
    return lines;
}

std::vector<std::string> RecordedMessageTexts() {
    std::vector<std::string> texts;
    for (const auto& box : Recorder().messageBoxes) texts.push_back(box.text);
    return texts;
}

std::vector<std::string> FilesUnder(const std::string& folder) {
    std::vector<std::string> files;
    CollectFiles(folder, "", files);
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace testing_support
