#include "preview/video_pane.h"

#include <QPainter>

CVideoPane::CVideoPane(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    hide();
}

void CVideoPane::OnVideoFrame(const VideoFrameView& frame) {
    if (frame.width <= 0 || frame.height <= 0 || !frame.pixels) return;
    // B, G, R, unused in memory: the toolkit's RGB32 on this byte order.
    QImage copy =
        QImage(frame.pixels, frame.width, frame.height, frame.strideBytes, QImage::Format_RGB32)
            .copy();
    {
        std::lock_guard<std::mutex> g(m_lock);
        m_picture = std::move(copy);
        m_pictureTime = frame.timeSeconds;
        m_bNewPicture = true;
    }
    ++m_nReceived;
    QMetaObject::invokeMethod(
        this, [this] { update(); }, Qt::QueuedConnection);
}

void CVideoPane::OnVideoPlacement(const RECT& rect, bool visible) {
    setGeometry(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    setVisible(visible);
}

void CVideoPane::Clear() {
    std::lock_guard<std::mutex> g(m_lock);
    m_picture = QImage();
    m_bNewPicture = false;
}

QImage CVideoPane::Picture(double* timeSeconds) const {
    std::lock_guard<std::mutex> g(m_lock);
    if (timeSeconds) *timeSeconds = m_pictureTime;
    return m_picture;
}

void CVideoPane::paintEvent(QPaintEvent*) {
    QImage picture;
    bool fresh;
    {
        std::lock_guard<std::mutex> g(m_lock);
        picture = m_picture;
        fresh = m_bNewPicture;
        m_bNewPicture = false;
    }
    QPainter p(this);
    if (picture.isNull()) {
        p.fillRect(rect(), QColor(4, 0, 0));
        return;
    }
    // The video window stretches the picture over its whole area.
    p.drawImage(rect(), picture);
    if (fresh) {
        ++m_nPainted;
        m_lastPaint = std::chrono::steady_clock::now();
    }
}
