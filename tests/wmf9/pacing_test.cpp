// Cross-stream pacing: a stream ahead waits for the other only while the
// other can still catch up.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "convert/wmf9/pacing.h"

namespace {

// A grabber that only answers whether its stream has ended.
class EndOfStreamGrabber final : public ISampleGrabber {
public:
    explicit EndOfStreamGrabber(HRESULT answer, BOOL ended = FALSE)
        : m_answer(answer), m_ended(ended) {}
    virtual ~EndOfStreamGrabber() = default;
    HRESULT QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG AddRef() override { return 2; }
    ULONG Release() override { return 1; }
    HRESULT SetOneShot(BOOL) override { return E_NOTIMPL; }
    HRESULT SetMediaType(const AM_MEDIA_TYPE*) override { return E_NOTIMPL; }
    HRESULT GetConnectedMediaType(AM_MEDIA_TYPE*) override { return E_NOTIMPL; }
    HRESULT SetBufferSamples(BOOL) override { return E_NOTIMPL; }
    HRESULT GetCurrentBuffer(long*, long*) override { return E_NOTIMPL; }
    HRESULT SetCallback(ISampleGrabberCB*, long) override { return E_NOTIMPL; }
    HRESULT GetEndOfStream(BOOL* pEnded) override {
        *pEnded = m_ended;
        return m_answer;
    }
    HRESULT m_answer;
    BOOL m_ended;
};

double WaitMs(const PacingClocks& clocks, StreamKind self) {
    const auto start = std::chrono::steady_clock::now();
    clocks.WaitForOther(self);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// Video 1 s ahead of audio.
void VideoAhead(PacingClocks& clocks) {
    clocks.SetClock(StreamKind::Audio, 10000000.0);
    clocks.SetClock(StreamKind::Video, 20000000.0);
}

constexpr double kFullWaitMs = kMaxPacingSleeps;
constexpr double kNoWaitMs = 10;

TEST(Pacing, LiveStreamAheadWaitsTheFullBound) {
    EndOfStreamGrabber live(S_OK, FALSE);
    PacingClocks clocks;
    clocks.Reset();
    clocks.SetStreams(&live, true, &live, true);
    VideoAhead(clocks);
    EXPECT_GE(WaitMs(clocks, StreamKind::Video), kFullWaitMs);
    EXPECT_LT(WaitMs(clocks, StreamKind::Audio), kNoWaitMs);  // behind: no wait
}

TEST(Pacing, WaitEndsAsSoonAsTheOtherStreamCatchesUp) {
    EndOfStreamGrabber live(S_OK, FALSE);
    PacingClocks clocks;
    clocks.Reset();
    clocks.SetStreams(&live, true, &live, true);
    clocks.SetClock(StreamKind::Video, 20000000.0);
    std::thread audio([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(15));
        clocks.Delivered(StreamKind::Audio, 20000001.0);
    });
    const double waited = WaitMs(clocks, StreamKind::Video);
    audio.join();
    EXPECT_GE(waited, 14);
    EXPECT_LT(waited, kFullWaitMs);
}

TEST(Pacing, NoWaitForAStreamThatIsNotConnectedOrHasEnded) {
    EndOfStreamGrabber live(S_OK, FALSE);
    EndOfStreamGrabber ended(S_OK, TRUE);
    PacingClocks clocks;
    clocks.Reset();
    clocks.SetStreams(&live, true, nullptr, false);
    VideoAhead(clocks);
    EXPECT_LT(WaitMs(clocks, StreamKind::Video), kNoWaitMs);

    clocks.SetStreams(&live, true, &ended, true);
    EXPECT_LT(WaitMs(clocks, StreamKind::Video), kNoWaitMs);
}

TEST(Pacing, WithoutEndOfStreamAStalledStreamIsWaitedForOnceUntilItDelivers) {
    EndOfStreamGrabber unknown(E_NOTIMPL);
    PacingClocks clocks;
    clocks.Reset();
    clocks.SetStreams(&unknown, true, &unknown, true);
    VideoAhead(clocks);
    EXPECT_GE(WaitMs(clocks, StreamKind::Video), kFullWaitMs);
    EXPECT_LT(WaitMs(clocks, StreamKind::Video), kNoWaitMs);

    // Audio delivers again, still behind: it counts as live once more.
    clocks.Delivered(StreamKind::Audio, 15000000.0);
    EXPECT_GE(WaitMs(clocks, StreamKind::Video), kFullWaitMs);
}

TEST(Pacing, FirstBufferOfEitherStreamSetsTheBaseTimeUntilReset) {
    PacingClocks clocks;
    clocks.Reset();
    EXPECT_EQ(5290889.0, clocks.BaseTime(5290889.0));
    EXPECT_EQ(5290889.0, clocks.BaseTime(100.0));
    clocks.Reset();
    EXPECT_EQ(0.0, clocks.Clock(StreamKind::Video));
    EXPECT_EQ(100.0, clocks.BaseTime(100.0));
}

}  // namespace
