// A bordered label that shortens a long path in the middle with an
// ellipsis; text() keeps the whole path.
#pragma once

#include <QFrame>
#include <QString>

class CPathLabel : public QFrame {
    Q_OBJECT

public:
    explicit CPathLabel(QWidget* parent = nullptr);
    void setText(const QString& text);
    QString text() const { return m_text; }
    // The text as drawn at the current width.
    QString ShownText() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
};
