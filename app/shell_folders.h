// Folders the program works in: its own directory and the user's special folders.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The directory of the program's executable, ending in a backslash.
std::string ProgramDirectory();

// Tests point the program directory at a folder of their own; nothing restores the real one.
void OverrideProgramDirectoryForTests(std::optional<std::string> directory);

// A directory path that always ends with a backslash. With useSpecialFolder false: the program
// directory, whatever the selector. Otherwise the selector picks the folder: 1 Personal,
// 2 Favorites, 3 Desktop, 4 Fonts, 5 Start Menu, 6 Programs, 7 Startup, 8 AppData, 12 SendTo
// (values under HKCU "Shell Folders"), 9 the system directory, 10 the Windows directory,
// 11 the temporary directory. A missing or unreadable value, or an unknown selector, gives the
// program directory.
std::string SpecialFolderPath(std::int32_t selector, bool useSpecialFolder);

// The registry key of the user's special folders, under HKEY_CURRENT_USER.
extern const char* const kShellFoldersKey;
