#include <gtest/gtest.h>

#include "ui/pane_layout.h"

namespace {

// The main window's split: two stacked panes, 70 to 30, minimum 158, bar 3.
CPaneLayout MainSplit(int height) {
    CPaneLayout layout(2, 158, 3);
    EXPECT_TRUE(layout.SetProportions({70, 30}));
    layout.Layout(height);
    return layout;
}

}  // namespace

TEST(PaneLayout, SharesFromConstructionAndProportions) {
    CPaneLayout three(3, 0, 3);
    EXPECT_EQ(three.Share(0), 10923);  // (1 + 32768) / 3
    EXPECT_EQ(three.Share(1), 10923);
    EXPECT_EQ(three.Share(2), 32768 - 2 * 10923);

    CPaneLayout two(2, 158, 3);
    ASSERT_TRUE(two.SetProportions({70, 30}));
    EXPECT_EQ(two.Share(0), 22938);
    EXPECT_EQ(two.Share(1), 9830);
    EXPECT_FALSE(two.SetProportions({1, 2, 3}));
    EXPECT_FALSE(two.SetProportions({0, 0}));
    EXPECT_EQ(two.Share(0), 22938);
}

TEST(PaneLayout, RoundedDivision) {
    EXPECT_EQ(RoundedDiv(22938, 597, 32768), 418);
    EXPECT_EQ(RoundedDiv(158, 32768, 497), 10417);
    EXPECT_EQ(RoundedDiv(-7, 1, 2), -3);  // truncation toward zero
    EXPECT_EQ(RoundedDiv(5, 5, 0), 0);
}

TEST(PaneLayout, MainSplitAtThreeHeights) {
    const CPaneLayout at600 = MainSplit(600);
    EXPECT_EQ(at600.PaneStart(0), 0);
    EXPECT_EQ(at600.PaneEnd(0), 418);
    EXPECT_EQ(at600.PaneStart(1), 421);
    EXPECT_EQ(at600.PaneEnd(1), 600);

    // Pane 1's 149 pixels are below the minimum: it gets exactly 158.
    const CPaneLayout at500 = MainSplit(500);
    EXPECT_EQ(at500.Share(1), 10417);
    EXPECT_EQ(at500.PaneEnd(0), 339);
    EXPECT_EQ(at500.PaneStart(1), 342);
    EXPECT_EQ(at500.PaneEnd(1), 500);

    // Less than both minimums and the bar: the first pane keeps its minimum.
    const CPaneLayout at300 = MainSplit(300);
    EXPECT_EQ(at300.PaneEnd(0), 158);
    EXPECT_EQ(at300.PaneStart(1), 161);
    EXPECT_EQ(at300.PaneEnd(1), 300);
    EXPECT_EQ(at300.Share(0) + at300.Share(1), 32768);
}

TEST(PaneLayout, ProportionReturnsWhenThereIsRoomAgain) {
    CPaneLayout layout = MainSplit(500);
    layout.Layout(1000);
    // The raised pane keeps its raised share; the layout doesn't remember 70/30.
    EXPECT_EQ(layout.Share(0) + layout.Share(1), 32768);
    EXPECT_GT(layout.PaneEnd(1) - layout.PaneStart(1), 158);
    EXPECT_EQ(layout.PaneEnd(1), 1000);
}

TEST(PaneLayout, MorePanesThanTheLengthAllows) {
    CPaneLayout layout(4, 100, 3);
    layout.Layout(250);  // 241 for panes: room for two minimums only
    EXPECT_EQ(layout.PaneStart(0), 0);
    EXPECT_EQ(layout.PaneEnd(0), 100);
    EXPECT_EQ(layout.PaneStart(1), 103);
    EXPECT_EQ(layout.PaneEnd(1), 203);
    EXPECT_EQ(layout.PaneStart(2), 206);
    EXPECT_EQ(layout.PaneEnd(2), 247);  // what is left
    EXPECT_EQ(layout.Share(3), 0);      // nothing
    EXPECT_EQ(layout.PaneStart(3), layout.PaneEnd(3));
    EXPECT_EQ(layout.PaneEnd(3), 250);
}

TEST(PaneLayout, TinyAndEmptyExtentsDontBreak) {
    CPaneLayout layout(2, 158, 3);
    layout.Layout(0);
    layout.Layout(2);
    EXPECT_EQ(layout.PaneEnd(1), 3);  // the last pane always ends at the extent or the bars
    layout.Layout(600);
    EXPECT_EQ(layout.PaneEnd(1), 600);
    EXPECT_GE(layout.PaneEnd(0) - layout.PaneStart(0), 158);
    EXPECT_GE(layout.PaneEnd(1) - layout.PaneStart(1), 158);
}

TEST(PaneLayout, DragIsLimitedByTheMinimumAndChangesTwoShares) {
    CPaneLayout layout(3, 50, 3);
    layout.Layout(303);                                 // 297 for panes: 99 each
    EXPECT_FALSE(layout.BeginDrag(layout.Pos(2) + 1));  // past the last bar
    const int share2 = layout.Share(2);

    ASSERT_TRUE(layout.BeginDrag(layout.Pos(1) - 1));  // on bar 1
    EXPECT_EQ(layout.DragBar(), 1);
    layout.DragTo(0);  // pane 0 would vanish: stops at 0 + 3 + 50
    EXPECT_EQ(layout.DragPos(), 53);
    layout.DragTo(1000);  // pane 1 would vanish: stops at Pos(2) − 3 − 50
    EXPECT_EQ(layout.DragPos(), layout.Pos(2) - 53);
    layout.DragTo(80);  // the press was one pixel before the bar: 81
    EXPECT_EQ(layout.DragPos(), 81);
    layout.EndDrag();
    EXPECT_FALSE(layout.IsDragging());
    EXPECT_EQ(layout.Pos(1), 81);
    EXPECT_EQ(layout.PaneEnd(0), 78);
    EXPECT_EQ(layout.Share(0), RoundedDiv(78, 32768, 297));
    EXPECT_EQ(layout.Share(1), RoundedDiv(layout.Pos(2) - 81 - 3, 32768, 297));
    EXPECT_EQ(layout.Share(2), share2);
}

TEST(PaneLayout, DragOnAWindowTooSmallLeavesAPaneShortUntilLayout) {
    CPaneLayout layout = MainSplit(300);
    ASSERT_TRUE(layout.BeginDrag(layout.Pos(1)));
    layout.DragTo(50);  // lower limit 161 applies, leaving pane 1 only 136
    EXPECT_EQ(layout.DragPos(), 161);
    layout.DragTo(300);  // upper limit 303 − 3 − 158 = 142
    EXPECT_EQ(layout.DragPos(), 142);
    layout.EndDrag();
    EXPECT_EQ(layout.PaneEnd(0), 139);  // below the minimum
    layout.Layout(300);
    EXPECT_EQ(layout.PaneEnd(0), 158);
}
