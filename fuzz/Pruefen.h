#pragma once

// What every harness checks beside "no crash": a property that must hold for any input. A
// violation aborts, so that libFuzzer keeps the input as a finding.

#include "text/Utf8.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

inline void pruefen(bool bedingung, const char* was)
{
    if (!bedingung) {
        std::fprintf(stderr, "Eigenschaft verletzt: %s\n", was);
        std::abort();
    }
}

// True when s is valid UTF-8 throughout: every text inside the program must be.
inline bool gueltigesUtf8(std::string_view s)
{
    for (std::size_t pos = 0; pos < s.size();) {
        const std::size_t anfang = pos;
        const char32_t c = text::nextCodePoint(s, pos);
        if (pos - anfang == 1 && c >= 0x80)
            return false;
    }
    return true;
}
