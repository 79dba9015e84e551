// The caller's side of a job, run against both real engines as the main
// frame runs it: a host window takes the log lines from the state's buffer,
// stops the job through the state's slots, and the outcome comes from what
// the engine reported.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "app/job/job_control.h"
#include "convert/common/job_report.h"
#include "converter_host.h"
#include "media_tools.h"
#include "platform/win/window.h"

namespace {

constexpr UINT kStopMessage = WM_APP + 7;
const std::string kRunning = "Under converting, please wait...\r\n";

// A frame in miniature: one CJobState, a window for the engine's lines, and
// a stop sent once the graph runs (posted, as the job panel's button is).
class JobHost {
public:
    // `whenRunning` runs once the engine waits for its running graph.
    JobHost(ConvertFn convert, bool stopWhenRunning, std::function<void()> whenRunning = {})
        : m_convert(convert) {
        m_hWnd = CreateHostWindow(
            [this, stopWhenRunning, whenRunning](HWND hwnd, UINT msg, WPARAM w, LPARAM) -> LRESULT {
                if (msg == WM_COMMAND && LOWORD(w) == kCmdFlushLog) {
                    lines.push_back(m_job.TakeEngineLine());
                    // Inside Convert a second job must be refused.
                    if (lines.back() == kRunning) {
                        secondCallRefused = !m_job.RunConvert(m_convert, m_hWnd, m_request);
                        graphRunningThen = m_job.GraphRunning();
                        if (stopWhenRunning) PostMessageA(hwnd, kStopMessage, 0, 0);
                        if (whenRunning) whenRunning();
                    }
                } else if (msg == kStopMessage) {
                    m_job.StopEngine([this] { stopSawControl = true; });
                }
                return 0;
            });
    }
    ~JobHost() { DestroyWindow(m_hWnd); }

    JobOutcome Run(const JobRequest& request) {
        m_request = request;
        EXPECT_TRUE(m_job.RunConvert(m_convert, m_hWnd, request));
        EXPECT_FALSE(m_job.Converting());
        slotsClearAfter =
            !m_job.m_pGraphBuilder && !m_job.m_pMediaControl && !m_job.m_pMediaSeeking;
        progressAfter = m_job.ReadProgress();
        return m_job.Outcome();
    }

    std::vector<std::string> lines;
    bool secondCallRefused = false;
    bool graphRunningThen = false;
    bool stopSawControl = false;
    bool slotsClearAfter = false;
    int progressAfter = -1;

private:
    ConvertFn m_convert;
    HWND m_hWnd = nullptr;
    JobRequest m_request;
    CJobState m_job;
};

class JobControl : public ::testing::TestWithParam<const char*> {
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
    void SetUp() override { ASSERT_TRUE(m_library.convert()) << m_library.error(); }

    JobRequest Request(const std::string& source, const std::string& dest, double end) {
        return {source, dest, MakeProfile(240, 180, 300000, 15, s_audio), 0, end};
    }

    static inline AudioChoice s_audio;
    static inline TempDir* s_dir = nullptr;
    static const char* EngineTag() { return GetParam() == std::string(TRANZO9_PATH) ? "9" : "8"; }
    ConverterLibrary m_library{GetParam()};
};

}  // namespace

TEST_P(JobControl, ARangeRunToItsEndCompletes) {
    JobHost host(m_library.convert(), false);
    EXPECT_EQ(host.Run(Request(s_dir->Path("short.mp4"), s_dir->Path("done.wmv"), 2)),
              JobOutcome::Completed);
    EXPECT_TRUE(host.secondCallRefused);
    EXPECT_TRUE(host.graphRunningThen);
    EXPECT_TRUE(host.slotsClearAfter);
    // The engine's last value stays until the caller resets it.
    EXPECT_GT(host.progressAfter, 0);
}

