#include "job/log_stamp.h"

#include <cstdio>

std::string StampLogPiece(const std::string& text, const std::tm& t) {
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%02d:%02d:%02d    ", t.tm_hour, t.tm_min, t.tm_sec);
    return stamp + text;
}

std::string StampLogPieceNow(const std::string& text) {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return StampLogPiece(text, local);
}

bool IsTransientPiece(const std::string& text) {
    return !text.empty() && text.back() == '\r';
}
