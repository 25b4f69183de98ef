// The main window's output folder buttons and its banner, in real windows: the folder dialog's
// answers reaching 编辑框1 and the settings file, the open button creating folders and starting
// Explorer, the banner view made at its place, and the banner timer writing its page once.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/maker.h"
#include "app/program_state.h"
#include "app/settings_file.h"
#include "shellutil/html_view.h"
#include "shellutil/output_folder_buttons.h"
#include "tests/support/fake_browser.h"
#include "tests/support/main_window_harness.h"
#include "tests/support/modal_recorder.h"
#include "tests/support/waiting.h"

using testing_support::Click;
using testing_support::FakeBrowser;
using testing_support::FakeDocument;
using testing_support::FileExists;
using testing_support::MainWindowHarness;
using testing_support::Recorder;
using testing_support::ScratchFolder;
using testing_support::SettingsFileIn;

namespace {

const char kUnset[] = "<unset>";

std::string StoredOutputFolder(const ScratchFolder& programFolder) {
    return ReadSetting(SettingsFileIn(programFolder), kConversionSection, "保存目录", kUnset);
}

std::string Forward(std::string path) {
    for (char& c : path) {
        if (c == '\\') c = '/';
    }
    return path;
}

class ShellButtonsTest : public testing::Test {
  protected:
    void SetUp() override {
        Recorder().Reset();
        FakeBrowser() = {};
    }
    void TearDown() override {
        window_.reset();
        TheProgram().htmlView.reset();
        FakeBrowser() = {};
    }

    MainWindowHarness& Open(const ScratchFolder& programFolder,
                            const std::string& settingsBytes = std::string()) {
        window_.reset();
        if (!settingsBytes.empty())
            testing_support::WriteFileBytes(SettingsFileIn(programFolder), settingsBytes);
        window_ = std::make_unique<MainWindowHarness>(programFolder.Path());
        EXPECT_TRUE(window_->Created());
        return *window_;
    }

    std::unique_ptr<MainWindowHarness> window_;
};

// ---------------------------------------------------------------------------------------------
// Choosing a folder.

TEST_F(ShellButtonsTest, ChooseFolderAsksTheFolderDialogAndEndsTheAnswerWithABackslash) {
    struct Case {
        const char* name;
        std::optional<std::string> title;
        std::optional<bool> newStyle;  // nothing: left out
        std::optional<std::string> answer;
        const char* askedTitle;
        UINT askedFlags;
        const char* result;
    } cases[] = {
        {"everything left out", std::nullopt, std::nullopt, std::string("C:\\Data"), "请选择目录",
         0x1, "C:\\Data\\"},
        {"new style", std::string("设置图片保存目录"), true, std::string("C:"), "设置图片保存目录",
         0x50, "C:\\"},
        {"old style asked for", std::string("标题"), false, std::string("D:\\照片\\"), "标题", 0x1,
         "D:\\照片\\"},
        {"an empty title is a title", std::string(), true, std::string("E:\\a b"), "", 0x50,
         "E:\\a b\\"},
        {"cancelled", std::nullopt, true, std::nullopt, "请选择目录", 0x50, ""},
        {"a blank path", std::nullopt, true, std::string(" \xA1\xA1 "), "请选择目录", 0x50, ""},
    };
    HWND owner = GetDesktopWindow();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Recorder().Reset();
        Recorder().folderAnswers.push_back(c.answer);
        std::string chosen =
            c.newStyle ? ChooseFolder(owner, c.title, *c.newStyle) : ChooseFolder(owner, c.title);
        EXPECT_EQ(chosen, c.result);
        ASSERT_EQ(Recorder().folderRequests.size(), 1u);
        EXPECT_EQ(Recorder().folderRequests[0].owner, owner);
        EXPECT_EQ(Recorder().folderRequests[0].title, c.askedTitle);
        EXPECT_EQ(Recorder().folderRequests[0].flags, c.askedFlags);
    }
}

