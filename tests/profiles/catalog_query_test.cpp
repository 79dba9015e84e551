// The catalogue's query on tables the tests fill.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "profiles/audio_format_catalog.h"

namespace {

AudioFormatEntry E(uint16_t ch, uint32_t rate, uint32_t bitrate, uint32_t codec, uint32_t format) {
    return AudioFormatEntry{ch, rate, bitrate, codec, format};
}

void Fill(CAudioFormatCatalog& c, const std::vector<AudioFormatEntry>& entries) {
    for (const AudioFormatEntry& e : entries) ASSERT_TRUE(c.AddFormat(e));
}

std::vector<uint32_t> Rates(const AudioChoices& r) {
    return {r.rates, r.rates + r.rateCount};
}
std::vector<uint32_t> Bitrates(const AudioChoices& r) {
    return {r.bitrates, r.bitrates + r.bitrateCount};
}

bool AllZero(const AudioChoices& r) {
    AudioChoices zero;
    std::memset(&zero, 0, sizeof(zero));
    return std::memcmp(&r, &zero, sizeof(r)) == 0;
}

AudioChoices Junk() {
    AudioChoices r;
    std::memset(&r, 0xA5, sizeof(r));
    return r;
}

// A machine-like table: codec 0 lists stereo 44100 before 22050, mono
// 22050 before 8000; codec 1 repeats one stereo format.
class CatalogQuery : public ::testing::Test {
protected:
    void SetUp() override {
        Fill(catalog,
             {E(2, 44100, 128000, 0, 0), E(2, 44100, 64000, 0, 1), E(2, 22050, 32000, 0, 2),
              E(1, 22050, 20000, 0, 3), E(2, 44100, 96000, 0, 4), E(1, 8000, 8000, 0, 5),
              E(1, 22050, 16000, 0, 6), E(2, 48000, 160000, 0, 7), E(2, 44100, 64000, 1, 0)});
    }
    CAudioFormatCatalog catalog;
};

TEST(CatalogQueryCodes, CheckedInOrderAndResultAlwaysZeroed) {
    CAudioFormatCatalog empty;
    AudioChoices r = Junk();
    EXPECT_EQ(empty.Query(2, 0, 0, &r), kAudioQueryEmptyTable);
    EXPECT_TRUE(AllZero(r));
    // The empty table is reported before the missing record and the bad channel count.
    EXPECT_EQ(empty.Query(3, 0, 0, nullptr), kAudioQueryEmptyTable);

    CAudioFormatCatalog one;
    Fill(one, {E(2, 44100, 64000, 0, 0)});
    EXPECT_EQ(one.Query(3, 0, 0, nullptr), kAudioQueryNoResult);
    for (uint32_t bad : {0u, 3u, 0xFFFFFFFFu}) {
        r = Junk();
        EXPECT_EQ(one.Query(bad, 44100, 64000, &r), kAudioQueryBadChannels) << bad;
        EXPECT_TRUE(AllZero(r));
    }
}

TEST(CatalogQueryCodes, TableHoldsAtMost500) {
    CAudioFormatCatalog c;
    for (uint32_t i = 0; i < CAudioFormatCatalog::kMaxEntries; ++i)
        ASSERT_TRUE(c.AddFormat(E(2, 44100, 1000 + i, 0, i)));
    EXPECT_FALSE(c.AddFormat(E(2, 44100, 1, 0, 500)));
    EXPECT_EQ(c.Count(), 500u);
    EXPECT_EQ(c.Entry(499).formatIndex, 499u);
}

TEST_F(CatalogQuery, RatesForOneChannelCountInTableOrderOnce) {
    AudioChoices r = Junk();
    ASSERT_EQ(catalog.Query(1, 0, 0, &r), kAudioQueryOk);
    EXPECT_EQ(Rates(r), (std::vector<uint32_t>{22050, 8000}));
    ASSERT_EQ(catalog.Query(2, 0, 0, &r), kAudioQueryOk);
    EXPECT_EQ(Rates(r), (std::vector<uint32_t>{44100, 22050, 48000}));
}

TEST_F(CatalogQuery, UnofferedRateFallsBackToFirstInTableOrderNotLowest) {
    AudioChoices r;
    ASSERT_EQ(catalog.Query(2, 11025, 0, &r), kAudioQueryOk);
    EXPECT_EQ(r.chosenRate, 44100u);
    ASSERT_EQ(catalog.Query(1, 0, 0, &r), kAudioQueryOk);
    EXPECT_EQ(r.chosenRate, 22050u);
    ASSERT_EQ(catalog.Query(2, 22050, 0, &r), kAudioQueryOk);
    EXPECT_EQ(r.chosenRate, 22050u);
}

TEST_F(CatalogQuery, UnofferedBitrateFallsBackToLowestForChosenRate) {
    AudioChoices r;
    ASSERT_EQ(catalog.Query(2, 44100, 12345, &r), kAudioQueryOk);
    EXPECT_EQ(Bitrates(r), (std::vector<uint32_t>{128000, 64000, 96000}));
    EXPECT_EQ(r.chosenBitrate, 64000u);
    ASSERT_EQ(catalog.Query(2, 44100, 96000, &r), kAudioQueryOk);
    EXPECT_EQ(r.chosenBitrate, 96000u);
    EXPECT_EQ(r.audioCodecIndex, 0u);
    EXPECT_EQ(r.audioFormatIndex, 4u);
    // A bit rate offered only at another rate is not taken.
    ASSERT_EQ(catalog.Query(2, 22050, 128000, &r), kAudioQueryOk);
    EXPECT_EQ(r.chosenBitrate, 32000u);
    EXPECT_EQ(r.audioFormatIndex, 2u);
}

TEST(CatalogQueryTies, LowerCodecWinsThenLaterFormat) {
    CAudioFormatCatalog c;
    Fill(c, {E(2, 44100, 64000, 2, 0), E(2, 44100, 64000, 1, 3), E(2, 44100, 64000, 1, 5),
             E(2, 44100, 64000, 3, 9), E(1, 44100, 64000, 0, 1)});
    AudioChoices r;
    ASSERT_EQ(c.Query(2, 44100, 64000, &r), kAudioQueryOk);
    EXPECT_EQ(r.audioCodecIndex, 1u);
    EXPECT_EQ(r.audioFormatIndex, 5u);

    // The later entry wins even when it has the lower format index.
    CAudioFormatCatalog d;
    Fill(d, {E(2, 22050, 32000, 0, 7), E(2, 22050, 32000, 0, 2)});
    ASSERT_EQ(d.Query(2, 0, 0, &r), kAudioQueryOk);
    EXPECT_EQ(r.audioFormatIndex, 2u);
}

TEST_F(CatalogQuery, SuccessiveQueriesCarryNothingOver) {
    AudioChoices r;
    ASSERT_EQ(catalog.Query(2, 44100, 0, &r), kAudioQueryOk);
    ASSERT_EQ(catalog.Query(2, 48000, 0, &r), kAudioQueryOk);
    EXPECT_EQ(Bitrates(r), (std::vector<uint32_t>{160000}));
    EXPECT_EQ(r.audioFormatIndex, 7u);
    ASSERT_EQ(catalog.Query(1, 8000, 0, &r), kAudioQueryOk);
    EXPECT_EQ(Rates(r), (std::vector<uint32_t>{22050, 8000}));
    EXPECT_EQ(Bitrates(r), (std::vector<uint32_t>{8000}));
    EXPECT_EQ(r.audioFormatIndex, 5u);
}

TEST(CatalogQueryLimits, NoChannelMatchAndListCaps) {
    CAudioFormatCatalog c;
    for (uint32_t i = 0; i < 25; ++i) ASSERT_TRUE(c.AddFormat(E(2, 8000 + i, 16000, 0, i)));
    for (uint32_t i = 0; i < 120; ++i) ASSERT_TRUE(c.AddFormat(E(2, 8000, 1000 + i, 1, i)));
    AudioChoices r;
    ASSERT_EQ(c.Query(2, 0, 0, &r), kAudioQueryOk);
    EXPECT_EQ(r.rateCount, kMaxAudioChoiceRates);
    EXPECT_EQ(r.rates[19], 8019u);
    EXPECT_EQ(r.bitrateCount, kMaxAudioChoiceBitrates);
    EXPECT_EQ(r.chosenBitrate, 1000u);  // the lowest, 16000 comes first but is higher
    EXPECT_EQ(r.audioCodecIndex, 1u);

    // Only stereo in the table: a mono query succeeds with nothing offered.
    ASSERT_EQ(c.Query(1, 8000, 16000, &r), kAudioQueryOk);
    EXPECT_TRUE(AllZero(r));
}

}  // namespace
