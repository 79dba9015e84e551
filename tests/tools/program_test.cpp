// zev-convert run as a user would run it: arguments in, a Windows Media file
// and time-stamped log lines out, and an exit status that tells the outcome.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <regex>
#include <sstream>

#include "media_tools.h"

namespace {

std::string ZevConvert(const std::string& args) {
    return std::string(ZEV_CONVERT_PATH) + " -q " + args;
}

class ZevConvertProgram : public ::testing::Test {
protected:
    void SetUp() override {
        m_source = m_dir.Path("source clip.mp4");
        ClipSpec spec;
        spec.seconds = 6;
        ASSERT_TRUE(MakeClip(m_source, spec));
    }
    // What runs a command as an ordinary user: nothing, or as root, which
    // may read and write anything, setpriv to nobody (the test folder then
    // open to all). False when that cannot be done here.
    bool OrdinaryUser(std::string& prefix) {
        prefix.clear();
        if (geteuid() != 0) return true;
        prefix = "setpriv --reuid=65534 --regid=65534 --clear-groups env HOME=" +
                 ShellQuote(m_dir.path()) + " ";
        if (RunCommand(prefix + "test -x " + ShellQuote(ZEV_CONVERT_PATH)) != 0) return false;
        return chmod(m_dir.path().c_str(), 0777) == 0;
    }
    TempDir m_dir;
    std::string m_source;
};

}  // namespace

TEST_F(ZevConvertProgram, ConvertsToTheSourcesEndByDefaultWithStampedLines) {
    const std::string dest = m_dir.Path("out.wmv");
    std::string out;
    const int status = RunCommand(ZevConvert("--begin 00:00:02 --size 321x241 " +
                                             ShellQuote(m_source) + " " + ShellQuote(dest)),
                                  &out);
    ASSERT_EQ(status, 0) << out;
    const std::regex stamped(R"(\d\d:\d\d:\d\d    \S.*)");
    std::istringstream lines(out);
    std::string line, last;
    int count = 0;
    while (std::getline(lines, line)) {
        EXPECT_TRUE(std::regex_match(line, stamped)) << line;
        EXPECT_EQ(line.find('\r'), std::string::npos);
        last = line;
        ++count;
    }
    EXPECT_GT(count, 5);
    EXPECT_EQ(last.substr(12), "End of converting.");
    const JsonValue probe = Probe(dest);
    const JsonValue& video = StreamOf(probe, "video");
    EXPECT_EQ(video["width"].Number(), 322);  // odd sizes are made even
    EXPECT_EQ(video["height"].Number(), 242);
    EXPECT_NEAR(std::stod(probe["format"]["duration"].String()), 4.0, 0.1);
}

TEST_F(ZevConvertProgram, StoredProfileByName) {
    const std::string dest = m_dir.Path("profiled.wmv");
    std::string out;
    // The first profile of the shipped file.
    std::string firstName;
    {
        std::istringstream cfg(ReadFileBytes(DEFAULT_PROFILES));
        std::string header, first;
        std::getline(cfg, header);
        std::getline(cfg, first);
        firstName = first.substr(0, first.find('.'));
    }
    ASSERT_FALSE(firstName.empty());
    const int status = RunCommand(ZevConvert("--profiles " + ShellQuote(DEFAULT_PROFILES) +
                                             " --profile " + ShellQuote(firstName) + " --end 2 " +
                                             ShellQuote(m_source) + " " + ShellQuote(dest)),
                                  &out);
    EXPECT_EQ(status, 0) << out;
    EXPECT_FALSE(Probe(dest).IsNull());

    EXPECT_EQ(RunCommand(ZevConvert("--profiles " + ShellQuote(DEFAULT_PROFILES) +
                                    " --profile 'No such profile' " + ShellQuote(m_source) + " " +
                                    ShellQuote(dest) + " 2>&1"),
                         &out),
              1);
    EXPECT_NE(out.find("No such profile"), std::string::npos) << out;

    // A pipe as the profile file is refused at once, not waited on.
    const std::string fifo = m_dir.Path("fifo.cfg");
    ASSERT_EQ(0, mkfifo(fifo.c_str(), 0644));
    EXPECT_EQ(
        RunCommand("timeout 60 " + ZevConvert("--profiles " + ShellQuote(fifo) + " --profile " +
                                              ShellQuote(firstName) + " " + ShellQuote(m_source) +
                                              " " + ShellQuote(dest) + " 2>&1"),
                   &out),
        1);
    EXPECT_NE(out.find("is not a regular file"), std::string::npos) << out;
}

