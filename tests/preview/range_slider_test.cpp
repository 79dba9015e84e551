// The slider window driven with the pointer: what reaches its parent, the
// tooltip texts, and what it draws.
#include <QTest>
#include <gtest/gtest.h>

#include "message_recorder.h"
#include "preview/preview_messages.h"
#include "preview/range_slider.h"

namespace {

struct SliderFixture : ::testing::Test {
    MessageRecorder parent;
    CRangeSlider* slider = new CRangeSlider(&parent);

    void SetUp() override {
        parent.resize(400, 60);
        slider->setGeometry(0, 0, 316, 20);
        parent.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
        slider->Reset();
        slider->SetMaximum(100);
        slider->Enable(true);
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

TEST_F(SliderFixture, HandlesReportOnReleaseMarkerStartsAndSeeks) {
    Drag(4, 158);  // begin handle to 50 s
    auto begins = parent.Of(WM_SET_BEGIN);
    ASSERT_EQ(begins.size(), 1u);
    EXPECT_EQ(begins[0].lParam, 50);
    // The marker was dragged along and the parent told to seek meanwhile.
    ASSERT_FALSE(parent.Of(WM_SET_POSITION).empty());
    EXPECT_EQ(parent.Of(WM_SET_POSITION).back().wParam, 1u);

    parent.messages.clear();
    Drag(312, 248);  // end handle to 80 s
    ASSERT_EQ(parent.Of(WM_SET_END).size(), 1u);
    EXPECT_EQ(parent.Of(WM_SET_END)[0].lParam, 80);

    parent.messages.clear();
    Drag(157, 200);  // the marker (at 158 after the begin drag)
    ASSERT_EQ(parent.Of(WM_DRAG_START).size(), 1u);
    auto seeks = parent.Of(WM_SET_POSITION);
    ASSERT_EQ(seeks.size(), 1u);
    EXPECT_EQ(seeks[0].lParam, 64);
}

TEST_F(SliderFixture, DraggingOutOfTheSliderCommitsOnlyTheMarker) {
    QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(4, 10));
    QTest::mouseMove(slider, QPoint(100, 10));
    QTest::mouseMove(slider, QPoint(100, 40));  // below the slider
    QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(100, 40));
    QCoreApplication::processEvents();
    EXPECT_TRUE(parent.Of(WM_SET_BEGIN).empty());
    EXPECT_EQ(slider->Model().Begin(), 0u);

    parent.messages.clear();
    const int x = slider->Model().MarkerRect().right - 1;
    QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(x, 10));
    QTest::mouseMove(slider, QPoint(158, 10));
    QTest::mouseMove(slider, QPoint(158, 40));
    QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(158, 40));
    QCoreApplication::processEvents();
    auto seeks = parent.Of(WM_SET_POSITION);
    ASSERT_EQ(seeks.size(), 1u);
    EXPECT_EQ(seeks[0].lParam, 50);
}

TEST_F(SliderFixture, DoubleClickOnTheEndHandleSendsTheDuration) {
    Drag(312, 200);
    parent.messages.clear();
    QTest::mouseDClick(slider, Qt::LeftButton, {}, QPoint(202, 10));
    QCoreApplication::processEvents();
    auto ends = parent.Of(WM_SET_END);
    ASSERT_FALSE(ends.empty());
    EXPECT_EQ(ends.back().lParam, 100);
    EXPECT_EQ(slider->Model().EndRect().right, 316);
}

TEST_F(SliderFixture, ParentMessagesAndTooltip) {
    PostWinMessage(slider, WM_SET_BEGIN, 0, 30);
    PostWinMessage(slider, WM_SET_END, 0, 60);
    PostWinMessage(slider, WM_SET_POSITION, 0, 45);
    QCoreApplication::processEvents();
    EXPECT_EQ(slider->Model().BeginRect().right, 98);
    EXPECT_EQ(slider->Model().EndRect().left, 188);
    EXPECT_EQ(slider->Model().MarkerRect().right, 143);
    EXPECT_TRUE(parent.messages.empty());  // nothing goes back

    QTest::mouseMove(slider, QPoint(185 + 5, 10));
    EXPECT_EQ(slider->TipText(), "End Time: 00:01:00");
    QTest::mouseMove(slider, QPoint(142, 10));
    EXPECT_EQ(slider->TipText(), "Current Time: 00:00:45");
    QTest::mouseMove(slider, QPoint(92, 10));
    EXPECT_EQ(slider->TipText(), "Begin Time: 00:00:30");
}

TEST_F(SliderFixture, DrawsTheRampBetweenTheHandlesAndGreyWhenDisabled) {
    PostWinMessage(slider, WM_SET_BEGIN, 0, 30);
    PostWinMessage(slider, WM_SET_END, 0, 60);
    QCoreApplication::processEvents();
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
