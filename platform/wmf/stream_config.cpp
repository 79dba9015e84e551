#include "platform/wmf/stream_config.h"

#include <vector>

#include "platform/wmf/codec_catalog.h"
#include "platform/wmf/media_type_reader.h"
#include "platform/wmf/wide_text.h"

namespace wmf {
namespace {
constexpr DWORD kDefaultBufferWindowMs = 3000;
constexpr WORD kMaxNameChars = 256;

bool IsValidVideoOutput(const WM_MEDIA_TYPE& mt) {
    const VIDEOINFOHEADER* vih = VideoInfoOf(mt);
    if (!vih || !FindVideoEncoder(mt.subtype)) return false;
    const LONG w = vih->bmiHeader.biWidth;
    const LONG h = vih->bmiHeader.biHeight < 0 ? -vih->bmiHeader.biHeight : vih->bmiHeader.biHeight;
    if (!IsValidEncodedFrameSize(w, h)) return false;
    // A target rectangle, when given, must describe the same frame.
    const RECT& t = vih->rcTarget;
    if ((t.right - t.left != 0 || t.bottom - t.top != 0) &&
        (t.right - t.left != w || t.bottom - t.top != h))
        return false;
    return IsValidFrameDuration(vih->AvgTimePerFrame) && IsValidVideoBitrate(vih->dwBitRate);
}

bool IsValidAudioOutput(const WM_MEDIA_TYPE& mt) {
    const WAVEFORMATEX* wfx = WaveFormatOf(mt);
    if (!wfx || !FindAudioEncoder(mt.subtype) || mt.subtype != FourCCGuid(wfx->wFormatTag))
        return false;
    return IsEncodableAudio(wfx->nChannels, wfx->nSamplesPerSec, wfx->nAvgBytesPerSec * 8ull);
}
}  // namespace

bool IsValidOutputType(const GUID& streamType, const WM_MEDIA_TYPE& mt) {
    if (mt.majortype != streamType) return false;
    if (streamType == WMMEDIATYPE_Video) return IsValidVideoOutput(mt);
    if (streamType == WMMEDIATYPE_Audio) return IsValidAudioOutput(mt);
    return false;
}

CStreamConfig::CStreamConfig(const GUID& streamType, MediaTypeValue type, DWORD bitrate)
    : m_streamType(streamType),
      m_type(std::move(type)),
      m_bitrate(bitrate),
      m_bufferWindowMs(kDefaultBufferWindowMs) {
    const bool video = streamType == WMMEDIATYPE_Video;
    m_name = video ? L"Video Stream" : L"Audio Stream";
    m_connection = video ? L"Video" : L"Audio";
}

HRESULT CStreamConfig::CopyFrom(IWMStreamConfig* src, CStreamConfig** out) {
    if (!src || !out) return E_POINTER;
    *out = nullptr;
    GUID type{};
    HRESULT hr = src->GetStreamType(&type);
    if (FAILED(hr)) return hr;
    ComPtr<IWMMediaProps> props;
    hr = src->QueryInterface(IID_IWMMediaProps, reinterpret_cast<void**>(props.Put()));
    if (FAILED(hr) || !props) return NS_E_INVALID_STREAM;
    CMediaTypeReader reader(props.Get());
    if (reader.Result() == E_UNEXPECTED) return NS_E_INVALID_STREAM;
    if (FAILED(reader.Result())) return reader.Result();
    const WM_MEDIA_TYPE* mt = reader.Type();
    DWORD bitrate = 0, window = 0;
    WORD number = 0;
    src->GetBitrate(&bitrate);
    src->GetBufferWindow(&window);
    src->GetStreamNumber(&number);

    auto* copy = new CStreamConfig(type, MediaTypeValue(*mt), bitrate);
    copy->m_bufferWindowMs = window;
    copy->m_streamNumber = number;
    WCHAR name[kMaxNameChars + 1] = {};
    WORD cch = kMaxNameChars;
    if (SUCCEEDED(src->GetStreamName(name, &cch))) copy->m_name = name;
    cch = kMaxNameChars;
    if (SUCCEEDED(src->GetConnectionName(name, &cch))) copy->m_connection = name;
    *out = copy;
    return S_OK;
}

HRESULT CStreamConfig::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (riid == IID_IUnknown || riid == IID_IWMStreamConfig)
        return ComAnswer<IWMStreamConfig>(this, ppv);
    if (riid == IID_IWMMediaProps) return ComAnswer<IWMMediaProps>(this, ppv);
    return E_NOINTERFACE;
}

