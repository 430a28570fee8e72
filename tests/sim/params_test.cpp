// params_test.cpp - parameter writes and reads, whole blocks, camera memory and factory defaults.
#include <cstddef>
#include <cstring>

#include "sim_library.h"

namespace {

class ParamsTest : public SimTest {};

// Each single id writes the field it mirrors; the next whole read shows it.
TEST_F(ParamsTest, SingleWritesAreReflectedInTheWholeRecord) {
  struct Case {
    int32_t id;
    int32_t value;
    size_t offset;
  };
  const Case cases[] = {
      {1, 700, offsetof(TyxCameraParams, gain)},
      {2, 2, offsetof(TyxCameraParams, runMode)},
      {3, 4, offsetof(TyxCameraParams, gamma)},
      {4, 200, offsetof(TyxCameraParams, black)},
      {5, 2, offsetof(TyxCameraParams, frameMode)},
      {6, 2, offsetof(TyxCameraParams, outputMode)},
      {7, 96, offsetof(TyxCameraParams, beginLine)},
      {8, 300, offsetof(TyxCameraParams, endLine)},
      {9, 400, offsetof(TyxCameraParams, exposalTime)},
      {10, 200, offsetof(TyxCameraParams, rGain)},
      {11, 12, offsetof(TyxCameraParams, gGain)},
      {12, 252, offsetof(TyxCameraParams, bGain)},
      {13, -100, offsetof(TyxCameraParams, saturation)},
      {14, 1, offsetof(TyxCameraParams, rate)},
      {16, 150, offsetof(TyxCameraParams, radius)},
      {17, 320, offsetof(TyxCameraParams, coordinateX)},
      {18, 240, offsetof(TyxCameraParams, coordinateY)},
      {21, 10, offsetof(TyxCameraParams, rBrightness)},
      {24, 77, offsetof(TyxCameraParams, allContrast)},
      {25, 15, offsetof(TyxCameraParams, recursionParam)},
      {26, 1, offsetof(TyxCameraParams, negativeImage)},
      {27, 1, offsetof(TyxCameraParams, horizontalInverse)},
      {28, 1, offsetof(TyxCameraParams, verticalInverse)},
      {29, 17, offsetof(TyxCameraParams, saturation)},
      {37, 1023, offsetof(TyxCameraParams, brightness)},
  };
  void* cam = open("COM1");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.id);
    ASSERT_EQ(lib.tyxCamSetConfigParam(cam, c.id, c.value, 0), 1) << lib.tyxCamGetLastError();
    TyxCameraParams p = readParams(cam);
    int32_t field = 0;
    std::memcpy(&field, reinterpret_cast<const char*>(&p) + c.offset, 4);
    EXPECT_EQ(field, c.value);
    EXPECT_EQ(p.size, 168);
  }
}

TEST_F(ParamsTest, OutOfRangeAndUnknownIdsAreRefusedAndChangeNothing) {
  struct Case {
    const char* port;
    int32_t id;
    int64_t value;
  };
  const Case cases[] = {
      {"COM1", 1, 1024},    {"COM1", 1, -1},     {"COM1", 4, 256},    {"COM1", 2, 7},
      {"COM1", 3, 0},       {"COM1", 6, 3},      {"COM1", 7, 600},    {"COM1", 10, 256},
      {"COM1", 13, -129},   {"COM1", 26, 2},     {"COM1", 31, 31},    {"COM1", 33, 651},
      {"COM1", 37, 1024},   {"COM1", 20, 0},     {"COM1", 99, 0},     {"COM1", 104, 5},
      {"COM1", 38, 0},      {"COM1", 62, 10},    {"COM1", 48, 10},    {"COM2", 31, 5},
      {"COM2", 38, 1},      {"NetPort2", 62, 216}, {"NetPort2", 64, 16}, {"NetPort1", 52, 3},
      {"COM1", 1, int64_t{1} << 33},              {"CamLink1", 1, 100},
      {"CamLink1", 106, 501}, {"CamLink1", 105, 2049}, {"CamLink2", 107, 65536},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.port) + " id " + std::to_string(c.id));
    void* cam = open(c.port);
    TyxCameraParams before{};
    TyxLinearParams linBefore{};
    const bool lineScan = std::string(c.port).rfind("CamLink", 0) == 0;
    if (lineScan)
      linBefore = readLinear(cam);
    else
      before = readParams(cam);
    EXPECT_EQ(lib.tyxCamSetConfigParam(cam, c.id, static_cast<intptr_t>(c.value), 0), 0);
    EXPECT_EQ(lib.tyxCamGetLastError(), 122);
    if (lineScan) {
      TyxLinearParams after = readLinear(cam);
      EXPECT_EQ(std::memcmp(&linBefore, &after, sizeof after), 0);
    } else {
      TyxCameraParams after = readParams(cam);
      EXPECT_EQ(std::memcmp(&before, &after, sizeof after), 0);
    }
    lib.tyxCamCloseCamera(cam);
  }
}

