#include "profiles/converter_record.h"

#include <cstring>

#include "profiles/audio_format_catalog.h"
#include "profiles/profile_values.h"

ProfileRecord MakeConverterRecord(int32_t width, int32_t height, uint32_t videoKbps,
                                  int32_t framesPerSecond, int channels, int32_t sampleRate,
                                  int32_t audioBitrate, const CAudioFormatCatalog& catalog) {
    ProfileRecord r;
    std::memset(&r, 0, sizeof(r));
    r.width = width;
    r.height = height;
    r.videoKbps = videoKbps;
    r.framesPerSecond = framesPerSecond;
    r.audioBitrate = audioBitrate;
    r.sampleRate = sampleRate;
    AudioChoices choices;
    // The code is not needed: a failed query leaves the choices all zero,
    // which selects codec 0, format 0.
    catalog.Query(static_cast<uint32_t>(channels), static_cast<uint32_t>(sampleRate),
                  static_cast<uint32_t>(audioBitrate), &choices);
    r.audioCodecIndex = static_cast<int32_t>(choices.audioCodecIndex);
    r.audioFormatIndex = static_cast<int32_t>(choices.audioFormatIndex);
    return r;
}
