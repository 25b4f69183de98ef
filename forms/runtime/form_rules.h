// Small rules of the form runtime that need no window: what a numeric edit box accepts, how long
// a frame of an animated picture stays, where a centred window goes.
#pragma once

#include <string>

namespace forms {

// A numeric edit box takes the digits 0-9 and the minus sign as typed characters. Control
// characters (below 0x20: backspace, the clipboard shortcuts) keep working.
bool NumericEditAccepts(unsigned char typed);
// The part of a pasted text that a numeric edit box keeps: its digits and minus signs, in order.
std::string NumericCharacters(const std::string& pasted);

// Display time of one frame of an animated picture, from its delay in hundredths of a second as
// stored in the file. Delays of 0 and 1 are shown for 100 ms, as browsers do; a delay never
// exceeds a minute, so a corrupt value cannot freeze the animation for good.
int FrameDelayMilliseconds(long hundredths);

struct Span {
    int origin;
    int length;
};
// Origin of a window of `length` centred on `area`, pulled back inside `bounds` where it would
// stick out (a window larger than `bounds` starts at its origin).
int CentredOrigin(int length, Span area, Span bounds);

}  // namespace forms
