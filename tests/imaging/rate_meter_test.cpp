// rate_meter_test.cpp - the displayed frame rate of the live windows.
#include <gtest/gtest.h>

#include <vector>

#include "imaging/rate_meter.h"

TEST(RateMeterTest, RateOverWholeSecondsOfTheClock) {
  struct Case {
    const char* name;
    std::vector<int64_t> frameTimes;
    double fps;
    int64_t total;
  } cases[] = {
      {"no frame", {}, 0.0, 0},
      {"one frame only sets the mark", {500}, 0.0, 1},
      {"less than a second has no rate yet", {0, 400, 800, 999}, 0.0, 4},
      {"50 frames in one second",
       [] {
         std::vector<int64_t> t;
         for (int i = 0; i <= 50; ++i) t.push_back(i * 20);
         return t;
       }(),
       50.0, 51},
      {"60 frames at 16.67 ms",
       [] {
         std::vector<int64_t> t;
         for (int i = 0; i <= 60; ++i) t.push_back(i * 1000 / 60);
         return t;
       }(),
       60.0, 61},
      {"a late frame stretches the interval", {0, 100, 1500}, 2 * 1000.0 / 1500, 3},
      {"clock going back restarts the interval", {5000, 5500, 100, 1100}, 1.0, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RateMeter m;
    for (int64_t t : c.frameTimes) m.frame(t);
    EXPECT_DOUBLE_EQ(m.fps(), c.fps);
    EXPECT_EQ(m.total(), c.total);
  }
}

TEST(RateMeterTest, ResetForgetsRateAndCount) {
  RateMeter m;
  for (int i = 0; i <= 25; ++i) m.frame(i * 40);
  ASSERT_GT(m.fps(), 0.0);
  m.reset();
  EXPECT_EQ(m.fps(), 0.0);
  EXPECT_EQ(m.total(), 0);
  m.frame(10'000);  // a new mark, not an interval from the old one
  EXPECT_EQ(m.fps(), 0.0);
}
