#include "forms/runtime/text.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace text {

namespace {

// Whether `what` occurs at the character start `at` of `s`, ending at a character boundary: a
// match that would end between a lead byte and its trail byte is no match.
bool OccursAt(const std::string& s, std::size_t at, const std::string& what, bool whatEndsInLead) {
    if (s.compare(at, what.size(), what) != 0) return false;
    return !whatEndsInLead || at + what.size() == s.size();
}

std::size_t CharacterSize(const std::string& s, std::size_t i) {
    return IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
}

}  // namespace

std::vector<std::size_t> CharacterStarts(const std::string& s) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < s.size(); i += CharacterSize(s, i)) starts.push_back(i);
    return starts;
}

bool EndsWithLoneLeadByte(const std::string& s) {
    if (s.empty() || !IsLeadByte(static_cast<unsigned char>(s.back()))) return false;
    return CharacterStarts(s).back() == s.size() - 1;
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
    bool endsInLead = EndsWithLoneLeadByte(what);
    for (std::size_t i : CharacterStarts(s)) {
        if (static_cast<std::int64_t>(i) + 1 < start) continue;
        if (OccursAt(s, i, what, endsInLead)) return static_cast<int>(i) + 1;
    }
    return -1;
}

int FindLast(const std::string& s, const std::string& what) {
    if (what.empty()) return -1;
    bool endsInLead = EndsWithLoneLeadByte(what);
    int found = -1;
    for (std::size_t i : CharacterStarts(s)) {
        if (OccursAt(s, i, what, endsInLead)) found = static_cast<int>(i) + 1;
    }
    return found;
}

std::string ReplaceAll(const std::string& s, const std::string& from, const std::string& to) {
    if (from.empty()) return s;
    bool endsInLead = EndsWithLoneLeadByte(from);
    std::string out;
    for (std::size_t i = 0; i < s.size();) {
        if (OccursAt(s, i, from, endsInLead)) {
            out += to;
            i += from.size();
            continue;
        }
        std::size_t n = CharacterSize(s, i);
        out.append(s, i, n);
        i += n;
    }
    return out;
}

std::vector<std::string> Split(const std::string& s, const std::string& delimiter) {
    if (delimiter.empty()) return {s};
    bool endsInLead = EndsWithLoneLeadByte(delimiter);
    std::vector<std::string> parts;
    std::string current;
    for (std::size_t i = 0; i < s.size();) {
        if (OccursAt(s, i, delimiter, endsInLead)) {
            parts.push_back(current);
            current.clear();
            i += delimiter.size();
            continue;
        }
        std::size_t n = CharacterSize(s, i);
        current.append(s, i, n);
        i += n;
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
    auto isDigit = [&](std::size_t k) { return k < s.size() && s[k] >= '0' && s[k] <= '9'; };
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    std::size_t numberStart = i;
    bool digits = false;
    for (; isDigit(i); ++i) digits = true;
    if (i < s.size() && s[i] == '.') {
        for (++i; isDigit(i); ++i) digits = true;
    }
    if (!digits) return 0;
    // The digits are converted in one go, correctly rounded and independent of the C locale; adding
    // digit by digit would gather rounding errors ("2.9999999999999999" must read as 3).
    const std::string number = s.substr(numberStart, i - numberStart);
    double value = 0;
    auto result = std::from_chars(number.data(), number.data() + number.size(), value,
                                  std::chars_format::fixed);
    if (result.ec == std::errc::result_out_of_range) {
        // Beyond the range of a double: hundreds of integer digits give infinity, hundreds of
        // zeros after the point give 0.
        bool wholePart = number.find_first_not_of('0') < number.find('.');
        value = wholePart ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -value : value;
}

std::int32_t LeadingInt32(const std::string& s) {
    double value = std::trunc(LeadingNumber(s));
    if (!(value >= std::numeric_limits<std::int32_t>::min()))
        return std::numeric_limits<std::int32_t>::min();
    if (value > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value);
}

}  // namespace text
