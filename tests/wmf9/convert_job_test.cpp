// Whole jobs through the exported Convert: generated sources in, Windows
// Media files out, read back with ffprobe and gst-discoverer-1.0.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <regex>

#include "job_test.h"

namespace {

constexpr char kDescription[] = "Converted use ZEV from https://clipwright.example.org";
constexpr char kUnderConverting[] = "Under converting, please wait...\r\n";
constexpr char kComplete[] = "Converting successfully complete!\r\n";
constexpr char kEnd[] = "End of converting.\r\n";

// FFmpeg's ASF reader shows the "Description" attribute as "comment".
std::string DescriptionOf(const JsonValue& probe) {
    return probe["format"]["tags"]["comment"].String();
}

class ConvertJob : public EngineJobTest {
protected:
    ConvertJob() : EngineJobTest(TRANZO9_PATH) {}

    // The lines of a job that ran to its normal end.
    void ExpectNormalEnd(const JobResult& r, const JobOptions& job) {
        EXPECT_EQ((std::vector<std::string>{
                      "Info: Begin Convert '" + job.source + "' to '" + job.dest + "'\r\n",
                      kUnderConverting, kComplete, kEnd}),
                  LastLines(r, 4));
        for (const std::string& line : r.lines)
            EXPECT_EQ(std::string::npos, line.find("borted")) << line;
        EXPECT_TRUE(r.slotsNullAfter);
    }
};

TEST_F(ConvertJob, FractionalRangeBecomesWholeSecondsInWmv2AndWmaAtTheProfile) {
    const std::string source = m_dir.Path("src.mp4");
    ClipSpec spec;
    spec.seconds = 21;
    ASSERT_TRUE(MakeClip(source, spec));
    const JobOptions job = Job(source, 10.9, 20.2);
    const JobResult r = RunConversion(m_library.convert(), job);

    ExpectNormalEnd(r, job);
    EXPECT_EQ("Info: Converting range set from nanao seconds 100000000 to 200000000 \r\n",
              r.lines.at(r.lines.size() - 5));
    // Video decoder first, then audio, each once; nothing else before the range.
    ASSERT_EQ(7u, r.lines.size());
    EXPECT_EQ(0u, r.lines[0].rfind("Use decoder filter: ", 0)) << r.lines[0];
    EXPECT_EQ(0u, r.lines[1].rfind("Use decoder filter: ", 0)) << r.lines[1];
    // The last frame before the end is at 9.93 s; a frame at exactly 10 s,
    // which would read 100, lies at the stop position and is not delivered.
    EXPECT_EQ(0, r.progress.front());
    EXPECT_GE(r.progress.back(), 99);
    EXPECT_LE(r.progress.back(), 100);
    EXPECT_TRUE(std::is_sorted(r.progress.begin(), r.progress.end()));
    EXPECT_GT(r.progress.size(), 10u);

    const JsonValue probe = Probe(job.dest);
    const JsonValue& video = StreamOf(probe, "video");
    const JsonValue& audio = StreamOf(probe, "audio");
    EXPECT_EQ("wmv2", video["codec_name"].String());
    EXPECT_EQ(240, video["width"].Number());
    EXPECT_EQ(180, video["height"].Number());
    EXPECT_EQ("15/1", video["r_frame_rate"].String());
    EXPECT_EQ("wmav2", audio["codec_name"].String());
    EXPECT_EQ(s_audio.sampleRate, audio["sample_rate"].Number());
    EXPECT_EQ(s_audio.channels, audio["channels"].Number());
    const double frame = 1.0 / 15;
    EXPECT_NEAR(0.0, probe["format"]["start_time"].Number(), frame);
    EXPECT_NEAR(10.0, probe["format"]["duration"].Number(), frame);
    EXPECT_NEAR(150, CountVideoFrames(job.dest), 1);
    EXPECT_EQ(kDescription, DescriptionOf(probe));

    // The first frame written is the source's frame at 10 s, not at 10.9 s.
    const double at10 = FramePsnr(job.dest, 0, source, 10.0, 240, 180);
    const double at11 = FramePsnr(job.dest, 0, source, 11.0, 240, 180);
    EXPECT_GT(at10, at11 + 3) << at10 << " dB against " << at11 << " dB";

    const std::string discovered = Discover(job.dest);
    EXPECT_NE(std::string::npos, discovered.find("Duration: 0:00:10.0")) << discovered;
    EXPECT_NE(std::string::npos, discovered.find("Width: 240")) << discovered;
    EXPECT_NE(std::string::npos, discovered.find("Height: 180")) << discovered;
    EXPECT_NE(std::string::npos,
              discovered.find("Sample rate: " + std::to_string(s_audio.sampleRate)))
        << discovered;
}

TEST_F(ConvertJob, Mpeg1SourceDeliversRgb24ToTheVideoGrabber) {
    const std::string source = m_dir.Path("src.mpg");
    ClipSpec spec;
    spec.codecs = "-c:v mpeg1video -q:v 4 -c:a mp2 -f mpeg";
    ASSERT_TRUE(MakeClip(source, spec));
    JobOptions job = Job(source, 0, 3);
    job.captureTrace = true;
    const JobResult r = RunConversion(m_library.convert(), job);

    ExpectNormalEnd(r, job);
    // 320 x 240 at 3 bytes a pixel.
    EXPECT_NE(std::string::npos, r.trace.find("V Sample size set to 230400\r\n")) << r.trace;
    // An MPEG-1 stream's own clock starts at about 0.5 s; the output starts
    // at 0 all the same and holds the whole range.
    const JsonValue probe = Probe(job.dest);
    EXPECT_EQ("wmv2", StreamOf(probe, "video")["codec_name"].String());
    EXPECT_NEAR(0.0, probe["format"]["start_time"].Number(), 1.0 / 15);
    EXPECT_NEAR(3.0, probe["format"]["duration"].Number(), 1.0 / 15);
    EXPECT_NEAR(45, CountVideoFrames(job.dest), 1);
}

TEST_F(ConvertJob, UserStopEndsTheLoopAndStillClosesAndTagsTheFile) {
    const std::string source = m_dir.Path("src.mp4");
    ClipSpec spec;
    spec.seconds = 12;
    ASSERT_TRUE(MakeClip(source, spec));
    JobOptions job = Job(source, 0, 12);
    job.stopAfterLine = kUnderConverting;
    job.stopAtProgress = 20;
    const JobResult r = RunConversion(m_library.convert(), job);

    ASSERT_TRUE(r.stopped);
    EXPECT_EQ((std::vector<std::string>{kUnderConverting, "User stopped converting.\r\n", kEnd}),
              LastLines(r, 3));
    EXPECT_TRUE(r.slotsNullAfter);
    const JsonValue probe = Probe(job.dest);
    const double duration = probe["format"]["duration"].Number();
    EXPECT_GT(duration, 1.0);
    EXPECT_LT(duration, 11.0);
    EXPECT_EQ(kDescription, DescriptionOf(probe));
}

TEST_F(ConvertJob, VideoOnlySourceIsNotHeldBackByTheMissingAudio) {
    const std::string source = m_dir.Path("src.avi");
    ClipSpec spec;
    spec.seconds = 10;
    spec.audio = false;
    spec.codecs = "-c:v mpeg4 -q:v 5";
    ASSERT_TRUE(MakeClip(source, spec));
    const JobOptions job = Job(source, 0, 10);
    const JobResult r = RunConversion(m_library.convert(), job);

    ExpectNormalEnd(r, job);
    EXPECT_TRUE(AnyLineMatches(
        r, "Info: source file have no Audio Render! No Audio converted, Error=0X[0-9A-F]{8}\r\n"));
    // 250 frames waiting 51 ms each for audio would take 12.75 s.
    EXPECT_LT(r.seconds, 8.0);
    const JsonValue probe = Probe(job.dest);
    EXPECT_EQ("wmv2", StreamOf(probe, "video")["codec_name"].String());
    EXPECT_NEAR(10.0, probe["format"]["duration"].Number(), 1.0 / 15);
}

TEST_F(ConvertJob, AudioThatEndsEarlyDoesNotHoldBackTheRestOfTheVideo) {
    const std::string source = m_dir.Path("src.mp4");
    ClipSpec spec;
    spec.seconds = 10;
    ASSERT_TRUE(MakeClip(source, spec));
    const std::string shortAudio = m_dir.Path("short-audio.mp4");
    ASSERT_EQ(0, RunCommand("ffmpeg -nostdin -v error -y -i " + ShellQuote(source) +
                            " -af atrim=0:2 -c:v copy -c:a aac " + ShellQuote(shortAudio)));
    const JobOptions job = Job(shortAudio, 0, 10);
    const JobResult r = RunConversion(m_library.convert(), job);

    ExpectNormalEnd(r, job);
    // 200 frames after the audio's end waiting 51 ms each would take 10.2 s.
    EXPECT_LT(r.seconds, 7.0);
    EXPECT_NEAR(150, CountVideoFrames(job.dest), 1);
}

TEST_F(ConvertJob, AudioOnlySourceConvertsWithoutProgress) {
    const std::string source = m_dir.Path("src.m4a");
    ClipSpec spec;
    spec.video = false;
    spec.codecs = "-c:a aac";
    ASSERT_TRUE(MakeClip(source, spec));
    const JobOptions job = Job(source, 0, 3);
    const JobResult r = RunConversion(m_library.convert(), job);

    ExpectNormalEnd(r, job);
    EXPECT_TRUE(AnyLineMatches(
        r, "Info: file have no Video Render! No video converted, Error=0X[0-9A-F]{8}\r\n"));
    EXPECT_EQ(std::vector<int>{0}, r.progress);
    const JsonValue probe = Probe(job.dest);
    EXPECT_EQ("wmav2", StreamOf(probe, "audio")["codec_name"].String());
    EXPECT_NEAR(3.0, probe["format"]["duration"].Number(), 0.1);
}

TEST_F(ConvertJob, OneFrameSourceEndsNormally) {
    const std::string source = m_dir.Path("src.mp4");
    ClipSpec spec;
    spec.seconds = 1;
    spec.frames = 1;
    spec.audio = false;
    spec.codecs = "-c:v mpeg4";
    ASSERT_TRUE(MakeClip(source, spec));
    const JobOptions job = Job(source, 0, 1);
    const JobResult r = RunConversion(m_library.convert(), job);

    ExpectNormalEnd(r, job);
    EXPECT_EQ(1, CountVideoFrames(job.dest));
}

TEST_F(ConvertJob, PathsOutsideAsciiReachTheGraphAndTheWriter) {
    JobOptions job = Job(m_dir.Path("vid\xC3\xA9o \xE2\x82\xAC.mp4"), 0, 2);
    job.dest = m_dir.Path("r\xC3\xA9sultat.wmv");
    ASSERT_TRUE(MakeClip(job.source, ClipSpec{}));
    const JobResult r = RunConversion(m_library.convert(), job);
    ExpectNormalEnd(r, job);
    EXPECT_EQ(kDescription, DescriptionOf(Probe(job.dest)));
}

// Paths as long as the caller's 1024-byte buffers carry reach the graph and
// the writer; a longer one is refused with a line that says why.
TEST_F(ConvertJob, PathsOfUpTo1023BytesConvertAndLongerOnesAreNamedAsSuch) {
    const std::string folder = MakeDeepFolder(m_dir.path(), 1000);
    JobOptions job = Job(folder + "/src.mp4", 0, 1);
    job.dest = folder + "/dst.wmv";
    ASSERT_TRUE(MakeClip(job.source, ClipSpec{}));
    ASSERT_GT(job.dest.size(), 1000u);
    // The line naming both paths is cut to the buffer; the job is not.
    EXPECT_EQ((std::vector<std::string>{kUnderConverting, kComplete, kEnd}),
              LastLines(RunConversion(m_library.convert(), job), 3));
    EXPECT_EQ(kDescription, DescriptionOf(Probe(job.dest)));

    const std::string longSource = MakeDeepFolder(m_dir.path(), 1030) + "/src.mp4";
    std::filesystem::copy_file(job.source, longSource);
    job.source = longSource;
    const JobResult r = RunConversion(m_library.convert(), job);
    EXPECT_EQ(
        std::vector<std::string>{"Source path is longer than 1023 bytes, Mission aborted!\r\n"},
        LastLines(r, 1));
}

TEST_F(ConvertJob, WithoutLogBufferOrWindowTheJobRunsSilently) {
    const std::string source = m_dir.Path("src.mp4");
    ASSERT_TRUE(MakeClip(source, ClipSpec{}));
    for (int variant = 0; variant < 2; ++variant) {
        SCOPED_TRACE(variant == 0 ? "no szLog" : "no hWnd");
        JobOptions job = Job(source, 0, 2);
        job.dest = m_dir.Path("silent" + std::to_string(variant) + ".wmv");
        job.withLog = variant != 0;
        job.withWindow = variant == 0;
        const JobResult r = RunConversion(m_library.convert(), job);
        EXPECT_TRUE(r.lines.empty());
        EXPECT_TRUE(r.slotsNullAfter);
        const JsonValue probe = Probe(job.dest);
        EXPECT_NEAR(2.0, probe["format"]["duration"].Number(), 1.0 / 15);
        EXPECT_EQ(kDescription, DescriptionOf(probe));
    }
}

}  // namespace
