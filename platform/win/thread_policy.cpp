#include "platform/win/thread_policy.h"

#include <sched.h>

bool SetThreadBatch(pid_t tid, bool batch) {
    const int policy = sched_getscheduler(tid);
    if (policy != SCHED_OTHER && policy != SCHED_BATCH) return false;
    const int wanted = batch ? SCHED_BATCH : SCHED_OTHER;
    if (policy == wanted) return true;
    sched_param param{};
    return sched_setscheduler(tid, wanted, &param) == 0;
}

bool IsThreadBatch(pid_t tid) {
    return sched_getscheduler(tid) == SCHED_BATCH;
}