TEST_F(ShellButtonsTest, SetFolderButtonPutsTheChoiceInTheBoxAndTheSettingsFileAtOnce) {
    struct Case {
        const char* name;
        std::optional<std::string> answer;
        const char* shown;   // 编辑框1 afterwards; null: as before
        const char* stored;  // "保存目录" afterwards
    } cases[] = {
        {"a drive", std::string("C:"), "C:\\", "C:\\"},
        {"a folder", std::string("C:\\Data"), "C:\\Data\\", "C:\\Data\\"},
        {"a Chinese folder", std::string("D:\\照片\\输出"), "D:\\照片\\输出\\", "D:\\照片\\输出\\"},
        {"cancelled", std::nullopt, nullptr, kUnset},
        {"a blank path", std::string("   "), nullptr, kUnset},
    };
    ScratchFolder program;
    MainWindowHarness& w = Open(program);
    const std::string before = w["编辑框1"].Text();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteFileA(SettingsFileIn(program).c_str());
        w["编辑框1"].SetText(before);
        Recorder().Reset();
        Recorder().folderAnswers.push_back(c.answer);
        Click(w.Form(), "按钮_设置文件夹");
        ASSERT_EQ(Recorder().folderRequests.size(), 1u);
        const forms::FolderRequest& asked = Recorder().folderRequests[0];
        EXPECT_EQ(asked.owner, w.Main().Hwnd());
        EXPECT_EQ(asked.title, "设置图片保存目录");
        EXPECT_EQ(asked.flags, 0x50u) << "BIF_NEWDIALOGSTYLE | BIF_EDITBOX";
        EXPECT_EQ(w["编辑框1"].Text(), c.shown ? std::string(c.shown) : before);
        EXPECT_EQ(StoredOutputFolder(program), c.stored);
        if (!c.shown) {
            EXPECT_FALSE(FileExists(SettingsFileIn(program))) << "nothing written";
        }
        EXPECT_TRUE(Recorder().messageBoxes.empty());
    }
}

TEST_F(ShellButtonsTest, SetFolderButtonChangesOnlyTheFolderInAnExistingSettingsFile) {
    ScratchFolder program;
    MainWindowHarness& w = Open(
        program, "[转换设置]\r\n保存目录=E:\\旧的\\\r\n宽度=300\r\n[字体设置]\r\n字体大小=20\r\n");
    EXPECT_EQ(w["编辑框1"].Text(), "E:\\旧的\\");
    Recorder().folderAnswers.push_back(std::string("C:\\新的"));
    Click(w.Form(), "按钮_设置文件夹");
    EXPECT_EQ(w["编辑框1"].Text(), "C:\\新的\\");
    EXPECT_EQ(StoredOutputFolder(program), "C:\\新的\\");
    EXPECT_EQ(ReadSetting(SettingsFileIn(program), kConversionSection, "宽度", kUnset), "300");
    EXPECT_EQ(ReadSetting(SettingsFileIn(program), kFontSection, "字体大小", kUnset), "20");

    // Cancelling afterwards keeps both.
    Click(w.Form(), "按钮_设置文件夹");
    EXPECT_EQ(w["编辑框1"].Text(), "C:\\新的\\");
    EXPECT_EQ(StoredOutputFolder(program), "C:\\新的\\");
}

// ---------------------------------------------------------------------------------------------
// Opening the folder.

TEST_F(ShellButtonsTest, OpenFolderButtonCreatesTheFolderAndStartsExplorerOnIt) {
    ScratchFolder program;
    ScratchFolder outputs;
    const std::string root = outputs.Path();  // ends with a backslash
    struct Case {
        std::string name;
        std::string typed;
        std::optional<std::string> opened;  // the folder Explorer is started on; nothing: none
        std::vector<std::string> created;
        std::vector<std::string> absent;
    } cases[] = {
        {"forward and doubled slashes",
         Forward(root) + "照片//输出",
         root + "照片\\输出",
         {root + "照片", root + "照片\\输出"}},
        {"a final backslash", root + "a\\b\\", root + "a\\b", {root + "a", root + "a\\b"}},
        {"spaces around", "  " + root + "c  ", root + "c", {root + "c"}},
        {"a blank part", root + "d\\ \\e", root + "d\\e", {root + "d", root + "d\\e"}},
        {"a drive alone", "C:", std::string("C:")},
        {"empty", "", std::nullopt},
        {"spaces only", "   ", std::nullopt},
        {"no drive", "photos", std::nullopt, {}, {"photos"}},
        {"a network path", "\\\\server\\share\\照片", std::nullopt},
    };
    MainWindowHarness& w = Open(program);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name + ": " + c.typed);
        w["编辑框1"].SetText(c.typed);
        Recorder().Reset();
        Click(w.Form(), "按钮_打开文件夹");
        if (c.opened) {
            ASSERT_EQ(Recorder().startedProcesses.size(), 1u);
            EXPECT_EQ(Recorder().startedProcesses[0], "explorer.exe  \"" + *c.opened + "\"");
        } else {
            EXPECT_TRUE(Recorder().startedProcesses.empty());
        }
        for (const std::string& folder : c.created) {
            DWORD attributes = GetFileAttributesA(folder.c_str());
            EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES &&
                        (attributes & FILE_ATTRIBUTE_DIRECTORY))
                << folder << " created";
        }
        for (const std::string& path : c.absent) EXPECT_FALSE(FileExists(path)) << path;
        EXPECT_EQ(w["编辑框1"].Text(), c.typed) << "the box keeps what was typed";
        EXPECT_TRUE(Recorder().messageBoxes.empty()) << "no message";
        EXPECT_FALSE(FileExists(SettingsFileIn(program))) << "nothing stored";
    }
}

