// The engines' two output channels: log lines for the caller (copied into
// its 1024-byte buffer and announced with kCmdFlushLog) and trace lines on
// standard output (platform/win/trace.h: dropped, never waited for, when
// nobody reads them).
//
// Threads: log lines are sent only from the thread that called Convert, so
// that the caller's handler runs on its own thread; trace lines may come
// from any thread.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <string>

#include "platform/win/window.h"

// Copies `text` into `dst` (capacity `dstSize` bytes, NUL included). A line
// that does not fit is cut, keeping its line ending ("\r\n", "\n" or "\r")
// so that the caller still sees a complete line. Returns the length written.
size_t CopyLogLine(char* dst, size_t dstSize, const char* text);

class LogChannel {
public:
    // Lines are dropped until both the buffer and the window are known.
    void Attach(char* szLog, HWND hWnd) {
        m_szLog = szLog;
        m_hWnd = hWnd;
    }

    // Hands one finished line to the caller.
    void Send(const char* text) const;
    // Formats a line and hands it over.
    void Printf(const char* fmt, ...) const __attribute__((format(printf, 2, 3)));
    // The same, and the line also goes to standard output as a trace line.
    void PrintfTraced(const char* fmt, ...) const __attribute__((format(printf, 2, 3)));

private:
    char* m_szLog = nullptr;
    HWND m_hWnd = nullptr;
};

// printf formatting into a string of the needed length; "" when the format
// cannot be used.
std::string FormatLineV(const char* fmt, va_list args);
std::string FormatLine(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// One diagnostic line on standard output; no contract, never waited for
// (platform/win/trace.h).
void Trace(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
