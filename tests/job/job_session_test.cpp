// One job's session, run against both real engines as the programs run it:
// a host takes the lines, a stop arrives at the session's window while the
// engine runs, and the outcome comes from what the engine reported.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "convert/common/job_report.h"
#include "converter_host.h"
#include "job/job_session.h"
#include "media_tools.h"

namespace {

const std::string kRunning = "Under converting, please wait...\r\n";

// A host in miniature: records what the session tells it and, at the
// engine's running line, does what the test asks.
class TestHost : public IJobHost {
public:
    std::function<void()> whenRunning;
    std::vector<std::string> lines;
    std::vector<std::string> notes;
    std::vector<JobRefusal> refusals;
    int progressAtFinishing = -1;
    CJobSession* session = nullptr;

    void LogLine(const std::string& line, JobLine kind) override {
        (kind == JobLine::Note ? notes : lines).push_back(line);
        if (kind == JobLine::Report && line == kRunning && whenRunning) whenRunning();
    }
    void ShowProgress(int, int) override {}
    void Tell(const JobRefusal& refusal) override { refusals.push_back(refusal); }
    bool Ask(const JobQuestion&) override { return true; }
    bool StopRequested() const override { return false; }
    void Finishing(JobOutcome) override { progressAtFinishing = session->Progress(); }
};

class JobSession : public ::testing::TestWithParam<const char*> {
protected:
    static void SetUpTestSuite() {
        s_audio = PickAudioFormat(44100, 2);
        s_dir = new TempDir;
        ClipSpec spec;
        spec.seconds = 30;
        ASSERT_TRUE(MakeClip(s_dir->Path("long.mp4"), spec));
        spec.seconds = 2;
        ASSERT_TRUE(MakeClip(s_dir->Path("short.mp4"), spec));
        // A Matroska file's header tells its length: cut in half, the file
        // claims twice what it holds, as a broken download does.
        spec.seconds = 20;
        ASSERT_TRUE(MakeClip(s_dir->Path("whole.mkv"), spec));
        const std::string whole = ReadFileBytes(s_dir->Path("whole.mkv"));
        WriteFileBytes(s_dir->Path("half.mkv"), whole.substr(0, whole.size() / 2));
    }
    static void TearDownTestSuite() {
        delete s_dir;
        s_dir = nullptr;
    }
    void SetUp() override { m_host.session = &m_session; }

    JobRequest Request(const std::string& source, const std::string& dest, double end) {
        JobRequest request;
        request.source = source;
        request.destination = dest;
        request.endSeconds = end;
        request.profile = [](ProfileRecord& record, std::string&) {
            record = ProfileRecord{};
            record.width = 240;
            record.height = 180;
            record.videoKbps = 300;
            record.framesPerSecond = 15;
            record.audioCodecIndex = static_cast<int32_t>(s_audio.codecIndex);
            record.audioFormatIndex = static_cast<int32_t>(s_audio.formatIndex);
            return true;
        };
        request.primaryLibrary = GetParam();
        request.fallbackLibrary.clear();
        return request;
    }

    static inline AudioChoice s_audio;
    static inline TempDir* s_dir = nullptr;
    static const char* EngineTag() { return GetParam() == std::string(TRANZO9_PATH) ? "9" : "8"; }
    TestHost m_host;
    CJobSession m_session{m_host};
};

}  // namespace

TEST_P(JobSession, ARangeRunToItsEndCompletes) {
    bool secondRunRefused = false;
    bool convertingThen = false;
    const JobRequest request = Request(s_dir->Path("short.mp4"), s_dir->Path("done.wmv"), 2);
    m_host.whenRunning = [&] {
        // Inside Convert a second job must be refused.
        secondRunRefused = m_session.Run(request) == JobOutcome::Refused;
        convertingThen = m_session.Phase() == JobPhase::Converting;
    };
    EXPECT_EQ(m_session.Run(request), JobOutcome::Completed);
    EXPECT_TRUE(secondRunRefused);
    EXPECT_TRUE(convertingThen);
    EXPECT_EQ(m_session.Phase(), JobPhase::Idle);
    // The engine's last value stays until the job is finished, then goes.
    EXPECT_GT(m_host.progressAtFinishing, 0);
    EXPECT_EQ(m_session.Progress(), 0);
    // The engine cleared its slots: a stop now finds nothing to stop.
    m_session.Stop();
    EXPECT_EQ(m_host.notes, std::vector<std::string>{"User want stop converting\r\n"});
}

