// The slider's arithmetic without a window: geometry, value <-> position,
// drag limits, what the user's actions ask of the range, and the range's
// changes as the slider shows them.
#include <gtest/gtest.h>

#include "preview/slider_model.h"

namespace {

// The preview window's slider: 316 wide, 20 high (track 5 to 15).
CRangeSliderModel Loaded(int maximum, int width = 316) {
    CRangeSliderModel m;
    m.Resize(width, 20);
    m.Reset();
    m.SetMaximum(maximum);
    return m;
}

int Mid(const SliderRect& r) {
    return (r.top + r.bottom) / 2;
}

}  // namespace

TEST(SliderModel, GeometryAndMappingWith316PixelsAnd100Seconds) {
    CRangeSliderModel m = Loaded(100);
    EXPECT_EQ(m.Track(), (SliderRect{0, 5, 316, 15}));
    EXPECT_EQ(m.PositionOf(50), 158);
    EXPECT_EQ(m.ValueAt(158), 50u);
    EXPECT_EQ(m.PositionOf(100), 308);
    EXPECT_EQ(m.PositionOf(0), 8);
    EXPECT_EQ(m.ValueAt(8), 0u);
    EXPECT_EQ(m.ValueAt(-20), 0u);
    // 1/3 s per pixel: 0.5 rounds up, the reading truncates.
    EXPECT_EQ(m.PositionOf(1), 11);
    EXPECT_EQ(m.ValueAt(10), 0u);
    EXPECT_EQ(m.ValueAt(11), 1u);

    m.SetBegin(50);
    EXPECT_EQ(m.BeginRect(), (SliderRect{150, 3, 158, 17}));
    m.SetEnd(100);
    EXPECT_EQ(m.EndRect(), (SliderRect{308, 3, 316, 17}));
    // The marker followed the begin (it was at 0).
    EXPECT_EQ(m.MarkerRect(), (SliderRect{155, 2, 158, 15}));
}

TEST(SliderModel, DefaultsWhileNoMaximumAndResizeKeepsValues) {
    CRangeSliderModel m;
    m.Resize(200, 20);
    EXPECT_EQ(m.BeginRect().right, 8);
    EXPECT_EQ(m.EndRect().left, 192);
    EXPECT_EQ(m.MarkerRect().right, 8);
    m.SetBegin(5);  // no maximum: the handle stays at its default
    EXPECT_EQ(m.BeginRect().right, 8);
    EXPECT_EQ(m.ValueAt(100), 0u);

    m = Loaded(100);
    m.SetBegin(20);
    m.SetEnd(60);
    m.SetPosition(40);
    m.Resize(616, 20);  // 600 usable pixels: 6 per second
    EXPECT_EQ(m.BeginRect().right, 8 + 120);
    EXPECT_EQ(m.EndRect().left, 8 + 360);
    EXPECT_EQ(m.MarkerRect().right, 8 + 240);
}

TEST(SliderModel, RangeChangesMoveTheMarkerIntoTheRange) {
    CRangeSliderModel m = Loaded(100);
    m.SetPosition(40);
    m.SetBegin(60);  // begin above the marker: the marker goes to the begin
    EXPECT_EQ(m.Current(), 60u);
    EXPECT_EQ(m.MarkerRect().right, m.PositionOf(60));

    m.SetPosition(70);
    m.SetEnd(65);  // end below the marker: two seconds before the end
    EXPECT_EQ(m.Current(), 63u);
    EXPECT_EQ(m.MarkerRect().right, m.PositionOf(63));

    m.SetPosition(30);
    m.SetEnd(90);  // marker left of the end: stays
    EXPECT_EQ(m.Current(), 30u);

    // An end of 0 or 1 with the marker right of it puts the marker at 0.
    for (unsigned end : {1u, 0u}) {
        m.SetBegin(0);
        m.SetPosition(10);
        m.SetEnd(end);
        EXPECT_EQ(m.Current(), 0u) << end;
        EXPECT_EQ(m.MarkerRect().right, 8) << end;
    }
}

TEST(SliderModel, BeginDragIsSentOnReleaseAndDragsTheMarkerAlong) {
    CRangeSliderModel m = Loaded(100);
    m.SetPosition(20);
    const int y = Mid(m.BeginRect());
    EXPECT_TRUE(m.Press(4, y).empty());
    EXPECT_EQ(m.DragMode(), 1);

    // Left of the marker (at 68): nothing is asked yet.
    EXPECT_TRUE(m.Move(38, y).empty());
    EXPECT_EQ(m.BeginRect().right, 38);
    EXPECT_EQ(m.Begin(), 0u);

    // Past the marker: the marker comes along and the preview seeks.
    auto out = m.Move(98, y);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0], (SliderAction{SliderAction::Seek, 30}));
    EXPECT_EQ(m.MarkerRect().right, 98);

    // Beyond the end handle (at 308) and left of 8: ignored.
    EXPECT_TRUE(m.Move(309, y).empty());
    EXPECT_TRUE(m.Move(7, y).empty());
    EXPECT_EQ(m.BeginRect().right, 98);

    out = m.Release();
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0], (SliderAction{SliderAction::SetBegin, 30}));
    EXPECT_EQ(m.Begin(), 30u);
    EXPECT_EQ(m.DragMode(), 0);
}

