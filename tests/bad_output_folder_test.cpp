// Output folders a run cannot use as typed: on a drive that does not exist, a file in place of
// the folder, a folder or older output marked read-only, an older output another program holds,
// a path longer than the ANSI calls take, a folder name whose double-byte character ends in the
// byte of a backslash. Each run ends with its message, its lines name the pictures not written,
// and nothing is written anywhere else nor any file damaged.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/imaging_test_support.h"
#include "tests/support/main_window_harness.h"
#include "tests/support/modal_recorder.h"
#include "tests/support/run_support.h"

using testing_support::Click;
using testing_support::FilesUnder;
using testing_support::HeldFile;
using testing_support::LogLines;
using testing_support::MainWindowHarness;
using testing_support::ReadFileBytes;
using testing_support::RecordedMessageTexts;
using testing_support::Recorder;
using testing_support::ScratchFolder;
using testing_support::WriteFileBytes;

namespace {

constexpr std::uint32_t kBlue = 0xFF2040C0;
// 淺 is 9C 5C in GBK: its trail byte is the code of a backslash.
const std::string kTrailBackslash = "淺";
// The two pictures every run converts to JPEG: one plain name, one ending in that character.
const std::vector<std::string> kPictures = {"a.png", kTrailBackslash + ".png"};
const std::vector<std::string> kOutputs = {"a.jpg", kTrailBackslash + ".jpg"};

// A drive letter with no drive behind it.
std::optional<char> UnmappedDriveLetter() {
    const DWORD drives = GetLogicalDrives();
    for (char letter = 'Y'; letter >= 'D'; --letter) {
        if (!(drives & (1u << (letter - 'A')))) return letter;
    }
    return std::nullopt;
}

class BadOutputFolder : public imaging_test::GdiplusTest {
  public:  // the cases' lambdas arrange the data folder through the fixture
    // A new data folder with the two pictures, and the window made on a settings file that
    // asks for JPEG output into `typedFolder`.
    void Open(const std::string& typedFolder) {
        Recorder().Reset();
        window_ = std::make_unique<MainWindowHarness>(program_.Path());
        ASSERT_TRUE(window_->Created());
        W()["编辑框1"].SetText(typedFolder);
        for (const std::string& name : kPictures) {
            testing_support::AddPictureRow(W(), Pictures(), name);
        }
    }

    void NewDataFolder() {
        window_.reset();
        held_.clear();
        kept_.clear();
        data_ = std::make_unique<ScratchFolder>();
        CreateDirectoryA(Pictures().c_str(), nullptr);
        for (const std::string& name : kPictures) {
            testing_support::WriteSolidPicture(Pictures() + name, 40, 30, kBlue);
        }
        WriteFileBytes(testing_support::SettingsFileIn(program_),
                       "[转换设置]\r\n转换格式=真\r\n新格式=JPG\r\n");
    }

    std::string Data() const { return data_->Path(); }
    std::string Pictures() const { return Data() + "图片\\"; }

    // A file that must come out of the run as it went in.
    void Keep(const std::string& relative, const std::string& bytes) {
        WriteFileBytes(Data() + relative, bytes);
        kept_[relative] = bytes;
    }
    void Hold(const std::string& relative) {
        held_.push_back(std::make_unique<HeldFile>(Data() + relative));
        ASSERT_TRUE(held_.back()->Held()) << relative;
    }
    void ReleaseHeld() { held_.clear(); }

    forms::Window& W() { return window_->Form(); }

