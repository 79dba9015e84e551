// The slider window driven with the pointer and the keys: what it asks of
// the range model, the tooltip texts, what it draws and what assistive
// tools read.
#include <QAccessible>
#include <QTest>
#include <gtest/gtest.h>

#include "preview/range_slider.h"
#include "range_recorder.h"

namespace {

struct SliderFixture : ::testing::Test {
    CRangeModel range;
    QWidget parent;
    CRangeSlider* slider = new CRangeSlider(range, &parent);
    RangeRecorder recorder{range};
    int grabs = 0;

    void SetUp() override {
        parent.resize(400, 60);
        slider->setGeometry(0, 0, 316, 20);
        parent.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
        QObject::connect(slider, &CRangeSlider::MarkerGrabbed, [this] { ++grabs; });
        range.Load(100);
        recorder.Take();
    }
    void Drag(int fromX, int toX, int y = 10) {
        QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(fromX, y));
        QTest::mouseMove(slider, QPoint((fromX + toX) / 2, y));
        QTest::mouseMove(slider, QPoint(toX, y));
        QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(toX, y));
        QCoreApplication::processEvents();
    }
};

}  // namespace

TEST_F(SliderFixture, HandlesSetTheRangeOnReleaseTheMarkerIsGrabbedAndSeeks) {
    Drag(4, 158);  // begin handle to 50 s
    ASSERT_EQ(recorder.Of("begin").size(), 1u);
    EXPECT_EQ(range.Begin(), 50u);
    // The marker was dragged along and a seek asked for meanwhile, before
    // the release set the begin.
    const std::vector<std::string> seen = recorder.Take();
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(seen[seen.size() - 2].rfind("slider seek ", 0), 0u);
    EXPECT_EQ(seen.back(), "begin 50");

    Drag(312, 248);  // end handle to 80 s
    EXPECT_EQ(recorder.Take(), std::vector<std::string>{"end 80"});
    EXPECT_EQ(range.End(), 80u);

    Drag(157, 200);  // the marker (at 158 after the begin drag)
    EXPECT_EQ(grabs, 1);
    EXPECT_EQ(recorder.Take(), std::vector<std::string>{"slider seek 64"});
}

TEST_F(SliderFixture, DraggingOutOfTheSliderCommitsOnlyTheMarker) {
    QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(4, 10));
    QTest::mouseMove(slider, QPoint(100, 10));
    QTest::mouseMove(slider, QPoint(100, 40));  // below the slider
    QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(100, 40));
    QCoreApplication::processEvents();
    EXPECT_TRUE(recorder.Of("begin").empty());
    EXPECT_EQ(slider->Model().Begin(), 0u);
    EXPECT_EQ(range.Begin(), 0u);

    recorder.Take();
    const int x = slider->Model().MarkerRect().right - 1;
    QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(x, 10));
    QTest::mouseMove(slider, QPoint(158, 10));
    QTest::mouseMove(slider, QPoint(158, 40));
    QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(158, 40));
    QCoreApplication::processEvents();
    EXPECT_EQ(recorder.Take(), std::vector<std::string>{"slider seek 50"});
}

TEST_F(SliderFixture, DoubleClickOnTheEndHandleSetsTheDuration) {
    Drag(312, 200);
    recorder.Take();
    QTest::mouseDClick(slider, Qt::LeftButton, {}, QPoint(202, 10));
    QCoreApplication::processEvents();
    auto ends = recorder.Of("end");
    ASSERT_FALSE(ends.empty());
    EXPECT_EQ(ends.back(), "end 100");
    EXPECT_EQ(range.End(), 100u);
    EXPECT_EQ(slider->Model().EndRect().right, 316);
}

TEST_F(SliderFixture, RangeChangesAndTooltip) {
    range.SetBegin(30);
    range.SetEnd(60);
    range.SetPosition(45);
    EXPECT_EQ(slider->Model().BeginRect().right, 98);
    EXPECT_EQ(slider->Model().EndRect().left, 188);
    EXPECT_EQ(slider->Model().MarkerRect().right, 143);
    // Nothing is asked back.
    EXPECT_EQ(recorder.Take(), (std::vector<std::string>{"begin 30", "end 60", "position 45"}));

    QTest::mouseMove(slider, QPoint(185 + 5, 10));
    EXPECT_EQ(slider->TipText(), "End Time: 00:01:00");
    QTest::mouseMove(slider, QPoint(142, 10));
    EXPECT_EQ(slider->TipText(), "Current Time: 00:00:45");
    QTest::mouseMove(slider, QPoint(92, 10));
    EXPECT_EQ(slider->TipText(), "Begin Time: 00:00:30");
}

