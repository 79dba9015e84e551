#include "profiles/profile_values.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// Saturating to +-2^40 is far enough past both 32-bit ranges.
int64_t LeadingNumber(const std::string& text) {
    constexpr int64_t kLimit = int64_t{1} << 40;
    size_t i = 0;
    while (i < text.size() && IsSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min(kLimit, value * 10 + (text[i] - '0'));
    return negative ? -value : value;
}

}  // namespace

int32_t TextToInt(const std::string& text) {
    const int64_t v = LeadingNumber(text);
    return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

uint32_t TextToUnsigned(const std::string& text) {
    return static_cast<uint32_t>(std::clamp<int64_t>(LeadingNumber(text), 0, UINT32_MAX));
}

ProfileRecord DefaultConfiguration() {
    ProfileRecord r;
    std::memset(&r, 0, sizeof(r));
    SetRecordName(r, kDefaultConfigurationName);
    r.width = kDefaultWidth;
    r.height = kDefaultHeight;
    r.videoKbps = kDefaultVideoKbps;
    r.framesPerSecond = kDefaultFramesPerSecond;
    r.stereo = 1;
    return r;
}

NameProblem CheckProfileName(const std::string& name) {
    if (name.empty()) return NameProblem::Empty;
    if (name.size() > kMaxProfileNameChars) return NameProblem::TooLong;
    for (char c : name) {
        if (c == '.') return NameProblem::HasSeparator;
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return NameProblem::HasControlChar;
    }
    return NameProblem::None;
}

std::string RecordName(const ProfileRecord& record) {
    const char* end = static_cast<const char*>(std::memchr(record.name, 0, sizeof(record.name)));
    return std::string(record.name, end ? end : record.name + sizeof(record.name));
}

void SetRecordName(ProfileRecord& record, const std::string& name) {
    std::memset(record.name, 0, sizeof(record.name));
    std::memcpy(record.name, name.data(), std::min(name.size(), kMaxProfileNameChars));
}
