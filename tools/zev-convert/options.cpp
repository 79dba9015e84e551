#include "tools/zev-convert/options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "convert/common/convert_api.h"
#include "platform/media/encoder_limits.h"

namespace {

bool ParseUnsigned(const std::string& text, uint64_t max, uint64_t& value) {
    if (text.empty() || text.size() > 12) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    value = std::strtoull(text.c_str(), nullptr, 10);
    return value <= max;
}

template <class T>
bool ParseNumber(const std::string& text, uint64_t min, uint64_t max, T& out) {
    uint64_t v;
    if (!ParseUnsigned(text, max, v) || v < min) return false;
    out = static_cast<T>(v);
    return true;
}

// Sizes and bit rates the runtime's encoders would refuse are refused here:
// the runtime would keep its profile's own settings and the job would make
// a file of another size and rate without a word.
bool ParseSize(const std::string& text, int32_t& w, int32_t& h) {
    const auto x = text.find_first_of("xX");
    if (x == std::string::npos) return false;
    constexpr uint64_t kMinSide = kWmvMinFrameSide;
    constexpr uint64_t kMaxSide = kWmvMaxFrameSide;
    return ParseNumber(text.substr(0, x), kMinSide, kMaxSide, w) &&
           ParseNumber(text.substr(x + 1), kMinSide, kMaxSide, h);
}

const std::string kTimeForms = "seconds such as 75 or 75.5, MM:SS or HH:MM:SS, up to " +
                               std::to_string(static_cast<long long>(kMaxRangeSeconds)) +
                               " s, that is 596523:14:07";

}  // namespace

bool ParseTime(const std::string& text, double& seconds) {
    if (text.empty() || text.size() > 32) return false;
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t colon = text.find(':', start);
        parts.push_back(text.substr(start, colon - start));
        if (colon == std::string::npos) break;
        start = colon + 1;
    }
    if (parts.size() > 3) return false;
    double total = 0;
    for (size_t i = 0; i < parts.size(); ++i) {
        const std::string& p = parts[i];
        const bool last = i + 1 == parts.size();
        if (p.empty()) return false;
        for (char c : p)
            if (!((c >= '0' && c <= '9') || (last && c == '.'))) return false;
        errno = 0;
        char* end = nullptr;
        const double v = std::strtod(p.c_str(), &end);
        if (errno != 0 || *end != '\0' || !std::isfinite(v)) return false;
        // Minutes and seconds after the first field stay below 60.
        if (i > 0 && v >= 60) return false;
        total = total * 60 + v;
    }
    // Later than the engines can reach: refused, never held to their limit.
    if (total > kMaxRangeSeconds) return false;
    seconds = total;
    return true;
}

