// CRangeSlider: a horizontal track with a begin handle, an end handle and
// a marker for the current play position, in whole seconds. It shows the
// range model's values and changes them through it: a handle let go (or
// double clicked) sets the begin or the end, the marker dropped (or pushed
// along by a handle) asks for a seek. MarkerGrabbed tells the player that
// a marker drag started. The arithmetic is CRangeSliderModel; this class
// draws and routes.
#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

#include "preview/slider_model.h"

class CRangeModel;

class CRangeSlider : public QWidget {
    Q_OBJECT

public:
    // `range` is borrowed and must outlive the slider. The slider starts
    // disabled; a load enables it, closing the media resets it.
    explicit CRangeSlider(CRangeModel& range, QWidget* parent = nullptr);

    // Enables or disables the window; setEnabled does the same.
    void Enable(bool enable);

    const CRangeSliderModel& Model() const { return m_model; }
    bool IsSliderEnabled() const { return m_bEnabled; }
    // The text of the tooltip as last set by a pointer move.
    const QString& TipText() const { return m_szTip; }

    // The handle the keys move (Begin or End), its value in seconds, and
    // the same move as the keys make, to `seconds`; assistive tools read
    // and set the slider through these.
    SliderElement FocusedHandle() const { return m_focusHandle; }
    unsigned FocusedHandleValue() const;
    void MoveFocusedHandle(long long seconds);
    const CRangeModel& Range() const { return m_range; }

signals:
    // The marker was grabbed: playback pauses while it is dragged.
    void MarkerGrabbed();

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void changeEvent(QEvent* e) override;
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    bool focusNextPrevChild(bool next) override;

private:
    // All values 0, default geometry, disabled, repainted at once.
    void Reset();
    // The user's actions to the range; the slider's own begin and end
    // changes are not drawn again (the handle stays where it was let go).
    void Deliver(const std::vector<SliderAction>& actions);
    void UpdateTip(int x, int y, const QPoint& globalPos);
    QImage Render() const;
    void SetFocusedHandle(SliderElement handle);
    // What assistive tools are told when the focused handle or its value
    // changes.
    void AnnounceValue();

    CRangeModel& m_range;
    CRangeSliderModel m_model;
    bool m_bOwnChange = false;
    QRgb m_crBase = qRgb(0, 0, 0);  // the ramp's colour; always black
    bool m_bEnabled = true;
    QString m_szTip;
    SliderElement m_focusHandle = SliderElement::Begin;
};
