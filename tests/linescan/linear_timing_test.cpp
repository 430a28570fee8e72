// linear_timing_test.cpp - the pair correction where it would leave no time at all.
#include <gtest/gtest.h>

#include "pages/linescan/linear_timing.h"

using namespace linescan;

struct CorrectCase {
  int64_t x;
  int64_t y;
  int32_t lowerSum;
  int32_t minimum;
  int32_t expected;
};

class CorrectPair : public ::testing::TestWithParam<CorrectCase> {};

TEST_P(CorrectPair, GivesAPositiveTime) {
  const CorrectCase& c = GetParam();
  EXPECT_EQ(correctPair(c.x, c.y, c.lowerSum, c.minimum), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, CorrectPair,
                         ::testing::Values(CorrectCase{400, 200, 108, 2, 300},  // sum above 500
                                           CorrectCase{700, 20, 108, 2, 480},   // above 500
                                           CorrectCase{5, 10, 27, 1, 17},       // sum below the lower limit
                                           CorrectCase{1, 200, 108, 2, 2},      // below the minimum
                                           // 500 - Y is zero or negative: the minimum instead.
                                           CorrectCase{600, 500, 108, 2, 2}, CorrectCase{600, 499, 27, 1, 1},
                                           CorrectCase{450, 520, 108, 1, 1},
                                           // L - Y is negative for a negative X against a large Y.
                                           CorrectCase{-150, 200, 108, 2, 2},
                                           // Huge inputs do not overflow the sum.
                                           CorrectCase{INT32_MAX, 200, 108, 2, 300},
                                           CorrectCase{INT32_MIN, 200, 108, 2, 2}));

struct PairCase {
  int32_t type, workMode;
  bool time1;  // the time checked is Time1 (else Time2)
  int64_t value, other;
  int32_t expected;
  bool otherGivesWay;
  int32_t otherExpected;
};

class PairSum : public ::testing::TestWithParam<PairCase> {};

TEST_P(PairSum, ACorrectionNeverLeavesTheSumAbove500) {
  const PairCase& c = GetParam();
  const TimeCheck t = c.time1 ? checkTime1(c.type, c.workMode, c.value, c.other, false)
                              : checkTime2(c.type, c.workMode, c.other, c.value, false);
  EXPECT_EQ(t.value, c.expected);
  EXPECT_EQ(t.setOther, c.otherGivesWay);
  if (c.otherGivesWay) {
    EXPECT_EQ(t.other, c.otherExpected);
  }
  const int64_t other = t.setOther ? t.other : c.other;
  EXPECT_LE(t.value + other, 500);
}

INSTANTIATE_TEST_SUITE_P(Cases, PairSum,
                         ::testing::Values(
                             // Time1 499 leaves Time2 1, below its free-run minimum of 2.
                             PairCase{kColourType, 0, false, 5, 499, 2, true, 498},
                             PairCase{kColourType, 0, true, 5, 499, 2, true, 498},
                             PairCase{kColourType, 0, false, 1, 500, 2, true, 498},
                             // The other time leaves room: it stays.
                             PairCase{kColourType, 0, false, 5, 498, 2, false, 0},
                             PairCase{kColourType, 1, false, 5, 499, 1, false, 0},
                             PairCase{kSmallType, 0, false, 600, 499, 1, false, 0},
                             PairCase{kSmallType, 0, true, 9, 500, 1, true, 499}));

TEST(TimeRules, LongCameraNeverGetsAZeroTime) {
  EXPECT_EQ(checkTime1(kLongType, 0, 0, 5000, false).value, 1);
  EXPECT_EQ(checkTime1(kLongType, 0, -40, 5000, false).value, 1);
  const TimeCheck t2 = checkTime2(kLongType, 0, 4000, -3, false);
  EXPECT_EQ(t2.value, 1);
  EXPECT_TRUE(t2.setTime1);
  EXPECT_EQ(checkTime2(kLongType, 0, 100, 90000, false).value, 65535);
}

TEST(TimeRules, ScrollVariantsDifferWhereTheyShould) {
  // 110410 externally synchronised: 27 passes at the end of a scroll only.
  EXPECT_STREQ(checkTime1(kSmallType, 2, 27, 26, false).message, kExceedMessage);
  EXPECT_EQ(checkTime1(kSmallType, 2, 27, 26, true).message, nullptr);
  // 117810 edge-controlled: Time1 follows Time2, with the message only when typed.
  EXPECT_STREQ(checkTime1(kLongType, 1, 10, 20, false).message, kInvalidMessage);
  EXPECT_EQ(checkTime1(kLongType, 1, 10, 20, true).message, nullptr);
  EXPECT_EQ(checkTime1(kLongType, 1, 10, 20, true).value, 20);
  // 117810 level-controlled: 10000 typed, 1 at the end of a scroll; never written.
  EXPECT_EQ(checkTime1(kLongType, 4, 10, 20, false).value, 10000);
  EXPECT_EQ(checkTime1(kLongType, 4, 10, 20, true).value, 1);
  EXPECT_FALSE(checkTime1(kLongType, 4, 10, 20, true).write);
  // Time2 externally synchronised: typed never written, scrolled written fixed.
  EXPECT_FALSE(checkTime2(kColourType, 2, 10, 300, false).write);
  const TimeCheck colour = checkTime2(kColourType, 2, 10, 300, true);
  EXPECT_TRUE(colour.write);
  EXPECT_EQ(colour.value, 106);
  EXPECT_STREQ(colour.message, kExceedMessage);
  // Sync-controlled exposure: Time2 is fixed and never written, scrolled or typed.
  EXPECT_FALSE(checkTime2(kColourType, 3, 10, 300, true).write);
  EXPECT_EQ(checkTime2(kSmallType, 4, 10, 300, true).value, 26);
  EXPECT_FALSE(checkTime2(kSmallType, 4, 10, 300, true).write);
  EXPECT_EQ(checkTime2(kLongType, 3, 10, 300, true).value, 52);
  EXPECT_FALSE(checkTime2(kLongType, 3, 10, 300, true).write);
}

struct AdjustCase {
  int32_t type;
  int32_t t1;
  int32_t t2;
  int32_t time2;
  bool writeTime2;
};

class AdjustFreeRun : public ::testing::TestWithParam<AdjustCase> {};

// Changing to the free-running mode moves Time2 so that the line period fits;
// whatever pair the camera reported, the Time2 written is a time the camera runs.
TEST_P(AdjustFreeRun, KeepsTime2ATime) {
  const AdjustCase& c = GetParam();
  const ModeAdjust a = adjustForWorkMode(c.type, 1, c.t1, c.t2);
  EXPECT_EQ(a.time1, c.t1);
  EXPECT_EQ(a.time2, c.time2);
  EXPECT_EQ(a.writeTime2, c.writeTime2);
  EXPECT_FALSE(a.writeTime1);
}

INSTANTIATE_TEST_SUITE_P(Cases, AdjustFreeRun,
                         ::testing::Values(AdjustCase{kColourType, 100, 50, 50, false},   // fits
                                           AdjustCase{kColourType, 400, 200, 100, true},  // sum above 500
                                           AdjustCase{kColourType, 50, 20, 58, true},     // below 108
                                           AdjustCase{kSmallType, 10, 5, 17, true},       // below 27
                                           AdjustCase{kColourType, 500, 200, 1, true},    // no room left
                                           // Reported far outside the range: no overflow, at most 500.
                                           AdjustCase{kColourType, INT32_MIN, 0, 500, true},
                                           AdjustCase{kSmallType, INT32_MAX, 5, 1, true},
                                           AdjustCase{kColourType, -1000, 200, 500, true}));
