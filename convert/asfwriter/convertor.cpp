#include "convert/asfwriter/convertor.h"

namespace {

template <class T>
void ReleaseMember(T*& p) {
    if (p) p->Release();
    p = nullptr;
}

}  // namespace

CConvertor::CConvertor() : m_hrComInit(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}

CConvertor::~CConvertor() {
    ReleaseMember(m_pProfile);
    ReleaseMember(m_pFileSink);
    ReleaseMember(m_pConfig);
    ReleaseMember(m_pWriterFilter);
    ReleaseMember(m_pMediaControl);
    ReleaseMember(m_pGraph);
    ReleaseMember(m_pMediaPosition);
    ReleaseMember(m_pMediaSeeking);
    if (m_ppGraphSlot) *m_ppGraphSlot = nullptr;
    if (m_ppControlSlot) *m_ppControlSlot = nullptr;
    if (m_ppSeekingSlot) *m_ppSeekingSlot = nullptr;
    if (SUCCEEDED(m_hrComInit)) CoUninitialize();
}
