#include "job/converter_binding.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "convert/common/program_names.h"

namespace {

std::string Format(const char* fmt, unsigned value) {
    char buf[128];
    std::snprintf(buf, sizeof buf, fmt, value);
    return buf;
}

int32_t MakeEven(int32_t v) {
    return v % 2 != 0 ? v + 1 : v;
}

uint32_t VideoBitsPerSecond(uint32_t kbps) {
    return std::min(kbps, kMaxConverterVideoKbps) * 1000u;
}

}  // namespace

bool BindConverter(IJobLog& log, BoundConverter& out, const char* primary, const char* fallback) {
    out = BoundConverter{};
    HMODULE module = LoadLibraryA(primary);
    if (!module) {
        const DWORD err = GetLastError();
        log.LogJobLine(Format("Load Convertor Library failed! Error = 0X%08X\r\n", err));
        if (err != ERROR_PROC_NOT_FOUND) return false;
        log.LogJobLine(
            "Please install 'Windows Media Player 9' or 'Windows Media Format 9 Series "
            "Runtime'\r\n");
        log.LogJobLine(std::string("Check home page at ") + kMakerWebAddress + " for download\r\n");
        log.LogJobLine("Begin load WMP V7\r\n");
        module = LoadLibraryA(fallback);
        if (!module) {
            log.LogJobLine("Load V7 Dll Failed! Mission abort!\r\n");
            return false;
        }
        log.LogJobLine("Load V7 Dll success!\r\n");
    }
    log.LogJobLine("Load Convertor Library Success.\r\n");
    auto fn = reinterpret_cast<ConvertFn>(GetProcAddress(module, kConvertSymbol));
    if (!fn) {
        log.LogJobLine("Get Proc Failed\r\n");
        FreeLibrary(module);
        return false;
    }
    log.LogJobLine("Prepare convert success\r\n");
    out.module = module;
    out.convert = fn;
    return true;
}

void UnbindConverter(BoundConverter& bound) {
    if (bound.module) FreeLibrary(bound.module);
    bound = BoundConverter{};
}

ProfileStruc WidenProfile(const ProfileRecord& record) {
    ProfileStruc p;
    std::memset(&p, 0, sizeof p);
    p.width = MakeEven(record.width);
    p.height = MakeEven(record.height);
    p.videoBitrate = static_cast<double>(VideoBitsPerSecond(record.videoKbps));
    p.framesPerSecond = record.framesPerSecond;
    p.audioBitrate = record.audioBitrate;
    p.stereo = record.stereo;
    p.listIndex = record.listIndex;
    p.deleted = record.deleted;
    p.audioCodecIndex = record.audioCodecIndex;
    p.audioFormatIndex = record.audioFormatIndex;
    p.sampleRate = record.sampleRate;
    return p;
}
