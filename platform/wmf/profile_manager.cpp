#include "platform/wmf/profile_manager.h"

#include "platform/wmf/codec_catalog.h"
#include "platform/wmf/profile.h"
#include "platform/wmf/stream_config.h"
#include "platform/wmf/system_profiles.h"
#include "platform/wmf/wide_text.h"

namespace wmf {

HRESULT CProfileManager::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (riid == IID_IUnknown || riid == IID_IWMProfileManager || riid == IID_IWMProfileManager2)
        return ComAnswer<IWMProfileManager2>(this, ppv);
    if (riid == IID_IWMCodecInfo || riid == IID_IWMCodecInfo2)
        return ComAnswer<IWMCodecInfo2>(this, ppv);
    return E_NOINTERFACE;
}

HRESULT CProfileManager::GetSystemProfileCount(DWORD* pcProfiles) {
    if (!pcProfiles) return E_POINTER;
    *pcProfiles = SystemProfileCount(m_version);
    return S_OK;
}

HRESULT CProfileManager::LoadSystemProfile(DWORD dwProfileIndex, IWMProfile** ppProfile) {
    if (!ppProfile) return E_POINTER;
    *ppProfile = nullptr;
    CProfile* profile = nullptr;
    HRESULT hr = MakeSystemProfile(m_version, dwProfileIndex, &profile);
    if (FAILED(hr)) return hr;
    *ppProfile = profile;
    return S_OK;
}

HRESULT CProfileManager::GetSystemProfileVersion(WMT_VERSION* pdwVersion) {
    if (!pdwVersion) return E_POINTER;
    *pdwVersion = m_version;
    return S_OK;
}

HRESULT CProfileManager::SetSystemProfileVersion(WMT_VERSION dwVersion) {
    if (SystemProfileCount(dwVersion) == 0) return E_INVALIDARG;
    m_version = dwVersion;
    return S_OK;
}

HRESULT CProfileManager::GetCodecInfoCount(REFGUID guidType, DWORD* pcCodecs) {
    if (!pcCodecs) return E_POINTER;
    if (guidType != WMMEDIATYPE_Video && guidType != WMMEDIATYPE_Audio) return E_INVALIDARG;
    *pcCodecs = CodecCount(guidType);
    return S_OK;
}

HRESULT CProfileManager::GetCodecFormatCount(REFGUID guidType, DWORD dwCodecIndex,
                                             DWORD* pcFormat) {
    return FormatCount(guidType, dwCodecIndex, pcFormat);
}

HRESULT CProfileManager::GetCodecFormat(REFGUID guidType, DWORD dwCodecIndex, DWORD dwFormatIndex,
                                        IWMStreamConfig** ppIStreamConfig) {
    if (!ppIStreamConfig) return E_POINTER;
    *ppIStreamConfig = nullptr;
    CStreamConfig* config = nullptr;
    HRESULT hr = MakeCodecFormat(guidType, dwCodecIndex, dwFormatIndex, &config);
    if (FAILED(hr)) return hr;
    *ppIStreamConfig = config;
    return S_OK;
}

HRESULT CProfileManager::GetCodecName(REFGUID guidType, DWORD dwCodecIndex, WCHAR* wszName,
                                      DWORD* pcchName) {
    std::wstring name;
    HRESULT hr = CodecName(guidType, dwCodecIndex, &name);
    if (FAILED(hr)) return hr;
    return CopyOutText(name, wszName, pcchName);
}

HRESULT CProfileManager::GetCodecFormatDesc(REFGUID guidType, DWORD dwCodecIndex,
                                            DWORD dwFormatIndex, IWMStreamConfig** ppIStreamConfig,
                                            WCHAR* wszDesc, DWORD* pcchDesc) {
    std::wstring text;
    HRESULT hr = FormatDescription(guidType, dwCodecIndex, dwFormatIndex, &text);
    if (FAILED(hr)) return hr;
    hr = CopyOutText(text, wszDesc, pcchDesc);
    if (FAILED(hr) || !ppIStreamConfig) return hr;
    return GetCodecFormat(guidType, dwCodecIndex, dwFormatIndex, ppIStreamConfig);
}

}  // namespace wmf
