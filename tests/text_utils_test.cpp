// The text utilities on GBK text: searches and cuts at character boundaries, never inside a
// double-byte character whose trail byte looks like ASCII.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "forms/runtime/text.h"

namespace {

// GBK characters whose trail byte is an ASCII byte the utilities look for.
const std::string kTrail5C = "淺";         // 9C 5C: trail byte is '\'
const std::string kTrail5C2 = "乗";        // 81 5C
const std::string kTrail41 = "癆";         // B0 41: trail byte is 'A'
const std::string kTrailA1 = "啊";         // B0 A1: trail byte is the full-width space's byte
const std::string kFullWidthSpace = "　";  // A1 A1

TEST(TextFixture, CharactersHaveTheTrailBytesTheTestsRelyOn) {
    EXPECT_EQ(std::string("\x9C\x5C"), kTrail5C);
    EXPECT_EQ(std::string("\x81\x5C"), kTrail5C2);
    EXPECT_EQ(std::string("\xB0\x41"), kTrail41);
    EXPECT_EQ(std::string("\xB0\xA1"), kTrailA1);
    EXPECT_EQ(std::string("\xA1\xA1"), kFullWidthSpace);
}

TEST(CharacterStarts, PairsLeadAndTrailBytes) {
    EXPECT_EQ((std::vector<std::size_t>{0, 1, 3, 4}),
              text::CharacterStarts("a" + kTrail5C + "\\b"));
    // A lead byte at the very end has no partner and stands alone.
    EXPECT_EQ((std::vector<std::size_t>{0, 1}), text::CharacterStarts("a\x9C"));
    EXPECT_TRUE(text::CharacterStarts("").empty());
    // 0x80 and 0xFF are single bytes in code page 936.
    EXPECT_EQ((std::vector<std::size_t>{0, 1}), text::CharacterStarts("\x80\xFF"));
}

TEST(EndsWithLoneLeadByte, HalfACharacterAtTheEnd) {
    EXPECT_TRUE(text::EndsWithLoneLeadByte("a\x9C"));
    EXPECT_TRUE(text::EndsWithLoneLeadByte(kTrail5C + "\x9C"));
    EXPECT_FALSE(text::EndsWithLoneLeadByte(kTrail5C));
    EXPECT_FALSE(text::EndsWithLoneLeadByte("\x9C\x9C")) << "the second byte is a trail byte";
    EXPECT_FALSE(text::EndsWithLoneLeadByte(""));
    EXPECT_FALSE(text::EndsWithLoneLeadByte("a\\"));
}

struct FindCase {
    const char* name;
    std::string s;
    std::string what;
    int start;
    int expected;
};

TEST(Find, FindsOnlyAtCharacterBoundaries) {
    const std::vector<FindCase> cases = {
        {"plain", "abcabc", "c", 1, 3},
        {"from a later start", "abcabc", "c", 4, 6},
        {"start on the match", "abcabc", "c", 3, 3},
        {"start past the end", "abc", "c", 9, -1},
        {"start below one counts from the beginning", "abc", "a", -5, 1},
        {"absent", "abc", "x", 1, -1},
        {"empty needle", "abc", "", 1, -1},
        {"empty text", "", "a", 1, -1},
        {"trail byte 5C is no backslash", "C:" + kTrail5C, "\\", 1, -1},
        {"backslash after a 5C character", kTrail5C + "\\x", "\\", 1, 3},
        {"two 5C characters then a backslash", kTrail5C + kTrail5C2 + "\\", "\\", 1, 5},
        {"trail byte 41 is no A", kTrail41 + "A", "A", 1, 3},
        {"double-byte needle", "a" + kTrail5C + "b", kTrail5C, 1, 2},
        {"needle across two characters is no match", kTrail5C + kTrail5C2, "\x5C\x81", 1, -1},
        {"needle ending in a lead byte cuts no character", "x" + kTrail5C, "x\x9C", 1, -1},
        {"needle ending in a lead byte at the text's end", "x\x9C", "x\x9C", 1, 1},
        {"start inside a character moves to the next one", kTrail5C + "\\", "\\", 2, 3},
    };
    for (const FindCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, text::Find(c.s, c.what, c.start));
    }
}

