// wmf-bench: encodes a raw I420 file through the runtime's writer, frame by
// frame, as the benchmark's counterpart of an ffmpeg command line.
//
//   wmf-bench IN.yuv WIDTH HEIGHT FPS BITRATE OUT.wmv
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/wmf/wmsdk.h"

namespace {

int Fail(const char* what, HRESULT hr) {
    std::fprintf(stderr, "wmf-bench: %s failed: 0x%08X\n", what, Hex(hr));
    return 1;
}

// System profile 0 with its video resized and re-rated, as the engines do.
HRESULT MakeProfile(LONG width, LONG height, int fps, DWORD bitrate, IWMProfile** out) {
    ComPtr<IWMProfileManager> pm;
    HRESULT hr = WMCreateProfileManager(pm.Put());
    if (FAILED(hr)) return hr;
    ComPtr<IWMProfile> profile;
    if (FAILED(hr = pm->LoadSystemProfile(0, profile.Put()))) return hr;
    ComPtr<IWMStreamConfig> video;
    if (FAILED(hr = profile->GetStream(1, video.Put()))) return hr;
    auto props = video.As<IWMMediaProps>();
    DWORD size = 0;
    if (!props || FAILED(hr = props->GetMediaType(nullptr, &size))) return E_FAIL;
    std::vector<uint64_t> buf((size + 7) / 8);
    auto* mt = reinterpret_cast<WM_MEDIA_TYPE*>(buf.data());
    if (FAILED(hr = props->GetMediaType(mt, &size))) return hr;
    VIDEOINFOHEADER* vih = VideoInfoOf(*mt);
    vih->rcSource = vih->rcTarget = RECT{0, 0, width, height};
    vih->dwBitRate = bitrate;
    vih->AvgTimePerFrame = kUnitsPerSecond / fps;
    vih->bmiHeader.biWidth = width;
    vih->bmiHeader.biHeight = height;
    video->SetBitrate(bitrate);
    if (FAILED(hr = props->SetMediaType(mt))) return hr;
    if (FAILED(hr = profile->ReconfigStream(video.Get()))) return hr;
    *out = profile.Detach();
    return S_OK;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 7) {
        std::fprintf(stderr, "usage: wmf-bench IN.yuv WIDTH HEIGHT FPS BITRATE OUT.wmv\n");
        return 2;
    }
    const LONG width = std::atoi(argv[2]), height = std::atoi(argv[3]);
    const int fps = std::atoi(argv[4]);
    const DWORD bitrate = static_cast<DWORD>(std::atol(argv[5]));
    const std::wstring out(argv[6], argv[6] + std::string(argv[6]).size());
    FILE* in = std::fopen(argv[1], "rb");
    if (!in || fps <= 0) return Fail("opening the input", E_INVALIDARG);

    ComPtr<IWMProfile> profile;
    HRESULT hr = MakeProfile(width, height, fps, bitrate, profile.Put());
    if (FAILED(hr)) return Fail("making the profile", hr);
    ComPtr<IWMWriter> writer;
    if (FAILED(hr = WMCreateWriter(nullptr, writer.Put()))) return Fail("WMCreateWriter", hr);
    if (FAILED(hr = writer->SetProfile(profile.Get()))) return Fail("SetProfile", hr);
    if (FAILED(hr = writer->SetOutputFilename(out.c_str()))) return Fail("SetOutputFilename", hr);
    if (FAILED(hr = writer->BeginWriting())) return Fail("BeginWriting", hr);

    ComPtr<IWMInputMediaProps> input;
    if (FAILED(hr = writer->GetInputProps(1, input.Put()))) return Fail("GetInputProps", hr);
    VIDEOINFOHEADER vih{};
    vih.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    vih.bmiHeader.biWidth = width;
    vih.bmiHeader.biHeight = height;
    vih.bmiHeader.biPlanes = 1;
    vih.bmiHeader.biBitCount = 12;
    vih.bmiHeader.biCompression = MEDIASUBTYPE_I420.Data1;
    AM_MEDIA_TYPE mt{};
    mt.majortype = MEDIATYPE_Video;
    mt.subtype = MEDIASUBTYPE_I420;
    mt.formattype = FORMAT_VideoInfo;
    mt.cbFormat = sizeof vih;
    mt.pbFormat = reinterpret_cast<BYTE*>(&vih);
    if (FAILED(hr = input->SetMediaType(&mt)) || FAILED(hr = writer->SetInputProps(1, input.Get())))
        return Fail("setting the input type", hr);

    const size_t frameBytes = RawFrameBytes(MEDIASUBTYPE_I420, width, height);
    for (int64_t i = 0;; ++i) {
        ComPtr<INSSBuffer> sample;
        if (FAILED(hr = writer->AllocateSample(static_cast<DWORD>(frameBytes), sample.Put())))
            return Fail("AllocateSample", hr);
        BYTE* p = nullptr;
        sample->GetBuffer(&p);
        if (std::fread(p, 1, frameBytes, in) != frameBytes) break;
        if (FAILED(hr = writer->WriteSample(1, i * kUnitsPerSecond / fps, 0, sample.Get())))
            return Fail("WriteSample", hr);
    }
    std::fclose(in);
    if (FAILED(hr = writer->EndWriting())) return Fail("EndWriting", hr);
    return 0;
}
