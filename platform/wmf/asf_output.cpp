#include "platform/wmf/asf_output.h"

#include <algorithm>

extern "C" {
#include <libavutil/time.h>
}

#include "platform/wmf/asf_header.h"
#include "platform/wmf/wmsdk.h"

namespace wmf {
namespace {
// A stream this far behind the others' time, and silent for this long on
// the clock, is no longer waited for (see the header).
constexpr int64_t kMaxLagUs = 2000000;
constexpr int64_t kMaxSilentWallUs = 1000000;
// Room in the header: the description tag takes about 200 bytes; the rest
// is for whatever else a user's editor adds later.
constexpr uint64_t kHeaderRoomBytes = 4096;
// More than any header the muxer writes for two streams.
constexpr uint64_t kMaxMuxerHeaderBytes = 1 << 20;
}  // namespace

HRESULT ResultFromAvError(int averror) {
    // Errno values come back negated; FFmpeg's own codes are tags far below.
    constexpr int kMaxErrno = 4095;
    if (averror < 0 && averror >= -kMaxErrno) return ResultFromErrno(-averror);
    return NS_E_FILE_WRITE;
}

AsfOutput::~AsfOutput() {
    if (m_context) Close();
}

HRESULT AsfOutput::Failure(int averror) {
    if (SUCCEEDED(m_error)) m_error = ResultFromAvError(averror);
    return m_error;
}

HRESULT AsfOutput::Open(const std::string& path,
                        const std::vector<const AVCodecContext*>& encoders) {
    if (m_context) return NS_E_INVALID_REQUEST;
    m_error = S_OK;
    const AVOutputFormat* format = av_guess_format("asf", nullptr, nullptr);
    AVFormatContext* raw = nullptr;
    if (!format || avformat_alloc_output_context2(&raw, format, nullptr, path.c_str()) < 0)
        return E_OUTOFMEMORY;
    OutputContextPtr ctx(raw);
    for (size_t i = 0; i < encoders.size(); ++i) {
        AVStream* st = avformat_new_stream(ctx.get(), nullptr);
        if (!st || avcodec_parameters_from_context(st->codecpar, encoders[i]) < 0)
            return E_OUTOFMEMORY;
        st->time_base = encoders[i]->time_base;
    }
    HRESULT hr = m_file.Create(path);
    if (FAILED(hr)) return hr;
    ctx->pb = m_file.Io();
    ctx->flags |= AVFMT_FLAG_CUSTOM_IO;
    // Audio starts before 0 by the encoder's priming (see AudioStream). The
    // ASF preroll takes such times; shifting every stream to make them
    // non-negative would move the first video frame off the range's begin.
    ctx->avoid_negative_ts = AVFMT_AVOID_NEG_TS_DISABLED;
    int ret = avformat_write_header(ctx.get(), nullptr);
    if (ret >= 0) {
        avio_flush(ctx->pb);
        ret = ctx->pb->error;
    }
    m_headerBytes = 0;
    if (ret < 0) {
        ctx.reset();
        m_file.Discard();
        return ResultFromAvError(ret);
    }
    hr = PadHeader();
    if (FAILED(hr)) {
        ctx.reset();
        m_file.Discard();
        return hr;
    }
    m_held.clear();
    m_held.resize(encoders.size());
    m_lastUs.assign(encoders.size(), AV_NOPTS_VALUE);
    m_lastWallUs.assign(encoders.size(), av_gettime_relative());
    m_firstUs = m_newestUs = m_writtenUs = AV_NOPTS_VALUE;
    m_context = std::move(ctx);
    return S_OK;
}

HRESULT AsfOutput::PadHeader() {
    uint8_t prefix[AsfHeader::kPrefixBytes];
    HRESULT hr = m_file.ReadRaw(0, prefix, sizeof prefix);
    if (FAILED(hr)) return hr;
    const uint64_t size = AsfHeader::HeaderSize(prefix);
    if (m_headerBytes == 0) {
        if (size == 0 || size > kMaxMuxerHeaderBytes) return E_UNEXPECTED;
        hr = m_file.OpenGap(size, kHeaderRoomBytes);
        if (FAILED(hr)) return hr;
        m_headerBytes = size;
    } else if (size == m_headerBytes + kHeaderRoomBytes) {
        return S_OK;  // the muxer did not write its header again
    } else if (size != m_headerBytes) {
        return E_UNEXPECTED;  // it would have run into the padding
    }
    std::vector<uint8_t> header(size);
    hr = m_file.ReadRaw(0, header.data(), header.size());
    if (FAILED(hr)) return hr;
    if (!AsfHeader::AppendPadding(header, kHeaderRoomBytes)) return E_UNEXPECTED;
    return m_file.WriteRaw(0, header.data(), header.size());
}

HRESULT AsfOutput::Write(int streamIndex, AVPacket* packet, AVRational timeBase) {
    std::lock_guard<std::mutex> hold(m_lock);
    if (!m_context) return NS_E_INVALID_REQUEST;
    if (FAILED(m_error)) return m_error;
    AVStream* st = m_context->streams[streamIndex];
    packet->stream_index = streamIndex;
    av_packet_rescale_ts(packet, timeBase, st->time_base);
    const int64_t stamp = packet->dts != AV_NOPTS_VALUE ? packet->dts : packet->pts;
    if (stamp == AV_NOPTS_VALUE) return S_OK;  // encoders always stamp; nothing to place it by
    const int64_t atUs = av_rescale_q(stamp, st->time_base, AV_TIME_BASE_Q);
    if (m_writtenUs != AV_NOPTS_VALUE && atUs < m_writtenUs) return S_OK;  // too late, see header
    Held held{PacketPtr(av_packet_alloc()), atUs};
    if (!held.packet) return Failure(AVERROR(ENOMEM));
    av_packet_move_ref(held.packet.get(), packet);
    m_held[streamIndex].push_back(std::move(held));
    if (m_firstUs == AV_NOPTS_VALUE) m_firstUs = atUs;
    m_lastUs[streamIndex] = atUs;
    m_lastWallUs[streamIndex] = av_gettime_relative();
    m_newestUs = m_newestUs == AV_NOPTS_VALUE ? atUs : std::max(m_newestUs, atUs);
    const int ret = WriteHeld(false);
    return ret < 0 ? Failure(ret) : S_OK;
}

int AsfOutput::WriteHeld(bool everything) {
    for (;;) {
        int next = -1;
        bool wait = false;
        const int64_t nowUs = av_gettime_relative();
        for (size_t i = 0; i < m_held.size(); ++i) {
            if (m_held[i].empty()) {
                const int64_t last = m_lastUs[i] == AV_NOPTS_VALUE ? m_firstUs : m_lastUs[i];
                const bool lagging = last < m_newestUs - kMaxLagUs;
                const bool silent = nowUs - m_lastWallUs[i] > kMaxSilentWallUs;
                if (!everything && !(lagging && silent)) wait = true;
                continue;
            }
            if (next < 0 || m_held[i].front().atUs < m_held[next].front().atUs)
                next = static_cast<int>(i);
        }
        if (next < 0 || wait) return 0;
        Held held = std::move(m_held[next].front());
        m_held[next].pop_front();
        m_writtenUs = held.atUs;
        int ret = av_write_frame(m_context.get(), held.packet.get());
        if (ret >= 0 && m_context->pb->error < 0) ret = m_context->pb->error;
        if (ret < 0) return ret;
    }
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
        int ret = WriteHeld(true);
        if (ret >= 0) ret = av_write_trailer(m_context.get());
        if (ret >= 0) {
            avio_flush(m_context->pb);
            ret = m_context->pb->error;
        }
        if (ret < 0) Failure(ret);
        if (SUCCEEDED(m_error)) m_error = PadHeader();
    }
    m_held.clear();
    m_context.reset();  // the file stays with m_file
    if (FAILED(m_error)) {
        m_file.Discard();
        return m_error;
    }
    m_error = m_file.Commit();
    return m_error;
}

}  // namespace wmf
