// The seam through which a host window shows a graph's video. A host (the
// preview pane) registers itself for its window handle; a graph whose video
// window is owned by that handle hands it every picture and every change of
// the video rectangle. Without a registered host the pictures are dropped,
// so graphs run the same with no display at all.
//
// Threads: OnVideoFrame runs on a streaming thread and must copy what it
// keeps before returning; OnVideoPlacement runs on the graph's owning
// thread. After UnregisterVideoSurfaceHost returns, the host is never called
// again. Register and unregister from any thread.
#pragma once

#include <cstdint>

#include "platform/win/window.h"

// One picture: 32-bit pixels, bytes B, G, R, unused in memory order (the
// layout of a little-endian 0xffRRGGBB word), rows top first.
struct VideoFrameView {
    int width;
    int height;
    int strideBytes;
    const uint8_t* pixels;
    double timeSeconds;  // stream time of the picture
};

class IVideoSurfaceHost {
public:
    virtual void OnVideoFrame(const VideoFrameView& frame) = 0;
    // The rectangle, in the window's client coordinates, and whether the
    // video is to be shown at all.
    virtual void OnVideoPlacement(const RECT& rect, bool visible) = 0;

protected:
    ~IVideoSurfaceHost() = default;
};

// The host is borrowed; a second registration for the same window replaces
// the first.
void RegisterVideoSurfaceHost(HWND hwnd, IVideoSurfaceHost* host);
void UnregisterVideoSurfaceHost(HWND hwnd);

namespace zev::dshow {
// Used by the video renderer. Nothing happens for a window without a host.
void DeliverVideoFrame(HWND hwnd, const VideoFrameView& frame);
void PlaceVideo(HWND hwnd, const RECT& rect, bool visible);
}  // namespace zev::dshow
