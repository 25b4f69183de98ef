// The font settings window in real windows: its controls, the creation sequence (face list,
// selections by prefix, the stored style, the preview text, the lists copied from the main
// window), the change events that render the preview, OK and cancel, the modal opening from the
// main window; and the preview rendering itself, pixel by pixel.
//
// Most tests open the window without a modal loop of its own (the same creation code) and click
// its controls; the modal tests act from a timer inside the window's loop.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/maker.h"
#include "app/program_state.h"
#include "app/settings_file.h"
#include "app/watermark_text_style.h"
#include "convert/conversion_settings.h"
#include "fontwindow/font_preview.h"
#include "fontwindow/font_settings_rules.h"
#include "fontwindow/font_settings_window.h"
#include "fontwindow/preview_rules.h"
#include "imaging/canvas.h"
#include "imaging/gdi_text.h"
#include "imaging_test_support.h"
#include "tests/support/main_window_harness.h"
#include "tests/support/modal_recorder.h"

using testing_support::Click;
using testing_support::MainWindowHarness;
using testing_support::ScratchFolder;

namespace {

// ---------------------------------------------------------------------------------------------
// Helpers

struct KeyValue {
    const char* key;
    const char* value;
};

// A settings file's bytes with a section of the given keys.
std::string Section(const char* name, std::initializer_list<KeyValue> entries) {
    std::string bytes = std::string("[") + name + "]\r\n";
    for (const KeyValue& entry : entries)
        bytes += std::string(entry.key) + "=" + entry.value + "\r\n";
    return bytes;
}

// The keys of one section of a settings file, in the order they stand.
std::vector<std::string> KeysOfSection(const std::string& fileBytes, const std::string& section) {
    std::vector<std::string> keys;
    std::istringstream lines(fileBytes);
    std::string line;
    bool inside = false;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line.front() == '[') {
            inside = line == "[" + section + "]";
            continue;
        }
        std::size_t equals = line.find('=');
        if (inside && equals != std::string::npos) keys.push_back(line.substr(0, equals));
    }
    return keys;
}

