// Path texts as the program handles them: ANSI (GBK) texts split at character boundaries, so the
// trail byte 0x5C of a double-byte character never counts as a backslash.
#pragma once

#include <string>

// Whether the last character of `path` is a backslash. A path ending in a double-byte character
// whose trail byte is 0x5C does not end with a backslash.
bool EndsWithBackslash(const std::string& path);

// Appends a backslash to the caller's `path` itself unless its last character is one, and
// returns a copy of the (possibly updated) text. An empty text becomes "\".
std::string WithTrailingBackslash(std::string& path);

// A path cut at its last backslash: the folder up to and including it, and the file name after
// it. A path without a backslash is all file name, with an empty folder.
struct FolderAndFileName {
    std::string folder;
    std::string fileName;
};
FolderAndFileName SplitFolderAndFileName(const std::string& path);

// The text after the last "." of the whole path; a path without any "." is its own extension.
// The dot may lie in a folder name: "C:\v1.2\photo" gives "2\photo".
std::string ExtensionOfPath(const std::string& path);

// The default output folder: the documents folder (ending in a backslash, a missing one is
// added) followed by "My Pictures\转换图片".
std::string DefaultOutputFolder(const std::string& documentsFolder);

// Whether two full paths name the same file as Windows compares them: "/" counts as "\", a run
// of backslashes as one (a leading "\\" of a network path stays), and ASCII letters match
// regardless of case. The caller makes both paths absolute (GetFullPathNameA) first.
bool IsSameFilePath(const std::string& a, const std::string& b);
