#include "ui/drop_combo.h"

#include <QKeyEvent>

#include "ui/child_tab_event.h"

namespace {
// The selection at drop-down is shared by every list of the process.
int g_nSelectionAtDropDown = -1;
}  // namespace

CDropCombo::CDropCombo(int controlId, QWidget* parent)
    : QComboBox(parent), m_nControlId(controlId) {
    setEditable(false);
    setMaxVisibleItems(kMaxDropDownEntries);
    // Styles that open the list as a menu over the field ignore the entry
    // limit; a plain list view honours it.
    setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
}

int CDropCombo::AddString(const QString& text) {
    return InsertSorted(*this, text);
}

int CDropCombo::InsertString(int position, const QString& text) {
    if (position < 0 || position > count()) position = count();
    const int current = currentIndex();
    insertItem(position, text);
    if (current < 0) setCurrentIndex(-1);
    return position;
}

int CDropCombo::SelectionAtDropDown() {
    return g_nSelectionAtDropDown;
}

void CDropCombo::ResetSelectionAtDropDown() {
    g_nSelectionAtDropDown = -1;
}

void CDropCombo::showPopup() {
    g_nSelectionAtDropDown = currentIndex();
    QComboBox::showPopup();
}

bool CDropCombo::event(QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab && key->modifiers() == Qt::NoModifier) {
            PostTabToParent(this, m_nControlId);
            return true;
        }
    }
    return QComboBox::event(event);
}

void CDropCombo::keyPressEvent(QKeyEvent* event) {
    // A list keeps Tab for its panel; Enter is the way out of it.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (QWidget* parent = parentWidget()) parent->setFocus(Qt::OtherFocusReason);
    }
    QComboBox::keyPressEvent(event);
}

int InsertSorted(QComboBox& combo, const QString& text) {
    int position = combo.count();
    for (int i = 0; i < combo.count(); ++i) {
        if (QString::compare(text, combo.itemText(i), Qt::CaseInsensitive) < 0) {
            position = i;
            break;
        }
    }
    // Inserting into an empty combo box makes the new entry current; a
    // list keeps no selection until one is chosen.
    const int current = combo.currentIndex();
    combo.insertItem(position, text);
    if (current < 0) combo.setCurrentIndex(-1);
    return position;
}
