// board_absent_test.cpp - the serial library on a machine without the board
// library: it loads, lists no ports and refuses every index, and says once on
// stderr why.
//
// A process of its own: the board library is looked for only once.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "clser/clsertyx.h"
#include "clser/clsertyx_testing.h"

namespace {

TEST(BoardLibraryAbsent, NoPortsNoIndexAndOneLineOnStderr) {
  ::testing::internal::CaptureStderr();
  uint32_t ports = 99;
  EXPECT_EQ(clGetNumSerialPorts(&ports), CL_ERR_NO_ERR);
  EXPECT_EQ(ports, 0u);
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("board library not found"), std::string::npos) << err;
  EXPECT_NE(err.find("/nonexistent/libtyxapi64.so"), std::string::npos) << err;

  ::testing::internal::CaptureStderr();
  char id[32];
  uint32_t size = sizeof id;
  EXPECT_EQ(clGetSerialPortIdentifier(0, id, &size), CL_ERR_INVALID_INDEX);
  for (int32_t sw : {-2, 0}) {
    void* slot = nullptr;
    std::memcpy(&slot, &sw, sizeof sw);
    EXPECT_EQ(clSerialInit(0, &slot), CL_ERR_INVALID_INDEX) << sw;
  }
  char area[64] = "channel=0,baudrate=9600";
  EXPECT_EQ(clSerialInit(0x80000000u, reinterpret_cast<void**>(area)), CL_ERR_INVALID_INDEX);
  EXPECT_STREQ(area, "channel=0,baudrate=9600");            // the caller's area is left alone
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");  // said once
}

TEST(BoardLibraryAbsent, CallsWithAReferenceHaveNoValidReference) {
  void* const someRef = reinterpret_cast<void*>(0x7E10000);  // never dereferenced
  char buffer[8] = "abc";
  uint32_t size = 3, n = 0;
  EXPECT_EQ(clSerialRead(someRef, buffer, &size, 0), CL_ERR_INVALID_REFERENCE);
  EXPECT_EQ(clSerialWrite(someRef, buffer, &size, 0), CL_ERR_INVALID_REFERENCE);
  EXPECT_EQ(clSetBaudRate(someRef, CL_BAUDRATE_9600), CL_ERR_INVALID_REFERENCE);
  EXPECT_EQ(clSetParity(someRef, 0), CL_ERR_INVALID_REFERENCE);
  EXPECT_EQ(clGetNumBytesAvail(someRef, &n), CL_ERR_INVALID_REFERENCE);
  EXPECT_EQ(clFlushPort(someRef), CL_ERR_INVALID_REFERENCE);
  clSerialClose(someRef);  // nothing to call; must not crash
  char name[16];
  size = sizeof name;
  uint32_t version = 0;
  EXPECT_EQ(clGetManufacturerInfo(name, &size, &version), CL_ERR_NO_ERR);
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  clser::testing::setBoardLibraryPath("/nonexistent/libtyxapi64.so");
  clsertyxTestingSetSleep([](uint32_t) {});
  return RUN_ALL_TESTS();
}
