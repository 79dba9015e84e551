// CTimeField: a time as hours, minutes and seconds in three two-digit boxes
// (CTimeDigitBox), bound to one part of the range model: the begin, the
// end or the play position. It shows that value whenever the model changes
// it, and when a box loses the focus it hands a value the user typed to
// the model: a begin or an end the model refuses is replaced by the
// model's own value, a position becomes a seek. A typed value above the
// maximum is replaced by the previous one and goes nowhere.
//
// Tab inside the field runs round its boxes; Enter gives the focus to the
// field itself (its colons show it highlighted), and from there Tab goes on
// to the control after the field and Shift+Tab to the one before it.
#pragma once

#include <QFontMetrics>
#include <QLineEdit>
#include <QWidget>

class CRangeModel;
class CTimeField;

// Which of the range model's values a field shows and sets.
enum class RangePart { Begin, End, Position };

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
// the focus clamps the number to 59 and has the field read its value anew.
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
    // `range` is borrowed and must outlive the field. A load enables the
    // field and sets its maximum; closing the media resets it.
    CTimeField(CRangeModel& range, RangePart part, QWidget* parent = nullptr);

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

    // A box lost the focus: re-read the field (queued by the box).
    void Commit();
    // `seconds` entered whole, as if typed into the boxes and left (for
    // assistive tools); above the maximum it is ignored.
    void Enter(unsigned seconds);
    // Tab in a box: the next box, hours to minutes to seconds and round.
    void FocusNextBox();

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    bool focusNextPrevChild(bool next) override;

private:
    void PlaceBoxes();
    void OnLoaded(unsigned duration);
    void HandOver(unsigned seconds);

    unsigned m_nPrevious = 0;
    unsigned m_nMax = 0;
    CTimeDigitBox* m_boxes[3];  // hours, minutes, seconds; children
    CRangeModel& m_range;
    RangePart m_part;
};
