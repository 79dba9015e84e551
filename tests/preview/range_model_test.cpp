// The range model's rules, without a display: the defaults after a load,
// begin never past end, the clamps, which seeks are refused, and what its
// observers are told.
#include <gtest/gtest.h>

#include "range_recorder.h"

TEST(RangeModel, LoadSetsTheDefaultsBeginNeverPassesEndAndCloseKeepsTheRange) {
    CRangeModel m;
    RangeRecorder r(m);
    m.Load(90);
    EXPECT_EQ(r.Take(), std::vector<std::string>{"loaded 90"});
    EXPECT_TRUE(m.IsLoaded());
    EXPECT_EQ(m.Begin(), 0u);
    EXPECT_EQ(m.End(), 90u);
    EXPECT_EQ(m.Maximum(), 90u);
    EXPECT_EQ(m.Position(), 0u);

    EXPECT_TRUE(m.SetEnd(40));
    EXPECT_FALSE(m.SetBegin(50));  // past the end: refused, nothing told
    EXPECT_EQ(m.Begin(), 0u);
    EXPECT_TRUE(m.SetBegin(40));  // equal to the end is fine
    EXPECT_FALSE(m.SetEnd(30));   // before the begin
    EXPECT_EQ(m.End(), 40u);
    EXPECT_TRUE(m.SetEnd(500));  // clamped to the maximum
    EXPECT_EQ(m.End(), 90u);
    EXPECT_EQ(r.Take(), (std::vector<std::string>{"end 40", "begin 40", "end 90"}));

    m.SetPosition(45);
    m.Close();
    EXPECT_EQ(r.Take(), (std::vector<std::string>{"position 45", "closed"}));
    EXPECT_FALSE(m.IsLoaded());
    EXPECT_EQ(m.Position(), 0u);
    EXPECT_EQ(m.Begin(), 40u);  // kept until the next load
    EXPECT_EQ(m.End(), 90u);
    m.Load(3);
    EXPECT_EQ(m.Begin(), 0u);
    EXPECT_EQ(m.End(), 3u);
}

TEST(RangeModel, TypedSeeksStayInTheRangeTheSlidersOnlyBelowTheMaximum) {
    CRangeModel m;
    m.Load(100);
    m.SetEnd(60);
    m.SetBegin(20);
    RangeRecorder r(m);
    EXPECT_FALSE(m.Seek(10, SeekOrigin::TypedTime));
    EXPECT_FALSE(m.Seek(61, SeekOrigin::TypedTime));
    EXPECT_TRUE(m.Seek(60, SeekOrigin::TypedTime));
    // The marker may be dropped a little left of the begin handle.
    EXPECT_TRUE(m.Seek(19, SeekOrigin::Slider));
    EXPECT_TRUE(m.Seek(150, SeekOrigin::Slider));
    // A seek is a request: the position is the player's to report.
    EXPECT_EQ(m.Position(), 0u);
    m.SetPosition(19);
    EXPECT_EQ(r.Take(), (std::vector<std::string>{"typed seek 60", "slider seek 19",
                                                  "slider seek 100", "position 19"}));
}
