#include "ui/number_edit.h"

#include <QKeyEvent>
#include <QRegularExpressionValidator>

#include "ui/child_tab_event.h"

CNumberEdit::CNumberEdit(int controlId, Mode mode, QWidget* parent)
    : QLineEdit(parent), m_nControlId(controlId), m_mode(mode) {
    // The validator also keeps pasted text to the same characters as typing.
    const QString pattern =
        mode == Mode::Decimal ? QStringLiteral("[0-9.]*") : QStringLiteral("[0-9]*");
    setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), this));
    setToolTip(QString::fromLatin1(kTipText));
}

bool CNumberEdit::event(QEvent* event) {
    // Tab must be caught before QWidget::event turns it into focus movement.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab && key->modifiers() == Qt::NoModifier) {
            PostTabToParent(this, m_nControlId);
            return true;
        }
    }
    return QLineEdit::event(event);
}

void CNumberEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (QWidget* parent = parentWidget()) parent->setFocus(Qt::OtherFocusReason);
        event->ignore();
        return;
    }
    QLineEdit::keyPressEvent(event);
}
