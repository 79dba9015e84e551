#include "preview/time_value.h"

#include <cstdio>
#include <limits>

unsigned BoxNumber(const std::string& text) {
    unsigned long long n = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        n = n * 10 + static_cast<unsigned>(c - '0');
        if (n > std::numeric_limits<unsigned>::max()) return std::numeric_limits<unsigned>::max();
    }
    return static_cast<unsigned>(n);
}

std::string CommittedBoxText(const std::string& text) {
    unsigned n = BoxNumber(text);
    if (n > 59) n = 59;
    char out[8];
    std::snprintf(out, sizeof out, "%02u", n);
    return out;
}

unsigned FieldValue(const std::string& hours, const std::string& minutes,
                    const std::string& seconds) {
    const unsigned long long v =
        3600ull * BoxNumber(hours) + 60ull * BoxNumber(minutes) + BoxNumber(seconds);
    return v > std::numeric_limits<unsigned>::max() ? std::numeric_limits<unsigned>::max()
                                                    : static_cast<unsigned>(v);
}

TimeFieldTexts TextsOfValue(unsigned seconds) {
    char h[16], m[8], s[8];
    std::snprintf(h, sizeof h, "%02u", seconds / 3600);
    std::snprintf(m, sizeof m, "%02u", (seconds / 60) % 60);
    std::snprintf(s, sizeof s, "%02u", seconds % 60);
    return {h, m, s};
}

FieldCommit DecideCommit(unsigned shown, unsigned previous, unsigned maximum) {
    if (shown == previous) return FieldCommit::Nothing;
    if (shown > maximum) return FieldCommit::Restore;
    return FieldCommit::Report;
}
