#include "convert/asfwriter/convertor.h"

#include "convert/engine/engine_release.h"

CConvertor::~CConvertor() {
    ReleaseMember(m_pProfile);
    ReleaseMember(m_pFileSink);
    ReleaseMember(m_pConfig);
    ReleaseMember(m_pWriterFilter);
    ReleaseMember(m_pMediaControl);
    ReleaseMember(m_pGraph);
    ReleaseMember(m_pMediaPosition);
    ReleaseMember(m_pMediaSeeking);
}