TEST_P(JobSession, StopWhileRunningEndsStoppedWithTheSlotsCleared) {
    const std::string dest = s_dir->Path("stopped.wmv");
    // Posted, as the window's Stop button reaches the engine's pump.
    m_host.whenRunning = [&] { PostMessageA(m_session.Handle(), WM_COMMAND, kCmdStopJob, 0); };
    EXPECT_EQ(m_session.Run(Request(s_dir->Path("long.mp4"), dest, 30)), JobOutcome::Stopped);
    EXPECT_EQ(m_host.notes,
              (std::vector<std::string>{"User want stop converting\r\n", "Stopping\r\n"}));
    // The engine itself heard the stop: it reported it, not a finished range.
    bool engineSaidStopped = false;
    for (const auto& line : m_host.lines)
        engineSaidStopped |= line == "User stopped converting.\r\n" || line == "User Abort\r\n";
    EXPECT_TRUE(engineSaidStopped);
    const JsonValue probe = Probe(dest);
    ASSERT_FALSE(probe.IsNull());
    // How far the job got before the posted stop landed depends on the
    // machine's load (before the first packet there is no duration at all);
    // the file never runs past the range.
    const std::string duration = probe["format"]["duration"].String();
    if (!duration.empty()) {
        EXPECT_LE(std::stod(duration), 30.1);
    }
    m_host.notes.clear();
    m_session.Stop();
    EXPECT_EQ(m_host.notes, std::vector<std::string>{"User want stop converting\r\n"});
}

// A file that always held less than its header claims converts what it
// holds, and the log says where it ended.
TEST_P(JobSession, ASourceShorterThanItsHeaderConvertsWhatItHoldsAndSaysSo) {
    const std::string dest = s_dir->Path("half.wmv");
    EXPECT_EQ(m_session.Run(Request(s_dir->Path("half.mkv"), dest, 20)), JobOutcome::Completed);
    const std::regex said(
        R"(Info: The source ended at 00:00:(0[5-9]|1[0-5]), before the end of the range at )"
        R"(00:00:20\r\n)");
    EXPECT_TRUE(std::any_of(m_host.lines.begin(), m_host.lines.end(),
                            [&](const std::string& l) { return std::regex_match(l, said); }));
    EXPECT_NEAR(std::stod(Probe(dest)["format"]["duration"].String()), 10.0, 5.0);
}

// A source cut short while it is read fails the job: no success line, and
// the file written so far is kept, closed and playable.
TEST_P(JobSession, ASourceTruncatedDuringTheJobFailsAndKeepsAPlayableFile) {
    const std::string source = s_dir->Path(std::string("cut-") + EngineTag() + ".mkv");
    WriteFileBytes(source, ReadFileBytes(s_dir->Path("whole.mkv")));
    const std::string dest = s_dir->Path("cut.wmv");
    m_host.whenRunning = [&] {
        ASSERT_EQ(0, truncate(source.c_str(), std::filesystem::file_size(source) / 2));
    };
    EXPECT_EQ(m_session.Run(Request(source, dest, 20)), JobOutcome::Aborted);
    const auto& lines = m_host.lines;
    EXPECT_NE(std::find(lines.begin(), lines.end(), kReportSourceChanged), lines.end());
    EXPECT_EQ(std::find(lines.begin(), lines.end(), kReportCompleted9), lines.end());
    const JsonValue probe = Probe(dest);
    ASSERT_FALSE(probe.IsNull());
    EXPECT_GT(std::stod(probe["format"]["duration"].String()), 0.0);
}

TEST_P(JobSession, AJobThatCannotStartIsAborted) {
    // A file, but no movie: only the engine can find that out.
    const std::string words = s_dir->Path("words.mp4");
    WriteFileBytes(words, "Not a movie, only words.\n");
    EXPECT_EQ(m_session.Run(Request(words, s_dir->Path("never.wmv"), 2)), JobOutcome::Aborted);
    EXPECT_EQ(m_host.progressAtFinishing, 0);
    ASSERT_FALSE(m_host.lines.empty());
    EXPECT_TRUE(m_host.refusals.empty());  // the engine said why, not a check
}

std::string EngineName(const ::testing::TestParamInfo<const char*>& param) {
    return param.index == 0 ? "tranzo9" : "tranzo8";
}

