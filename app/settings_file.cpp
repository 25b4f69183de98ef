#include "app/settings_file.h"

#include <windows.h>

#include <vector>

const char* const kConversionSection = "转换设置";
const char* const kFontSection = "字体设置";

std::string ReadSetting(const std::string& settingsPath, const char* section, const char* key,
                        const std::string& fallback) {
    std::vector<char> buffer(kSettingValueBufferSize, '\0');
    DWORD length = GetPrivateProfileStringA(section, key, fallback.c_str(), buffer.data(),
                                            kSettingValueBufferSize, settingsPath.c_str());
    if (length >= kSettingValueBufferSize) length = kSettingValueBufferSize - 1;
    return std::string(buffer.data(), length);
}

bool WriteSetting(const std::string& settingsPath, const char* section, const char* key,
                  const std::string& value) {
    return WritePrivateProfileStringA(section, key, value.c_str(), settingsPath.c_str()) != FALSE;
}
