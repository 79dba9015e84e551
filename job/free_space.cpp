#include "job/free_space.h"

#include <sys/statvfs.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <limits>

namespace {

constexpr double kContainerShare = 0.05;
constexpr double kHeaderBytes = 64 * 1024;

}  // namespace

uint64_t ExpectedOutputBytes(double bitsPerSecond, double seconds) {
    if (!(bitsPerSecond > 0) || !(seconds > 0)) return static_cast<uint64_t>(kHeaderBytes);
    const double bytes =
        std::ceil(bitsPerSecond * seconds / 8 * (1 + kContainerShare) + kHeaderBytes);
    // A double this large no longer converts to 64 bits.
    constexpr double kLimit = 18446744073709549568.0;
    if (!(bytes < kLimit)) return std::numeric_limits<uint64_t>::max();
    return static_cast<uint64_t>(bytes);
}

std::optional<uint64_t> FreeBytesFor(const std::string& destination) {
    std::string folder = std::filesystem::path(destination).parent_path().string();
    if (folder.empty()) folder = ".";
    struct statvfs fs {};
    if (statvfs(folder.c_str(), &fs) != 0) return std::nullopt;
    const unsigned long long blocks = fs.f_bavail;
    const unsigned long long blockSize = fs.f_frsize ? fs.f_frsize : fs.f_bsize;
    if (blockSize && blocks > std::numeric_limits<uint64_t>::max() / blockSize)
        return std::numeric_limits<uint64_t>::max();
    return blocks * blockSize;
}

std::string ByteCountText(uint64_t bytes) {
    static const char* const kUnits[] = {"KiB", "MiB", "GiB", "TiB", "PiB", "EiB"};
    char text[96];
    if (bytes < 1024) {
        std::snprintf(text, sizeof text, "%llu bytes", static_cast<unsigned long long>(bytes));
        return text;
    }
    double value = static_cast<double>(bytes) / 1024;
    int unit = 0;
    while (value >= 1024 && unit + 1 < static_cast<int>(std::size(kUnits))) {
        value /= 1024;
        ++unit;
    }
    std::snprintf(text, sizeof text, "%llu bytes (%.1f %s)", static_cast<unsigned long long>(bytes),
                  value, kUnits[unit]);
    return text;
}
