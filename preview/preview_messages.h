// Message numbers, control identifiers and commands of the preview window,
// its range slider and its time fields. Window messages between the Qt
// widgets travel as CWinMessageEvent (win_message.h); the graph reaches the
// preview window through its window handle (platform/win).
#pragma once

#include "platform/win/window.h"

// Posted by the preview graph's event channel (the user base plus 20).
constexpr UINT WM_GRAPH_EVENT = WM_USER + 20;  // 0x0414
// Posted by BuildGraph: wParam 0.
constexpr UINT WM_GRAPH_READY = WM_APP + 0;  // 0x8000
// Slider to preview: seek to lParam seconds. Preview to slider: move the
// marker (display only).
constexpr UINT WM_SET_POSITION = WM_APP + 1;
// Slider to preview, posted: the marker was grabbed.
constexpr UINT WM_DRAG_START = WM_APP + 2;
// Slider to preview, sent: the user set the begin (end) to lParam seconds.
// Preview to slider, posted: move the handle.
constexpr UINT WM_SET_BEGIN = WM_APP + 3;
constexpr UINT WM_SET_END = WM_APP + 4;
// Posted by BuildGraph: lParam the error code 1 to 6.
constexpr UINT WM_GRAPH_ERROR = WM_APP + 5;
// Digit box to its field, posted: a box lost the focus.
constexpr UINT WM_TIME_COMMIT = WM_APP + 6;
// Field to its parent, posted: wParam the field's control identifier,
// lParam the typed value in seconds.
constexpr UINT WM_TIME_EDITED = WM_APP + 7;
// A typed character handed from a digit box to its field (only Tab is).
constexpr UINT WM_CHAR = 0x0102;

constexpr int IDC_BEGIN_TIME = 88;
constexpr int IDC_END_TIME = 89;
constexpr int IDC_CURRENT_TIME = 90;
constexpr int IDC_OUTPUT_SETTINGS = 1111;
constexpr int IDC_RANGE_SLIDER = 87;

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
