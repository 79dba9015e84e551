#include "profiles/widgets/add_profile_validation.h"

#include "profiles/profile_values.h"

namespace {

// profile.cfg's reader skips white space before a name.
std::string WithoutLeadingSpace(const std::string& s) {
    const size_t first = s.find_first_not_of(" \t");
    return first == std::string::npos ? std::string() : s.substr(first);
}

const char* NameMessage(NameProblem problem) {
    switch (problem) {
        case NameProblem::Empty:
            return "Please input profile name!";
        case NameProblem::TooLong:
            return "Profile name can not be longer than 1023 characters";
        case NameProblem::HasSeparator:
            return "Profile name can not contain '.'";
        case NameProblem::HasControlChar:
            return "Profile name can not contain line breaks or control characters";
        case NameProblem::None:
            break;
    }
    return "";
}

}  // namespace

std::string ValidateNewProfile(const NewProfileTexts& t, ProfileRecord& profile) {
    const std::string name = WithoutLeadingSpace(t.name);
    const NameProblem nameProblem = CheckProfileName(name);
    if (nameProblem != NameProblem::None) return NameMessage(nameProblem);
    SetRecordName(profile, name);

    if (t.width.empty()) return "Please input Video Width!";
    const int32_t width = TextToInt(t.width);
    if (width <= 0) return "Video Width must greater than 0!";
    profile.width = width;

    if (t.height.empty()) return "Please input Video Height!";
    const int32_t height = TextToInt(t.height);
    if (height <= 0) return "Video Height must greater than 0!";
    profile.height = height;

    if (t.videoBitrate.empty()) return "Please input Video BitRate!";
    // Digits before any "." count: 256.9 is 256.
    const uint32_t videoKbps = TextToUnsigned(t.videoBitrate);
    if (videoKbps == 0) return "Video Bitrate must greater than 0!";
    profile.videoKbps = videoKbps;

    if (t.framesPerSecond.empty()) return "Please Select Frame per second!";
    const int32_t fps = TextToInt(t.framesPerSecond);
    if (fps <= 0) return "Frame per second must greater than 0!";
    profile.framesPerSecond = fps;

    profile.stereo = t.channels == kStereoText ? 1 : 0;

    if (t.sampleRate.empty()) return "Please choose Audio Sample Bitrate!";
    const int32_t rate = TextToInt(t.sampleRate);
    if (rate <= 0) return "Audio Sample Rate must greater than 0!";
    profile.sampleRate = rate;

    if (t.audioBitrate.empty()) return "Please choose Audio Bitrate!";
    const int32_t audioBitrate = TextToInt(t.audioBitrate);
    if (audioBitrate <= 0) return "Audio Bitrate must greater than 0!";
    profile.audioBitrate = audioBitrate;
    return "";
}
