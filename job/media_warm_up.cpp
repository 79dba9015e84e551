#include "job/media_warm_up.h"

#include "platform/dshow/dshow.h"

CMediaWarmUp::CMediaWarmUp() : m_thread(DShowWarmUp()) {}

CMediaWarmUp::~CMediaWarmUp() {
    if (m_thread.joinable()) m_thread.join();
}
