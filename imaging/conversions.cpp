#include "imaging/conversions.h"

#include <windows.h>

#include <algorithm>

WideText ToWideText(const std::string& text) {
    // -1: the whole zero-ended text, terminator included in the count.
    const int units = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    if (units <= 0) return {};
    WideText wide(static_cast<std::size_t>(units), L'\0');
    if (MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), units) != units) return {};
    return wide;
}

std::uint32_t ToArgb(std::uint32_t colour, std::optional<std::int32_t> opacity) {
    const std::uint32_t alpha =
        static_cast<std::uint32_t>(std::clamp(opacity.value_or(255), 0, 255));
    const std::uint32_t red = colour & 0xFF;
    const std::uint32_t green = (colour >> 8) & 0xFF;
    const std::uint32_t blue = (colour >> 16) & 0xFF;
    return (alpha << 24) | (red << 16) | (green << 8) | blue;
}
