// The output folder made on disk: the typed text normalised, its folders created level by level,
// and the batch run's folder stored with its final backslash.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "convert/conversion_settings.h"
#include "convert/output_folder.h"
#include "forms/runtime/text.h"
#include "tests/support/main_window_harness.h"

using testing_support::ScratchFolder;

namespace {

bool IsFolder(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The scratch folder's path without its final backslash, written with forward slashes.
std::string WithForwardSlashes(const std::string& path) {
    return text::ReplaceAll(path, "\\", "/");
}

struct CreatedCase {
    const char* name;
    std::string typedAfterScratch;   // appended to the scratch folder
    std::string folderAfterScratch;  // CreateOutputFolder's folder, after the scratch
    std::vector<std::string> createdAfterScratch;
};

TEST(CreateOutputFolder, CreatesEachLevelAndEndsWithoutBackslash) {
    const std::vector<CreatedCase> cases = {
        {"slashes and a doubled one", "照片//输出", "照片\\输出", {"照片", "照片\\输出"}},
        {"blank part skipped", "a\\ \\b", "a\\b", {"a", "a\\b"}},
        {"trailing backslash dropped", "c\\d\\", "c\\d", {"c", "c\\d"}},
        {"leading space of a part kept", " e\\f", " e\\f", {" e", " e\\f"}},
        {"name whose trail byte is a backslash", "淺\\x", "淺\\x", {"淺", "淺\\x"}},
    };
    for (const CreatedCase& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder scratch;
        const std::string typed =
            "  " + WithForwardSlashes(scratch.Path()) + c.typedAfterScratch + " ";
        OutputFolderPlan plan = CreateOutputFolder(typed);
        EXPECT_EQ(OutputFolderResult::kReady, plan.result);
        EXPECT_EQ(scratch.Path() + c.folderAfterScratch, plan.folder);
        for (const std::string& created : c.createdAfterScratch) {
            EXPECT_TRUE(IsFolder(scratch.Path() + created)) << created;
        }
    }
}

TEST(CreateOutputFolder, NothingCreatedForAFolderThatFailsItsCheck) {
    ScratchFolder scratch;
    // A relative text names a folder under the current directory: point it at the scratch.
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(scratch.Path().c_str()));
    OutputFolderPlan plan = CreateOutputFolder("photos\\sub");
    SetCurrentDirectoryA(previous);
    EXPECT_EQ(OutputFolderResult::kInvalid, plan.result);
    EXPECT_FALSE(IsFolder(scratch.Path() + "photos"));
}

TEST(CreateOutputFolder, AFolderThatCannotBeCreatedIsNotReported) {
    ScratchFolder scratch;
    testing_support::WriteFileBytes(scratch.File("taken"), "a file, not a folder");
    OutputFolderPlan plan = CreateOutputFolder(scratch.Path() + "taken\\inner");
    EXPECT_EQ(OutputFolderResult::kReady, plan.result);
    EXPECT_EQ(scratch.Path() + "taken\\inner", plan.folder);
    EXPECT_FALSE(IsFolder(scratch.Path() + "taken\\inner"));
}

TEST(CreateOutputFolder, LevelsLongerThanTheAnsiCallsTakeAreNotCreated) {
    ScratchFolder scratch;
    std::string typed = scratch.Path();
    std::string lastMade, firstNotMade;
    while (typed.size() <= 300) {
        typed += "长长长长长长长长长长";  // 20 bytes a level
        if (typed.size() <= MAX_PATH - 12) {
            lastMade = typed;
        } else if (firstNotMade.empty()) {
            firstNotMade = typed;
        }
        typed += "\\";
    }
    OutputFolderPlan plan = CreateOutputFolder(typed);
    EXPECT_EQ(OutputFolderResult::kReady, plan.result);
    EXPECT_TRUE(IsFolder(lastMade)) << lastMade.size() << " bytes";
    EXPECT_FALSE(IsFolder(firstNotMade)) << firstNotMade.size() << " bytes";
}

struct PreparedCase {
    const char* name;
    std::string typed;
    OutputFolderResult result;
    std::string outputFolder;
};

TEST(PrepareOutputFolder, StoresTheRunsFolderWithItsFinalBackslash) {
    ScratchFolder scratch;
    using R = OutputFolderResult;
    const std::vector<PreparedCase> cases = {
        {"scratch subfolder", WithForwardSlashes(scratch.Path()) + "/out", R::kReady,
         scratch.Path() + "out\\"},
        {"drive alone", "C:", R::kReady, "C:\\"},
        {"drive-relative", "D:pictures", R::kReady, "D:pictures\\"},
        {"network path: partly normalised text kept", "\\\\server\\share", R::kInvalid,
         "\\server\\share"},
        {"no drive", "photos", R::kInvalid, "photos"},
        {"only spaces", "  　 ", R::kEmpty, ""},
    };
    for (const PreparedCase& c : cases) {
        SCOPED_TRACE(c.name);
        TheConversionSettings().outputFolder = "left over";
        EXPECT_EQ(c.result, PrepareOutputFolder(c.typed));
        EXPECT_EQ(c.outputFolder, TheConversionSettings().outputFolder);
    }
    EXPECT_TRUE(IsFolder(scratch.Path() + "out"));
}

}  // namespace