TEST(FindLast, FindsTheLastOccurrenceAtACharacterBoundary) {
    const std::vector<FindCase> cases = {
        {"plain", "a\\b\\c", "\\", 1, 4},
        {"absent", "abc", "\\", 1, -1},
        {"empty needle", "abc", "", 1, -1},
        {"last byte is a 5C trail", "C:\\dir\\" + kTrail5C, "\\", 1, 7},
        {"only 5C trails", kTrail5C + kTrail5C2, "\\", 1, -1},
        {"dot before a folder of 5C characters", "a.b\\" + kTrail5C, ".", 1, 2},
        {"longer needle", "a.b.c", ".c", 1, 4},
        {"trail byte 41", "A" + kTrail41, "A", 1, 1},
    };
    for (const FindCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, text::FindLast(c.s, c.what));
    }
}

struct TrimCase {
    const char* name;
    std::string s;
    std::string expected;
};

TEST(Trim, RemovesAsciiAndFullWidthSpacesAtBothEnds) {
    const std::vector<TrimCase> cases = {
        {"nothing to trim", "abc", "abc"},
        {"ascii spaces", "  a b  ", "a b"},
        {"full-width spaces", kFullWidthSpace + "a" + kFullWidthSpace + kFullWidthSpace, "a"},
        {"mixed", " " + kFullWidthSpace + " a " + kFullWidthSpace, "a"},
        {"only spaces", " " + kFullWidthSpace + " ", ""},
        {"empty", "", ""},
        {"tabs are kept", "\ta\t", "\ta\t"},
        {"inner full-width space kept", "a" + kFullWidthSpace + "b", "a" + kFullWidthSpace + "b"},
        {"character with trail A1 before a full-width space", kTrailA1 + kFullWidthSpace, kTrailA1},
        {"character with trail A1 after a full-width space", kFullWidthSpace + kTrailA1, kTrailA1},
        {"character with trail A1 before a space", kTrailA1 + " ", kTrailA1},
        {"5C character at the end", " " + kTrail5C + " ", kTrail5C},
        {"lone A1 at the end is no space", "a\xA1", "a\xA1"},
    };
    for (const TrimCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, text::Trim(c.s));
    }
}

TEST(LowerAscii, LowersAsciiLettersButNeverATrailByte) {
    EXPECT_EQ("abc.jpg", text::LowerAscii("AbC.JPG"));
    EXPECT_EQ(kTrail41 + "a", text::LowerAscii(kTrail41 + "A"));
    EXPECT_EQ("x" + kTrail41 + kTrail41 + "z", text::LowerAscii("X" + kTrail41 + kTrail41 + "Z"));
    EXPECT_EQ("", text::LowerAscii(""));
    // Bytes outside A..Z stay: '@' and '[' border the range.
    EXPECT_EQ("@[`{", text::LowerAscii("@[`{"));
}

struct NumberCase {
    const char* name;
    std::string s;
    double number;
    std::int32_t int32;
};

TEST(LeadingNumber, ReadsTheNumberATextBeginsWith) {
    const std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    const std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    const std::vector<NumberCase> cases = {
        {"decimal part after spaces", " 12.9", 12.9, 12},
        {"style 4.5", "4.5", 4.5, 4},
        {"negative", "-5", -5, -5},
        {"negative with decimals truncates toward zero", "-5.9", -5.9, -5},
        {"letters", "abc", 0, 0},
        {"empty", "", 0, 0},
        {"just above int32", "2147483648", 2147483648.0, kMax},
        {"int32 maximum", "2147483647", 2147483647.0, kMax},
        {"int32 minimum", "-2147483648", -2147483648.0, kMin},
        {"below int32", "-2147483649", -2147483649.0, kMin},
        {"eight nines", "99999999", 99999999, 99999999},
        {"no exponent", "1e5", 1, 1},
        {"plus sign", "+7", 7, 7},
        {"sign alone", "-", 0, 0},
        {"point alone", ".", 0, 0},
        {"fraction without whole part", ".5", 0.5, 0},
        {"point without fraction", "5.", 5, 5},
        {"trailing text", "800.9px", 800.9, 800},
        {"space after sign", "- 5", 0, 0},
        {"second point ends the number", "1.2.3", 1.2, 1},
        {"rounded as one number", "2.9999999999999999", 3, 3},
        {"width typed as 300", "300", 300, 300},
        {"hundreds of digits", std::string(400, '9'), std::numeric_limits<double>::infinity(),
         kMax},
        {"hundreds of digits, negative", "-" + std::string(400, '9'),
         -std::numeric_limits<double>::infinity(), kMin},
        {"hundreds of zeros after the point", "0." + std::string(400, '0') + "1", 0, 0},
        {"full-width space is not skipped", kFullWidthSpace + "5", 0, 0},
    };
    for (const NumberCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_DOUBLE_EQ(c.number, text::LeadingNumber(c.s));
        EXPECT_EQ(c.int32, text::LeadingInt32(c.s));
    }
}

