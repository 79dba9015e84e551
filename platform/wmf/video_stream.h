// One video stream of the writer: converts raw input frames to the
// profile's frame size (swscale), places them on the profile's constant
// frame grid by their time stamps (dropping or repeating frames) and
// encodes them on a worker thread of the stream's own.
//
// Threads: not thread-safe; the writer serialises calls per stream.
#pragma once

#include <memory>

#include "platform/wmf/encode_worker.h"
#include "platform/wmf/encoder_open.h"
#include "platform/wmf/packet_sink.h"
#include "platform/wmf/raw_formats.h"

namespace wmf {

class VideoStream {
public:
    // The encoder must be open; frames reach `sink` as `streamIndex`.
    VideoStream(CodecContextPtr encoder, PacketSink& sink, int streamIndex);

    // Sets the layout of the frames to come; E_OUTOFMEMORY or
    // NS_E_INVALID_INPUT_FORMAT when no converter can be made for it.
    HRESULT SetInput(const RawVideoLayout& layout);
    // One raw frame at `time100ns`. NS_E_INVALID_DATA for a short buffer;
    // a frame that falls on an already filled grid slot is dropped (S_OK).
    HRESULT Write(const uint8_t* data, size_t bytes, int64_t time100ns);
    // Drains the encoder; later writes fail.
    HRESULT Finish();

    const AVCodecContext* Encoder() const { return m_encoder.get(); }

private:
    // Hands a reference to the picture, stamped `slot`, to the worker.
    HRESULT Queue(const AVFrame* picture, int64_t slot);
    HRESULT Encode(const AVFrame* frame);
    HRESULT Drain();

    CodecContextPtr m_encoder;
    PacketSink& m_sink;
    int m_streamIndex;
    RawVideoLayout m_layout;
    SwsPtr m_scaler;
    FramePtr m_picture;  // the last converted frame, kept for repeats
    PacketPtr m_packet;
    int64_t m_lastSlot = -1;
    bool m_finished = false;
    std::unique_ptr<EncodeWorker> m_worker;  // last member: its thread ends first
};

}  // namespace wmf
