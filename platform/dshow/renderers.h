// The default renderers that automatic graph building inserts, and the null
// renderer. Internal.
#pragma once

#include <mutex>

#include <gst/app/gstappsink.h>

#include "platform/dshow/filter_base.h"

namespace zev::dshow {

constexpr const wchar_t* kVideoRendererName = L"Video Renderer";
constexpr const wchar_t* kAudioRendererName = L"Default DirectSound Device";
constexpr const wchar_t* kNullRendererName = L"Null Renderer";

// Shows pictures through the video surface seam of its owner window.
class VideoRenderer final : public FilterBase {
public:
    VideoRenderer();
    bool AcceptInput(Pin* input, Pin* from, const MediaFormat& offered,
                     MediaFormat* agreed) override;
    GstElement* BuildBranch(Pin* input, const BranchContext& ctx) override;

    // The video window's settings; owning thread.
    void SetOwner(HWND owner);
    HWND Owner() const;
    void SetStyle(long style) { m_style = style; }
    void SetPosition(const RECT& rect);
    void SetVisible(bool visible);
    bool Visible() const;
    void SetAutoShow(bool autoShow) { m_autoShow = autoShow; }
    void OnGraphStarting() override;

private:
    static GstFlowReturn OnPreroll(GstAppSink* sink, gpointer self);
    static GstFlowReturn OnSample(GstAppSink* sink, gpointer self);
    void Present(GstSample* sample);
    void Place();

    mutable std::mutex m_lock;  // the owner is read on streaming threads
    HWND m_owner = nullptr;
    RECT m_rect{0, 0, 0, 0};
    bool m_visible = true;
    bool m_autoShow = true;
    long m_style = 0;
};

// Plays sound on the machine's audio device, or, where there is none, keeps
// time on the clock like a device would.
class AudioRenderer final : public FilterBase {
public:
    AudioRenderer();
    bool AcceptInput(Pin* input, Pin* from, const MediaFormat& offered,
                     MediaFormat* agreed) override;
    GstElement* BuildBranch(Pin* input, const BranchContext& ctx) override;
};

class NullRenderer final : public FilterBase {
public:
    NullRenderer();
    bool AcceptInput(Pin* input, Pin* from, const MediaFormat& offered,
                     MediaFormat* agreed) override;
    GstElement* BuildBranch(Pin* input, const BranchContext& ctx) override;
};

HRESULT CreateNullRenderer(REFIID riid, void** ppv);

}  // namespace zev::dshow
