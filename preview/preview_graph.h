// The preview's playback graph and the process-wide preview state.
//
// There is one preview graph per process. Its five interfaces, the closing
// flag and the last load result are process-wide (PreviewState()); the
// holder CPreviewGraph has no data of its own and releases the graph when
// it is destroyed. Everything here runs on the user-interface thread; the
// graph's own threads reach the preview window only through the messages
// posted to its window handle.
#pragma once

#include <string>

#include "convert/common/convert_api.h"
#include "job/job_paths.h"
#include "platform/dshow/dshow.h"

// Result codes of a graph build (the last load result), 0 for success.
enum PreviewLoadResult : int {
    kLoadOk = 0,
    kLoadNoGraph = 1,        // creating the filter graph manager failed
    kLoadCannotRender = 2,   // the file, or one of its streams, cannot be rendered
    kLoadNoVideoWindow = 3,  // no video window interface
    kLoadNoVideoPlace = 4,   // placing the video window failed
    kLoadNoControl = 5,      // no media control interface
    kLoadNoEvents = 6,       // no media event interface
    kLoadPathTooLong = 7,    // refused before building: longer than kMaxPathBytes, which the
                             // job could not take either
    kLoadSourceRefused = 8,  // refused before building: no such file, a folder, a pipe or a
                             // device, or one the user may not read (PreviewState says which)
};

struct PreviewState {
    IGraphBuilder* pGraphBuilder = nullptr;
    IMediaControl* pMediaControl = nullptr;
    IMediaEventEx* pMediaEvent = nullptr;
    IVideoWindow* pVideoWindow = nullptr;
    IMediaPosition* pMediaPosition = nullptr;
    // Set by the main frame before the main window closes: the final
    // release then leaves the filter graph manager alone.
    bool bClosing = false;
    // Result code of the most recent graph build, read by the job panel.
    int nLastLoadResult = kLoadOk;
    // Why the most recent build was refused with kLoadSourceRefused, and
    // the path it was given.
    JobPathProblem sourceProblem = JobPathProblem::None;
    std::string refusedSource;
    // The preview window's average character width and character height,
    // measured once when it is created.
    int cw = 0;
    int ch = 0;
};

// The one instance; user-interface thread only.
PreviewState& PreviewStateOf();

// The status text that each build error code sets; empty for others.
// kLoadSourceRefused's says why, as PreviewState tells it.
const char* PreviewErrorText(int code);

class CPreviewGraph {
public:
    CPreviewGraph() = default;
    ~CPreviewGraph() { ReleaseGraph(); }
    CPreviewGraph(const CPreviewGraph&) = delete;
    CPreviewGraph& operator=(const CPreviewGraph&) = delete;

    // Builds the graph for the file at `path` (UTF-8, at most
    // kMaxPathBytes) with `hwnd` as the notify window and the video
    // window's owner; `clientWidth` and `clientHeight` are hwnd's client
    // size, which places the video. Returns 0 and posts WM_GRAPH_READY, or
    // releases everything, posts WM_GRAPH_ERROR and returns the code.
    // Synchronous: the caller's thread waits for the build.
    int BuildGraph(const std::string& path, HWND hwnd, int clientWidth, int clientHeight);

    // Releases the interfaces in their fixed order with the waits between
    // them (100 ms after the position, 100 ms after the control interface);
    // the filter graph manager stays while the closing flag is set.
    void ReleaseGraph();

    IMediaControl* Control() const { return PreviewStateOf().pMediaControl; }
    IMediaPosition* Position() const { return PreviewStateOf().pMediaPosition; }
    IMediaEventEx* Events() const { return PreviewStateOf().pMediaEvent; }
    IVideoWindow* VideoWindow() const { return PreviewStateOf().pVideoWindow; }
};
