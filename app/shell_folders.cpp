#include "app/shell_folders.h"

#include <windows.h>

#include <vector>

#include "app/path_rules.h"

const char* const kShellFoldersKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

namespace {

std::optional<std::string>& ProgramDirectoryOverride() {
    static std::optional<std::string> directory;
    return directory;
}

// The full path of the running executable, however long it is.
std::string ModuleFileName() {
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        DWORD length =
            GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return std::string();
        if (length < buffer.size()) return std::string(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

const char* ShellFolderValueName(std::int32_t selector) {
    switch (selector) {
        case 1:
            return "Personal";
        case 2:
            return "Favorites";
        case 3:
            return "Desktop";
        case 4:
            return "Fonts";
        case 5:
            return "Start Menu";
        case 6:
            return "Programs";
        case 7:
            return "Startup";
        case 8:
            return "AppData";
        case 12:
            return "SendTo";
        default:
            return nullptr;
    }
}

std::string ExpandEnvironment(const std::string& value) {
    DWORD needed = ExpandEnvironmentStringsA(value.c_str(), nullptr, 0);
    if (needed == 0) return value;
    std::vector<char> buffer(needed + 1);
    DWORD written = ExpandEnvironmentStringsA(value.c_str(), buffer.data(), needed + 1);
    if (written == 0 || written > needed + 1) return value;
    return std::string(buffer.data());
}

// A text value under HKCU "Shell Folders"; nothing when the key or value is missing or is no text.
std::optional<std::string> ReadShellFolder(const char* valueName) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kShellFoldersKey, 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS)
        return std::nullopt;
    std::optional<std::string> result;
    DWORD type = 0;
    DWORD size = 0;
    LONG status = RegQueryValueExA(key, valueName, nullptr, &type, nullptr, &size);
    if (status == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ)) {
        std::vector<char> data;
        do {
            data.assign(size + 1, '\0');
            status = RegQueryValueExA(key, valueName, nullptr, &type,
                                      reinterpret_cast<BYTE*>(data.data()), &size);
        } while (status == ERROR_MORE_DATA);
        if (status == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ)) {
            // Stored text need not end in a zero byte; it ends at the first one if it does.
            std::string value(data.data(), strnlen(data.data(), size));
            result = type == REG_EXPAND_SZ ? ExpandEnvironment(value) : value;
        }
    }
    RegCloseKey(key);
    return result;
}

std::string WithoutTrailingSpaces(std::string path) {
    // A GBK trail byte is never below 0x40, so a space at the end is always a space.
    while (!path.empty() && path.back() == ' ') path.pop_back();
    return path;
}

// Asks one of the system's directory functions; the buffer grows when the answer is longer.
template <typename Query>
std::string AskSystemDirectory(Query query) {
    std::vector<char> buffer(255);
    UINT length = query(buffer.data(), static_cast<UINT>(buffer.size()));
    if (length >= buffer.size()) {
        buffer.assign(length + 1, '\0');
        length = query(buffer.data(), static_cast<UINT>(buffer.size()));
        if (length >= buffer.size()) return std::string();
    }
    return std::string(buffer.data(), length);
}

std::string SpecialFolder(std::int32_t selector) {
    switch (selector) {
        case 9:
            return WithoutTrailingSpaces(
                AskSystemDirectory([](char* b, UINT n) { return GetSystemDirectoryA(b, n); }));
        case 10:
            return WithoutTrailingSpaces(
                AskSystemDirectory([](char* b, UINT n) { return GetWindowsDirectoryA(b, n); }));
        case 11:
            return AskSystemDirectory(
                [](char* b, UINT n) { return static_cast<UINT>(GetTempPathA(n, b)); });
        default:
            break;
    }
    const char* valueName = ShellFolderValueName(selector);
    if (valueName) {
        if (std::optional<std::string> folder = ReadShellFolder(valueName)) return *folder;
    }
    return ProgramDirectory();
}

}  // namespace

std::string ProgramDirectory() {
    if (ProgramDirectoryOverride()) {
        std::string directory = *ProgramDirectoryOverride();
        return WithTrailingBackslash(directory);
    }
    std::string directory = SplitFolderAndFileName(ModuleFileName()).folder;
    return WithTrailingBackslash(directory);
}

void OverrideProgramDirectoryForTests(std::optional<std::string> directory) {
    ProgramDirectoryOverride() = std::move(directory);
}

std::string SpecialFolderPath(std::int32_t selector, bool useSpecialFolder) {
    std::string folder = useSpecialFolder ? SpecialFolder(selector) : ProgramDirectory();
    return WithTrailingBackslash(folder);
}
