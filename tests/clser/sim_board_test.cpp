// sim_board_test.cpp - the simulated board library through its ordinals.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "sim/tyxapi64/tyxapi64_sim.h"

namespace {

template <typename Fn>
Fn ordinal(uint32_t n) {
  return reinterpret_cast<Fn>(tyxapi64Ordinal(n));
}

class SimBoard : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(tyxSim64Control("reset; immediate on"), 1);
    open = ordinal<Tyx64OpenBoardFn>(TYX64_ORD_OPEN_BOARD);
    close = ordinal<Tyx64CloseBoardFn>(TYX64_ORD_CLOSE_BOARD);
    status = ordinal<Tyx64LastStatusFn>(TYX64_ORD_LAST_STATUS);
    type = ordinal<Tyx64BoardTypeFn>(TYX64_ORD_BOARD_TYPE);
    table = ordinal<Tyx64BoardTableFn>(TYX64_ORD_BOARD_TABLE);
    set = ordinal<Tyx64SetSerialParamFn>(TYX64_ORD_SET_SERIAL_PARAM);
    read = ordinal<Tyx64SerialReadFn>(TYX64_ORD_SERIAL_READ);
    write = ordinal<Tyx64SerialWriteFn>(TYX64_ORD_SERIAL_WRITE);
    ASSERT_TRUE(open && close && status && type && table && set && read && write);
  }

  void* openIndex(uint64_t index) { return open(&index); }

  std::string ask(void* ref, const std::string& command) {
    write(ref, command.data(), static_cast<uint32_t>(command.size()), 0);
    char buffer[512];
    int32_t n = read(ref, buffer, sizeof buffer, 0);
    return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
  }

  Tyx64OpenBoardFn open{};
  Tyx64CloseBoardFn close{};
  Tyx64LastStatusFn status{};
  Tyx64BoardTypeFn type{};
  Tyx64BoardTableFn table{};
  Tyx64SetSerialParamFn set{};
  Tyx64SerialReadFn read{};
  Tyx64SerialWriteFn write{};
};

TEST_F(SimBoard, OnlyKnownOrdinalsHaveEntries) {
  for (uint32_t n : {0u, 2u, 5u, 121u, 125u, 0xFFFFFFFFu}) EXPECT_EQ(tyxapi64Ordinal(n), nullptr) << n;
  ASSERT_EQ(tyxSim64Control("missing 9,123"), 1);
  EXPECT_EQ(tyxapi64Ordinal(9), nullptr);
  EXPECT_EQ(tyxapi64Ordinal(123), nullptr);
  EXPECT_NE(tyxapi64Ordinal(124), nullptr);
  ASSERT_EQ(tyxSim64Control("missing none"), 1);
  EXPECT_NE(tyxapi64Ordinal(9), nullptr);
}

TEST_F(SimBoard, BoardTableAndTypeCodes) {
  ASSERT_EQ(tyxSim64Control("boards 6301:Alpha|6150|7000: Gamma board "), 1);
  void* t = nullptr;
  ASSERT_EQ(table(&t, 0), 3);
  const auto* bytes = static_cast<const unsigned char*>(t);
  int32_t code = 0;
  std::memcpy(&code, bytes + 2 * TYX64_BOARD_ENTRY_SIZE + TYX64_BOARD_ENTRY_TYPE, 4);
  EXPECT_EQ(code, 7000);
  EXPECT_STREQ(reinterpret_cast<const char*>(bytes + TYX64_BOARD_ENTRY_NAME), "Alpha");
  EXPECT_STREQ(reinterpret_cast<const char*>(bytes + TYX64_BOARD_ENTRY_SIZE + TYX64_BOARD_ENTRY_NAME), "");
  EXPECT_STREQ(reinterpret_cast<const char*>(bytes + 2 * TYX64_BOARD_ENTRY_SIZE + TYX64_BOARD_ENTRY_NAME),
               "Gamma board");
  void* third = openIndex(2);
  ASSERT_NE(third, nullptr);
  EXPECT_EQ(type(third, 0) & 0xFFFF, 7000);
  EXPECT_EQ(type(third, 0) >> 16, 2);  // the high half is not part of the code
  EXPECT_EQ(openIndex(3), nullptr);
  EXPECT_EQ(status(), TYX64_STATUS_INVALID_INDEX);
  EXPECT_EQ(open(nullptr), nullptr);
  EXPECT_EQ(close(third), TYX64_STATUS_OK);
  EXPECT_EQ(close(third), TYX64_STATUS_INVALID_REFERENCE);
}

TEST_F(SimBoard, BadBoardEntryIsReportedAndSkipped) {
  EXPECT_EQ(tyxSim64Control("boards abc:x|6301:kept"), 0);
  void* t = nullptr;
  EXPECT_EQ(table(&t, 0), 1);
  EXPECT_EQ(tyxSim64Control("no-such-command"), 0);
}

TEST_F(SimBoard, LongNameIsCutAndTerminated) {
  ASSERT_EQ(tyxSim64Control(("boards 6301:" + std::string(300, 'n')).c_str()), 1);
  void* t = nullptr;
  ASSERT_EQ(table(&t, 0), 1);
  const char* name = static_cast<const char*>(t) + TYX64_BOARD_ENTRY_NAME;
  EXPECT_EQ(strnlen(name, TYX64_BOARD_ENTRY_SIZE - TYX64_BOARD_ENTRY_NAME),
            static_cast<size_t>(TYX64_BOARD_NAME_MAX));
}

