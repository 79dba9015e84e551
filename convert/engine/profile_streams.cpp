#include "convert/engine/profile_streams.h"

#include <limits>
#include <vector>

#include "platform/wmf/media_type_reader.h"

namespace {

// The record's bit rate came from an unsigned 32-bit value; anything else
// is held to that range rather than converted with undefined results.
DWORD VideoBitrateOf(const ProfileStruc& settings) {
    constexpr DWORD kMost = std::numeric_limits<DWORD>::max();
    const double v = settings.videoBitrate;
    if (!(v >= 0)) return 0;
    if (v >= static_cast<double>(kMost)) return kMost;
    return static_cast<DWORD>(v);
}

bool StreamIsOfType(IWMProfile* profile, DWORD index, const GUID& type,
                    ComPtr<IWMStreamConfig>* keep = nullptr) {
    ComPtr<IWMStreamConfig> stream;
    if (FAILED(profile->GetStream(index, stream.Put())) || !stream) return false;
    GUID streamType = GUID_NULL;
    if (FAILED(stream->GetStreamType(&streamType)) || streamType != type) return false;
    if (keep) *keep = stream;
    return true;
}

// Frame size, bit rate and frame duration of the video stream.
bool SizeVideoStream(IWMProfile* profile, IWMStreamConfig* stream, const ProfileStruc& settings,
                     const LogChannel& log) {
    if (settings.framesPerSecond <= 0) {
        // The frame duration divides by the rate; a record from elsewhere
        // than the profile editor may hold 0.
        log.Printf("Error, frame rate %d is not valid, Mission aborted!\r\n",
                   settings.framesPerSecond);
        return false;
    }
    const DWORD bitrate = VideoBitrateOf(settings);
    stream->SetBitrate(bitrate);
    ComPtr<IWMMediaProps> props;
    stream->QueryInterface(IID_IWMMediaProps, reinterpret_cast<void**>(props.Put()));
    if (!props) {
        log.Send("Error finding Media Property interface in Video Stream, Mission aborted!\r\n");
        return false;
    }
    CMediaTypeReader reader(props.Get());
    HRESULT hr = reader.Result();
    if (reader.Size() == 0) {
        log.Send("Error, Not enough memory in Get Media property, Mission aborted!\r\n");
        return false;
    }
    WM_MEDIA_TYPE* type = reader.Type();
    VIDEOINFOHEADER* info = type ? VideoInfoOf(*type) : nullptr;
    if (!info) {
        log.Printf(
            "Error, Fail to get Media Property in Video stream, Error=0X%08X, Mission "
            "aborted!\r\n",
            Hex(FAILED(hr) ? hr : E_UNEXPECTED));
        return false;
    }
    info->rcSource = RECT{0, 0, settings.width, settings.height};
    info->rcTarget = RECT{0, 0, settings.width, settings.height};
    info->dwBitRate = bitrate;
    info->AvgTimePerFrame = static_cast<LONGLONG>(kUnitsPerSecond / settings.framesPerSecond);
    info->bmiHeader.biWidth = settings.width;
    info->bmiHeader.biHeight = settings.height;
    hr = props->SetMediaType(type);
    if (FAILED(hr))
        log.PrintfTraced("Info: Failed to set Video property, Error=0X%08X\r\n", Hex(hr));
    hr = profile->ReconfigStream(stream);
    if (FAILED(hr))
        log.Printf("Failed to commit change Video setting property,Error=0X%08X\r\n", Hex(hr));
    return true;
}

}  // namespace

bool EmptySystemProfile(IWMProfile* profile, const LogChannel& log,
                        ComPtr<IWMStreamConfig>& videoFallback) {
    DWORD streams = 0;
    profile->GetStreamCount(&streams);
    if (streams < 2) {
        log.Printf(
            "Error, there are only %d stream in the profile, not enough! Mission aborted\r\n",
            static_cast<int>(streams));
        return false;
    }
    ComPtr<IWMStreamConfig> first;
    profile->GetStream(0, first.Put());
    profile->GetStream(1, videoFallback.Put());
    for (DWORD n = 1; n <= streams; ++n) profile->RemoveStreamByNumber(static_cast<WORD>(n));
    return true;
}

bool AddAudioStream(IWMProfile* profile, IWMCodecInfo* codecInfo, const ProfileStruc& settings,
                    const LogChannel& log) {
    ComPtr<IWMStreamConfig> audio;
    const HRESULT hr =
        codecInfo->GetCodecFormat(WMMEDIATYPE_Audio, static_cast<DWORD>(settings.audioCodecIndex),
                                  static_cast<DWORD>(settings.audioFormatIndex), audio.Put());
    if (FAILED(hr) || !audio) {
        log.Printf(
            "Error, no audio format %d of audio codec %d in the runtime, Error=0X%08X, Mission "
            "aborted!\r\n",
            settings.audioFormatIndex, settings.audioCodecIndex, Hex(FAILED(hr) ? hr : E_POINTER));
        return false;
    }
    audio->SetStreamNumber(kAudioStreamNumber);
    profile->AddStream(audio.Get());
    if (!StreamIsOfType(profile, 0, WMMEDIATYPE_Audio)) {
        log.Send("Error, Stream 1 is not Audio! Mission aborted\r\n");
        return false;
    }
    return true;
}

bool ReadVideoCodecName(IWMCodecInfo* codecInfo, DWORD j, std::wstring& name) {
    ComPtr<IWMCodecInfo2> info2;
    codecInfo->QueryInterface(IID_IWMCodecInfo2, reinterpret_cast<void**>(info2.Put()));
    if (!info2) return false;
    DWORD chars = 0;
    if (FAILED(info2->GetCodecName(WMMEDIATYPE_Video, j, nullptr, &chars)) || chars == 0)
        return false;
    std::vector<WCHAR> text(chars, L'\0');
    if (FAILED(info2->GetCodecName(WMMEDIATYPE_Video, j, text.data(), &chars))) return false;
    text.back() = L'\0';
    name.assign(text.data());
    return true;
}

bool PickVideoFormat(IWMCodecInfo* codecInfo, DWORD codecCount, DWORD codec, DWORD formatIndex,
                     ComPtr<IWMStreamConfig>& fallback, const LogChannel& log,
                     ComPtr<IWMStreamConfig>& video) {
    if (codecCount == 0) {
        video = fallback;
        if (video) return true;
        log.Send("Error, Stream 2 is not a Video! Mission aborted\r\n");
        return false;
    }
    const HRESULT hr =
        codecInfo->GetCodecFormat(WMMEDIATYPE_Video, codec, formatIndex, video.Put());
    if (FAILED(hr) || !video) {
        log.Printf(
            "Error, no video format %d of video codec %d in the runtime, Error=0X%08X, Mission "
            "aborted!\r\n",
            static_cast<int>(formatIndex), static_cast<int>(codec),
            Hex(FAILED(hr) ? hr : E_POINTER));
        return false;
    }
    return true;
}

bool AddSizedVideoStream(IWMProfile* profile, IWMStreamConfig* video, const ProfileStruc& settings,
                         const LogChannel& log) {
    video->SetStreamNumber(kVideoStreamNumber);
    profile->AddStream(video);
    ComPtr<IWMStreamConfig> videoStream;
    if (!StreamIsOfType(profile, 1, WMMEDIATYPE_Video, &videoStream)) {
        log.Send("Error, Stream 2 is not a Video! Mission aborted\r\n");
        return false;
    }
    return SizeVideoStream(profile, videoStream.Get(), settings, log);
}
