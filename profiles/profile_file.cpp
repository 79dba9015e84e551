#include "profiles/profile_file.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <limits>

#include "profiles/profile_values.h"

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// A cursor over one line, reading the pieces the way the file's scanf
// formats do: "%d" skips white space before a number, literals match
// exactly, the closing "\n" accepts only white space.
class LineReader {
public:
    explicit LineReader(std::string_view line) : m_s(line) {}

    bool Literal(char c) {
        if (m_i >= m_s.size() || m_s[m_i] != c) return false;
        ++m_i;
        return true;
    }
    bool Number(int64_t lo, int64_t hi, int64_t& out) {
        while (m_i < m_s.size() && IsSpace(m_s[m_i])) ++m_i;
        bool negative = false;
        if (m_i < m_s.size() && (m_s[m_i] == '+' || m_s[m_i] == '-')) negative = m_s[m_i++] == '-';
        const size_t first = m_i;
        int64_t v = 0;
        for (; m_i < m_s.size() && m_s[m_i] >= '0' && m_s[m_i] <= '9'; ++m_i) {
            v = v * 10 + (m_s[m_i] - '0');
            if (v > hi + int64_t{1}) return false;  // out of range; also stops overflow
        }
        if (m_i == first) return false;
        out = negative ? -v : v;
        return out >= lo && out <= hi;
    }
    bool Int(int32_t& out) {
        int64_t v = 0;
        if (!Number(std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(), v))
            return false;
        out = static_cast<int32_t>(v);
        return true;
    }
    bool Unsigned(uint32_t& out) {
        int64_t v = 0;
        if (!Number(0, UINT32_MAX, v)) return false;
        out = static_cast<uint32_t>(v);
        return true;
    }
    // Everything up to the first "." (not included), at least one character.
    bool Name(std::string_view& out) {
        const size_t dot = m_s.find('.', m_i);
        if (dot == std::string_view::npos || dot == m_i) return false;
        out = m_s.substr(m_i, dot - m_i);
        m_i = dot;
        return true;
    }
    bool AtEnd() {
        while (m_i < m_s.size() && IsSpace(m_s[m_i])) ++m_i;
        return m_i == m_s.size();
    }

private:
    std::string_view m_s;
    size_t m_i = 0;
};

struct Line {
    std::string_view text;  // leading white space skipped, no line break
    int number;             // 1-based, for messages
};

// Splits on "\r\n", "\n" or "\r"; blank lines are dropped, as the formats'
// white-space skipping drops them.
std::vector<Line> SplitLines(std::string_view text) {
    std::vector<Line> lines;
    int number = 1;
    size_t i = 0;
    while (i < text.size()) {
        size_t end = i;
        while (end < text.size() && text[end] != '\n' && text[end] != '\r') ++end;
        size_t start = i;
        while (start < end && IsSpace(text[start])) ++start;
        if (start < end) lines.push_back({text.substr(start, end - start), number});
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() &&
            text[end + 1] == '\n')
            ++end;
        i = end + 1;
        ++number;
    }
    return lines;
}

bool ParseHeader(std::string_view line, int32_t& count, int32_t& selected) {
    LineReader r(line);
    return r.Int(count) && r.Literal(',') && r.Int(selected) && r.AtEnd();
}

bool ParseProfile(std::string_view line, std::string_view& name, ProfileRecord& p) {
    LineReader r(line);
    return r.Name(name) && r.Literal('.') && r.Int(p.width) && r.Literal(',') && r.Int(p.height) &&
           r.Literal(',') && r.Unsigned(p.videoKbps) && r.Literal(',') &&
           r.Int(p.framesPerSecond) && r.Literal(',') && r.Int(p.audioBitrate) && r.Literal(',') &&
           r.Int(p.stereo) && r.Literal(',') && r.Int(p.sampleRate) && r.AtEnd();
}

// Cuts at a character boundary of UTF-8 text so that the kept name still
// displays; other 8-bit text is cut at the byte limit.
size_t NameCut(std::string_view name) {
    size_t cut = kMaxProfileNameChars;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
    return cut == 0 ? kMaxProfileNameChars : cut;
}

std::string Describe(int lineNumber, const char* what) {
    char buf[160];
    std::snprintf(buf, sizeof(buf), "Line %d %s", lineNumber, what);
    return buf;
}

}  // namespace

ProfileFileContents ParseProfileFile(std::string_view text) {
    ProfileFileContents out;
    const std::vector<Line> lines = SplitLines(text);
    size_t first = 0;
    int32_t declared = 0;
    int32_t selected = 0;
    bool haveHeader = false;
    if (!lines.empty()) {
        haveHeader = ParseHeader(lines[0].text, declared, selected);
        if (haveHeader) {
            first = 1;
        } else {
            out.problems.push_back(Describe(lines[0].number,
                                            "is not the header \"count,selected\"; "
                                            "the first profile is selected."));
        }
    }

    for (size_t i = first; i < lines.size(); ++i) {
        ProfileRecord p;
        std::memset(&p, 0, sizeof(p));
        std::string_view name;
        if (std::memchr(lines[i].text.data(), '\0', lines[i].text.size()) ||
            !ParseProfile(lines[i].text, name, p)) {
            out.problems.push_back(Describe(lines[i].number, "is not a profile and was left out."));
            out.lossy = true;
            continue;
        }
        if (name.size() > kMaxProfileNameChars) {
            name = name.substr(0, NameCut(name));
            out.problems.push_back(
                Describe(lines[i].number, "has a name longer than 1023 characters; it was cut."));
            out.lossy = true;
        }
        SetRecordName(p, std::string(name));
        out.profiles.push_back(p);
    }

    const int found = static_cast<int>(out.profiles.size());
    if (haveHeader && declared != found) {
        char buf[160];
        std::snprintf(buf, sizeof(buf), "The header declares %d profiles, the file holds %d.",
                      static_cast<int>(declared), found);
        out.problems.push_back(buf);
    }
    if (selected > found - 1) selected = found - 1;
    if (selected < 0) selected = 0;
    out.selectedIndex = selected;
    return out;
}

std::string FormatProfileFile(int selectedIndex, const std::vector<ProfileRecord>& profiles) {
    int count = 0;
    for (const ProfileRecord& p : profiles)
        if (!p.deleted) ++count;
    std::string text;
    char buf[200];
    std::snprintf(buf, sizeof(buf), "%d,%d\n", count, selectedIndex);
    text += buf;
    for (const ProfileRecord& p : profiles) {
        if (p.deleted) continue;
        text += RecordName(p);
        std::snprintf(buf, sizeof(buf), ".%d,%d,%" PRIu32 ",%d,%d,%d,%d\n",
                      static_cast<int>(p.width), static_cast<int>(p.height), p.videoKbps,
                      static_cast<int>(p.framesPerSecond), static_cast<int>(p.audioBitrate),
                      static_cast<int>(p.stereo), static_cast<int>(p.sampleRate));
        text += buf;
    }
    return text;
}