TEST_F(ZevConvertProgram, StoredProfileTheEncoderWouldRefuseIsRefusedBeforeAnyFile) {
    // A hand-edited profile.cfg: the runtime would keep its own 640x480
    // and report success.
    const std::string cfg = m_dir.Path("profile.cfg");
    std::ofstream(cfg) << "3,0\nHuge.100000,90000,220,15,64000,1,44100\n"
                          "Fast.640,480,99999999,25,64000,1,44100\n"
                          "Blur.640,480,220,500,64000,1,44100\n";
    const struct {
        const char* profile;
        const char* says;
    } cases[] = {{"Huge", "video size 100000x90000"},
                 {"Fast", "bit rate 99999999 kbit/s"},
                 {"Blur", "frame rate 500 fps"}};
    for (const auto& c : cases) {
        const std::string dest = m_dir.Path(std::string(c.profile) + ".wmv");
        std::string out;
        EXPECT_EQ(RunCommand(ZevConvert("--profiles " + ShellQuote(cfg) + " -p " + c.profile +
                                        " --end 1 " + ShellQuote(m_source) + " " +
                                        ShellQuote(dest) + " 2>&1"),
                             &out),
                  2)
            << out;
        EXPECT_NE(out.find(c.says), std::string::npos) << out;
        EXPECT_NE(access(dest.c_str(), F_OK), 0) << c.profile;
    }
}

TEST_F(ZevConvertProgram, RefusesTheSourceAsDestinationAndBadRanges) {
    const std::string before = ReadFileBytes(m_source);
    std::string out;
    // The same file reached through another spelling of its folder.
    const std::string sameFile = m_dir.path() + "/./source clip.mp4";
    EXPECT_EQ(
        RunCommand(ZevConvert(ShellQuote(m_source) + " " + ShellQuote(sameFile) + " 2>&1"), &out),
        2);
    EXPECT_NE(out.find("destination is the source"), std::string::npos) << out;
    EXPECT_EQ(ReadFileBytes(m_source), before);

    EXPECT_EQ(RunCommand(ZevConvert("--begin 5 --end 3 " + ShellQuote(m_source) + " " +
                                    ShellQuote(m_dir.Path("x.wmv")) + " 2>&1"),
                         &out),
              2);
    EXPECT_EQ(RunCommand(ZevConvert("--nonsense a b 2>&1"), &out), 2);
    EXPECT_NE(out.find("--help"), std::string::npos);
}

// A source that is missing, a folder or unreadable, and a destination
// folder that is missing or read-only, are refused by name before any job,
// with or without the range given; nothing is written.
TEST_F(ZevConvertProgram, SourcesAndFoldersThatCannotServeAreRefusedByName) {
    const std::string missing = m_dir.Path("missing.mp4");
    const std::string unreadable = m_dir.Path("unreadable.mp4");
    WriteFileBytes(unreadable, ReadFileBytes(m_source));
    ASSERT_EQ(0, chmod(unreadable.c_str(), 0));
    const std::string readOnly = m_dir.Path("read-only");
    ASSERT_EQ(0, mkdir(readOnly.c_str(), 0555));
    const std::string out = m_dir.Path("out.wmv");
    const struct {
        std::string source, dest, says;
        bool asUser;
    } cases[] = {
        {missing, out, "the source '" + missing + "' does not exist", false},
        {m_dir.path(), out, "the source '" + m_dir.path() + "' is a folder, not a movie file",
         false},
        {m_source, m_dir.Path("gone/out.wmv"), "the destination's folder does not exist", false},
        {unreadable, out, "the source '" + unreadable + "' cannot be read", true},
        {m_source, readOnly + "/out.wmv", "the destination's folder is read-only", true},
    };
    std::string user;
    const bool canSwitch = OrdinaryUser(user);
    for (const auto& c : cases) {
        if (c.asUser && !canSwitch) continue;
        for (const char* range : {"", "--end 3 "}) {
            std::string text;
            EXPECT_EQ(
                RunCommand((c.asUser ? user : "") + ZevConvert(range + ShellQuote(c.source) + " " +
                                                               ShellQuote(c.dest) + " 2>&1"),
                           &text),
                2)
                << text;
            EXPECT_EQ(text.rfind("zev-convert: " + c.says, 0), 0u) << text;
            EXPECT_NE(access(c.dest.c_str(), F_OK), 0) << c.dest;
        }
    }
    if (!canSwitch) GTEST_SKIP() << "cannot run the program as an ordinary user here";
}

