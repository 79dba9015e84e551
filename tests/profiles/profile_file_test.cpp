// The profile.cfg text: reading what hand edits and old versions leave
// behind, and writing it back.
#include <gtest/gtest.h>

#include <cstring>

#include "profiles/profile_file.h"
#include "profiles/profile_values.h"

namespace {

constexpr const char* kExample =
    "2,1\n"
    "Default.640,480,220,15,32000,1,44100\n"
    "Small screen.320,240,128,15,16000,0,22050\n";

std::vector<std::string> Names(const ProfileFileContents& c) {
    std::vector<std::string> names;
    for (const ProfileRecord& p : c.profiles) names.push_back(RecordName(p));
    return names;
}

TEST(ProfileFile, ExampleReadsAndWritesBackByteForByte) {
    const ProfileFileContents c = ParseProfileFile(kExample);
    EXPECT_TRUE(c.problems.empty());
    ASSERT_EQ(c.profiles.size(), 2u);
    EXPECT_EQ(c.selectedIndex, 1);
    const ProfileRecord& p = c.profiles[1];
    EXPECT_EQ(RecordName(p), "Small screen");
    EXPECT_EQ(p.width, 320);
    EXPECT_EQ(p.height, 240);
    EXPECT_EQ(p.videoKbps, 128u);
    EXPECT_EQ(p.framesPerSecond, 15);
    EXPECT_EQ(p.audioBitrate, 16000);
    EXPECT_EQ(p.stereo, 0);
    EXPECT_EQ(p.sampleRate, 22050);
    EXPECT_EQ(FormatProfileFile(c.selectedIndex, c.profiles), kExample);
}

TEST(ProfileFile, LineEndingsAndWhiteSpaceAsTheScanfFormatsAccept) {
    const ProfileFileContents crlf = ParseProfileFile(
        "2,1\r\nDefault.640,480,220,15,32000,1,44100\r\nSmall "
        "screen.320,240,128,15,16000,0,22050\r\n");
    EXPECT_TRUE(crlf.problems.empty());
    EXPECT_EQ(FormatProfileFile(crlf.selectedIndex, crlf.profiles), kExample);

    // Leading white space and blank lines are skipped, spaces inside a name
    // and before numbers are kept / skipped as "%[^.]" and "%d" do.
    const ProfileFileContents loose = ParseProfileFile(
        "  2, 1\n\n\t  Wide  one .640, 480,220,15,32000,1,44100   \r\rNo end.1,2,3,4,5,6,7");
    EXPECT_TRUE(loose.problems.empty());
    EXPECT_EQ(Names(loose), (std::vector<std::string>{"Wide  one ", "No end"}));
    EXPECT_EQ(loose.profiles[0].height, 480);
    EXPECT_EQ(loose.profiles[1].sampleRate, 7);
}

TEST(ProfileFile, WriterLeavesDeletedOutAndCountsWhatItWrites) {
    ProfileFileContents c = ParseProfileFile(kExample);
    c.profiles[0].deleted = 1;
    EXPECT_EQ(FormatProfileFile(0, c.profiles), "1,0\nSmall screen.320,240,128,15,16000,0,22050\n");
}

TEST(ProfileFile, SelectedIndexClampedToProfilesFound) {
    EXPECT_EQ(ParseProfileFile("2,7\na.1,1,1,1,1,1,1\nb.1,1,1,1,1,1,1\n").selectedIndex, 1);
    EXPECT_EQ(ParseProfileFile("2,-3\na.1,1,1,1,1,1,1\nb.1,1,1,1,1,1,1\n").selectedIndex, 0);
    // The header says 3 and selects the third; only two lines exist.
    const ProfileFileContents fewer = ParseProfileFile("3,2\na.1,1,1,1,1,1,1\nb.1,1,1,1,1,1,1\n");
    EXPECT_EQ(fewer.selectedIndex, 1);
    EXPECT_EQ(fewer.profiles.size(), 2u);
    EXPECT_EQ(fewer.problems.size(), 1u);
    EXPECT_FALSE(fewer.lossy);
}

TEST(ProfileFile, LinesBeyondTheDeclaredCountAreKept) {
    const ProfileFileContents c =
        ParseProfileFile("1,0\na.1,1,1,1,1,1,1\nb.2,2,2,2,2,2,2\nc.3,3,3,3,3,3,3\n");
    EXPECT_EQ(Names(c), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(c.problems.size(), 1u);
    EXPECT_FALSE(c.lossy);

    const ProfileFileContents zero = ParseProfileFile("0,0\na.1,1,1,1,1,1,1\n");
    EXPECT_EQ(zero.profiles.size(), 1u);
}

TEST(ProfileFile, EmptyAndZeroProfileFiles) {
    for (const char* text : {"", "\n\n", "0,0\n", "0,-1"}) {
        const ProfileFileContents c = ParseProfileFile(text);
        EXPECT_TRUE(c.profiles.empty()) << text;
        EXPECT_TRUE(c.problems.empty()) << text;
        EXPECT_EQ(c.selectedIndex, 0);
    }
}

TEST(ProfileFile, BrokenLinesAreLeftOutAndReported) {
    const ProfileFileContents c = ParseProfileFile(
        "5,0\n"
        "good.640,480,220,15,32000,1,44100\n"
        "no separator 640,480,220,15,32000,1,44100\n"
        ".640,480,220,15,32000,1,44100\n"          // empty name
        "v1.5 HD.1280,720,900,25,64000,1,44100\n"  // "." inside the name
        "short.640,480\n"
        "junk.640,480,220,15,32000,1,44100 trailing\n"
        "neg.640,480,-220,15,32000,1,44100\n"         // a negative bit rate
        "big.99999999999,480,220,15,32000,1,44100\n"  // beyond 32 bits
        "edge.-2147483648,2147483647," +
        std::to_string(UINT32_MAX) + ",15,32000,1,44100\n");
    EXPECT_EQ(Names(c), (std::vector<std::string>{"good", "edge"}));
    EXPECT_TRUE(c.lossy);
    EXPECT_EQ(c.problems.size(), 7u + 1u);  // seven lines and the count
    EXPECT_EQ(c.problems[0], "Line 3 is not a profile and was left out.");
    EXPECT_EQ(c.profiles[1].width, INT32_MIN);
    EXPECT_EQ(c.profiles[1].videoKbps, UINT32_MAX);
    // Read back exactly as read.
    const ProfileFileContents again = ParseProfileFile(FormatProfileFile(0, c.profiles));
    EXPECT_TRUE(again.problems.empty());
    EXPECT_EQ(again.profiles[1].width, INT32_MIN);
}

TEST(ProfileFile, MissingHeaderKeepsTheProfiles) {
    const ProfileFileContents c = ParseProfileFile("a.1,1,1,1,1,1,1\r\nb.2,2,2,2,2,2,2\r\n");
    EXPECT_EQ(Names(c), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(c.problems.size(), 1u);
    EXPECT_FALSE(c.lossy);
}

TEST(ProfileFile, OverlongNameIsCutToFitAtACharacterBoundary) {
    std::string name(1022, 'x');
    name += "\xC3\xA9\xC3\xA9";  // the second byte of the first "é" would be character 1024
    const ProfileFileContents c = ParseProfileFile("1,0\n" + name + ".1,1,1,1,1,1,1\n");
    ASSERT_EQ(c.profiles.size(), 1u);
    EXPECT_EQ(RecordName(c.profiles[0]), std::string(1022, 'x'));
    EXPECT_TRUE(c.lossy);

    const std::string fits(1023, 'y');
    const ProfileFileContents d = ParseProfileFile("1,0\n" + fits + ".1,1,1,1,1,1,1\n");
    EXPECT_EQ(RecordName(d.profiles[0]), fits);
    EXPECT_FALSE(d.lossy);
}

TEST(ProfileFile, NulInsideALineIsNotAName) {
    const std::string text("1,0\nab\0cd.1,1,1,1,1,1,1\n", 24);
    const ProfileFileContents c = ParseProfileFile(text);
    EXPECT_TRUE(c.profiles.empty());
    EXPECT_TRUE(c.lossy);
}

TEST(ProfileValues, TextToNumbersLikeAtoiButBounded) {
    EXPECT_EQ(TextToInt(""), 0);
    EXPECT_EQ(TextToInt(" 44100"), 44100);
    EXPECT_EQ(TextToInt("256.9"), 256);
    EXPECT_EQ(TextToInt("-12x"), -12);
    EXPECT_EQ(TextToInt("99999999999999999999"), INT32_MAX);
    EXPECT_EQ(TextToUnsigned("9999999"), 9999999u);
    EXPECT_EQ(TextToUnsigned("-5"), 0u);
    EXPECT_EQ(TextToUnsigned("99999999999999999999"), UINT32_MAX);
}

TEST(ProfileValues, NamesTheFileCanHold) {
    EXPECT_EQ(CheckProfileName("Small screen"), NameProblem::None);
    EXPECT_EQ(CheckProfileName(""), NameProblem::Empty);
    EXPECT_EQ(CheckProfileName("v1.5"), NameProblem::HasSeparator);
    EXPECT_EQ(CheckProfileName("two\nlines"), NameProblem::HasControlChar);
    EXPECT_EQ(CheckProfileName(std::string(1023, 'a')), NameProblem::None);
    EXPECT_EQ(CheckProfileName(std::string(1024, 'a')), NameProblem::TooLong);
}

}  // namespace
