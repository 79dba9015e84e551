// The profile manager: system profiles by version, and codec information
// (IWMCodecInfo, IWMCodecInfo2) over the fixed codec catalogue.
//
// Threads: one thread at a time per object; objects are independent.
#pragma once

#include "platform/wmf/wmsdk.h"

namespace wmf {

class CProfileManager final : public IWMProfileManager2, public IWMCodecInfo2 {
public:
    CProfileManager() = default;
    virtual ~CProfileManager() = default;

    HRESULT QueryInterface(REFIID riid, void** ppv) override;
    ZEV_COM_REFCOUNTING

    // IWMProfileManager / IWMProfileManager2
    HRESULT GetSystemProfileCount(DWORD* pcProfiles) override;
    HRESULT LoadSystemProfile(DWORD dwProfileIndex, IWMProfile** ppProfile) override;
    HRESULT GetSystemProfileVersion(WMT_VERSION* pdwVersion) override;
    // Versions 7.0 and 8.0 have system profiles; others give E_INVALIDARG.
    HRESULT SetSystemProfileVersion(WMT_VERSION dwVersion) override;

    // IWMCodecInfo / IWMCodecInfo2
    HRESULT GetCodecInfoCount(REFGUID guidType, DWORD* pcCodecs) override;
    HRESULT GetCodecFormatCount(REFGUID guidType, DWORD dwCodecIndex, DWORD* pcFormat) override;
    HRESULT GetCodecFormat(REFGUID guidType, DWORD dwCodecIndex, DWORD dwFormatIndex,
                           IWMStreamConfig** ppIStreamConfig) override;
    HRESULT GetCodecName(REFGUID guidType, DWORD dwCodecIndex, WCHAR* wszName,
                         DWORD* pcchName) override;
    HRESULT GetCodecFormatDesc(REFGUID guidType, DWORD dwCodecIndex, DWORD dwFormatIndex,
                               IWMStreamConfig** ppIStreamConfig, WCHAR* wszDesc,
                               DWORD* pcchDesc) override;

private:
    ComRefCount m_ref;
    WMT_VERSION m_version = WMT_VER_8_0;
};

}  // namespace wmf
