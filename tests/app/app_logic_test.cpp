// The window's display-free arithmetic: the log's append state with its
// limit, the progress texts, the job panel's layout, the destination it
// proposes.
#include <gtest/gtest.h>

#include <set>

#include "app/command_line.h"
#include "app/dest_proposal.h"
#include "app/job_panel_layout.h"
#include "app/log_append_state.h"
#include "job/progress_text.h"

namespace {

std::u16string U(const char* s) {
    return std::u16string(s, s + std::char_traits<char>::length(s));
}

// Applies edits to a separate copy, as the widget does, so a wrong edit
// shows as a difference from the state's own text.
struct Mirror {
    std::u16string text;
    void Apply(const LogEdit& e) {
        text.erase(0, e.dropFront);
        text.replace(e.replaceFrom, e.replaceTo - e.replaceFrom, e.piece);
    }
};

}  // namespace

TEST(LogAppendState, TransientPiecesAreReplacedAndLinesStay) {
    CLogAppendState state;
    Mirror m;
    m.Apply(state.Append(U("a\r\n")));
    m.Apply(state.Append(U("10%\r")));
    m.Apply(state.Append(U("20%\r")));
    EXPECT_EQ(U("a\n20%"), m.text);
    m.Apply(state.Append(U("done\r\n")));
    m.Apply(state.Append(U("next\r\n")));
    EXPECT_EQ(U("a\ndone\nnext\n"), m.text);
    EXPECT_EQ(m.text, state.Text());
    EXPECT_EQ(m.text.size(), state.EndPosition());
}

TEST(LogAppendState, FullLogDropsOldestWholeLinesAndKeepsTheNewest) {
    CLogAppendState state(20);
    Mirror m;
    for (const char* line : {"line1\r\n", "line2\r\n", "line3\r\n", "line4\r\n"})
        m.Apply(state.Append(U(line)));
    // 24 characters would not fit: line1 went, whole.
    EXPECT_EQ(U("line2\nline3\nline4\n"), m.text);
    // A transient piece at the limit still replaces itself, and the end
    // position stays on the text's end.
    for (const char* piece : {"p 10%\r", "p 20%\r", "p 30%\r"}) m.Apply(state.Append(U(piece)));
    EXPECT_EQ(U("line3\nline4\np 30%"), m.text);
    m.Apply(state.Append(U("end\r\n")));
    EXPECT_EQ(U("line3\nline4\nend\n"), m.text);
    EXPECT_EQ(m.text, state.Text());
    EXPECT_EQ(state.Text().size(), state.EndPosition());
    EXPECT_LE(state.Text().size(), state.Limit());
    // A piece longer than the whole limit keeps its end.
    m.Apply(state.Append(U("0123456789abcdefghijXYZ\r\n")));
    EXPECT_EQ(U("456789abcdefghijXYZ\n"), m.text);
    EXPECT_EQ(20u, m.text.size());
}

TEST(LogAppendState, ACutThatFallsOnALineEndDropsOnlyTheLinesBeforeIt) {
    CLogAppendState state(12);
    Mirror m;
    for (const char* line : {"aaa\r\n", "bbb\r\n", "ccc\r\n"}) m.Apply(state.Append(U(line)));
    EXPECT_EQ(U("aaa\nbbb\nccc\n"), m.text);  // exactly full
    // Four more characters: the cut after the first four ends on the first
    // line's end, so that line goes and the second stays.
    m.Apply(state.Append(U("ddd\r\n")));
    EXPECT_EQ(U("bbb\nccc\nddd\n"), m.text);
    EXPECT_EQ(m.text, state.Text());
    EXPECT_EQ(state.Text().size(), state.EndPosition());
}

TEST(ProgressText, SpinnerTurnsAndStatusTextLosesLineEnds) {
    EXPECT_EQ("Under converting, please wait...42% finished\r\\", FormatProgressText(42, 1));
    EXPECT_EQ("Under converting, please wait...42% finished\r|", FormatProgressText(42, 2));
    EXPECT_EQ(0, NextSpinner(3));
    EXPECT_EQ(2, NextSpinner(1));
    EXPECT_EQ("Under converting, please wait...7% finished-",
              StatusBarText(FormatProgressText(7, 0)));
    EXPECT_EQ("Load Convertor Library Success.",
              StatusBarText("Load Convertor Library Success.\r\n"));
}

