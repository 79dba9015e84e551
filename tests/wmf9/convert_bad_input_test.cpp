// Jobs that cannot run: each ends with its failure lines and nothing after
// them, leaves no output file behind and the slots NULL.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>

#include "job_test.h"

namespace {

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

class ConvertBadInput : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_library.convert()) << m_library.error();
        m_job.dest = m_dir.Path("out.wmv");
        m_job.profile = MakeProfile(320, 240, 250000.0, 15, PickAudioFormat(44100, 2));
        m_job.begin = 0;
        m_job.end = 2;
    }
    // A short clip that converts when nothing else is wrong.
    std::string GoodSource() {
        const std::string path = m_dir.Path("good.mp4");
        if (!FileExists(path)) {
            EXPECT_TRUE(MakeClip(path, ClipSpec{}));
        }
        return path;
    }
    JobResult Run() { return RunConversion(m_library.convert(), m_job); }

    TempDir m_dir;
    ConverterLibrary m_library;
    JobOptions m_job;
};

TEST_F(ConvertBadInput, MissingSourceIsTheOnlyLine) {
    m_job.source = m_dir.Path("missing.mp4");
    const JobResult r = Run();
    EXPECT_EQ(std::vector<std::string>{"File not found in reading '" + m_job.source +
                                       "', Mission aborted!\r\n"},
              r.lines);
    EXPECT_TRUE(r.slotsNullAfter);
    EXPECT_FALSE(FileExists(m_job.dest));

    m_job.nullSource = true;
    EXPECT_EQ(std::vector<std::string>{"File not found in reading '', Mission aborted!\r\n"},
              Run().lines);
}

TEST_F(ConvertBadInput, UnreadableSourcesEndWithTheTwoUnrecognisedLines) {
    const std::vector<std::pair<std::string, std::string>> sources = {
        {"empty.mp4", ""},
        {"text.avi", "This is not a movie at all, only a few words of text.\n"},
        {"corrupt.mp4", std::string("\x00\x00\x00\x18"
                                    "ftypmp42",
                                    12) +
                            std::string(4000, '\x7f')},
    };
    for (const auto& [name, bytes] : sources) {
        SCOPED_TRACE(name);
        m_job.source = m_dir.Path(name);
        WriteFile(m_job.source, bytes);
        const JobResult r = Run();
        ASSERT_EQ(2u, r.lines.size());
        EXPECT_TRUE(std::regex_match(
            r.lines[0], std::regex("Unrecognized source file format in " + m_job.source +
                                   "!  Error=0X[0-9A-F]{8}, Mission Aborted!\r\n")))
            << r.lines[0];
        EXPECT_EQ(
            "Unrecogonized source file format, pleae ensure WMP can play it! Mission aborted!\r\n",
            r.lines[1]);
        EXPECT_TRUE(r.slotsNullAfter);
        EXPECT_FALSE(FileExists(m_job.dest));
    }
}

TEST_F(ConvertBadInput, OverlongLineIsCutToTheBuffer) {
    // Directory names of 200 characters, ten deep: far past the buffer.
    m_job.source = m_dir.path();
    for (int i = 0; i < 10; ++i) m_job.source += "/" + std::string(200, 'd');
    m_job.source += "/missing.mp4";
    const JobResult r = Run();
    ASSERT_EQ(1u, r.lines.size());
    EXPECT_EQ(1023u, r.lines[0].size());
    EXPECT_EQ(0u, r.lines[0].rfind("File not found in reading '" + m_dir.path(), 0));
    EXPECT_EQ("\r\n", r.lines[0].substr(1021));
    EXPECT_TRUE(r.logGuardIntact);
}

TEST_F(ConvertBadInput, DestinationThatCannotBeWrittenLeavesNoFile) {
    m_job.source = GoodSource();
    // The folder is missing: the writer cannot begin, and the job ends there
    // rather than decode into nothing and call that a success.
    m_job.dest = m_dir.Path("no-such-dir/out.wmv");
    JobResult r = Run();
    ASSERT_GE(r.lines.size(), 2u);
    EXPECT_TRUE(std::regex_match(r.lines[r.lines.size() - 2],
                                 std::regex("Info: BeginWriting on IWMWriter failed, "
                                            "Error=0X[0-9A-F]{8}\r\n")));
    EXPECT_EQ("Failed to create the output file, Mission aborted!\r\n", r.lines.back());
    EXPECT_TRUE(r.slotsNullAfter);
    EXPECT_FALSE(FileExists(m_job.dest));

    m_job.nullDest = true;
    r = Run();
    EXPECT_EQ((std::vector<std::string>{"Failed to set dest file name! Error=0X80004003\r\n",
                                        "Failed to set Dest File name, mission aborted!\r\n"}),
              LastLines(r, 2));
    EXPECT_TRUE(r.slotsNullAfter);
}