INSTANTIATE_TEST_SUITE_P(Engines, JobSession, ::testing::Values(TRANZO9_PATH, TRANZO8_PATH),
                         EngineName);

// Paths that cannot serve and times the engines cannot reach are refused
// before any library is bound, in words that say which and quote the
// figures as given; no engine is needed for that.
TEST(JobSessionChecks, RefuseByNameBeforeBinding) {
    TempDir dir;
    const std::string source = dir.Path("source.mp4");
    WriteFileBytes(source, "checked, never read");
    const std::string dest = dir.Path("out.wmv");
    const struct {
        std::string source, dest;
        double begin;
        std::optional<double> end;
        JobCheck check;
        std::string says;
    } cases[] = {
        {dir.Path("gone.mp4"), dest, 0, 1, JobCheck::Paths,
         "the source '" + dir.Path("gone.mp4") + "' does not exist"},
        {dir.path(), dest, 0, 1, JobCheck::Paths,
         "the source '" + dir.path() + "' is a folder, not a movie file"},
        {source, dir.Path("no-such-folder/out.wmv"), 0, 1, JobCheck::Paths,
         "the destination's folder does not exist; choose another one"},
        {source, dest, 0, 3000000000.0, JobCheck::Range,
         "the end (3000000000 s, 833333:20:00) is later than the converters can reach "
         "(2147483647 s, 596523:14:07)"},
        {source, dest, 7.5, 5, JobCheck::Range,
         "the begin (7.5 s, 00:00:07) is after the end (5 s, 00:00:05)"},
    };
    for (const auto& c : cases) {
        TestHost host;
        CJobSession session(host);
        JobRequest request;
        request.source = c.source;
        request.destination = c.dest;
        request.beginSeconds = c.begin;
        request.endSeconds = c.end;
        request.primaryLibrary = "libnot-bound.so";
        EXPECT_EQ(session.Run(request), JobOutcome::Refused) << c.says;
        ASSERT_EQ(host.refusals.size(), 1u) << c.says;
        EXPECT_EQ(host.refusals[0].check, c.check) << c.says;
        EXPECT_EQ(host.refusals[0].reason, c.says);
        EXPECT_TRUE(host.lines.empty()) << c.says;  // nothing was bound
    }
}

// Lines the engines send around their ending must not decide it: only the
// ending reports do, and the first of them counts.
TEST(JobReport, OnlyTheFirstEndingReportDecides) {
    CJobReport report;
    report.OnEngineLine("Info: Begin Convert '/clips/abort.mp4' to '/out/aborted.wmv'\r\n");
    report.OnEngineLine("Converting successfully complete!\r\n");
    report.OnEngineLine("End of converting.\r\n");
    report.OnEngineLine("Info: Error in end writing on Writer, Error=0X80004005\r\n");
    EXPECT_EQ(report.Outcome(false), JobOutcome::Completed);
    EXPECT_EQ(report.Outcome(true), JobOutcome::Stopped);

    // The older engine says it finished after a stop or an error as well.
    report.Reset();
    report.OnEngineLine("Error Abort\n");
    report.OnEngineLine("Converting finished\r\n");
    EXPECT_EQ(report.Outcome(false), JobOutcome::Aborted);

    report.Reset();
    report.OnEngineLine("Under converting, please wait...\r\n");
    EXPECT_EQ(report.Outcome(false), JobOutcome::Aborted);  // ended without a word
}

// A file that could not be written fails the job whatever ended the graph,
// a stop included: nothing new is at the destination.
TEST(JobReport, OutputFailureAfterTheEndingMakesAnyJobAFailure) {
    const std::string failed =
        "Failed to write the output file (the disk is full), Error=0XC00D0027, Mission "
        "aborted!\r\n";
    for (const char* ending : {"Converting successfully complete!\r\n", "User Abort\r\n"}) {
        CJobReport report;
        report.OnEngineLine(ending);
        report.OnEngineLine(failed);
        report.OnEngineLine("Converting finished\r\n");
        EXPECT_EQ(report.Outcome(false), JobOutcome::Aborted) << ending;
        EXPECT_EQ(report.Outcome(true), JobOutcome::Aborted) << ending;
        report.Reset();
        report.OnEngineLine(ending);
        EXPECT_NE(report.Outcome(false), JobOutcome::Aborted) << ending;
    }
}
