// GStreamer plumbing for the graph layer: one-time initialisation, owning
// pointers for GStreamer objects, and text conversion for paths and names.
// Internal to platform/dshow.
#pragma once

#include <gst/gst.h>

#include <string>
#include <utility>

#include "platform/win/text.h"
#include "platform/win/wintypes.h"

namespace zev::dshow {

// Initialises GStreamer once per process; safe from any thread. Returns
// false when GStreamer cannot start (no plugins registry, say).
bool EnsureGstInit();

template <class T>
struct GstUnref;
template <>
struct GstUnref<GstElement> {
    static void Do(GstElement* p) { gst_object_unref(p); }
};
template <>
struct GstUnref<GstPad> {
    static void Do(GstPad* p) { gst_object_unref(p); }
};
template <>
struct GstUnref<GstBus> {
    static void Do(GstBus* p) { gst_object_unref(p); }
};
template <>
struct GstUnref<GstCaps> {
    static void Do(GstCaps* p) { gst_caps_unref(p); }
};
template <>
struct GstUnref<GstSample> {
    static void Do(GstSample* p) { gst_sample_unref(p); }
};
template <>
struct GstUnref<GstBuffer> {
    static void Do(GstBuffer* p) { gst_buffer_unref(p); }
};
template <>
struct GstUnref<GstEvent> {
    static void Do(GstEvent* p) { gst_event_unref(p); }
};

// Owns one reference of a GStreamer object.
template <class T>
class GstRef {
public:
    GstRef() = default;
    explicit GstRef(T* p) : m_p(p) {}  // adopts the reference
    GstRef(const GstRef&) = delete;
    GstRef& operator=(const GstRef&) = delete;
    GstRef(GstRef&& o) noexcept : m_p(std::exchange(o.m_p, nullptr)) {}
    GstRef& operator=(GstRef&& o) noexcept {
        if (this != &o) Reset(std::exchange(o.m_p, nullptr));
        return *this;
    }
    ~GstRef() { Reset(); }
    void Reset(T* p = nullptr) {
        if (m_p) GstUnref<T>::Do(m_p);
        m_p = p;
    }
    T* Get() const { return m_p; }
    T* Release() { return std::exchange(m_p, nullptr); }
    explicit operator bool() const { return m_p != nullptr; }

private:
    T* m_p = nullptr;
};

using ElementRef = GstRef<GstElement>;
using PadRef = GstRef<GstPad>;
using BusRef = GstRef<GstBus>;
using CapsRef = GstRef<GstCaps>;
using SampleRef = GstRef<GstSample>;

// Creates an element of `factory`, or nullptr when the plugin is missing.
GstElement* MakeElement(const char* factory, const char* name = nullptr);

// Adds "filesrc location=path ! decodebin" to `bin`; returns the decodebin,
// owned by the bin, or nullptr when a plugin is missing.
GstElement* AddFileDecoder(GstElement* bin, const std::string& path);

// The stream id carried by a pad, empty when it has none yet.
std::string StreamIdOf(GstPad* pad);

// True when a streaming task inside `pipeline` has paused, which during
// preroll means it stopped on an error (a bin may have swallowed the error
// message while it was still trying elements).
bool HasPausedTask(GstElement* pipeline);

// Copies `text` into a fixed WCHAR array, truncating and terminating.
void CopyWide(WCHAR* dst, size_t capacity, const std::wstring& text);

}  // namespace zev::dshow
