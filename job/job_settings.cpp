#include "job/job_settings.h"

#include "platform/media/encoder_limits.h"

namespace {

bool Within(long long value, long long low, long long high) {
    return value >= low && value <= high;
}

}  // namespace

std::string VideoSettingsProblem(const ProfileRecord& record) {
    if (!Within(record.width, kWmvMinFrameSide, kWmvMaxFrameSide) ||
        !Within(record.height, kWmvMinFrameSide, kWmvMaxFrameSide)) {
        return "the video size " + std::to_string(record.width) + "x" +
               std::to_string(record.height) + " is not one the encoder takes (" +
               std::to_string(kWmvMinFrameSide) + " to " + std::to_string(kWmvMaxFrameSide) +
               " pixels a side)";
    }
    if (!Within(record.videoKbps, kWmvMinVideoBitrate / 1000, kWmvMaxVideoBitrate / 1000)) {
        return "the video bit rate " + std::to_string(record.videoKbps) +
               " kbit/s is not one the encoder takes (" +
               std::to_string(kWmvMinVideoBitrate / 1000) + " to " +
               std::to_string(kWmvMaxVideoBitrate / 1000) + " kbit/s)";
    }
    if (!Within(record.framesPerSecond, kWmvMinFramesPerSecond, kWmvMaxFramesPerSecond)) {
        return "the frame rate " + std::to_string(record.framesPerSecond) +
               " fps is not one the encoder takes (" + std::to_string(kWmvMinFramesPerSecond) +
               " to " + std::to_string(kWmvMaxFramesPerSecond) + " fps)";
    }
    return {};
}