bool ParseOptions(int argc, const char* const* argv, ConvertOptions& o, std::string& error) {
    std::vector<std::string> positional;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        // After "--" every argument is a path, even one that starts with '-'.
        if (optionsEnded) {
            positional.push_back(arg);
            continue;
        }
        auto value = [&](std::string& v) {
            if (i + 1 >= argc) {
                error = "option " + arg + " needs a value";
                return false;
            }
            v = argv[++i];
            return true;
        };
        auto bad = [&](const std::string& v, const std::string& why = {}) {
            error =
                "bad value for " + arg + ": '" + v + "'" + (why.empty() ? "" : " (" + why + ")");
            return false;
        };
        std::string v;
        if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "-h" || arg == "--help") {
            o.help = true;
        } else if (arg == "--trace") {
            o.trace = true;
        } else if (arg == "-q" || arg == "--quiet") {
            o.quiet = true;
        } else if (arg == "--ignore-free-space") {
            o.ignoreFreeSpace = true;
        } else if (arg == "-b" || arg == "--begin") {
            double s;
            if (!value(v)) return false;
            if (!ParseTime(v, s)) return bad(v, kTimeForms);
            o.beginSeconds = s;
        } else if (arg == "-e" || arg == "--end") {
            double s;
            if (!value(v)) return false;
            if (!ParseTime(v, s)) return bad(v, kTimeForms);
            o.endSeconds = s;
        } else if (arg == "-p" || arg == "--profile") {
            if (!value(o.profileName)) return false;
        } else if (arg == "--profiles") {
            if (!value(o.profilesFile)) return false;
        } else if (arg == "--library") {
            if (!value(o.library)) return false;
        } else if (arg == "-s" || arg == "--size") {
            if (!value(v)) return false;
            if (!ParseSize(v, o.width, o.height))
                return bad(v, "the runtime takes " + std::to_string(kWmvMinFrameSide) + " to " +
                                  std::to_string(kWmvMaxFrameSide) + " pixels a side");
        } else if (arg == "--video-kbps") {
            if (!value(v)) return false;
            if (!ParseNumber(v, kWmvMinVideoBitrate / 1000, kWmvMaxVideoBitrate / 1000,
                             o.videoKbps))
                return bad(v, "the runtime takes " + std::to_string(kWmvMinVideoBitrate / 1000) +
                                  " to " + std::to_string(kWmvMaxVideoBitrate / 1000) + " kbit/s");
        } else if (arg == "--fps") {
            if (!value(v)) return false;
            if (!ParseNumber(v, 1, 60, o.framesPerSecond)) return bad(v);
        } else if (arg == "--channels") {
            if (!value(v)) return false;
            if (!ParseNumber(v, 1, 2, o.channels)) return bad(v);
        } else if (arg == "--sample-rate") {
            if (!value(v)) return false;
            if (!ParseNumber(v, 1, 1000000, o.sampleRate)) return bad(v);
        } else if (arg == "--audio-bps") {
            if (!value(v)) return false;
            if (!ParseNumber(v, 1, 100000000, o.audioBitrate)) return bad(v);
        } else if (arg == "--audio-codec" || arg == "--audio-format") {
            int32_t idx;
            if (!value(v)) return false;
            if (!ParseNumber(v, 0, 100000, idx)) return bad(v);
            (arg == "--audio-codec" ? o.audioCodecIndex : o.audioFormatIndex) = idx;
        } else if (arg.size() > 1 && arg[0] == '-') {
            error = "unknown option " + arg;
            return false;
        } else {
            positional.push_back(arg);
        }
    }
    if (o.help) return true;
    if (positional.size() != 2) {
        error = "give a source and a destination";
        return false;
    }
    if (o.audioCodecIndex.has_value() != o.audioFormatIndex.has_value()) {
        error = "--audio-codec and --audio-format go together";
        return false;
    }
    o.source = positional[0];
    o.destination = positional[1];
    return true;
}

std::string UsageText(const char* program) {
    return std::string("Usage: ") + program +
           " [options] [--] SOURCE DESTINATION.wmv\n"
           "Converts the range BEGIN..END of any movie into a Windows Media file\n"
           "(WMV video and WMA audio in ASF).\n"
           "\n"
           "Range (seconds such as 75 or 75.5, or HH:MM:SS; whole seconds are used):\n"
           "  -b, --begin TIME        begin of the range (default 0)\n"
           "  -e, --end TIME          end of the range (default: the source's duration)\n"
           "\n"
           "Encoding, from a stored profile:\n"
           "  -p, --profile NAME      a profile of profile.cfg\n"
           "      --profiles FILE     the profile.cfg to read (default: the program's own)\n"
           "or from explicit settings (defaults in brackets):\n"
           "  -s, --size WxH          video frame size; odd sizes are made even [320x240]\n"
           "      --video-kbps N      video bit rate in kilobits per second [300]\n"
           "      --fps N             frames per second, 1 to 60 [25]\n"
           "      --channels N        audio channels, 1 or 2 [2]\n"
           "      --sample-rate HZ    audio sample rate [44100]; the first offered rate\n"
           "                          is used when the runtime has no such format\n"
           "      --audio-bps N       audio bit rate in bits per second [64000]; the lowest\n"
           "                          offered bit rate is used when it is not offered\n"
           "      --audio-codec I --audio-format J\n"
           "                          use the runtime's audio format J of codec I directly\n"
           "\n"
           "Other:\n"
           "      --library FILE      bind this converter library instead of\n"
           "                          libtranzo9.so (with libtranzo8.so as fallback)\n"
           "      --trace             show the converter's trace lines on stderr\n"
           "  -q, --quiet             no progress line\n"
           "      --ignore-free-space convert even when the destination's file system\n"
           "                          has less free space than the file is expected to\n"
           "                          take ((video + audio bit rate) x range, plus 5 %\n"
           "                          and 64 KiB); without it such a job is refused\n"
           "  -h, --help              this text\n"
           "      --                  the end of the options: a SOURCE or DESTINATION\n"
           "                          that begins with '-' follows it\n"
           "\n"
           "Ctrl+C stops the job; the file written so far is closed and kept.\n"
           "Exit status: 0 done, 1 the job aborted, 2 bad arguments or a job refused\n"
           "before it began (such as for want of free space), 130 stopped.\n";
}
