// The checks of the add-profile dialog's OK, without widgets: the texts the
// dialog's controls hold go in, the first failed check's message comes out.
#pragma once

#include <string>

#include "profiles/profile_record.h"

struct NewProfileTexts {
    std::string name;
    std::string width;
    std::string height;
    std::string videoBitrate;     // kilobits per second, may hold a "."
    std::string framesPerSecond;  // selected entry, " 1" to "30"
    std::string channels;         // "Stereo" or "Mono"
    std::string sampleRate;       // "%5d" text, empty when the list is empty
    std::string audioBitrate;     // "%6d" text
};

// Runs the checks in order and stores each passing value in `profile` as it
// goes (name, width, height, videoKbps, the
// frame rate, stereo, sampleRate, audioBitrate; nothing else is touched).
// Returns "" when every check passed, otherwise the message of the first
// that failed. The name is checked for what profile.cfg can hold right
// after its emptiness, so that the dialog can keep what the user typed.
std::string ValidateNewProfile(const NewProfileTexts& texts, ProfileRecord& profile);
