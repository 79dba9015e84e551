#include "graph_tools.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "platform/win/thread_policy.h"
#include "platform/win/window.h"

namespace dshow_test {
namespace {

// Heap-held so that the clean-up at exit still finds it.
const std::string& ClipFolder() {
    static const std::string* dir = [] {
        auto* d = new std::string(MakeTempFolder("zev-dshow"));
        std::atexit([] {
            if (!ClipFolder().empty()) std::filesystem::remove_all(ClipFolder());
        });
        return d;
    }();
    return *dir;
}

const char* const kVideo =
    "-f lavfi -i \"color=c=black:s=160x120:r=25:d=3,format=yuv420p,"
    "geq=lum=16+T*70:cb=128:cr=128\" ";
const char* const kTone = "-f lavfi -i \"sine=frequency=440:sample_rate=44100:duration=3\" -ac 2 ";

std::string Command(Clip clip, const std::string& out) {
    const std::string ff = "ffmpeg -nostdin -v error -y ";
    switch (clip) {
        case Clip::Mpeg1AV:
            return ff + kVideo + kTone + "-c:v mpeg1video -q:v 2 -c:a mp2 -f mpeg " + out;
        case Clip::Mp4AV:
            return ff + kVideo + kTone + "-c:v libx264 -preset ultrafast -c:a aac " + out;
        case Clip::AviVideo:
            return ff + "-f lavfi -i testsrc=size=160x120:rate=25:duration=2 -c:v mpeg4 " + out;
        case Clip::AviAV:
            return ff + kVideo + kTone + "-c:v msmpeg4 -g 12 -q:v 2 -c:a pcm_s16le -f avi " + out;
        case Clip::WavAudio:
            return ff + "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=1 -ac 2 " + out;
        case Clip::OggAudio:
            return ff +
                   "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=1 -c:a libvorbis " +
                   out;
        case Clip::TinyMp4:
            return ff +
                   "-f lavfi -i testsrc=size=64x48:rate=25:duration=1 "
                   "-f lavfi -i sine=duration=1 -c:v libx264 -preset ultrafast -c:a aac " +
                   out;
        case Clip::DamagedMkv:
            return ff +
                   "-f lavfi -i testsrc=size=160x120:rate=25:duration=4 "
                   "-f lavfi -i sine=duration=4 -c:v mpeg4 -c:a libvorbis " +
                   out + " && dd if=/dev/urandom of=" + out +
                   " bs=1 seek=60000 count=40000 conv=notrunc status=none";
    }
    return "false";
}

const char* Extension(Clip clip) {
    switch (clip) {
        case Clip::Mpeg1AV:
            return ".mpg";
        case Clip::Mp4AV:
        case Clip::TinyMp4:
            return ".mp4";
        case Clip::AviVideo:
        case Clip::AviAV:
            return ".avi";
        case Clip::WavAudio:
            return ".wav";
        case Clip::OggAudio:
            return ".ogg";
        case Clip::DamagedMkv:
            return ".mkv";
    }
    return "";
}

}  // namespace

std::string TempPath(const std::string& name) {
    return ClipFolder() + "/" + name;
}

std::string ClipPath(Clip clip) {
    static std::mutex lock;
    static std::map<Clip, std::string> made;
    std::lock_guard<std::mutex> g(lock);
    auto it = made.find(clip);
    if (it != made.end()) return it->second;
    const std::string out =
        TempPath("clip" + std::to_string(static_cast<int>(clip)) + Extension(clip));
    const int rc = std::system(Command(clip, out).c_str());
    EXPECT_EQ(rc, 0) << "could not generate " << out;
    made[clip] = out;
    return out;
}

double SecondsFromGray(int gray) {
    // luma = 16 + 70 t, and RGB = 1.164 (luma - 16)
    return gray / (1.164 * 70.0);
}

HRESULT GrabberProbe::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_ISampleGrabberCB) {
        *ppv = static_cast<ISampleGrabberCB*>(this);
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

HRESULT GrabberProbe::BufferCB(double time, BYTE* buffer, long length) {
    if (m_delayMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(m_delayMs.load()));
    std::lock_guard<std::mutex> g(m_lock);
    m_buffers.push_back(Buffer{time, length, std::this_thread::get_id(),
                               length > 0 ? buffer[length / 2] : -1, IsThreadBatch(0)});
    return S_OK;
}

std::vector<GrabberProbe::Buffer> GrabberProbe::Buffers() {
    std::lock_guard<std::mutex> g(m_lock);
    return m_buffers;
}

long WaitForEnd(IMediaEvent* events, int timeoutMs) {
    OAEVENT handle = 0;
    if (FAILED(events->GetEventHandle(&handle))) return 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                        deadline - std::chrono::steady_clock::now())
                        .count();
        if (left <= 0) return 0;
        HANDLE h = reinterpret_cast<HANDLE>(handle);
        if (MsgWaitForMultipleObjects(1, &h, FALSE, static_cast<DWORD>(left), 0) != WAIT_OBJECT_0)
            continue;
        long code = 0;
        LONG_PTR p1 = 0, p2 = 0;
        while (events->GetEvent(&code, &p1, &p2, 0) == S_OK) {
            events->FreeEventParams(code, p1, p2);
            if (code == EC_COMPLETE || code == EC_USERABORT || code == EC_ERRORABORT) return code;
        }
    }
}

IPin* FirstPin(IBaseFilter* filter, PIN_DIRECTION dir) {
    IEnumPins* e = nullptr;
    if (FAILED(filter->EnumPins(&e))) return nullptr;
    IPin* found = nullptr;
    IPin* p = nullptr;
    while (!found && e->Next(1, &p, nullptr) == S_OK) {
        PIN_DIRECTION d;
        if (SUCCEEDED(p->QueryDirection(&d)) && d == dir)
            found = p;
        else
            p->Release();
    }
    e->Release();
    return found;
}

std::wstring FilterNameOf(IPin* pin) {
    PIN_INFO info{};
    if (FAILED(pin->QueryPinInfo(&info))) return L"";
    FILTER_INFO fi{};
    std::wstring name;
    if (info.pFilter && SUCCEEDED(info.pFilter->QueryFilterInfo(&fi))) {
        name = fi.achName;
        if (fi.pGraph) fi.pGraph->Release();
    }
    if (info.pFilter) info.pFilter->Release();
    return name;
}

}  // namespace dshow_test
