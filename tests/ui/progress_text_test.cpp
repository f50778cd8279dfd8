#include <gtest/gtest.h>

#include "ui/progress_text.h"

TEST(ProgressText, GivesRateAndTimeLeftOnceACaseIsDone) {
    // Nothing to divide by yet: the counts alone.
    EXPECT_EQ(ProgressText(0, 10000, 0.0), "0/10000 cases");
    EXPECT_EQ(ProgressText(0, 10000, 3.0), "0/10000 cases");
    EXPECT_EQ(ProgressText(5, 10, 0.0), "5/10 cases");
    // 1200 cases in 1.5 s: 800 a second, 8800 left take 11 s.
    EXPECT_EQ(ProgressText(1200, 10000, 1.5), "1200/10000 cases, 800 a second, 11 s left");
    // Minutes, then hours, when the time left grows.
    EXPECT_EQ(ProgressText(100, 100000, 10.0), "100/100000 cases, 10 a second, 2 h 46 min left");
    EXPECT_EQ(ProgressText(100, 100000, 10.1), "100/100000 cases, 9.9 a second, 2 h 48 min left");
    EXPECT_EQ(ProgressText(100, 1300, 10.0), "100/1300 cases, 10 a second, 2 min 0 s left");
    // A finished run has no time left, and a slow one rounds its rate.
    EXPECT_EQ(ProgressText(10, 10, 4.0), "10/10 cases, 2.5 a second");
    EXPECT_EQ(ProgressText(1, 3, 5.0), "1/3 cases, 0.2 a second, 10 s left");
    EXPECT_EQ(ProgressText(999, 1000, 100.0), "999/1000 cases, 10 a second, 0 s left");
}
