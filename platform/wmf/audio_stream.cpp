#include "platform/wmf/audio_stream.h"

#include <vector>

#include "platform/wmf/wmsdk.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libavutil/samplefmt.h>
}

namespace wmf {
namespace {
// Input is resampled in slices so one huge buffer cannot need a huge
// output buffer.
constexpr int kSliceSamples = 8192;
}  // namespace

AudioStream::AudioStream(CodecContextPtr encoder, PacketSink& sink, int streamIndex)
    : SinkEncoder(std::move(encoder), sink, streamIndex),
      m_fifo(av_audio_fifo_alloc(m_encoder->sample_fmt, m_encoder->ch_layout.nb_channels,
                                 m_encoder->frame_size)),
      m_frame(av_frame_alloc()) {}

HRESULT AudioStream::SetInput(const RawAudioLayout& layout) {
    if (m_resampler && m_nextPts != AV_NOPTS_VALUE) {
        HRESULT hr = Resample(nullptr, 0);
        if (FAILED(hr)) return hr;
    }
    AVChannelLayout inLayout;
    av_channel_layout_default(&inLayout, layout.channels);
    SwrContext* raw = nullptr;
    int ret = swr_alloc_set_opts2(&raw, &m_encoder->ch_layout, m_encoder->sample_fmt,
                                  m_encoder->sample_rate, &inLayout, layout.sampleFormat,
                                  layout.sampleRate, 0, nullptr);
    av_channel_layout_uninit(&inLayout);
    SwrPtr resampler(raw);
    if (ret < 0 || swr_init(resampler.get()) < 0) return NS_E_INVALID_INPUT_FORMAT;
    m_resampler = std::move(resampler);
    m_layout = layout;
    return S_OK;
}

HRESULT AudioStream::Write(const uint8_t* data, size_t bytes, int64_t time100ns) {
    if (m_finished || !m_fifo || !m_frame || !m_packet) return NS_E_INVALID_REQUEST;
    if (!m_resampler) return NS_E_INVALID_INPUT_FORMAT;
    if (m_nextPts == AV_NOPTS_VALUE)
        m_nextPts = av_rescale(time100ns, m_encoder->sample_rate, kUnitsPerSecond);
    size_t samples = bytes / m_layout.blockAlign;
    while (samples > 0) {
        const int n = samples > kSliceSamples ? kSliceSamples : static_cast<int>(samples);
        const uint8_t* in[1] = {data};
        HRESULT hr = Resample(in, n);
        if (FAILED(hr)) return hr;
        data += static_cast<size_t>(n) * m_layout.blockAlign;
        samples -= n;
    }
    return S_OK;
}

HRESULT AudioStream::Resample(const uint8_t* const* in, int inSamples) {
    const int room = swr_get_out_samples(m_resampler.get(), inSamples);
    if (room < 0) return E_FAIL;
    if (room == 0) return S_OK;
    uint8_t** out = nullptr;
    if (av_samples_alloc_array_and_samples(&out, nullptr, m_encoder->ch_layout.nb_channels, room,
                                           m_encoder->sample_fmt, 0) < 0)
        return E_OUTOFMEMORY;
    const int got =
        swr_convert(m_resampler.get(), out, room, const_cast<const uint8_t**>(in), inSamples);
    HRESULT hr = S_OK;
    if (got < 0)
        hr = E_FAIL;
    else if (got > 0 && av_audio_fifo_write(m_fifo.get(), reinterpret_cast<void**>(out), got) < got)
        hr = E_OUTOFMEMORY;
    av_freep(&out[0]);
    av_freep(&out);
    if (FAILED(hr)) return hr;
    return EncodeFromFifo(false);
}

HRESULT AudioStream::EncodeFromFifo(bool padLast) {
    const int frameSize = m_encoder->frame_size;
    for (;;) {
        const int available = av_audio_fifo_size(m_fifo.get());
        if (available == 0 || (available < frameSize && !padLast)) return S_OK;
        av_frame_unref(m_frame.get());
        m_frame->nb_samples = frameSize;
        m_frame->format = m_encoder->sample_fmt;
        m_frame->sample_rate = m_encoder->sample_rate;
        if (av_channel_layout_copy(&m_frame->ch_layout, &m_encoder->ch_layout) < 0 ||
            av_frame_get_buffer(m_frame.get(), 0) < 0)
            return E_OUTOFMEMORY;
        const int take = available < frameSize ? available : frameSize;
        if (av_audio_fifo_read(m_fifo.get(), reinterpret_cast<void**>(m_frame->data), take) < take)
            return E_FAIL;
        if (take < frameSize)
            av_samples_set_silence(m_frame->data, take, frameSize - take,
                                   m_encoder->ch_layout.nb_channels, m_encoder->sample_fmt);
        // The encoder stamps each packet `initial_padding` samples before its
        // frame: a decoder plays that much priming first, so the frame's
        // first sample still sounds at its own time, in step with the video.
        // The first packet's stamp is negative; the file's preroll holds it.
        m_frame->pts = m_nextPts;
        m_nextPts += frameSize;
        HRESULT hr = Encode(m_frame.get());
        if (FAILED(hr)) return hr;
    }
}

HRESULT AudioStream::Finish() {
    if (m_finished) return S_OK;
    m_finished = true;
    if (!m_fifo || !m_frame || !m_packet) return E_OUTOFMEMORY;
    HRESULT hr = S_OK;
    if (m_resampler && m_nextPts != AV_NOPTS_VALUE) hr = Resample(nullptr, 0);
    if (SUCCEEDED(hr)) hr = EncodeFromFifo(true);
    if (SUCCEEDED(hr)) hr = Encode(nullptr);
    return hr;
}

}  // namespace wmf
