// Class registration: the layer's classes become creatable as soon as the
// library is loaded.
#include "platform/dshow/dshow.h"
#include "platform/dshow/filter_graph.h"
#include "platform/dshow/renderers.h"
#include "platform/dshow/sample_grabber.h"

namespace zev::dshow {
#ifdef ZEV_HAVE_WMVCORE
HRESULT CreateAsfWriterFilter(REFIID riid, void** ppv);
#endif
}  // namespace zev::dshow

void DShowRegisterClasses() {
    ComRegisterClass(CLSID_FilterGraph, &zev::dshow::CreateFilterGraph);
    ComRegisterClass(CLSID_SampleGrabber, &zev::dshow::CreateSampleGrabber);
    ComRegisterClass(CLSID_NullRenderer, &zev::dshow::CreateNullRenderer);
#ifdef ZEV_HAVE_WMVCORE
    ComRegisterClass(CLSID_WMAsfWriter, &zev::dshow::CreateAsfWriterFilter);
#endif
}

namespace {
struct RegisterOnLoad {
    RegisterOnLoad() { DShowRegisterClasses(); }
} g_registerOnLoad;
}  // namespace
