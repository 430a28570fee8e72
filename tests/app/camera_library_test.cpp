// camera_library_test.cpp - binding by name, use count and not-loaded defaults.
#include <gtest/gtest.h>
#include <limits>

#include "app/camera_library.h"
#include "app/camera_state.h"
#include "common/fake_desktop.h"
#include "common/sim_camera.h"

class CameraLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override { sim.reset(); }
  void TearDown() override {
    CameraLibrary::instance().setFileName("libtyxcamera.so");
    CameraLibrary::instance().resetForTests();
  }
  SimCamera sim;
  FakeDesktop desktop;
  CameraLibrary& lib = CameraLibrary::instance();
};

TEST_F(CameraLibraryTest, NotLoadedDefaults) {
  ASSERT_FALSE(lib.loaded());
  int32_t lo = 7, hi = 7;
  EXPECT_EQ(lib.setConfigParam(nullptr, 1, 5, 0), 0);
  EXPECT_EQ(lib.getLastError(), 103);
  EXPECT_EQ(lib.calExposeTime(nullptr, 270), -1);
  EXPECT_EQ(lib.calExposeLine(nullptr, 270), -1);
  EXPECT_EQ(lib.calExposeShortData(nullptr, 5, &lo), -1);
  EXPECT_EQ(lib.calExposeShortTime(nullptr, 5), -1);
  EXPECT_EQ(lib.calFrameRate(nullptr, -1), -1.0);
  EXPECT_EQ(lib.calExposeRange(nullptr, &lo, &hi), 0);
  EXPECT_EQ(lib.getTypeCode(nullptr, nullptr), 0);
  EXPECT_EQ(lib.frameLock(nullptr), nullptr);
  EXPECT_EQ(lib.frameSize(nullptr), 0u);
  EXPECT_FLOAT_EQ(lib.getCaptureRate(nullptr, nullptr, nullptr), 0.0f);
  EXPECT_FALSE(lib.loaded()) << "a plain call must not load the library";
}

TEST_F(CameraLibraryTest, OpenAddsAUseAndCloseGivesItBack) {
  int32_t type = -2;
  void* cam = lib.openCamera(&type, "COM1");
  ASSERT_NE(cam, nullptr);
  EXPECT_TRUE(lib.loaded());
  EXPECT_EQ(lib.useCount(), 1);
  EXPECT_EQ(type, 219290);
  EXPECT_NE(lib.closeCamera(cam), 0);
  EXPECT_EQ(lib.useCount(), 0);
  EXPECT_FALSE(lib.loaded());
}

TEST_F(CameraLibraryTest, FailedOpenGivesTheUseBackAndUnloads) {
  sim.control("clear");
  int32_t type = -2;
  EXPECT_EQ(lib.openCamera(&type, "COM1"), nullptr);
  EXPECT_EQ(lib.useCount(), 0);
  EXPECT_FALSE(lib.loaded());
}

TEST_F(CameraLibraryTest, ScanThatFoundNothingUnloadsOnlyWhatItLoaded) {
  sim.control("clear");
  void* list = nullptr;
  NetDeviceRecord area[4]{};
  // Nothing loaded: the scan loads, finds nothing and unloads again.
  EXPECT_EQ(lib.scanDevice(area, &list), 0);
  EXPECT_FALSE(lib.loaded());

  // With a camera open, an empty scan must not take the camera's use away:
  // otherwise the library would be unloaded under the open camera.
  sim.control("camera COM2=219290");
  int32_t type = -2;
  void* cam = lib.openCamera(&type, "COM2");
  ASSERT_NE(cam, nullptr);
  EXPECT_EQ(lib.scanDevice(area, &list), 0);
  EXPECT_EQ(lib.useCount(), 1);
  EXPECT_TRUE(lib.loaded());
  EXPECT_EQ(lib.getTypeCode(cam, nullptr), 219290);
  lib.closeCamera(cam);
  EXPECT_FALSE(lib.loaded());
}

