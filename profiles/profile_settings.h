// A profile's settings as one typed record: what the output settings panel
// shows, parsed once from its fields, and what the store writes and the
// converter record is built from. The video bit rate is in kilobits per
// second, as the panel and profile.cfg hold it.
#pragma once

#include <cstdint>
#include <string>

#include "profiles/profile_record.h"

struct ProfileSettings {
    int32_t width = 0;
    int32_t height = 0;
    uint32_t videoKbps = 0;
    int32_t framesPerSecond = 0;
    bool stereo = false;
    int32_t sampleRate = 0;    // hertz
    int32_t audioBitrate = 0;  // bits per second
};

// A new profile: its name and settings, as the add-profile dialog returns it.
struct NamedProfile {
    std::string name;
    ProfileSettings settings;
};

// The texts of a profile's fields, as the panel and the add-profile dialog
// show them.
struct ProfileFieldTexts {
    std::string width;            // width field
    std::string height;           // height field
    std::string videoBitrate;     // video bit-rate field, kilobits per second
    std::string framesPerSecond;  // selected frame-rate entry
    std::string channels;         // selected channel entry: "Stereo" or "Mono"
    std::string sampleRate;       // sample-rate list text ("%5d"), may be empty
    std::string audioBitrate;     // audio bit-rate list text ("%6d"), may be empty
};

// The panel's reading of its fields: each number as the C library's atoi
// reads it (an empty text is 0), stereo when the channel text is "Stereo".
ProfileSettings ParseProfileSettings(const ProfileFieldTexts& texts);

// The settings a stored record holds, and a record's settings replaced.
ProfileSettings SettingsOf(const ProfileRecord& record);
void StoreSettings(const ProfileSettings& settings, ProfileRecord& record);