TEST_F(ParamsTest, ModesOtherThanTheDocumentedOnesAreRefused) {
  void* cam = open("COM1");
  EXPECT_EQ(lib.tyxCamSetConfigParam(cam, 1, 100, 1), 0);
  EXPECT_EQ(lib.tyxCamGetLastError(), 122);
  TyxCameraParams p{};
  p.size = sizeof p;
  EXPECT_EQ(lib.tyxCamSetConfigParam(cam, -2, reinterpret_cast<intptr_t>(&p), 0), 0);
  EXPECT_EQ(lib.tyxCamGetConfigParam(cam, -1, &p, 2), 0);
  EXPECT_EQ(lib.tyxCamGetLastError(), 122);
  EXPECT_EQ(lib.tyxCamGetConfigParam(cam, -1, nullptr, 0), 0);
  EXPECT_EQ(lib.tyxCamSetConfigParam(cam, -2, 0, 2), 0);
}

TEST_F(ParamsTest, WholeBlocksWithAWrongSizeFieldAreRefused) {
  void* cam = open("COM1");
  void* ls = open("CamLink1");
  alignas(8) unsigned char buffer[512];
  std::memset(buffer, 0x5A, sizeof buffer);
  auto setSize = [&](int32_t size) { std::memcpy(buffer, &size, 4); };
  struct Case {
    void* cam;
    int32_t id;
    bool write;
    int32_t wrongSize;
  };
  const Case cases[] = {
      {cam, -1, false, 100}, {cam, 34, false, 168}, {ls, 100, false, 128},
      {cam, -2, true, 167},  {cam, 35, true, 256},  {ls, 101, true, 168},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.id);
    setSize(c.wrongSize);
    unsigned char copy[512];
    std::memcpy(copy, buffer, sizeof copy);
    const int32_t r = c.write
                          ? lib.tyxCamSetConfigParam(c.cam, c.id, reinterpret_cast<intptr_t>(buffer), 2)
                          : lib.tyxCamGetConfigParam(c.cam, c.id, buffer, 0);
    EXPECT_EQ(r, 0);
    EXPECT_EQ(lib.tyxCamGetLastError(), 122);
    // Nothing was written into the caller's memory.
    EXPECT_EQ(std::memcmp(copy, buffer, sizeof copy), 0);
  }
}

TEST_F(ParamsTest, BlocksOnlyExistOnCamerasThatHaveThem) {
  void* plain = open("COM2");  // no ExtendedParams block (tag 34 is 0)
  void* ls = open("CamLink2");
  TyxExtendedParams e{};
  e.size = sizeof e;
  EXPECT_EQ(lib.tyxCamFunctionTag(plain, 34), 0);
  EXPECT_EQ(lib.tyxCamGetConfigParam(plain, 34, &e, 0), 0);
  EXPECT_EQ(lib.tyxCamGetLastError(), 122);
  TyxLinearParams l{};
  l.size = sizeof l;
  EXPECT_EQ(lib.tyxCamGetConfigParam(plain, 100, &l, 0), 0);
  TyxCameraParams p{};
  p.size = sizeof p;
  EXPECT_EQ(lib.tyxCamGetConfigParam(ls, -1, &p, 0), 0);
  EXPECT_EQ(lib.tyxCamGetLastError(), 122);
}

TEST_F(ParamsTest, MemoryKeepsACopyUntilRecalled) {
  void* cam = open("COM1");
  ASSERT_EQ(lib.tyxCamSetConfigParam(cam, 1, 500, 0), 1);
  ASSERT_EQ(lib.tyxCamMemorizeParam(cam), 1);
  ASSERT_EQ(lib.tyxCamSetConfigParam(cam, 1, 100, 0), 1);
  EXPECT_EQ(readParams(cam, 0).gain, 100);
  EXPECT_EQ(readParams(cam, 1).gain, 500);
  ASSERT_EQ(lib.tyxCamRecallParam(cam), 1);
  EXPECT_EQ(readParams(cam, 0).gain, 500);
}

TEST_F(ParamsTest, MemoryStartsAtFactoryValuesAndSurvivesReopening) {
  void* cam = open("COM1");
  const TyxCameraParams factory = readParams(cam, 1);
  ASSERT_EQ(lib.tyxCamSetConfigParam(cam, 4, 99, 0), 1);
  ASSERT_EQ(lib.tyxCamMemorizeParam(cam), 1);
  ASSERT_EQ(lib.tyxCamCloseCamera(cam), 1);
  cam = open("COM1");
  EXPECT_EQ(readParams(cam, 1).black, 99);
  EXPECT_NE(factory.black, 99);
}

