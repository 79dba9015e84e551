// An encoding profile: a name and an ordered list of streams.
//
// GetStream and GetStreamByNumber hand out copies; edits reach the profile
// only through AddStream or ReconfigStream, which store copies in turn.
// Threads: one thread at a time.
#pragma once

#include <string>
#include <vector>

#include "platform/wmf/stream_config.h"

namespace wmf {

class CProfile final : public IWMProfile {
public:
    CProfile(WMT_VERSION version, std::wstring name);
    virtual ~CProfile() = default;

    // Takes over one reference of `config`.
    void AdoptStream(CStreamConfig* config) { m_streams.emplace_back(config); }

    HRESULT QueryInterface(REFIID riid, void** ppv) override;
    ZEV_COM_REFCOUNTING

    HRESULT GetVersion(WMT_VERSION* pdwVersion) override;
    HRESULT GetName(WCHAR* pwszName, DWORD* pcchName) override;
    HRESULT SetName(const WCHAR* pwszName) override;
    HRESULT GetStreamCount(DWORD* pcStreams) override;
    HRESULT GetStream(DWORD dwStreamIndex, IWMStreamConfig** ppConfig) override;
    HRESULT GetStreamByNumber(WORD wStreamNum, IWMStreamConfig** ppConfig) override;
    HRESULT RemoveStream(IWMStreamConfig* pConfig) override;
    HRESULT RemoveStreamByNumber(WORD wStreamNum) override;
    // NS_E_INVALID_STREAM for stream number 0 or one already in use.
    HRESULT AddStream(IWMStreamConfig* pConfig) override;
    HRESULT ReconfigStream(IWMStreamConfig* pConfig) override;

private:
    int IndexOfNumber(WORD number) const;
    static HRESULT HandOutCopy(IWMStreamConfig* src, IWMStreamConfig** out);

    ComRefCount m_ref;
    WMT_VERSION m_version;
    std::wstring m_name;
    std::vector<ComPtr<IWMStreamConfig>> m_streams;
};

}  // namespace wmf
