// The sources people bring most, through both engines: transport streams
// whose clocks start anywhere. Every output is read back by ffprobe and
// GStreamer.
#include <gtest/gtest.h>

#include "job_test.h"

namespace {

struct Engine {
    const char* name;
    const char* library;
};

const Engine kEngines[] = {
    {"tranzo9", TRANZO9_PATH},
    {"tranzo8", TRANZO8_PATH},
};

// Test names and messages show the engine by name.
void PrintTo(const Engine& engine, std::ostream* os) {
    *os << engine.name;
}

constexpr double kFrame = 1.0 / 15;  // the job's frame duration

class EngineSources : public EngineJobTest, public ::testing::WithParamInterface<Engine> {
protected:
    EngineSources() : EngineJobTest(GetParam().library) {}

    // ffprobe and GStreamer's ASF reader both read the output.
    static void ExpectReadable(const std::string& output) {
        EXPECT_FALSE(StreamOf(Probe(output), "video").IsNull()) << output;
        EXPECT_FALSE(Discover(output).empty()) << output;
    }
};

TEST_P(EngineSources, TransportStreamsKeepTheirFirstSecondsWhereverTheirClockStarts) {
    struct Stream {
        const char* name;
        const char* codecs;
    };
    // Muxed as recorders do: the clock starts above 0 (by the mux delay),
    // or far above it.
    const Stream streams[] = {
        {"zero.ts", "-c:v libx264 -c:a aac -f mpegts"},
        {"ten-hours.m2ts",
         "-c:v libx264 -c:a ac3 -output_ts_offset 36000 -mpegts_m2ts_mode 1 "
         "-f mpegts"},
    };
    for (const Stream& s : streams) {
        const std::string source = m_dir.Path(s.name);
        ASSERT_TRUE(MakeFlashBeepClip(source, 4, 25, {2.0}, s.codecs));
        JobOptions job = Job(source, 0, 4);
        job.dest = m_dir.Path(std::string(s.name) + ".wmv");
        Run(job);
        const std::vector<double> flashes = FlashTimes(job.dest);
        ASSERT_EQ(1u, flashes.size()) << s.name;
        EXPECT_NEAR(2.0, flashes[0], kFrame) << s.name;
        EXPECT_NEAR(0.0, FirstVideoFrameTime(job.dest), kFrame) << s.name;
        ExpectReadable(job.dest);
    }
}

INSTANTIATE_TEST_SUITE_P(BothEngines, EngineSources, ::testing::ValuesIn(kEngines),
                         [](const ::testing::TestParamInfo<Engine>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
