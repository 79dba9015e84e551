#include "profiles/profile_validation.h"

#include "profiles/profile_values.h"

namespace {

// profile.cfg's reader skips white space before a name.
std::string WithoutLeadingSpace(const std::string& s) {
    const size_t first = s.find_first_not_of(" \t");
    return first == std::string::npos ? std::string() : s.substr(first);
}

ProfileProblem NameProblemOf(const std::string& name) {
    switch (CheckProfileName(name)) {
        case NameProblem::Empty:
            return ProfileProblem::NameMissing;
        case NameProblem::TooLong:
            return ProfileProblem::NameTooLong;
        case NameProblem::HasSeparator:
            return ProfileProblem::NameHasSeparator;
        case NameProblem::HasControlChar:
            return ProfileProblem::NameHasControlChar;
        case NameProblem::None:
            break;
    }
    return ProfileProblem::None;
}

const char* MessageOf(ProfileProblem problem) {
    switch (problem) {
        case ProfileProblem::None:
            return "";
        case ProfileProblem::NameMissing:
            return "Please input profile name!";
        case ProfileProblem::NameTooLong:
            return "Profile name can not be longer than 1023 characters";
        case ProfileProblem::NameHasSeparator:
            return "Profile name can not contain '.'";
        case ProfileProblem::NameHasControlChar:
            return "Profile name can not contain line breaks or control characters";
        case ProfileProblem::WidthMissing:
            return "Please input Video Width!";
        case ProfileProblem::WidthNotPositive:
            return "Video Width must greater than 0!";
        case ProfileProblem::HeightMissing:
            return "Please input Video Height!";
        case ProfileProblem::HeightNotPositive:
            return "Video Height must greater than 0!";
        case ProfileProblem::VideoBitrateMissing:
            return "Please input Video BitRate!";
        case ProfileProblem::VideoBitrateZero:
            return "Video Bitrate must greater than 0!";
        case ProfileProblem::FrameRateMissing:
            return "Please Select Frame per second!";
        case ProfileProblem::FrameRateNotPositive:
            return "Frame per second must greater than 0!";
        case ProfileProblem::SampleRateMissing:
            return "Please choose Audio Sample Bitrate!";
        case ProfileProblem::SampleRateNotPositive:
            return "Audio Sample Rate must greater than 0!";
        case ProfileProblem::AudioBitrateMissing:
            return "Please choose Audio Bitrate!";
        case ProfileProblem::AudioBitrateNotPositive:
            return "Audio Bitrate must greater than 0!";
    }
    return "";
}

template <class T>
std::optional<T> NumberOrNone(const std::string& text, T (*parse)(const std::string&)) {
    if (text.empty()) return std::nullopt;
    return parse(text);
}

}  // namespace

ProfileDraft ParseProfileDraft(const std::string& name, const ProfileFieldTexts& texts) {
    ProfileDraft d;
    d.name = name;
    d.width = NumberOrNone(texts.width, TextToInt);
    d.height = NumberOrNone(texts.height, TextToInt);
    d.videoKbps = NumberOrNone(texts.videoBitrate, TextToUnsigned);
    d.framesPerSecond = NumberOrNone(texts.framesPerSecond, TextToInt);
    d.stereo = texts.channels == kStereoText;
    d.sampleRate = NumberOrNone(texts.sampleRate, TextToInt);
    d.audioBitrate = NumberOrNone(texts.audioBitrate, TextToInt);
    return d;
}

ProfileDraft DraftOf(const NamedProfile& profile) {
    const ProfileSettings& s = profile.settings;
    ProfileDraft d;
    d.name = profile.name;
    d.width = s.width;
    d.height = s.height;
    d.videoKbps = s.videoKbps;
    d.framesPerSecond = s.framesPerSecond;
    d.stereo = s.stereo;
    d.sampleRate = s.sampleRate;
    d.audioBitrate = s.audioBitrate;
    return d;
}

ProfileCheck ValidateProfile(const ProfileDraft& d, NamedProfile& profile) {
    const auto fail = [](ProfileProblem problem) {
        return ProfileCheck{problem, MessageOf(problem)};
    };
    ProfileSettings& s = profile.settings;

    const std::string name = WithoutLeadingSpace(d.name);
    if (const ProfileProblem problem = NameProblemOf(name); problem != ProfileProblem::None)
        return fail(problem);
    profile.name = name;

    if (!d.width) return fail(ProfileProblem::WidthMissing);
    if (*d.width <= 0) return fail(ProfileProblem::WidthNotPositive);
    s.width = *d.width;

    if (!d.height) return fail(ProfileProblem::HeightMissing);
    if (*d.height <= 0) return fail(ProfileProblem::HeightNotPositive);
    s.height = *d.height;

    if (!d.videoKbps) return fail(ProfileProblem::VideoBitrateMissing);
    if (*d.videoKbps == 0) return fail(ProfileProblem::VideoBitrateZero);
    s.videoKbps = *d.videoKbps;

    if (!d.framesPerSecond) return fail(ProfileProblem::FrameRateMissing);
    if (*d.framesPerSecond <= 0) return fail(ProfileProblem::FrameRateNotPositive);
    s.framesPerSecond = *d.framesPerSecond;

    s.stereo = d.stereo;

    if (!d.sampleRate) return fail(ProfileProblem::SampleRateMissing);
    if (*d.sampleRate <= 0) return fail(ProfileProblem::SampleRateNotPositive);
    s.sampleRate = *d.sampleRate;

    if (!d.audioBitrate) return fail(ProfileProblem::AudioBitrateMissing);
    if (*d.audioBitrate <= 0) return fail(ProfileProblem::AudioBitrateNotPositive);
    s.audioBitrate = *d.audioBitrate;
    return {};
}
