#include "platform/wmf/codec_catalog.h"

#include <cstdio>
#include <iterator>
#include <mutex>
#include <vector>

#include "platform/media/encoder_limits.h"
#include "platform/wmf/encoder_open.h"
#include "platform/wmf/stream_config.h"

namespace wmf {
namespace {

constexpr VideoEncoderInfo kVideoCodecs[] = {
    {L"Windows Media Video V8", MEDIASUBTYPE_WMV2, MakeFourCC('W', 'M', 'V', '2'), "wmv2"},
    {L"Windows Media Video V7", MEDIASUBTYPE_WMV1, MakeFourCC('W', 'M', 'V', '1'), "wmv1"},
};
constexpr AudioEncoderInfo kAudioCodecs[] = {
    {L"Windows Media Audio V8", MEDIASUBTYPE_WMAudioV8, WAVE_FORMAT_WMAUDIO2, "wmav2"},
    {L"Windows Media Audio V7", MEDIASUBTYPE_WMAudioV7, WAVE_FORMAT_WMAUDIO1, "wmav1"},
};

struct VideoFormat {
    LONG width;
    LONG height;
    REFERENCE_TIME frameDuration;
    DWORD bitrate;
};
// Both video codecs offer the same formats; callers resize and re-rate them.
constexpr VideoFormat kVideoFormats[] = {
    {320, 240, 666666, 256000},   // 15 fps
    {320, 240, 333333, 512000},   // 30 fps
    {640, 480, 333333, 1000000},  // 30 fps
    {176, 144, 666666, 96000},    // 15 fps
};

struct AudioFormat {
    WORD channels;
    DWORD sampleRate;
    DWORD bitrate;
};
// Stereo then mono, rates and bit rates ascending. The WMA encoders need at
// least 24 kbps and at most 48 kHz and two channels.
constexpr AudioFormat kAudioFormats[] = {
    {2, 8000, 24000},   {2, 8000, 32000},   {2, 11025, 32000},  {2, 16000, 32000},
    {2, 16000, 48000},  {2, 22050, 32000},  {2, 22050, 48000},  {2, 22050, 64000},
    {2, 32000, 48000},  {2, 32000, 64000},  {2, 32000, 96000},  {2, 44100, 48000},
    {2, 44100, 64000},  {2, 44100, 96000},  {2, 44100, 128000}, {2, 44100, 160000},
    {2, 44100, 192000}, {2, 48000, 64000},  {2, 48000, 96000},  {2, 48000, 128000},
    {2, 48000, 160000}, {2, 48000, 192000}, {2, 48000, 256000}, {1, 8000, 24000},
    {1, 11025, 24000},  {1, 11025, 32000},  {1, 16000, 24000},  {1, 16000, 32000},
    {1, 22050, 32000},  {1, 22050, 48000},  {1, 32000, 32000},  {1, 32000, 48000},
    {1, 44100, 32000},  {1, 44100, 48000},  {1, 44100, 64000},  {1, 48000, 48000},
    {1, 48000, 64000},
};

constexpr DWORD kVideoCodecCount = std::size(kVideoCodecs);
constexpr DWORD kAudioCodecCount = std::size(kAudioCodecs);
constexpr DWORD kVideoFormatCount = std::size(kVideoFormats);
constexpr DWORD kAudioFormatCount = std::size(kAudioFormats);

constexpr LONG kMinFrameSide = kWmvMinFrameSide;
constexpr LONG kMaxFrameSide = kWmvMaxFrameSide;
constexpr REFERENCE_TIME kMinFrameDuration = kUnitsPerSecond / kWmvMaxFramesPerSecond;
constexpr REFERENCE_TIME kMaxFrameDuration = kUnitsPerSecond / kWmvMinFramesPerSecond;
constexpr DWORD kMinVideoBitrate = kWmvMinVideoBitrate;
constexpr DWORD kMaxVideoBitrate = kWmvMaxVideoBitrate;
constexpr unsigned kMinAudioBitrate = 24000;
constexpr unsigned kMaxAudioBitrate = 320000;
constexpr unsigned kMinSampleRate = 8000;
constexpr unsigned kMaxSampleRate = 48000;

// What an opened encoder reports for a format: its packet size and the
// codec data that belongs after the WAVEFORMATEX.
struct AudioEncoderFacts {
    bool ok = false;
    WORD blockAlign = 0;
    std::vector<BYTE> extra;
};

const AudioEncoderFacts& FactsFor(DWORD codec, DWORD format) {
    static std::once_flag once;
    static std::vector<AudioEncoderFacts> facts;
    std::call_once(once, [] {
        facts.resize(kAudioCodecCount * kAudioFormatCount);
        for (DWORD c = 0; c < kAudioCodecCount; ++c)
            for (DWORD f = 0; f < kAudioFormatCount; ++f) {
                const AudioFormat& af = kAudioFormats[f];
                CodecContextPtr enc = OpenAudioEncoder(kAudioCodecs[c].ffmpegName, af.channels,
                                                       af.sampleRate, af.bitrate);
                if (!enc) continue;
                AudioEncoderFacts& out = facts[c * kAudioFormatCount + f];
                out.ok = true;
                out.blockAlign = static_cast<WORD>(enc->block_align);
                if (enc->extradata && enc->extradata_size > 0)
                    out.extra.assign(enc->extradata, enc->extradata + enc->extradata_size);
            }
    });
    return facts[codec * kAudioFormatCount + format];
}

bool InRange(const GUID& mediaType, DWORD codec, DWORD format) {
    if (mediaType == WMMEDIATYPE_Video)
        return codec < kVideoCodecCount && format < kVideoFormatCount;
    if (mediaType == WMMEDIATYPE_Audio)
        return codec < kAudioCodecCount && format < kAudioFormatCount;
    return false;
}

CStreamConfig* MakeVideoConfig(DWORD codec, DWORD format) {
    const VideoEncoderInfo& enc = kVideoCodecs[codec];
    const VideoFormat& vf = kVideoFormats[format];
    VIDEOINFOHEADER vih{};
    vih.rcSource = RECT{0, 0, vf.width, vf.height};
    vih.rcTarget = vih.rcSource;
    vih.dwBitRate = vf.bitrate;
    vih.AvgTimePerFrame = vf.frameDuration;
    vih.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    vih.bmiHeader.biWidth = vf.width;
    vih.bmiHeader.biHeight = vf.height;
    vih.bmiHeader.biPlanes = 1;
    vih.bmiHeader.biBitCount = 24;
    vih.bmiHeader.biCompression = enc.fourcc;
    return new CStreamConfig(WMMEDIATYPE_Video, MakeVideoType(enc.subtype, vih, 0), vf.bitrate);
}

CStreamConfig* MakeAudioConfig(DWORD codec, DWORD format) {
    const AudioEncoderFacts& facts = FactsFor(codec, format);
    if (!facts.ok) return nullptr;
    const AudioEncoderInfo& enc = kAudioCodecs[codec];
    const AudioFormat& af = kAudioFormats[format];
    WAVEFORMATEX wfx{};
    wfx.wFormatTag = enc.formatTag;
    wfx.nChannels = af.channels;
    wfx.nSamplesPerSec = af.sampleRate;
    wfx.nAvgBytesPerSec = af.bitrate / 8;
    wfx.nBlockAlign = facts.blockAlign;
    wfx.wBitsPerSample = 16;  // the precision the codec was fed at
    return new CStreamConfig(WMMEDIATYPE_Audio, MakeAudioType(enc.subtype, wfx, facts.extra),
                             af.bitrate);
}

}  // namespace

const VideoEncoderInfo* FindVideoEncoder(const GUID& subtype) {
    for (const auto& c : kVideoCodecs)
        if (c.subtype == subtype) return &c;
    return nullptr;
}

const AudioEncoderInfo* FindAudioEncoder(const GUID& subtype) {
    for (const auto& c : kAudioCodecs)
        if (c.subtype == subtype) return &c;
    return nullptr;
}

bool IsValidEncodedFrameSize(LONG width, LONG height) {
    // The WMV encoders work on 4:2:0 frames: both sides even.
    return width >= kMinFrameSide && width <= kMaxFrameSide && height >= kMinFrameSide &&
           height <= kMaxFrameSide && width % 2 == 0 && height % 2 == 0;
}

bool IsValidFrameDuration(REFERENCE_TIME avgTimePerFrame) {
    return avgTimePerFrame >= kMinFrameDuration && avgTimePerFrame <= kMaxFrameDuration;
}

bool IsValidVideoBitrate(DWORD bitsPerSecond) {
    return bitsPerSecond >= kMinVideoBitrate && bitsPerSecond <= kMaxVideoBitrate;
}

bool IsEncodableAudio(unsigned channels, unsigned sampleRate, uint64_t bitsPerSecond) {
    return (channels == 1 || channels == 2) && sampleRate >= kMinSampleRate &&
           sampleRate <= kMaxSampleRate && bitsPerSecond >= kMinAudioBitrate &&
           bitsPerSecond <= kMaxAudioBitrate;
}

DWORD CodecCount(const GUID& mediaType) {
    if (mediaType == WMMEDIATYPE_Video) return kVideoCodecCount;
    if (mediaType == WMMEDIATYPE_Audio) return kAudioCodecCount;
    return 0;
}

HRESULT FormatCount(const GUID& mediaType, DWORD codec, DWORD* count) {
    if (!count) return E_POINTER;
    if (!InRange(mediaType, codec, 0)) return E_INVALIDARG;
    *count = mediaType == WMMEDIATYPE_Video ? kVideoFormatCount : kAudioFormatCount;
    return S_OK;
}

HRESULT CodecName(const GUID& mediaType, DWORD codec, std::wstring* name) {
    if (!InRange(mediaType, codec, 0)) return E_INVALIDARG;
    *name = mediaType == WMMEDIATYPE_Video ? kVideoCodecs[codec].name : kAudioCodecs[codec].name;
    return S_OK;
}

HRESULT FormatDescription(const GUID& mediaType, DWORD codec, DWORD format, std::wstring* text) {
    if (!InRange(mediaType, codec, format)) return E_INVALIDARG;
    wchar_t buf[96];
    if (mediaType == WMMEDIATYPE_Video) {
        const VideoFormat& vf = kVideoFormats[format];
        std::swprintf(buf, std::size(buf), L"%ldx%ld, %.2f fps, %lu Kbps", long{vf.width},
                      long{vf.height}, 1e7 / static_cast<double>(vf.frameDuration),
                      static_cast<unsigned long>(vf.bitrate / 1000));
    } else {
        const AudioFormat& af = kAudioFormats[format];
        std::swprintf(buf, std::size(buf), L"%lu kbps, %lu kHz, %ls",
                      static_cast<unsigned long>(af.bitrate / 1000),
                      static_cast<unsigned long>(af.sampleRate / 1000),
                      af.channels == 1 ? L"mono" : L"stereo");
    }
    *text = buf;
    return S_OK;
}

HRESULT MakeCodecFormat(const GUID& mediaType, DWORD codec, DWORD format, CStreamConfig** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!InRange(mediaType, codec, format)) return E_INVALIDARG;
    *out = mediaType == WMMEDIATYPE_Video ? MakeVideoConfig(codec, format)
                                          : MakeAudioConfig(codec, format);
    return *out ? S_OK : E_FAIL;
}

}  // namespace wmf