TEST_F(ShellButtonsTest, OpenFolderButtonStartsExplorerEvenWhenTheFolderCannotBeMade) {
    ScratchFolder program;
    ScratchFolder outputs;
    // A file stands where the folder should be.
    testing_support::WriteFileBytes(outputs.File("占用"), "x");
    MainWindowHarness& w = Open(program);
    w["编辑框1"].SetText(outputs.File("占用") + "\\下层");
    Click(w.Form(), "按钮_打开文件夹");
    ASSERT_EQ(Recorder().startedProcesses.size(), 1u);
    EXPECT_EQ(Recorder().startedProcesses[0],
              "explorer.exe  \"" + outputs.File("占用") + "\\下层\"");
    EXPECT_EQ(testing_support::ReadFileBytes(outputs.File("占用")), "x") << "the file is kept";
}

// ---------------------------------------------------------------------------------------------
// The banner.

// The banner page, byte for byte.
std::string ExpectedBannerPage() {
    const char* const lines[] = {
        "<html>",
        "<head>",
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\" />",
        "<title>Load..</title>",
        "<style type=\"text/css\">",
        "<!--",
        "body,td,th {",
        "\tfont-size: 9pt;",
        "\tcolor: #FFFFFF;",
        "}",
        "body {",
        "\tbackground-color: #317D8B;",
        "\toverflow: hidden;",
        "}",
        "-->",
        "</style>",
        "</head>",
        "",
        "<body>",
        "<table width=\"100%\" height=\"100%\" border=\"0\" cellpadding=\"0\" cellspacing=\"0\">",
        "  <tr>",
        "    <td align=\"center\" valign=\"middle\">Loading...</td>",
        "  </tr>",
        "</table>",
        nullptr,  // the script element
        "</body>",
        "</html>",
    };
    std::string page;
    for (int i = 0; i < 27; ++i) {
        if (i > 0) page += "\r\n";
        page += lines[i] ? std::string(lines[i])
                         : std::string(
                               "<Script Language=\"JavaScript\" type=\"Text/JavaScript\" "
                               "Src=\"http://") +
                               kMakerWebHost + "/Link/GoSoft.Asp?ID=14&SoftName=\"></Script>";
    }
    return page;
}

TEST_F(ShellButtonsTest, WithoutABrowserEngineTheEmptyHostIsHiddenWhenTheTimerFires) {
    TheProgram().htmlView = std::make_unique<HtmlView>();
    ScratchFolder program;
    MainWindowHarness& w = Open(program);
    HWND host = TheProgram().htmlView->HostWindow();
    ASSERT_TRUE(IsWindow(host));
    ASSERT_FALSE(TheProgram().htmlView->GetDocument()) << "these tests run without a browser engine";
    ASSERT_TRUE(testing_support::WaitFor([&] { return w["时钟1"].Period() == 0; }, 5000));
    EXPECT_FALSE(IsWindowVisible(host)) << "the window's own banner strip shows instead";
}

TEST_F(ShellButtonsTest, AHostWithTheBrowsersWindowsStaysVisible) {
    FakeDocument document;
    FakeBrowser().document = &document;
    TheProgram().htmlView = std::make_unique<HtmlView>(testing_support::FakeBrowserHostClass());
    ScratchFolder program;
    MainWindowHarness& w = Open(program);
    ASSERT_TRUE(testing_support::WaitFor([&] { return document.log.size() >= 3; }, 5000));
    EXPECT_TRUE(IsWindowVisible(TheProgram().htmlView->HostWindow()));
    EXPECT_EQ(w["时钟1"].Period(), 0);
}

