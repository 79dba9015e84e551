#include <gtest/gtest.h>

#include <vector>

#include "tools/zev-convert/options.h"

namespace {

bool Parse(std::vector<const char*> args, ConvertOptions& o, std::string& error) {
    args.insert(args.begin(), "zev-convert");
    return ParseOptions(static_cast<int>(args.size()), args.data(), o, error);
}

}  // namespace

TEST(ZevConvertOptions, TimesInSecondsOrClockForm) {
    double s = -1;
    EXPECT_TRUE(ParseTime("75", s));
    EXPECT_EQ(s, 75);
    EXPECT_TRUE(ParseTime("10.9", s));
    EXPECT_DOUBLE_EQ(s, 10.9);
    EXPECT_TRUE(ParseTime("01:02:03", s));
    EXPECT_EQ(s, 3723);
    EXPECT_TRUE(ParseTime("1:15", s));
    EXPECT_EQ(s, 75);
    EXPECT_TRUE(ParseTime("100:00:00", s));  // hours are not limited to 24
    EXPECT_EQ(s, 360000);
    EXPECT_TRUE(ParseTime("596523:14:07", s));  // the latest the engines take
    EXPECT_EQ(s, 2147483647);
    for (const char* bad : {"", "-1", "1:60", "1::2", "a", "1:2:3:4", "1.5:00", "1e3",
                            "99999999999", "nan", "00:00:60", "596523:14:08", "2147483648"}) {
        EXPECT_FALSE(ParseTime(bad, s)) << bad;
    }
}

TEST(ZevConvertOptions, ExplicitSettingsAndPositionals) {
    ConvertOptions o;
    std::string error;
    ASSERT_TRUE(Parse({"-b", "00:00:10", "--end", "20.2", "-s", "321x241", "--video-kbps", "220",
                       "--fps", "15", "--channels", "1", "--sample-rate", "22050", "--audio-bps",
                       "32000", "in file.mp4", "out.wmv"},
                      o, error))
        << error;
    EXPECT_EQ(o.source, "in file.mp4");
    EXPECT_EQ(o.destination, "out.wmv");
    EXPECT_EQ(*o.beginSeconds, 10);
    EXPECT_DOUBLE_EQ(*o.endSeconds, 20.2);
    EXPECT_EQ(o.width, 321);  // made even later, as for the GUI
    EXPECT_EQ(o.height, 241);
    EXPECT_EQ(o.videoKbps, 220u);
    EXPECT_EQ(o.framesPerSecond, 15);
    EXPECT_EQ(o.channels, 1u);
    EXPECT_EQ(o.sampleRate, 22050u);
    EXPECT_EQ(o.audioBitrate, 32000u);
    EXPECT_FALSE(o.audioCodecIndex.has_value());
}

// Settings the runtime's encoder would refuse (and replace by its own,
// silently) are refused with a reason; its limits themselves are taken.
TEST(ZevConvertOptions, RefusesSizesAndRatesTheRuntimeWouldNotTake) {
    for (const char* size : {"8x8", "15x240", "320x4097"}) {
        ConvertOptions o;
        std::string error;
        EXPECT_FALSE(Parse({"-s", size, "a", "b"}, o, error)) << size;
        EXPECT_NE(error.find("16 to 4096 pixels"), std::string::npos) << error;
    }
    for (const char* kbps : {"1", "7", "50001", "100000"}) {
        ConvertOptions o;
        std::string error;
        EXPECT_FALSE(Parse({"--video-kbps", kbps, "a", "b"}, o, error)) << kbps;
        EXPECT_NE(error.find("8 to 50000 kbit/s"), std::string::npos) << error;
    }
    ConvertOptions o;
    std::string error;
    EXPECT_TRUE(Parse({"-s", "16x4096", "--video-kbps", "8", "a", "b"}, o, error)) << error;
    EXPECT_TRUE(Parse({"--video-kbps", "50000", "a", "b"}, o, error)) << error;
}

// A time the engines cannot reach is refused as it was typed, never held to
// their limit.
TEST(ZevConvertOptions, LateTimesAreQuotedAsTyped) {
    ConvertOptions o;
    std::string error;
    EXPECT_FALSE(Parse({"--end", "3000000000", "a", "b"}, o, error));
    EXPECT_NE(error.find("--end: '3000000000'"), std::string::npos) << error;
    EXPECT_NE(error.find("up to 2147483647 s"), std::string::npos) << error;
}

// After "--" an argument that begins with '-' is a path.
TEST(ZevConvertOptions, DashDashEndsTheOptions) {
    ConvertOptions o;
    std::string error;
    ASSERT_TRUE(Parse({"--end", "1", "--", "-x.mp4", "--help"}, o, error)) << error;
    EXPECT_EQ(o.source, "-x.mp4");
    EXPECT_EQ(o.destination, "--help");
    EXPECT_FALSE(o.help);
}

TEST(ZevConvertOptions, RefusesWhatCannotBeMeant) {
    const std::vector<std::vector<const char*>> bad = {
        {"only-one"},
        {"a", "b", "c"},
        {"--size", "100000x2", "a", "b"},
        {"--size", "0x240", "a", "b"},
        {"--fps", "0", "a", "b"},
        {"--channels", "3", "a", "b"},
        {"--video-kbps", "4294968", "a", "b"},
        {"--audio-codec", "1", "a", "b"},
        {"--begin", "-5", "a", "b"},
        {"--frobnicate", "a", "b"},
        {"a", "b", "--end"},
    };
    for (const auto& args : bad) {
        ConvertOptions o;
        std::string error;
        EXPECT_FALSE(Parse(args, o, error)) << args[0];
        EXPECT_FALSE(error.empty());
    }
    ConvertOptions o;
    std::string error;
    EXPECT_TRUE(Parse({"--help"}, o, error));
    EXPECT_TRUE(o.help);
    EXPECT_TRUE(Parse({"--audio-codec", "1", "--audio-format", "4", "--profile", "Small", "a", "b"},
                      o, error));
    EXPECT_EQ(*o.audioFormatIndex, 4);
    EXPECT_EQ(o.profileName, "Small");
}
