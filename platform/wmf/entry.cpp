// The runtime's exported entry points.
#include "platform/wmf/metadata_editor.h"
#include "platform/wmf/profile_manager.h"
#include "platform/wmf/writer.h"
#include "platform/wmf/wmsdk.h"

#define WMF_EXPORT __attribute__((visibility("default")))

extern "C" {

WMF_EXPORT HRESULT WMCreateProfileManager(IWMProfileManager** ppProfileManager) {
    if (!ppProfileManager) return E_POINTER;
    *ppProfileManager = new wmf::CProfileManager();
    return S_OK;
}

WMF_EXPORT HRESULT WMCreateWriterPriv(IWMWriter** ppWriter) {
    if (!ppWriter) return E_POINTER;
    *ppWriter = new wmf::CWriter();
    return S_OK;
}

// The reduced test runtime leaves this entry point out, so that a converter
// importing it fails to load as it would against an old runtime.
#ifndef WMF_WITHOUT_WMCREATEWRITER
WMF_EXPORT HRESULT WMCreateWriter(IUnknown* /*pUnkCert*/, IWMWriter** ppWriter) {
    return WMCreateWriterPriv(ppWriter);
}
#endif

WMF_EXPORT HRESULT WMCreateEditor(IWMMetadataEditor** ppEditor) {
    if (!ppEditor) return E_POINTER;
    *ppEditor = new wmf::CMetadataEditor();
    return S_OK;
}

}  // extern "C"