// Lets messages run until `done` holds or the deadline passes.
bool WaitFor(const std::function<bool()>& done, DWORD milliseconds = 5000) {
    ULONGLONG deadline = GetTickCount64() + milliseconds;
    for (;;) {
        forms::ProcessPendingMessages();
        if (done()) return true;
        if (GetTickCount64() > deadline) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// Picks an item of a drop-down list as the user does: the selection changes, then the list
// tells its parent.
void Choose(forms::Control list, int index) {
    ASSERT_TRUE(IsWindowVisible(list.Hwnd()) && IsWindowEnabled(list.Hwnd()));
    list.SetSelected(index);
    HWND hwnd = list.Hwnd();
    SendMessageA(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(hwnd));
    forms::ProcessPendingMessages();
}

std::vector<std::string> Items(forms::Control list) {
    std::vector<std::string> items;
    for (int i = 0; i < list.ItemCount(); ++i) items.push_back(list.ItemText(i));
    return items;
}

std::string SelectedItem(forms::Control list) { return list.ItemText(list.Selected()); }

// Every typeface the system reports, one name per report.
std::vector<std::string> InstalledFaces() {
    std::vector<std::string> faces;
    HDC screen = GetDC(nullptr);
    EnumFontsA(
        screen, nullptr,
        [](const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM data) -> int {
            reinterpret_cast<std::vector<std::string>*>(data)->push_back(font->lfFaceName);
            return 1;
        },
        reinterpret_cast<LPARAM>(&faces));
    ReleaseDC(nullptr, screen);
    return faces;
}

bool SameStyle(const WatermarkTextStyle& a, const WatermarkTextStyle& b) {
    return a.face == b.face && a.size == b.size && a.textColour == b.textColour &&
           a.style == b.style && a.strikeout == b.strikeout && a.underline == b.underline &&
           a.glow == b.glow && a.shadow == b.shadow && a.glowColour == b.glowColour &&
           a.shadowColour == b.shadowColour;
}

// ---------------------------------------------------------------------------------------------
// Pictures

struct Picture {
    int width = 0, height = 0;
    std::vector<gdip::ARGB> pixels;
    gdip::ARGB At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

Picture Decode(const std::vector<std::uint8_t>& bytes) {
    Picture picture;
    Canvas canvas;
    if (!canvas.LoadBytes(bytes)) {
        ADD_FAILURE() << "the bytes are no picture";
        return picture;
    }
    picture.pixels = imaging_test::Pixels(canvas.Image(), picture.width, picture.height);
    return picture;
}

std::vector<std::uint8_t> SolidBackground(COLORREF colour) {
    Canvas canvas;
    EXPECT_TRUE(canvas.CreateBlank(kFontPreviewWidth, kFontPreviewHeight, colour));
    return canvas.SaveToBytes();
}

// Pixels where `picture` differs from `base` by more than a trace: the text and its effects.
struct Box {
    int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;  // inclusive
    bool Empty() const { return right < left; }
};

Box InkBox(const Picture& picture, const Picture& base) {
    Box box;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            if (imaging_test::ChannelDistance(picture.At(x, y), base.At(x, y)) <= 24) continue;
            box.left = std::min(box.left, x);
            box.top = std::min(box.top, y);
            box.right = std::max(box.right, x);
            box.bottom = std::max(box.bottom, y);
        }
    }
    return box;
}

// Compares two pictures of one size pixel by pixel; reports how many differ and the first.
::testing::AssertionResult PicturesMatch(const Picture& expected, const Picture& actual,
                                         int tolerance) {
    if (expected.width != actual.width || expected.height != actual.height) {
        return ::testing::AssertionFailure()
               << "sizes differ: " << expected.width << "x" << expected.height << " and "
               << actual.width << "x" << actual.height;
    }
    int mismatches = 0;
    std::ostringstream first;
    for (int y = 0; y < expected.height; ++y) {
        for (int x = 0; x < expected.width; ++x) {
            gdip::ARGB want = expected.At(x, y), got = actual.At(x, y);
            if (imaging_test::ChannelDistance(want, got) <= tolerance) continue;
            if (mismatches++ == 0) {
                first << "first at (" << x << ", " << y << "): expected 0x" << std::hex << want
                      << ", got 0x" << got;
            }
        }
    }
    if (mismatches == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << mismatches << " pixels differ; " << first.str();
}

// What a window shows in its client area, read from the screen.
Picture ScreenPicture(HWND hwnd) {
    RedrawWindow(hwnd, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    RECT client{};
    GetClientRect(hwnd, &client);
    Picture picture;
    picture.width = client.right;
    picture.height = client.bottom;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC window = GetDC(hwnd);
    HDC memory = CreateCompatibleDC(window);
    HBITMAP bitmap = CreateDIBSection(window, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, picture.width, picture.height, window, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* pixels = static_cast<const gdip::ARGB*>(bits);
    picture.pixels.assign(pixels,
                          pixels + static_cast<std::size_t>(picture.width) * picture.height);
    for (gdip::ARGB& p : picture.pixels) p |= 0xFF000000;
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(hwnd, window);
    return picture;
}

// ---------------------------------------------------------------------------------------------
// The window, opened over a main window made with a settings file of the test's own.

class FontWindowTest : public testing::Test {
  protected:
    void SetUp() override { testing_support::Recorder().Reset(); }

    MainWindowHarness& OpenMain(const std::string& settingsBytes = std::string()) {
        if (!settingsBytes.empty()) testing_support::WriteFileBytes(SettingsPath(), settingsBytes);
        main_ = std::make_unique<MainWindowHarness>(folder_.Path());
        EXPECT_TRUE(main_->Created());
        return *main_;
    }

    FontSettingsWindow& OpenFontWindow() {
        font_ = std::make_unique<FontSettingsWindow>(main_->Form());
        EXPECT_TRUE(font_->Create());
        forms::ProcessPendingMessages();
        return *font_;
    }

    // The main window from these settings, and the font window over it.
    FontSettingsWindow& Open(const std::string& settingsBytes = std::string()) {
        OpenMain(settingsBytes);
        return OpenFontWindow();
    }

    forms::Control operator()(const char* name) { return font_->Form()[name]; }
    void ClickFont(const char* name) { Click(font_->Form(), name); }
    void PickColour(const char* picker, COLORREF colour) {
        testing_support::Recorder().colourAnswers.push_back(colour);
        ClickFont(picker);
    }

    std::string SettingsPath() const { return testing_support::SettingsFileIn(folder_); }
    std::string SettingsBytes() const { return testing_support::ReadFileBytes(SettingsPath()); }
    std::string Stored(const char* key) const {
        return ReadSetting(SettingsPath(), kFontSection, key, "(missing)");
    }

    void TearDown() override {
        font_.reset();
        main_.reset();
    }

    ScratchFolder folder_;
    std::unique_ptr<MainWindowHarness> main_;
    std::unique_ptr<FontSettingsWindow> font_;
};

// ---------------------------------------------------------------------------------------------
// The window and its controls

TEST_F(FontWindowTest, IsACaptionedWindowOf385By424OwnedByTheMainWindow) {
    FontSettingsWindow& w = Open();
    HWND hwnd = w.Form().Hwnd();
    ASSERT_TRUE(IsWindowVisible(hwnd));
    char caption[32] = {};
    GetWindowTextA(hwnd, caption, sizeof caption);
    EXPECT_STREQ("字体设置", caption);
    RECT outer{};
    GetWindowRect(hwnd, &outer);
    EXPECT_EQ(385, outer.right - outer.left);
    EXPECT_EQ(424, outer.bottom - outer.top);
    EXPECT_NE(0, GetWindowLongA(hwnd, GWL_STYLE) & WS_CAPTION) << "a title bar";
    EXPECT_EQ(main_->Main().Hwnd(), GetWindow(hwnd, GW_OWNER));
}

struct Placement {
    const char* name;
    const char* container;  // null: the window
    int x, y, width, height;
    const char* text;  // null: not checked
};

// Combo boxes are checked for their place and width: a drop-down list sizes its own height.
const Placement kPlacements[] = {
    {"标签1", nullptr, 8, 15, 64, 137,
     "字体名称：\r\n\r\n字体大小：\r\n\r\n文字颜色：\r\n\r\n字体字型：\r\n\r\n字体效果：\r\n\r\n"
     "光晕颜色："},
    {"组合框1", nullptr, 72, 10, 112, 0, nullptr},
    {"组合框2", nullptr, 72, 34, 112, 0, nullptr},
    {"颜色选择器1", nullptr, 72, 58, 112, 20, nullptr},
    {"单选框1", nullptr, 72, 83, 64, 20, "常规"},
    {"单选框2", nullptr, 134, 83, 64, 20, "粗体"},
    {"单选框3", nullptr, 196, 83, 64, 20, "斜体"},
    {"单选框4", nullptr, 256, 83, 64, 20, "粗斜体"},
    {"选择框1", nullptr, 72, 108, 64, 20, "删除线"},
    {"选择框2", nullptr, 134, 108, 64, 20, "下划线"},
    {"选择框3", nullptr, 196, 108, 64, 20, "光晕字"},
    {"选择框4", nullptr, 256, 108, 64, 20, "阴影字"},
    {"颜色选择器2", nullptr, 72, 132, 112, 20, nullptr},
    {"标签2", nullptr, 192, 132, 56, 20, "阴影颜色："},
    {"颜色选择器3", nullptr, 255, 132, 112, 20, nullptr},
    {"标签3", nullptr, 192, 15, 72, 40, "水印位置：\r\n\r\n水印透明："},
    {"组合框3", nullptr, 255, 10, 112, 0, nullptr},
    {"组合框4", nullptr, 255, 34, 112, 0, nullptr},
    {"分组框1", nullptr, 8, 157, 360, 190, "预览"},
    {"图片框1", "分组框1", 10, 20, 340, 160, nullptr},
    {"按钮1", nullptr, 216, 352, 70, 24, "确定(&E)"},
    {"按钮2", nullptr, 298, 352, 70, 24, "取消(&C)"},
};

TEST_F(FontWindowTest, EveryControlStandsAtItsPlaceWithItsTexts) {
    FontSettingsWindow& w = Open();
    for (const Placement& p : kPlacements) {
        SCOPED_TRACE(p.name);
        forms::Control control = w.Form()[p.name];
        HWND hwnd = control.Hwnd();
        ASSERT_NE(nullptr, hwnd);
        HWND expectedParent = p.container ? w.Form()[p.container].Hwnd() : w.Form().Hwnd();
        EXPECT_EQ(expectedParent, GetParent(hwnd));
        RECT place{};
        GetWindowRect(hwnd, &place);
        MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&place), 2);
        EXPECT_EQ(p.x, place.left);
        EXPECT_EQ(p.y, place.top);
        EXPECT_EQ(p.width, place.right - place.left);
        if (p.height > 0) {
            EXPECT_EQ(p.height, place.bottom - place.top);
        }
        EXPECT_TRUE(IsWindowVisible(hwnd));
        if (p.text) {
            EXPECT_EQ(p.text, control.Text());
        }
    }
}

TEST_F(FontWindowTest, ListsAreDropDownListsAndOnlyTheFaceListIsSorted) {
    FontSettingsWindow& w = Open();
    for (const char* name : {"组合框1", "组合框2", "组合框3", "组合框4"}) {
        SCOPED_TRACE(name);
        LONG style = GetWindowLongA(w.Form()[name].Hwnd(), GWL_STYLE);
        EXPECT_EQ(CBS_DROPDOWNLIST, style & 3) << "pick, never type";
        EXPECT_EQ(std::string(name) == "组合框1", (style & CBS_SORT) != 0);
    }
    const std::vector<std::string> sizes = {"6",  "7",  "8",  "9",  "10", "12", "14", "16",
                                            "18", "20", "24", "26", "28", "30", "34", "36",
                                            "40", "48", "52", "60", "70", "80"};
    EXPECT_EQ(sizes, Items(w.Form()["组合框2"]));
}

TEST_F(FontWindowTest, StyleButtonsAreOneGroupOfWhichOneIsChecked) {
    Open();
    const char* buttons[] = {"单选框1", "单选框2", "单选框3", "单选框4"};
    for (const char* clicked : {"单选框3", "单选框1", "单选框4", "单选框2"}) {
        SCOPED_TRACE(clicked);
        ClickFont(clicked);
        for (const char* button : buttons) {
            EXPECT_EQ(std::string(button) == clicked, (*this)(button).Checked()) << button;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Creation

TEST_F(FontWindowTest, FaceListHoldsEveryInstalledTypefaceInSortedOrder) {
    FontSettingsWindow& w = Open();
    std::vector<std::string> listed = Items(w.Form()["组合框1"]);
    std::vector<std::string> installed = InstalledFaces();
    ASSERT_FALSE(installed.empty());
    for (std::size_t i = 1; i < listed.size(); ++i) {
        EXPECT_LE(lstrcmpiA(listed[i - 1].c_str(), listed[i].c_str()), 0)
            << listed[i - 1] << " before " << listed[i];
    }
    std::sort(listed.begin(), listed.end());
    std::sort(installed.begin(), installed.end());
    EXPECT_EQ(installed, listed) << "every face, none filtered out";
}

// The first listed face whose name begins with an ASCII letter (every system has one).
std::string FirstLatinFace() {
    std::vector<std::string> faces = InstalledFaces();
    std::sort(faces.begin(), faces.end());
    for (const std::string& face : faces) {
        if (face.size() >= 4 && isalpha(static_cast<unsigned char>(face[0])) &&
            isalpha(static_cast<unsigned char>(face[1])) &&
            isalpha(static_cast<unsigned char>(face[2])))
            return face;
    }
    return std::string();
}

TEST_F(FontWindowTest, StoredFaceAndSizeAreSelectedByPrefix) {
    const std::string latin = FirstLatinFace();
    ASSERT_FALSE(latin.empty());
    std::string latinPrefix = latin.substr(0, 3);
    for (char& c : latinPrefix) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));

    struct Case {
        const char* name;
        std::string face, size;
        bool faceSelected;
        std::string sizeItem;
    } cases[] = {
        {"an installed face and a listed size", "宋体", "8", true, "8"},
        {"a lower-case prefix of a face; 15 is no item's beginning", latinPrefix, "15", true, "12"},
        {"a face not installed", "没有这种字体", "80", false, "80"},
        {"the largest and smallest sizes", "宋体", "6", true, "6"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Open(Section("字体设置", {{"字体名称", c.face.c_str()}, {"字体大小", c.size.c_str()}}));
        forms::Control faces = (*this)("组合框1"), sizes = (*this)("组合框2");
        if (c.faceSelected) {
            ASSERT_GE(faces.Selected(), 0);
            const std::string chosen = SelectedItem(faces);
            EXPECT_EQ(0, _strnicmp(chosen.c_str(), c.face.c_str(), c.face.size())) << chosen;
            for (int i = 0; i < faces.Selected(); ++i) {
                EXPECT_NE(0, _strnicmp(faces.ItemText(i).c_str(), c.face.c_str(), c.face.size()))
                    << "an earlier item " << faces.ItemText(i) << " begins with it";
            }
        } else {
            EXPECT_EQ(-1, faces.Selected());
        }
        EXPECT_EQ(c.sizeItem, SelectedItem(sizes));
        TearDown();
    }
}

TEST_F(FontWindowTest, StoredColoursStyleAndEffectsAreShown) {
    struct Case {
        const char* name;
        std::string settings;
        COLORREF text, glow, shadow;
        const char* checkedStyle;
        bool strikeout, underline, glowOn, shadowOn;
    } cases[] = {
        {"no settings file: the defaults", "", 0, 0xFFFFFF, 0, "单选框2", false, false, true,
         false},
        {"bold italic with strikeout and shadow",
         Section("字体设置", {{"文字颜色", "255"},
                              {"字体字型", "4"},
                              {"删除线", "真"},
                              {"下划线", "假"},
                              {"光晕字", "假"},
                              {"阴影字", "真"},
                              {"光晕颜色", "65280"},
                              {"阴影颜色", "16711680"}}),
         255, 65280, 16711680, "单选框4", true, false, false, true},
        {"regular with underline", Section("字体设置", {{"字体字型", "1"}, {"下划线", "真"}}), 0,
         0xFFFFFF, 0, "单选框1", false, true, true, false},
        {"italic", Section("字体设置", {{"字体字型", "3"}}), 0, 0xFFFFFF, 0, "单选框3", false,
         false, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Open(c.settings);
        EXPECT_EQ(c.text, (*this)("颜色选择器1").Colour());
        EXPECT_EQ(c.glow, (*this)("颜色选择器2").Colour());
        EXPECT_EQ(c.shadow, (*this)("颜色选择器3").Colour());
        for (const char* button : {"单选框1", "单选框2", "单选框3", "单选框4"}) {
            EXPECT_EQ(std::string(button) == c.checkedStyle, (*this)(button).Checked()) << button;
        }
        EXPECT_EQ(c.strikeout, (*this)("选择框1").Checked());
        EXPECT_EQ(c.underline, (*this)("选择框2").Checked());
        EXPECT_EQ(c.glowOn, (*this)("选择框3").Checked());
        EXPECT_EQ(c.shadowOn, (*this)("选择框4").Checked());
        TearDown();
    }
}

TEST_F(FontWindowTest, PreviewTextComesFromTheWatermarkTextOrThePreset) {
    const std::string preset = std::string("榆雀网络") + "\r\n" + kMakerWebHost;
    struct Case {
        const char* name;
        const char* typed;
        std::string previewed;
    } cases[] = {
        {"empty: the preset on two lines", "", preset},
        {"ASCII spaces only", "   ", preset},
        {"a full-width space only", "　", preset},
        {"A, backslash, n, B: two lines", "A\\nB", "A\r\nB"},
        {"a text kept untrimmed", " 水印 ", " 水印 "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OpenMain();
        main_->Form()["编辑框_水印文字"].SetText(c.typed);
        FontSettingsWindow& w = OpenFontWindow();
        EXPECT_EQ(c.previewed, w.PreviewText());
        EXPECT_EQ(c.previewed, w.PreviewRequest().text) << "the text the preview draws";
        TearDown();
    }
    EXPECT_NE(std::string::npos, std::string(kMakerWebHost).find(".example.com"))
        << "the maker's address is a placeholder of the reserved domain";
}

TEST_F(FontWindowTest, TwoLinePreviewTextMeasuresTwoLinesHigh) {
    OpenMain();
    main_->Form()["编辑框_水印文字"].SetText("A\\nB");
    FontSettingsWindow& w = OpenFontWindow();
    FontPreviewRequest twoLines = w.PreviewRequest();
    FontPreviewRequest oneLine = twoLines;
    oneLine.text = "A";
    FontPreviewLayout two = LayOutFontPreview(twoLines), one = LayOutFontPreview(oneLine);
    ASSERT_GT(one.textHeight, 0);
    EXPECT_EQ(2 * one.textHeight, two.textHeight);
}

TEST_F(FontWindowTest, PositionAndTransparencyListsAreCopiedFromTheMainWindow) {
    OpenMain();
    main_->Form()["组合框_水印位置"].SetSelected(3);
    main_->Form()["组合框_水印透明"].SetSelected(2);
    OpenFontWindow();
    EXPECT_EQ(Items(main_->Form()["组合框_水印位置"]), Items((*this)("组合框3")));
    EXPECT_EQ(Items(main_->Form()["组合框_水印透明"]), Items((*this)("组合框4")));
    EXPECT_EQ(3, (*this)("组合框3").Selected());
    EXPECT_EQ(2, (*this)("组合框4").Selected());
    EXPECT_EQ("左上", SelectedItem((*this)("组合框3")));
    EXPECT_EQ("80", SelectedItem((*this)("组合框4")));
}

// ---------------------------------------------------------------------------------------------
// Change events: every control renders the preview again

TEST_F(FontWindowTest, EveryChangeRendersThePreviewAgain) {
    Open();
    struct Case {
        const char* name;
        std::function<void()> change;
    } cases[] = {
        {"组合框1", [&] { Choose((*this)("组合框1"), 0); }},
        {"组合框2", [&] { Choose((*this)("组合框2"), 17); }},
        {"组合框3", [&] { Choose((*this)("组合框3"), 0); }},
        {"组合框4", [&] { Choose((*this)("组合框4"), 3); }},
        {"单选框1", [&] { ClickFont("单选框1"); }},
        {"单选框2", [&] { ClickFont("单选框2"); }},
        {"单选框3", [&] { ClickFont("单选框3"); }},
        {"单选框4", [&] { ClickFont("单选框4"); }},
        {"选择框1", [&] { ClickFont("选择框1"); }},
        {"选择框2", [&] { ClickFont("选择框2"); }},
        {"选择框3", [&] { ClickFont("选择框3"); }},
        {"选择框4", [&] { ClickFont("选择框4"); }},
        {"颜色选择器1", [&] { PickColour("颜色选择器1", RGB(10, 20, 30)); }},
        {"颜色选择器2", [&] { PickColour("颜色选择器2", RGB(40, 50, 60)); }},
        {"颜色选择器3", [&] { PickColour("颜色选择器3", RGB(70, 80, 90)); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // The rendering writes the run's position and opacity: a witness that it ran.
        TheConversionSettings().position = "none";
        TheConversionSettings().opacity = -1;
        c.change();
        EXPECT_EQ(SelectedItem((*this)("组合框3")), TheConversionSettings().position);
        EXPECT_EQ(OpacityFromItemText(SelectedItem((*this)("组合框4"))),
                  TheConversionSettings().opacity);
    }
    EXPECT_EQ("顶边", TheConversionSettings().position);
    EXPECT_EQ(178, TheConversionSettings().opacity) << "transparency 70";
}

TEST_F(FontWindowTest, ThePictureBoxShowsThePreviewOfTheControlsAsTheyStand) {
    FontSettingsWindow& w = Open(Section("字体设置", {{"字体大小", "48"}, {"光晕字", "假"}}));
    HWND box = w.Form()["图片框1"].Hwnd();
    auto rendering = [&] {
        FontPreviewRequest request = w.PreviewRequest();
        return Decode(
            DrawFontPreview(request, LayOutFontPreview(request), FontPreviewBackground()));
    };
    Picture before = rendering();
    Picture shown;
    EXPECT_TRUE(WaitFor([&] {
        shown = ScreenPicture(box);
        return PicturesMatch(before, shown, 8);
    })) << PicturesMatch(before, shown, 8).message();

    PickColour("颜色选择器1", RGB(255, 0, 0));
    Picture after = rendering();
    EXPECT_FALSE(PicturesMatch(before, after, 8)) << "a red text changes the preview";
    EXPECT_TRUE(WaitFor([&] {
        shown = ScreenPicture(box);
        return PicturesMatch(after, shown, 8);
    })) << PicturesMatch(after, shown, 8).message();
}

// ---------------------------------------------------------------------------------------------
// OK

const char* const kFontKeys[] = {"字体名称", "字体大小", "文字颜色", "字体字型", "删除线",
                                 "下划线",   "光晕字",   "阴影字",   "光晕颜色", "阴影颜色"};

TEST_F(FontWindowTest, OkWithBoldItalicStoresFourAndWritesTheTenKeysInTheirOrder) {
    // A settings file without the font section: OK makes it, key by key.
    Open(Section("转换设置", {{"宽度", "640"}}));
    ClickFont("单选框4");
    ClickFont("按钮1");
    EXPECT_FALSE(font_->Form().Exists()) << "OK closes the window";
    EXPECT_EQ(4, TheWatermarkTextStyle().style);
    EXPECT_EQ("4", Stored("字体字型"));
    EXPECT_EQ(std::vector<std::string>(std::begin(kFontKeys), std::end(kFontKeys)),
              KeysOfSection(SettingsBytes(), "字体设置"));
    EXPECT_EQ("640", ReadSetting(SettingsPath(), kConversionSection, "宽度", ""))
        << "the other section stays";
    // What stood in the controls, unchanged: the defaults.
    EXPECT_EQ("宋体", Stored("字体名称"));
    EXPECT_EQ("30", Stored("字体大小"));
    EXPECT_EQ("0", Stored("文字颜色"));
    EXPECT_EQ("真", Stored("光晕字"));
    EXPECT_EQ("16777215", Stored("光晕颜色"));
    EXPECT_EQ("0", Stored("阴影颜色"));
}

TEST_F(FontWindowTest, OkWithOnlyTheShadowStoresItsFlags) {
    Open(Section("字体设置", {{"删除线", "真"}, {"下划线", "真"}, {"光晕字", "真"}}));
    ClickFont("选择框1");
    ClickFont("选择框2");
    ClickFont("选择框3");
    ClickFont("选择框4");
    ClickFont("按钮1");
    EXPECT_EQ("假", Stored("删除线"));
    EXPECT_EQ("假", Stored("下划线"));
    EXPECT_EQ("假", Stored("光晕字"));
    EXPECT_EQ("真", Stored("阴影字"));
    const WatermarkTextStyle& style = TheWatermarkTextStyle();
    EXPECT_FALSE(style.strikeout);
    EXPECT_FALSE(style.underline);
    EXPECT_FALSE(style.glow);
    EXPECT_TRUE(style.shadow);
}

TEST_F(FontWindowTest, OkStoresEveryControlAndSetsTheMainWindowsListsAndFontDisplay) {
    FontSettingsWindow& w = Open();
    forms::Control faces = w.Form()["组合框1"];
    const int faceIndex = faces.ItemCount() - 1;
    const std::string face = faces.ItemText(faceIndex);
    Choose(faces, faceIndex);
    Choose(w.Form()["组合框2"], 17);  // "48"
    Choose(w.Form()["组合框3"], 0);   // "顶边"
    Choose(w.Form()["组合框4"], 3);   // "70"
    ClickFont("单选框3");
    PickColour("颜色选择器1", RGB(1, 2, 3));
    PickColour("颜色选择器2", RGB(4, 5, 6));
    PickColour("颜色选择器3", RGB(7, 8, 9));
    ClickFont("按钮1");

    EXPECT_EQ(0, main_->Form()["组合框_水印位置"].Selected());
    EXPECT_EQ(3, main_->Form()["组合框_水印透明"].Selected());
    EXPECT_EQ(face + "(48)", main_->Form()["编辑框5"].Text());

    const WatermarkTextStyle& style = TheWatermarkTextStyle();
    EXPECT_EQ(face, style.face);
    EXPECT_EQ(48, style.size);
    EXPECT_EQ(3, style.style);
    EXPECT_EQ(RGB(1, 2, 3), style.textColour);
    EXPECT_EQ(RGB(4, 5, 6), style.glowColour);
    EXPECT_EQ(RGB(7, 8, 9), style.shadowColour);
    EXPECT_EQ(face, Stored("字体名称"));
    EXPECT_EQ("48", Stored("字体大小"));
    EXPECT_EQ("3", Stored("字体字型"));
    EXPECT_EQ(std::to_string(RGB(1, 2, 3)), Stored("文字颜色"));
    EXPECT_EQ(std::to_string(RGB(4, 5, 6)), Stored("光晕颜色"));
    EXPECT_EQ(std::to_string(RGB(7, 8, 9)), Stored("阴影颜色"));
}

TEST_F(FontWindowTest, AFaceNotInstalledLeavesNoSelectionAndOkStoresAnEmptyFace) {
    Open(Section("字体设置", {{"字体名称", "没有这种字体"}, {"字体大小", "15"}}));
    EXPECT_EQ(-1, (*this)("组合框1").Selected());
    ClickFont("按钮1");
    EXPECT_EQ("", Stored("字体名称"));
    EXPECT_EQ("12", Stored("字体大小")) << "a size not listed shows and stores as 12";
    EXPECT_EQ("", TheWatermarkTextStyle().face);
    EXPECT_EQ("(12)", main_->Form()["编辑框5"].Text());
}

// ---------------------------------------------------------------------------------------------
// Cancel

TEST_F(FontWindowTest, CancelAfterChangingEveryControlChangesNothing) {
    const std::string settings = Section("字体设置", {{"字体名称", "宋体"},
                                                      {"字体大小", "20"},
                                                      {"文字颜色", "255"},
                                                      {"字体字型", "2"},
                                                      {"删除线", "假"},
                                                      {"下划线", "假"},
                                                      {"光晕字", "真"},
                                                      {"阴影字", "假"},
                                                      {"光晕颜色", "16777215"},
                                                      {"阴影颜色", "0"}}) +
                                 Section("转换设置", {{"水印位置", "居中"}, {"水印透明", "50"}});
    struct Case {
        const char* name;
        std::function<void()> close;
    } cases[] = {
        {"the cancel button", [&] { ClickFont("按钮2"); }},
        {"the title bar's close button",
         [&] {
             SendMessageA(font_->Form().Hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
             forms::ProcessPendingMessages();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FontSettingsWindow& w = Open(settings);
        const WatermarkTextStyle before = TheWatermarkTextStyle();
        const std::string display = main_->Form()["编辑框5"].Text();
        const int position = main_->Form()["组合框_水印位置"].Selected();
        const int transparency = main_->Form()["组合框_水印透明"].Selected();

        Choose(w.Form()["组合框1"], 0);
        Choose(w.Form()["组合框2"], 0);
        Choose(w.Form()["组合框3"], 6);  // "右下"
        Choose(w.Form()["组合框4"], 3);  // "70"
        ClickFont("单选框4");
        for (const char* box : {"选择框1", "选择框2", "选择框3", "选择框4"}) ClickFont(box);
        PickColour("颜色选择器1", RGB(9, 9, 9));
        PickColour("颜色选择器2", RGB(8, 8, 8));
        PickColour("颜色选择器3", RGB(7, 7, 7));
        c.close();

        EXPECT_FALSE(w.Form().Exists());
        EXPECT_EQ(settings, SettingsBytes()) << "the settings file is untouched";
        EXPECT_TRUE(SameStyle(before, TheWatermarkTextStyle()));
        EXPECT_EQ(display, main_->Form()["编辑框5"].Text());
        EXPECT_EQ(position, main_->Form()["组合框_水印位置"].Selected());
        EXPECT_EQ(transparency, main_->Form()["组合框_水印透明"].Selected());
        // The last preview's values stay in the run's fields until a run replaces them.
        EXPECT_EQ("右下", TheConversionSettings().position);
        EXPECT_EQ(178, TheConversionSettings().opacity);
        TearDown();
    }
}

// ---------------------------------------------------------------------------------------------
// Opened modally by the main window's font button

struct ModalVisit {
    HWND main = nullptr;
    std::function<void(HWND fontWindow)> act;  // runs once, inside the window's modal loop
    bool ownerWasDisabled = false;
    bool ownedByMain = false;
    bool acted = false;
    int ticks = 0;
};
ModalVisit* g_visit = nullptr;

void CALLBACK VisitFontWindow(HWND, UINT, UINT_PTR timer, DWORD) {
    if (g_visit == nullptr || g_visit->acted) return;
    HWND font = FindWindowA(nullptr, "字体设置");
    if (font == nullptr || !IsWindowVisible(font)) {
        // A window that never comes lets the click return on its own; give up in time.
        if (++g_visit->ticks > 200) g_visit->acted = true;
        return;
    }
    g_visit->acted = true;
    g_visit->ownerWasDisabled = !IsWindowEnabled(g_visit->main);
    g_visit->ownedByMain = GetWindow(font, GW_OWNER) == g_visit->main;
    g_visit->act(font);
    // Should the action leave the window open, close it so the test cannot hang.
    if (IsWindow(font)) PostMessageA(font, WM_CLOSE, 0, 0);
}

HWND ChildWithText(HWND parent, const char* text) {
    return FindWindowExA(parent, nullptr, "BUTTON", text);
}

TEST_F(FontWindowTest, TheFontButtonOpensTheWindowModallyAndOkStores) {
    OpenMain();
    ModalVisit visit;
    visit.main = main_->Main().Hwnd();
    visit.act = [](HWND font) {
        SendMessageA(ChildWithText(font, "粗斜体"), BM_CLICK, 0, 0);
        SendMessageA(ChildWithText(font, "确定(&E)"), BM_CLICK, 0, 0);
    };
    g_visit = &visit;
    UINT_PTR timer = SetTimer(nullptr, 0, 20, &VisitFontWindow);
    Click(main_->Form(), "按钮_字体设置");  // returns once the window has closed
    KillTimer(nullptr, timer);
    g_visit = nullptr;

    EXPECT_TRUE(visit.acted);
    EXPECT_TRUE(visit.ownerWasDisabled) << "the main window takes no input meanwhile";
    EXPECT_TRUE(visit.ownedByMain);
    EXPECT_EQ(nullptr, FindWindowA(nullptr, "字体设置")) << "closed by OK";
    EXPECT_TRUE(IsWindowEnabled(main_->Main().Hwnd()));
    EXPECT_EQ(4, TheWatermarkTextStyle().style);
    EXPECT_EQ("4", Stored("字体字型"));
    EXPECT_EQ("宋体(30)", main_->Form()["编辑框5"].Text());
}

TEST_F(FontWindowTest, ClosingTheModalWindowFromItsTitleBarStoresNothing) {
    OpenMain();
    ModalVisit visit;
    visit.main = main_->Main().Hwnd();
    visit.act = [](HWND font) {
        SendMessageA(ChildWithText(font, "粗斜体"), BM_CLICK, 0, 0);
        SendMessageA(font, WM_SYSCOMMAND, SC_CLOSE, 0);
    };
    g_visit = &visit;
    UINT_PTR timer = SetTimer(nullptr, 0, 20, &VisitFontWindow);
    Click(main_->Form(), "按钮_字体设置");
    KillTimer(nullptr, timer);
    g_visit = nullptr;

    EXPECT_TRUE(visit.acted);
    EXPECT_TRUE(visit.ownerWasDisabled);
    EXPECT_EQ(nullptr, FindWindowA(nullptr, "字体设置"));
    EXPECT_TRUE(IsWindowEnabled(main_->Main().Hwnd()));
    EXPECT_EQ(2, TheWatermarkTextStyle().style);
    EXPECT_FALSE(testing_support::FileExists(SettingsPath())) << "nothing is written";
}

// ---------------------------------------------------------------------------------------------
// What OK stores, without a window

TEST(FontSettingsRules, StyleFromChoicesCorrectsSizeAndStyle) {
    struct Case {
        const char* name;
        std::string sizeItem, storedStyle;
        int checked;
        std::int32_t size, style;
    } cases[] = {
        {"listed size, checked button", "48", "2", 3, 48, 4},
        {"no size selected gives 12", "", "2", 0, 12, 1},
        {"the smallest and largest sizes are kept", "6", "2", 1, 6, 2},
        {"80 is kept", "80", "2", 2, 80, 3},
        {"no button checked keeps the stored style", "12", "3", -1, 12, 3},
        {"no button checked, stored style out of range", "12", "7", -1, 12, 1},
        {"no button checked, stored style not a number", "12", "粗", -1, 12, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FontWindowChoices choices;
        choices.faceItem = "黑体";
        choices.sizeItem = c.sizeItem;
        choices.storedStyleText = c.storedStyle;
        choices.checkedStyle = c.checked;
        WatermarkTextStyle style = StyleFromChoices(choices);
        EXPECT_EQ(c.size, style.size);
        EXPECT_EQ(c.style, style.style);
        EXPECT_EQ("黑体", style.face);
    }
}

TEST(FontSettingsRules, EntriesAreTheTenKeysInOrderInTheFilesForms) {
    WatermarkTextStyle style;
    style.face = "黑体";
    style.size = 24;
    style.textColour = 0x00FF8040;
    style.style = 3;
    style.strikeout = true;
    style.underline = false;
    style.glow = false;
    style.shadow = true;
    style.glowColour = 0x00FFFFFF;
    style.shadowColour = 0x00000080;
    const std::vector<SettingsEntry> entries = FontSettingsEntries(style);
    const char* values[] = {"黑体", "24", "16744512", "3",        "真",
                            "假",   "假", "真",       "16777215", "128"};
    ASSERT_EQ(10u, entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(kFontKeys[i], entries[i].key) << i;
        EXPECT_EQ(values[i], entries[i].value) << kFontKeys[i];
    }
}

// ---------------------------------------------------------------------------------------------
// The preview rendering

class FontPreviewTest : public imaging_test::GdiplusTest {
  protected:
    // A bold 40-pixel solid square in 宋体, black and opaque, centred, without effects.
    static FontPreviewRequest Square() {
        FontPreviewRequest request;
        request.text = "■";
        request.face = "宋体";
        request.sizeItem = "40";
        request.positionItem = "居中";
        request.transparencyItem = "100";
        request.checkedStyle = 1;
        return request;
    }
    const std::vector<std::uint8_t> white_ = SolidBackground(RGB(255, 255, 255));
};

TEST_F(FontPreviewTest, IsA340By160BmpOfTheBackgroundPhotograph) {
    FontPreviewRequest request = Square();
    request.text = "";
    std::vector<std::uint8_t> bytes =
        DrawFontPreview(request, LayOutFontPreview(request), FontPreviewBackground());
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ('B', bytes[0]);
    EXPECT_EQ('M', bytes[1]);
    Picture preview = Decode(bytes), photograph = Decode(FontPreviewBackground());
    EXPECT_EQ(340, preview.width);
    EXPECT_EQ(160, preview.height);
    EXPECT_TRUE(PicturesMatch(photograph, preview, 2));
}

TEST_F(FontPreviewTest, TextLandsWhereThePlacementTablePutsIt) {
    FontPreviewRequest request = Square();
    request.text = "水印ABC";
    request.sizeItem = "30";
    request.checkedStyle = 0;
    // The size measured independently, in the GDI font the controls ask for.
    GdiFont font = CreateGdiFont(30, 0, 0, 0, false, false, false, false, "宋体");
    std::int32_t width = 0, height = 0;
    MeasureText(request.text, width, height, font.Get());
    ASSERT_GT(width, 0);

    const Picture blank = Decode(white_);
    bool first = true;
    // The ink's offset from the placed point is the same at every position. (Its right and bottom
    // edges are not compared: GDI+ draws the face at an em of 30 pixels, larger than the GDI cell
    // of 30 that measured it, so text at the right or bottom edge may be clipped.)
    int inkLeft = 0, inkTop = 0;
    for (const char* position : {"顶边", "底边", "居中", "左上", "右上", "左下", "右下"}) {
        SCOPED_TRACE(position);
        request.positionItem = position;
        FontPreviewLayout layout = LayOutFontPreview(request);
        EXPECT_EQ(width, layout.textWidth);
        EXPECT_EQ(height, layout.textHeight);
        PixelPoint expected = FontPreviewPlacement(width, height, position);
        EXPECT_EQ(expected.x, layout.at.x);
        EXPECT_EQ(expected.y, layout.at.y);

        Box ink = InkBox(Decode(DrawFontPreview(request, layout, white_)), blank);
        ASSERT_FALSE(ink.Empty());
        if (first) {
            inkLeft = ink.left - layout.at.x;
            inkTop = ink.top - layout.at.y;
            first = false;
        }
        EXPECT_EQ(inkLeft, ink.left - layout.at.x);
        EXPECT_EQ(inkTop, ink.top - layout.at.y);
    }
    // The ink begins a little right of and below the placed point, inside the measured box.
    EXPECT_GE(inkLeft, 0);
    EXPECT_LE(inkLeft, 30 / 3);
    EXPECT_GE(inkTop, 0);
    EXPECT_LE(inkTop, height / 2);
}

TEST_F(FontPreviewTest, DrawsAtTheLayoutsPoint) {
    // 右下 with a text measured 100 × 20 goes to (230, 130); the drawing starts there.
    FontPreviewRequest request = Square();
    request.sizeItem = "16";
    request.positionItem = "右下";
    FontPreviewLayout layout;
    layout.textWidth = 100;
    layout.textHeight = 20;
    layout.at = FontPreviewPlacement(100, 20, "右下");
    ASSERT_EQ(230, layout.at.x);
    ASSERT_EQ(130, layout.at.y);
    Box ink = InkBox(Decode(DrawFontPreview(request, layout, white_)), Decode(white_));
    ASSERT_FALSE(ink.Empty());
    EXPECT_GE(ink.left, 230);
    EXPECT_LE(ink.left, 230 + 16 / 2);
    EXPECT_GE(ink.top, 130);
    EXPECT_LE(ink.bottom, 130 + 20);
}

TEST_F(FontPreviewTest, TransparencySetsTheTextsAlpha) {
    struct Case {
        const char* item;
        int darkest;  // black text on white at full coverage: 255 - alpha
    } cases[] = {{"100", 0}, {"70", 255 - 178}, {"50", 255 - 127}, {"5", 255 - 12}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        FontPreviewRequest request = Square();
        request.transparencyItem = c.item;
        Picture preview = Decode(DrawFontPreview(request, LayOutFontPreview(request), white_));
        int darkest = 255;
        for (gdip::ARGB p : preview.pixels) darkest = std::min(darkest, imaging_test::Red(p));
        EXPECT_NEAR(c.darkest, darkest, 2);
        EXPECT_EQ(OpacityFromItemText(c.item), FontPreviewOpacity(request));
    }
}

TEST_F(FontPreviewTest, ShadowAndGlowAtTransparency70BlendAsTheTenDrawings) {
    // The text's coverage: drawn alone, black and opaque, on white.
    FontPreviewRequest request = Square();
    const FontPreviewLayout layout = LayOutFontPreview(request);
    const Picture alone = Decode(DrawFontPreview(request, layout, white_));
    auto coverage = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= alone.width || y >= alone.height) return 0;
        return 255 - imaging_test::Red(alone.At(x, y));
    };
    int solid = 0;
    for (gdip::ARGB p : alone.pixels) solid += imaging_test::Red(p) == 0;
    ASSERT_GT(solid, 400) << "the glyph should be a large solid block";

    const COLORREF text = RGB(255, 0, 0), glow = RGB(0, 255, 0), shadow = RGB(0, 0, 255);
    request.transparencyItem = "70";
    request.textColour = text;
    request.glow = true;
    request.glowColour = glow;
    request.shadow = true;
    request.shadowColour = shadow;
    const Picture both = Decode(DrawFontPreview(request, layout, white_));

    // Shadow 4 pixels away at 178, the outer glow ring at 138, the inner at 158, the text at 178.
    struct Copy {
        int dx, dy;
        COLORREF colour;
        int alpha;
    } copies[] = {{4, 4, shadow, 178}, {0, 2, glow, 138}, {2, 0, glow, 138}, {-2, 0, glow, 138},
                  {0, -2, glow, 138},  {0, 1, glow, 158}, {1, 0, glow, 158}, {-1, 0, glow, 158},
                  {0, -1, glow, 158},  {0, 0, text, 178}};
    Picture expected = both;
    for (int y = 0; y < both.height; ++y) {
        for (int x = 0; x < both.width; ++x) {
            double r = 255, g = 255, b = 255;
            for (const Copy& copy : copies) {
                const double a = copy.alpha * coverage(x - copy.dx, y - copy.dy) / 255.0 / 255.0;
                r += (GetRValue(copy.colour) - r) * a;
                g += (GetGValue(copy.colour) - g) * a;
                b += (GetBValue(copy.colour) - b) * a;
            }
            expected.pixels[static_cast<std::size_t>(y) * both.width + x] =
                0xFF000000u | (static_cast<gdip::ARGB>(std::lround(r)) << 16) |
                (static_cast<gdip::ARGB>(std::lround(g)) << 8) |
                static_cast<gdip::ARGB>(std::lround(b));
        }
    }
    EXPECT_TRUE(PicturesMatch(expected, both, 5));
}

TEST_F(FontPreviewTest, WhatCannotBeDrawnLeavesTheBackgroundAlone) {
    struct Case {
        const char* name;
        std::function<void(FontPreviewRequest&)> change;
    } cases[] = {
        {"a face GDI+ does not know", [](FontPreviewRequest& r) { r.face = "没有这种字体"; }},
        {"no face selected", [](FontPreviewRequest& r) { r.face = ""; }},
        {"no transparency selected: fully transparent",
         [](FontPreviewRequest& r) { r.transparencyItem = ""; }},
    };
    const Picture blank = Decode(white_);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FontPreviewRequest request = Square();
        request.glow = true;
        request.shadow = true;
        c.change(request);
        Picture preview = Decode(DrawFontPreview(request, LayOutFontPreview(request), white_));
        EXPECT_TRUE(PicturesMatch(blank, preview, 2));
    }
}

TEST_F(FontPreviewTest, BytesThatAreNoPictureStillGiveA340By160Preview) {
    FontPreviewRequest request = Square();
    request.text = "";
    const std::vector<std::uint8_t> garbage = {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c'};
    std::vector<std::uint8_t> bytes = DrawFontPreview(request, LayOutFontPreview(request), garbage);
    Picture preview = Decode(bytes);
    EXPECT_EQ(340, preview.width);
    EXPECT_EQ(160, preview.height);
}

}  // namespace
