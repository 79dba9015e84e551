#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

#include "ui/pane_splitter.h"

namespace {

struct SplitterFixture : ::testing::Test {
    SplitterFixture() {
        frame.resize(400, 600);
        splitter = new CPaneSplitter(2, CPaneSplitter::kStacked, 158, 3);
        EXPECT_TRUE(splitter->Create(&frame));
        top = new QWidget;
        tabs = new QTabWidget;
        tabs->addTab(new QWidget, QStringLiteral("Job Commands"));
        tabs->addTab(new QWidget, QStringLiteral("Job Logs"));
        EXPECT_TRUE(splitter->AddPane(0, top));
        EXPECT_TRUE(splitter->AddPane(1, tabs, CPaneSplitter::kTabControlId));
        EXPECT_TRUE(splitter->SetProportions({70, 30}));
        frame.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&frame));
    }
    QWidget frame;
    CPaneSplitter* splitter = nullptr;
    QWidget* top = nullptr;
    QTabWidget* tabs = nullptr;
};

}  // namespace

TEST_F(SplitterFixture, FillsItsParentWithTheProportionalPanes) {
    EXPECT_EQ(splitter->geometry(), frame.rect());
    EXPECT_EQ(top->geometry(), QRect(0, 0, 400, 418));
    EXPECT_EQ(tabs->geometry(), QRect(0, 421, 400, 179));
    EXPECT_EQ(splitter->GetPaneRect(1), QRect(0, 421, 400, 179));
    EXPECT_EQ(splitter->cursor().shape(), Qt::SizeVerCursor);
    EXPECT_EQ(splitter->Pane(1), tabs);
    EXPECT_EQ(splitter->Pane(2), nullptr);
    EXPECT_FALSE(splitter->AddPane(2, new QWidget(&frame)));

    // A resize keeps the proportion, with the minimum for the lower pane.
    splitter->resize(400, 500);
    EXPECT_EQ(top->geometry(), QRect(0, 0, 400, 339));
    EXPECT_EQ(tabs->geometry(), QRect(0, 342, 400, 158));
}

TEST_F(SplitterFixture, DraggingTheBarMovesBothPanes) {
    QTest::mousePress(splitter, Qt::LeftButton, Qt::NoModifier, QPoint(200, 419));
    ASSERT_TRUE(splitter->PaneLayout().IsDragging());
    QTest::mouseMove(splitter, QPoint(200, 300));
    // The band ends where pane 1 will start: the press was 2 pixels above it.
    EXPECT_EQ(splitter->DragFeedbackRect(), QRect(0, 299, 400, 3));
    EXPECT_EQ(top->height(), 418);  // nothing moves before the release
    QTest::mouseRelease(splitter, Qt::LeftButton, Qt::NoModifier, QPoint(200, 300));
    EXPECT_FALSE(splitter->PaneLayout().IsDragging());
    EXPECT_TRUE(splitter->DragFeedbackRect().isNull());
    EXPECT_EQ(top->geometry(), QRect(0, 0, 400, 299));
    EXPECT_EQ(tabs->geometry(), QRect(0, 302, 400, 298));
}

TEST_F(SplitterFixture, DragStopsAtTheMinimum) {
    QTest::mousePress(splitter, Qt::LeftButton, Qt::NoModifier, QPoint(200, 420));
    QTest::mouseMove(splitter, QPoint(200, 590));
    QTest::mouseRelease(splitter, Qt::LeftButton, Qt::NoModifier, QPoint(200, 590));
    EXPECT_EQ(tabs->height(), 158);
    EXPECT_EQ(top->height(), 600 - 158 - 3);
}

TEST_F(SplitterFixture, PassesTheTabSelectionOn) {
    QSignalSpy spy(splitter, &CPaneSplitter::TabSelectionChanged);
    tabs->setCurrentIndex(1);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), CPaneSplitter::kTabControlId);
    EXPECT_EQ(spy.at(0).at(1).toInt(), 1);
}

TEST(PaneSplitter, SideBySidePanesSplitAlongX) {
    QWidget frame;
    frame.resize(600, 200);
    auto* splitter = new CPaneSplitter(2, CPaneSplitter::kSideBySide, 158, 3);
    ASSERT_TRUE(splitter->Create(&frame));
    auto* left = new QWidget;
    splitter->AddPane(0, left);
    splitter->SetProportions({70, 30});
    EXPECT_EQ(left->geometry(), QRect(0, 0, 418, 200));
    EXPECT_EQ(splitter->GetPaneRect(1), QRect(421, 0, 179, 200));
    EXPECT_EQ(splitter->cursor().shape(), Qt::SizeHorCursor);
}