// The folder goes mid-job: the finished file has nowhere to go. The job
// ends with the failure, not with a success for a file that is not there.
TEST_F(ConvertBadInput, FolderRemovedMidJobEndsWithTheWriteFailure) {
    ClipSpec spec;
    spec.seconds = 6;
    m_job.source = m_dir.Path("six.mp4");
    ASSERT_TRUE(MakeClip(m_job.source, spec));
    const std::string folder = m_dir.Path("sub");
    std::filesystem::create_directory(folder);
    m_job.dest = folder + "/out.wmv";
    m_job.end = 5;
    JobResult r;
    {
        FolderRemoverWhileWriting remover(folder);
        r = Run();
        ASSERT_TRUE(remover.Removed());
    }
    // The range ran to its end, but no line says so: the file did not.
    EXPECT_EQ((std::vector<std::string>{
                  "Under converting, please wait...\r\n",
                  "Info: Error in end writing on Writer, Error=0XC00D001A\r\n",
                  "Failed to write the output file (its folder does not exist any more), "
                  "Error=0XC00D001A, Mission aborted!\r\n",
                  "End of converting.\r\n"}),
              LastLines(r, 4));
    EXPECT_TRUE(r.slotsNullAfter);
}

// The file stops growing mid-job (here the size limit; a full disk acts
// alike): the job ends early as an error, the file that was at the
// destination is kept as it was, and no part file is left beside it.
TEST_F(ConvertBadInput, WriteFailureMidJobKeepsTheOldFile) {
    ClipSpec spec;
    spec.seconds = 8;
    m_job.source = m_dir.Path("eight.mp4");
    ASSERT_TRUE(MakeClip(m_job.source, spec));
    const std::string folder = m_dir.Path("keep");
    std::filesystem::create_directory(folder);
    m_job.dest = folder + "/out.wmv";
    WriteFile(m_job.dest, "the previous conversion");
    m_job.end = 8;
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 60000;
    setrlimit(RLIMIT_FSIZE, &small);
    const JobResult r = Run();
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, oldHandler);

    EXPECT_TRUE(AnyLineMatches(r, "Converting aborted by error.\r\n"));
    EXPECT_FALSE(AnyLineMatches(r, "Converting successfully complete!\r\n"));
    const std::vector<std::string> last = LastLines(r, 2);
    EXPECT_TRUE(std::regex_match(last[0], std::regex("Failed to write the output file \\(.*\\), "
                                                     "Error=0X[0-9A-F]{8}, Mission aborted!\r\n")))
        << last[0];
    EXPECT_EQ("End of converting.\r\n", last[1]);
    std::ifstream kept(m_job.dest);
    EXPECT_EQ("the previous conversion",
              std::string(std::istreambuf_iterator<char>(kept), std::istreambuf_iterator<char>()));
    size_t files = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder)) ++files;
    EXPECT_EQ(1u, files);
}

TEST_F(ConvertBadInput, DestinationInReadOnlyFolderLeavesNoFile) {
    if (geteuid() == 0) GTEST_SKIP() << "a read-only folder does not stop root";
    m_job.source = GoodSource();
    const std::string readOnly = m_dir.Path("read-only");
    ASSERT_EQ(0, mkdir(readOnly.c_str(), 0555));
    m_job.dest = readOnly + "/out.wmv";
    const JobResult r = Run();
    EXPECT_TRUE(
        AnyLineMatches(r, "Info: BeginWriting on IWMWriter failed, Error=0X[0-9A-F]{8}\r\n"));
    EXPECT_FALSE(FileExists(m_job.dest));
}

TEST_F(ConvertBadInput, SettingsThatCannotWorkEndTheJobBeforeAnyFileExists) {
    m_job.source = GoodSource();
    m_job.begin = 8.5;
    m_job.end = 2.9;
    JobResult r = Run();
    EXPECT_EQ(
        std::vector<std::string>{
            "Error, begin time 8 s is after end time 2 s, Mission aborted!\r\n"},
        r.lines);
    EXPECT_FALSE(FileExists(m_job.dest));

    // 5.2 and 5.9 are both second 5: an empty range, and an existing file
    // at the destination stays.
    WriteFile(m_job.dest, "kept");
    m_job.begin = 5.2;
    m_job.end = 5.9;
    r = Run();
    EXPECT_EQ(
        std::vector<std::string>{"Error, the range from 5 s to 5 s is empty, Mission aborted!\r\n"},
        r.lines);
    std::ifstream kept(m_job.dest);
    EXPECT_EQ("kept", std::string(std::istreambuf_iterator<char>(kept), {}));
    std::remove(m_job.dest.c_str());

    m_job.begin = 0;
    m_job.end = 2;
    m_job.profile.framesPerSecond = 0;
    r = Run();
    EXPECT_EQ(std::vector<std::string>{"Error, frame rate 0 is not valid, Mission aborted!\r\n"},
              r.lines);
    EXPECT_TRUE(r.slotsNullAfter);
}

