// One run of a graph as a GStreamer pipeline: each source file is replayed
// through decodebin and every decoded stream goes to the branch that its
// receiving filter builds. Bus messages become graph events on the thread
// that posts them (EOS of the whole pipeline: EC_COMPLETE; any error:
// EC_ERRORABORT, once), so no bus thread is needed. Internal.
//
// Holding delivery. Callers start a graph and set its range right after
// (Run, then SetPositions). A graph with grabbers is therefore started
// "held": the pipeline prerolls and stays paused, so no buffer reaches an
// application callback, until the first of: a seek (done while still
// paused, flushing and accurate, so the first delivered buffer is the one
// at the new position), ReleaseHold (the owner asking for events), or
// kHoldLimitMs passing. Grabbers also drop what lies outside the segment.
//
// Exact starts. Some demuxers land late when asked to seek (an MPEG
// program stream seeks by its clock references, after which the decoder
// waits for the next key frame). So a seek to P asks GStreamer for
// P - kSeekMarginNs (unless every demuxer is known to land exactly, as
// MP4's, Matroska's, AVI's and MPEG transport streams' do: the margin costs
// a second of decoding), and a probe on every decoded stream moves the start
// of its segment to P and drops the buffers that end before it: receivers
// see a segment that begins at P, as if the demuxer had been exact. Stops
// are enforced by the same probe rather than by the demuxer, which may stop
// early (an MPEG program stream demuxer takes its duration, which does not
// count from its first time stamp, as the end): seeks leave GStreamer's stop
// unset, and the probe sets the segment's stop where it was asked for, drops
// what lies past it and ends the stream there.
//
// Threads: all methods on the graph's owning thread; the hold timer thread
// only releases the hold. Stop joins it; after Stop, no streaming thread,
// timer or bus handler is left.
#pragma once

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/dshow/source_filters.h"
#include "platform/dshow/stream_threads.h"

namespace zev::dshow {

constexpr int kHoldLimitMs = 500;
constexpr gint64 kSeekMarginNs = GST_SECOND;

class GraphRunner {
public:
    explicit GraphRunner(EventQueue& events);
    ~GraphRunner();
    GraphRunner(const GraphRunner&) = delete;
    GraphRunner& operator=(const GraphRunner&) = delete;

    // Builds the pipeline, prerolls it paused and applies the range (start
    // and stop in ns, -1 for none). A failure posts EC_ERRORABORT when the
    // pipeline reported an error.
    // Positions count from the first source's origin (see Discovery).
    // `heldRun`: the run will be held (Play(true)), so its first seek may do
    // the restart that a pipeline taken over from discovery needs, instead
    // of prerolling it at the start once for nothing.
    HRESULT Start(const std::vector<SourceFilter*>& sources, const BranchContext& ctx,
                  gint64 startNs, gint64 stopNs, bool heldRun = false);
    HRESULT Play(bool hold);
    HRESULT Pause();
    // Flushing, accurate seek; startNs -1 keeps the current position,
    // stopNs -1 plays to the end. Releases a hold once done.
    HRESULT Seek(gint64 startNs, gint64 stopNs);
    void ReleaseHold();
    bool Position(gint64* ns) const;
    bool IsBuilt() const { return m_pipeline.Get() != nullptr; }
    // Pipeline to NULL; idempotent.
    void Stop();

private:
    struct SourceContext {
        GraphRunner* runner;
        SourceFilter* source;
        std::mutex lock;
        int perKind[3] = {0, 0, 0};
    };

    static GstBusSyncReply OnBusMessage(GstBus* bus, GstMessage* msg, gpointer self);
    static void OnPadAdded(GstElement* decodebin, GstPad* pad, gpointer ctx);
    static GstPadProbeReturn OnRangeProbe(GstPad* pad, GstPadProbeInfo* info, gpointer gate);
    HRESULT AddSources(const std::vector<SourceFilter*>& sources);
    HRESULT AdoptPreroll(HeldPreroll& held, SourceFilter* source);
    HRESULT WaitPreroll();
    HRESULT SeekLocked(gint64 startNs, gint64 stopNs);
    // Restarts a taken-over pipeline's streams if no seek has yet; m_holdLock held.
    HRESULT RestartLocked();
    void HoldTimer();

    EventQueue& m_events;
    BranchContext m_ctx;
    ElementRef m_pipeline;
    std::shared_ptr<StreamThreads> m_threads;  // batch work when unsynchronised
    std::vector<std::unique_ptr<SourceContext>> m_sources;
    std::atomic<gint64> m_deliverFromNs{0};    // stream time where delivery starts
    std::atomic<gint64> m_deliverUntilNs{-1};  // stream time where it stops; -1: the end
    gint64 m_originNs = 0;                     // stream time of position 0
    bool m_exactSeeks = false;                 // no seek margin needed
    std::atomic<bool> m_errorSeen{false};
    std::atomic<bool> m_errorPosted{false};

    std::mutex m_holdLock;  // serialises releasing the hold with seeking
    std::condition_variable m_holdWake;
    bool m_held = false;
    bool m_restartPending = false;  // streams stopped since the takeover, no seek yet
    bool m_quit = false;
    std::thread m_holdTimer;
};

}  // namespace zev::dshow
