// The engine's wait for its graph, run inside Qt's event loop: while Convert
// waits on its event handles, the program's timers, clicks, log flushes and
// close requests are handled as usual. Install on the UI thread only.
#pragma once

#include "platform/win/window.h"

class CQtHostEventLoop : public IHostEventLoop {
public:
    int RunUntilReadable(const int* fds, int count, DWORD timeoutMs) override;
};

// Installs a CQtHostEventLoop for the calling thread for the life of the
// object, and puts the previous one back.
class CScopedQtHostEventLoop {
public:
    CScopedQtHostEventLoop() : m_previous(SetHostEventLoop(&m_loop)) {}
    ~CScopedQtHostEventLoop() { SetHostEventLoop(m_previous); }
    CScopedQtHostEventLoop(const CScopedQtHostEventLoop&) = delete;
    CScopedQtHostEventLoop& operator=(const CScopedQtHostEventLoop&) = delete;

private:
    CQtHostEventLoop m_loop;
    IHostEventLoop* m_previous;
};
