// missing_all_test.cpp - a board library without any of the ordinals used.
//
// The library resolves ordinals once per process, so this runs in a process
// of its own with every ordinal removed before the first call.

#include <gtest/gtest.h>

#include <cstring>

#include "clser/clsertyx.h"
#include "clser/clsertyx_testing.h"
#include "sim/tyxapi64/tyxapi64_sim.h"

namespace {

// Never dereferenced: with no board library entries nothing may touch it.
void* const kSomeRef = reinterpret_cast<void*>(0x7E10000);

TEST(AllOrdinalsMissing, EveryCallThatNeedsOneSaysSo) {
  void* slot = nullptr;
  EXPECT_EQ(clSerialInit(0, &slot), CL_ERR_FUNCTION_NOT_FOUND);
  char area[64] = "baudrate=9600";
  EXPECT_EQ(clSerialInit(0x80000000u, reinterpret_cast<void**>(area)), CL_ERR_FUNCTION_NOT_FOUND);
  EXPECT_STREQ(area, "baudrate=9600");  // the caller's area is left alone

  char buffer[8] = "abc";
  uint32_t size = 3;
  EXPECT_EQ(clSerialRead(kSomeRef, buffer, &size, 0), CL_ERR_FUNCTION_NOT_FOUND);
  EXPECT_EQ(clSerialWrite(kSomeRef, buffer, &size, 0), CL_ERR_FUNCTION_NOT_FOUND);
  EXPECT_EQ(clSetBaudRate(kSomeRef, 9600), CL_ERR_FUNCTION_NOT_FOUND);
  uint32_t n = 0;
  EXPECT_EQ(clGetNumSerialPorts(&n), CL_ERR_FUNCTION_NOT_FOUND);
  size = sizeof buffer;
  EXPECT_EQ(clGetSerialPortIdentifier(0, buffer, &size), CL_ERR_FUNCTION_NOT_FOUND);
  EXPECT_EQ(clGetNumBytesAvail(kSomeRef, &n), CL_ERR_FUNCTION_NOT_FOUND);
  EXPECT_EQ(clFlushPort(kSomeRef), CL_ERR_FUNCTION_NOT_FOUND);
  clSerialClose(kSomeRef);  // nothing to call; must not crash
}

TEST(AllOrdinalsMissing, CallsThatNeedNoneStillWork) {
  char name[16];
  uint32_t size = sizeof name, version = 0;
  EXPECT_EQ(clGetManufacturerInfo(name, &size, &version), CL_ERR_NO_ERR);
  EXPECT_STREQ(name, "tyx - QVM");
  size = sizeof name;
  char text[64];
  size = sizeof text;
  EXPECT_EQ(clGetErrorText(CL_ERR_FUNCTION_NOT_FOUND, text, &size), CL_ERR_NO_ERR);
  uint32_t rates = 0;
  EXPECT_EQ(clGetSupportedBaudRates(kSomeRef, &rates), CL_ERR_NO_ERR);
  EXPECT_EQ(clSetBaudRate(kSomeRef, 0), CL_ERR_BAUD_RATE_NOT_SUPPORTED);
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (tyxSim64Control("missing all") != 1) return 2;
  clsertyxTestingSetSleep([](uint32_t) {});
  return RUN_ALL_TESTS();
}
