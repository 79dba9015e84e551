// The uncompressed input formats the writer takes, read from media types:
// video as DirectShow lays frames out (DWORD-aligned RGB rows, bottom-up
// when biHeight > 0; tightly packed YUV), audio as PCM or float.
#pragma once

#include <cstddef>

#include "platform/wmf/ffmpeg_ptr.h"
#include "platform/media/mediatype.h"

namespace wmf {

struct RawVideoLayout {
    AVPixelFormat pixelFormat = AV_PIX_FMT_NONE;
    int width = 0;
    int height = 0;
    bool bottomUp = false;    // first row in memory is the bottom one
    bool swapChroma = false;  // YV12: V plane before U
    size_t frameBytes = 0;
};

// False for a type that is not an uncompressed video format of a sane
// size, or whose fields contradict each other.
bool ParseRawVideo(const WM_MEDIA_TYPE& mt, RawVideoLayout* out);

// Plane pointers and line sizes of one frame at `data` (frameBytes long);
// bottom-up frames get negative line sizes so the image is upright.
void RawVideoPlanes(const RawVideoLayout& layout, const uint8_t* data, const uint8_t* planes[4],
                    int strides[4]);

struct RawAudioLayout {
    AVSampleFormat sampleFormat = AV_SAMPLE_FMT_NONE;
    int channels = 0;
    int sampleRate = 0;
    int blockAlign = 0;  // bytes of one sample of all channels
};

// False for a type that is not PCM (8, 16 or 32 bits) or float (32 or 64
// bits), or has an absurd rate or channel count or a wrong block size.
bool ParseRawAudio(const WM_MEDIA_TYPE& mt, RawAudioLayout* out);

}  // namespace wmf
