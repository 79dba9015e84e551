#include "convert/asfwriter/progress_worker.h"

#include <cmath>

#include "convert/common/progress_cell.h"
#include "convert/engine/log_channel.h"

namespace {

constexpr DWORD kPollMs = 1000;

}  // namespace

CProgressWorker::CProgressWorker(double durationSeconds, int* progress, IMediaPosition* position)
    : m_duration(durationSeconds),
      m_progress(progress),
      m_position(position),
      m_wake(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

CProgressWorker::~CProgressWorker() {
    SetStopFlag();
    Join();
    CloseHandle(m_wake);
}

int CProgressWorker::PercentOf(double position, double duration) {
    if (!(duration > 0) || !std::isfinite(position)) return 0;
    const double percent = position / duration * 100;
    if (percent <= 0) return 0;
    return percent >= 100 ? 100 : static_cast<int>(percent);
}

bool CProgressWorker::Start() {
    if (!m_wake) return false;
    m_thread = CreateThread(nullptr, 0, &CProgressWorker::ThreadMain, this, 0, nullptr);
    return m_thread != nullptr;
}

void CProgressWorker::SetStopFlag() {
    m_stop = 1;
    if (m_wake) SetEvent(m_wake);
}

void CProgressWorker::Join() {
    if (!m_thread) return;
    WaitForSingleObject(m_thread, INFINITE);
    CloseHandle(m_thread);
    m_thread = nullptr;
}

DWORD CProgressWorker::ThreadMain(void* self) {
    static_cast<CProgressWorker*>(self)->Poll();
    return 0;
}

void CProgressWorker::Poll() {
    if (!m_position) return;
    while (m_stop == 0) {
        REFTIME now = 0;
        m_position->get_CurrentPosition(&now);
        const int percent = PercentOf(now, m_duration);
        if (m_progress) StoreProgress(m_progress, percent);
        Trace("Current progress %d\n", m_progress ? percent : 0);
        // Waits on an event rather than sleeping, so the job need not wait a
        // whole period for the thread when it ends.
        WaitForSingleObject(m_wake, kPollMs);
    }
    if (m_progress) StoreProgress(m_progress, 100);
    Trace("Current progress %d\n", m_progress ? 100 : 0);
}
