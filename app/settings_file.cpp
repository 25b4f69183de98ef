#include "app/settings_file.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "forms/runtime/text.h"

const char* const kConversionSection = "转换设置";
const char* const kFontSection = "字体设置";

std::string ReadSetting(const std::string& settingsPath, const char* section, const char* key,
                        const std::string& fallback) {
    std::vector<char> buffer(kSettingValueBufferSize, '\0');
    DWORD length = GetPrivateProfileStringA(section, key, fallback.c_str(), buffer.data(),
                                            kSettingValueBufferSize, settingsPath.c_str());
    if (length >= kSettingValueBufferSize) length = kSettingValueBufferSize - 1;
    // A value cut at the buffer's end may come back one byte short of the length reported (the
    // reader does not write half a character), and that byte is then no part of the value.
    std::string value(buffer.data(), strnlen(buffer.data(), length));
    // Where the cut fell inside a double-byte character, its lead byte alone would join with
    // whatever text is put after the value (the font display's "(").
    if (text::EndsWithLoneLeadByte(value)) value.pop_back();
    return value;
}

bool WriteSetting(const std::string& settingsPath, const char* section, const char* key,
                  const std::string& value) {
    // A settings file the user has marked read-only keeps its values: Windows refuses the write,
    // and so does the program where the mark is not enforced (an administrator's session).
    const DWORD attributes = GetFileAttributesA(settingsPath.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        return false;
    }
    return WritePrivateProfileStringA(section, key, value.c_str(), settingsPath.c_str()) != FALSE;
}
