#include "platform/wmf/profile.h"

#include "platform/wmf/wide_text.h"

namespace wmf {

CProfile::CProfile(WMT_VERSION version, std::wstring name)
    : m_version(version), m_name(std::move(name)) {}

HRESULT CProfile::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (riid == IID_IUnknown || riid == IID_IWMProfile) return ComAnswer<IWMProfile>(this, ppv);
    return E_NOINTERFACE;
}

HRESULT CProfile::GetVersion(WMT_VERSION* pdwVersion) {
    if (!pdwVersion) return E_POINTER;
    *pdwVersion = m_version;
    return S_OK;
}

HRESULT CProfile::GetName(WCHAR* pwszName, DWORD* pcchName) {
    return CopyOutText(m_name, pwszName, pcchName);
}

HRESULT CProfile::SetName(const WCHAR* pwszName) {
    if (!pwszName) return E_POINTER;
    m_name = pwszName;
    return S_OK;
}

HRESULT CProfile::GetStreamCount(DWORD* pcStreams) {
    if (!pcStreams) return E_POINTER;
    *pcStreams = static_cast<DWORD>(m_streams.size());
    return S_OK;
}

HRESULT CProfile::HandOutCopy(IWMStreamConfig* src, IWMStreamConfig** out) {
    CStreamConfig* copy = nullptr;
    HRESULT hr = CStreamConfig::CopyFrom(src, &copy);
    if (FAILED(hr)) return hr;
    *out = copy;
    return S_OK;
}

HRESULT CProfile::GetStream(DWORD dwStreamIndex, IWMStreamConfig** ppConfig) {
    if (!ppConfig) return E_POINTER;
    *ppConfig = nullptr;
    if (dwStreamIndex >= m_streams.size()) return E_INVALIDARG;
    return HandOutCopy(m_streams[dwStreamIndex].Get(), ppConfig);
}

HRESULT CProfile::GetStreamByNumber(WORD wStreamNum, IWMStreamConfig** ppConfig) {
    if (!ppConfig) return E_POINTER;
    *ppConfig = nullptr;
    const int i = IndexOfNumber(wStreamNum);
    if (i < 0) return NS_E_INVALID_STREAM;
    return HandOutCopy(m_streams[i].Get(), ppConfig);
}

int CProfile::IndexOfNumber(WORD number) const {
    for (size_t i = 0; i < m_streams.size(); ++i) {
        WORD n = 0;
        if (SUCCEEDED(m_streams[i]->GetStreamNumber(&n)) && n == number) return static_cast<int>(i);
    }
    return -1;
}

HRESULT CProfile::RemoveStream(IWMStreamConfig* pConfig) {
    if (!pConfig) return E_POINTER;
    WORD n = 0;
    HRESULT hr = pConfig->GetStreamNumber(&n);
    if (FAILED(hr)) return hr;
    return RemoveStreamByNumber(n);
}

HRESULT CProfile::RemoveStreamByNumber(WORD wStreamNum) {
    const int i = IndexOfNumber(wStreamNum);
    if (i < 0 || wStreamNum == 0) return NS_E_INVALID_STREAM;
    m_streams.erase(m_streams.begin() + i);
    return S_OK;
}

HRESULT CProfile::AddStream(IWMStreamConfig* pConfig) {
    if (!pConfig) return E_POINTER;
    WORD n = 0;
    HRESULT hr = pConfig->GetStreamNumber(&n);
    if (FAILED(hr)) return hr;
    if (n == 0 || IndexOfNumber(n) >= 0) return NS_E_INVALID_STREAM;
    CStreamConfig* copy = nullptr;
    hr = CStreamConfig::CopyFrom(pConfig, &copy);
    if (FAILED(hr)) return hr;
    m_streams.emplace_back(copy);
    return S_OK;
}

HRESULT CProfile::ReconfigStream(IWMStreamConfig* pConfig) {
    if (!pConfig) return E_POINTER;
    WORD n = 0;
    HRESULT hr = pConfig->GetStreamNumber(&n);
    if (FAILED(hr)) return hr;
    const int i = IndexOfNumber(n);
    if (i < 0 || n == 0) return NS_E_INVALID_STREAM;
    CStreamConfig* copy = nullptr;
    hr = CStreamConfig::CopyFrom(pConfig, &copy);
    if (FAILED(hr)) return hr;
    m_streams[i] = ComPtr<IWMStreamConfig>(copy);
    return S_OK;
}

}  // namespace wmf
