// Message numbers, control identifiers and commands of the preview window.
// The graph reaches the preview window through its window handle
// (platform/win): these are the only window messages of the preview; its
// own widgets talk through the range model (range_model.h) and signals.
#pragma once

#include "platform/win/window.h"

// Posted by the preview graph's event channel (the user base plus 20).
constexpr UINT WM_GRAPH_EVENT = WM_USER + 20;  // 0x0414
// Posted by BuildGraph: wParam 0.
constexpr UINT WM_GRAPH_READY = WM_APP + 0;  // 0x8000
// Posted by BuildGraph: lParam the error code 1 to 6.
constexpr UINT WM_GRAPH_ERROR = WM_APP + 5;

// The time fields, as Field() looks them up.
constexpr int IDC_BEGIN_TIME = 88;
constexpr int IDC_END_TIME = 89;
constexpr int IDC_CURRENT_TIME = 90;

constexpr int ID_PLAY = 57000;
constexpr int ID_PAUSE = 57001;
constexpr int ID_STOP = 57002;
constexpr int ID_PREVIEW_BLANK = 57003;
constexpr int ID_SKIP_START = 57004;
constexpr int ID_REWIND = 57005;
constexpr int ID_FAST_FORWARD = 57006;
constexpr int ID_SKIP_END = 57007;

constexpr int IDT_PREVIEW = 136;
constexpr int kPreviewTimerMs = 1000;
