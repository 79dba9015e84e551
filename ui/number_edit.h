// A field for numbers: typing accepts only the digits (and "." in decimal
// mode); Tab is posted to the parent with the field's control id instead of
// moving the focus; Enter gives the focus to the parent and is passed on, so
// a dialog's default button still answers it.
//
// Whether the user edited the text since it was last set is QLineEdit's
// isModified(): setText clears it, typing sets it.
#pragma once

#include <QLineEdit>

class CNumberEdit : public QLineEdit {
    Q_OBJECT

public:
    enum class Mode { WholeNumber, Decimal };
    static constexpr const char* kTipText = "Click the number to set new value";

    CNumberEdit(int controlId, Mode mode, QWidget* parent = nullptr);

    int ControlId() const { return m_nControlId; }
    Mode NumberMode() const { return m_mode; }

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int m_nControlId;
    Mode m_mode;
};
