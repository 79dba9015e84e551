#include "platform/dshow/container_length.h"

#include <gst/gst.h>

#include <memory>

extern "C" {
#include <libavformat/avformat.h>
}

namespace zev::dshow {

gint64 ContainerLengthNs(const std::string& path) {
    AVFormatContext* raw = nullptr;
    if (avformat_open_input(&raw, path.c_str(), nullptr, nullptr) < 0) return -1;
    struct Close {
        void operator()(AVFormatContext* c) const { avformat_close_input(&c); }
    };
    const std::unique_ptr<AVFormatContext, Close> context(raw);
    if (avformat_find_stream_info(context.get(), nullptr) < 0) return -1;
    const int64_t duration = context->duration;  // AV_TIME_BASE units
    if (duration == AV_NOPTS_VALUE || duration <= 0) return -1;
    return av_rescale(duration, GST_SECOND, AV_TIME_BASE);
}

}  // namespace zev::dshow
