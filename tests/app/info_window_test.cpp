// info_window_test.cpp - the lines of the information window.
#include <gtest/gtest.h>

#include <QFontMetrics>

#include "app/camera_library.h"
#include "app/camera_state.h"
#include "app/dlg_page2.h"
#include "common/fake_desktop.h"
#include "common/sim_camera.h"

class InfoLines : public ::testing::Test {
 protected:
  void SetUp() override {
    sim.reset();
    CameraState& s = cameraState();
    s.initRecords();
    s.setPortName("COM1");
  }
  void TearDown() override {
    CameraState& s = cameraState();
    if (s.handle != nullptr) CameraLibrary::instance().closeCamera(s.handle);
    s.handle = nullptr;
    CameraLibrary::instance().resetForTests();
  }
  void open(const char* port) {
    int32_t type = -2;
    CameraState& s = cameraState();
    s.handle = CameraLibrary::instance().openCamera(&type, port);
    ASSERT_NE(s.handle, nullptr);
    s.typeCode = type;
    s.versionCode = CameraLibrary::instance().getVerCode(s.handle, 0);
    s.readCameraParams();
  }
  SimCamera sim;
  FakeDesktop desktop;
};

TEST_F(InfoLines, LibraryUnloadedShowsZeroRateAndMinusOneExposure) {
  CameraState& s = cameraState();
  s.typeCode = 0;
  const QStringList lines = CDlgPage2::lines();
  EXPECT_TRUE(lines.contains("Rate: 0"));
  EXPECT_TRUE(lines.contains("Exposal Time: -1us;"));
  EXPECT_EQ(lines.first(), "Run Mode: Free;");
  EXPECT_EQ(lines[1], "GAMMA: 0.45;");
  EXPECT_TRUE(lines.contains("Port: COM1;"));
  s.language = 2;
  const QStringList zh = CDlgPage2::lines();
  EXPECT_TRUE(zh.contains(QString::fromUtf8("场频: 0")));
  EXPECT_TRUE(zh.contains(QString::fromUtf8("曝光时间: -1微秒;")));
  EXPECT_TRUE(zh.contains(QString::fromUtf8("通讯端口: COM1;")));
}

struct RunModeCase {
  int32_t type;
  int32_t runMode;
  const char* english;
  const char* chinese;
};

class InfoRunMode : public InfoLines, public ::testing::WithParamInterface<RunModeCase> {};

TEST_P(InfoRunMode, FirstLine) {
  CameraState& s = cameraState();
  s.typeCode = GetParam().type;
  s.params.runMode = GetParam().runMode;
  EXPECT_EQ(CDlgPage2::lines().first(), QString::fromUtf8(GetParam().english));
  s.language = 2;
  EXPECT_EQ(CDlgPage2::lines().first(), QString::fromUtf8(GetParam().chinese));
}

INSTANTIATE_TEST_SUITE_P(
    Modes, InfoRunMode,
    ::testing::Values(RunModeCase{219290, 1, "Run Mode: Free;", "运行模式: 连续;"},
                      RunModeCase{215590, 2, "Run Mode: Edge Trig;", "运行模式: 沿触发;"},
                      RunModeCase{219290, 2, "Run Mode: Pusle Trig;", "运行模式: 外触发;"},
                      RunModeCase{219290, 3, "Run Mode: Syn;", "运行模式: 外同步;"},
                      RunModeCase{219290, 4, "Run Mode: Freeze Frame;", "运行模式: 末帧冻结;"},
                      RunModeCase{219290, 18, "Run Mode: Pulse Trig:", "运行模式: 脉冲触发;"},
                      RunModeCase{219290, 5, "Run Mode: Param Wrong;", "运行模式: 参数错误;"}));

TEST_F(InfoLines, Type321140EnglishHasNoGammaAndNoColourLines) {
  CameraState& s = cameraState();
  s.typeCode = 321140;
  const QStringList en = CDlgPage2::lines();
  EXPECT_TRUE(en[1].startsWith("Frame Mode:")) << en[1].toStdString();
  for (const QString& line : en) {
    EXPECT_FALSE(line.startsWith("GAMMA")) << line.toStdString();
    EXPECT_FALSE(line.startsWith("R Gain")) << line.toStdString();
  }
  s.language = 2;
  const QStringList zh = CDlgPage2::lines();
  EXPECT_TRUE(zh[1].startsWith(QString::fromUtf8("GAMMA校正模式")));
  EXPECT_TRUE(zh.contains(QString::fromUtf8("R增益: 1;")));
  EXPECT_TRUE(zh.contains(QString::fromUtf8("饱和度: 0;")));
}

TEST_F(InfoLines, ColourTypeEnglishListsColourLinesWithoutGamma) {
  CameraState& s = cameraState();
  s.typeCode = 219290;
  s.params.rGain = 12;
  const QStringList en = CDlgPage2::lines();
  EXPECT_TRUE(en.contains("R Gain: 12;"));
  EXPECT_TRUE(en.contains("Saturation: 0;"));
  EXPECT_FALSE(en[1].startsWith("GAMMA"));
}

