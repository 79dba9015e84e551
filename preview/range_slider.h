// CRangeSlider: a horizontal track with a begin handle, an end handle and
// a marker for the current play position, in whole seconds. The parent owns
// the authoritative values; the slider tells it what the user did and is
// told what to show (messages in preview_messages.h):
//   to the parent:  WM_DRAG_START (posted) when the marker is grabbed;
//                   WM_SET_POSITION (posted while a handle drags the marker
//                   along, sent when a marker drag ends); WM_SET_BEGIN and
//                   WM_SET_END (sent) when a handle is released or double
//                   clicked.
//   from the parent: WM_SET_POSITION, WM_SET_BEGIN, WM_SET_END (posted).
// The arithmetic is CRangeSliderModel; this class draws and routes.
#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

#include "preview/preview_messages.h"
#include "preview/slider_model.h"

class CRangeSlider : public QWidget {
    Q_OBJECT

public:
    explicit CRangeSlider(QWidget* parent = nullptr);

    // The maximum and the end value; the handles stay where they are.
    void SetMaximum(int seconds);
    // Enables or disables the window; setEnabled does the same.
    void Enable(bool enable);
    // All values 0, default geometry, disabled, repainted at once.
    void Reset();

    const CRangeSliderModel& Model() const { return m_model; }
    bool IsSliderEnabled() const { return m_bEnabled; }
    // The text of the tooltip as last set by a pointer move.
    const QString& TipText() const { return m_szTip; }

    // The window procedure for the parent's messages.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    void Deliver(const std::vector<SliderMessage>& messages);
    void UpdateTip(int x, int y, const QPoint& globalPos);
    QImage Render() const;

    CRangeSliderModel m_model;
    QRgb m_crBase = qRgb(0, 0, 0);  // the ramp's colour; always black
    bool m_bEnabled = true;
    QString m_szTip;
};
