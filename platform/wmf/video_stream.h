// One video stream of the writer: converts raw input frames to the
// profile's frame size (swscale), places them on the profile's constant
// frame grid by their time stamps (dropping or repeating frames) and
// encodes them. Conversion runs on the caller's thread, straight from its
// buffer (no copy of the raw frame); encoding runs on the stream's worker
// thread, so a decoder's thread and the encoder's share the work.
//
// Threads: not thread-safe; the writer serialises calls per stream.
#pragma once

#include <memory>

#include "platform/wmf/encode_worker.h"
#include "platform/wmf/encoder_open.h"
#include "platform/wmf/packet_sink.h"
#include "platform/wmf/raw_formats.h"

namespace wmf {

class VideoStream : public SinkEncoder {
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

private:
    using ScalerPtr = std::unique_ptr<SwsContext, void (*)(SwsContext*)>;
    struct PoolFree {
        void operator()(AVBufferPool* p) const { av_buffer_pool_uninit(&p); }
    };
    static ScalerPtr NoScaler() { return ScalerPtr(nullptr, sws_freeContext); }

    // Caller's thread: `data` in the input layout to a new picture of the
    // encoder's size; null when out of memory.
    std::shared_ptr<const AVFrame> Convert(const uint8_t* data) const;
    // Worker thread: repeats `previous` over slots firstSlot..slot-1, then
    // encodes `picture` at `slot`.
    HRESULT EncodeSlots(const AVFrame* previous, const AVFrame* picture, int64_t firstSlot,
                        int64_t slot);

    // Caller's side.
    RawVideoLayout m_layout;
    ScalerPtr m_scaler = NoScaler();
    // Declared before the pictures that borrow from it; a pool outlives its
    // buffers anyway (uninit frees it when the last one comes back).
    std::unique_ptr<AVBufferPool, PoolFree> m_picturePool;
    std::shared_ptr<const AVFrame> m_previous;  // the last picture, for repeats
    int64_t m_lastSlot = -1;
    bool m_finished = false;
    // Worker's side: it encodes (SinkEncoder's members) on this thread.
    std::unique_ptr<EncodeWorker> m_worker;  // last member: its thread ends first
};

}  // namespace wmf
