// What the command-line converter asks of the profiles.
#include <gtest/gtest.h>

#include "profiles/audio_format_catalog.h"
#include "profiles/profile_lookup.h"
#include "profiles/profile_values.h"
#include "store_test_support.h"

namespace {

TEST(ProfileLookup, ProfileByNameToConverterRecord) {
    TempDir dir;
    const std::string path = dir.Path("profile.cfg");
    WriteFileBytes(
        path,
        "3,0\nDefault.640,480,220,15,32000,1,44100\r\nSmall screen.320,240,128,15,16000,0,22050\r\n"
        "broken\r\n");
    CAudioFormatCatalog catalog;
    catalog.AddFormat({2, 44100, 32000, 0, 2});
    catalog.AddFormat({1, 22050, 16000, 0, 5});
    catalog.AddFormat({1, 22050, 16000, 1, 0});

    ProfileRecord p{};
    std::string error;
    ASSERT_TRUE(FindProfileInFile(path, "Small screen", p, error)) << error;
    EXPECT_EQ(p.videoKbps, 128u);
    const ProfileRecord r = ConverterRecordFromProfile(p, catalog);
    EXPECT_EQ(r.videoKbps, 128u);  // the job control turns it into bits
    EXPECT_EQ(r.width, 320);
    EXPECT_EQ(r.audioCodecIndex, 0);
    EXPECT_EQ(r.audioFormatIndex, 5);
    EXPECT_EQ(r.sampleRate, 22050);

    EXPECT_FALSE(FindProfileInFile(path, "small screen", p, error));
    EXPECT_EQ(error, "no profile named \"small screen\" in " + path);
    EXPECT_FALSE(FindProfileInFile(dir.Path("none.cfg"), "Default", p, error));
    EXPECT_EQ(error, "cannot read " + dir.Path("none.cfg"));
}

TEST(ProfileLookup, PickAudioFormatReportsWhatWasChosen) {
    CAudioFormatCatalog catalog;
    EXPECT_EQ(PickAudioFormat(catalog, 2, 44100, 64000).status, kAudioQueryEmptyTable);
    catalog.AddFormat({2, 44100, 64000, 0, 1});
    catalog.AddFormat({2, 44100, 48000, 0, 2});
    catalog.AddFormat({2, 22050, 32000, 0, 3});

    AudioFormatPick pick = PickAudioFormat(catalog, 2, 22050, 32000);
    EXPECT_EQ(pick.status, kAudioQueryOk);
    EXPECT_EQ(pick.formatIndex, 3u);
    pick = PickAudioFormat(catalog, 2, 11025, 0);
    EXPECT_EQ(pick.sampleRate, 44100u);
    EXPECT_EQ(pick.bitrate, 48000u);
    EXPECT_EQ(pick.formatIndex, 2u);
    pick = PickAudioFormat(catalog, 6, 44100, 64000);
    EXPECT_EQ(pick.status, kAudioQueryBadChannels);
    EXPECT_EQ(pick.codecIndex, 0u);
}

}  // namespace
