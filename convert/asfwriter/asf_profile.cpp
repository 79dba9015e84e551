#include "convert/asfwriter/asf_profile.h"

#include <cstdio>

#include "convert/common/profile_streams.h"

namespace {

constexpr DWORD kSystemProfileIndex = 0;
constexpr DWORD kVideoFormatIndex = 0;
constexpr int kInitialBestPosition = 2;

bool LoadSystemProfile(CConvertor& c) {
    const EchoLog& log = c.m_log;
    ComPtr<IWMProfileManager> manager;
    HRESULT hr = WMCreateProfileManager(manager.Put());
    if (FAILED(hr) || !manager) {
        log.Printf("Failed to create profile manager!  Error=0x%x\n", Hex(hr));
        log.Send("Failed to create profile manager, mission aborted!");
        return false;
    }
    auto manager2 = manager.As<IWMProfileManager2>();
    if (!manager2) {
        log.Send("Failed to find IWMProfileManager2!\n");
        return false;
    }
    WMT_VERSION version = WMT_VER_7_0;
    hr = manager2->SetSystemProfileVersion(version);
    if (FAILED(hr)) {
        log.Printf("Failed to set system profile version!  Error=0x%x\n", Hex(hr));
        log.Send("Failed to load system profile, ensure you have the latest Windows Media Player!");
        return false;
    }
    hr = manager2->GetSystemProfileVersion(&version);
    if (FAILED(hr)) {
        log.Printf("Failed to read system profile version %08X!  Error=0x%x\n", version, Hex(hr));
        return false;
    }
    std::printf("System profile version is 0X%08X\r\n", version);
    DWORD count = 0;
    manager2->GetSystemProfileCount(&count);
    std::printf("System profile have %d profiles\r\n", static_cast<int>(count));
    hr = manager2->LoadSystemProfile(kSystemProfileIndex, &c.m_pProfile);
    if (FAILED(hr) || !c.m_pProfile) {
        log.Printf("Failed to load system profile %d,  Error=0x%x\n",
                   static_cast<int>(kSystemProfileIndex), Hex(hr));
        return false;
    }
    std::printf("Load system profile 0\r\n");
    return true;
}

bool CustomiseProfile(CConvertor& c, const ProfileStruc& profile) {
    const LogChannel& log = c.m_log.Channel();
    ComPtr<IWMStreamConfig> videoFallback;
    if (!EmptySystemProfile(c.m_pProfile, log, videoFallback)) return false;

    ComPtr<IWMProfileManager> manager;
    HRESULT hr = WMCreateProfileManager(manager.Put());
    auto codecInfo = manager ? manager.As<IWMCodecInfo>() : ComPtr<IWMCodecInfo>();
    if (FAILED(hr) || !codecInfo) {
        c.m_log.Printf("Failed to find codec information! Error=0X%08X, Mission aborted!\r\n",
                       Hex(FAILED(hr) ? hr : E_NOINTERFACE));
        return false;
    }
    if (!AddAudioStream(c.m_pProfile, codecInfo.Get(), profile, log)) return false;

    DWORD codecs = 0;
    if (FAILED(codecInfo->GetCodecInfoCount(WMMEDIATYPE_Video, &codecs))) codecs = 0;
    const DWORD chosen = ChooseAsfVideoCodec(codecs, [&](DWORD j, std::wstring& name) {
        return ReadVideoCodecName(codecInfo.Get(), j, name);
    });
    ComPtr<IWMStreamConfig> video;
    if (!PickVideoFormat(codecInfo.Get(), codecs, chosen, kVideoFormatIndex, videoFallback, log,
                         video))
        return false;
    if (!AddSizedVideoStream(c.m_pProfile, video.Get(), profile, log)) return false;

    hr = c.m_pConfig->ConfigureFilterUsingProfile(c.m_pProfile);
    if (FAILED(hr)) {
        c.m_log.Printf("Failed to configure filter to use desired profile!  Error=0X%08X\r\n",
                       Hex(hr));
        return false;
    }
    return true;
}

}  // namespace

DWORD ChooseAsfVideoCodec(DWORD codecCount, const CodecNameSource& nameOf) {
    int best = kInitialBestPosition;
    DWORD chosen = 0;
    for (DWORD j = 0; j < codecCount && best != 0; ++j) {
        std::wstring name;
        if (!nameOf(j, name)) continue;
        int k = 0;
        for (const wchar_t* wanted : kAsfVideoCodecPreference) {
            std::printf("Get name is %ls, Sys Name is %ls\r\n", name.c_str(), wanted);
            if (name == wanted) {
                if (k <= best) {
                    best = k;
                    chosen = j;
                }
                break;
            }
            ++k;
        }
    }
    return chosen;
}

bool BuildAsfWriterProfile(CConvertor& c, const ProfileStruc& profile) {
    return LoadSystemProfile(c) && CustomiseProfile(c, profile);
}
