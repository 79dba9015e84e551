#include "job/progress_text.h"

#include <cstdio>

std::string ProgressWords(int percent) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "Under converting, please wait...%d%% finished", percent);
    return buf;
}

std::string FormatProgressText(int percent, int spinner) {
    return ProgressWords(percent) + '\r' + kSpinnerChars[spinner & 3];
}

int NextSpinner(int spinner) {
    return spinner >= 3 ? 0 : spinner + 1;
}

std::string StatusBarText(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (c != '\r' && c != '\n') out.push_back(c);
    return out;
}

std::string ProgressBarText(int percent, long long elapsedMs) {
    char buf[64];
    // Below 1 % or within the first two seconds the rate says little.
    if (percent <= 0 || percent >= 100 || elapsedMs < 2000) {
        std::snprintf(buf, sizeof buf, "%d%%", percent);
        return buf;
    }
    const long long leftSeconds = (elapsedMs * (100 - percent) / percent + 999) / 1000;
    const long long h = leftSeconds / 3600, m = leftSeconds / 60 % 60, s = leftSeconds % 60;
    if (h > 0) {
        std::snprintf(buf, sizeof buf, "%d%% - %lld:%02lld:%02lld left", percent, h, m, s);
    } else {
        std::snprintf(buf, sizeof buf, "%d%% - %lld:%02lld left", percent, m, s);
    }
    return buf;
}
