// The media type of one writer input, as handed out by
// IWMWriter::GetInputProps and taken back by SetInputProps.
//
// SetMediaType keeps any type: the engines fill the properties fetched for
// one input and assign them to the other, so the writer checks the type
// when the properties are assigned to an input. Threads: one at a time.
#pragma once

#include <string>

#include "platform/wmf/media_type_value.h"
#include "platform/wmf/wmsdk.h"

namespace wmf {

class CInputMediaProps final : public IWMInputMediaProps {
public:
    CInputMediaProps(const GUID& inputType, MediaTypeValue type, std::wstring connection);
    virtual ~CInputMediaProps() = default;

    HRESULT QueryInterface(REFIID riid, void** ppv) override;
    ZEV_COM_REFCOUNTING

    HRESULT GetType(GUID* pguidType) override;
    HRESULT GetMediaType(WM_MEDIA_TYPE* pType, DWORD* pcbType) override;
    HRESULT SetMediaType(WM_MEDIA_TYPE* pType) override;
    HRESULT GetConnectionName(WCHAR* pwszName, WORD* pcchName) override;
    HRESULT GetGroupName(WCHAR* pwszName, WORD* pcchName) override;

private:
    ComRefCount m_ref;
    GUID m_inputType;
    MediaTypeValue m_type;
    std::wstring m_connection;
};

}  // namespace wmf
