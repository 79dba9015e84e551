// The time field typed into as a user does: clamping, focus moves, what
// reaches the range model and what is refused.
#include <QAccessible>
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include "preview/time_field.h"
#include "range_recorder.h"

namespace {

// An end-time field.
struct FieldFixture : ::testing::Test {
    CRangeModel range;
    QWidget parent;
    CTimeField* field = new CTimeField(range, RangePart::End, &parent);
    QWidget* elsewhere = new QWidget(&parent);
    RangeRecorder recorder{range};

    void SetUp() override {
        parent.resize(300, 60);
        field->setGeometry(10, 10, TimeFieldGeometryFor(QFontMetrics(field->font())).width, 20);
        elsewhere->setFocusPolicy(Qt::StrongFocus);
        elsewhere->setGeometry(10, 35, 50, 20);
        parent.show();
        parent.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&parent));
        range.Load(5400);
        range.SetEnd(90);
        recorder.Take();
    }
    // Replaces the text of one box with `keys`, as typed.
    void Type(int box, const char* keys) {
        CTimeDigitBox* b = field->Box(box);
        b->setFocus(Qt::MouseFocusReason);
        b->selectAll();
        QTest::keyClicks(b, keys);
    }
    void Leave() {
        elsewhere->setFocus(Qt::MouseFocusReason);
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
};

}  // namespace

TEST_F(FieldFixture, BoxesClampAndFormatWhenLeft) {
    range.Load(100 * 3600);
    range.SetEnd(90);
    Type(2, "75");
    Leave();
    EXPECT_EQ(field->Box(2)->text(), "59");
    Type(1, "90");
    Leave();
    EXPECT_EQ(field->Box(1)->text(), "59");
    Type(0, "7");
    Leave();
    EXPECT_EQ(field->Box(0)->text(), "07");
    // Letters and a third digit never reach the box.
    Type(2, "a1b23");
    EXPECT_EQ(field->Box(2)->text(), "12");
}

TEST_F(FieldFixture, SetsATypedValueAndRestoresOneAboveTheMaximum) {
    Type(1, "45");  // 00:45:30 = 2730
    Leave();
    EXPECT_EQ(recorder.Take(), std::vector<std::string>{"end 2730"});
    EXPECT_EQ(range.End(), 2730u);

    // Leaving a box without typing sets nothing.
    field->Box(2)->setFocus(Qt::MouseFocusReason);
    Leave();
    EXPECT_TRUE(recorder.Take().empty());

    Type(0, "2");  // 02:45:30 is above 5400
    Leave();
    EXPECT_TRUE(recorder.Take().empty());
    EXPECT_EQ(field->Text(), "00:45:30");
    EXPECT_EQ(field->GetValue(), 2730u);

    // An end before the begin: the model refuses it and the field shows the
    // model's end again.
    range.SetBegin(600);
    recorder.Take();
    Type(1, "05");  // 00:05:30 = 330
    Leave();
    EXPECT_TRUE(recorder.Take().empty());
    EXPECT_EQ(field->Text(), "00:45:30");
    EXPECT_EQ(range.End(), 2730u);
}

TEST_F(FieldFixture, TabCyclesTheBoxesAndEnterGivesTheFocusToTheField) {
    field->Box(0)->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(field->Box(0), Qt::Key_Tab);
    QCoreApplication::processEvents();
    EXPECT_TRUE(field->Box(1)->hasFocus());
    EXPECT_EQ(field->Box(1)->selectedText(), "01");
    QTest::keyClick(field->Box(1), Qt::Key_Tab);
    QCoreApplication::processEvents();
    QTest::keyClick(field->Box(2), Qt::Key_Tab);
    QCoreApplication::processEvents();
    EXPECT_TRUE(field->Box(0)->hasFocus());

    recorder.Take();
    Type(2, "5");
    QTest::keyClick(field->Box(2), Qt::Key_Return);
    QCoreApplication::processEvents();  // the box has the field read itself
    EXPECT_TRUE(field->hasFocus());
    EXPECT_EQ(field->Text(), "00:01:05");
    EXPECT_EQ(recorder.Take(), std::vector<std::string>{"end 65"});
}

TEST_F(FieldFixture, AfterEnterTabLeavesTheFieldAndToolsReadAndSetItsValue) {
    Type(2, "5");
    QTest::keyClick(field->Box(2), Qt::Key_Return);
    QCoreApplication::processEvents();
    ASSERT_TRUE(field->hasFocus());
    QTest::keyClick(field, Qt::Key_Tab);
    EXPECT_TRUE(elsewhere->hasFocus());

    QAccessibleInterface* tool = QAccessible::queryAccessibleInterface(field);
    ASSERT_NE(tool, nullptr);
    ASSERT_NE(tool->valueInterface(), nullptr);
    EXPECT_EQ(tool->role(), QAccessible::Grouping);
    EXPECT_EQ(tool->text(QAccessible::Value), "00:01:05");
    EXPECT_EQ(tool->valueInterface()->currentValue().toUInt(), 65u);
    tool->valueInterface()->setCurrentValue(125);  // as typed and left
    EXPECT_EQ(range.End(), 125u);
    EXPECT_EQ(field->Text(), "00:02:05");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(field->Box(1))->text(QAccessible::Name),
              "Minutes");
}

TEST_F(FieldFixture, ShowValueIgnoresValuesAboveTheMaximum) {
    field->ShowValue(5401);
    EXPECT_EQ(field->Text(), "00:01:30");
    field->SetMaximum(400000);
    field->ShowValue(360000);
    EXPECT_EQ(field->Text(), "100:00:00");
    EXPECT_EQ(field->GetValue(), 360000u);
    EXPECT_EQ(field->Previous(), 90u);
    range.Close();  // the media was closed: the field resets
    EXPECT_EQ(field->Text(), "00:00:00");
    EXPECT_FALSE(field->Box(0)->isEnabled());
}

TEST(TimeFieldGeometry, BoxesHoldTwoDigitsAndLeaveRoomForTheColons) {
    for (int size : {8, 10, 13, 20}) {
        QFont font;
        font.setPixelSize(size);
        const QFontMetrics fm(font);
        const TimeFieldGeometry g = TimeFieldGeometryFor(fm);
        // Two digits and the edit box's margins of 2 pixels on each side.
        EXPECT_GE(g.boxWidth, fm.horizontalAdvance("00") + 4) << size;
        for (int i = 0; i < 2; ++i) {
            EXPECT_GE(g.colonX[i], g.boxX[i] + g.boxWidth) << size;
            EXPECT_LE(g.colonX[i] + fm.horizontalAdvance(':'), g.boxX[i + 1] + 1) << size;
        }
        EXPECT_EQ(g.width, g.boxX[2] + g.boxWidth);
    }
}
