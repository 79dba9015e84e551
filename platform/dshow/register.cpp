// Class registration: the layer's classes become creatable as soon as the
// library is loaded.
#include "platform/dshow/dshow.h"
#include "platform/dshow/filter_graph.h"
#include "platform/dshow/renderers.h"
#include "platform/dshow/sample_grabber.h"

namespace zev::dshow {
HRESULT CreateAsfWriterFilter(REFIID riid, void** ppv);
}  // namespace zev::dshow

void DShowRegisterClasses() {
    ComRegisterClass(CLSID_FilterGraph, &zev::dshow::CreateFilterGraph);
    ComRegisterClass(CLSID_SampleGrabber, &zev::dshow::CreateSampleGrabber);
    ComRegisterClass(CLSID_NullRenderer, &zev::dshow::CreateNullRenderer);
    ComRegisterClass(CLSID_WMAsfWriter, &zev::dshow::CreateAsfWriterFilter);
}

namespace {
struct RegisterOnLoad {
    RegisterOnLoad() { DShowRegisterClasses(); }
} g_registerOnLoad;
}  // namespace