TEST_F(ConvertBadInput, AudioFormatUnknownToTheRuntimeAbortsClearly) {
    m_job.source = GoodSource();
    for (auto [codec, format] : {std::pair{99, 0}, std::pair{0, 999}, std::pair{-1, -1}}) {
        SCOPED_TRACE(std::to_string(codec) + "/" + std::to_string(format));
        m_job.profile.audioCodecIndex = codec;
        m_job.profile.audioFormatIndex = format;
        const JobResult r = Run();
        ASSERT_FALSE(r.lines.empty());
        EXPECT_TRUE(std::regex_match(
            r.lines.back(),
            std::regex("Error, no audio format " + std::to_string(format) + " of audio codec " +
                       std::to_string(codec) +
                       " in the runtime, Error=0X[0-9A-F]{8}, Mission aborted!\r\n")))
            << r.lines.back();
        EXPECT_TRUE(r.slotsNullAfter);
        EXPECT_FALSE(FileExists(m_job.dest));
    }
}

TEST_F(ConvertBadInput, RangePastTheSourcesEndAbortsAndAnOverlappingOneIsCut) {
    m_job.source = GoodSource();  // 4 s
    m_job.begin = 10;
    m_job.end = 20;
    JobResult r = Run();
    ASSERT_FALSE(r.lines.empty());
    EXPECT_TRUE(std::regex_match(r.lines.back(),
                                 std::regex("Error, begin time 10 s is past the end of the source "
                                            "at 4\\.[0-9]{3} s, Mission aborted!\r\n")))
        << r.lines.back();
    EXPECT_TRUE(r.slotsNullAfter);
    EXPECT_FALSE(FileExists(m_job.dest));

    m_job.begin = 2;
    m_job.end = 10;
    r = Run();
    ASSERT_FALSE(r.lines.empty());
    EXPECT_EQ("End of converting.\r\n", r.lines.back());
    EXPECT_NEAR(2.0, Probe(m_job.dest)["format"]["duration"].Number(), 0.1);
}

}  // namespace

namespace {

// Overwrites a run of bytes in the middle of a file with a fixed pattern of
// garbage, as a damaged disk or download would.
void DamageMiddle(const std::string& path, double from, double to) {
    std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
    f.seekg(0, std::ios::end);
    const auto size = static_cast<std::streamoff>(f.tellg());
    const auto begin = static_cast<std::streamoff>(size * from);
    const auto end = static_cast<std::streamoff>(size * to);
    f.seekp(begin);
    for (std::streamoff i = begin; i < end; ++i) f.put(static_cast<char>((i * 131) ^ 0x5A));
}

TEST_F(ConvertBadInput, DamageInsideTheStreamEndsTheJobWithoutAHang) {
    // Containers that are read on after the damage, each with its codecs.
    const std::vector<std::pair<std::string, std::string>> sources = {
        {"damaged.mpg", "-c:v mpeg1video -c:a mp2 -f mpeg"},
        {"damaged.avi", "-c:v mpeg4 -c:a mp3"},
        {"damaged.mkv", "-c:v mpeg4 -c:a aac"},
    };
    for (const auto& [name, codecs] : sources) {
        SCOPED_TRACE(name);
        m_job.source = m_dir.Path(name);
        ClipSpec spec;
        spec.seconds = 4;
        spec.codecs = codecs;
        ASSERT_TRUE(MakeClip(m_job.source, spec));
        DamageMiddle(m_job.source, 0.4, 0.6);
        m_job.end = 4;
        const JobResult r = Run();
        ASSERT_FALSE(r.lines.empty());
        // Either the decoders got over the damage or the graph gave up on
        // it; both end the job the ordinary way.
        EXPECT_TRUE(AnyLineMatches(r,
                                   "(Converting successfully complete!|Converting aborted by "
                                   "error.)\r\n"));
        EXPECT_TRUE(AnyLineMatches(r, "End of converting.\r\n"));
        EXPECT_TRUE(r.slotsNullAfter);
    }
}

}  // namespace
