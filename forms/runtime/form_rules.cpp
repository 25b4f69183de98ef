#include "forms/runtime/form_rules.h"

#include <algorithm>

namespace forms {

bool NumericEditAccepts(unsigned char typed) {
    return typed < 0x20 || (typed >= '0' && typed <= '9') || typed == '-';
}

std::string NumericCharacters(const std::string& pasted) {
    std::string kept;
    for (char c : pasted) {
        unsigned char u = static_cast<unsigned char>(c);
        if ((u >= '0' && u <= '9') || u == '-') kept += c;
    }
    return kept;
}

int FrameDelayMilliseconds(long hundredths) {
    if (hundredths <= 1) return 100;
    return static_cast<int>(std::min<long>(hundredths, 6000) * 10);
}

int CentredOrigin(int length, Span area, Span bounds) {
    int origin = area.origin + (area.length - length) / 2;
    origin = std::min(origin, bounds.origin + bounds.length - length);
    return std::max(origin, bounds.origin);
}

}  // namespace forms
