// What the Windows Media runtime's video encoders take. The runtime refuses
// a stream configured outside these (NS_E_INVALID_OUTPUT_FORMAT) and keeps
// the stream's old settings; a job checks its settings against the same
// numbers first, so that it never makes a file of other settings without a
// word. One definition for both, below the runtime and the job alike.
#pragma once

#include "platform/win/wintypes.h"

constexpr LONG kWmvMinFrameSide = 16;  // pixels, even
constexpr LONG kWmvMaxFrameSide = 4096;
constexpr DWORD kWmvMinVideoBitrate = 8000;  // bits per second
constexpr DWORD kWmvMaxVideoBitrate = 50000000;
constexpr LONG kWmvMinFramesPerSecond = 1;
constexpr LONG kWmvMaxFramesPerSecond = 120;