TEST_F(ShellButtonsTest, TheBannerViewIsMadeAtItsPlaceWithTheWindow) {
    TheProgram().htmlView = std::make_unique<HtmlView>();
    ScratchFolder program;
    MainWindowHarness& w = Open(program);
    HWND host = TheProgram().htmlView->HostWindow();
    ASSERT_TRUE(IsWindow(host)) << "the browser host class is available";
    EXPECT_EQ(GetParent(host), w.Main().Hwnd());
    char name[64] = {};
    GetClassNameA(host, name, sizeof name);
    EXPECT_STREQ(name, "AtlAxWin");
    GetWindowTextA(host, name, sizeof name);
    EXPECT_STREQ(name, "about:blank");
    EXPECT_EQ(GetWindowLongA(host, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0) << "borderless";
    RECT rect{};
    GetWindowRect(host, &rect);
    MapWindowPoints(nullptr, w.Main().Hwnd(), reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, 11);
    EXPECT_EQ(rect.top, 26);
    EXPECT_EQ(rect.right - rect.left, 728);
    EXPECT_EQ(rect.bottom - rect.top, 58);
}

TEST_F(ShellButtonsTest, WithoutABannerViewTheWindowStillStartsAndTheTimerStops) {
    ASSERT_EQ(TheProgram().htmlView, nullptr);
    ScratchFolder program;
    MainWindowHarness& w = Open(program);
    EXPECT_EQ(FindWindowExA(w.Main().Hwnd(), nullptr, "AtlAxWin", nullptr), nullptr);
    EXPECT_TRUE(testing_support::WaitFor([&] { return w["时钟1"].Period() == 0; }, 5000));
}

TEST_F(ShellButtonsTest, TheTimerWritesTheBannerPageIntoTheDocumentOnce) {
    FakeDocument document;
    FakeBrowser().document = &document;
    TheProgram().htmlView = std::make_unique<HtmlView>(testing_support::FakeBrowserHostClass());
    ScratchFolder program;
    MainWindowHarness& w = Open(program);
    // The period is the form's; on a slow machine the timer may already have fired by now.
    EXPECT_EQ(w["时钟1"].Desc().interval, 500);
    ASSERT_TRUE(testing_support::WaitFor([&] { return document.log.size() >= 3; }, 5000))
        << "the banner page was written";
    testing_support::LetPeriodsPass(2, 500);
    EXPECT_EQ(document.log,
              (std::vector<std::string>{"document.open()",
                                        "document.write(text:" + ExpectedBannerPage() + ")",
                                        "document.close()"}));
    EXPECT_EQ(w["时钟1"].Period(), 0);
    EXPECT_TRUE(document.AllReleased());
}

// A view that counts the pages it is given and then fails to write them.
class FailingView : public HtmlView {
  public:
    explicit FailingView(bool throws) : throws_(throws) {}
    void WriteHtml(const std::string& html) override {
        pages.push_back(html);
        if (throws_) throw std::runtime_error("the document is gone");
        HtmlView::WriteHtml(html);  // the system's host: no browser engine here, no document
    }
    std::vector<std::string> pages;

  private:
    bool throws_;
};

TEST_F(ShellButtonsTest, TheTimerRunsOnceEvenWhenWritingFails) {
    for (bool throws : {false, true}) {
        SCOPED_TRACE(throws ? "writing throws" : "no document to write into");
        auto view = std::make_unique<FailingView>(throws);
        FailingView* failing = view.get();
        TheProgram().htmlView = std::move(view);
        ScratchFolder program;
        MainWindowHarness& w = Open(program);
        ASSERT_TRUE(testing_support::WaitFor([&] { return !failing->pages.empty(); }, 5000));
        testing_support::LetPeriodsPass(2, 500);
        EXPECT_EQ(failing->pages, std::vector<std::string>{ExpectedBannerPage()});
        EXPECT_EQ(w["时钟1"].Period(), 0);
        EXPECT_TRUE(w.Form().Exists());
        window_.reset();
        TheProgram().htmlView.reset();
    }
}

}  // namespace
