// The child widget that stands for the graph's video window: it is placed
// and shown through the video surface seam of its preview window's handle
// and paints the most recent picture stretched over its area.
//
// Threads: OnVideoFrame runs on a streaming thread and only copies the
// picture and queues a repaint; everything else on the widget's thread.
#pragma once

#include <QImage>
#include <QWidget>
#include <atomic>
#include <chrono>
#include <mutex>

#include "platform/dshow/video_surface.h"

class CVideoPane : public QWidget, public IVideoSurfaceHost {
    Q_OBJECT

public:
    explicit CVideoPane(QWidget* parent);

    void OnVideoFrame(const VideoFrameView& frame) override;
    void OnVideoPlacement(const RECT& rect, bool visible) override;

    // Forgets the picture (the media was closed).
    void Clear();
    // Pictures received and painted so far, and when the last new one was
    // painted (for measuring).
    int FramesReceived() const { return m_nReceived.load(); }
    int FramesPainted() const { return m_nPainted; }
    std::chrono::steady_clock::time_point LastPaintTime() const { return m_lastPaint; }
    // The latest picture and its stream time in seconds; null without one.
    QImage Picture(double* timeSeconds = nullptr) const;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    mutable std::mutex m_lock;  // guards m_picture and m_pictureTime
    QImage m_picture;
    double m_pictureTime = 0;
    bool m_bNewPicture = false;
    std::atomic<int> m_nReceived{0};
    int m_nPainted = 0;
    std::chrono::steady_clock::time_point m_lastPaint;
};
