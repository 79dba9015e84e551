// The one decision whether a new profile can be stored: the add-profile
// dialog's checks in its order, with its messages. The dialog runs it on
// OK; the store runs it again on Add, for a profile from anywhere else, and
// words the name problems in its own way (its messages end "add failed!").
//
// Threads: any; pure.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "profiles/profile_settings.h"

// What a new profile's fields hold before the checks: each number read from
// its text, none where the field was left empty.
struct ProfileDraft {
    std::string name;
    std::optional<int32_t> width;
    std::optional<int32_t> height;
    std::optional<uint32_t> videoKbps;  // digits before any "." count: 256.9 is 256
    std::optional<int32_t> framesPerSecond;
    bool stereo = false;
    std::optional<int32_t> sampleRate;
    std::optional<int32_t> audioBitrate;
};

// The dialog's fields, read once.
ProfileDraft ParseProfileDraft(const std::string& name, const ProfileFieldTexts& texts);
// A profile that comes as values, every field given.
ProfileDraft DraftOf(const NamedProfile& profile);

enum class ProfileProblem {
    None,
    NameMissing,
    NameTooLong,
    NameHasSeparator,    // "." separates the name in profile.cfg
    NameHasControlChar,  // a line break would split the file's line
    WidthMissing,
    WidthNotPositive,
    HeightMissing,
    HeightNotPositive,
    VideoBitrateMissing,
    VideoBitrateZero,
    FrameRateMissing,
    FrameRateNotPositive,
    SampleRateMissing,
    SampleRateNotPositive,
    AudioBitrateMissing,
    AudioBitrateNotPositive,
};

struct ProfileCheck {
    ProfileProblem problem = ProfileProblem::None;
    std::string message;  // the dialog's words; empty when every check passed
    bool Passed() const { return problem == ProfileProblem::None; }
    bool IsAboutTheName() const {
        return problem >= ProfileProblem::NameMissing &&
               problem <= ProfileProblem::NameHasControlChar;
    }
};

// Runs the checks in order and stores each passing value in `profile` as it
// goes (the name without the leading white space that profile.cfg's reader
// would drop); the first that fails ends the checks. The name is checked
// for what profile.cfg can hold right after its emptiness, so that the
// dialog can keep what the user typed.
ProfileCheck ValidateProfile(const ProfileDraft& draft, NamedProfile& profile);
