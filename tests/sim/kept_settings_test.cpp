// kept_settings_test.cpp - "keep DIR": the cameras hold their settings and memory from one run to the next.
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "sim_library.h"

namespace fs = std::filesystem;

namespace {

class KeptSettingsTest : public SimTest {
 protected:
  fs::path dir;

  void SetUp() override {
    SimTest::SetUp();
    dir = fs::temp_directory_path() /
          ("tyxcam-keep-" + std::to_string(::getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
  }
  void TearDown() override {
    lib.tyxSimControl("reset");
    fs::remove_all(dir);
  }

  std::string keep() const { return "keep " + dir.string(); }
  // What a new run of a program sees: the library set up afresh, then told
  // where the cameras keep their settings.
  void nextRun(const std::string& more = {}) { control(("reset;fast;" + more + keep()).c_str()); }
};

TEST_F(KeptSettingsTest, SettingsAndMemoryComeBackInTheNextRun) {
  control(keep().c_str());
  void* cam = open("COM1");
  ASSERT_NE(cam, nullptr);
  ASSERT_EQ(lib.tyxCamSetConfigParam(cam, 1, 400, 0), 1);  // gain
  ASSERT_EQ(lib.tyxCamMemorizeParam(cam), 1);
  ASSERT_EQ(lib.tyxCamSetConfigParam(cam, 1, 500, 0), 1);
  ASSERT_EQ(lib.tyxCamSetConfigParam(cam, 4, 20, 0), 1);  // black level
  ASSERT_EQ(lib.tyxCamCloseCamera(cam), 1);
  EXPECT_TRUE(fs::exists(dir / "COM1.cam"));
  EXPECT_TRUE(fs::exists(dir / "COM1.memory.cam"));

  nextRun();
  cam = open("COM1");
  ASSERT_NE(cam, nullptr);
  EXPECT_EQ(readParams(cam).gain, 500);
  EXPECT_EQ(readParams(cam).black, 20);
  EXPECT_EQ(readParams(cam, 1).gain, 400) << "the memory is kept too";
  ASSERT_EQ(lib.tyxCamRecallParam(cam), 1);
  EXPECT_EQ(readParams(cam).gain, 400);
  // Cameras that were never opened keep their factory settings.
  void* other = open("COM3");
  ASSERT_NE(other, nullptr);
  EXPECT_EQ(readParams(other).gain, 330);
}

TEST_F(KeptSettingsTest, ADifferentCameraOnThePortStartsFromItsFactorySettings) {
  control(keep().c_str());
  void* cam = open("COM1");
  ASSERT_NE(cam, nullptr);
  ASSERT_EQ(lib.tyxCamSetConfigParam(cam, 1, 400, 0), 1);
  ASSERT_EQ(lib.tyxCamCloseCamera(cam), 1);

  struct Case {
    const char* label;
    std::string commands;
  };
  for (const Case& c : {Case{"another type", "camera COM1=212630;"}, Case{"another version", "camera COM1=219290/7;"}}) {
    SCOPED_TRACE(c.label);
    nextRun(c.commands);
    cam = open("COM1");
    ASSERT_NE(cam, nullptr);
    EXPECT_EQ(readParams(cam).gain, 330);
    ASSERT_EQ(lib.tyxCamCloseCamera(cam), 1);
  }
}

TEST_F(KeptSettingsTest, ADamagedOrHalfWrittenFileIsIgnored) {
  fs::create_directories(dir);
  std::ofstream(dir / "COM1.cam") << "TYXCAM-CONFIG 1\nproduct 219290\nversion 1\ncamera 42 1 2 3\n";
  std::ofstream(dir / "COM1.cam.part") << "leftover of a run that was stopped";
  nextRun();
  void* cam = open("COM1");
  ASSERT_NE(cam, nullptr);
  EXPECT_EQ(readParams(cam).gain, 330);
  ASSERT_EQ(lib.tyxCamSetConfigParam(cam, 1, 600, 0), 1);
  ASSERT_EQ(lib.tyxCamCloseCamera(cam), 1);
  nextRun();
  cam = open("COM1");
  ASSERT_NE(cam, nullptr);
  EXPECT_EQ(readParams(cam).gain, 600) << "the good file replaced the damaged one";
}

TEST_F(KeptSettingsTest, PortNamesBecomeFileNamesAndKeepingCanStop) {
  control(keep().c_str());
  void* cam = open("USB/232-1");
  ASSERT_NE(cam, nullptr);
  ASSERT_EQ(lib.tyxCamSetConfigParam(cam, 1, 401, 0), 1);
  ASSERT_EQ(lib.tyxCamCloseCamera(cam), 1);
  EXPECT_TRUE(fs::exists(dir / "USB-232-1.cam"));

  control("keep -");
  cam = open("COM1");
  ASSERT_NE(cam, nullptr);
  ASSERT_EQ(lib.tyxCamSetConfigParam(cam, 1, 402, 0), 1);
  ASSERT_EQ(lib.tyxCamCloseCamera(cam), 1);
  EXPECT_FALSE(fs::exists(dir / "COM1.cam"));

  // A folder that cannot be made is refused.
  EXPECT_EQ(lib.tyxSimControl(("keep " + (dir / "USB-232-1.cam" / "sub").string()).c_str()), 0);
  EXPECT_EQ(lib.tyxSimControl("keep"), 0);
}

}  // namespace
