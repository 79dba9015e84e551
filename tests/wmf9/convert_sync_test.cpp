// Audio and video stay together through a job: a clip with flashes and
// beeps at the same moments comes out with each beep within 20 ms of its
// flash, from a source whose clock starts at 0 and from an MPEG program
// stream whose clock starts above 0.
#include <gtest/gtest.h>

#include <cmath>

#include "job_test.h"

namespace {

constexpr double kMaxOffset = 0.020;
const std::vector<double> kFlashes = {2.0, 4.0, 6.0};

class ConvertSync : public EngineJobTest {
protected:
    ConvertSync() : EngineJobTest(TRANZO9_PATH) {}

    // Flashes where the source has them (less `begin`), and each beep
    // within kMaxOffset of its flash.
    static void ExpectFlashesWithBeeps(const std::string& output, double begin) {
        const std::vector<double> flashes = FlashTimes(output);
        const std::vector<double> beeps = BeepOnsets(output);
        ASSERT_EQ(kFlashes.size(), flashes.size()) << output;
        ASSERT_EQ(kFlashes.size(), beeps.size()) << output;
        for (size_t i = 0; i < kFlashes.size(); ++i) {
            EXPECT_NEAR(kFlashes[i] - begin, flashes[i], 1.0 / 15 / 2) << "flash " << i;
            EXPECT_NEAR(flashes[i], beeps[i], kMaxOffset) << "beep " << i;
        }
    }
};

TEST_F(ConvertSync, BeepsSoundWithTheirFlashesWholeAndFromALaterBegin) {
    const std::string source = m_dir.Path("src.avi");
    ASSERT_TRUE(MakeFlashBeepClip(source, 8, 25, kFlashes, "-c:v mpeg4 -q:v 3 -c:a pcm_s16le"));
    // The generated clip itself is in step, so what the test finds below
    // is the job's doing.
    ASSERT_EQ(kFlashes.size(), BeepOnsets(source).size());
    const std::vector<double> sourceBeeps = BeepOnsets(source);
    for (size_t i = 0; i < kFlashes.size(); ++i) ASSERT_NEAR(kFlashes[i], sourceBeeps[i], 0.001);

    const JobOptions whole = Job(source, 0, 8);
    Run(whole);
    ExpectFlashesWithBeeps(whole.dest, 0);

    // A range from 1 s starts the output at 0 with the source's 1 s.
    JobOptions later = Job(source, 1, 8);
    later.dest = m_dir.Path("later.wmv");
    Run(later);
    ExpectFlashesWithBeeps(later.dest, 1);
}

TEST_F(ConvertSync, MpegProgramStreamStartsAtTheBeginWithBeepsOnTheirFlashes) {
    const std::string source = m_dir.Path("src.mpg");
    ASSERT_TRUE(
        MakeFlashBeepClip(source, 8, 25, kFlashes, "-c:v mpeg1video -q:v 3 -c:a mp2 -f mpeg"));
    // The stream's own clock starts above 0.
    ASSERT_GT(FirstVideoFrameTime(source), 0.1);
    const JobOptions job = Job(source, 0, 8);
    Run(job);
    EXPECT_NEAR(0.0, FirstVideoFrameTime(job.dest), 0.0005);
    ExpectFlashesWithBeeps(job.dest, 0);
}

}  // namespace