TEST_F(SliderFixture, DrawsTheRampBetweenTheHandlesAndGreyWhenDisabled) {
    range.SetBegin(30);
    range.SetEnd(60);
    QImage img = slider->grab().toImage();
    // Inside the range the ramp runs from light at the track's top to dark
    // at its bottom; outside it the track is background.
    const QColor top = img.pixelColor(140, 6);
    const QColor bottom = img.pixelColor(140, 13);
    EXPECT_GT(top.lightness(), bottom.lightness() + 60);
    EXPECT_EQ(img.pixelColor(40, 10), QColor(Qt::white));
    EXPECT_EQ(img.pixelColor(94, 10), QColor(127, 127, 127));  // begin handle
    EXPECT_EQ(img.pixelColor(90, 3), QColor(0, 0, 255));       // its top border
    EXPECT_EQ(img.pixelColor(97, 16), QColor(0, 255, 0));      // its bottom border
    EXPECT_EQ(img.pixelColor(0, 10), QColor(4, 0, 0));         // track outline

    slider->setEnabled(false);  // the toolkit's own call also switches the drawing
    EXPECT_FALSE(slider->IsSliderEnabled());
    img = slider->grab().toImage();
    EXPECT_EQ(img.pixelColor(140, 10), QColor(127, 127, 127));
    EXPECT_EQ(img.pixelColor(40, 10), QColor(127, 127, 127));
}

TEST_F(SliderFixture, KeysMoveTheFocusedHandleWhichToolsReadAndSet) {
    parent.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&parent));
    const QImage unfocused = slider->grab().toImage();
    slider->setFocus(Qt::TabFocusReason);  // Tab into it: the begin handle
    QAccessibleInterface* tool = QAccessible::queryAccessibleInterface(slider);
    ASSERT_NE(tool, nullptr);
    ASSERT_NE(tool->valueInterface(), nullptr);
    EXPECT_EQ(tool->role(), QAccessible::Slider);
    EXPECT_EQ(tool->text(QAccessible::Name), "Begin Time");
    // The focus shows as a frame round the handle.
    EXPECT_NE(slider->grab().toImage(), unfocused);

    QTest::keyClick(slider, Qt::Key_Right);
    QTest::keyClick(slider, Qt::Key_PageUp);
    EXPECT_EQ(range.Begin(), 11u);
    EXPECT_EQ(tool->valueInterface()->currentValue().toUInt(), 11u);
    EXPECT_EQ(tool->text(QAccessible::Value), "00:00:11");
    // The handle pushes the marker along and the player is asked to follow.
    EXPECT_EQ(recorder.Of("slider seek"),
              (std::vector<std::string>{"slider seek 1", "slider seek 11"}));
    QTest::keyClick(slider, Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(slider, Qt::Key_PageDown);  // stops at the track's start
    EXPECT_EQ(range.Begin(), 0u);

    // The next Tab gives the keys to the end handle, which stops at the begin.
    QTest::keyClick(slider, Qt::Key_Tab);
    EXPECT_TRUE(slider->hasFocus());
    EXPECT_EQ(tool->text(QAccessible::Name), "End Time");
    EXPECT_EQ(tool->valueInterface()->currentValue().toUInt(), 100u);
    range.SetBegin(95);
    QTest::keyClick(slider, Qt::Key_PageDown);
    EXPECT_EQ(range.End(), 95u);
    tool->valueInterface()->setCurrentValue(97);
    EXPECT_EQ(range.End(), 97u);
    EXPECT_EQ(slider->Model().EndRect().left, slider->Model().PositionOf(97));

    // A click chooses the handle under the pointer.
    QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(slider->Model().BeginRect().left + 2, 10));
    EXPECT_EQ(tool->text(QAccessible::Name), "Begin Time");
}
