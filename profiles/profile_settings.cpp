#include "profiles/profile_settings.h"

#include "profiles/profile_values.h"

ProfileSettings ParseProfileSettings(const ProfileFieldTexts& texts) {
    ProfileSettings s;
    s.width = TextToInt(texts.width);
    s.height = TextToInt(texts.height);
    s.videoKbps = TextToUnsigned(texts.videoBitrate);
    s.framesPerSecond = TextToInt(texts.framesPerSecond);
    s.stereo = texts.channels == kStereoText;
    s.sampleRate = TextToInt(texts.sampleRate);
    s.audioBitrate = TextToInt(texts.audioBitrate);
    return s;
}

ProfileSettings SettingsOf(const ProfileRecord& record) {
    ProfileSettings s;
    s.width = record.width;
    s.height = record.height;
    s.videoKbps = record.videoKbps;
    s.framesPerSecond = record.framesPerSecond;
    s.stereo = record.stereo == 1;
    s.sampleRate = record.sampleRate;
    s.audioBitrate = record.audioBitrate;
    return s;
}

void StoreSettings(const ProfileSettings& settings, ProfileRecord& record) {
    record.width = settings.width;
    record.height = settings.height;
    record.videoKbps = settings.videoKbps;
    record.framesPerSecond = settings.framesPerSecond;
    record.stereo = settings.stereo ? 1 : 0;
    record.sampleRate = settings.sampleRate;
    record.audioBitrate = settings.audioBitrate;
}