TEST_F(ParamsTest, DefaultParamRestoresFactoryValuesWhateverTheRecordHolds) {
  void* cam = open("COM1");
  const TyxCameraParams factory = readParams(cam);
  ASSERT_EQ(lib.tyxCamSetConfigParam(cam, 1, 900, 0), 1);
  ASSERT_EQ(lib.tyxCamSetConfigParam(cam, 5, 2, 0), 1);
  TyxCameraParams mine = readParams(cam);
  mine.gain = 5;  // the program passes its own mirror; it is not applied
  ASSERT_EQ(lib.tyxCamSetConfigParam(cam, -2, reinterpret_cast<intptr_t>(&mine), 2), 1);
  const TyxCameraParams after = readParams(cam);
  EXPECT_EQ(std::memcmp(&after, &factory, sizeof after), 0);
  EXPECT_EQ(after.gain, 330);
  EXPECT_EQ(after.frameMode, 1);
  EXPECT_EQ(after.lineCount, 600);
  EXPECT_EQ(after.lineStep, 12);
}

TEST_F(ParamsTest, LineScanDefaultsAndSingleIdsUpdateTheBlock) {
  void* cam = open("CamLink1");
  EXPECT_NE(lib.tyxCamFunctionTag(cam, 1002), 0);
  const TyxLinearParams factory = readLinear(cam);
  EXPECT_EQ(factory.size, 256);
  EXPECT_EQ(factory.marker, 0xFFFE);
  struct Case {
    int32_t id;
    int32_t value;
    int32_t TyxLinearParams::*field;
  };
  const Case cases[] = {
      {102, 3, &TyxLinearParams::workMode},     {103, 2, &TyxLinearParams::cameraLinkMode},
      {104, 100, &TyxLinearParams::aoiStart},   {105, 1000, &TyxLinearParams::aoiLength},
      {106, 50, &TyxLinearParams::time1},       {107, 450, &TyxLinearParams::time2},
      {108, 1, &TyxLinearParams::testImage},    {109, 1, &TyxLinearParams::correctionStart},
      {110, 16, &TyxLinearParams::correctionLines}, {111, 3, &TyxLinearParams::dataShift},
      {112, 1023, &TyxLinearParams::redGain},   {117, 0, &TyxLinearParams::blueOffset},
      {118, 3, &TyxLinearParams::gainLevel},    {125, 700, &TyxLinearParams::overallGain},
      {126, 5, &TyxLinearParams::overallOffset},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.id);
    ASSERT_EQ(lib.tyxCamSetConfigParam(cam, c.id, c.value, 0), 1);
    EXPECT_EQ(readLinear(cam).*(c.field), c.value);
  }
  TyxLinearParams mine = readLinear(cam);
  ASSERT_EQ(lib.tyxCamSetConfigParam(cam, 101, reinterpret_cast<intptr_t>(&mine), 2), 1);
  const TyxLinearParams after = readLinear(cam);
  EXPECT_EQ(std::memcmp(&after, &factory, sizeof after), 0);
}

TEST_F(ParamsTest, ExtendedBlockFollowsSingleIdsAndWholeWrites) {
  void* cam = open("COM1");
  ASSERT_EQ(lib.tyxCamSetConfigParam(cam, 31, 30, 0), 1);
  ASSERT_EQ(lib.tyxCamSetConfigParam(cam, 32, 0, 0), 1);
  ASSERT_EQ(lib.tyxCamSetConfigParam(cam, 33, 650, 0), 1);
  TyxExtendedParams e = readExtended(cam);
  EXPECT_EQ(e.riseDelay, 30);
  EXPECT_EQ(e.fallDelay, 0);
  EXPECT_EQ(e.protectTime, 650);
  e.protectTime = 7;
  ASSERT_EQ(lib.tyxCamSetConfigParam(cam, 35, reinterpret_cast<intptr_t>(&e), 2), 1);
  EXPECT_EQ(readExtended(cam).protectTime, 7);
  e.protectTime = 9999;  // a value no single write could set
  EXPECT_EQ(lib.tyxCamSetConfigParam(cam, 35, reinterpret_cast<intptr_t>(&e), 2), 0);
  EXPECT_EQ(readExtended(cam).protectTime, 7);
}

