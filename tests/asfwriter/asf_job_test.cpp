// Whole jobs through libtranzo8.so: generated sources in, Windows Media
// files out, read back with ffprobe and gst-discoverer-1.0.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "job_test.h"

namespace {

constexpr char kUnderConverting[] = "Under converting, please wait...\r\n";
constexpr char kFinished[] = "Converting finished\r\n";

class AsfJob : public EngineJobTest {
protected:
    AsfJob() : EngineJobTest(TRANZO8_PATH) {}
};

TEST_F(AsfJob, ConvertsTheRangeToOneSecondPastTheEndInV8WithoutATag) {
    const std::string source = m_dir.Path("src.mp4");
    ClipSpec spec;
    spec.seconds = 8;
    ASSERT_TRUE(MakeClip(source, spec));
    const JobOptions job = Job(source, 2.7, 5.2);
    const JobResult r = RunConversion(m_library.convert(), job);

    ASSERT_GE(r.lines.size(), 5u);
    EXPECT_EQ(r.lines[0], "Begin time is 20000000.000000\r\n");
    EXPECT_EQ(r.lines[1], "End  time  is 60000000.000000\r\n");
    EXPECT_EQ(r.lines[2], "Info: Begin Convert '" + job.source + "' to '" + job.dest + "'\r\n");
    EXPECT_EQ(r.lines[3], kUnderConverting);
    EXPECT_EQ(r.lines.back(), kFinished);
    EXPECT_EQ(r.lines.size(), 5u);
    EXPECT_TRUE(r.slotsNullAfter);
    ASSERT_FALSE(r.progress.empty());
    EXPECT_EQ(r.progress.back(), 100);

    const JsonValue probe = Probe(job.dest);
    const JsonValue& video = StreamOf(probe, "video");
    EXPECT_EQ(video["codec_name"].String(), "wmv2");  // V8: the runtime has no version 9
    EXPECT_EQ(video["width"].Number(), 240);
    EXPECT_EQ(video["height"].Number(), 180);
    EXPECT_EQ(video["r_frame_rate"].String(), "15/1");
    EXPECT_EQ(StreamOf(probe, "audio")["codec_name"].String(), "wmav2");
    const double duration = std::stod(probe["format"]["duration"].String());
    EXPECT_NEAR(duration, 4.0, 1.0 / 15 + 0.05);  // 2 s to 6 s
    EXPECT_TRUE(probe["format"]["tags"]["comment"].String().empty());
    EXPECT_FALSE(Discover(job.dest).empty());
}

TEST_F(AsfJob, UserStopEndsWithUserAbortThenFinished) {
    const std::string source = m_dir.Path("long.mp4");
    ClipSpec spec;
    spec.seconds = 40;
    ASSERT_TRUE(MakeClip(source, spec));
    JobOptions job = Job(source, 0, 40);
    job.stopAfterLine = kUnderConverting;
    const JobResult r = RunConversion(m_library.convert(), job);

    ASSERT_GE(r.lines.size(), 2u);
    EXPECT_EQ(r.lines[r.lines.size() - 2], "User Abort\r\n");
    EXPECT_EQ(r.lines.back(), kFinished);
    EXPECT_TRUE(r.slotsNullAfter);
    // What was written until the stop is a file other readers take.
    EXPECT_FALSE(Probe(job.dest).IsNull());
}

TEST_F(AsfJob, UnreadableSourcesEndWithTheirLinesAndNothingAfter) {
    JobOptions missing = Job(m_dir.Path("missing.avi"), 0, 5);
    JobResult r = RunConversion(m_library.convert(), missing);
    EXPECT_EQ(r.lines, std::vector<std::string>{"File not found in reading '" + missing.source +
                                                "', Mission aborted!\n"});
    EXPECT_TRUE(r.slotsNullAfter);

    const std::string text = m_dir.Path("notes.avi");
    ASSERT_EQ(RunCommand("echo 'not a movie' > " + ShellQuote(text)), 0);
    JobOptions corrupt = Job(text, 0, 5);
    r = RunConversion(m_library.convert(), corrupt);
    ASSERT_GE(r.lines.size(), 2u);
    EXPECT_EQ(r.lines.back(),
              "Unrecogonized source file format, pleae ensure WMP can play it! Mission aborted!");
    EXPECT_EQ(r.lines[r.lines.size() - 2].rfind("Failed to render source file " + text + "!", 0),
              0u);
    EXPECT_TRUE(r.slotsNullAfter);
}

TEST_F(AsfJob, VideoOnlyAndAudioOnlySourcesFinish) {
    for (const bool videoOnly : {true, false}) {
        const std::string source = m_dir.Path(videoOnly ? "v.avi" : "a.wav");
        ClipSpec spec;
        spec.seconds = 3;
        spec.video = videoOnly;
        spec.audio = !videoOnly;
        spec.codecs = videoOnly ? "-c:v mpeg4" : "-c:a pcm_s16le";
        ASSERT_TRUE(MakeClip(source, spec));
        const JobResult r = RunConversion(m_library.convert(), Job(source, 0, 2));
        ASSERT_FALSE(r.lines.empty());
        EXPECT_EQ(r.lines.back(), kFinished) << source;
        EXPECT_TRUE(r.slotsNullAfter);
    }
}

TEST_F(AsfJob, UnwritableDestinationIsAnErrorNotAFinish) {
    const std::string source = m_dir.Path("src.mp4");
    ClipSpec spec;
    spec.seconds = 2;
    ASSERT_TRUE(MakeClip(source, spec));
    JobOptions job = Job(source, 0, 1);
    job.dest = m_dir.Path("no-such-dir/out.wmv");
    const JobResult r = RunConversion(m_library.convert(), job);
    EXPECT_EQ((std::vector<std::string>{"Error Abort\n",
                                        "Failed to write the output file (its folder does not "
                                        "exist any more), Error=0XC00D001A, Mission aborted!\r\n",
                                        kFinished}),
              LastLines(r, 3));
    EXPECT_TRUE(r.slotsNullAfter);
}

TEST_F(AsfJob, PathsOfUpTo1023BytesConvertAndLongerOnesAreNamedAsSuch) {
    const std::string folder = MakeDeepFolder(m_dir.path(), 1000);
    JobOptions job = Job(folder + "/src.mp4", 0, 1);
    job.dest = folder + "/dst.wmv";
    ASSERT_TRUE(MakeClip(job.source, ClipSpec{}));
    ASSERT_GT(job.dest.size(), 1000u);
    JobResult r = RunConversion(m_library.convert(), job);
    EXPECT_EQ(std::vector<std::string>{kFinished}, LastLines(r, 1));
    EXPECT_TRUE(FileExists(job.dest));

    const std::string longSource = MakeDeepFolder(m_dir.path(), 1030) + "/src.mp4";
    std::filesystem::copy_file(job.source, longSource);
    job.source = longSource;
    r = RunConversion(m_library.convert(), job);
    EXPECT_EQ(
        std::vector<std::string>{"Source path is longer than 1023 bytes, Mission aborted!\r\n"},
        LastLines(r, 1));
}

// The folder goes while the file is being written: the file cannot be put
// in place, and the job says so instead of finishing as usual.
TEST_F(AsfJob, FolderRemovedMidJobIsAFailure) {
    const std::string source = m_dir.Path("src.mp4");
    ClipSpec spec;
    spec.seconds = 6;
    ASSERT_TRUE(MakeClip(source, spec));
    const std::string folder = m_dir.Path("sub");
    std::filesystem::create_directory(folder);
    JobOptions job = Job(source, 0, 5);
    job.dest = folder + "/out.wmv";
    JobResult r;
    {
        FolderRemoverWhileWriting remover(folder);
        r = RunConversion(m_library.convert(), job);
        ASSERT_TRUE(remover.Removed());
    }
    EXPECT_EQ((std::vector<std::string>{"Failed to write the output file (its folder does not "
                                        "exist any more), Error=0XC00D001A, Mission aborted!\r\n",
                                        kFinished}),
              LastLines(r, 2));
    EXPECT_FALSE(std::filesystem::exists(folder));
}

TEST_F(AsfJob, BeepsSoundWithinTwentyMillisecondsOfTheirFlashes) {
    const std::string source = m_dir.Path("flash.avi");
    const std::vector<double> marks = {2.0, 4.0, 6.0};
    ASSERT_TRUE(MakeFlashBeepClip(source, 8, 25, marks, "-c:v mpeg4 -q:v 3 -c:a pcm_s16le"));
    const JobOptions job = Job(source, 0, 7);  // and the one second past the end
    Run(job);

    const std::vector<double> flashes = FlashTimes(job.dest);
    const std::vector<double> beeps = BeepOnsets(job.dest);
    ASSERT_EQ(marks.size(), flashes.size());
    ASSERT_EQ(marks.size(), beeps.size());
    for (size_t i = 0; i < marks.size(); ++i) {
        EXPECT_NEAR(marks[i], flashes[i], 1.0 / 15 / 2) << "flash " << i;
        EXPECT_NEAR(flashes[i], beeps[i], 0.020) << "beep " << i;
    }
}

}  // namespace
