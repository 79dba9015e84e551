// The window's keys: marking the range, playing and seeking in the preview
// from the keyboard, and F6 between the panes.
//
// The preview's keys act wherever the focus is in the window unless the
// focused control needs the key itself: a text field being typed in keeps
// every key (the toolkit's own rule), a button Space, the tab strip and
// the range slider their arrows. A list keeps only its own Up and Down: a
// list chosen from with the pointer keeps the focus, and Space must still
// play then. While a job is under way the keys do nothing.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QTabBar>

#include "app/main_frame.h"
#include "app/preview_pane.h"
#include "ui/focus_chain.h"
#include "ui/pane_splitter.h"

namespace {

constexpr int kLongStepSeconds = 10;

// A key that the focused control uses itself: the window's keys give way.
bool ControlKeepsKey(const QWidget* focus, const QKeyEvent& key) {
    const Qt::KeyboardModifiers mods = key.modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    if (!focus || mods != Qt::NoModifier) return false;
    const int k = key.key();
    // Space presses a focused button: the keyboard's way to press it.
    if (qobject_cast<const QAbstractButton*>(focus)) return k == Qt::Key_Space;
    if (qobject_cast<const QTabBar*>(focus)) return k == Qt::Key_Left || k == Qt::Key_Right;
    return false;
}

}  // namespace

void CMainFrame::BuildKeys() {
    AddPreviewKey(QKeySequence(Qt::Key_I), [this] { m_pPreview->MarkBegin(); });
    AddPreviewKey(QKeySequence(Qt::Key_O), [this] { m_pPreview->MarkEnd(); });
    // Held down, Space would only flicker between playing and pausing.
    AddPreviewKey(QKeySequence(Qt::Key_Space), [this] {
        m_pPreview->PlayOrPause();
    })->setAutoRepeat(false);
    AddPreviewKey(QKeySequence(Qt::Key_Left), [this] { m_pPreview->SeekBy(-1); });
    AddPreviewKey(QKeySequence(Qt::Key_Right), [this] { m_pPreview->SeekBy(1); });
    AddPreviewKey(QKeySequence(Qt::SHIFT | Qt::Key_Left),
                  [this] { m_pPreview->SeekBy(-kLongStepSeconds); });
    AddPreviewKey(QKeySequence(Qt::SHIFT | Qt::Key_Right),
                  [this] { m_pPreview->SeekBy(kLongStepSeconds); });
    AddPreviewKey(QKeySequence(Qt::Key_Home), [this] { m_pPreview->SeekToBegin(); });
    AddPreviewKey(QKeySequence(Qt::Key_End), [this] { m_pPreview->SeekToEnd(); });

    // The next and the previous pane: accelerators of the command table.
    const auto addPaneKey = [this](unsigned id, const QKeySequence& key) {
        auto* action = new QAction(this);
        action->setShortcut(key);
        connect(action, &QAction::triggered, this, [this, id] { SendCommand(id); });
        addAction(action);
        m_actions.insert(id, action);
    };
    addPaneKey(cmd::kNextPane, QKeySequence(Qt::Key_F6));
    addPaneKey(cmd::kPrevPane, QKeySequence(Qt::SHIFT | Qt::Key_F6));
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (!now || now->focusPolicy() == Qt::NoFocus) return;
        for (int i = 0; i < 2; ++i) {
            if (QWidget* pane = m_pSplitter->Pane(i); pane && pane->isAncestorOf(now))
                m_paneFocus[i] = now;
        }
    });
}

QAction* CMainFrame::AddPreviewKey(const QKeySequence& key, std::function<void()> action) {
    auto* a = new QAction(this);
    a->setShortcut(key);
    connect(a, &QAction::triggered, this, [this, action = std::move(action)] {
        if (m_session.Phase() == JobPhase::Idle) action();
    });
    addAction(a);
    return a;
}

bool CMainFrame::event(QEvent* event) {
    // Sent up from the focused control when no control below claimed the key.
    if (event->type() == QEvent::ShortcutOverride &&
        ControlKeepsKey(QApplication::focusWidget(), *static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QMainWindow::event(event);
}

void CMainFrame::MovePaneFocus(bool next) {
    // Moving the focus changes nothing of a job: F6 works during one too,
    // so that Stop is near at hand.
    constexpr int kPanes = 2;
    const QWidget* focus = QApplication::focusWidget();
    int current = -1;
    for (int i = 0; i < kPanes; ++i) {
        const QWidget* pane = m_pSplitter->Pane(i);
        if (pane && focus && (pane == focus || pane->isAncestorOf(focus))) current = i;
    }
    const int target =
        current < 0 ? (next ? 0 : kPanes - 1) : (current + (next ? 1 : kPanes - 1)) % kPanes;
    // Back to the control that had the focus there last, or the pane's first.
    QWidget* to = m_paneFocus[target];
    if (!to || !to->isEnabled() || !to->isVisibleTo(this))
        to = FirstTabStopIn(m_pSplitter->Pane(target));
    if (to) to->setFocus(Qt::OtherFocusReason);
}
