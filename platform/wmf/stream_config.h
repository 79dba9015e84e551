// One stream of a profile: its number, names, bit rate, buffer window and
// output media type. Answers IWMStreamConfig and IWMMediaProps.
//
// Threads: one thread at a time. Profiles keep copies (AddStream,
// ReconfigStream), so a configuration handed out is the caller's to edit.
#pragma once

#include <string>

#include "platform/wmf/media_type_value.h"
#include "platform/wmf/wmsdk.h"

namespace wmf {

class CStreamConfig final : public IWMStreamConfig, public IWMMediaProps {
public:
    CStreamConfig(const GUID& streamType, MediaTypeValue type, DWORD bitrate);
    virtual ~CStreamConfig() = default;

    // A new object (one reference) with the same settings as `src`, read
    // through its interfaces so that any implementation can be copied.
    static HRESULT CopyFrom(IWMStreamConfig* src, CStreamConfig** out);

    // IUnknown
    HRESULT QueryInterface(REFIID riid, void** ppv) override;
    ZEV_COM_REFCOUNTING

    // IWMStreamConfig
    HRESULT GetStreamType(GUID* pguidStreamType) override;
    HRESULT GetStreamNumber(WORD* pwStreamNum) override;
    HRESULT SetStreamNumber(WORD wStreamNum) override;
    HRESULT GetStreamName(WCHAR* pwszStreamName, WORD* pcchStreamName) override;
    HRESULT SetStreamName(const WCHAR* pwszStreamName) override;
    HRESULT GetConnectionName(WCHAR* pwszInputName, WORD* pcchInputName) override;
    HRESULT SetConnectionName(const WCHAR* pwszInputName) override;
    HRESULT GetBitrate(DWORD* pdwBitrate) override;
    HRESULT SetBitrate(DWORD pdwBitrate) override;
    HRESULT GetBufferWindow(DWORD* pmsBufferWindow) override;
    HRESULT SetBufferWindow(DWORD msBufferWindow) override;

    // IWMMediaProps
    HRESULT GetType(GUID* pguidType) override;
    HRESULT GetMediaType(WM_MEDIA_TYPE* pType, DWORD* pcbType) override;
    // Refuses (NS_E_INVALID_OUTPUT_FORMAT) a type that the encoders cannot
    // produce; the stored type is then unchanged.
    HRESULT SetMediaType(WM_MEDIA_TYPE* pType) override;

private:
    ComRefCount m_ref;
    GUID m_streamType;
    MediaTypeValue m_type;
    DWORD m_bitrate;
    DWORD m_bufferWindowMs;
    WORD m_streamNumber = 0;
    std::wstring m_name;
    std::wstring m_connection;
};

// Checks an output type for a video or audio stream (shared with the writer,
// which checks again what a foreign profile hands it).
bool IsValidOutputType(const GUID& streamType, const WM_MEDIA_TYPE& mt);

}  // namespace wmf
