#include "forms/runtime/text.h"

#include <cmath>
#include <limits>

namespace text {

std::vector<std::size_t> CharacterStarts(const std::string& s) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < s.size();) {
        starts.push_back(i);
        bool pair = IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size();
        i += pair ? 2 : 1;
    }
    return starts;
}

int Length(const std::string& s) { return static_cast<int>(s.size()); }

std::string Left(const std::string& s, int count) {
    if (count <= 0) return {};
    return s.substr(0, static_cast<std::size_t>(count));
}

std::string Right(const std::string& s, int count) {
    if (count <= 0) return {};
    std::size_t n = static_cast<std::size_t>(count);
    return n >= s.size() ? s : s.substr(s.size() - n);
}

std::string Mid(const std::string& s, int start, int count) {
    if (start < 1 || static_cast<std::size_t>(start) > s.size()) return {};
    std::size_t from = static_cast<std::size_t>(start - 1);
    return count < 0 ? s.substr(from) : s.substr(from, static_cast<std::size_t>(count));
}

int Find(const std::string& s, const std::string& what, int start) {
    if (what.empty()) return -1;
    for (std::size_t i : CharacterStarts(s)) {
        if (static_cast<int>(i) + 1 < start) continue;
        if (s.compare(i, what.size(), what) == 0) return static_cast<int>(i) + 1;
    }
    return -1;
}

int FindLast(const std::string& s, const std::string& what) {
    if (what.empty()) return -1;
    int found = -1;
    for (std::size_t i : CharacterStarts(s)) {
        if (s.compare(i, what.size(), what) == 0) found = static_cast<int>(i) + 1;
    }
    return found;
}

std::string ReplaceAll(const std::string& s, const std::string& from, const std::string& to) {
    if (from.empty()) return s;
    std::string out;
    for (std::size_t i = 0; i < s.size();) {
        if (s.compare(i, from.size(), from) == 0) {
            out += to;
            i += from.size();
            continue;
        }
        bool pair = IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size();
        out.append(s, i, pair ? 2 : 1);
        i += pair ? 2 : 1;
    }
    return out;
}

std::vector<std::string> Split(const std::string& s, const std::string& delimiter) {
    std::vector<std::string> parts;
    if (delimiter.empty()) return {s};
    std::string current;
    for (std::size_t i = 0; i < s.size();) {
        if (s.compare(i, delimiter.size(), delimiter) == 0) {
            parts.push_back(current);
            current.clear();
            i += delimiter.size();
            continue;
        }
        bool pair = IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size();
        current.append(s, i, pair ? 2 : 1);
        i += pair ? 2 : 1;
    }
    parts.push_back(current);
    return parts;
}

std::string Trim(const std::string& s) {
    static const std::string kFullWidthSpace = "\xA1\xA1";
    std::vector<std::size_t> starts = CharacterStarts(s);
    std::size_t first = 0, last = starts.size();  // character indexes [first, last)
    auto isSpace = [&](std::size_t k) {
        std::size_t at = starts[k];
        return s[at] == ' ' || s.compare(at, 2, kFullWidthSpace) == 0;
    };
    while (first < last && isSpace(first)) ++first;
    while (last > first && isSpace(last - 1)) --last;
    if (first == last) return {};
    std::size_t begin = starts[first];
    std::size_t end = last < starts.size() ? starts[last] : s.size();
    return s.substr(begin, end - begin);
}

std::string LowerAscii(const std::string& s) {
    std::string out = s;
    for (std::size_t i = 0; i < out.size();) {
        unsigned char c = static_cast<unsigned char>(out[i]);
        if (IsLeadByte(c) && i + 1 < out.size()) {
            i += 2;
            continue;
        }
        if (c >= 'A' && c <= 'Z') out[i] = static_cast<char>(c - 'A' + 'a');
        ++i;
    }
    return out;
}

std::string Decimal(std::int64_t value) { return std::to_string(value); }

double LeadingNumber(const std::string& s) {
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    double value = 0;
    bool digits = false;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
        value = value * 10 + (s[i++] - '0');
        digits = true;
    }
    if (i < s.size() && s[i] == '.') {
        double scale = 0.1;
        for (++i; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i, scale /= 10) {
            value += (s[i] - '0') * scale;
            digits = true;
        }
    }
    if (!digits) return 0;
    return negative ? -value : value;
}

std::int32_t LeadingInt32(const std::string& s) {
    double value = std::trunc(LeadingNumber(s));
    if (!(value >= std::numeric_limits<std::int32_t>::min())) return std::numeric_limits<std::int32_t>::min();
    if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value);
}

}  // namespace text
