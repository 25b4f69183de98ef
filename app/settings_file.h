// The settings file "图象转换.Bin" in the run directory: a profile (INI) file of two sections,
// read and written only through the system's profile functions.
#pragma once

#include <string>

extern const char* const kConversionSection;  // "转换设置": the job options
extern const char* const kFontSection;        // "字体设置": the text watermark's font

// The value of a key, or `fallback` when the file, the section or the key does not exist. A key
// present with an empty value reads as the empty text. At most 10239 bytes of a value are read,
// in whole characters: a double-byte character cut by that limit is left out.
std::string ReadSetting(const std::string& settingsPath, const char* section, const char* key,
                        const std::string& fallback);

// Replaces the key's value or appends the key; creates the section and the file as needed.
// Returns false when the write failed (callers of the program do not check it). A file marked
// read-only is never written.
bool WriteSetting(const std::string& settingsPath, const char* section, const char* key,
                  const std::string& value);

// The buffer values are read into, in bytes.
constexpr unsigned kSettingValueBufferSize = 10240;
