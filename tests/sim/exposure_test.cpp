// exposure_test.cpp - line/time conversion, exposure range, frame-rate list and short exposure.
#include <cmath>
#include <vector>

#include "sim_library.h"

namespace {

class ExposureTest : public SimTest {};

TEST_F(ExposureTest, TimeAndLineConvertBackWithinHalfALine) {
  for (const char* port : {"COM1", "COM2", "COM3", "COM4", "USB1", "NetPort1"}) {
    SCOPED_TRACE(port);
    void* cam = open(port, std::string(port).rfind("Net", 0) == 0 ? -1 : -2);
    const int32_t period = lib.tyxCamCalExposeTime(cam, 1000);  // 1000 lines in microseconds
    ASSERT_GT(period, 0);
    for (int32_t us : {10, 100, 1000, 16667, 33333, 100000, 10000000}) {
      const int32_t lines = lib.tyxCamCalExposeLine(cam, us);
      ASSERT_GE(lines, 0);
      const int32_t back = lib.tyxCamCalExposeTime(cam, lines);
      EXPECT_LE(std::abs(back - us), period / 1000.0 / 2 + 1) << us;
    }
    EXPECT_EQ(lib.tyxCamCalExposeTime(cam, -1), -1);
    EXPECT_EQ(lib.tyxCamGetLastError(), 122);
    EXPECT_EQ(lib.tyxCamCalExposeLine(cam, -5), -1);
  }
}

TEST_F(ExposureTest, LinePeriodOfTheColourCamera) {
  void* cam = open("COM1");
  EXPECT_EQ(lib.tyxCamCalExposeTime(cam, 16), 1000);  // 62.5 us per line
  EXPECT_EQ(lib.tyxCamCalExposeLine(cam, 16667), 267);
}

TEST_F(ExposureTest, RangeIsInLinesAndShrinksWithThePartialWindow) {
  void* cam = open("COM1");
  int32_t fullMin = 0, fullMax = 0;
  ASSERT_EQ(lib.tyxCamCalExposeRange(cam, &fullMin, &fullMax), 1);
  EXPECT_GE(fullMin, 1);
  // Free running, the exposure cannot outlast one frame of the whole sensor.
  EXPECT_LT(fullMax, 600 + 100);
  EXPECT_GT(fullMax, 600 - 1);
  // A short exposure, so that the frame and not the exposure sets the rate.
  ASSERT_EQ(lib.tyxCamSetConfigParam(cam, 9, 50, 0), 1);
  const double fullRate = lib.tyxCamCalFrameRate(cam, -1);

  ASSERT_EQ(lib.tyxCamSetConfigParam(cam, 5, 2, 0), 1);
  ASSERT_EQ(lib.tyxCamSetConfigParam(cam, 7, 192, 0), 1);
  ASSERT_EQ(lib.tyxCamSetConfigParam(cam, 8, 287, 0), 1);
  int32_t partMin = 0, partMax = 0;
  ASSERT_EQ(lib.tyxCamCalExposeRange(cam, &partMin, &partMax), 1);
  EXPECT_EQ(partMin, fullMin);
  EXPECT_LT(partMax, fullMax);
  EXPECT_GE(partMax, 96 - 1);
  EXPECT_GT(lib.tyxCamCalFrameRate(cam, -1), fullRate * 3);

  // The window is used only in partial mode.
  ASSERT_EQ(lib.tyxCamSetConfigParam(cam, 5, 1, 0), 1);
  int32_t againMin = 0, againMax = 0;
  ASSERT_EQ(lib.tyxCamCalExposeRange(cam, &againMin, &againMax), 1);
  EXPECT_EQ(againMax, fullMax);
}

TEST_F(ExposureTest, TriggerModesRaiseTheMinimumAndLiftTheFrameLimit) {
  void* cam = open("COM1");
  int32_t freeMin = 0, freeMax = 0, trigMin = 0, trigMax = 0;
  ASSERT_EQ(lib.tyxCamCalExposeRange(cam, &freeMin, &freeMax), 1);
  ASSERT_EQ(lib.tyxCamSetConfigParam(cam, 2, 2, 0), 1);
  ASSERT_EQ(lib.tyxCamCalExposeRange(cam, &trigMin, &trigMax), 1);
  EXPECT_GT(trigMin, freeMin);
  EXPECT_GT(trigMax, freeMax);
  EXPECT_EQ(lib.tyxCamCalExposeRange(cam, nullptr, &trigMax), 0);
  EXPECT_EQ(lib.tyxCamGetLastError(), 122);
}

TEST_F(ExposureTest, LongFreeRunningExposureSlowsTheFrameRate) {
  void* cam = open("COM1");
  const double rate = lib.tyxCamCalFrameRate(cam, -1);
  EXPECT_NEAR(rate, 1e6 / (625 * 62.5), 0.01);
  ASSERT_EQ(lib.tyxCamSetConfigParam(cam, 9, 1249, 0), 1);
  EXPECT_NEAR(lib.tyxCamCalFrameRate(cam, -1), rate / 2, 0.01);
}

std::vector<double> rateList(SimLibrary& lib, void* cam) {
  std::vector<double> list;
  for (int32_t i = 0; i < 64; ++i) {
    const double r = lib.tyxCamCalFrameRate(cam, i);
    list.push_back(r);
    if (r == 0.0) break;
  }
  return list;
}

TEST_F(ExposureTest, RateListEndsWithZeroAndMayHoldAPlaceholder) {
  void* cam = open("COM1");
  const auto list = rateList(lib, cam);
  ASSERT_EQ(list.size(), 5u);
  EXPECT_EQ(list.back(), 0.0);
  EXPECT_EQ(list[2], -2.0);
  EXPECT_NEAR(list[0], lib.tyxCamCalFrameRate(cam, -1), 1e-9);
  EXPECT_NEAR(list[1], list[0] / 2, 1e-9);
  EXPECT_NEAR(list[3], list[0] / 4, 1e-9);
  // The rate choice is the position among the offered rates, as the
  // parameter page lists them without the placeholder.
  struct Case {
    int32_t choice;
    double rate;
  } cases[] = {{0, list[0]}, {1, list[1]}, {2, list[3]}, {3, list[0]}};
  for (const Case& c : cases) {
    ASSERT_EQ(lib.tyxCamSetConfigParam(cam, 14, c.choice, 0), 1);
    EXPECT_NEAR(lib.tyxCamCalFrameRate(cam, -1), c.rate, 1e-9) << c.choice;
  }
  EXPECT_EQ(lib.tyxCamCalFrameRate(cam, -2), -1.0);
}

TEST_F(ExposureTest, VideoModeOffersFrameAndFieldRate) {
  void* cam = open("COM2");  // NTSC
  ASSERT_EQ(lib.tyxCamSetConfigParam(cam, 5, 4, 0), 1);
  const auto list = rateList(lib, cam);
  ASSERT_EQ(list.size(), 3u);
  EXPECT_NEAR(list[0], 30.0, 1e-6);
  EXPECT_NEAR(list[1], 60.0, 1e-6);
  EXPECT_EQ(list[2], 0.0);
}

TEST_F(ExposureTest, LineScanCamerasHaveNoAreaExposureModel) {
  void* cam = open("CamLink1");
  int32_t mn = 0, mx = 0;
  EXPECT_EQ(lib.tyxCamCalExposeRange(cam, &mn, &mx), 0);
  EXPECT_EQ(lib.tyxCamCalFrameRate(cam, -1), -1.0);
  EXPECT_EQ(lib.tyxCamCalExposeTime(cam, 10), -1);
}

TEST_F(ExposureTest, ShortExposureSplitsATimeIntoLinesAndASetting) {
  void* cam = open("COM4");  // 215590 version 9
  int32_t smin = 0, smax = 0;
  ASSERT_EQ(lib.tyxCamCalExposeShortRange(cam, &smin, &smax), 1);
  ASSERT_LT(smin, smax);
  for (int32_t t : {smin, 7, 39, 40, 41, 123, 999, smax}) {
    SCOPED_TRACE(t);
    int32_t lines = -1;
    const int32_t setting = lib.tyxCamCalExposeshort_data(cam, t, &lines);
    ASSERT_GE(setting, 0);
    ASSERT_GE(lines, 0);
    // The page shows short time of the setting plus the time of the lines.
    EXPECT_EQ(lib.tyxCamCalExposeshort_Time(cam, setting) + lib.tyxCamCalExposeTime(cam, lines), t);
    // Both values are ones the camera accepts.
    EXPECT_EQ(lib.tyxCamSetConfigParam(cam, 9, lines, 0), 1);
    EXPECT_EQ(lib.tyxCamSetConfigParam(cam, 29, setting, 0), 1);
  }
  int32_t lines = 0;
  EXPECT_EQ(lib.tyxCamCalExposeshort_data(cam, smax + 1, &lines), -1);
  EXPECT_EQ(lib.tyxCamCalExposeshort_data(cam, smin, nullptr), -1);
  EXPECT_EQ(lib.tyxCamCalExposeshort_Time(cam, -1), -1);
}

TEST_F(ExposureTest, ShortExposureOnlyOnItsModelAndVersion) {
  control("camera COM1=215590/3");
  for (const char* port : {"COM1", "COM2"}) {
    SCOPED_TRACE(port);
    void* cam = open(port);
    int32_t mn = 0, mx = 0, lines = 0;
    EXPECT_EQ(lib.tyxCamCalExposeShortRange(cam, &mn, &mx), 0);
    EXPECT_EQ(lib.tyxCamGetLastError(), 122);
    EXPECT_EQ(lib.tyxCamCalExposeshort_data(cam, 10, &lines), -1);
    EXPECT_EQ(lib.tyxCamCalExposeshort_Time(cam, 3), -1);
  }
}

}  // namespace
