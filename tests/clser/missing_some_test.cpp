// missing_some_test.cpp - a board library without the set-serial-parameter
// and last-status ordinals (122 and 4).
//
// Runs in a process of its own: the library resolves ordinals only once.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "clser/clsertyx.h"
#include "clser/clsertyx_testing.h"
#include "sim/tyxapi64/tyxapi64_sim.h"

namespace {

class SomeOrdinalsMissing : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(tyxSim64Control("reset; immediate on; missing 4,122"), 1);
    clsertyxTestingReset();
    clsertyxTestingSetSleep([](uint32_t) {});
  }

  static void* slotWithSwitch(int32_t value) {
    void* slot = nullptr;
    std::memcpy(&slot, &value, sizeof value);
    return slot;
  }
};

TEST_F(SomeOrdinalsMissing, InitWithoutSettingsStillWorks) {
  void* slot = slotWithSwitch(-2);
  ASSERT_EQ(clSerialInit(0, &slot), CL_ERR_NO_ERR);
  EXPECT_EQ(tyxSim64IsOpen(slot), 1);
  clSerialClose(slot);
  EXPECT_EQ(tyxSim64OpenCount(), 0u);
}

TEST_F(SomeOrdinalsMissing, InitThatMustSetParametersRefusesBeforeOpening) {
  char area[64] = "channel=0,baudrate=9600";
  EXPECT_EQ(clSerialInit(0x80000000u, reinterpret_cast<void**>(area)), CL_ERR_FUNCTION_NOT_FOUND);
  void* slot = slotWithSwitch(0);  // would show the dialog (or apply its defaults)
  EXPECT_EQ(clSerialInit(0, &slot), CL_ERR_FUNCTION_NOT_FOUND);
  EXPECT_EQ(tyxSim64OpenCount(), 0u);
  EXPECT_EQ(tyxSim64ParamCount(), 0u);
}

TEST_F(SomeOrdinalsMissing, WriteAndBaudRateNeedTheMissingOrdinals) {
  void* slot = slotWithSwitch(-2);
  ASSERT_EQ(clSerialInit(0, &slot), CL_ERR_NO_ERR);
  char text[] = "GAIN=1\r";
  uint32_t size = 7;
  EXPECT_EQ(clSerialWrite(slot, text, &size, 0), CL_ERR_FUNCTION_NOT_FOUND);
  EXPECT_EQ(clSetBaudRate(slot, CL_BAUDRATE_9600), CL_ERR_FUNCTION_NOT_FOUND);
  EXPECT_EQ(tyxSim64ParamCount(), 0u);
  clSerialClose(slot);
}

TEST_F(SomeOrdinalsMissing, FailedReadWithoutAStatusIsStillAFailure) {
  void* slot = slotWithSwitch(-2);
  ASSERT_EQ(clSerialInit(0, &slot), CL_ERR_NO_ERR);
  ASSERT_EQ(tyxSim64Control("read-result -3"), 1);
  char buffer[4];
  uint32_t size = 4;
  EXPECT_EQ(clSerialRead(slot, buffer, &size, 0), CL_ERR_TIMEOUT);
  EXPECT_EQ(size, 0u);
  clSerialClose(slot);
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  ::testing::InitGoogleTest(&argc, argv);
  // Removed before the library's first call, when it resolves its ordinals.
  if (tyxSim64Control("missing 4,122") != 1) return 2;
  return RUN_ALL_TESTS();
}
