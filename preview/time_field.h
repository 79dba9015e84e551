// CTimeField: a time as hours, minutes and seconds in three two-digit boxes
// (CTimeDigitBox). The program shows values with ShowValue; a value the
// user typed is reported to the parent with WM_TIME_EDITED (posted, wParam
// the field's control identifier, lParam the value) when a box loses the
// focus. A typed value above the maximum is replaced by the previous one
// and not reported.
#pragma once

#include <QFontMetrics>
#include <QLineEdit>
#include <QWidget>

#include "platform/win/wintypes.h"

class CTimeField;

// Where the boxes and colons go for a font. The platform's edit boxes fit
// two digits in 2·cw + 2 pixels (cw the average character width); the
// toolkit's boxes keep a 2-pixel margin on each side and digits are often
// wider than the average character, so the unit is the wider of the two and
// each box 4 pixels wider. With unit = cw and no margins this is the
// classic layout: colons at 2·cw + 3 and 5·cw + 5, boxes at 0, 3·cw + 2 and
// 6·cw + 4.
struct TimeFieldGeometry {
    int unit;
    int boxWidth;
    int boxHeight;
    int boxX[3];
    int colonX[2];
    int width;  // of the whole field
};
TimeFieldGeometry TimeFieldGeometryFor(const QFontMetrics& metrics);

// A two-character edit box that takes digits and backspace; Tab moves to
// the next box of its field, Enter gives the focus to the field, and losing
// the focus clamps the number to 59 and tells the field (WM_TIME_COMMIT).
class CTimeDigitBox : public QLineEdit {
    Q_OBJECT

public:
    explicit CTimeDigitBox(CTimeField* field);

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    CTimeField* m_field;
};

class CTimeField : public QWidget {
    Q_OBJECT

public:
    CTimeField(int controlId, QWidget* parent = nullptr);

    // Shows `seconds` unless it is above the maximum; remembers what was
    // shown before.
    void ShowValue(unsigned seconds);
    // The shown value is not changed.
    void SetMaximum(unsigned seconds) { m_nMax = seconds; }
    unsigned Maximum() const { return m_nMax; }
    // The value as read from the boxes.
    unsigned GetValue() const;
    // Shows 0 and disables the field.
    void Reset();

    unsigned Previous() const { return m_nPrevious; }
    CTimeDigitBox* Box(int index) const { return m_boxes[index]; }  // 0 hours .. 2 seconds
    QString Text() const;  // "HH:MM:SS" as the boxes show it

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    void Commit();
    void FocusNextBox();
    void PlaceBoxes();

    unsigned m_nPrevious = 0;
    unsigned m_nMax = 0;
    CTimeDigitBox* m_boxes[3];  // hours, minutes, seconds; children
    int m_nId;
};
