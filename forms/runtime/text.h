// Text utilities on system text: ANSI texts of code page 936 (GBK), measured in bytes.
//
// Every search and case change walks the text character by character, so that the trail byte of
// a double-byte character (which may equal '\\', 'A'..'Z' or any other ASCII byte from 0x40 up)
// is never taken for a character of its own. Positions are 1-based; -1 means absent.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace text {

// GBK: a lead byte is 0x81..0xFE and is followed by one trail byte.
inline bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// Byte offsets (0-based) at which the characters of `s` start.
std::vector<std::size_t> CharacterStarts(const std::string& s);

// Whether `s` ends in a lead byte with no trail byte: half a character, as a cut or damaged text
// may. Anything appended would pair with that byte.
bool EndsWithLoneLeadByte(const std::string& s);

// Lengths, positions and counts are in bytes, as everywhere in the program's texts; Left, Right
// and Mid cut where they are told to, even inside a double-byte character.
int Length(const std::string& s);
std::string Left(const std::string& s, int count);
std::string Right(const std::string& s, int count);
// `count` < 0: to the end.
std::string Mid(const std::string& s, int start, int count = -1);

// A match begins and ends at character boundaries of `s`; the empty text is never found.
// First occurrence of `what` at or after the 1-based byte position `start`; -1 when absent.
int Find(const std::string& s, const std::string& what, int start = 1);
// Last occurrence of `what`; -1 when absent.
int FindLast(const std::string& s, const std::string& what);

// Left to right, without rescanning what was put in; an empty `from` changes nothing.
std::string ReplaceAll(const std::string& s, const std::string& from, const std::string& to);
// Always at least one part: "" gives {""}, "a,,b" gives {"a", "", "b"}.
std::vector<std::string> Split(const std::string& s, const std::string& delimiter);

// Removes ASCII spaces and full-width spaces (GBK A1 A1) at both ends.
std::string Trim(const std::string& s);
// Lower-cases ASCII letters only, never a trail byte.
std::string LowerAscii(const std::string& s);

std::string Decimal(std::int64_t value);
// The number a text begins with: leading spaces skipped, optional sign, digits, optional decimal
// part; 0 when there is none. No exponent: "1e5" reads 1.
double LeadingNumber(const std::string& s);
// LeadingNumber truncated toward zero into a 32-bit integer (clamped at the type's limits).
std::int32_t LeadingInt32(const std::string& s);

}  // namespace text
