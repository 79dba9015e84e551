#include <gtest/gtest.h>

#include <cstring>

#include "app/job/converter_binding.h"

TEST(ProfileStruc, WidenedRecordMakesOddSizesEvenAndCopiesTheRest) {
    ProfileRecord rec;
    std::memset(&rec, 0x5A, sizeof rec);
    std::strcpy(rec.name, "Not passed");
    rec.width = 321;
    rec.height = -3;
    rec.videoBitrate = 4294967295u;
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
    EXPECT_DOUBLE_EQ(p.videoBitrate, 4294967295.0);
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

TEST(ProfileStruc, BytesSitWhereTheOtherSideReadsThem) {
    // The engines read the record as raw little-endian bytes.
    ProfileStruc p{};
    p.videoBitrate = 220000.0;
    p.audioFormatIndex = 0x01020304;
    const auto* bytes = reinterpret_cast<const unsigned char*>(&p);
    double rate;
    std::memcpy(&rate, bytes + 1032, sizeof rate);
    EXPECT_EQ(rate, 220000.0);
    EXPECT_EQ(bytes[1064], 0x04);
    EXPECT_EQ(bytes[1067], 0x01);
}
