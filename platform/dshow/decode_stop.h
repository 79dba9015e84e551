// Decoding stops where a stream's range ends. A demuxer goes on feeding a
// stream that has ended until every stream of its file has (the other may
// still be short of its own end, or held back to interleave), and
// decodebin's queue pushes on what it holds: for a short range of a long
// movie, seconds of pictures decoded only to be thrown away. Internal.
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

}  // namespace zev::dshow
