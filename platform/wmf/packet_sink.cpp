#include "platform/wmf/packet_sink.h"

namespace wmf {

HRESULT EncodeToSink(AVCodecContext* encoder, const AVFrame* frame, AVPacket* packet,
                     PacketSink& sink, int streamIndex) {
    if (!packet || avcodec_send_frame(encoder, frame) < 0) return E_FAIL;
    for (;;) {
        const int ret = avcodec_receive_packet(encoder, packet);
        if (ret == AVERROR(EAGAIN) || ret == AVERROR_EOF) return S_OK;
        if (ret < 0) return E_FAIL;
        // The video encoders leave the duration out: one unit of their time
        // base, a frame. (The audio encoders always give one.)
        if (packet->duration == 0) packet->duration = 1;
        const HRESULT hr = sink.Write(streamIndex, packet, encoder->time_base);
        av_packet_unref(packet);
        if (FAILED(hr)) return hr;
    }
}

}  // namespace wmf