TEST_P(JobControl, StopWhileRunningEndsStoppedWithTheSlotsCleared) {
    const std::string dest = s_dir->Path("stopped.wmv");
    JobHost host(m_library.convert(), true);
    EXPECT_EQ(host.Run(Request(s_dir->Path("long.mp4"), dest, 30)), JobOutcome::Stopped);
    EXPECT_TRUE(host.stopSawControl);
    EXPECT_TRUE(host.slotsClearAfter);
    // The engine itself heard the stop: it reported it, not a finished range.
    bool engineSaidStopped = false;
    for (const auto& line : host.lines)
        engineSaidStopped |= line == "User stopped converting.\r\n" || line == "User Abort\r\n";
    EXPECT_TRUE(engineSaidStopped);
    const JsonValue probe = Probe(dest);
    ASSERT_FALSE(probe.IsNull());
    // How far the job got before the posted stop landed depends on the
    // machine's load (before the first packet there is no duration at all);
    // the file never runs past the range.
    const std::string duration = probe["format"]["duration"].String();
    if (!duration.empty()) EXPECT_LE(std::stod(duration), 30.1);
}

// A file that always held less than its header claims converts what it
// holds, and the log says where it ended.
TEST_P(JobControl, ASourceShorterThanItsHeaderConvertsWhatItHoldsAndSaysSo) {
    const std::string dest = s_dir->Path("half.wmv");
    JobHost host(m_library.convert(), false);
    EXPECT_EQ(host.Run(Request(s_dir->Path("half.mkv"), dest, 20)), JobOutcome::Completed);
    const std::regex said(
        R"(Info: The source ended at 00:00:(0[5-9]|1[0-5]), before the end of the range at )"
        R"(00:00:20\r\n)");
    EXPECT_TRUE(std::any_of(host.lines.begin(), host.lines.end(),
                            [&](const std::string& l) { return std::regex_match(l, said); }));
    EXPECT_NEAR(std::stod(Probe(dest)["format"]["duration"].String()), 10.0, 5.0);
}

// A source cut short while it is read fails the job: no success line, and
// the file written so far is kept, closed and playable.
TEST_P(JobControl, ASourceTruncatedDuringTheJobFailsAndKeepsAPlayableFile) {
    const std::string source = s_dir->Path(std::string("cut-") + EngineTag() + ".mkv");
    WriteFileBytes(source, ReadFileBytes(s_dir->Path("whole.mkv")));
    const std::string dest = s_dir->Path("cut.wmv");
    JobHost host(m_library.convert(), false, [&] {
        ASSERT_EQ(0, truncate(source.c_str(), std::filesystem::file_size(source) / 2));
    });
    EXPECT_EQ(host.Run(Request(source, dest, 20)), JobOutcome::Aborted);
    EXPECT_NE(std::find(host.lines.begin(), host.lines.end(), kReportSourceChanged),
              host.lines.end());
    EXPECT_EQ(std::find(host.lines.begin(), host.lines.end(), kReportCompleted9), host.lines.end());
    const JsonValue probe = Probe(dest);
    ASSERT_FALSE(probe.IsNull());
    EXPECT_GT(std::stod(probe["format"]["duration"].String()), 0.0);
}

TEST_P(JobControl, AJobThatCannotStartIsAborted) {
    JobHost host(m_library.convert(), false);
    EXPECT_EQ(host.Run(Request(s_dir->Path("missing.mp4"), s_dir->Path("never.wmv"), 2)),
              JobOutcome::Aborted);
    EXPECT_TRUE(host.slotsClearAfter);
    ASSERT_FALSE(host.lines.empty());
}

std::string EngineName(const ::testing::TestParamInfo<const char*>& param) {
    return param.index == 0 ? "tranzo9" : "tranzo8";
}

INSTANTIATE_TEST_SUITE_P(Engines, JobControl, ::testing::Values(TRANZO9_PATH, TRANZO8_PATH),
                         EngineName);

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
