#include "converter_host.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

#include "convert/common/progress_cell.h"
#include "job/job_control.h"
#include "media_tools.h"
#include "platform/dshow/dshow.h"
#include "platform/win/trace.h"
#include "platform/win/window.h"
#include "platform/wmf/media_type_reader.h"

namespace {

constexpr size_t kLogGuardBytes = 256;
constexpr char kGuardByte = '\x5A';
constexpr UINT kStopMessage = WM_APP + 1;

struct Slots {
    IGraphBuilder* graph = nullptr;
    IMediaControl* control = nullptr;
    IMediaSeeking* seeking = nullptr;
};

}  // namespace

ConverterLibrary::ConverterLibrary(const char* path) {
    m_module = LoadLibraryA(path);
    if (!m_module) {
        m_error = GetLastLoaderMessage();
        return;
    }
    m_convert = reinterpret_cast<ConvertFn>(GetProcAddress(m_module, kConvertSymbol));
    if (!m_convert) m_error = "no " + std::string(kConvertSymbol);
}

ConverterLibrary::~ConverterLibrary() {
    if (m_module) FreeLibrary(m_module);
}

AudioChoice PickAudioFormat(unsigned sampleRate, unsigned channels) {
    AudioChoice fallback;
    ComPtr<IWMProfileManager> manager;
    if (FAILED(WMCreateProfileManager(manager.Put())) || !manager) return fallback;
    auto info = manager.As<IWMCodecInfo>();
    DWORD codecs = 0;
    if (!info || FAILED(info->GetCodecInfoCount(WMMEDIATYPE_Audio, &codecs))) return fallback;
    bool haveFallback = false;
    for (DWORD c = 0; c < codecs; ++c) {
        DWORD formats = 0;
        if (FAILED(info->GetCodecFormatCount(WMMEDIATYPE_Audio, c, &formats))) continue;
        for (DWORD f = 0; f < formats; ++f) {
            ComPtr<IWMStreamConfig> config;
            if (FAILED(info->GetCodecFormat(WMMEDIATYPE_Audio, c, f, config.Put()))) continue;
            auto props = config.As<IWMMediaProps>();
            CMediaTypeReader reader(props.Get());
            const WM_MEDIA_TYPE* mt = reader.Type();
            if (!mt) continue;
            const WAVEFORMATEX* wfx = WaveFormatOf(*mt);
            if (!wfx) continue;
            AudioChoice choice{static_cast<int>(c), static_cast<int>(f), wfx->nSamplesPerSec,
                               wfx->nChannels};
            if (!haveFallback) {
                fallback = choice;
                haveFallback = true;
            }
            if (choice.sampleRate == sampleRate && choice.channels == channels) return choice;
        }
    }
    return fallback;
}

ProfileStruc MakeProfile(int width, int height, double videoBitrate, int fps,
                         const AudioChoice& audio) {
    ProfileStruc p;
    std::memset(&p, 0, sizeof p);
    p.width = width;
    p.height = height;
    p.videoBitrate = videoBitrate;
    p.framesPerSecond = fps;
    p.audioCodecIndex = audio.codecIndex;
    p.audioFormatIndex = audio.formatIndex;
    p.sampleRate = static_cast<int32_t>(audio.sampleRate);
    p.stereo = audio.channels == 2 ? 1 : 0;
    return p;
}

JobResult RunConversion(ConvertFn convert, const JobOptions& options) {
    JobResult result;
    std::vector<char> log(kLogBufferSize + kLogGuardBytes, kGuardByte);
    Slots slots;
    int progress = 0;
    bool stopRequested = false;

    HWND window = nullptr;
    window = CreateHostWindow([&](HWND hwnd, UINT msg, WPARAM wParam, LPARAM) -> LRESULT {
        if (msg == WM_COMMAND && LOWORD(wParam) == kCmdFlushLog) {
            result.lines.emplace_back(log.data());
            if (options.whileConverting && slots.graph &&
                result.lines.back() == "Under converting, please wait...\r\n")
                options.whileConverting(slots.graph);
            if (!options.stopAfterLine.empty() && !stopRequested &&
                result.lines.back() == options.stopAfterLine) {
                stopRequested = true;
                PostMessageA(hwnd, kStopMessage, 0, 0);
            }
        } else if (msg == kStopMessage) {
            if (LoadProgress(&progress) < options.stopAtProgress && slots.control) {
                // Not far enough yet: look again shortly.
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
                PostMessageA(hwnd, kStopMessage, 0, 0);
            } else {
                result.stopped = slots.control != nullptr;
                StopEngine(slots.graph, slots.control);
            }
        }
        return 0;
    });

    std::atomic<bool> running{true};
    std::thread sampler([&] {
        int last = -1;
        while (running.load()) {
            const int now = LoadProgress(&progress);
            if (now != last) result.progress.push_back(last = now);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });

    int savedStdout = -1;
    std::string traceName;
    int traceFd = -1;
    if (options.captureTrace) {
        traceFd = MakeTempFile("tranzo9-trace", traceName);
        fflush(stdout);
        savedStdout = dup(1);
        dup2(traceFd, 1);
        SetTraceEnabled(true);  // trace lines follow standard output anew
    }

    std::string source = options.source;
    std::string dest = options.dest;
    const auto started = std::chrono::steady_clock::now();
    ProfileStruc profile = options.profile;
    convert(options.nullSource ? nullptr : source.data(), options.nullDest ? nullptr : dest.data(),
            &profile, options.withLog ? log.data() : nullptr, options.withWindow ? window : nullptr,
            &slots.graph, &slots.control, &slots.seeking, options.begin, options.end, &progress);
    result.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

    if (options.captureTrace) {
        fflush(stdout);
        dup2(savedStdout, 1);
        close(savedStdout);
        SetTraceEnabled(true);
        std::ifstream in(traceName, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        result.trace = text.str();
        close(traceFd);
        unlink(traceName.c_str());
    }
    running.store(false);
    sampler.join();
    const int last = LoadProgress(&progress);
    if (result.progress.empty() || result.progress.back() != last) result.progress.push_back(last);

    result.slotsNullAfter = !slots.graph && !slots.control && !slots.seeking;
    result.logGuardIntact = true;
    for (size_t i = kLogBufferSize; i < log.size(); ++i)
        if (log[i] != kGuardByte) result.logGuardIntact = false;
    // Drop what the job left queued for the window before it goes.
    MSG msg;
    while (PeekMessageA(&msg, window, 0, 0, PM_REMOVE)) {
    }
    DestroyWindow(window);
    return result;
}
