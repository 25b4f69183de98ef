#include "app/path_rules.h"

#include "forms/runtime/text.h"

bool EndsWithBackslash(const std::string& path) {
    if (path.empty()) return false;
    return text::FindLast(path, "\\") == text::Length(path);
}

std::string WithTrailingBackslash(std::string& path) {
    if (!EndsWithBackslash(path)) path += '\\';
    return path;
}

FolderAndFileName SplitFolderAndFileName(const std::string& path) {
    int lastBackslash = text::FindLast(path, "\\");
    if (lastBackslash < 0) return {std::string(), path};
    return {text::Left(path, lastBackslash), text::Mid(path, lastBackslash + 1)};
}

std::string ExtensionOfPath(const std::string& path) {
    int lastDot = text::FindLast(path, ".");
    return lastDot < 0 ? path : text::Mid(path, lastDot + 1);
}

std::string DefaultOutputFolder(const std::string& documentsFolder) {
    std::string base = documentsFolder;
    return WithTrailingBackslash(base) + "My Pictures\\转换图片";
}

namespace {

// The form in which two paths of one file are equal byte for byte.
std::string ComparablePath(const std::string& path) {
    std::string slashesTurned = text::ReplaceAll(path, "/", "\\");
    // A network path keeps its leading pair of backslashes; elsewhere a run of them is one.
    const bool network = slashesTurned.compare(0, 2, "\\\\") == 0;
    std::string rest = network ? slashesTurned.substr(2) : slashesTurned;
    std::string collapsed = text::ReplaceAll(rest, "\\\\", "\\");
    while (collapsed != rest) {
        rest = collapsed;
        collapsed = text::ReplaceAll(rest, "\\\\", "\\");
    }
    if (network && collapsed.compare(0, 1, "\\") == 0) collapsed.erase(0, 1);
    return text::LowerAscii((network ? "\\\\" : "") + collapsed);
}

}  // namespace

bool IsSameFilePath(const std::string& a, const std::string& b) {
    return ComparablePath(a) == ComparablePath(b);
}
