// tags_log_test.cpp - function tags of the default cameras, the gamma dialog and the call log.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <unistd.h>

#include "sim_library.h"

namespace {

class TagsTest : public SimTest {};

// Every control that depends on a tag can be seen both ways across the
// default cameras; README.md lists the same table.
TEST_F(TagsTest, DefaultCamerasShowEachConditionalControlBothWays) {
  struct Row {
    const char* port;
    int32_t requested;
    int32_t t1000, t1001, t1002, t25, t26, t27, t28, t31, t32, t33, t34, t37, t38;
  };
  const Row rows[] = {
      {"COM1", -2, 1, 1, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 1},
      {"COM2", -2, 0, 0, 0, 1, 0, 1, 1, 0, 0, 0, 0, 0, 0},
      {"COM3", -2, 1, 1, 0, 0, 0, 0, 0, 1, 0, 1, 1, 0, 0},
      {"COM4", -2, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 2},
      {"CamLink1", -2, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
      {"CamLink2", -2, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
      {"USB/232-1", -2, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
      {"NetPort1", -1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0},
      {"NetPort2", -1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
      {"NetPort3", -1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.port);
    void* cam = open(r.port, r.requested);
    const std::pair<int32_t, int32_t> expect[] = {
        {1000, r.t1000}, {1001, r.t1001}, {1002, r.t1002}, {25, r.t25}, {26, r.t26},
        {27, r.t27},     {28, r.t28},     {31, r.t31},     {32, r.t32}, {33, r.t33},
        {34, r.t34},     {37, r.t37},     {38, r.t38}};
    for (auto [tag, value] : expect) EXPECT_EQ(lib.tyxCamFunctionTag(cam, tag), value) << tag;
    EXPECT_EQ(lib.tyxCamFunctionTag(cam, 4242), 0);  // unknown tags: feature absent
  }
}

TEST_F(TagsTest, TagOverrideChangesTheAnswerAndTag34GatesTheBlock) {
  control("tag COM1:34=0;tag COM2:38=2");
  void* com1 = open("COM1");
  void* com2 = open("COM2");
  EXPECT_EQ(lib.tyxCamFunctionTag(com1, 34), 0);
  EXPECT_EQ(lib.tyxCamFunctionTag(com2, 38), 2);
  TyxExtendedParams e{};
  e.size = sizeof e;
  EXPECT_EQ(lib.tyxCamGetConfigParam(com1, 34, &e, 0), 0);
  EXPECT_EQ(lib.tyxCamSetConfigParam(com1, 31, 5, 0), 0);
}

class GammaTest : public SimTest {
 protected:
  struct Seen {
    int checks = 0;
    int applies = 0;
    void* cam = nullptr;
    int32_t value = -1, reserved = -1, mode = -1;
  };
  static Seen seen;
  static int32_t check(void* owner) {
    ++seen.checks;
    return 1009 + *static_cast<int32_t*>(owner);
  }
  static int32_t apply(void* cam, int32_t value, int32_t reserved, int32_t mode) {
    ++seen.applies;
    seen.cam = cam;
    seen.value = value;
    seen.reserved = reserved;
    seen.mode = mode;
    // The program writes the mode and the value from inside the callback.
    SimLibrary::get().tyxCamSetConfigParam(cam, 3, mode, 0);
    SimLibrary::get().tyxCamSetConfigParam(cam, 15, value, 0);
    return 1;
  }
};
GammaTest::Seen GammaTest::seen;

TEST_F(GammaTest, SimulatedUserChoiceReachesTheApplyCallback) {
  seen = Seen{};
  void* cam = open("COM1");
  std::vector<int32_t> table(1024);
  for (int i = 0; i < 1024; ++i) table[i] = i;
  int32_t currentGamma = 2;
  control("log-clear");
  ASSERT_EQ(lib.tyxGammaDlgCallback(cam, &currentGamma, table.data(), 1024, 10, 1, check, apply), 1);
  EXPECT_EQ(seen.checks, 1);
  EXPECT_EQ(seen.applies, 1);
  EXPECT_EQ(seen.cam, cam);
  EXPECT_EQ(seen.value, 45);
  EXPECT_EQ(seen.mode, 2);
  EXPECT_EQ(seen.reserved, 0);
  const auto lines = logLines();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "SetConfigParam port=COM1 id=3 value=2 mode=0 -> 1");
  EXPECT_EQ(lines[1], "SetConfigParam port=COM1 id=15 value=45 mode=0 -> 1");
  EXPECT_EQ(lines[2],
            "GammaDlgCallback port=COM1 count=1024 bits=10 flag=1 check=1011 value=45 mode=2 -> 1");

  control("gamma-choice 4 60");
  seen = Seen{};
  ASSERT_EQ(lib.tyxGammaDlgCallback(cam, &currentGamma, table.data(), 1024, 10, 1, check, apply), 1);
  EXPECT_EQ(seen.mode, 4);
  EXPECT_EQ(seen.value, 60);
  EXPECT_EQ(readParams(cam).gamma, 4);
}

TEST_F(GammaTest, BadTablesAreRefusedWithoutCallingBack) {
  seen = Seen{};
  void* cam = open("COM1");
  int32_t table[4] = {0, 1, 2, 3};
  int32_t owner = 1;
  EXPECT_EQ(lib.tyxGammaDlgCallback(cam, &owner, nullptr, 1024, 10, 1, check, apply), 0);
  EXPECT_EQ(lib.tyxGammaDlgCallback(cam, &owner, table, 0, 10, 1, check, apply), 0);
  EXPECT_EQ(lib.tyxGammaDlgCallback(cam, &owner, table, 4, 0, 1, check, apply), 0);
  EXPECT_EQ(lib.tyxCamGetLastError(), 122);
  EXPECT_EQ(lib.tyxGammaDlgCallback(nullptr, &owner, table, 4, 10, 1, check, apply), 0);
  EXPECT_EQ(lib.tyxCamGetLastError(), 120);
  EXPECT_EQ(seen.checks + seen.applies, 0);
}

class LogTest : public SimTest {};

TEST_F(LogTest, OneLinePerCallInTheDocumentedFormat) {
  void* cam = open("COM1");
  TyxCameraParams p{};
  p.size = sizeof p;
  lib.tyxCamSetConfigParam(cam, 1, 330, 0);
  lib.tyxCamGetConfigParam(cam, -1, &p, 0);
  lib.tyxCamSetConfigParam(cam, -2, reinterpret_cast<intptr_t>(&p), 2);
  lib.tyxCamFunctionTag(cam, 31);
  lib.tyxCamGetLastError();  // not logged
  lib.tyxCamGetDriverVer(nullptr, 0);
  lib.tyxCamSetConfigParam(cam, 1, 5000, 0);
  lib.tyxCamCalFrameRate(cam, -1);
  lib.tyxCamCloseCamera(cam);
  lib.tyxCamFunctionTag(cam, 31);
  const std::vector<std::string> expected = {
      "OpenCamera port=COM1 type=-2 -> 1",
      "SetConfigParam port=COM1 id=1 value=330 mode=0 -> 1",
      "GetConfigParam port=COM1 id=-1 mode=0 -> 1",
      "SetConfigParam port=COM1 id=-2 value=block mode=2 -> 1",
      "FunctionTag port=COM1 tag=31 -> 1",
      "GetDriverVer port=- reserved=0 -> 131082",
      "SetConfigParam port=COM1 id=1 value=5000 mode=0 -> 0",
      "CalFrameRate port=COM1 index=-1 -> 25.6",
      "CloseCamera port=COM1 -> 1",
      // A closed handle still names the port it was opened on.
      "FunctionTag port=COM1 tag=31 -> 0",
  };
  EXPECT_EQ(logLines(), expected);
  int foreign = 0;
  lib.tyxCamFunctionTag(&foreign, 31);
  EXPECT_EQ(lastLogLine(), "FunctionTag port=? tag=31 -> 0");
}

TEST_F(LogTest, EveryLineHasNameKeysArrowAndResult) {
  void* cam = open("USB1");
  const int32_t rect[4] = {0, 0, 640, 480};
  lib.tyxCamSetTargetRect(cam, rect);
  int32_t v = 0;
  lib.tyxCamGetUsbInfo(cam, 2, &v);
  lib.tyxCamSaveConfigFile(cam, "/nonexistent\nfolder/x.cam");
  lib.tyxCamMemorizeParam(cam);
  lib.tyxCamRecallParam(cam);
  TyxNetDeviceRecord area[4];
  lib.tyxCamScanDevice(area, nullptr);
  const std::regex line(R"(^[A-Za-z_]+( [a-z0-9]+=[^ ]*)* -> -?[0-9.e+-]+$)");
  const auto lines = logLines();
  ASSERT_EQ(lines.size(), 7u);
  for (const auto& l : lines) EXPECT_TRUE(std::regex_match(l, line)) << l;
  EXPECT_EQ(lines[1], "SetTargetRect port=USB1 rect=0,0,640,480 -> 1");
  EXPECT_EQ(lines[2], "GetUsbInfo port=USB1 selector=2 -> 1");
  // A newline in an argument cannot split the line.
  EXPECT_EQ(lines[3], "SaveConfigFile port=USB1 path=/nonexistent?folder/x.cam -> 0");
}

TEST_F(LogTest, ReadLogCutsToTheBufferAndReportsTheFullLength) {
  open("COM1");
  const int32_t full = lib.tyxSimReadLog(nullptr, 0);
  EXPECT_EQ(full, static_cast<int32_t>(std::string("OpenCamera port=COM1 type=-2 -> 1\n").size()));
  char small[11];
  EXPECT_EQ(lib.tyxSimReadLog(small, sizeof small), full);
  EXPECT_STREQ(small, "OpenCamera");
  control("log-clear");
  EXPECT_EQ(lib.tyxSimReadLog(nullptr, 0), 0);
}

TEST_F(LogTest, LogFileReceivesTheSameLines) {
  const auto file = std::filesystem::temp_directory_path() /
                    ("tyxcam-log-" + std::to_string(::getpid()) + ".txt");
  std::filesystem::remove(file);
  control(("log " + file.string()).c_str());
  void* cam = open("COM2");
  lib.tyxCamGetVerCode(cam, 0);
  control("log -");
  lib.tyxCamGetVerCode(cam, 0);  // after the file was closed
  std::ifstream in(file);
  std::string a, b, c;
  std::getline(in, a);
  std::getline(in, b);
  EXPECT_EQ(a, "OpenCamera port=COM2 type=-2 -> 1");
  EXPECT_EQ(b, "GetVerCode port=COM2 reserved=0 -> 2");
  EXPECT_FALSE(std::getline(in, c));
  std::filesystem::remove(file);
}

}  // namespace
