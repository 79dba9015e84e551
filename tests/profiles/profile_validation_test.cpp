// The checks of a new profile alone, as the add-profile dialog reads its
// fields.
#include <gtest/gtest.h>

#include "profiles/profile_validation.h"

namespace {

std::string Check(const std::string& name, const ProfileFieldTexts& texts, NamedProfile& p) {
    return ValidateProfile(ParseProfileDraft(name, texts), p).message;
}

}  // namespace

TEST(ProfileValidation, LaterChecksRunOnlyOnceTheEarlierPass) {
    const ProfileFieldTexts t{"176", "144", "96", " 8", "Mono", " 8000", "  8000"};
    NamedProfile p;
    EXPECT_EQ(Check(" Phone", t, p), "");
    EXPECT_EQ(p.name, "Phone");  // the file can't hold leading spaces
    EXPECT_EQ(p.settings.framesPerSecond, 8);
    EXPECT_FALSE(p.settings.stereo);

    const std::pair<std::string ProfileFieldTexts::*, const char*> steps[] = {
        {&ProfileFieldTexts::framesPerSecond, "Please Select Frame per second!"},
        {&ProfileFieldTexts::sampleRate, "Please choose Audio Sample Bitrate!"},
        {&ProfileFieldTexts::audioBitrate, "Please choose Audio Bitrate!"},
    };
    for (const auto& [field, message] : steps) {
        ProfileFieldTexts missing = t;
        missing.*field = "";
        NamedProfile q;
        EXPECT_EQ(Check("Phone", missing, q), message);
    }
    ProfileFieldTexts zero = t;
    zero.sampleRate = "    0";
    zero.framesPerSecond = "0";
    EXPECT_EQ(Check("Phone", zero, p), "Frame per second must greater than 0!");
    zero.framesPerSecond = "30";
    EXPECT_EQ(Check("Phone", zero, p), "Audio Sample Rate must greater than 0!");
    zero.sampleRate = "8000";
    zero.audioBitrate = "0";
    EXPECT_EQ(Check("Phone", zero, p), "Audio Bitrate must greater than 0!");
    EXPECT_EQ(Check("   ", t, p), "Please input profile name!");
    EXPECT_EQ(Check("Tab\tname", t, p),
              "Profile name can not contain line breaks or control characters");
}