HRESULT CStreamConfig::GetStreamType(GUID* pguidStreamType) {
    if (!pguidStreamType) return E_POINTER;
    *pguidStreamType = m_streamType;
    return S_OK;
}

HRESULT CStreamConfig::GetStreamNumber(WORD* pwStreamNum) {
    if (!pwStreamNum) return E_POINTER;
    *pwStreamNum = m_streamNumber;
    return S_OK;
}

HRESULT CStreamConfig::SetStreamNumber(WORD wStreamNum) {
    // ASF stream numbers are 7 bits; 0 is not a stream.
    constexpr WORD kMaxStreamNumber = 63;
    if (wStreamNum == 0 || wStreamNum > kMaxStreamNumber) return E_INVALIDARG;
    m_streamNumber = wStreamNum;
    return S_OK;
}

HRESULT CStreamConfig::GetStreamName(WCHAR* pwszStreamName, WORD* pcchStreamName) {
    return CopyOutText(m_name, pwszStreamName, pcchStreamName);
}

HRESULT CStreamConfig::SetStreamName(const WCHAR* pwszStreamName) {
    if (!pwszStreamName) return E_POINTER;
    std::wstring name(pwszStreamName);
    if (name.size() > kMaxNameChars) return E_INVALIDARG;
    m_name = std::move(name);
    return S_OK;
}

HRESULT CStreamConfig::GetConnectionName(WCHAR* pwszInputName, WORD* pcchInputName) {
    return CopyOutText(m_connection, pwszInputName, pcchInputName);
}

HRESULT CStreamConfig::SetConnectionName(const WCHAR* pwszInputName) {
    if (!pwszInputName) return E_POINTER;
    std::wstring name(pwszInputName);
    if (name.size() > kMaxNameChars) return E_INVALIDARG;
    m_connection = std::move(name);
    return S_OK;
}

HRESULT CStreamConfig::GetBitrate(DWORD* pdwBitrate) {
    if (!pdwBitrate) return E_POINTER;
    *pdwBitrate = m_bitrate;
    return S_OK;
}

HRESULT CStreamConfig::SetBitrate(DWORD pdwBitrate) {
    if (pdwBitrate == 0) return E_INVALIDARG;
    m_bitrate = pdwBitrate;
    return S_OK;
}

HRESULT CStreamConfig::GetBufferWindow(DWORD* pmsBufferWindow) {
    if (!pmsBufferWindow) return E_POINTER;
    *pmsBufferWindow = m_bufferWindowMs;
    return S_OK;
}

HRESULT CStreamConfig::SetBufferWindow(DWORD msBufferWindow) {
    m_bufferWindowMs = msBufferWindow;
    return S_OK;
}

HRESULT CStreamConfig::GetType(GUID* pguidType) {
    return GetStreamType(pguidType);
}

HRESULT CStreamConfig::GetMediaType(WM_MEDIA_TYPE* pType, DWORD* pcbType) {
    return m_type.CopyOut(pType, pcbType);
}

HRESULT CStreamConfig::SetMediaType(WM_MEDIA_TYPE* pType) {
    if (!pType) return E_POINTER;
    if (!IsValidOutputType(m_streamType, *pType)) return NS_E_INVALID_OUTPUT_FORMAT;
    m_type.Assign(*pType);
    return S_OK;
}

}  // namespace wmf
