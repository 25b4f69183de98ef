// Helpers for tests that drive a whole batch run through the real main window: pictures on disk,
// rows of the picture list, the run's progress lines and message boxes, what a run left in a
// folder, the pixels and format of a picture written, and a fixture around the window.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "forms/runtime/form.h"
#include "imaging/gdiplus_api.h"
#include "imaging/image_format.h"
#include "tests/imaging_test_support.h"
#include "tests/support/main_window_harness.h"

namespace testing_support {

// Per channel, for scaled and JPEG-encoded pixels.
constexpr int kPixelTolerance = 24;

// Saves a bitmap to a file in the given format (an ImageFormatCode). GDI+ must be running.
void SavePicture(gdip::GpImage* picture, const std::string& path, int formatCode = kFormatPng);

// A picture of one colour (ARGB) in the given format. GDI+ must be running.
void WriteSolidPicture(const std::string& path, int width, int height, std::uint32_t colour,
                       int formatCode = kFormatPng);

// The size of the picture in a file, or 0 x 0 when it cannot be decoded.
struct DecodedSize {
    int width = 0;
    int height = 0;
};
DecodedSize PictureSizeOf(const std::string& path);

// The pixels of a picture file as the program decodes it, row by row, 32-bit ARGB.
struct Decoded {
    int width = 0;
    int height = 0;
    std::vector<gdip::ARGB> pixels;
    gdip::ARGB At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};
// Fails the test and gives an empty picture when the file cannot be decoded.
Decoded Decode(const std::string& path);

// A colour as eight hexadecimal digits, AARRGGBB.
std::string ColourText(gdip::ARGB colour);

// Expects the pixel within the tolerance of the colour, each channel, alpha included.
void ExpectColour(const Decoded& picture, int x, int y, gdip::ARGB expected,
                  int tolerance = kPixelTolerance);

// The format a file's first bytes show: "JPEG", "PNG", "BMP", "GIF", "TIFF" or "none".
std::string Signature(const std::string& path);

// A row of 超级列表框1 as the picture list makes it: the file name, then its folder ending in a
// backslash.
void AddPictureRow(forms::Window& window, const std::string& folder, const std::string& name);

// The lines of 列表框1 and the texts of the message boxes recorded so far.
std::vector<std::string> LogLines(forms::Window& window);
std::vector<std::string> RecordedMessageTexts();

// The names of the files directly in a folder (ending in a backslash), in the order found.
std::vector<std::string> FilesIn(const std::string& folder);

// Every file under a folder (ending in a backslash), as paths relative to it, sub-folders
// included, sorted.
std::vector<std::string> FilesUnder(const std::string& folder);

// Whether nothing holds the file open against a rename: it is renamed and renamed back.
bool NotHeldOpen(const std::string& path);

// Another program holds the file open and shares it with no one, until released.
class HeldFile {
  public:
    explicit HeldFile(const std::string& path);
    ~HeldFile() { Release(); }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;

    bool Held() const { return handle_ != INVALID_HANDLE_VALUE; }
    void Release();

  private:
    HANDLE handle_;
};

// The real main window on a settings folder of its own, with a data folder of pictures and
// outputs that each case makes anew. The cases' lambdas arrange the window through it.
class RunWindowTest : public imaging_test::GdiplusTest {
  public:
    void SetUp() override;
    void TearDown() override;

    // A new case in the same window: new folders, no settings file, no rows, no lines, the
    // tasks off, the output folder typed in, nothing recorded.
    virtual void Fresh();

    forms::Window& W() { return window_->Form(); }
    forms::Control C(const char* name) { return W()[name]; }

    std::string PicturesFolder() const { return data_->Path() + "图片\\"; }
    std::string OutputFolder() const { return data_->Path() + "输出\\"; }
    std::string Picture(const std::string& name) const { return PicturesFolder() + name; }
    std::string Output(const std::string& name) const { return OutputFolder() + name; }

    void AddRow(const std::string& folder, const std::string& name) {
        AddPictureRow(W(), folder, name);
    }
    // Writes a picture of one colour into the pictures folder and lists it.
    void AddPicture(const std::string& name, int width, int height, gdip::ARGB colour,
                    int formatCode = kFormatPng);

    // Sets a check box or radio button as the user does, with a click that runs the option
    // rules, where the control can be clicked; otherwise (a disabled or hidden control) directly.
    void Check(const char* name, bool on = true);
    void Select(const char* combo, const std::string& item);
    void Start() { Click(W(), "按钮_开始转换"); }

    std::vector<std::string> LogLines() { return testing_support::LogLines(W()); }

    // Runs `action` once, when the run logs `line`: the test's hand on the window while the run
    // is on the stack (the run handles pending messages right after logging a row's line).
    void WhenLogged(const std::string& line, std::function<void()> action);
    void StopWatching();

    ScratchFolder program_;                // the settings file's folder
    std::unique_ptr<ScratchFolder> data_;  // pictures and outputs, new for each case
    std::unique_ptr<MainWindowHarness> window_;

  private:
    struct LineWatch {
        std::string line;
        std::function<void()> action;
        WNDPROC previous = nullptr;
    };
    static LRESULT CALLBACK WatchedLogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LineWatch* watching_;

    LineWatch watch_;
    HWND logHwnd_ = nullptr;
};

}  // namespace testing_support
