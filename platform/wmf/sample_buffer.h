// A sample buffer handed out by IWMWriter::AllocateSample.
//
// Threads: a buffer belongs to the thread that allocated it until written.
#pragma once

#include <vector>

#include "platform/wmf/wmsdk.h"

namespace wmf {

class CSampleBuffer final : public INSSBuffer {
public:
    // Null when the memory cannot be had.
    static CSampleBuffer* Create(DWORD maxLength);
    virtual ~CSampleBuffer() = default;

    HRESULT QueryInterface(REFIID riid, void** ppv) override;
    ZEV_COM_REFCOUNTING

    HRESULT GetLength(DWORD* pdwLength) override;
    // E_INVALIDARG beyond the allocated size.
    HRESULT SetLength(DWORD dwLength) override;
    HRESULT GetMaxLength(DWORD* pdwLength) override;
    HRESULT GetBuffer(BYTE** ppdwBuffer) override;
    HRESULT GetBufferAndLength(BYTE** ppdwBuffer, DWORD* pdwLength) override;

private:
    CSampleBuffer() = default;

    ComRefCount m_ref;
    std::vector<BYTE> m_data;
    DWORD m_length = 0;
};

}  // namespace wmf
