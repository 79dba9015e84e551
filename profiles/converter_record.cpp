#include "profiles/converter_record.h"

#include <cstring>

#include "profiles/audio_format_catalog.h"

ProfileRecord MakeConverterRecord(const ProfileSettings& settings,
                                  const CAudioFormatCatalog& catalog) {
    ProfileRecord r;
    std::memset(&r, 0, sizeof(r));
    r.width = settings.width;
    r.height = settings.height;
    r.videoKbps = settings.videoKbps;
    r.framesPerSecond = settings.framesPerSecond;
    r.audioBitrate = settings.audioBitrate;
    r.sampleRate = settings.sampleRate;
    AudioChoices choices;
    // The code is not needed: a failed query leaves the choices all zero,
    // which selects codec 0, format 0.
    catalog.Query(settings.stereo ? 2u : 1u, static_cast<uint32_t>(settings.sampleRate),
                  static_cast<uint32_t>(settings.audioBitrate), &choices);
    r.audioCodecIndex = static_cast<int32_t>(choices.audioCodecIndex);
    r.audioFormatIndex = static_cast<int32_t>(choices.audioFormatIndex);
    return r;
}
