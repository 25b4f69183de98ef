#include "app/settings_values.h"

#include <cmath>

#include "forms/runtime/text.h"

namespace {
const char kTrueText[] = "真";
const char kFalseText[] = "假";
}  // namespace

std::string FlagText(bool value) { return value ? kTrueText : kFalseText; }

bool FlagFromText(const std::string& value) { return value == kTrueText; }

std::string NumberText(std::int32_t value) { return text::Decimal(value); }

std::int32_t NumberFromText(const std::string& value) { return text::LeadingInt32(value); }

std::string ColourText(std::uint32_t colour) {
    return text::Decimal(static_cast<std::int32_t>(colour));
}

std::uint32_t ColourFromText(const std::string& value) {
    const double lowest = -2147483648.0;  // INT32_MIN
    const double highest = 4294967295.0;  // UINT32_MAX
    double number = std::trunc(text::LeadingNumber(value));
    if (!(number >= lowest)) number = lowest;
    if (number > highest) number = highest;
    // Within [INT32_MIN, UINT32_MAX] the value fits an int64; its low 32 bits are the colour.
    return static_cast<std::uint32_t>(static_cast<std::int64_t>(number));
}

int ListChoiceIndex(const std::vector<std::string>& items, const std::string& value) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i] == value) return static_cast<int>(i);
    }
    return -1;
}

std::string FontDisplayText(const std::string& face, std::int32_t size) {
    return face + "(" + text::Decimal(size) + ")";
}

std::int32_t FontSizeInRange(std::int32_t size) { return size < 6 || size > 80 ? 12 : size; }

std::int32_t FontStyleInRange(std::int32_t style) { return style < 1 || style > 4 ? 1 : style; }