TEST_F(SimBoard, CameraProtocol) {
  void* ref = openIndex(0);
  struct {
    const char* command;
    const char* reply;
  } cases[] = {
      {"ID?\r", "TYXSIM TYX-CL6301 Camera Link CH0\r"},
      {"GAIN?\r", "0\r"},
      {"GAIN=300\r", "OK\r"},
      {"GAIN?\n", "300\r"},
      {"GAIN=1024\r", "ERR\r"},
      {"EXP=5000\r", "OK\r"},
      {"EXP?\r", "5000\r"},
      {"EXP=0\r", "ERR\r"},
      {"ECHO hello world\r", "hello world\r"},
      {"SER?\r", "9600,8,0,0\r"},
      {"gain?\r", "ERR\r"},
      {"\r\n", ""},
      {"GA", ""},  // incomplete: no answer yet
      {"IN?\r", "300\r"},
  };
  for (const auto& c : cases) EXPECT_EQ(ask(ref, c.command), c.reply) << c.command;
  EXPECT_EQ(ask(ref, std::string(1000, 'A') + "\r"), "ERR\r");
  close(ref);
}

TEST_F(SimBoard, ChannelsAreSeparateLines) {
  void* ref = openIndex(0);
  EXPECT_EQ(set(ref, 1, 19200), TYX64_STATUS_OK);
  EXPECT_EQ(ask(ref, "GAIN=7\r"), "OK\r");
  EXPECT_EQ(set(ref, 0, 1), TYX64_STATUS_OK);
  EXPECT_EQ(ask(ref, "ID?\r"), "TYXSIM TYX-CL6301 Camera Link CH1\r");
  EXPECT_EQ(ask(ref, "GAIN?\r"), "0\r");
  EXPECT_EQ(ask(ref, "SER?\r"), "9600,8,0,0\r");
  EXPECT_EQ(set(ref, 0, 0), TYX64_STATUS_OK);
  EXPECT_EQ(ask(ref, "SER?\r"), "19200,8,0,0\r");
  EXPECT_EQ(set(ref, 0, 2), TYX64_STATUS_INVALID_VALUE);
  close(ref);
}

TEST_F(SimBoard, SerialParametersAreValidatedAndAllRecorded) {
  void* ref = openIndex(0);
  struct {
    int32_t index, value, status;
  } cases[] = {
      {1, 115200, TYX64_STATUS_OK},
      {1, -1, TYX64_STATUS_OK},
      {1, 299, TYX64_STATUS_BAUD_RATE_NOT_SUPPORTED},
      {2, 7, TYX64_STATUS_OK},
      {2, 10, TYX64_STATUS_INVALID_VALUE},
      {3, 2, TYX64_STATUS_OK},
      {3, 3, TYX64_STATUS_INVALID_VALUE},
      {4, 1, TYX64_STATUS_OK},
      {4, -2, TYX64_STATUS_INVALID_VALUE},
      {5, 0, TYX64_STATUS_INVALID_VALUE},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(set(ref, c.index, c.value), c.status) << c.index << "=" << c.value;
    EXPECT_EQ(status(), c.status);
  }
  EXPECT_EQ(set(nullptr, 1, 9600), TYX64_STATUS_INVALID_REFERENCE);
  ASSERT_EQ(tyxSim64ParamCount(), std::size(cases) + 1);
  Tyx64ParamRecord last{};
  ASSERT_EQ(tyxSim64ParamAt(tyxSim64ParamCount() - 1, &last), 1);
  EXPECT_EQ(last.board, -1);
  EXPECT_EQ(last.status, TYX64_STATUS_INVALID_REFERENCE);
  EXPECT_EQ(tyxSim64ParamAt(tyxSim64ParamCount(), &last), 0);
  EXPECT_EQ(ask(ref, "SER?\r"), "115200,7,2,1\r");
  close(ref);
}

TEST_F(SimBoard, ReadAndWriteRefuseBadArguments) {
  char buffer[4];
  EXPECT_EQ(read(nullptr, buffer, 4, 0), -1);
  EXPECT_EQ(status(), TYX64_STATUS_INVALID_REFERENCE);
  EXPECT_EQ(write(reinterpret_cast<void*>(0x1234), buffer, 4, 0), -1);
  EXPECT_EQ(status(), TYX64_STATUS_INVALID_REFERENCE);
  void* ref = openIndex(0);
  EXPECT_EQ(read(ref, nullptr, 4, 0), -1);
  EXPECT_EQ(status(), TYX64_STATUS_INVALID_POINTER);
  EXPECT_EQ(write(ref, nullptr, 4, 0), -1);
  EXPECT_EQ(read(ref, buffer, 4, 1000), 0);  // immediate mode: no wait
  EXPECT_EQ(status(), TYX64_STATUS_TIMEOUT);
  close(ref);
}

TEST_F(SimBoard, RepliesWaitForTheirDelayOutsideImmediateMode) {
  // A long delay and a zero time-out: the reply exists but is not due yet,
  // so nothing is read without waiting.
  ASSERT_EQ(tyxSim64Control("immediate off; delay 60000"), 1);
  void* ref = openIndex(0);
  write(ref, "GAIN?\r", 6, 0);
  char buffer[8];
  EXPECT_EQ(read(ref, buffer, sizeof buffer, 0), 0);
  ASSERT_EQ(tyxSim64Control("immediate on"), 1);
  EXPECT_EQ(read(ref, buffer, sizeof buffer, 0), 2);
  close(ref);
}

}  // namespace
