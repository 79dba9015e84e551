// Trace lines: the diagnostics that the converters, the runtime and the
// audio catalogue write to standard output. They carry no contract, and
// nothing may wait for them: when the reader does not keep up (a pipe
// nobody reads, a terminal paused with Ctrl+S) lines are dropped, and the
// writing thread, often a streaming thread of a running job, goes on at
// once. A line goes out with one write, whole or not at all as far as the
// output allows (a pipe takes up to PIPE_BUF bytes at once).
//
// The lines go through a descriptor of this module's own, opened anew from
// standard output in non-blocking mode, so that the descriptor the process
// shares with its shell (and a terminal's settings) stay as they were. A
// regular file never blocks and is written through a copy of standard
// output, keeping its offset; a socket is sent to without waiting; where
// standard output cannot be opened anew, a line is written only when a
// poll says the output can take it.
//
// Threads: every function is safe from any thread.
#pragma once

#include <cstdarg>

// Whether trace lines are written; on until a program decides. Turning it
// on takes standard output as it is at that moment.
void SetTraceEnabled(bool on);
bool TraceEnabled();

// One trace line (or several, or a part of one), as given.
void TraceText(const char* text);
void TraceFormat(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
void TraceFormatV(const char* fmt, va_list args);
