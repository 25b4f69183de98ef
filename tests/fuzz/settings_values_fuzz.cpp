// Settings values read back from any text: numbers, colours and flags survive a round trip, the
// font ranges always give a usable size and style, and a list choice names a matching item.
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "app/settings_values.h"
#include "forms/runtime/text.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::int32_t number = in.ConsumeIntegral<std::int32_t>();
    const std::uint32_t colour = in.ConsumeIntegral<std::uint32_t>();
    const std::string face = in.ConsumeRandomLengthString(64);
    const std::string value = in.ConsumeRemainingBytesAsString();

    FUZZ_CHECK(FlagFromText(value) == (value == FlagText(true)), value);
    FUZZ_CHECK(FlagFromText(FlagText(true)) && !FlagFromText(FlagText(false)), value);

    // Whatever a text reads as is written and read again unchanged.
    FUZZ_CHECK(NumberFromText(NumberText(number)) == number, NumberText(number));
    const std::int32_t read = NumberFromText(value);
    FUZZ_CHECK(NumberFromText(NumberText(read)) == read, value);
    FUZZ_CHECK(read == text::LeadingInt32(value), value);
    // A number followed by anything that cannot continue it reads as that number.
    if (value.empty() || (value[0] != '.' && (value[0] < '0' || value[0] > '9'))) {
        FUZZ_CHECK(NumberFromText(NumberText(number) + value) == number, value);
    }

    FUZZ_CHECK(ColourFromText(ColourText(colour)) == colour, ColourText(colour));
    const std::uint32_t readColour = ColourFromText(value);
    FUZZ_CHECK(ColourFromText(ColourText(readColour)) == readColour, value);
    // A text that reads as an int32 gives that pattern of 32 bits.
    FUZZ_CHECK(read == std::numeric_limits<std::int32_t>::min() ||
                   read == std::numeric_limits<std::int32_t>::max() ||
                   readColour == static_cast<std::uint32_t>(read),
               value);

    const std::int32_t fontSize = FontSizeInRange(read);
    FUZZ_CHECK(fontSize >= 6 && fontSize <= 80 && (fontSize == read || fontSize == 12), value);
    const std::int32_t fontStyle = FontStyleInRange(read);
    FUZZ_CHECK(fontStyle >= 1 && fontStyle <= 4 && (fontStyle == read || fontStyle == 1), value);

    const std::string display = FontDisplayText(face, fontSize);
    FUZZ_CHECK(display == face + "(" + text::Decimal(fontSize) + ")", face);

    // The items are the value's comma-separated parts; the choice is the first equal one.
    const std::vector<std::string> items = text::Split(value, ",");
    const int index = ListChoiceIndex(items, face);
    if (index < 0) {
        for (const std::string& item : items) FUZZ_CHECK(item != face, value);
    } else {
        FUZZ_CHECK(index < static_cast<int>(items.size()) && items[index] == face, value);
        for (int i = 0; i < index; ++i) FUZZ_CHECK(items[i] != face, value);
    }
    return 0;
}
