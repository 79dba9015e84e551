// The program's own profile record, as profile.cfg stores it and the panel
// shows it: the video bit rate in kilobits per second. It never reaches an
// engine; the job control turns it into the Convert record (ProfileStruc,
// bits per second) with WidenProfile (job/converter_binding.h), the one
// place where the unit changes.
#pragma once

#include <cstddef>
#include <cstdint>

struct ProfileRecord {
    char name[1024];
    int32_t width;
    int32_t height;
    uint32_t videoKbps;
    int32_t framesPerSecond;
    int32_t audioBitrate;  // bits per second
    int32_t stereo;
    int32_t listIndex;
    int32_t deleted;
    int32_t audioCodecIndex;
    int32_t audioFormatIndex;
    int32_t sampleRate;
};

// The largest video bit rate whose bits per second fit an unsigned 32-bit
// integer; a larger one is held at this rate for the job.
constexpr uint32_t kMaxConverterVideoKbps = UINT32_MAX / 1000;

// The same 1068-byte layout as the Convert record up to the bit rate, which
// is four bytes here instead of eight.
static_assert(sizeof(ProfileRecord) == 1068, "ProfileRecord is 1068 bytes");
static_assert(offsetof(ProfileRecord, videoKbps) == 1032);
static_assert(offsetof(ProfileRecord, framesPerSecond) == 1036);
static_assert(offsetof(ProfileRecord, sampleRate) == 1064);
