// The progress thread: polls the graph's position once a second and writes
// the share of the source done into the caller's progress integer, until
// the job's stop flag is set; then writes 100.
#pragma once

#include <atomic>

#include "platform/dshow/dshow.h"
#include "platform/win/sync.h"

class CProgressWorker {
public:
    // `position` is borrowed from the graph and must outlive Join().
    CProgressWorker(double durationSeconds, int* progress, IMediaPosition* position);
    ~CProgressWorker();
    CProgressWorker(const CProgressWorker&) = delete;
    CProgressWorker& operator=(const CProgressWorker&) = delete;

    // False when the thread cannot be created.
    bool Start();
    // Sets the stop flag and wakes the thread from its wait.
    void SetStopFlag();
    // Waits for the thread to end; after this nothing touches the block.
    void Join();

    // Progress for a position: truncated percent of the whole source; 0 for
    // a source whose duration reads 0.
    static int PercentOf(double positionSeconds, double durationSeconds);

private:
    static DWORD ThreadMain(void* self);
    void Poll();

    double m_duration;
    int* m_progress;
    IMediaPosition* m_position;
    std::atomic<int> m_stop{0};
    HANDLE m_wake;
    HANDLE m_thread = nullptr;
};
