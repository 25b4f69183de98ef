#include "forms/runtime/dialog_text.h"

#include "forms/runtime/text.h"

namespace forms {

std::string DialogFilter(const std::string& formFilter) {
    std::string dialogForm;
    if (formFilter.empty()) return std::string(2, '\0');
    for (const std::string& part : text::Split(formFilter, "|")) {
        dialogForm += part;
        dialogForm += '\0';
    }
    dialogForm += '\0';
    return dialogForm;
}

namespace {

bool EndsWithBackslash(const std::string& path) {
    std::vector<std::size_t> starts = text::CharacterStarts(path);
    return !starts.empty() && path.compare(starts.back(), std::string::npos, "\\") == 0;
}

}  // namespace

std::string JoinFolderAndName(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    return EndsWithBackslash(folder) ? folder + name : folder + "\\" + name;
}

std::vector<std::string> ChosenFiles(const char* buffer, std::size_t size) {
    std::vector<std::string> parts;
    std::size_t i = 0;
    while (i < size && buffer[i] != '\0') {
        std::size_t end = i;
        while (end < size && buffer[end] != '\0') ++end;
        parts.emplace_back(buffer + i, end - i);
        i = end + 1;
    }
    if (parts.size() <= 1) return parts;
    std::vector<std::string> paths;
    for (std::size_t k = 1; k < parts.size(); ++k)
        paths.push_back(JoinFolderAndName(parts[0], parts[k]));
    return paths;
}

}  // namespace forms
