#include "platform/wmf/asf_output.h"

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>

#include "platform/wmf/wmsdk.h"

namespace wmf {
namespace {
// The muxer holds packets back to interleave streams; when one stream gets
// no samples at all it would wait for it. This bounds that wait (and so the
// memory) to two seconds of the other streams.
constexpr int64_t kMaxInterleaveDeltaUs = 2000000;
}  // namespace

HRESULT ResultFromAvError(int averror) {
    switch (averror) {
        case AVERROR(ENOSPC):
        case AVERROR(EDQUOT):
            return NS_E_DISK_FULL;
        case AVERROR(ENOENT):
        case AVERROR(ENOTDIR):
            return NS_E_FILE_NOT_FOUND;
        case AVERROR(ENOMEM):
            return E_OUTOFMEMORY;
        default:
            return NS_E_FILE_WRITE;
    }
}

AsfOutput::~AsfOutput() {
    if (m_context) Close();
}

HRESULT AsfOutput::Failure(int averror) {
    if (SUCCEEDED(m_error)) m_error = ResultFromAvError(averror);
    return m_error;
}

HRESULT AsfOutput::Open(const std::string& path, const std::vector<const AVCodecContext*>& encoders,
                        const std::vector<DWORD>& bitrates) {
    if (m_context) return NS_E_INVALID_REQUEST;
    m_error = S_OK;
    const AVOutputFormat* format = av_guess_format("asf", nullptr, nullptr);
    AVFormatContext* raw = nullptr;
    if (!format || avformat_alloc_output_context2(&raw, format, nullptr, path.c_str()) < 0)
        return E_OUTOFMEMORY;
    OutputContextPtr ctx(raw);
    ctx->max_interleave_delta = kMaxInterleaveDeltaUs;
    for (size_t i = 0; i < encoders.size(); ++i) {
        AVStream* st = avformat_new_stream(ctx.get(), nullptr);
        if (!st || avcodec_parameters_from_context(st->codecpar, encoders[i]) < 0)
            return E_OUTOFMEMORY;
        st->time_base = encoders[i]->time_base;
        if (bitrates[i]) st->codecpar->bit_rate = bitrates[i];
    }
    // Only a file this call creates is removed again on failure (the path
    // might name a device or a file the caller wants kept).
    struct stat before {};
    const bool existed = stat(path.c_str(), &before) == 0;
    int ret = avio_open(&ctx->pb, path.c_str(), AVIO_FLAG_WRITE);
    if (ret < 0) return ResultFromAvError(ret);
    ret = avformat_write_header(ctx.get(), nullptr);
    if (ret >= 0) {
        avio_flush(ctx->pb);
        ret = ctx->pb->error;
    }
    if (ret < 0) {
        ctx.reset();
        if (!existed) std::remove(path.c_str());
        return ResultFromAvError(ret);
    }
    m_context = std::move(ctx);
    return S_OK;
}

HRESULT AsfOutput::Write(int streamIndex, AVPacket* packet, AVRational timeBase) {
    std::lock_guard<std::mutex> hold(m_lock);
    if (!m_context) return NS_E_INVALID_REQUEST;
    if (FAILED(m_error)) return m_error;
    AVStream* st = m_context->streams[streamIndex];
    packet->stream_index = streamIndex;
    av_packet_rescale_ts(packet, timeBase, st->time_base);
    int ret = av_interleaved_write_frame(m_context.get(), packet);
    if (ret >= 0 && m_context->pb->error < 0) ret = m_context->pb->error;
    return ret < 0 ? Failure(ret) : S_OK;
}

HRESULT AsfOutput::FlushFile() {
    std::lock_guard<std::mutex> hold(m_lock);
    if (!m_context) return NS_E_INVALID_REQUEST;
    if (FAILED(m_error)) return m_error;
    avio_flush(m_context->pb);
    return m_context->pb->error < 0 ? Failure(m_context->pb->error) : S_OK;
}

HRESULT AsfOutput::Close() {
    std::lock_guard<std::mutex> hold(m_lock);
    if (!m_context) return NS_E_INVALID_REQUEST;
    if (SUCCEEDED(m_error)) {
        int ret = av_write_trailer(m_context.get());
        if (ret >= 0) {
            avio_flush(m_context->pb);
            ret = m_context->pb->error;
        }
        if (ret < 0) Failure(ret);
    }
    const int closed = avio_closep(&m_context->pb);
    if (closed < 0) Failure(closed);
    m_context.reset();
    return m_error;
}

}  // namespace wmf
