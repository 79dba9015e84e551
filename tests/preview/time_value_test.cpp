// Time-field values: reading boxes, clamping typed numbers, the texts that
// show a value and the commit decision.
#include <gtest/gtest.h>

#include <limits>

#include "preview/time_value.h"

TEST(TimeValue, BoxTextsReadAndClamp) {
    EXPECT_EQ(BoxNumber(""), 0u);
    EXPECT_EQ(BoxNumber("x5"), 0u);
    EXPECT_EQ(BoxNumber("7"), 7u);
    EXPECT_EQ(BoxNumber("4a"), 4u);
    EXPECT_EQ(BoxNumber("99999999999999"), std::numeric_limits<unsigned>::max());  // saturates
    EXPECT_EQ(CommittedBoxText("75"), "59");
    EXPECT_EQ(CommittedBoxText("90"), "59");
    EXPECT_EQ(CommittedBoxText("59"), "59");
    EXPECT_EQ(CommittedBoxText("7"), "07");
    EXPECT_EQ(CommittedBoxText(""), "00");
}

TEST(TimeValue, FieldValueAndTextsRoundTrip) {
    EXPECT_EQ(FieldValue("01", "02", "03"), 3723u);
    EXPECT_EQ(FieldValue("", "", "5"), 5u);
    for (unsigned v : {0u, 59u, 90u, 3599u, 3600u, 359999u, 360000u}) {
        const TimeFieldTexts t = TextsOfValue(v);
        EXPECT_EQ(FieldValue(t.hours, t.minutes, t.seconds), v);
    }
    const TimeFieldTexts t = TextsOfValue(90);
    EXPECT_EQ(t.hours + ":" + t.minutes + ":" + t.seconds, "00:01:30");
    EXPECT_EQ(TextsOfValue(360000).hours, "100");
}

TEST(TimeValue, CommitDecision) {
    EXPECT_EQ(DecideCommit(30, 30, 90), FieldCommit::Nothing);
    EXPECT_EQ(DecideCommit(91, 30, 90), FieldCommit::Restore);
    EXPECT_EQ(DecideCommit(90, 30, 90), FieldCommit::Report);
    EXPECT_EQ(DecideCommit(0, 30, 0), FieldCommit::Report);
}
