// Where the stream encoders hand their packets: the writer's muxer.
#pragma once

#include "platform/wmf/ffmpeg_ptr.h"
#include "platform/win/wintypes.h"

namespace wmf {

class PacketSink {
public:
    virtual ~PacketSink() = default;
    // Takes the packet's contents (time stamps in `timeBase`); returns
    // S_OK or the failure of the file (disk full, write error).
    virtual HRESULT Write(int streamIndex, AVPacket* packet, AVRational timeBase) = 0;
};

// Sends `frame` to `encoder` (null: the end of the stream, so the encoder
// gives up what it holds) and hands every packet the encoder then has
// ready to `sink` as `streamIndex`, in the encoder's time base. `packet` is
// scratch space, empty again on return. E_FAIL when the encoder refuses,
// else the sink's first failure.
HRESULT EncodeToSink(AVCodecContext* encoder, const AVFrame* frame, AVPacket* packet,
                     PacketSink& sink, int streamIndex);

}  // namespace wmf
