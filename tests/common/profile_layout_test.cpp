#include <gtest/gtest.h>

#include <cstring>

#include "job/converter_binding.h"

TEST(ProfileStruc, WidenedRecordMakesOddSizesEvenAndCopiesTheRest) {
    ProfileRecord rec;
    std::memset(&rec, 0x5A, sizeof rec);
    std::strcpy(rec.name, "Not passed");
    rec.width = 321;
    rec.height = -3;
    rec.videoKbps = 300;
    rec.framesPerSecond = 25;
    rec.audioBitrate = 64000;
    rec.stereo = 1;
    rec.listIndex = 4;
    rec.deleted = 0;
    rec.audioCodecIndex = 1;
    rec.audioFormatIndex = 9;
    rec.sampleRate = 44100;

    const ProfileStruc p = WidenProfile(rec);
    EXPECT_EQ(p.width, 322);
    EXPECT_EQ(p.height, -2);
    EXPECT_EQ(p.videoBitrate, 300000.0);  // kilobits become bits per second
    EXPECT_EQ(p.framesPerSecond, 25);
    EXPECT_EQ(p.audioBitrate, 64000);
    EXPECT_EQ(p.stereo, 1);
    EXPECT_EQ(p.listIndex, 4);
    EXPECT_EQ(p.audioCodecIndex, 1);
    EXPECT_EQ(p.audioFormatIndex, 9);
    EXPECT_EQ(p.sampleRate, 44100);
    const char zeros[1024] = {};
    EXPECT_EQ(std::memcmp(p.name, zeros, sizeof zeros), 0);

    rec.width = 320;
    rec.height = 240;
    const ProfileStruc even = WidenProfile(rec);
    EXPECT_EQ(even.width, 320);
    EXPECT_EQ(even.height, 240);
}

TEST(ProfileStruc, RatesBeyondThirtyTwoBitsAreHeldAtTheLargestThatFits) {
    ProfileRecord rec{};
    const double most = kMaxConverterVideoKbps * 1000.0;
    for (uint32_t kbps : {kMaxConverterVideoKbps, kMaxConverterVideoKbps + 1, UINT32_MAX}) {
        rec.videoKbps = kbps;
        EXPECT_EQ(WidenProfile(rec).videoBitrate, most) << kbps;
    }
    EXPECT_LE(most, static_cast<double>(UINT32_MAX));
    rec.videoKbps = 0;
    EXPECT_EQ(WidenProfile(rec).videoBitrate, 0.0);
}

extern "C" {
size_t ProfileSizeSeenFromC(void);
void FillProfileFromC(void* record);
}

TEST(ProfileStruc, ACallerCompiledAsCSeesTheSameRecord) {
    // The record crosses a library boundary: a caller built by another
    // compiler, in C, must find each field where the engines read it.
    ASSERT_EQ(ProfileSizeSeenFromC(), sizeof(ProfileStruc));
    ProfileStruc p;
    std::memset(&p, 0xA5, sizeof p);
    FillProfileFromC(&p);
    EXPECT_STREQ(p.name, "from C");
    EXPECT_EQ(p.width, 1);
    EXPECT_EQ(p.height, 2);
    EXPECT_EQ(p.videoBitrate, 3.5);
    EXPECT_EQ(p.framesPerSecond, 4);
    EXPECT_EQ(p.audioBitrate, 5);
    EXPECT_EQ(p.stereo, 6);
    EXPECT_EQ(p.listIndex, 7);
    EXPECT_EQ(p.deleted, 8);
    EXPECT_EQ(p.audioCodecIndex, 9);
    EXPECT_EQ(p.audioFormatIndex, 10);
    EXPECT_EQ(p.sampleRate, 11);
}
