#include "platform/wmf/packet_sink.h"

#include <utility>

namespace wmf {

SinkEncoder::SinkEncoder(CodecContextPtr encoder, PacketSink& sink, int streamIndex)
    : m_encoder(std::move(encoder)),
      m_packet(av_packet_alloc()),
      m_sink(sink),
      m_streamIndex(streamIndex) {}

HRESULT SinkEncoder::Encode(const AVFrame* frame) {
    AVPacket* packet = m_packet.get();
    if (!packet || avcodec_send_frame(m_encoder.get(), frame) < 0) return E_FAIL;
    for (;;) {
        const int ret = avcodec_receive_packet(m_encoder.get(), packet);
        if (ret == AVERROR(EAGAIN) || ret == AVERROR_EOF) return S_OK;
        if (ret < 0) return E_FAIL;
        // The video encoders leave the duration out: one unit of their time
        // base, a frame. (The audio encoders always give one.)
        if (packet->duration == 0) packet->duration = 1;
        const HRESULT hr = m_sink.Write(m_streamIndex, packet, m_encoder->time_base);
        av_packet_unref(packet);
        if (FAILED(hr)) return hr;
    }
}

}  // namespace wmf