TEST(ProgressText, TimeLeftFollowsTheRateSoFar) {
    EXPECT_EQ("0%", ProgressBarText(0, 5000));
    EXPECT_EQ("30%", ProgressBarText(30, 1000));  // too early to tell
    EXPECT_EQ("25% - 0:30 left", ProgressBarText(25, 10000));
    EXPECT_EQ("10% - 1:30:00 left", ProgressBarText(10, 600000));
    EXPECT_EQ("100%", ProgressBarText(100, 60000));
}

TEST(JobPanelLayout, ChildrenFollowTheWidth) {
    const JobPanelLayout l = ComputeJobPanelLayout(931);
    // half 465, quarter 232
    EXPECT_EQ(10, l.progress.x);
    EXPECT_EQ(444, l.progress.width);
    EXPECT_EQ(515, l.sourceBrowse.x);
    EXPECT_EQ(495, l.destBrowse.x);
    EXPECT_EQ(40 + 192 - 30, l.convertButton.x);
    EXPECT_EQ(470, l.sourceLabel.x);
    EXPECT_EQ(455, l.sourceLabel.width);
    EXPECT_EQ(110, l.destLabel.y);
    // Narrow panels: (half - 80) / 2 truncates toward zero.
    EXPECT_EQ(40 + (-35) / 2 - 30, ComputeJobPanelLayout(90).convertButton.x);
}

// The trace is off unless asked for, by option or by environment.
TEST(ZevCommandLine, TraceOnlyWhenAskedAndHelpSaysHow) {
    const char* plain[] = {"zev", "movie.mp4"};
    const char* traced[] = {"zev", "--trace", "movie.mp4"};
    const char* help[] = {"zev", "-h"};
    EXPECT_FALSE(ReadZevCommandLine(2, plain, nullptr).trace);
    EXPECT_FALSE(ReadZevCommandLine(2, plain, "0").trace);
    EXPECT_FALSE(ReadZevCommandLine(2, plain, "").trace);
    EXPECT_TRUE(ReadZevCommandLine(2, plain, "1").trace);
    EXPECT_TRUE(ReadZevCommandLine(3, traced, nullptr).trace);
    EXPECT_FALSE(ReadZevCommandLine(3, traced, nullptr).help);
    EXPECT_TRUE(ReadZevCommandLine(2, help, nullptr).help);
    const std::string usage = ZevUsageText();
    EXPECT_NE(usage.find("--trace"), std::string::npos);
    EXPECT_NE(usage.find("ZEV_TRACE=1"), std::string::npos);
}

TEST(DestProposal, SourceNameInTheLastFolderOrBesideTheSourceNumberedWhenTakenNeverTheSource) {
    std::set<std::string> disk = {"/movies/clip.mp4", "/out"};
    const PathExists exists = [&](const std::string& p) { return disk.count(p) > 0; };
    // No folder remembered, or one that has gone: beside the source.
    EXPECT_EQ("/movies/clip.wmv", ProposeDestination("/movies/clip.mp4", "", exists));
    EXPECT_EQ("/movies/clip.wmv", ProposeDestination("/movies/clip.mp4", "/gone", exists));
    EXPECT_EQ("/out/clip.wmv", ProposeDestination("/movies/clip.mp4", "/out", exists));
    // The name taken twice: the third.
    disk.insert({"/out/clip.wmv", "/out/clip (2).wmv"});
    EXPECT_EQ("/out/clip (3).wmv", ProposeDestination("/movies/clip.mp4", "/out", exists));
    // A .wmv source is never proposed, even when it is no longer on disk.
    EXPECT_EQ("/movies/talk (2).wmv", ProposeDestination("/movies/talk.wmv", "", exists));
    // No source: the dialog opens in the remembered folder.
    EXPECT_EQ("/out", ProposeDestination("", "/out", exists));
    EXPECT_EQ("/out", FolderOf("/out/clip (3).wmv"));
}
