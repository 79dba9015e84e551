#include "convert/engine/log_channel.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "convert/common/convert_api.h"
#include "platform/win/trace.h"

namespace {

size_t LineEndingLength(const char* text, size_t len) {
    if (len >= 2 && text[len - 2] == '\r' && text[len - 1] == '\n') return 2;
    if (len >= 1 && (text[len - 1] == '\n' || text[len - 1] == '\r')) return 1;
    return 0;
}

}  // namespace

std::string FormatLineV(const char* fmt, va_list args) {
    va_list measure;
    va_copy(measure, args);
    const int needed = std::vsnprintf(nullptr, 0, fmt, measure);
    va_end(measure);
    if (needed <= 0) return std::string();
    std::string line(static_cast<size_t>(needed), '\0');
    std::vsnprintf(line.data(), line.size() + 1, fmt, args);
    return line;
}

std::string FormatLine(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    std::string line = FormatLineV(fmt, args);
    va_end(args);
    return line;
}

size_t CopyLogLine(char* dst, size_t dstSize, const char* text) {
    if (!dst || dstSize == 0) return 0;
    if (!text) text = "";
    const size_t len = std::strlen(text);
    if (len < dstSize) {
        std::memcpy(dst, text, len + 1);
        return len;
    }
    const size_t room = dstSize - 1;
    size_t ending = LineEndingLength(text, len);
    if (ending > room) ending = 0;
    const size_t body = room - ending;
    std::memcpy(dst, text, body);
    std::memcpy(dst + body, text + len - ending, ending);
    dst[room] = '\0';
    return room;
}

void LogChannel::Send(const char* text) const {
    if (!m_szLog || !m_hWnd) return;
    CopyLogLine(m_szLog, kLogBufferSize, text);
    // Sent, not posted: the caller has taken the text before the next line
    // overwrites the buffer.
    SendMessageA(m_hWnd, WM_COMMAND, kCmdFlushLog, 0);
}

void LogChannel::Printf(const char* fmt, ...) const {
    va_list args;
    va_start(args, fmt);
    const std::string line = FormatLineV(fmt, args);
    va_end(args);
    Send(line.c_str());
}

void LogChannel::PrintfTraced(const char* fmt, ...) const {
    va_list args;
    va_start(args, fmt);
    const std::string line = FormatLineV(fmt, args);
    va_end(args);
    TraceText(line.c_str());
    Send(line.c_str());
}

void Trace(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    TraceFormatV(fmt, args);
    va_end(args);
}
