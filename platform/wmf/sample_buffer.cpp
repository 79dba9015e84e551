#include "platform/wmf/sample_buffer.h"

#include <new>

namespace wmf {

CSampleBuffer* CSampleBuffer::Create(DWORD maxLength) {
    auto* buffer = new (std::nothrow) CSampleBuffer();
    if (!buffer) return nullptr;
    try {
        buffer->m_data.resize(maxLength);
    } catch (const std::bad_alloc&) {
        delete buffer;
        return nullptr;
    }
    buffer->m_length = maxLength;
    return buffer;
}

HRESULT CSampleBuffer::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (riid == IID_IUnknown || riid == IID_INSSBuffer) return ComAnswer<INSSBuffer>(this, ppv);
    return E_NOINTERFACE;
}

HRESULT CSampleBuffer::GetLength(DWORD* pdwLength) {
    if (!pdwLength) return E_POINTER;
    *pdwLength = m_length;
    return S_OK;
}

HRESULT CSampleBuffer::SetLength(DWORD dwLength) {
    if (dwLength > m_data.size()) return E_INVALIDARG;
    m_length = dwLength;
    return S_OK;
}

HRESULT CSampleBuffer::GetMaxLength(DWORD* pdwLength) {
    if (!pdwLength) return E_POINTER;
    *pdwLength = static_cast<DWORD>(m_data.size());
    return S_OK;
}

HRESULT CSampleBuffer::GetBuffer(BYTE** ppdwBuffer) {
    if (!ppdwBuffer) return E_POINTER;
    *ppdwBuffer = m_data.data();
    return S_OK;
}

HRESULT CSampleBuffer::GetBufferAndLength(BYTE** ppdwBuffer, DWORD* pdwLength) {
    if (!ppdwBuffer || !pdwLength) return E_POINTER;
    *ppdwBuffer = m_data.data();
    *pdwLength = m_length;
    return S_OK;
}

}  // namespace wmf