TEST_F(InfoLines, VideoLinesOnlyInChineseAndRecursionLimit) {
  CameraState& s = cameraState();
  s.typeCode = 212630;
  s.versionCode = 4;
  s.params.recursionParam = 16;
  s.params.radius = 77;
  s.params.coordinateX = 5;
  s.params.coordinateY = 6;
  const QStringList en = CDlgPage2::lines();
  EXPECT_TRUE(en.contains("Radius: 77;"));
  EXPECT_TRUE(en.contains("Coordinate: 5, 6;"));
  for (const QString& line : en) EXPECT_FALSE(line.contains("ecursion"));
  s.language = 2;
  QStringList zh = CDlgPage2::lines();
  EXPECT_TRUE(zh.contains(QString::fromUtf8("递归参数: 参数错误;")));
  EXPECT_TRUE(zh.contains(QString::fromUtf8("消隐圆中心坐标: 5, 6;")));
  s.params.recursionParam = 15;
  zh = CDlgPage2::lines();
  EXPECT_TRUE(zh.contains(QString::fromUtf8("递归参数: 15;")));
  EXPECT_TRUE(zh.contains(QString::fromUtf8("负像: 0;")));
}

TEST_F(InfoLines, FrameModeFourIsNtscOnlyFor210781Chinese) {
  CameraState& s = cameraState();
  s.language = 2;
  s.params.frameMode = 4;
  s.typeCode = 210781;
  s.versionCode = 1;
  EXPECT_TRUE(CDlgPage2::lines().contains(QString::fromUtf8("幅度模式: NTSC;")));
  s.versionCode = 0;
  EXPECT_TRUE(CDlgPage2::lines().contains(QString::fromUtf8("幅度模式: PAL;")));
  s.language = 9;
  s.versionCode = 1;
  EXPECT_TRUE(CDlgPage2::lines().contains("Frame Mode: PAL;"));
}

TEST_F(InfoLines, LiveCameraValuesComeFromTheLibrary) {
  open("COM1");
  CameraState& s = cameraState();
  CameraLibrary& lib = CameraLibrary::instance();
  const int rate = wholeRate(lib.calFrameRate(s.handle, -1));
  const int us = lib.calExposeTime(s.handle, s.params.exposalTime);
  const QStringList en = CDlgPage2::lines();
  EXPECT_TRUE(en.contains(QString("Rate: %1").arg(rate)));
  // Microseconds in both languages: the English label says so too.
  EXPECT_TRUE(en.contains(QString("Exposal Time: %1us;").arg(us)));
  cameraState().language = 2;
  EXPECT_TRUE(CDlgPage2::lines().contains(QString::fromUtf8("曝光时间: %1微秒;").arg(us)));
  EXPECT_GT(rate, 0);
  EXPECT_GT(us, 0);
}

struct FitCase {
  const char* name;
  int32_t language;
  int32_t type;
  int32_t version;
  int32_t gamma;
  int32_t runMode;
  int32_t frameMode;
};

class InfoWindowFits : public InfoLines, public ::testing::WithParamInterface<FitCase> {};

// Every line the window draws lies inside it; a line that runs past the
// right edge loses its value for the user.
TEST_P(InfoWindowFits, EveryLineInsideTheWindow) {
  CameraState& s = cameraState();
  s.language = GetParam().language;
  s.typeCode = GetParam().type;
  s.versionCode = GetParam().version;
  s.params.gamma = GetParam().gamma;
  s.params.runMode = GetParam().runMode;
  s.params.frameMode = GetParam().frameMode;
  s.params.outputMode = 7;
  s.params.radius = 1000;
  s.params.coordinateX = 1000;
  s.params.coordinateY = 1000;
  s.params.gain = 1023;
  s.params.exposalTime = 100000;
  s.params.recursionParam = 15;
  s.setPortName("CamLink2");
  CDlgPage2 window(nullptr, nullptr);
  const QFontMetrics metrics(CDlgPage2::listFont());
  const QStringList lines = CDlgPage2::lines();
  for (const QString& line : lines)
    EXPECT_LE(CDlgPage2::kLeft + metrics.horizontalAdvance(line), window.width())
        << GetParam().name << ": " << line.toStdString();
  EXPECT_LE(CDlgPage2::kTop + lines.size() * CDlgPage2::kLineStep, window.height()) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Lists, InfoWindowFits,
                         ::testing::Values(FitCase{"english circle average", 9, 212630, 4, 1, 4, 5},
                                           FitCase{"english wrong values", 9, 215590, 1, 9, 9, 9},
                                           FitCase{"chinese circle video", 2, 212630, 4, 1, 4, 5},
                                           FitCase{"chinese colour wrong gamma", 2, 321140, 0, 9, 9, 9}));
