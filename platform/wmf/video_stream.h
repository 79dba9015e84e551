// One video stream of the writer: converts raw input frames to the
// profile's frame size (swscale), places them on the profile's constant
// frame grid by their time stamps (dropping or repeating frames) and
// encodes them. Conversion and encoding run on the stream's worker thread;
// the caller's thread only copies the frame.
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
    ~VideoStream();

    // Sets the layout of the frames to come; E_OUTOFMEMORY or
    // NS_E_INVALID_INPUT_FORMAT when no converter can be made for it.
    HRESULT SetInput(const RawVideoLayout& layout);
    // One raw frame at `time100ns`. NS_E_INVALID_DATA for a short buffer;
    // a frame that falls on an already filled grid slot is dropped (S_OK).
    // A failure of an earlier frame's encoding is returned here.
    HRESULT Write(const uint8_t* data, size_t bytes, int64_t time100ns);
    // Encodes what is queued and drains the encoder; later writes fail.
    HRESULT Finish();

    const AVCodecContext* Encoder() const { return m_encoder.get(); }

private:
    struct BufferFree {
        void operator()(AVBufferRef* p) const { av_buffer_unref(&p); }
    };
    struct PoolFree {
        void operator()(AVBufferPool* p) const { av_buffer_pool_uninit(&p); }
    };
    using BufferPtr = std::shared_ptr<AVBufferRef>;
    using ScalerPtr = std::shared_ptr<SwsContext>;

    // Worker thread: repeats the last picture over slots firstSlot..slot-1,
    // then converts `raw` and encodes it at `slot`.
    HRESULT ConvertAndEncode(const BufferPtr& raw, const RawVideoLayout& layout,
                             const ScalerPtr& scaler, int64_t firstSlot, int64_t slot);
    HRESULT Encode(const AVFrame* frame);
    HRESULT Drain();

    CodecContextPtr m_encoder;
    PacketSink& m_sink;
    int m_streamIndex;
    // Caller's side.
    RawVideoLayout m_layout;
    ScalerPtr m_scaler;
    std::unique_ptr<AVBufferPool, PoolFree> m_rawPool;
    int64_t m_lastSlot = -1;
    bool m_finished = false;
    // Worker's side.
    FramePtr m_picture;  // the last converted frame, kept for repeats
    PacketPtr m_packet;
    std::unique_ptr<EncodeWorker> m_worker;  // last member: its thread ends first
};

}  // namespace wmf
