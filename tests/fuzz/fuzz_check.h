// What the fuzz targets share: a property check that names what broke and stops the run, so
// libFuzzer keeps the input that broke it.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#include <fuzzer/FuzzedDataProvider.h>

// The text in printable form: bytes outside 0x20..0x7E as \xHH.
inline std::string Printable(const std::string& s) {
    std::string out;
    for (unsigned char c : s) {
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            out += static_cast<char>(c);
        } else {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    return out;
}

#define FUZZ_CHECK(condition, input)                                                              \
    do {                                                                                          \
        if (!(condition)) {                                                                       \
            std::fprintf(stderr, "property broken: %s\n  at %s:%d\n  input \"%s\"\n", #condition, \
                         __FILE__, __LINE__, Printable(input).c_str());                           \
            std::abort();                                                                         \
        }                                                                                         \
    } while (0)
