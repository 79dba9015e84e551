// The one entry point of the converter libraries.
//
// Convert runs one job on the calling thread and returns when it has ended.
// It reports through log lines: each is copied into szLog (1024 bytes,
// NUL-terminated) and announced by sending WM_COMMAND with wParam
// kCmdFlushLog to hWnd. While it runs it stores its graph interfaces in the
// three slots (borrowed, never released by the caller) and NULL in all three
// before it returns. *pProgress is written in percent from another thread.
#pragma once

#include <cstddef>

#include "convert/common/profile_struc.h"

struct HWND__;
struct IGraphBuilder;
struct IMediaControl;
struct IMediaSeeking;

void Convert(char* szSourceFN, char* szDestFN, ProfileStruc* pProfile, char* szLog, HWND__* hWnd,
             IGraphBuilder** ppGraph, IMediaControl** ppControl, IMediaSeeking** ppSeeking,
             double rtBegintime, double rtEndTime, int* pProgress);

using ConvertFn = decltype(&Convert);

// The exported name of Convert: this platform's C++ mangling of the
// declaration above. Callers look the function up by exactly this string.
inline constexpr char kConvertSymbol[] =
    "_Z7ConvertPcS_P12ProfileStrucS_P6HWND__"
    "PP13IGraphBuilderPP13IMediaControlPP13IMediaSeekingddPi";

// Command identifiers between the job panel, the engine and the main frame.
inline constexpr unsigned kCmdRunJob = 57103;
inline constexpr unsigned kCmdStopJob = 57104;
inline constexpr unsigned kCmdFlushLog = 57106;
inline constexpr unsigned kCmdEndTimeStop = 57107;

// The caller's log buffer size; a line longer than kLogBufferSize - 1 is cut.
inline constexpr unsigned kLogBufferSize = 1024;

// The longest path that Convert takes, in bytes of UTF-8 without the
// terminating NUL: the paths travel in 1024-byte buffers. Every part that
// takes a path for a job (the preview's load, the job's check, the engines)
// refuses a longer one rather than cut it into another file's name.
inline constexpr size_t kMaxPathBytes = 1023;

// The latest time of a range that Convert takes, in seconds: the engines
// hold the begin and the end as whole seconds in a signed 32-bit integer
// (about 68 years) and would hold a later time to this one. Callers refuse
// a later time, saying what was asked for, rather than pass it.
inline constexpr double kMaxRangeSeconds = 2147483647;

// The converter libraries, by file name, tried in this order.
inline constexpr char kConverterLibrary9[] = "libtranzo9.so";
inline constexpr char kConverterLibrary8[] = "libtranzo8.so";
