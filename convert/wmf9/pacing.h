// Cross-stream pacing: the library's one set of sample clocks, shared by the
// video and the audio callback, that keeps the two streams' writes in step.
//
// Threads: the callbacks run on two streaming threads at once; every value
// here is a single atomic word, read and written without locks. Reset and
// SetStreams run on the calling thread while no buffer flows.
#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>

#include "platform/dshow/dshow.h"

enum class StreamKind { Video = 0, Audio = 1 };

// A stream ahead of the other waits at most this many 1 ms sleeps per buffer.
// A sleep ends early when the other stream writes, so that the two streams
// do not lose a millisecond at every hand-over.
inline constexpr int kMaxPacingSleeps = 51;

class PacingClocks {
public:
    // Back to the state of a fresh job.
    void Reset();
    // Which streams feed a connected grabber. A stream that is not connected
    // is never waited for; the grabbers (borrowed, may be NULL) tell when a
    // stream has delivered its last buffer.
    void SetStreams(ISampleGrabber* videoGrabber, bool videoConnected, ISampleGrabber* audioGrabber,
                    bool audioConnected);

    // The time (100 ns) of the first buffer of the job on either stream; the
    // first caller sets it.
    double BaseTime(double t);
    double Clock(StreamKind s) const { return m_streams[Index(s)].clock.load(kOrder); }
    void SetClock(StreamKind s, double t) { m_streams[Index(s)].clock.store(t, kOrder); }
    // Sleeps while `self` is ahead of the other stream and the other stream
    // can still catch up.
    void WaitForOther(StreamKind self) const;
    // Records a written buffer: the stream's clock moves and it counts as
    // live again.
    void Delivered(StreamKind s, double clock);

private:
    static constexpr std::memory_order kOrder = std::memory_order_relaxed;
    static constexpr int Index(StreamKind s) { return static_cast<int>(s); }
    bool IsLive(StreamKind s) const;

    struct Stream {
        std::atomic<double> clock{0.0};
        std::atomic<bool> connected{false};
        // Set when a whole wait passed without this clock moving, for a
        // grabber that cannot tell its end of stream.
        mutable std::atomic<bool> stalled{false};
        std::atomic<ISampleGrabber*> grabber{nullptr};
    };
    Stream m_streams[2];
    std::mutex m_firstLock;
    mutable std::mutex m_waitLock;  // only for the wake-up below
    mutable std::condition_variable m_advanced;
    std::atomic<bool> m_haveFirst{false};
    std::atomic<double> m_baseTime{0.0};
};

// The library's pacing state, reset at the start of every job.
PacingClocks& LibraryPacing();
