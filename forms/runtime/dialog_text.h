// Texts exchanged with the open-file dialog, kept apart from the dialog itself so that they can be
// checked without a window: the filter a form writes ("desc|patterns|desc|patterns") and the
// answer buffer of a multi-selection ("folder\0name\0name\0\0").
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace forms {

// "desc|patterns|desc|patterns" as the dialog wants it: every part ended by NUL, one more NUL at
// the end. The bars are found character by character (a GBK trail byte may equal '|').
std::string DialogFilter(const std::string& formFilter);

// The chosen files of an answer buffer, as full paths. The buffer holds either one full path, or
// a folder followed by the bare names chosen in it; each is ended by NUL and the list by another
// NUL. Reading never goes past `size` bytes.
std::vector<std::string> ChosenFiles(const char* buffer, std::size_t size);

// The folder joined to a name with exactly one backslash between them ("C:\" + "a.png" gives
// "C:\a.png"); a trail byte equal to '\\' at the folder's end is not taken for a backslash.
std::string JoinFolderAndName(const std::string& folder, const std::string& name);

}  // namespace forms
