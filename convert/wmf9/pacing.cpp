#include "convert/wmf9/pacing.h"

#include <chrono>

PacingClocks& LibraryPacing() {
    static PacingClocks clocks;
    return clocks;
}

void PacingClocks::Reset() {
    for (Stream& s : m_streams) {
        s.clock.store(0.0, kOrder);
        s.connected.store(false, kOrder);
        s.stalled.store(false, kOrder);
        s.grabber.store(nullptr, kOrder);
    }
    m_haveFirst.store(false, std::memory_order_release);
    m_baseTime.store(0.0, kOrder);
}

void PacingClocks::SetStreams(ISampleGrabber* videoGrabber, bool videoConnected,
                              ISampleGrabber* audioGrabber, bool audioConnected) {
    Stream& video = m_streams[Index(StreamKind::Video)];
    Stream& audio = m_streams[Index(StreamKind::Audio)];
    video.grabber.store(videoGrabber, kOrder);
    video.connected.store(videoConnected, kOrder);
    audio.grabber.store(audioGrabber, kOrder);
    audio.connected.store(audioConnected, kOrder);
}

double PacingClocks::BaseTime(double t) {
    if (!m_haveFirst.load(std::memory_order_acquire)) {
        std::lock_guard<std::mutex> guard(m_firstLock);
        if (!m_haveFirst.load(std::memory_order_relaxed)) {
            m_baseTime.store(t, kOrder);
            m_haveFirst.store(true, std::memory_order_release);
        }
    }
    return m_baseTime.load(kOrder);
}

bool PacingClocks::IsLive(StreamKind s) const {
    const Stream& stream = m_streams[Index(s)];
    if (!stream.connected.load(kOrder)) return false;
    if (ISampleGrabber* grabber = stream.grabber.load(kOrder)) {
        BOOL ended = FALSE;
        if (SUCCEEDED(grabber->GetEndOfStream(&ended))) return !ended;
    }
    return !stream.stalled.load(kOrder);
}

void PacingClocks::WaitForOther(StreamKind self) const {
    const StreamKind other = self == StreamKind::Video ? StreamKind::Audio : StreamKind::Video;
    const double otherAtStart = Clock(other);
    int sleeps = 0;
    std::unique_lock<std::mutex> g(m_waitLock);
    while (Clock(self) > Clock(other) && sleeps < kMaxPacingSleeps) {
        if (!IsLive(other)) return;
        m_advanced.wait_for(g, std::chrono::milliseconds(1));
        ++sleeps;
    }
    if (sleeps == kMaxPacingSleeps && Clock(other) == otherAtStart)
        m_streams[Index(other)].stalled.store(true, kOrder);
}

void PacingClocks::Delivered(StreamKind s, double clock) {
    Stream& stream = m_streams[Index(s)];
    stream.clock.store(clock, kOrder);
    stream.stalled.store(false, kOrder);
    {
        // Taken so that a waiter between its test and its wait is not missed.
        std::lock_guard<std::mutex> g(m_waitLock);
    }
    m_advanced.notify_all();
}
