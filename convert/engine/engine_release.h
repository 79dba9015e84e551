// Release steps both engines take when their per-call object goes.
#pragma once

struct IGraphBuilder;
struct IMediaControl;
struct IMediaSeeking;

// Releases an interface the engine holds, if any, and forgets it.
template <class T>
void ReleaseMember(T*& p) {
    if (p) p->Release();
    p = nullptr;
}

// The caller's slots hold NULL once the job is over; a NULL slot address is
// skipped.
inline void ClearCallerSlots(IGraphBuilder** graph, IMediaControl** control,
                             IMediaSeeking** seeking) {
    if (graph) *graph = nullptr;
    if (control) *control = nullptr;
    if (seeking) *seeking = nullptr;
}
