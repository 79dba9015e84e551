#include "platform/wmf/encoder_open.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/mathematics.h>
}

namespace wmf {
namespace {}

CodecContextPtr OpenVideoEncoder(const VideoEncoderSettings& s) {
    const AVCodec* codec = avcodec_find_encoder_by_name(s.ffmpegName);
    if (!codec || s.frameDuration100ns <= 0 || s.bitrate <= 0) return nullptr;
    CodecContextPtr ctx(avcodec_alloc_context3(codec));
    if (!ctx) return nullptr;
    AVRational frame{0, 1};
    av_reduce(&frame.num, &frame.den, s.frameDuration100ns, kUnitsPerSecond, INT32_MAX);
    ctx->time_base = frame;
    ctx->framerate = av_inv_q(frame);
    ctx->width = s.width;
    ctx->height = s.height;
    ctx->pix_fmt = AV_PIX_FMT_YUV420P;
    ctx->bit_rate = s.bitrate;
    ctx->bit_rate_tolerance = static_cast<int>(s.bitrate / kBitrateToleranceDivisor);
    const double fps = av_q2d(ctx->framerate);
    ctx->gop_size =
        fps * kKeyFrameIntervalSeconds < 1 ? 1 : static_cast<int>(fps * kKeyFrameIntervalSeconds);
    ctx->thread_count = 1;
    if (avcodec_open2(ctx.get(), codec, nullptr) < 0) return nullptr;
    return ctx;
}

CodecContextPtr OpenAudioEncoder(const char* ffmpegName, int channels, int sampleRate,
                                 int64_t bitrate) {
    const AVCodec* codec = avcodec_find_encoder_by_name(ffmpegName);
    if (!codec || channels < 1 || channels > 2 || sampleRate <= 0 || bitrate <= 0) return nullptr;
    CodecContextPtr ctx(avcodec_alloc_context3(codec));
    if (!ctx) return nullptr;
    av_channel_layout_default(&ctx->ch_layout, channels);
    ctx->sample_rate = sampleRate;
    ctx->sample_fmt = AV_SAMPLE_FMT_FLTP;
    ctx->bit_rate = bitrate;
    ctx->time_base = AVRational{1, sampleRate};
    if (avcodec_open2(ctx.get(), codec, nullptr) < 0) return nullptr;
    return ctx;
}

}  // namespace wmf
