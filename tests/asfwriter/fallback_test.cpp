// The fallback from the command line: with a runtime that lacks the writer
// entry point, libtranzo9.so cannot be loaded (error 127) and the job runs
// on libtranzo8.so.
#include <gtest/gtest.h>

#include <sstream>

#include "convert/common/convert_api.h"
#include "convert/common/program_names.h"
#include "media_tools.h"

namespace {

// zev-convert's lines without their "HH:MM:SS    " stamps.
std::vector<std::string> Unstamped(const std::string& output) {
    std::vector<std::string> lines;
    std::istringstream in(output);
    std::string line;
    while (std::getline(in, line)) lines.push_back(line.size() > 12 ? line.substr(12) : line);
    return lines;
}

}  // namespace

TEST(Fallback, TooOldRuntimeLoadsTheOlderEngineAndTheJobCompletes) {
    TempDir dir;
    const std::string source = dir.Path("src.mp4");
    ClipSpec spec;
    spec.seconds = 4;
    ASSERT_TRUE(MakeClip(source, spec));
    const std::string dest = dir.Path("out.wmv");
    std::string output;
    const int status =
        RunCommand(std::string("LD_LIBRARY_PATH=") + REDUCED_RUNTIME_DIR + " " + ZEV_CONVERT_PATH +
                       " -q --end 3 " + ShellQuote(source) + " " + ShellQuote(dest) + " 2>&1",
                   &output);
    EXPECT_EQ(status, 0) << output;
    const std::vector<std::string> lines = Unstamped(output);
    const std::vector<std::string> binding = {
        "Load Convertor Library failed! Error = 0X0000007F",
        "Please install 'Windows Media Player 9' or 'Windows Media Format 9 Series Runtime'",
        std::string("Check home page at ") + kMakerWebAddress + " for download",
        "Begin load WMP V7",
        "Load V7 Dll success!",
        "Load Convertor Library Success.",
        "Prepare convert success",
    };
    // The expected size, then the binding.
    ASSERT_GE(lines.size(), binding.size() + 1) << output;
    EXPECT_EQ(lines[0].rfind("Info: Expected dest file size ", 0), 0u) << lines[0];
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 1, lines.begin() + 1 + binding.size()),
              binding);
    // The older engine's own lines, to its last.
    EXPECT_EQ(lines[binding.size() + 1], "Begin time is 0.000000");
    EXPECT_EQ(lines.back(), "Converting finished");
    EXPECT_FALSE(Probe(dest).IsNull());
    EXPECT_FALSE(Discover(dest).empty());
}