    ScratchFolder program_;
    std::unique_ptr<ScratchFolder> data_;
    std::unique_ptr<MainWindowHarness> window_;
    std::vector<std::unique_ptr<HeldFile>> held_;
    std::map<std::string, std::string> kept_;  // relative path -> bytes
};

struct FolderCase {
    const char* name;
    // Prepares the data folder and gives the text typed as the output folder.
    std::function<std::string(BadOutputFolder&)> arrange;
    // Where the outputs land, relative to the data folder, and which of the two are written.
    std::string outputFolder;
    std::vector<bool> written;
};

// Longer than MAX_PATH once below the data folder: levels of ten double-byte characters.
std::string PathLongerThan260(const std::string& base) {
    std::string path = base;
    while (path.size() <= 300) path += "长长长长长长长长长长\\";
    return path;
}

std::vector<FolderCase> FolderCases() {
    const std::optional<char> drive = UnmappedDriveLetter();
    const std::string noDrive = drive ? std::string(1, *drive) + ":" : std::string();
    return {
        {"a drive that does not exist",
         [noDrive](BadOutputFolder&) { return noDrive + "\\输出"; },
         "",
         {false, false}},
        {"the root of a drive that does not exist",
         [noDrive](BadOutputFolder&) { return noDrive; },
         "",
         {false, false}},
        {"a file in place of the folder",
         [](BadOutputFolder& t) {
             t.Keep("输出", "not a folder");
             return t.Data() + "输出";
         },
         "",
         {false, false}},
        {"a file in place of a folder on the way",
         [](BadOutputFolder& t) {
             t.Keep("输出.txt", "not a folder");
             return t.Data() + "输出.txt\\子";
         },
         "",
         {false, false}},
        // Windows does not stop writing into a folder for its read-only mark.
        {"a folder marked read-only",
         [](BadOutputFolder& t) {
             const std::string folder = t.Data() + "输出";
             CreateDirectoryA(folder.c_str(), nullptr);
             SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_READONLY);
             return folder;
         },
         "输出\\",
         {true, true}},
        {"an older output marked read-only",
         [](BadOutputFolder& t) {
             CreateDirectoryA((t.Data() + "输出").c_str(), nullptr);
             t.Keep("输出\\a.jpg", "an older output");
             SetFileAttributesA((t.Data() + "输出\\a.jpg").c_str(), FILE_ATTRIBUTE_READONLY);
             return t.Data() + "输出";
         },
         "输出\\",
         {false, true}},
        {"an older output another program holds",
         [](BadOutputFolder& t) {
             CreateDirectoryA((t.Data() + "输出").c_str(), nullptr);
             t.Keep("输出\\" + kTrailBackslash + ".jpg", "an older output");
             t.Hold("输出\\" + kTrailBackslash + ".jpg");
             return t.Data() + "输出";
         },
         "输出\\",
         {true, false}},
        {"a path longer than 260 characters",
         [](BadOutputFolder& t) { return PathLongerThan260(t.Data()); },
         "",
         {false, false}},
        {"a folder whose name ends in a character with the trail byte of a backslash",
         [](BadOutputFolder& t) { return t.Data() + "输出/" + kTrailBackslash; },
         "输出\\" + kTrailBackslash + "\\",
         {true, true}},
        // Read byte by byte, the trail byte and the separator after it would be a doubled
        // backslash and collapse into one: the two levels would become one folder.
        {"such a character before a separator",
         [](BadOutputFolder& t) { return t.Data() + kTrailBackslash + "\\子"; },
         kTrailBackslash + "\\子\\",
         {true, true}},
        {"such a character before a doubled separator",
         [](BadOutputFolder& t) { return t.Data() + kTrailBackslash + "\\\\子"; },
         kTrailBackslash + "\\子\\",
         {true, true}},
    };
}

