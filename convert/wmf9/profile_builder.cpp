#include "convert/wmf9/profile_builder.h"

#include <vector>

#include "convert/common/profile_streams.h"
#include "convert/wmf9/codec_choice.h"

namespace {

constexpr DWORD kSystemProfileIndex = 0;
constexpr DWORD kVideoFormatIndex = 2;
constexpr char kInstallHint[] =
    "Failed to load system profile, please install Windows Media Player 9 or above!\r\n";

template <class T>
T** Out(ComPtr<T>& p) {
    return p.Put();
}

// Names every system profile of the version as trace lines.
void TraceSystemProfileNames(IWMProfileManager* manager, DWORD count) {
    for (DWORD i = 0; i < count; ++i) {
        ComPtr<IWMProfile> profile;
        if (FAILED(manager->LoadSystemProfile(i, Out(profile))) || !profile) continue;
        DWORD chars = 0;
        if (FAILED(profile->GetName(nullptr, &chars)) || chars == 0) continue;
        std::vector<WCHAR> name(chars, L'\0');
        if (SUCCEEDED(profile->GetName(name.data(), &chars))) Trace("%ls\r\n", name.data());
    }
}

bool LoadSystemProfile(CConvertor& c) {
    const LogChannel& log = c.m_log;
    ComPtr<IWMProfileManager> manager;
    HRESULT hr = WMCreateProfileManager(Out(manager));
    if (FAILED(hr) || !manager) {
        log.Printf("Failed to create profile manager!  Error=0x%x\r\n", Hex(hr));
        log.Send("Failed to create profile manager, mission aborted!\r\n");
        return false;
    }
    auto manager2 = manager.As<IWMProfileManager2>();
    if (!manager2) {
        log.Send("Failed to find IWMProfileManager2!\r\n");
        return false;
    }
    WMT_VERSION version = WMT_VER_8_0;
    hr = manager2->SetSystemProfileVersion(version);
    if (FAILED(hr)) {
        log.Printf("Failed to set system profile version!  Error=0X%08X, Mission Aborted!\r\n",
                   Hex(hr));
        log.Send(kInstallHint);
        return false;
    }
    hr = manager2->GetSystemProfileVersion(&version);
    if (FAILED(hr)) {
        log.Printf("Failed to read system profile version 8!  Error=0X%08X, Mission Aborted!\r\n",
                   Hex(hr));
        log.Send(kInstallHint);
        return false;
    }
    DWORD count = 0;
    hr = manager2->GetSystemProfileCount(&count);
    if (FAILED(hr)) {
        log.PrintfTraced("Failed to get system profile count! Error=0X%08X, Mission abort\r\n",
                         Hex(hr));
        return false;
    }
    TraceSystemProfileNames(manager2.Get(), count);
    hr = manager2->LoadSystemProfile(kSystemProfileIndex, &c.m_pProfile);
    if (FAILED(hr) || !c.m_pProfile) {
        log.Printf("Failed to load system profile %d,  Error=0X%08X\r\n, Mission Aborted!",
                   static_cast<int>(kSystemProfileIndex), Hex(hr));
        return false;
    }
    return true;
}

// The chosen video codec's format, or the system profile's own video stream
// when the runtime lists no video codec.
bool PickVideoConfig(CConvertor& c, IWMCodecInfo* codecInfo, ComPtr<IWMStreamConfig>& fallback,
                     ComPtr<IWMStreamConfig>& video) {
    DWORD codecs = 0;
    if (FAILED(codecInfo->GetCodecInfoCount(WMMEDIATYPE_Video, &codecs))) codecs = 0;
    DWORD chosen = 0;
    if (codecs > 0) {
        chosen = ChooseVideoCodec(codecs, [&](DWORD j, std::wstring& name) {
            if (!ReadVideoCodecName(codecInfo, j, name)) return false;
            Trace("codec name is %ls\r\n", name.c_str());
            return true;
        });
    }
    return PickVideoFormat(codecInfo, codecs, chosen, kVideoFormatIndex, fallback, c.m_log, video);
}

bool CustomiseProfile(CConvertor& c, const ProfileStruc& profile) {
    ComPtr<IWMStreamConfig> videoFallback;
    if (!EmptySystemProfile(c.m_pProfile, c.m_log, videoFallback)) return false;

    ComPtr<IWMProfileManager> manager;
    HRESULT hr = WMCreateProfileManager(Out(manager));
    auto codecInfo = manager ? manager.As<IWMCodecInfo>() : ComPtr<IWMCodecInfo>();
    if (FAILED(hr) || !codecInfo) {
        c.m_log.Printf("Failed to find codec information! Error=0X%08X, Mission aborted!\r\n",
                       Hex(FAILED(hr) ? hr : E_NOINTERFACE));
        return false;
    }
    if (!AddAudioStream(c.m_pProfile, codecInfo.Get(), profile, c.m_log)) return false;
    ComPtr<IWMStreamConfig> video;
    if (!PickVideoConfig(c, codecInfo.Get(), videoFallback, video)) return false;
    if (!AddSizedVideoStream(c.m_pProfile, video.Get(), profile, c.m_log)) return false;

    hr = c.m_pWriter->SetProfile(c.m_pProfile);
    if (FAILED(hr)) {
        c.m_log.Printf("Failed to configure filter to use desired profile!  Error=0X%08X\r\n",
                       Hex(hr));
        return false;
    }
    return true;
}

}  // namespace

bool BuildEncodingProfile(CConvertor& c, const ProfileStruc& profile) {
    return LoadSystemProfile(c) && CustomiseProfile(c, profile);
}
