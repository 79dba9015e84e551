// Stopping a running engine, the same for the job session and for tests
// that drive a converter library by hand, and a stop asked for from outside
// the user-interface thread.
//
// Threads. StopEngine runs on the thread that called Convert, inside the
// engine's message pump; CStopRequest on any thread and in a signal
// handler. Stop calls are not checked: the engine ends on them whatever
// they return.
#pragma once

#include <atomic>
#include <functional>

#include "convert/common/convert_api.h"

// The two-step stop, in this order: IMediaControl::Stop when the control slot
// is set (`onControlStop` runs just before it: the session notes "Stopping"
// and shows no more progress), then EC_USERABORT through the graph's
// IMediaEventSink when the graph slot is set; the engine's event wait then
// returns. With both slots NULL (the engine has no graph yet, or no longer)
// it does nothing.
void StopEngine(IGraphBuilder* graph, IMediaControl* control,
                const std::function<void()>& onControlStop = {});

// A stop asked for from outside the user-interface thread (Ctrl+C). The
// asking side only sets the flag; the session reads it at its next tick.
class CStopRequest {
public:
    // Safe from a signal handler.
    void Request() noexcept { m_requested.store(true, std::memory_order_relaxed); }
    bool Requested() const noexcept { return m_requested.load(std::memory_order_relaxed); }
    void Clear() noexcept { m_requested.store(false, std::memory_order_relaxed); }

private:
    std::atomic<bool> m_requested{false};
    static_assert(std::atomic<bool>::is_always_lock_free, "the flag is set in a signal handler");
};