TEST_F(CameraLibraryTest, ScanThatLoadedAndFoundDevicesKeepsTheLibrary) {
  void* list = nullptr;
  NetDeviceRecord area[4]{};
  const int32_t count = lib.scanDevice(area, &list);
  EXPECT_GT(count, 0);
  EXPECT_TRUE(lib.loaded());
  EXPECT_EQ(lib.useCount(), 1);
}

TEST_F(CameraLibraryTest, MissingEntryPointsBehaveAsNotLoaded) {
  // A library that loads but exports none of the camera entry points.
  lib.setFileName("libm.so.6");
  int32_t type = -2;
  EXPECT_EQ(lib.openCamera(&type, "COM1"), nullptr);
  EXPECT_EQ(lib.useCount(), 0);
  EXPECT_EQ(lib.getLastError(), 103);
  EXPECT_EQ(lib.calFrameRate(nullptr, -1), -1.0);
}

TEST_F(CameraLibraryTest, UnloadableLibraryOpensNoCamera) {
  lib.setFileName("libdoes-not-exist-tyx.so");
  int32_t type = -2;
  EXPECT_EQ(lib.openCamera(&type, "COM1"), nullptr);
  EXPECT_FALSE(lib.loaded());
  EXPECT_EQ(lib.useCount(), 0);
}

class ApplyParamTest : public CameraLibraryTest {};

TEST_F(ApplyParamTest, FailingWriteShowsTheLibraryMessageAndKeepsTheValue) {
  CameraState& s = cameraState();
  int32_t type = -2;
  s.handle = lib.openCamera(&type, "COM1");
  ASSERT_NE(s.handle, nullptr);
  sim.control("fail 1=106");
  s.params.gain = 500;
  EXPECT_FALSE(s.applyParam(1, 500));
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].text, "Can not write in for invalid link.");
  EXPECT_EQ(desktop.messages[0].caption, "Vistrel");
  EXPECT_EQ(s.params.gain, 500);

  s.language = 2;
  EXPECT_FALSE(s.applyParam(1, 501));
  EXPECT_EQ(desktop.messages.back().text,
            QString::fromUtf8("由于设备连接不正常，无法写入参数，仅改变界面设置。"));

  sim.control("unfail");
  EXPECT_TRUE(s.applyParam(1, 502));
  EXPECT_EQ(desktop.messages.size(), 2u);
  const auto writes = sim.writes();
  ASSERT_FALSE(writes.empty());
  EXPECT_EQ(writes.back(), W(1, 502));
  lib.closeCamera(s.handle);
  s.handle = nullptr;
}

TEST_F(ApplyParamTest, WithTheLibraryUnloadedEveryWriteReports103) {
  CameraState& s = cameraState();
  EXPECT_FALSE(s.applyParam(4, 10));
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].text, "can not read camera info, please check it");
}

TEST_F(ApplyParamTest, PortNameIsCutToItsBuffer) {
  CameraState& s = cameraState();
  s.setPortName(QString(40, 'X'));
  EXPECT_EQ(std::strlen(s.portName), 23u);
  s.setPortName("COM2");
  EXPECT_STREQ(s.portName, "COM2");
}

TEST(WholeRateTest, RoundsByAHalfAndNeverConvertsOutOfRange) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    double rate;
    int32_t shown;
  } cases[] = {
      {25.0, 25},
      {24.5, 25},
      {24.49, 24},
      {0.4, 0},
      {0.5, 1},
      // The library's placeholder -2 has always come out as -1 by this rule;
      // the rate list recognises it by its own value as well.
      {-2.0, -1},
      {-0.6, 0},
      // A failing library's answers: no undefined conversion.
      {nan, 0},
      {inf, INT32_MAX},
      {-inf, INT32_MIN},
      {1e30, INT32_MAX},
      {-1e30, INT32_MIN},
      {2147483646.7, INT32_MAX},
  };
  for (const Case& c : cases) EXPECT_EQ(wholeRate(c.rate), c.shown) << c.rate;
}
