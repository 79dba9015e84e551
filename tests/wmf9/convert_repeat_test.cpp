// Many jobs in one process, loading and unloading the library each time as
// the program does: nothing may pile up between them.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "converter_host.h"
#include "media_tools.h"

namespace {

constexpr int kJobs = 20;

TEST(ConvertRepeat, TwentyJobsLeaveNoThreadsOrDescriptorsBehind) {
    TempDir dir;
    const std::string source = dir.Path("src.mp4");
    ClipSpec spec;
    spec.seconds = 3;
    ASSERT_TRUE(MakeClip(source, spec));
    const AudioChoice audio = PickAudioFormat(44100, 2);

    int threadsAfterFirst = 0;
    int fdsAfterFirst = 0;
    for (int i = 0; i <= kJobs; ++i) {
        SCOPED_TRACE("job " + std::to_string(i));
        JobResult r;
        {
            ConverterLibrary library;
            ASSERT_TRUE(library.convert()) << library.error();
            JobOptions job;
            job.source = source;
            job.dest = dir.Path("out" + std::to_string(i) + ".wmv");
            job.profile = MakeProfile(160, 120, 200000.0, 15, audio);
            job.begin = 0;
            job.end = 2;
            r = RunConversion(library.convert(), job);
        }
        ASSERT_FALSE(r.lines.empty());
        EXPECT_EQ("End of converting.\r\n", r.lines.back());
        EXPECT_EQ(98, r.progress.back());  // the last frame before the end: 1.96 s of 2
        EXPECT_TRUE(r.slotsNullAfter);
        // The first job may bring up what lives for the whole process.
        if (i == 0) {
            threadsAfterFirst = ThreadCount();
            fdsAfterFirst = OpenFdCount();
        }
    }
    // A thread that has finished may take a moment to leave the process's
    // list; what stays longer is a leak.
    for (int wait = 0; wait < 50 && ThreadCount() > threadsAfterFirst; ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_LE(ThreadCount(), threadsAfterFirst);
    EXPECT_LE(OpenFdCount(), fdsAfterFirst);
}

}  // namespace
