// IWMMediaProps::GetMediaType in one step: the first call sizes the type,
// the second fills a buffer this object owns (aligned for the structure,
// with the format block inside it). Header-only, so that the engines, the
// profile catalogue and tests use it without linking the runtime.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/wmf/wmsdk.h"

class CMediaTypeReader {
public:
    explicit CMediaTypeReader(IWMMediaProps* props) {
        if (!props) {
            m_hr = E_POINTER;
            return;
        }
        DWORD bytes = 0;
        m_hr = props->GetMediaType(nullptr, &bytes);
        if (FAILED(m_hr)) return;
        m_bytes = bytes;
        if (bytes < sizeof(WM_MEDIA_TYPE)) {
            m_hr = E_UNEXPECTED;
            return;
        }
        m_buffer.assign((bytes + sizeof(uint64_t) - 1) / sizeof(uint64_t), 0);
        m_hr = props->GetMediaType(reinterpret_cast<WM_MEDIA_TYPE*>(m_buffer.data()), &bytes);
    }

    // The result of the reading calls (E_UNEXPECTED for a size too small to
    // hold the structure).
    HRESULT Result() const { return m_hr; }
    // The type, or nullptr after a failure; valid while this object lives.
    WM_MEDIA_TYPE* Type() {
        return SUCCEEDED(m_hr) ? reinterpret_cast<WM_MEDIA_TYPE*>(m_buffer.data()) : nullptr;
    }
    // The bytes the size query asked for; 0 when it failed.
    DWORD Size() const { return m_bytes; }

private:
    HRESULT m_hr = E_FAIL;
    DWORD m_bytes = 0;
    std::vector<uint64_t> m_buffer;
};
