// The graph layer's part of the test kit: clips generated with ffmpeg at
// test time, and small helpers for driving graphs the way the engines and
// the preview do.
#pragma once

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "media_tools.h"
#include "platform/dshow/dshow.h"

namespace dshow_test {

enum class Clip {
    Mpeg1AV,    // MPEG-1 system stream, 3 s: video whose brightness grows with time, MP2 audio
    Mp4AV,      // H.264 + AAC in MP4, 3 s
    AviVideo,   // MPEG-4 video only in AVI, 2 s
    AviAV,      // MS-MPEG4 (a key frame every 12 pictures) and PCM in AVI, 3 s, video as Mpeg1AV
    WavAudio,   // PCM, 1 s
    OggAudio,   // Vorbis, 1 s
    TinyMp4,    // 1 s, 64x48, for repeated builds
    DamagedMkv  // Matroska with its middle overwritten by garbage
};

// Generated once per process into a temporary folder; fails the test
// when ffmpeg cannot make it.
std::string ClipPath(Clip clip);
// A fresh path inside that folder.
std::string TempPath(const std::string& name);

// Stream time of a frame of Clip::Mpeg1AV from one of its RGB24 pixels.
double SecondsFromGray(int gray);

// Records what a grabber hands over.
class GrabberProbe final : public ISampleGrabberCB {
public:
    struct Buffer {
        double time;
        long length;
        std::thread::id thread;
        int firstByte;
        bool batchThread;  // the delivering thread runs as batch work
    };
    HRESULT QueryInterface(REFIID riid, void** ppv) override;
    ULONG AddRef() override { return 2; }
    ULONG Release() override { return 1; }
    HRESULT SampleCB(double, IMediaSample*) override { return S_OK; }
    HRESULT BufferCB(double time, BYTE* buffer, long length) override;
    std::vector<Buffer> Buffers();
    // Each delivery takes this long, as on a starved thread.
    void SetDelay(std::chrono::milliseconds delay) { m_delayMs = delay.count(); }

private:
    std::mutex m_lock;
    std::vector<Buffer> m_buffers;
    std::atomic<long> m_delayMs{0};
};

// Waits for one of the ending events; returns the code, or 0 on time-out.
long WaitForEnd(IMediaEvent* events, int timeoutMs);

template <class T>
T* Query(IUnknown* from) {
    T* p = nullptr;
    if (FAILED(from->QueryInterface(T::iid, reinterpret_cast<void**>(&p)))) return nullptr;
    return p;
}

template <class T>
T* Create(REFCLSID clsid) {
    DShowRegisterClasses();  // as the engines do; also keeps the library linked
    T* p = nullptr;
    if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, T::iid,
                                reinterpret_cast<void**>(&p))))
        return nullptr;
    return p;
}

IPin* FirstPin(IBaseFilter* filter, PIN_DIRECTION dir);
std::wstring FilterNameOf(IPin* pin);

}  // namespace dshow_test
