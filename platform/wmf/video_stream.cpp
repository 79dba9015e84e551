#include "platform/wmf/video_stream.h"

#include <cstring>
#include <utility>

#include "platform/wmf/wmsdk.h"

extern "C" {
#include <libavutil/imgutils.h>
}

namespace wmf {
namespace {
// A gap longer than this is left as a gap instead of repeated frames, so a
// time stamp far in the future cannot make the writer encode for hours.
constexpr int64_t kMaxRepeatSeconds = 10;
// Frames waiting for conversion and encoding; enough to ride out an uneven
// decoder.
constexpr size_t kQueuedFrames = 8;
// Plane alignment of the encoder's pictures, enough for any SIMD width.
constexpr int kPictureAlign = 64;
}  // namespace

VideoStream::VideoStream(CodecContextPtr encoder, PacketSink& sink, int streamIndex)
    : SinkEncoder(std::move(encoder), sink, streamIndex),
      m_worker(std::make_unique<EncodeWorker>(kQueuedFrames)) {}

VideoStream::~VideoStream() {
    // The worker's tasks use the members above it; end it first.
    m_worker.reset();
}

HRESULT VideoStream::SetInput(const RawVideoLayout& layout) {
    ScalerPtr scaler(sws_getContext(layout.width, layout.height, layout.pixelFormat,
                                    m_encoder->width, m_encoder->height, AV_PIX_FMT_YUV420P,
                                    SWS_BICUBIC, nullptr, nullptr, nullptr),
                     sws_freeContext);
    if (!scaler) return NS_E_INVALID_INPUT_FORMAT;
    if (!m_picturePool) {
        const int bytes = av_image_get_buffer_size(AV_PIX_FMT_YUV420P, m_encoder->width,
                                                   m_encoder->height, kPictureAlign);
        if (bytes <= 0) return NS_E_INVALID_INPUT_FORMAT;
        m_picturePool.reset(av_buffer_pool_init(static_cast<size_t>(bytes), nullptr));
        if (!m_picturePool) return E_OUTOFMEMORY;
    }
    m_scaler = std::move(scaler);
    m_layout = layout;
    return S_OK;
}

HRESULT VideoStream::Write(const uint8_t* data, size_t bytes, int64_t time100ns) {
    if (m_finished || !m_packet) return NS_E_INVALID_REQUEST;
    if (!m_scaler) return NS_E_INVALID_INPUT_FORMAT;
    if (bytes < m_layout.frameBytes) return NS_E_INVALID_DATA;

    // The grid slot nearest to the time stamp.
    const AVRational tb = m_encoder->time_base;
    const int64_t slot =
        av_rescale_q_rnd(time100ns, AVRational{1, kUnitsPerSecond}, tb, AV_ROUND_NEAR_INF);
    if (slot <= m_lastSlot) return S_OK;

    // The previous picture is repeated over the slots this frame skipped.
    int64_t firstSlot = slot;
    if (m_lastSlot >= 0) {
        const int64_t maxRepeats = av_rescale_q(kMaxRepeatSeconds, AVRational{1, 1}, tb);
        if (slot - m_lastSlot - 1 <= maxRepeats) firstSlot = m_lastSlot + 1;
    }
    m_lastSlot = slot;

    std::shared_ptr<const AVFrame> picture = Convert(data);
    if (!picture) return E_OUTOFMEMORY;
    std::shared_ptr<const AVFrame> previous = std::exchange(m_previous, picture);
    return m_worker->Push([this, previous, picture, firstSlot, slot] {
        return EncodeSlots(previous.get(), picture.get(), firstSlot, slot);
    });
}

std::shared_ptr<const AVFrame> VideoStream::Convert(const uint8_t* data) const {
    std::shared_ptr<AVFrame> picture(av_frame_alloc(), [](AVFrame* f) { av_frame_free(&f); });
    if (!picture) return nullptr;
    picture->format = AV_PIX_FMT_YUV420P;
    picture->width = m_encoder->width;
    picture->height = m_encoder->height;
    // Pictures come from a pool: a fresh allocation of this size each frame
    // would be mapped and faulted in anew every time.
    picture->buf[0] = av_buffer_pool_get(m_picturePool.get());
    if (!picture->buf[0] ||
        av_image_fill_arrays(picture->data, picture->linesize, picture->buf[0]->data,
                             AV_PIX_FMT_YUV420P, picture->width, picture->height,
                             kPictureAlign) < 0)
        return nullptr;
    const uint8_t* planes[4];
    int strides[4];
    RawVideoPlanes(m_layout, data, planes, strides);
    sws_scale(m_scaler.get(), planes, strides, 0, m_layout.height, picture->data,
              picture->linesize);
    return picture;
}

HRESULT VideoStream::EncodeSlots(const AVFrame* previous, const AVFrame* picture, int64_t firstSlot,
                                 int64_t slot) {
    for (int64_t s = firstSlot; s < slot && previous; ++s) {
        FramePtr repeat(av_frame_clone(previous));
        if (!repeat) return E_OUTOFMEMORY;
        repeat->pts = s;
        HRESULT hr = Encode(repeat.get());
        if (FAILED(hr)) return hr;
    }
    FramePtr current(av_frame_clone(picture));
    if (!current) return E_OUTOFMEMORY;
    current->pts = slot;
    return Encode(current.get());
}

HRESULT VideoStream::Finish() {
    if (m_finished) return S_OK;
    m_finished = true;
    const HRESULT queued = m_worker->Finish();
    if (FAILED(queued)) return queued;
    return Encode(nullptr);
}

}  // namespace wmf
