// Tab pressed in a field or list of a panel: the control doesn't move the
// focus itself but posts this event to its parent with its control id, and
// the parent decides where the focus goes.
#pragma once

#include <QEvent>

class CChildTabEvent : public QEvent {
public:
    explicit CChildTabEvent(int controlId) : QEvent(EventType()), m_nControlId(controlId) {}
    int ControlId() const { return m_nControlId; }
    // Registered with Qt on first use; the same value for the process.
    static QEvent::Type EventType();

private:
    int m_nControlId;
};

class QWidget;
// Posts a CChildTabEvent for `child` to its parent (none without a parent).
void PostTabToParent(QWidget* child, int controlId);
