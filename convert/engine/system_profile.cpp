#include "convert/engine/system_profile.h"

#include <string>
#include <vector>

#include "convert/engine/profile_streams.h"

namespace {

constexpr DWORD kSystemProfileIndex = 0;
constexpr char kHandOverFailed[] =
    "Failed to configure filter to use desired profile!  Error=0X%08X\r\n";
constexpr char kNoCodecInfo[] =
    "Failed to find codec information! Error=0X%08X, Mission aborted!\r\n";

// The formats below come from the engines' tables, never from input.
void SendIf(const ProfileLog& log, const char* line) {
    if (line) log.send(line);
}

// Names every system profile of the version as trace lines.
void TraceSystemProfileNames(IWMProfileManager* manager, DWORD count) {
    for (DWORD i = 0; i < count; ++i) {
        ComPtr<IWMProfile> profile;
        if (FAILED(manager->LoadSystemProfile(i, profile.Put())) || !profile) continue;
        DWORD chars = 0;
        if (FAILED(profile->GetName(nullptr, &chars)) || chars == 0) continue;
        std::vector<WCHAR> name(chars, L'\0');
        if (SUCCEEDED(profile->GetName(name.data(), &chars))) Trace("%ls\r\n", name.data());
    }
}

bool LoadSystemProfile(const SystemProfileRules& rules, const ProfileLog& log,
                       IWMProfile** profile) {
    const SystemProfileWording& say = rules.wording;
    ComPtr<IWMProfileManager> manager;
    HRESULT hr = WMCreateProfileManager(manager.Put());
    if (FAILED(hr) || !manager) {
        log.send(FormatLine(say.managerFailed, Hex(hr)).c_str());
        log.send(say.managerAbort);
        return false;
    }
    auto manager2 = manager.As<IWMProfileManager2>();
    if (!manager2) {
        log.send(say.noManager2);
        return false;
    }
    WMT_VERSION version = rules.version;
    hr = manager2->SetSystemProfileVersion(version);
    if (FAILED(hr)) {
        log.send(FormatLine(say.setVersionFailed, Hex(hr)).c_str());
        SendIf(log, say.setVersionHint);
        return false;
    }
    hr = manager2->GetSystemProfileVersion(&version);
    if (FAILED(hr)) {
        const std::string line = say.readVersionNamesVersion
                                     ? FormatLine(say.readVersionFailed, version, Hex(hr))
                                     : FormatLine(say.readVersionFailed, Hex(hr));
        log.send(line.c_str());
        SendIf(log, say.readVersionHint);
        return false;
    }
    if (say.versionTrace) Trace(say.versionTrace, version);
    DWORD count = 0;
    hr = manager2->GetSystemProfileCount(&count);
    if (FAILED(hr)) {
        if (say.countFailed) {
            const std::string line = FormatLine(say.countFailed, Hex(hr));
            Trace("%s", line.c_str());
            log.send(line.c_str());
            return false;
        }
        count = 0;
    }
    if (say.countTrace) Trace(say.countTrace, static_cast<int>(count));
    if (say.traceProfileNames) TraceSystemProfileNames(manager2.Get(), count);
    hr = manager2->LoadSystemProfile(kSystemProfileIndex, profile);
    if (FAILED(hr) || !*profile) {
        log.send(
            FormatLine(say.loadFailed, static_cast<int>(kSystemProfileIndex), Hex(hr)).c_str());
        return false;
    }
    if (say.loadedTrace) Trace("%s", say.loadedTrace);
    return true;
}

DWORD ChooseCodec(IWMCodecInfo* codecInfo, DWORD codecCount, const CodecPreference& preference) {
    return ChooseVideoCodec(
        codecCount,
        [&](DWORD j, std::wstring& name) {
            if (!ReadVideoCodecName(codecInfo, j, name)) return false;
            if (preference.nameTrace) Trace(preference.nameTrace, name.c_str());
            return true;
        },
        preference);
}

bool FitProfile(const SystemProfileRules& rules, const ProfileStruc& settings,
                const ProfileLog& log, IWMProfile* profile, const ProfileHandOver& handOver) {
    ComPtr<IWMStreamConfig> videoFallback;
    if (!EmptySystemProfile(profile, log.channel, videoFallback)) return false;

    ComPtr<IWMProfileManager> manager;
    HRESULT hr = WMCreateProfileManager(manager.Put());
    auto codecInfo = manager ? manager.As<IWMCodecInfo>() : ComPtr<IWMCodecInfo>();
    if (FAILED(hr) || !codecInfo) {
        log.send(FormatLine(kNoCodecInfo, Hex(FAILED(hr) ? hr : E_NOINTERFACE)).c_str());
        return false;
    }
    if (!AddAudioStream(profile, codecInfo.Get(), settings, log.channel)) return false;

    DWORD codecs = 0;
    if (FAILED(codecInfo->GetCodecInfoCount(WMMEDIATYPE_Video, &codecs))) codecs = 0;
    const DWORD chosen = ChooseCodec(codecInfo.Get(), codecs, rules.codecs);
    ComPtr<IWMStreamConfig> video;
    if (!PickVideoFormat(codecInfo.Get(), codecs, chosen, rules.videoFormatIndex, videoFallback,
                         log.channel, video))
        return false;
    if (!AddSizedVideoStream(profile, video.Get(), settings, log.channel)) return false;

    hr = handOver(profile);
    if (FAILED(hr)) {
        log.send(FormatLine(kHandOverFailed, Hex(hr)).c_str());
        return false;
    }
    return true;
}

}  // namespace

DWORD ChooseVideoCodec(DWORD codecCount, const CodecNameReader& nameOf,
                       const CodecPreference& preference) {
    int best = preference.initialBestPosition;
    DWORD chosen = 0;
    for (DWORD j = 0; j < codecCount && best != 0; ++j) {
        std::wstring name;
        if (!nameOf(j, name)) continue;
        for (size_t k = 0; k < preference.count; ++k) {
            const wchar_t* wanted = preference.names[k];
            if (preference.compareTrace) Trace(preference.compareTrace, name.c_str(), wanted);
            if (name != wanted) continue;
            const int position = static_cast<int>(k);
            const bool better =
                preference.tie == CodecTie::TakeLatest ? position <= best : position < best;
            if (better) {
                best = position;
                chosen = j;
            }
            break;
        }
    }
    return chosen;
}

bool BuildSystemProfile(const SystemProfileRules& rules, const ProfileStruc& settings,
                        const ProfileLog& log, IWMProfile** profile,
                        const ProfileHandOver& handOver) {
    return LoadSystemProfile(rules, log, profile) &&
           FitProfile(rules, settings, log, *profile, handOver);
}
