#include "app/log_view.h"

#include <QKeyEvent>
#include <QTextCursor>

#include "job/log_stamp.h"

CLogView::CLogView(QWidget* parent, std::size_t limit) : QPlainTextEdit(parent), m_state(limit) {
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // Keep the selection visible when the view has no focus, as the edit
    // view does.
    QPalette pal = palette();
    pal.setColor(QPalette::Text, QColor(0, 0, 255));
    pal.setColor(QPalette::Base, Qt::white);
    pal.setColor(QPalette::Inactive, QPalette::Highlight,
                 pal.color(QPalette::Active, QPalette::Highlight));
    pal.setColor(QPalette::Inactive, QPalette::HighlightedText,
                 pal.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(pal);
}

void CLogView::AppendLine(const std::string& text) {
    AppendPiece(StampLogPieceNow(text));
}

void CLogView::AppendPiece(const std::string& piece) {
    const LogEdit edit = m_state.Append(QString::fromLocal8Bit(piece).toStdU16String());
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    if (edit.dropFront) {
        cursor.setPosition(0);
        cursor.setPosition(static_cast<int>(edit.dropFront), QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
    cursor.setPosition(static_cast<int>(edit.replaceFrom));
    cursor.setPosition(static_cast<int>(edit.replaceTo), QTextCursor::KeepAnchor);
    cursor.insertText(QString::fromStdU16String(edit.piece));
    cursor.endEditBlock();
    setTextCursor(cursor);
    ensureCursorVisible();
}

bool CLogView::event(QEvent* event) {
    // Nothing is typed into the log: its characters are left to the
    // window's keys. Copying and moving around stay the view's.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers mods =
            key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
        if (mods == Qt::NoModifier && !key->text().isEmpty() && key->text().at(0).isPrint())
            return false;
    }
    return QPlainTextEdit::event(event);
}
