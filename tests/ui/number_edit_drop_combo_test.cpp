// The panels' number field and drop-down list, driven by keys and the
// mouse, with a parent that records the Tab events they post.
#include <QAbstractItemView>
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>
#include <vector>

#include "ui/child_tab_event.h"
#include "ui/drop_combo.h"
#include "ui/number_edit.h"

namespace {

class TabRecorder : public QWidget {
public:
    bool event(QEvent* e) override {
        if (e->type() == CChildTabEvent::EventType()) {
            tabs.push_back(static_cast<CChildTabEvent*>(e)->ControlId());
            return true;
        }
        return QWidget::event(e);
    }
    std::vector<int> tabs;
};

struct ToolkitFixture : ::testing::Test {
    ToolkitFixture() {
        parent.resize(300, 200);
        parent.show();
        parent.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&parent));
    }
    TabRecorder parent;
};

}  // namespace

TEST_F(ToolkitFixture, NumberFieldTakesOnlyDigitsAndDecimalModeAlsoThePoint) {
    CNumberEdit whole(1001, CNumberEdit::Mode::WholeNumber, &parent);
    CNumberEdit decimal(1003, CNumberEdit::Mode::Decimal, &parent);
    QTest::keyClicks(&whole, "12a-3.4 ");
    EXPECT_EQ(whole.text(), "1234");
    QTest::keyClick(&whole, Qt::Key_Backspace);
    EXPECT_EQ(whole.text(), "123");
    EXPECT_TRUE(whole.isModified());
    whole.setText("7");
    EXPECT_FALSE(whole.isModified());  // setting the text clears the edit report
    QTest::keyClicks(&decimal, "25x6.9");
    EXPECT_EQ(decimal.text(), "256.9");
    EXPECT_EQ(whole.toolTip(), "Click the number to set new value");
}

TEST_F(ToolkitFixture, TabIsPostedToTheParentAndEnterGivesItTheFocus) {
    CNumberEdit edit(1002, CNumberEdit::Mode::WholeNumber, &parent);
    CDropCombo combo(1006, &parent);
    combo.addItem("Mono");
    edit.show();
    combo.show();
    edit.setFocus();
    QTest::keyClick(&edit, Qt::Key_Tab);
    EXPECT_TRUE(edit.hasFocus());      // the field itself doesn't move on
    EXPECT_TRUE(parent.tabs.empty());  // posted, not sent
    QApplication::processEvents();
    combo.setFocus();
    QTest::keyClick(&combo, Qt::Key_Tab);
    QApplication::processEvents();
    EXPECT_EQ(parent.tabs, (std::vector<int>{1002, 1006}));
    EXPECT_EQ(edit.text(), "");

    edit.setFocus();
    QTest::keyClick(&edit, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), &parent);
}

TEST_F(ToolkitFixture, DropListSortsAddsKeepsInsertsAndRecordsTheSelectionAtDropDown) {
    CDropCombo list(1007, &parent);
    EXPECT_EQ(list.AddString("44100"), 0);
    EXPECT_EQ(list.AddString(" 8000"), 0);
    EXPECT_EQ(list.AddString("22050"), 1);
    EXPECT_EQ(list.currentIndex(), -1);  // adding selects nothing
    EXPECT_EQ(list.InsertString(0, "zz"), 0);
    EXPECT_EQ(list.itemText(0), "zz");
    EXPECT_EQ(list.itemText(1), " 8000");
    EXPECT_EQ(list.itemText(3), "44100");

    CDropCombo::ResetSelectionAtDropDown();
    EXPECT_EQ(CDropCombo::SelectionAtDropDown(), -1);
    list.setCurrentIndex(2);
    list.showPopup();
    EXPECT_EQ(CDropCombo::SelectionAtDropDown(), 2);
    list.hidePopup();
}

TEST_F(ToolkitFixture, DropDownShowsAtMostTenEntries) {
    CDropCombo list(1004, &parent);
    for (int i = 30; i >= 1; --i) list.InsertString(list.count(), QString::number(i));
    list.setGeometry(10, 10, 80, 24);
    list.show();
    list.showPopup();
    QAbstractItemView* view = list.view();
    const int row = view->sizeHintForRow(0);
    ASSERT_GT(row, 0);
    const int shown = view->viewport()->height() / row;
    EXPECT_EQ(shown, 10);
    list.hidePopup();

    CDropCombo few(1006, &parent);
    few.addItem("Mono");
    few.addItem("Stereo");
    few.show();
    few.showPopup();
    EXPECT_LT(few.view()->viewport()->height(), 3 * few.view()->sizeHintForRow(0));
    few.hidePopup();
}
