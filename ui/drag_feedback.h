// The band shown while a splitter bar is dragged: what lies under it with
// every other pixel inverted (a halftone pattern-invert), so hiding it
// restores the picture.
#pragma once

#include <QPixmap>
#include <QWidget>

class CDragFeedback : public QWidget {
public:
    explicit CDragFeedback(QWidget* parent);

    // Takes a picture of the parent with its children to invert from.
    void Start();
    // Shows the band at `band` (parent coordinates).
    void MoveTo(const QRect& band);
    void Stop();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_snapshot;
};
