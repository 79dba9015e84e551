// Small graph operations that both engines use while they build and start
// their decode graphs.
#pragma once

#include "convert/engine/log_channel.h"
#include "platform/dshow/dshow.h"

// Names under which the graph builder's default renderers join a graph; a
// second one of a kind gets a number after the name ("... 0001").
constexpr wchar_t kVideoRendererName[] = L"Video Renderer";
constexpr wchar_t kAudioRendererName[] = L"Default DirectSound Device";

// The first pin of `filter` in enumeration order whose direction is `dir`,
// with one reference for the caller; NULL when there is none.
IPin* FirstPin(IBaseFilter* filter, PIN_DIRECTION dir);

// Takes the reference clock away from the graph so that it runs as fast as
// decoding and writing allow. Each engine words its two failures itself
// ("%X"-style with the result); neither ends the job.
void SwitchOffReferenceClock(IGraphBuilder* graph, const LogChannel& log,
                             const char* noMediaFilterFmt, const char* refusedFmt);

// What automatic building rendered and the job does not convert: every
// default renderer still in the graph (a second sound track's sound device,
// a second video's window) gives way to a null renderer, so that nothing of
// the job plays out loud or paces it. Returns how many sound renderers gave
// way. A renderer that cannot be replaced is still taken out: its stream is
// then left unconnected, which discards it as well.
int DiscardUnconvertedStreams(IGraphBuilder* graph);

// The line each engine logs when the source has more than one sound track,
// with their number: the first track is the one converted.
constexpr char kFirstSoundTrackLine[] =
    "Info: source file have %d Audio streams, Audio stream 1 converted, the others "
    "ignored\r\n";
