// Waiting for the end of a graph on the caller's thread while that thread's
// messages go on being dispatched, so the caller's window stays usable and
// its stop request can reach the graph from inside the wait.
#pragma once

#include "platform/dshow/dshow.h"

// Waits on `handle` (the graph's event handle) with no time-out; whenever
// the wait ends for input, removes and dispatches every queued message of
// the thread. Each event taken is freed; returns the first code for which
// `isEnding` is true, with its first parameter in `param1` when given.
// Other codes are consumed without effect.
long PumpUntilEndingEvent(IMediaEvent* events, HANDLE handle, bool (*isEnding)(long code),
                          LONG_PTR* param1 = nullptr);
