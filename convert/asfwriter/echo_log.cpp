#include "convert/asfwriter/echo_log.h"

#include <cstdarg>
#include <string>

#include "platform/win/trace.h"

void EchoLog::Send(const char* text) const {
    TraceText(text);
    m_channel.Send(text);
}

void EchoLog::Printf(const char* fmt, ...) const {
    va_list args;
    va_start(args, fmt);
    const std::string line = FormatLineV(fmt, args);
    va_end(args);
    Send(line.c_str());
}
