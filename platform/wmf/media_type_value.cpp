#include "platform/wmf/media_type_value.h"

#include "platform/wmf/wmsdk.h"

namespace wmf {

void MediaTypeValue::Assign(const WM_MEDIA_TYPE& mt) {
    m_type = mt;
    m_type.pUnk = nullptr;
    if (mt.pbFormat && mt.cbFormat)
        m_format.assign(mt.pbFormat, mt.pbFormat + mt.cbFormat);
    else
        m_format.clear();
    m_type.cbFormat = static_cast<ULONG>(m_format.size());
    m_type.pbFormat = nullptr;
}

WM_MEDIA_TYPE MediaTypeValue::Bound() const {
    WM_MEDIA_TYPE t = m_type;
    t.pbFormat = m_format.empty() ? nullptr : const_cast<BYTE*>(m_format.data());
    return t;
}

HRESULT MediaTypeValue::CopyOut(WM_MEDIA_TYPE* pType, DWORD* pcbType) const {
    if (!pcbType) return E_POINTER;
    const DWORD needed = static_cast<DWORD>(sizeof(WM_MEDIA_TYPE) + m_format.size());
    if (!pType) {
        *pcbType = needed;
        return S_OK;
    }
    if (*pcbType < needed) {
        *pcbType = needed;
        return ASF_E_BUFFERTOOSMALL;
    }
    *pType = m_type;
    BYTE* block = reinterpret_cast<BYTE*>(pType) + sizeof(WM_MEDIA_TYPE);
    if (!m_format.empty()) std::memcpy(block, m_format.data(), m_format.size());
    pType->pbFormat = m_format.empty() ? nullptr : block;
    *pcbType = needed;
    return S_OK;
}

MediaTypeValue MakeVideoType(const GUID& subtype, const VIDEOINFOHEADER& vih, ULONG sampleSize) {
    WM_MEDIA_TYPE mt{};
    mt.majortype = WMMEDIATYPE_Video;
    mt.subtype = subtype;
    mt.bFixedSizeSamples = sampleSize != 0;
    mt.bTemporalCompression = sampleSize == 0;
    mt.lSampleSize = sampleSize;
    mt.formattype = WMFORMAT_VideoInfo;
    mt.cbFormat = sizeof vih;
    mt.pbFormat = reinterpret_cast<BYTE*>(const_cast<VIDEOINFOHEADER*>(&vih));
    return MediaTypeValue(mt);
}

MediaTypeValue MakeAudioType(const GUID& subtype, const WAVEFORMATEX& wfx,
                             const std::vector<BYTE>& extra) {
    std::vector<BYTE> block(sizeof(WAVEFORMATEX) + extra.size());
    WAVEFORMATEX w = wfx;
    w.cbSize = static_cast<WORD>(extra.size());
    std::memcpy(block.data(), &w, sizeof w);
    if (!extra.empty()) std::memcpy(block.data() + sizeof w, extra.data(), extra.size());
    WM_MEDIA_TYPE mt{};
    mt.majortype = WMMEDIATYPE_Audio;
    mt.subtype = subtype;
    mt.bFixedSizeSamples = TRUE;
    mt.lSampleSize = wfx.nBlockAlign;
    mt.formattype = WMFORMAT_WaveFormatEx;
    mt.cbFormat = static_cast<ULONG>(block.size());
    mt.pbFormat = block.data();
    return MediaTypeValue(mt);
}

}  // namespace wmf