TEST_F(BadOutputFolder, EachRunEndsAndItsLinesNameThePicturesNotWritten) {
    ASSERT_TRUE(UnmappedDriveLetter().has_value()) << "every drive letter is mapped";
    for (const FolderCase& c : FolderCases()) {
        SCOPED_TRACE(c.name);
        NewDataFolder();
        const std::string typed = c.arrange(*this);
        Open(typed);
        Click(W(), "按钮_开始转换");
        ReleaseHeld();

        std::vector<std::string> lines;
        std::vector<std::string> files = {"图片\\a.png", "图片\\" + kPictures[1]};
        int notWritten = 0;
        for (std::size_t i = 0; i < kPictures.size(); ++i) {
            lines.push_back("正在处理:" + kPictures[i]);
            if (c.written[i]) {
                files.push_back(c.outputFolder + kOutputs[i]);
            } else {
                lines.push_back("保存失败:" + kPictures[i]);
                ++notWritten;
            }
        }
        lines.push_back("处理完毕");
        for (const auto& [path, bytes] : kept_) files.push_back(path);
        std::sort(files.begin(), files.end());
        files.erase(std::unique(files.begin(), files.end()), files.end());

        EXPECT_EQ(lines, LogLines(W()));
        const std::string message = notWritten == 0
                                        ? std::string("全部处理完毕")
                                        : "全部处理完毕\r\n其中 " + std::to_string(notWritten) +
                                              " 张图片未能转换，详见处理记录";
        EXPECT_EQ(std::vector<std::string>{message}, RecordedMessageTexts());
        EXPECT_FALSE(IsWindowVisible(W()["遮照框"].Hwnd())) << "the window stays locked";
        // Nothing written outside the folder, no temporary file left, nothing kept changed.
        EXPECT_EQ(files, FilesUnder(Data()));
        for (const auto& [path, bytes] : kept_) {
            EXPECT_EQ(bytes, ReadFileBytes(Data() + path)) << path;
        }
        for (std::size_t i = 0; i < kPictures.size(); ++i) {
            if (!c.written[i] || kept_.count(c.outputFolder + kOutputs[i])) continue;
            const testing_support::DecodedSize size =
                testing_support::PictureSizeOf(Data() + c.outputFolder + kOutputs[i]);
            EXPECT_EQ(40, size.width) << kOutputs[i];
            EXPECT_EQ(30, size.height) << kOutputs[i];
        }
    }
}

struct LongPathCase {
    const char* name;
    std::size_t folderLength;  // the output folder with its final backslash, in bytes
    std::vector<std::string> pictures;
    std::vector<bool> written;
};

// Near MAX_PATH: a picture is written only when both its path and the temporary name beside it
// fit the ANSI calls; otherwise it is reported, never written under a cut name, and nothing is
// left behind.
TEST_F(BadOutputFolder, PathsNearTheAnsiLimitAreWrittenWholeOrReported) {
    const std::string longName = std::string(40, 'n') + ".png";  // 45 bytes
    const std::vector<LongPathCase> cases = {
        {"a long name past 259 bytes, a short one within", 237, {longName, "a.png"}, {false, true}},
        {"a folder leaving room for the temporary name", 246, {"a.png"}, {true}},
        {"a folder one byte too long for the temporary name", 247, {"a.png"}, {false}},
    };
    for (const LongPathCase& c : cases) {
        SCOPED_TRACE(c.name);
        NewDataFolder();
        std::string folder = Data();
        while (folder.size() < c.folderLength - 1) folder += "d";
        testing_support::WriteSolidPicture(Pictures() + longName, 40, 30, kBlue);
        Open(folder);
        W()["超级列表框1"].DeleteAllRows();
        for (const std::string& name : c.pictures) {
            testing_support::AddPictureRow(W(), Pictures(), name);
        }
        Click(W(), "按钮_开始转换");

        std::vector<std::string> lines;
        std::vector<std::string> files = {"图片\\a.png", "图片\\" + kPictures[1],
                                          "图片\\" + longName};
        for (std::size_t i = 0; i < c.pictures.size(); ++i) {
            lines.push_back("正在处理:" + c.pictures[i]);
            if (!c.written[i]) {
                lines.push_back("保存失败:" + c.pictures[i]);
                continue;
            }
            const std::string output = c.pictures[i].substr(0, c.pictures[i].size() - 3) + "jpg";
            files.push_back(folder.substr(Data().size()) + "\\" + output);
            EXPECT_LT(folder.size() + 1 + output.size(), std::size_t{MAX_PATH}) << "written whole";
        }
        lines.push_back("处理完毕");
        std::sort(files.begin(), files.end());
        EXPECT_EQ(lines, LogLines(W()));
        EXPECT_EQ(files, FilesUnder(Data())) << "nothing else written, no temporary file left";
        EXPECT_EQ(1u, RecordedMessageTexts().size()) << "the run ended with its message";
    }
}

}  // namespace
