// How the settings file stores each kind of value as text, and the range rules applied to the
// font settings after reading them. No file access here: callers read and write the profile.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Flag: "真" for true, "假" for false. Only the exact text "真" reads as true; any other text,
// the empty one included, is false.
std::string FlagText(bool value);
bool FlagFromText(const std::string& value);

// Number: a 32-bit signed integer as decimal text. Read as the number the text begins with,
// truncated toward zero (0 when there is none; clamped to the int32 range).
std::string NumberText(std::int32_t value);
std::int32_t NumberFromText(const std::string& value);

// Colour: a COLORREF written as a number. Every 32-bit pattern survives a round trip: colours
// with the top bit set are written as negative numbers, as the signed number they are stored as.
// Reading accepts both readings of 32 bits: a whole number from -2147483648 to 4294967295 is
// taken modulo 2^32 (so "-1" and "4294967295" both give 0xFFFFFFFF); a number beyond that range
// is clamped to its end first. Real colours (0 .. 0x00FFFFFF) read and write plainly.
std::string ColourText(std::uint32_t colour);
std::uint32_t ColourFromText(const std::string& value);

// List choice: the index of the first item whose whole text equals the stored value byte for
// byte, or -1 when none does (the list then keeps the selection it has).
int ListChoiceIndex(const std::vector<std::string>& items, const std::string& value);

// The font display of the main window: face, "(", size in decimal, ")", e.g. "宋体(30)".
std::string FontDisplayText(const std::string& face, std::int32_t size);

// A font size outside 6..80 becomes 12; a FontStyleCode outside 1..4 becomes 1 (regular).
std::int32_t FontSizeInRange(std::int32_t size);
std::int32_t FontStyleInRange(std::int32_t style);
