// The caller's side of a job, run against both real engines as the main
// frame runs it: a host window takes the log lines from the state's buffer,
// stops the job through the state's slots, and the outcome comes from what
// the engine reported.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "job/job_control.h"
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
    JobHost(ConvertFn convert, bool stopWhenRunning) : m_convert(convert) {
        m_hWnd = CreateHostWindow(
            [this, stopWhenRunning](HWND hwnd, UINT msg, WPARAM w, LPARAM) -> LRESULT {
                if (msg == WM_COMMAND && LOWORD(w) == kCmdFlushLog) {
                    lines.push_back(m_job.TakeEngineLine());
                    // Inside Convert a second job must be refused.
                    if (lines.back() == kRunning) {
                        secondCallRefused = !m_job.RunConvert(m_convert, m_hWnd, m_request);
                        graphRunningThen = m_job.GraphRunning();
                        if (stopWhenRunning) PostMessageA(hwnd, kStopMessage, 0, 0);
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
