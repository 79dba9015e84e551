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

// The encoding end that the writer's audio and video streams share: an
// opened encoder whose packets go to a sink as one stream of the file.
//
// Threads: one at a time, whichever thread encodes.
class SinkEncoder {
public:
    const AVCodecContext* Encoder() const { return m_encoder.get(); }

protected:
    // The encoder must be open; its packets reach `sink` as `streamIndex`.
    SinkEncoder(CodecContextPtr encoder, PacketSink& sink, int streamIndex);
    // Sends `frame` to the encoder (null: the end of the stream, so that it
    // gives up what it holds) and hands every packet it then has ready to
    // the sink, in the encoder's time base. E_FAIL when the encoder
    // refuses, else the sink's first failure.
    HRESULT Encode(const AVFrame* frame);

    CodecContextPtr m_encoder;
    PacketPtr m_packet;  // received into, empty between calls

private:
    PacketSink& m_sink;
    int m_streamIndex;
};

}  // namespace wmf
