#include "convert/asfwriter/echo_log.h"

#include <cstdarg>
#include <cstdio>
#include <string>

void EchoLog::Send(const char* text) const {
    std::fputs(text, stdout);
    std::fflush(stdout);
    m_channel.Send(text);
}

void EchoLog::Printf(const char* fmt, ...) const {
    va_list args;
    va_start(args, fmt);
    va_list measure;
    va_copy(measure, args);
    const int needed = std::vsnprintf(nullptr, 0, fmt, measure);
    va_end(measure);
    std::string line(needed > 0 ? static_cast<size_t>(needed) : 0, '\0');
    if (needed > 0) std::vsnprintf(line.data(), line.size() + 1, fmt, args);
    va_end(args);
    Send(line.c_str());
}
