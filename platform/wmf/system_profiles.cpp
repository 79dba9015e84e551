#include "platform/wmf/system_profiles.h"

#include <iterator>

#include "platform/wmf/codec_catalog.h"
#include "platform/wmf/profile.h"

namespace wmf {
namespace {

constexpr DWORD kNoStream = ~DWORD{0};

struct ProfileSpec {
    const wchar_t* name;
    DWORD audioFormat;  // format of the V8 audio codec, or kNoStream
    DWORD videoFormat;  // format of the version's video codec, or kNoStream
};

// Every profile with video has audio as stream 1 and video as stream 2.
constexpr ProfileSpec kProfiles[] = {
    {L"Video for broadband (audio 64 Kbps stereo, video 512 Kbps)", 12, 1},
    {L"Video for LAN (audio 128 Kbps stereo, video 1 Mbps)", 14, 2},
    {L"Video for dial-up modems (audio 24 Kbps mono, video 96 Kbps)", 26, 3},
    {L"Audio for CD quality (128 Kbps stereo)", 14, kNoStream},
};

HRESULT AddFormat(CProfile* profile, const GUID& type, DWORD codec, DWORD format, WORD number) {
    CStreamConfig* config = nullptr;
    HRESULT hr = MakeCodecFormat(type, codec, format, &config);
    if (FAILED(hr)) return hr;
    config->SetStreamNumber(number);
    profile->AdoptStream(config);
    return S_OK;
}

}  // namespace

DWORD SystemProfileCount(WMT_VERSION version) {
    return version == WMT_VER_7_0 || version == WMT_VER_8_0 ? std::size(kProfiles) : 0;
}

HRESULT MakeSystemProfile(WMT_VERSION version, DWORD index, CProfile** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (index >= SystemProfileCount(version)) return E_INVALIDARG;
    const ProfileSpec& spec = kProfiles[index];
    // Version 7.0 profiles use the codecs that version shipped with.
    const DWORD videoCodec = version == WMT_VER_7_0 ? kVideoCodecV7 : kVideoCodecV8;
    auto* profile = new CProfile(version, spec.name);
    WORD number = 1;
    HRESULT hr = S_OK;
    if (spec.audioFormat != kNoStream)
        hr = AddFormat(profile, WMMEDIATYPE_Audio, kAudioCodecV8, spec.audioFormat, number++);
    if (SUCCEEDED(hr) && spec.videoFormat != kNoStream)
        hr = AddFormat(profile, WMMEDIATYPE_Video, videoCodec, spec.videoFormat, number++);
    if (FAILED(hr)) {
        profile->Release();
        return hr;
    }
    *out = profile;
    return S_OK;
}

}  // namespace wmf
