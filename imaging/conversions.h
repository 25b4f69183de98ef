// The two conversions between the program's own values and GDI+: system text to UTF-16, and a
// stored COLORREF plus an opacity to the 32-bit ARGB colour that GDI+ brushes take.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

static_assert(sizeof(wchar_t) == 2, "GDI+ takes UTF-16 text");

// UTF-16 code units followed by one zero unit. Its byte length is 2 × (characters + 1); a text
// that cannot be converted gives an empty buffer, which GDI+ then refuses on its own terms.
using WideText = std::vector<wchar_t>;

// System text (ANSI code page, measured in bytes, ending at its first zero byte) to UTF-16.
WideText ToWideText(const std::string& text);

// The buffer's length in bytes, terminator included.
inline std::size_t ByteLength(const WideText& wide) { return wide.size() * sizeof(wchar_t); }

// The characters without the terminator: (byte length ÷ 2) − 1, never below 0.
inline int CharacterCount(const WideText& wide) {
    return wide.empty() ? 0 : static_cast<int>(wide.size()) - 1;
}

// COLORREF (0x00BBGGRR, top byte ignored) and opacity (alpha 0..255, 255 when absent) to ARGB.
// An opacity outside 0..255 is clamped into it, so it never spills into the colour bits.
std::uint32_t ToArgb(std::uint32_t colour, std::optional<std::int32_t> opacity = std::nullopt);
