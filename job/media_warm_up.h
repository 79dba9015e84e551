// Starting the media layer early: GStreamer and the plugins every job needs
// load on a thread of their own while the caller does its other start-up
// work (options, profiles, binding the converter). A job that starts before
// it is done waits only for what is left.
//
// Threads: the returned guard joins the loading thread when it goes.
#pragma once

#include <thread>

class CMediaWarmUp {
public:
    CMediaWarmUp();
    ~CMediaWarmUp();
    CMediaWarmUp(const CMediaWarmUp&) = delete;
    CMediaWarmUp& operator=(const CMediaWarmUp&) = delete;

private:
    std::thread m_thread;
};