TEST(Decimal, WritesSignedDecimalText) {
    EXPECT_EQ("0", text::Decimal(0));
    EXPECT_EQ("-5", text::Decimal(-5));
    EXPECT_EQ("16777215", text::Decimal(16777215));
}

struct ReplaceCase {
    const char* name;
    std::string s, from, to, expected;
};

TEST(ReplaceAll, ReplacesAtCharacterBoundariesInOnePass) {
    const std::vector<ReplaceCase> cases = {
        {"line breaks", "A\\nB\\nC", "\\n", "\r\n", "A\r\nB\r\nC"},
        {"none", "AB", "\\n", "\r\n", "AB"},
        {"empty from", "AB", "", "x", "AB"},
        {"doubled backslashes, one pass", "a\\\\\\b", "\\\\", "\\", "a\\\\b"},
        {"four backslashes", "\\\\\\\\", "\\\\", "\\", "\\\\"},
        {"5C trail followed by n is no line break", kTrail5C + "n", "\\n", "\r\n", kTrail5C + "n"},
        {"5C trail then backslash is no pair", kTrail5C + "\\x", "\\\\", "\\", kTrail5C + "\\x"},
        {"replacement is not rescanned", "aa", "a", "aa", "aaaa"},
        {"slashes", "C:/a/b", "/", "\\", "C:\\a\\b"},
    };
    for (const ReplaceCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, text::ReplaceAll(c.s, c.from, c.to));
    }
}

struct SplitCase {
    const char* name;
    std::string s, delimiter;
    std::vector<std::string> expected;
};

TEST(Split, SplitsAtDelimitersOnCharacterBoundaries) {
    const std::vector<SplitCase> cases = {
        {"path", "C:\\a\\b", "\\", {"C:", "a", "b"}},
        {"empty parts kept", "a\\\\b\\", "\\", {"a", "", "b", ""}},
        {"empty text", "", "\\", {""}},
        {"no delimiter", "abc", "\\", {"abc"}},
        {"empty delimiter", "abc", "", {"abc"}},
        {"5C character stays whole", "C:\\" + kTrail5C + "\\x", "\\", {"C:", kTrail5C, "x"}},
        {"several 5C characters",
         kTrail5C + kTrail5C2 + "\\" + kTrail5C2,
         "\\",
         {kTrail5C + kTrail5C2, kTrail5C2}},
        {"longer delimiter", "a, b, c", ", ", {"a", "b", "c"}},
    };
    for (const SplitCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, text::Split(c.s, c.delimiter));
    }
}

struct CutCase {
    const char* name;
    std::string actual, expected;
};

TEST(LeftRightMid, CutByBytePositions) {
    const std::string s = "abcdef";
    const std::vector<CutCase> cases = {
        {"Left 2", text::Left(s, 2), "ab"},
        {"Left 0", text::Left(s, 0), ""},
        {"Left negative", text::Left(s, -1), ""},
        {"Left past the end", text::Left(s, 99), "abcdef"},
        {"Right 2", text::Right(s, 2), "ef"},
        {"Right 0", text::Right(s, 0), ""},
        {"Right past the end", text::Right(s, 99), "abcdef"},
        {"Mid from 2, 3 bytes", text::Mid(s, 2, 3), "bcd"},
        {"Mid to the end", text::Mid(s, 3), "cdef"},
        {"Mid count past the end", text::Mid(s, 5, 10), "ef"},
        {"Mid from the last byte", text::Mid(s, 6), "f"},
        {"Mid from past the end", text::Mid(s, 7), ""},
        {"Mid from 0", text::Mid(s, 0, 2), ""},
        {"Mid count 0", text::Mid(s, 2, 0), ""},
        {"Left of a Chinese text counts bytes", text::Left("宋体", 2), "宋"},
        {"Mid of a Chinese text counts bytes", text::Mid("宋体x", 3, 2), "体"},
    };
    for (const CutCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, c.actual);
    }
    EXPECT_EQ(4, text::Length("宋体"));
    EXPECT_EQ(0, text::Length(""));
}

}  // namespace
