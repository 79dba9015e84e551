// A drop-down list (no typing) for the profile panels. When its list drops
// down it shows at most 10 entries and records its current selection as the
// process-wide selection at drop-down, which the panel compares with the
// selection the user then makes. Tab is posted to the parent with the
// control id, and Enter gives the focus to the parent, as CNumberEdit does.
//
// The user's choice is QComboBox::activated (also when the same entry is
// chosen again); setting the selection from code sends no such signal.
// Threads: user-interface thread only, like every widget.
#pragma once

#include <QComboBox>

class CDropCombo : public QComboBox {
    Q_OBJECT

public:
    static constexpr int kMaxDropDownEntries = 10;

    explicit CDropCombo(int controlId, QWidget* parent = nullptr);

    int ControlId() const { return m_nControlId; }

    // Adds in ascending text order, as a sorted list does; returns the position.
    int AddString(const QString& text);
    // Inserts at an explicit position, whatever the order.
    int InsertString(int position, const QString& text);

    // Selection of the list that dropped down last; -1 until one has.
    static int SelectionAtDropDown();
    static void ResetSelectionAtDropDown();

    void showPopup() override;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int m_nControlId;
};

// Sorted insertion for any combo box: case-insensitive text order, ties
// after their equals. Returns the position.
int InsertSorted(QComboBox& combo, const QString& text);
