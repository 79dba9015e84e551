// The encoding record handed to Convert, byte for byte the same on both
// sides of the library boundary.
#pragma once

#include <cstddef>
#include <cstdint>

struct ProfileStruc {
    char name[1024];          // not read by the engines; passed as zeroes
    int32_t width;            // even
    int32_t height;           // even
    double videoBitrate;      // bits per second
    int32_t framesPerSecond;  // > 0
    int32_t audioBitrate;     // bits per second; informational
    int32_t stereo;           // 1 two channels, 0 one; informational
    int32_t listIndex;
    int32_t deleted;
    int32_t audioCodecIndex;   // runtime's audio codec enumeration index
    int32_t audioFormatIndex;  // format within that codec
    int32_t sampleRate;        // Hz; informational
};

static_assert(sizeof(double) == 8 && alignof(double) == 8, "double must be 8 bytes, 8-aligned");
static_assert(sizeof(ProfileStruc) == 1072, "ProfileStruc is 1072 bytes");
static_assert(offsetof(ProfileStruc, name) == 0);
static_assert(offsetof(ProfileStruc, width) == 1024);
static_assert(offsetof(ProfileStruc, height) == 1028);
static_assert(offsetof(ProfileStruc, videoBitrate) == 1032);
static_assert(offsetof(ProfileStruc, framesPerSecond) == 1040);
static_assert(offsetof(ProfileStruc, audioBitrate) == 1044);
static_assert(offsetof(ProfileStruc, stereo) == 1048);
static_assert(offsetof(ProfileStruc, listIndex) == 1052);
static_assert(offsetof(ProfileStruc, deleted) == 1056);
static_assert(offsetof(ProfileStruc, audioCodecIndex) == 1060);
static_assert(offsetof(ProfileStruc, audioFormatIndex) == 1064);
static_assert(offsetof(ProfileStruc, sampleRate) == 1068);
