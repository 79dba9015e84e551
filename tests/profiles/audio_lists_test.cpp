// What the panel's audio lists show and select.
#include <gtest/gtest.h>

#include "profiles/audio_format_catalog.h"
#include "profiles/audio_lists.h"

namespace {

class AudioListsTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const AudioFormatEntry& e :
             std::initializer_list<AudioFormatEntry>{{2, 44100, 128000, 0, 0},
                                                     {2, 44100, 64000, 0, 1},
                                                     {2, 22050, 32000, 0, 2},
                                                     {1, 22050, 32000, 0, 3},
                                                     {1, 44100, 48000, 0, 4},
                                                     {1, 44100, 64000, 0, 5},
                                                     {1, 8000, 24000, 0, 6}})
            catalog.AddFormat(e);
    }
    CAudioFormatCatalog catalog;
};

TEST_F(AudioListsTest, StoredProfileSelectsOnlyWhatIsOffered) {
    AudioLists l = AudioListsForProfile(catalog, 2, 22050, 32000);
    EXPECT_EQ(l.rates, (std::vector<uint32_t>{44100, 22050}));
    EXPECT_EQ(l.selectedRate, 1);
    EXPECT_EQ(l.bitrates, (std::vector<uint32_t>{32000}));
    EXPECT_EQ(l.selectedBitrate, 0);

    // An unoffered rate: no rate selected, bit rates of the first offered rate.
    l = AudioListsForProfile(catalog, 2, 11025, 64000);
    EXPECT_EQ(l.selectedRate, -1);
    EXPECT_EQ(l.bitrates, (std::vector<uint32_t>{128000, 64000}));
    EXPECT_EQ(l.selectedBitrate, 1);
    l = AudioListsForProfile(catalog, 2, 44100, 16000);
    EXPECT_EQ(l.selectedRate, 0);
    EXPECT_EQ(l.selectedBitrate, -1);
}

TEST_F(AudioListsTest, ChannelChangeKeepsOfferedValuesElseLowest) {
    // Stereo 44100/64000 to mono: both are offered for one channel.
    AudioLists l = AudioListsKeeping(catalog, 1, 44100, 64000);
    EXPECT_EQ(l.rates[l.selectedRate], 44100u);
    EXPECT_EQ(l.bitrates[l.selectedBitrate], 64000u);
    // Stereo 44100/128000 to mono: the bit rate falls to the lowest for 44100.
    l = AudioListsKeeping(catalog, 1, 44100, 128000);
    EXPECT_EQ(l.bitrates[l.selectedBitrate], 48000u);
    // Mono 8000 to stereo: the lowest stereo rate, not the first listed.
    l = AudioListsKeeping(catalog, 2, 8000, 24000);
    EXPECT_EQ(l.rates[l.selectedRate], 22050u);
    EXPECT_EQ(l.bitrates, (std::vector<uint32_t>{32000}));
    EXPECT_EQ(l.selectedBitrate, 0);

    CAudioFormatCatalog empty;
    l = AudioListsKeeping(empty, 2, 44100, 64000);
    EXPECT_TRUE(l.rates.empty());
    EXPECT_TRUE(l.bitrates.empty());
    EXPECT_EQ(l.selectedRate, -1);
    EXPECT_EQ(l.selectedBitrate, -1);
}

}  // namespace