TEST(SliderModel, EndDragLimitsAndMarkerAlong) {
    CRangeSliderModel m = Loaded(100);
    m.SetBegin(10);
    m.SetPosition(90);
    const int y = Mid(m.EndRect());
    m.Press(310, y);
    ASSERT_EQ(m.DragMode(), 2);
    EXPECT_TRUE(m.Move(317, y).empty());                      // right of W - 8
    EXPECT_TRUE(m.Move(m.BeginRect().right - 1, y).empty());  // left of the begin
    auto out = m.Move(158, y);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0], (SliderAction{SliderAction::Seek, 50}));
    EXPECT_EQ(m.Current(), 50u);
    // The end may meet the begin exactly.
    m.Move(m.BeginRect().right, y);
    out = m.Release();
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0], (SliderAction{SliderAction::SetEnd, 10}));
}

TEST(SliderModel, MarkerDragLimitsTellsTheGrabAndSeeksOnRelease) {
    CRangeSliderModel m = Loaded(100);
    m.SetBegin(20);  // handle right edge at 68, marker follows to 68
    m.SetEnd(80);    // end handle left edge at 248
    const int y = Mid(m.MarkerRect());
    auto out = m.Press(67, y);
    ASSERT_EQ(out.size(), 1u);  // the marker wins over the begin handle under it
    EXPECT_EQ(out[0], (SliderAction{SliderAction::MarkerGrabbed, 0}));
    EXPECT_EQ(m.DragMode(), 3);

    EXPECT_TRUE(m.Move(246, y).empty());  // 3 pixels left of the end: beyond the limit
    EXPECT_EQ(m.MarkerRect().right, 68);
    m.Move(245, y);  // at the limit
    EXPECT_EQ(m.MarkerRect().right, 245);
    EXPECT_EQ(m.Current(), 20u);  // nothing while dragging
    m.Move(64, y);                // more than 3 pixels past the begin handle
    EXPECT_EQ(m.MarkerRect().right, 245);
    m.Move(65, y);
    EXPECT_EQ(m.MarkerRect().right, 65);

    out = m.Release();
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0], (SliderAction{SliderAction::Seek, 19}));
}

TEST(SliderModel, LeavingCommitsOnlyAMarkerDrag) {
    CRangeSliderModel m = Loaded(100);
    int y = Mid(m.BeginRect());
    m.Press(4, y);
    m.Move(158, y);
    EXPECT_TRUE(m.Leave().empty());
    EXPECT_EQ(m.Begin(), 0u);             // not committed
    EXPECT_EQ(m.BeginRect().right, 158);  // but drawn where it was left
    EXPECT_TRUE(m.Move(200, y).empty());  // no drag any more
    EXPECT_EQ(m.BeginRect().right, 158);

    m = Loaded(100);
    y = Mid(m.MarkerRect());
    m.Press(7, y);
    m.Move(158, y);
    auto out = m.Leave();
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0], (SliderAction{SliderAction::Seek, 50}));
    EXPECT_EQ(m.DragMode(), 0);
}

TEST(SliderModel, DoubleClicksSetTheRangeEnds) {
    CRangeSliderModel m = Loaded(100);
    m.SetBegin(40);
    m.SetEnd(60);
    auto out = m.DoubleClick(m.BeginRect().left + 2, Mid(m.BeginRect()));
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0], (SliderAction{SliderAction::SetBegin, 0}));
    EXPECT_EQ(m.BeginRect(), (SliderRect{0, 3, 8, 17}));
    EXPECT_EQ(m.Begin(), 0u);

    out = m.DoubleClick(m.EndRect().left + 2, Mid(m.EndRect()));
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0], (SliderAction{SliderAction::SetEnd, 100}));
    EXPECT_EQ(m.End(), 100u);
    // A later resize keeps the end handle at the track's end.
    m.Resize(400, 20);
    EXPECT_EQ(m.EndRect().right, 400);

    EXPECT_TRUE(m.DoubleClick(200, 1).empty());  // above the track: nothing
}

TEST(SliderModel, TipTextsNameTheElementUnderThePointer) {
    CRangeSliderModel m = Loaded(7200);
    m.SetBegin(3725);  // 01:02:05
    m.SetEnd(7200);
    m.SetPosition(5400);
    SliderRect r;
    const int bx = m.BeginRect().left + 1;
    EXPECT_EQ(m.TipText(bx, 10, &r), "Begin Time: " + FormatTime(m.ValueAt(m.BeginRect().right)));
    EXPECT_EQ(r, m.BeginRect());
    EXPECT_EQ(m.TipText(m.EndRect().left + 1, 10), "End Time: 02:00:00");
    EXPECT_EQ(m.TipText(m.MarkerRect().left, 10).rfind("Current Time: 01:", 0), 0u);
    EXPECT_EQ(m.TipText(150, 1), "");
    EXPECT_EQ(FormatTime(3725), "01:02:05");
    EXPECT_EQ(FormatTime(360000), "100:00:00");
}
