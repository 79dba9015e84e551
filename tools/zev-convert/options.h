// Command-line options of zev-convert: parsing only, no side effects.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct ConvertOptions {
    std::string source;
    std::string destination;
    std::optional<double> beginSeconds;  // default 0
    std::optional<double> endSeconds;    // default: the source's duration

    // Either a stored profile ...
    std::string profileName;
    std::string profilesFile;  // default: the program's profile.cfg
    // ... or explicit settings.
    int32_t width = 320;
    int32_t height = 240;
    uint32_t videoKbps = 300;
    int32_t framesPerSecond = 25;
    uint32_t channels = 2;
    uint32_t sampleRate = 44100;
    uint32_t audioBitrate = 64000;
    // The runtime's audio codec and format, chosen directly.
    std::optional<int32_t> audioCodecIndex;
    std::optional<int32_t> audioFormatIndex;

    std::string library;  // bind this converter library instead of the usual pair
    bool trace = false;   // show the engines' trace lines on stderr
    bool quiet = false;   // no progress line
    // Convert even when the destination's disk has less room than the
    // output is expected to take.
    bool ignoreFreeSpace = false;
    bool help = false;
};

// Parses argv; on failure returns false with a one-line `error` that quotes
// the argument as given. "--" ends the options.
bool ParseOptions(int argc, const char* const* argv, ConvertOptions& out, std::string& error);

// "75", "75.5", "1:15" (MM:SS) or "00:01:15" (HH:MM:SS; hours not limited to
// 24) to seconds. False for anything else, negatives included, and for a
// time later than the engines take (kMaxRangeSeconds).
bool ParseTime(const std::string& text, double& seconds);

std::string UsageText(const char* program);