// A destination whose disk cannot hold the range is refused before anything
// is written, with both figures; --ignore-free-space converts anyway.
TEST_F(ZevConvertProgram, TooLittleFreeSpaceIsRefusedWithBothFiguresUnlessIgnored) {
    SmallDisk disk(m_dir.path(), "small", 1 << 20);
    if (!disk.Mounted()) GTEST_SKIP() << disk.Why();
    const std::string dest = disk.Path("out.wmv");
    // 600 s at 300 kbit/s and 64000 bit/s is expected to take
    // 600 * 364000 / 8 * 1.05 + 65536 bytes; the 6-s source makes a file
    // that fits.
    const std::string args = "--end 600 " + ShellQuote(m_source) + " " + ShellQuote(dest) + " 2>&1";
    std::string out;
    EXPECT_EQ(RunCommand(ZevConvert(args), &out), 2) << out;
    EXPECT_NE(out.find("Info: Expected dest file size 28730536 bytes, free space 1048576 bytes"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("zev-convert: not enough free space: the destination's disk has 1048576 "
                       "bytes (1.0 MiB) free, and the file is expected to take 28730536 bytes "
                       "(27.4 MiB)"),
              std::string::npos)
        << out;
    EXPECT_NE(access(dest.c_str(), F_OK), 0);

    EXPECT_EQ(RunCommand(ZevConvert("--ignore-free-space " + args), &out), 0) << out;
    EXPECT_NEAR(std::stod(Probe(dest)["format"]["duration"].String()), 6.0, 0.2);
    RunCommand(ZevConvert("--help"), &out);
    EXPECT_NE(out.find("--ignore-free-space"), std::string::npos);
}

TEST_F(ZevConvertProgram, InterruptStopsTheJobAndKeepsATaggedFile) {
    const std::string source = m_dir.Path("long.mp4");
    ClipSpec spec;
    spec.seconds = 60;
    ASSERT_TRUE(MakeClip(source, spec));
    const std::string dest = m_dir.Path("stopped.wmv");
    const std::string log = m_dir.Path("log.txt");
    // Interrupt once the job runs, as Ctrl+C in a terminal would.
    const std::string script =
        ZevConvert(ShellQuote(source) + " " + ShellQuote(dest)) + " > " + ShellQuote(log) +
        " 2>&1 & pid=$!; for i in $(seq 200); do grep -q 'Under converting' " + ShellQuote(log) +
        " && break; sleep 0.05; done; kill -INT $pid; wait $pid; echo $?";
    std::string out;
    ASSERT_EQ(RunCommand("bash -c " + ShellQuote(script), &out), 0);
    EXPECT_EQ(out, "130\n") << ReadFileBytes(log);
    const std::string text = ReadFileBytes(log);
    EXPECT_NE(text.find("User want stop converting"), std::string::npos) << text;
    EXPECT_NE(text.find("User stopped converting."), std::string::npos) << text;
    const JsonValue probe = Probe(dest);
    ASSERT_FALSE(probe.IsNull());
    EXPECT_LT(std::stod(probe["format"]["duration"].String()), 59.0);
    EXPECT_FALSE(probe["format"]["tags"]["comment"].String().empty());
}

TEST_F(ZevConvertProgram, OnATerminalOnlyAFinishedJobEndsAtAHundredPercent) {
    // `script` gives the program a terminal, so that it shows its progress line.
    const auto onTerminal = [](const std::string& command) {
        return "script -qec " + ShellQuote(command) + " /dev/null";
    };
    const std::string zev = std::string(ZEV_CONVERT_PATH) + " ";
    std::string out;
    ASSERT_EQ(RunCommand(onTerminal(zev + "--end 2 " + ShellQuote(m_source) + " " +
                                    ShellQuote(m_dir.Path("whole.wmv"))),
                         &out),
              0)
        << out;
    EXPECT_NE(out.find("100% finished"), std::string::npos) << out;

    const std::string source = m_dir.Path("long.mp4");
    ClipSpec spec;
    spec.seconds = 60;
    ASSERT_TRUE(MakeClip(source, spec));
    const std::string log = m_dir.Path("log.txt");
    const std::string interrupted =
        zev + ShellQuote(source) + " " + ShellQuote(m_dir.Path("part.wmv")) + " > " +
        ShellQuote(log) + " & pid=$!; for i in $(seq 200); do grep -q 'Under converting' " +
        ShellQuote(log) + " && break; sleep 0.05; done; kill -INT $pid; wait $pid";
    RunCommand(onTerminal("bash -c " + ShellQuote(interrupted)), &out);
    EXPECT_NE(ReadFileBytes(log).find("User stopped converting."), std::string::npos)
        << ReadFileBytes(log);
    EXPECT_EQ(out.find("100% finished"), std::string::npos) << out;
}

// The destination is checked by what it is, not by how it is spelled: a
// hard link to the source, a pipe, a folder and an over-long path are
// refused before any job (the pipe without hanging); a link is followed,
// its file replaced and the link kept.
TEST_F(ZevConvertProgram, DestinationsAreCheckedByWhatTheyAre) {
    const std::string before = ReadFileBytes(m_source);
    const std::string hardLink = m_dir.Path("hard link.wmv");
    ASSERT_EQ(0, link(m_source.c_str(), hardLink.c_str()));
    const std::string fifo = m_dir.Path("pipe.wmv");
    ASSERT_EQ(0, mkfifo(fifo.c_str(), 0644));
    std::string out;
    for (const std::string& dest : {hardLink, fifo, m_dir.path()}) {
        EXPECT_EQ(RunCommand("timeout 60 " + ZevConvert("--end 1 " + ShellQuote(m_source) + " " +
                                                        ShellQuote(dest) + " 2>&1"),
                             &out),
                  2)
            << dest << ": " << out;
        EXPECT_NE(out.find("zev-convert: the destination is"), std::string::npos) << out;
    }
    EXPECT_EQ(ReadFileBytes(m_source), before);

    const std::string tooLong = "/" + std::string(1100, 'x') + ".wmv";
    EXPECT_EQ(RunCommand(ZevConvert(ShellQuote(m_source) + " " + tooLong + " 2>&1"), &out), 2);
    EXPECT_NE(out.find("longer than 1023 bytes"), std::string::npos) << out;

    const std::string target = m_dir.Path("target.wmv");
    std::ofstream(target) << "old";
    const std::string link = m_dir.Path("link.wmv");
    ASSERT_EQ(0, symlink("target.wmv", link.c_str()));
    ASSERT_EQ(
        RunCommand(ZevConvert("--end 1 " + ShellQuote(m_source) + " " + ShellQuote(link) + " 2>&1"),
                   &out),
        0)
        << out;
    struct stat st {};
    ASSERT_EQ(0, lstat(link.c_str(), &st));
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(Probe(target)["format"]["format_name"].String(), "asf");
}

// A destination the user may not write is refused before the job, and
// kept; as root, which may write anything, the program runs as nobody.
TEST_F(ZevConvertProgram, AWriteProtectedDestinationIsRefusedAndKept) {
    std::string asUser;
    if (!OrdinaryUser(asUser)) GTEST_SKIP() << "cannot run the program as an ordinary user here";
    const std::string dest = m_dir.Path("protected.wmv");
    WriteFileBytes(dest, "keep me");
    ASSERT_EQ(0, chmod(dest.c_str(), 0444));
    std::string out;
    EXPECT_EQ(RunCommand(asUser + ZevConvert("--end 1 " + ShellQuote(m_source) + " " +
                                             ShellQuote(dest) + " 2>&1"),
                         &out),
              2)
        << out;
    EXPECT_NE(out.find("zev-convert: the destination is write-protected"), std::string::npos)
        << out;
    EXPECT_EQ(ReadFileBytes(dest), "keep me");
}

// SIGTERM and SIGHUP stop the job as Ctrl+C does (a closed, tagged file,
// exit 130); a log reader that goes away does not end the job.
TEST_F(ZevConvertProgram, TerminationSignalsStopTheJobAndAClosedPipeDoesNot) {
    const std::string source = m_dir.Path("long.mp4");
    ClipSpec spec;
    spec.seconds = 60;
    ASSERT_TRUE(MakeClip(source, spec));
    for (const char* signal : {"TERM", "HUP"}) {
        const std::string dest = m_dir.Path(std::string("stopped-") + signal + ".wmv");
        const std::string log = m_dir.Path("log.txt");
        const std::string script =
            ZevConvert(ShellQuote(source) + " " + ShellQuote(dest)) + " > " + ShellQuote(log) +
            " 2>&1 & pid=$!; for i in $(seq 200); do grep -q 'Under converting' " +
            ShellQuote(log) + " && break; sleep 0.05; done; kill -" + signal +
            " $pid; wait $pid; echo $?";
        std::string out;
        ASSERT_EQ(RunCommand("bash -c " + ShellQuote(script), &out), 0);
        EXPECT_EQ(out, "130\n") << signal << ": " << ReadFileBytes(log);
        EXPECT_NE(ReadFileBytes(log).find("User stopped converting."), std::string::npos) << signal;
        const JsonValue probe = Probe(dest);
        ASSERT_FALSE(probe.IsNull()) << signal;
        EXPECT_LT(std::stod(probe["format"]["duration"].String()), 59.0);
        EXPECT_FALSE(probe["format"]["tags"]["comment"].String().empty());
    }

    // The reader of the log lines quits after the first one.
    const std::string dest = m_dir.Path("piped.wmv");
    std::string out;
    const std::string script =
        ZevConvert("--end 3 " + ShellQuote(m_source) + " " + ShellQuote(dest)) +
        " | head -n 1 > /dev/null; echo ${PIPESTATUS[0]}";
    ASSERT_EQ(RunCommand("bash -c " + ShellQuote(script), &out), 0);
    EXPECT_EQ(out, "0\n");
    EXPECT_NEAR(std::stod(Probe(dest)["format"]["duration"].String()), 3.0, 0.2);
}
