#include <QLabel>
#include <QMainWindow>
#include <gtest/gtest.h>

#include "ui/status_bar_xp.h"

TEST(StatusBarXP, FlatPanesWithAOnePixelFrame) {
    QMainWindow window;
    auto* bar = new CStatusBarXP(&window);
    window.setStatusBar(bar);
    ASSERT_TRUE(bar->SetIndicators({"Ready", " CAP ", " NUM "}));
    window.resize(400, 200);
    window.show();
    EXPECT_EQ(bar->minimumHeight(), CStatusBarXP::kMinHeight);
    EXPECT_EQ(bar->PaneCount(), 3);
    EXPECT_EQ(bar->Pane(1)->frameShape(), QFrame::NoFrame);
    EXPECT_TRUE(bar->SetPaneText(2, " SCRL "));
    EXPECT_EQ(bar->PaneText(2), " SCRL ");
    EXPECT_FALSE(bar->SetPaneText(3, "x"));

    const QImage shot = bar->grab().toImage();
    const QRgb frame = bar->palette().color(QPalette::Dark).rgb();
    for (int i = 0; i < bar->PaneCount(); ++i) {
        const QRect pane = bar->Pane(i)->geometry();
        // The frame is the pane's own outermost ring of pixels.
        EXPECT_EQ(shot.pixel(pane.left(), pane.center().y()), frame) << i;
        EXPECT_EQ(shot.pixel(pane.right(), pane.center().y()), frame) << i;
        EXPECT_EQ(shot.pixel(pane.center().x(), pane.top()), frame) << i;
        EXPECT_EQ(shot.pixel(pane.center().x(), pane.bottom()), frame) << i;
        EXPECT_NE(shot.pixel(pane.left() + 1, pane.top() + 1), frame) << i;
    }
}