TEST_F(ParamsTest, ModelValuesOfThe4kVideoCamera) {
  void* cam = open("NetPort1", -1);
  const struct {
    int32_t id;
    int32_t value;
    int32_t TyxExtendedParams::*field;
  } cases[] = {
      {48, 200, &TyxExtendedParams::modelSaturation},
      {49, 255, &TyxExtendedParams::modelContrast},
      {50, 0, &TyxExtendedParams::autoExtinctionTarget},
      {51, 0, &TyxExtendedParams::autoExtinction},
      {52, 0, &TyxExtendedParams::resolution},
      {53, 1, &TyxExtendedParams::resolutionSettingMode},
      {54, 0, &TyxExtendedParams::sensorSpeed},
      {55, 0, &TyxExtendedParams::frameRate},
      {56, 0, &TyxExtendedParams::autoWhiteBalance},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.id);
    ASSERT_EQ(lib.tyxCamSetConfigParam(cam, c.id, c.value, 0), 1);
    EXPECT_EQ(readExtended(cam).*(c.field), c.value);
  }
  EXPECT_EQ(lib.tyxCamSetConfigParam(cam, 57, 1, 0), 1);
  EXPECT_EQ(lib.tyxCamSetConfigParam(cam, 57, 0, 0), 0);
}

TEST_F(ParamsTest, OrientationModelValuesAndExposureLinesReadBack) {
  void* cam = open("NetPort2", -1);
  ASSERT_EQ(lib.tyxCamSetConfigParam(cam, 62, 215, 0), 1);
  ASSERT_EQ(lib.tyxCamSetConfigParam(cam, 63, 255, 0), 1);
  ASSERT_EQ(lib.tyxCamSetConfigParam(cam, 64, 15, 0), 1);
  ASSERT_EQ(lib.tyxCamSetConfigParam(cam, 59, 1, 0), 1);
  const TyxCameraParams p = readParams(cam);
  EXPECT_EQ(p.xShift, 215);
  EXPECT_EQ(p.yShift, 255);
  EXPECT_EQ(p.edgeEnhance, 15);
  EXPECT_EQ(p.textDisplay, 1);
  for (int32_t id : {61, 65, 66, 69}) EXPECT_EQ(lib.tyxCamSetConfigParam(cam, id, 1, 0), 1) << id;

  // Free running, the camera holds the exposure to 1568 lines and says so.
  int32_t lines = 0;
  ASSERT_EQ(lib.tyxCamSetConfigParam(cam, 68, 3000, 0), 1);
  ASSERT_EQ(lib.tyxCamGetConfigParam(cam, 68, &lines, 0), 1);
  EXPECT_EQ(lines, 1568);
  ASSERT_EQ(lib.tyxCamSetConfigParam(cam, 2, 2, 0), 1);
  ASSERT_EQ(lib.tyxCamSetConfigParam(cam, 68, 3000, 0), 1);
  ASSERT_EQ(lib.tyxCamGetConfigParam(cam, 68, &lines, 0), 1);
  EXPECT_EQ(lines, 3000);
  EXPECT_EQ(readParams(cam).exposalTime, 3000);
}

TEST_F(ParamsTest, UsbExposureAndTriggerState) {
  void* cam = open("USB1");
  ASSERT_EQ(lib.tyxCamSetConfigParam(cam, 19, 16667, 0), 1);
  int32_t v = 0;
  ASSERT_EQ(lib.tyxCamGetConfigParam(cam, 19, &v, 0), 1);
  EXPECT_EQ(v, 16667);
  ASSERT_EQ(lib.tyxCamSetConfigParam(cam, 2, 2, 0), 1);
  EXPECT_EQ(readParams(cam).usbTrigger, 1);
  ASSERT_EQ(lib.tyxCamSetConfigParam(cam, 2, 1, 0), 1);
  EXPECT_EQ(readParams(cam).usbTrigger, 0);
}

TEST_F(ParamsTest, WhiteBalanceSetsGainsThatCancelTheSceneCast) {
  void* cam = open("COM1");
  ASSERT_EQ(lib.tyxCamSetConfigParam(cam, 10, 0, 0), 1);
  ASSERT_EQ(lib.tyxCamSetConfigParam(cam, 12, 252, 0), 1);
  ASSERT_EQ(lib.tyxCamSetConfigParam(cam, 38, 1, 0), 1);
  const TyxCameraParams p = readParams(cam);
  // The scene is dim in red and bright in blue: red gain above green, blue below.
  EXPECT_GT(p.rGain, p.gGain);
  EXPECT_LT(p.bGain, p.gGain);
  EXPECT_EQ(p.rGain % 4, 0);
  EXPECT_EQ(p.bGain % 4, 0);
  EXPECT_NEAR(p.rGain * 0.9, p.gGain, 4.0);
  EXPECT_NEAR(p.bGain * 1.1, p.gGain, 4.0);
}

}  // namespace
