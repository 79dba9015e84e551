// The decode graph: the graph builder renders the source with its default
// renderers; the engine cuts the video and audio renderers out and puts a
// sample grabber and a null renderer in each place, so that decoded
// buffers reach the callbacks.
#pragma once

#include "convert/wmf9/convertor.h"

// True when the graph is ready; false after the aborting lines.
bool BuildDecodeGraph(CConvertor& c, const char* szSourceFN);
