// Small graph operations that both engines use while they build and start
// their decode graphs.
#pragma once

#include "convert/engine/log_channel.h"
#include "platform/dshow/dshow.h"

// The first pin of `filter` in enumeration order whose direction is `dir`,
// with one reference for the caller; NULL when there is none.
IPin* FirstPin(IBaseFilter* filter, PIN_DIRECTION dir);

// Takes the reference clock away from the graph so that it runs as fast as
// decoding and writing allow. Each engine words its two failures itself
// ("%X"-style with the result); neither ends the job.
void SwitchOffReferenceClock(IGraphBuilder* graph, const LogChannel& log,
                             const char* noMediaFilterFmt, const char* refusedFmt);
