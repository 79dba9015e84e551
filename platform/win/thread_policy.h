// How the scheduler treats a thread. Threads that hand their work to each
// other through queues and care for throughput only (a conversion) run as
// batch work: a batch thread that is woken does not preempt the running
// one but waits for the end of its time slice, so a hand-over no longer
// costs two context switches. A thread under another policy than the
// normal or the batch one (real-time or idle: someone's choice) keeps it.
//
// Threads: safe from any thread.
#pragma once

#include <sys/types.h>

// `tid` 0 is the calling thread. False when the thread is gone or keeps
// its policy.
bool SetThreadBatch(pid_t tid, bool batch);
bool IsThreadBatch(pid_t tid);
