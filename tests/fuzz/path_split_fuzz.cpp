// Paths and texts cut at character boundaries: splitting and joining give the text back, searches
// land on character starts, case changes touch ASCII letters only, and two spellings of one path
// compare equal.
#include <cstdint>
#include <string>
#include <vector>

#include "app/path_rules.h"
#include "forms/runtime/text.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

bool IsCharacterStart(const std::string& s, int position) {
    for (std::size_t start : text::CharacterStarts(s)) {
        if (static_cast<int>(start) + 1 == position) return true;
    }
    return false;
}

std::string Joined(const std::vector<std::string>& parts, const std::string& delimiter) {
    std::string out;
    for (std::size_t i = 0; i < parts.size(); ++i) out += (i ? delimiter : "") + parts[i];
    return out;
}

void CheckSearchAndSplit(const std::string& s, const std::string& what, int start) {
    const std::string both = s + "\n" + what;
    const int first = text::Find(s, what);
    const int last = text::FindLast(s, what);
    FUZZ_CHECK((first < 0) == (last < 0), both);
    if (first > 0) {
        FUZZ_CHECK(first <= last, both);
        FUZZ_CHECK(IsCharacterStart(s, first) && IsCharacterStart(s, last), both);
        FUZZ_CHECK(s.compare(first - 1, what.size(), what) == 0, both);
        FUZZ_CHECK(s.compare(last - 1, what.size(), what) == 0, both);
    }
    const int from = text::Find(s, what, start);
    FUZZ_CHECK(from < 0 || (from >= start && from >= first && from <= last), both);

    const std::vector<std::string> parts = text::Split(s, what);
    FUZZ_CHECK(!parts.empty(), both);
    FUZZ_CHECK(Joined(parts, what) == s || what.empty(), both);
    if (!text::EndsWithLoneLeadByte(what)) {
        for (const std::string& part : parts) FUZZ_CHECK(text::Find(part, what) < 0, both);
    }
    FUZZ_CHECK(text::ReplaceAll(s, what, what) == s, both);
    FUZZ_CHECK(what.empty() || text::ReplaceAll(s, what, "") == Joined(parts, ""), both);
}

void CheckCutsAndCase(const std::string& s, int start, int count) {
    const std::string trimmed = text::Trim(s);
    FUZZ_CHECK(s.find(trimmed) != std::string::npos && text::Trim(trimmed) == trimmed, s);
    // Neither end is a space character, ASCII or full-width (a trail byte 0x20 is no space).
    if (!trimmed.empty()) {
        const std::size_t lastStart = text::CharacterStarts(trimmed).back();
        FUZZ_CHECK(trimmed[0] != ' ' && trimmed.compare(0, 2, "\xA1\xA1") != 0, s);
        FUZZ_CHECK(trimmed.compare(lastStart, std::string::npos, " ") != 0, s);
        FUZZ_CHECK(trimmed.compare(lastStart, std::string::npos, "\xA1\xA1") != 0, s);
    }

    const std::string lower = text::LowerAscii(s);
    FUZZ_CHECK(lower.size() == s.size() && text::LowerAscii(lower) == lower, s);
    for (std::size_t i = 0; i < s.size(); ++i) {
        FUZZ_CHECK(lower[i] == s[i] || (s[i] >= 'A' && s[i] <= 'Z' && lower[i] == s[i] + 32), s);
    }

    FUZZ_CHECK(text::Left(s, count).size() <= s.size(), s);
    FUZZ_CHECK(text::Right(s, count).size() <= s.size(), s);
    const std::string middle = text::Mid(s, start, count);
    FUZZ_CHECK(middle.empty() || s.compare(start - 1, middle.size(), middle) == 0, s);
    FUZZ_CHECK(text::Mid(s, 1) == s || s.empty(), s);

    const double number = text::LeadingNumber(s);
    FUZZ_CHECK(number == number, s);  // never NaN
}

void CheckPath(const std::string& path, const std::string& other) {
    const FolderAndFileName parts = SplitFolderAndFileName(path);
    FUZZ_CHECK(parts.folder + parts.fileName == path, path);
    FUZZ_CHECK(parts.folder.empty() || EndsWithBackslash(parts.folder), path);
    FUZZ_CHECK(text::Find(parts.fileName, "\\") < 0, path);

    const std::string extension = ExtensionOfPath(path);
    FUZZ_CHECK(extension.size() <= path.size() &&
                   path.compare(path.size() - extension.size(), std::string::npos, extension) == 0,
               path);
    FUZZ_CHECK(extension == path || text::Find(extension, ".") < 0, path);

    std::string withBackslash = path;
    const std::string returned = WithTrailingBackslash(withBackslash);
    FUZZ_CHECK(returned == withBackslash, path);
    FUZZ_CHECK(withBackslash == (EndsWithBackslash(path) ? path : path + "\\"), path);
    if (!text::EndsWithLoneLeadByte(path)) FUZZ_CHECK(EndsWithBackslash(withBackslash), path);

    FUZZ_CHECK(IsSameFilePath(path, path), path);
    FUZZ_CHECK(IsSameFilePath(path, other) == IsSameFilePath(text::LowerAscii(path), other),
               path + "\n" + other);
    FUZZ_CHECK(IsSameFilePath(path, text::LowerAscii(path)), path);
    FUZZ_CHECK(IsSameFilePath(path, text::ReplaceAll(path, "\\", "/")), path);
    if (path.compare(0, 1, "\\") != 0 && path.compare(0, 1, "/") != 0) {
        FUZZ_CHECK(IsSameFilePath(path, text::ReplaceAll(path, "\\", "\\\\")), path);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const int start = in.ConsumeIntegral<int>();
    const int count = in.ConsumeIntegral<int>();
    const std::string what = in.ConsumeRandomLengthString(16);
    const std::string s = in.ConsumeRemainingBytesAsString();
    CheckSearchAndSplit(s, what, start);
    CheckCutsAndCase(s, start, count);
    CheckPath(s, what);
    return 0;
}
