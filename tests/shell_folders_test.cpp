// The folders the program works in: its own directory, the user's special folders from the
// registry and the system's folders, and the trailing backslash every folder path ends in.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/path_rules.h"
#include "app/shell_folders.h"
#include "tests/support/main_window_harness.h"

using testing_support::ShellFolderValueGuard;

namespace {

std::string ExecutableFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string self = path;
    return self.substr(0, self.find_last_of('\\') + 1);
}

std::string WithBackslash(std::string path) {
    if (path.empty() || path.back() != '\\') path += '\\';
    return path;
}

TEST(ProgramDirectory, IsTheExecutablesFolderWithOneTrailingBackslash) {
    OverrideProgramDirectoryForTests(std::nullopt);
    EXPECT_EQ(ProgramDirectory(), ExecutableFolder());
    for (int selector : {0, 1, 9, 12, 99}) {
        EXPECT_EQ(SpecialFolderPath(selector, false), ExecutableFolder())
            << "selector " << selector;
    }
}

TEST(ProgramDirectory, AnOverriddenDirectoryGetsItsBackslash) {
    OverrideProgramDirectoryForTests(std::string("C:\\某处"));
    EXPECT_EQ(ProgramDirectory(), "C:\\某处\\");
    EXPECT_EQ(SpecialFolderPath(5, false), "C:\\某处\\");
    OverrideProgramDirectoryForTests(std::string("D:\\"));
    EXPECT_EQ(SpecialFolderPath(0, false), "D:\\") << "a drive's root keeps one backslash";
    OverrideProgramDirectoryForTests(std::nullopt);
}

struct ShellFolder {
    int selector;
    const char* valueName;
};

TEST(SpecialFolderPath, EachSelectorReadsItsShellFoldersValue) {
    const ShellFolder folders[] = {{1, "Personal"}, {2, "Favorites"},  {3, "Desktop"},
                                   {4, "Fonts"},    {5, "Start Menu"}, {6, "Programs"},
                                   {7, "Startup"},  {8, "AppData"},    {12, "SendTo"}};
    for (const ShellFolder& folder : folders) {
        SCOPED_TRACE(folder.valueName);
        ShellFolderValueGuard guard(folder.valueName);
        ASSERT_TRUE(guard.Opened());
        std::string value = std::string("C:\\probe\\") + folder.valueName;
        guard.Set(REG_SZ, value);
        EXPECT_EQ(SpecialFolderPath(folder.selector, true), value + "\\");
    }
}

struct PersonalValue {
    const char* name;
    enum { Absent, Text, Expandable, Number } kind;
    std::string stored;
    std::string expected;  // "<program>" stands for the program directory
};

std::string WindowsFolder() {
    char folder[MAX_PATH] = {};
    GetWindowsDirectoryA(folder, MAX_PATH);
    return folder;
}

TEST(SpecialFolderPath, PersonalValueKinds) {
    OverrideProgramDirectoryForTests(std::string("C:\\程序目录\\"));
    const PersonalValue cases[] = {
        {"missing value", PersonalValue::Absent, "", "<program>"},
        {"text without backslash", PersonalValue::Text, "C:\\Docs", "C:\\Docs\\"},
        {"text with backslash", PersonalValue::Text, "C:\\Docs\\", "C:\\Docs\\"},
        {"GBK text", PersonalValue::Text, "C:\\我的文档", "C:\\我的文档\\"},
        // 乗 is the bytes 81 5C: its trail byte is no backslash.
        {"GBK text ending in a 0x5C trail byte", PersonalValue::Text, "C:\\乗", "C:\\乗\\"},
        {"expandable text", PersonalValue::Expandable, "%SystemRoot%\\Docs",
         WindowsFolder() + "\\Docs\\"},
        {"expandable text kept unexpanded when stored as plain text", PersonalValue::Text,
         "%SystemRoot%\\Docs", "%SystemRoot%\\Docs\\"},
        {"a number is no folder", PersonalValue::Number, "", "<program>"},
    };
    for (const PersonalValue& c : cases) {
        SCOPED_TRACE(c.name);
        ShellFolderValueGuard personal("Personal");
        ASSERT_TRUE(personal.Opened());
        switch (c.kind) {
            case PersonalValue::Absent:
                personal.Delete();
                break;
            case PersonalValue::Text:
                personal.Set(REG_SZ, c.stored);
                break;
            case PersonalValue::Expandable:
                personal.Set(REG_EXPAND_SZ, c.stored);
                break;
            case PersonalValue::Number:
                personal.SetNumber(42);
                break;
        }
        std::string expected = c.expected == "<program>" ? "C:\\程序目录\\" : c.expected;
        EXPECT_EQ(SpecialFolderPath(1, true), expected);
    }
    OverrideProgramDirectoryForTests(std::nullopt);
}

TEST(SpecialFolderPath, SystemFolders) {
    char buffer[MAX_PATH + 1] = {};
    GetSystemDirectoryA(buffer, MAX_PATH);
    EXPECT_EQ(SpecialFolderPath(9, true), WithBackslash(buffer));
    GetWindowsDirectoryA(buffer, MAX_PATH);
    EXPECT_EQ(SpecialFolderPath(10, true), WithBackslash(buffer));
    GetTempPathA(MAX_PATH, buffer);
    EXPECT_EQ(SpecialFolderPath(11, true), WithBackslash(buffer));
}

TEST(SpecialFolderPath, SelectorsOutsideTheTableGiveTheProgramDirectory) {
    OverrideProgramDirectoryForTests(std::string("C:\\程序目录"));
    for (int selector : {0, 13, -1, 1000}) {
        EXPECT_EQ(SpecialFolderPath(selector, true), "C:\\程序目录\\") << "selector " << selector;
    }
    OverrideProgramDirectoryForTests(std::nullopt);
}

struct BackslashCase {
    const char* path;
    const char* expected;
};

TEST(WithTrailingBackslash, AppendsToTheCallersTextAndReturnsACopy) {
    const BackslashCase cases[] = {
        {"", "\\"},
        {"C:", "C:\\"},
        {"C:\\", "C:\\"},
        {"C:\\a b", "C:\\a b\\"},
        {"C:\\图片\\", "C:\\图片\\"},
        {"C:\\图片", "C:\\图片\\"},
    };
    for (const BackslashCase& c : cases) {
        SCOPED_TRACE(c.path);
        std::string path = c.path;
        std::string result = WithTrailingBackslash(path);
        EXPECT_EQ(result, c.expected);
        EXPECT_EQ(path, c.expected) << "the caller's variable";
        result += "x";
        EXPECT_EQ(path, c.expected) << "the result is a copy";
    }
}

}  // namespace
