#include "tests/support/run_support.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "app/watermark_text_style.h"
#include "imaging/conversions.h"
#include "imaging/encoders.h"
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

void SavePicture(gdip::GpImage* picture, const std::string& path, int formatCode) {
    const WideText widePath = ToWideText(path);
    const CLSID encoder = EncoderClsid(formatCode);
    ASSERT_EQ(gdip::kOk,
              gdip::Table().GdipSaveImageToFile(picture, widePath.data(), &encoder, nullptr))
        << path;
}

void WriteSolidPicture(const std::string& path, int width, int height, std::uint32_t colour,
                       int formatCode) {
    GdipImage picture = imaging_test::SolidPicture(width, height, colour);
    SavePicture(picture.Handle(), path, formatCode);
}

DecodedSize PictureSizeOf(const std::string& path) {
    DecodedSize size;
    GdipImage picture = LoadPictureFile(path);
    if (picture) PictureSize(picture.Handle(), &size.width, &size.height);
    return size;
}

Decoded Decode(const std::string& path) {
    Decoded decoded;
    GdipImage picture = LoadPictureFile(path);
    if (!picture) {
        ADD_FAILURE() << "cannot decode " << path;
        return decoded;
    }
    decoded.pixels = imaging_test::Pixels(picture.Handle(), decoded.width, decoded.height);
    return decoded;
}

std::string ColourText(gdip::ARGB colour) {
    char text[16];
    wsprintfA(text, "%08X", colour);
    return text;
}

void ExpectColour(const Decoded& picture, int x, int y, gdip::ARGB expected, int tolerance) {
    const gdip::ARGB seen = picture.At(x, y);
    EXPECT_LE(imaging_test::ChannelDistance(seen, expected), tolerance)
        << "pixel (" << x << ", " << y << ") is " << ColourText(seen) << ", expected about "
        << ColourText(expected);
}

std::string Signature(const std::string& path) {
    const std::string start = imaging_test::FileStart(path, 4);
    if (start.rfind("\xFF\xD8", 0) == 0) return "JPEG";
    if (start == "\x89PNG") return "PNG";
    if (start.rfind("BM", 0) == 0) return "BMP";
    if (start.rfind("GIF8", 0) == 0) return "GIF";
    if (start == std::string("II*\0", 4) || start == std::string("MM\0*", 4)) return "TIFF";
    return "none";
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

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

std::vector<std::string> FilesUnder(const std::string& folder) {
    std::vector<std::string> files;
    CollectFiles(folder, "", files);
    std::sort(files.begin(), files.end());
    return files;
}

bool NotHeldOpen(const std::string& path) {
    const std::string moved = path + ".moved";
    if (!MoveFileA(path.c_str(), moved.c_str())) return false;
    return MoveFileA(moved.c_str(), path.c_str()) != FALSE;
}

HeldFile::HeldFile(const std::string& path)
    : handle_(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                          nullptr)) {}

void HeldFile::Release() {
    if (Held()) CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
}

RunWindowTest::LineWatch* RunWindowTest::watching_ = nullptr;

void RunWindowTest::SetUp() {
    TheWatermarkTextStyle() = WatermarkTextStyle();
    window_ = std::make_unique<MainWindowHarness>(program_.Path());
    ASSERT_TRUE(window_->Created());
}

void RunWindowTest::TearDown() {
    StopWatching();
    Recorder().onMessageBox = nullptr;
    window_.reset();
    data_.reset();
}

void RunWindowTest::Fresh() {
    StopWatching();
    Recorder().Reset();
    DeleteFileA(SettingsFileIn(program_).c_str());
    data_ = std::make_unique<ScratchFolder>();
    CreateDirectoryA(PicturesFolder().c_str(), nullptr);
    C("超级列表框1").DeleteAllRows();
    C("列表框1").ClearItems();
    for (const char* task :
         {"选择框_转换格式", "选择框_改变尺寸", "选择框_文字水印", "选择框_图片水印"}) {
        Check(task, false);
    }
    C("编辑框1").SetText(OutputFolder());
}

void RunWindowTest::AddPicture(const std::string& name, int width, int height, gdip::ARGB colour,
                               int formatCode) {
    WriteSolidPicture(Picture(name), width, height, colour, formatCode);
    AddRow(PicturesFolder(), name);
}

void RunWindowTest::Check(const char* name, bool on) {
    if (C(name).Checked() == on) return;
    if (Clickable(W(), name) && (on || C(name).Desc().kind == forms::ControlKind::CheckBox)) {
        Click(W(), name);
    } else {
        C(name).SetChecked(on);
    }
    ASSERT_EQ(on, C(name).Checked()) << name;
}

void RunWindowTest::Select(const char* combo, const std::string& item) {
    forms::Control control = C(combo);
    for (int i = 0; i < control.ItemCount(); ++i) {
        if (control.ItemText(i) == item) {
            control.SetSelected(i);
            return;
        }
    }
    ADD_FAILURE() << combo << " has no item " << item;
}

LRESULT CALLBACK RunWindowTest::WatchedLogProc(HWND hwnd, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
    LineWatch* watch = watching_;
    if (watch == nullptr) return DefWindowProcA(hwnd, message, wParam, lParam);
    if ((message == LB_ADDSTRING || message == LB_INSERTSTRING) && watch->action &&
        watch->line == reinterpret_cast<const char*>(lParam)) {
        // Taken out first, so that messages the action lets run cannot start it again.
        auto action = std::move(watch->action);
        watch->action = nullptr;
        action();
    }
    return CallWindowProcA(watch->previous, hwnd, message, wParam, lParam);
}

void RunWindowTest::WhenLogged(const std::string& line, std::function<void()> action) {
    logHwnd_ = C("列表框1").Hwnd();
    watch_.line = line;
    watch_.action = std::move(action);
    watching_ = &watch_;
    watch_.previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(logHwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WatchedLogProc)));
}

void RunWindowTest::StopWatching() {
    if (watch_.previous && IsWindow(logHwnd_)) {
        SetWindowLongPtrA(logHwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(watch_.previous));
    }
    watch_.previous = nullptr;
    watching_ = nullptr;
}

}  // namespace testing_support
