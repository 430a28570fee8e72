// open_test.cpp - opening cameras on ports, identity, fault injection and vanishing cameras.
#include <cstring>
#include <string>

#include "sim_library.h"

namespace {

struct DefaultPort {
  const char* port;
  int32_t requested;
  int32_t type;
  int32_t version;
};

const DefaultPort kDefaults[] = {
    {"COM1", -2, 219290, 1},     {"COM2", -2, 210781, 2},     {"COM3", -2, 212630, 4},
    {"COM4", -2, 215590, 9},     {"CamLink1", -2, 120770, 1}, {"CamLink2", -2, 117810, 1},
    {"USB/232-1", -2, 210780, 4}, {"USB1", -2, 219660, 1},    {"USB2", -2, 211150, 1},
    {"NetPort1", -1, 321880, 1}, {"NetPort2", -1, 321140, 1}, {"NetPort3", -1, 218920, 1},
    {"NetPort4", -1, 212260, 1},
};

class OpenTest : public SimTest {};

TEST_F(OpenTest, EveryDefaultPortOpensWithItsIdentity) {
  for (const auto& d : kDefaults) {
    SCOPED_TRACE(d.port);
    int32_t type = d.requested;
    void* cam = lib.tyxCamOpenCamera(&type, d.port);
    ASSERT_NE(cam, nullptr) << lib.tyxCamGetLastError();
    EXPECT_EQ(type, d.type);
    const char* model = nullptr;
    EXPECT_EQ(lib.tyxCamGetTypeCode(cam, &model), d.type);
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(std::string(model), "TYX-" + std::to_string(d.type));
    EXPECT_EQ(lib.tyxCamGetVerCode(cam, 0), d.version);
    EXPECT_EQ(lib.tyxCamCloseCamera(cam), 1);
  }
}

TEST_F(OpenTest, DriverVersionNeedsNoHandleAndFollowsTheControlCommand) {
  EXPECT_EQ(lib.tyxCamGetDriverVer(nullptr, 0), 0x0002000A);
  control("driver 2.5");
  EXPECT_EQ(lib.tyxCamGetDriverVer(nullptr, 0), 0x00020005);
  EXPECT_EQ(lib.tyxSimControl("driver 2"), 0);
  EXPECT_EQ(lib.tyxCamGetDriverVer(nullptr, 0), 0x00020005);
}

TEST_F(OpenTest, SerialSettingsAfterTheCommaAreParsedAndTheTextBeforeItIsThePort) {
  void* cam = open("CamLink1,channel=0,baudrate=9600,databits=8,stopbits=1,parity=None");
  ASSERT_NE(cam, nullptr);
  EXPECT_EQ(lastLogLine(),
            "OpenCamera port=CamLink1 type=-2 channel=0 baudrate=9600 databits=8 stopbits=1 "
            "parity=None -> 1");
  EXPECT_EQ(lib.tyxCamGetTypeCode(cam, nullptr), 120770);
}

TEST_F(OpenTest, RefusedOpenStrings) {
  struct Case {
    const char* name;
    std::string port;
    int32_t requested;
    int32_t error;
  };
  const Case cases[] = {
      {"empty port", "", -2, 122},
      {"malformed settings", "CamLink1,baudrate", -2, 122},
      {"unknown port name", "LPT1", -2, 102},
      {"known port without camera", "USB3", -2, 103},
      {"longest refused length", std::string(256, 'C'), -2, 122},
      {"another type requested", "COM1", 210781, 113},
      {"type zero", "COM1", 0, 122},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    int32_t type = c.requested;
    EXPECT_EQ(lib.tyxCamOpenCamera(&type, c.port.c_str()), nullptr);
    EXPECT_EQ(lib.tyxCamGetLastError(), c.error);
  }
  int32_t type = -2;
  EXPECT_EQ(lib.tyxCamOpenCamera(&type, nullptr), nullptr);
  EXPECT_EQ(lib.tyxCamGetLastError(), 122);
  EXPECT_EQ(lib.tyxCamOpenCamera(nullptr, "COM1"), nullptr);
  EXPECT_EQ(lib.tyxCamGetLastError(), 122);
}

TEST_F(OpenTest, RequestedTypeEqualToTheCameraOpensIt) {
  EXPECT_NE(open("COM1", 219290), nullptr);
}

TEST_F(OpenTest, NetworkTypeOnASerialPortIsAcceptedAndNoted) {
  void* cam = open("COM1", -1);
  ASSERT_NE(cam, nullptr);
  EXPECT_NE(lastLogLine().find("note=type-does-not-match-port"), std::string::npos);
}

TEST_F(OpenTest, OnlyOneHandlePerPortUntilItIsClosed) {
  void* first = open("COM1");
  int32_t type = -2;
  EXPECT_EQ(lib.tyxCamOpenCamera(&type, "COM1"), nullptr);
  EXPECT_EQ(lib.tyxCamGetLastError(), 102);
  ASSERT_EQ(lib.tyxCamCloseCamera(first), 1);
  EXPECT_NE(open("COM1"), nullptr);
}

TEST_F(OpenTest, ClosedAndForeignHandlesAreInvalid) {
  void* cam = open("COM1");
  ASSERT_EQ(lib.tyxCamCloseCamera(cam), 1);
  int dummy = 0;
  for (void* h : {cam, static_cast<void*>(&dummy), static_cast<void*>(nullptr)}) {
    EXPECT_EQ(lib.tyxCamCloseCamera(h), 0);
    EXPECT_EQ(lib.tyxCamGetLastError(), 120);
    EXPECT_EQ(lib.tyxCamSetConfigParam(h, 1, 100, 0), 0);
    EXPECT_EQ(lib.tyxCamGetLastError(), 120);
    EXPECT_EQ(lib.tyxCamFunctionTag(h, 34), 0);
    EXPECT_EQ(lib.tyxCamGetLastError(), 120);
  }
}

TEST_F(OpenTest, ResetClosesHandlesLeftOpen) {
  void* cam = open("COM1");
  control("reset;fast");
  EXPECT_EQ(lib.tyxCamGetTypeCode(cam, nullptr), 0);
  EXPECT_EQ(lib.tyxCamGetLastError(), 120);
  EXPECT_NE(open("COM1"), nullptr);
}

TEST_F(OpenTest, SecondPassCameraAnswersFromItsSecondAttempt) {
  control("remove COM1;remove COM2;second-pass COM3");
  int32_t type = -2;
  // The first attempt gets no answer, as in the program's first pass ...
  EXPECT_EQ(lib.tyxCamOpenCamera(&type, "COM3"), nullptr);
  EXPECT_EQ(lib.tyxCamGetLastError(), 103);
  // ... the second attempt on COM3 gets the camera.
  type = -2;
  void* cam = lib.tyxCamOpenCamera(&type, "COM3");
  ASSERT_NE(cam, nullptr);
  EXPECT_EQ(type, 212630);
  // Once awake it stays awake.
  ASSERT_EQ(lib.tyxCamCloseCamera(cam), 1);
  EXPECT_NE(open("COM3"), nullptr);
}

TEST_F(OpenTest, PlacedAndRemovedCameras) {
  control("clear;camera COM2=110410;camera COM4=215590/3");
  int32_t type = -2;
  EXPECT_EQ(lib.tyxCamOpenCamera(&type, "COM1"), nullptr);
  void* ls = open("COM2");
  EXPECT_EQ(lib.tyxCamGetTypeCode(ls, nullptr), 110410);
  EXPECT_EQ(lib.tyxCamGetVerCode(ls, 0), 1);
  void* sc = open("COM4");
  EXPECT_EQ(lib.tyxCamGetVerCode(sc, 0), 3);

  control("remove COM4");
  // The handle outlives the camera behind it: calls report the lost camera.
  EXPECT_EQ(lib.tyxCamGetTypeCode(sc, nullptr), 0);
  EXPECT_EQ(lib.tyxCamGetLastError(), 103);
}

TEST_F(OpenTest, UnknownTypeCodeCannotBeOpened) {
  control("camera COM1=123456");
  int32_t type = -2;
  EXPECT_EQ(lib.tyxCamOpenCamera(&type, "COM1"), nullptr);
  EXPECT_EQ(lib.tyxCamGetLastError(), 124);
}

TEST_F(OpenTest, ModelTextCanBeReplacedOrRemoved) {
  control("model COM1=Demo camera 1");
  void* cam = open("COM1");
  const char* model = nullptr;
  lib.tyxCamGetTypeCode(cam, &model);
  ASSERT_NE(model, nullptr);
  EXPECT_STREQ(model, "Demo camera 1");
  control("model COM1=-");
  model = "unchanged";
  EXPECT_EQ(lib.tyxCamGetTypeCode(cam, &model), 219290);
  EXPECT_EQ(model, nullptr);
}

TEST_F(OpenTest, BadControlCommandsAreRefused) {
  for (const char* bad : {"bogus", "camera COM1", "camera COM1=abc", "fail 1", "fail 1=x",
                          "vanish", "tag COM1=3", "tag NOPORT:31=1", "remove NOPORT", "delay -1",
                          "gamma-choice 5 45", "gamma-choice 2", "second-pass NOPORT"}) {
    EXPECT_EQ(lib.tyxSimControl(bad), 0) << bad;
  }
  // One bad command does not stop the good ones around it.
  EXPECT_EQ(lib.tyxSimControl("remove COM1;bogus;remove COM2"), 0);
  int32_t type = -2;
  EXPECT_EQ(lib.tyxCamOpenCamera(&type, "COM2"), nullptr);
  EXPECT_EQ(lib.tyxSimControl(nullptr), 0);
}

TEST_F(OpenTest, FailInjectionPerIdForAllIdsAndForWholeReads) {
  void* cam = open("COM1");
  control("fail 1=106");
  EXPECT_EQ(lib.tyxCamSetConfigParam(cam, 1, 500, 0), 0);
  EXPECT_EQ(lib.tyxCamGetLastError(), 106);
  EXPECT_EQ(lib.tyxCamSetConfigParam(cam, 4, 10, 0), 1);
  // The failed write did not reach the camera.
  EXPECT_EQ(readParams(cam).gain, 330);

  control("fail read=103");
  TyxCameraParams p{};
  p.size = sizeof p;
  EXPECT_EQ(lib.tyxCamGetConfigParam(cam, -1, &p, 0), 0);
  EXPECT_EQ(lib.tyxCamGetLastError(), 103);
  EXPECT_EQ(lib.tyxCamSetConfigParam(cam, 4, 11, 0), 1);

  control("unfail;fail *=104");
  EXPECT_EQ(lib.tyxCamSetConfigParam(cam, 4, 12, 0), 0);
  EXPECT_EQ(lib.tyxCamGetLastError(), 104);
  control("unfail");
  EXPECT_EQ(readParams(cam).black, 11);
}

TEST_F(OpenTest, FailInjectionOfNamedOperations) {
  void* cam = open("COM1");
  control("fail memorize=105;fail recall=104;fail save=118;fail load=118");
  EXPECT_EQ(lib.tyxCamMemorizeParam(cam), 0);
  EXPECT_EQ(lib.tyxCamGetLastError(), 105);
  EXPECT_EQ(lib.tyxCamRecallParam(cam), 0);
  EXPECT_EQ(lib.tyxCamGetLastError(), 104);
  EXPECT_EQ(lib.tyxCamSaveConfigFile(cam, "/nonexistent-dir/x.cam"), 0);
  EXPECT_EQ(lib.tyxCamGetLastError(), 118);
  control("fail open=102");
  int32_t type = -2;
  EXPECT_EQ(lib.tyxCamOpenCamera(&type, "COM2"), nullptr);
  EXPECT_EQ(lib.tyxCamGetLastError(), 102);
}

TEST_F(OpenTest, VanishedCameraFailsEveryCallButReleasesItsPortOnClose) {
  void* cam = open("COM1");
  control("vanish 103");
  EXPECT_EQ(lib.tyxCamSetConfigParam(cam, 1, 100, 0), 0);
  EXPECT_EQ(lib.tyxCamGetLastError(), 103);
  EXPECT_EQ(lib.tyxCamGetTypeCode(cam, nullptr), 0);
  EXPECT_EQ(lib.tyxCamMemorizeParam(cam), 0);
  EXPECT_EQ(lib.tyxCamCloseCamera(cam), 0);
  EXPECT_EQ(lib.tyxCamGetLastError(), 103);
  // Reconnecting finds the camera again.
  void* again = open("COM1");
  EXPECT_EQ(lib.tyxCamGetTypeCode(again, nullptr), 219290);
}

TEST_F(OpenTest, VanishWithInvalidHandleCodeAndUnfailBringsItBack) {
  void* cam = open("COM2");
  control("vanish 120");
  EXPECT_EQ(lib.tyxCamFunctionTag(cam, 27), 0);
  EXPECT_EQ(lib.tyxCamGetLastError(), 120);
  control("unfail");
  EXPECT_EQ(lib.tyxCamFunctionTag(cam, 27), 1);
}

}  // namespace
