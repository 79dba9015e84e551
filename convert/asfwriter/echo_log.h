// The log of this engine: each line also goes to standard output as a trace
// line before it is handed to the caller, as the older engine always did.
#pragma once

#include "convert/engine/log_channel.h"

class EchoLog {
public:
    void Attach(char* szLog, HWND hWnd) { m_channel.Attach(szLog, hWnd); }
    void Send(const char* text) const;
    void Printf(const char* fmt, ...) const __attribute__((format(printf, 2, 3)));
    // The channel itself, for helpers shared with the other engine.
    const LogChannel& Channel() const { return m_channel; }

private:
    LogChannel m_channel;
};
