#include "platform/wmf/input_props.h"

#include "platform/wmf/wide_text.h"

namespace wmf {

CInputMediaProps::CInputMediaProps(const GUID& inputType, MediaTypeValue type,
                                   std::wstring connection)
    : m_inputType(inputType), m_type(std::move(type)), m_connection(std::move(connection)) {}

HRESULT CInputMediaProps::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (riid == IID_IUnknown || riid == IID_IWMMediaProps || riid == IID_IWMInputMediaProps)
        return ComAnswer<IWMInputMediaProps>(this, ppv);
    return E_NOINTERFACE;
}

HRESULT CInputMediaProps::GetType(GUID* pguidType) {
    if (!pguidType) return E_POINTER;
    *pguidType = m_inputType;
    return S_OK;
}

HRESULT CInputMediaProps::GetMediaType(WM_MEDIA_TYPE* pType, DWORD* pcbType) {
    return m_type.CopyOut(pType, pcbType);
}

HRESULT CInputMediaProps::SetMediaType(WM_MEDIA_TYPE* pType) {
    if (!pType) return E_POINTER;
    // Any type is kept: callers may fill the properties of one input and
    // assign them to another, and SetInputProps checks against that one.
    if (pType->cbFormat && !pType->pbFormat) return E_POINTER;
    m_type.Assign(*pType);
    return S_OK;
}

HRESULT CInputMediaProps::GetConnectionName(WCHAR* pwszName, WORD* pcchName) {
    return CopyOutText(m_connection, pwszName, pcchName);
}

HRESULT CInputMediaProps::GetGroupName(WCHAR* pwszName, WORD* pcchName) {
    return CopyOutText(std::wstring(), pwszName, pcchName);
}

}  // namespace wmf
