#include "platform/dshow/video_surface.h"

#include <map>
#include <mutex>

namespace {

// Calls into a host happen under the lock, so that unregistering waits for
// a picture being handed over and the host is never called afterwards.
struct SurfaceRegistry {
    std::recursive_mutex lock;
    std::map<HWND, IVideoSurfaceHost*> hosts;
};

SurfaceRegistry& Registry() {
    static SurfaceRegistry* r = new SurfaceRegistry;  // outlives static destructors
    return *r;
}

}  // namespace

void RegisterVideoSurfaceHost(HWND hwnd, IVideoSurfaceHost* host) {
    auto& r = Registry();
    std::lock_guard<std::recursive_mutex> g(r.lock);
    if (host)
        r.hosts[hwnd] = host;
    else
        r.hosts.erase(hwnd);
}

void UnregisterVideoSurfaceHost(HWND hwnd) {
    RegisterVideoSurfaceHost(hwnd, nullptr);
}

namespace zev::dshow {

void DeliverVideoFrame(HWND hwnd, const VideoFrameView& frame) {
    if (!hwnd) return;
    auto& r = Registry();
    std::lock_guard<std::recursive_mutex> g(r.lock);
    auto it = r.hosts.find(hwnd);
    if (it != r.hosts.end()) it->second->OnVideoFrame(frame);
}

void PlaceVideo(HWND hwnd, const RECT& rect, bool visible) {
    if (!hwnd) return;
    auto& r = Registry();
    std::lock_guard<std::recursive_mutex> g(r.lock);
    auto it = r.hosts.find(hwnd);
    if (it != r.hosts.end()) it->second->OnVideoPlacement(rect, visible);
}

}  // namespace zev::dshow
