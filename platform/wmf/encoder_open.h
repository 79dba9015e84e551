// Opening the FFmpeg encoders behind the runtime's codecs. Shared by the
// codec catalogue (which learns block sizes and codec data from an opened
// audio encoder) and the writer.
#pragma once

#include "platform/wmf/ffmpeg_ptr.h"
#include "platform/win/wintypes.h"

namespace wmf {

// Seconds between key frames: players seek to key frames, and WMV at these
// rates stays efficient with a few seconds between them.
constexpr int kKeyFrameIntervalSeconds = 3;
// How far the encoder's rate control may stray from the bit rate, as a
// share of it: FFmpeg's default (4 Mbit whatever the rate) lets a WMV
// stream run far over or under its profile's rate on short clips.
constexpr int kBitrateToleranceDivisor = 10;

struct VideoEncoderSettings {
    const char* ffmpegName;
    int width;
    int height;
    int64_t frameDuration100ns;  // the profile's AvgTimePerFrame
    int64_t bitrate;
};

// An opened encoder taking YUV 4:2:0 frames whose time base is one frame,
// or null when FFmpeg refuses the settings.
CodecContextPtr OpenVideoEncoder(const VideoEncoderSettings& s);

// An opened WMA encoder taking planar float, or null when refused.
CodecContextPtr OpenAudioEncoder(const char* ffmpegName, int channels, int sampleRate,
                                 int64_t bitrate);

}  // namespace wmf
