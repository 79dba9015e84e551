// The sources people bring most, through both engines: a movie with several
// sound tracks, a phone video stored on its side, transport streams whose
// clocks start anywhere. Every output is read back by ffprobe and GStreamer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "job_test.h"

namespace {

struct Engine {
    const char* name;
    const char* library;
    // The sinks of a job's graph for a source with one video and three
    // sound tracks: what converts the first two streams, and a null
    // renderer for each of the other sound tracks.
    std::vector<std::wstring> sinksForThreeTracks;
};

const Engine kEngines[] = {
    {"tranzo9",
     TRANZO9_PATH,
     {L"NullRenderV", L"NullRenderA", L"NullRenderA 0001", L"NullRenderA 0002"}},
    {"tranzo8", TRANZO8_PATH, {L"Mux", L"NullRenderA", L"NullRenderA 0001"}},
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

// Filters without an output pin, by name.
std::vector<std::wstring> SinksOf(IGraphBuilder* graph) {
    std::vector<std::wstring> sinks;
    IEnumFilters* filters = nullptr;
    if (FAILED(graph->EnumFilters(&filters)) || !filters) return sinks;
    IBaseFilter* f = nullptr;
    ULONG fetched = 0;
    while (filters->Next(1, &f, &fetched) == S_OK && fetched == 1) {
        bool hasOutput = false;
        IEnumPins* pins = nullptr;
        IPin* pin = nullptr;
        if (SUCCEEDED(f->EnumPins(&pins)) && pins) {
            while (pins->Next(1, &pin, &fetched) == S_OK && fetched == 1) {
                PIN_DIRECTION dir = PINDIR_INPUT;
                pin->QueryDirection(&dir);
                hasOutput = hasOutput || dir == PINDIR_OUTPUT;
                pin->Release();
            }
            pins->Release();
        }
        FILTER_INFO info = {};
        if (!hasOutput && SUCCEEDED(f->QueryFilterInfo(&info))) {
            sinks.emplace_back(info.achName);
            if (info.pGraph) info.pGraph->Release();
        }
        f->Release();
    }
    filters->Release();
    return sinks;
}

TEST_P(EngineSources, OfSeveralSoundTracksTheFirstIsConvertedAndTheOthersNeitherSoundNorPace) {
    const std::string source = m_dir.Path("three.mkv");
    // Beeps on the first track, silence on the other two.
    ASSERT_TRUE(MakeFlashBeepClip(source, 4, 25, {2.0}, "-c:v mpeg4 -q:v 3 -c:a aac", 2));
    JobOptions job = Job(source, 0, 4);
    std::vector<std::wstring> sinks;
    job.whileConverting = [&](IGraphBuilder* graph) { sinks = SinksOf(graph); };
    const JobResult r = Run(job);

    std::sort(sinks.begin(), sinks.end());
    std::vector<std::wstring> expected = GetParam().sinksForThreeTracks;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(expected, sinks);
    EXPECT_TRUE(AnyLineMatches(
        r,
        "Info: source file have 3 Audio streams, Audio stream 1 converted, the others "
        "ignored\r\n"));
    const std::vector<double> beeps = BeepOnsets(job.dest);
    ASSERT_EQ(1u, beeps.size()) << job.dest;
    EXPECT_NEAR(2.0, beeps[0], 0.1);
    ExpectReadable(job.dest);
}

TEST_P(EngineSources, APhoneVideoStoredOnItsSideComesOutUpright) {
    const std::string stored = m_dir.Path("stored.mp4");
    ASSERT_EQ(0, RunCommand("ffmpeg -nostdin -v error -y -f lavfi -i "
                            "\"color=black:s=320x240:r=25:d=3,drawbox=x=0:y=0:w=160:h=240:"
                            "c=white:t=fill\" -c:v libx264 " +
                            ShellQuote(stored) + " 2>&1"));
    const std::string source = m_dir.Path("phone.mp4");
    ASSERT_TRUE(SetDisplayRotation(stored, source, 90));
    // A player that honours the rotation shows the white half above or below.
    const char* kTop = "iw:ih/2:0:0";
    const char* kBottom = "iw:ih/2:0:ih/2";
    const double shownTop = RegionLuma(source, 1, kTop);
    const double shownBottom = RegionLuma(source, 1, kBottom);
    ASSERT_GT(std::abs(shownTop - shownBottom), 150);
    const bool whiteOnTop = shownTop > shownBottom;

    const JobOptions job = Job(source, 0, 3);
    Run(job);
    const double top = RegionLuma(job.dest, 1, kTop);
    const double bottom = RegionLuma(job.dest, 1, kBottom);
    EXPECT_GT(whiteOnTop ? top - bottom : bottom - top, 150) << top << " above " << bottom;
    // The profile's size, whatever the source's shape.
    const JsonValue probe = Probe(job.dest);
    const JsonValue& video = StreamOf(probe, "video");
    EXPECT_EQ(240, video["width"].Number());
    EXPECT_EQ(180, video["height"].Number());
    ExpectReadable(job.dest);
}

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
                         [](const ::testing::TestParamInfo<Engine>& param) {
                             return std::string(param.param.name);
                         });

}  // namespace
