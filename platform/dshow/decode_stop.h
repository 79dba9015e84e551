// Decoding and reading stop where a stream's range ends. A demuxer goes on
// feeding a stream that has ended until every stream of its file has (the
// other may still be short of its own end, or held back to interleave),
// and decodebin's queue pushes on what it holds: for a short range of a
// long movie, seconds of pictures decoded only to be thrown away. Internal.
#pragma once

#include <atomic>
#include <memory>

#include "platform/dshow/gst_support.h"

namespace zev::dshow {

// Set by whoever ends the stream; cleared by the next flush (a new seek).
using StreamEnded = std::shared_ptr<std::atomic<bool>>;

// The decoder element that produces what `decodedPad` (a decodebin source
// pad) carries, found by walking upstream; nullptr for a stream that needs
// no decoder.
ElementRef DecoderFeeding(GstPad* decodedPad);

// Refuses, with end of stream, what reaches the input of the decoder behind
// `decodedPad` while `ended` is set. A flush clears `ended`. False when
// there is no decoder.
bool StopDecodingPastEnd(GstPad* decodedPad, const StreamEnded& ended);

// Refuses, with end of stream, what the demuxer hands to decodebin's queue
// for the stream of `decodedPad` once its time stamps lie more than
// kReadPastEndNs beyond the stop that `*untilNs` (stream time, -1 for
// none) sets in the current segment; a flush lets it through again. When
// one stream has ended, the queue lets the others grow so as not to starve
// it, and a thread that lags behind (on a loaded machine) would otherwise
// have the demuxer read on through the file. False when the stream comes
// through no such queue. `untilNs` must outlive the pipeline.
bool StopReadingPastEnd(GstPad* decodedPad, const std::atomic<gint64>* untilNs);

// What reading may run ahead of a stream's end: a decoder may need packets
// stamped after its last picture (reordered frames, priming).
constexpr GstClockTime kReadPastEndNs = GST_SECOND;

}  // namespace zev::dshow
