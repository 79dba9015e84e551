#include "convert/wmf9/convertor.h"

#include "convert/engine/engine_release.h"

CConvertor::~CConvertor() {
    // The order is fixed: the graph goes before the filters that the engine
    // still holds, the writer before the grabbers whose callbacks use it.
    ReleaseMember(m_pProfile);
    ReleaseMember(m_pMediaControl);
    ReleaseMember(m_pGraph);
    ReleaseMember(m_pMediaPosition);
    ReleaseMember(m_pMediaSeeking);
    ReleaseMember(m_pWriter);
    ReleaseMember(m_pVideoNullRenderer);
    ReleaseMember(m_pAudioNullRenderer);
    ReleaseMember(m_pVideoGrabberFilter);
    ReleaseMember(m_pVideoGrabber);
    ReleaseMember(m_pAudioGrabber);
    ReleaseMember(m_pAudioGrabberFilter);
}
