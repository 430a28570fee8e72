// clser_api_test.cpp - the Camera Link functions against the simulated board.

#include <cstring>
#include <string>
#include <vector>

#include "clser_fixture.h"

namespace {

// ---- manufacturer information ------------------------------------------

struct InfoCase {
  uint32_t size;
  int32_t status;
  uint32_t sizeAfter;
};

class ManufacturerInfo : public ClserTest, public ::testing::WithParamInterface<InfoCase> {};

TEST_P(ManufacturerInfo, SizeDecides) {
  char name[64];
  std::memset(name, '#', sizeof name);
  uint32_t size = GetParam().size;
  uint32_t version = 77;
  EXPECT_EQ(clGetManufacturerInfo(name, &size, &version), GetParam().status);
  EXPECT_EQ(size, GetParam().sizeAfter);
  if (GetParam().status == CL_ERR_NO_ERR) {
    EXPECT_EQ(std::memcmp(name, "tyx - QVM", 10), 0);  // nine characters and the NUL
    EXPECT_EQ(name[10], '#');                          // nothing beyond the ten bytes
    EXPECT_EQ(version, 1u);
  } else {
    EXPECT_EQ(name[0], '#');
    EXPECT_EQ(version, 77u);
  }
}

INSTANTIATE_TEST_SUITE_P(Sizes, ManufacturerInfo,
                         ::testing::Values(InfoCase{0, CL_ERR_BUFFER_TOO_SMALL, 10},
                                           InfoCase{9, CL_ERR_BUFFER_TOO_SMALL, 10},
                                           InfoCase{10, CL_ERR_NO_ERR, 10}, InfoCase{64, CL_ERR_NO_ERR, 64}));

TEST_F(ClserTest, ManufacturerInfoNullPointers) {
  uint32_t size = 10, version = 0;
  char name[10];
  EXPECT_EQ(clGetManufacturerInfo(name, nullptr, &version), CL_ERR_INVALID_PTR);
  EXPECT_EQ(clGetManufacturerInfo(nullptr, &size, &version), CL_ERR_INVALID_PTR);
  EXPECT_EQ(clGetManufacturerInfo(name, &size, nullptr), CL_ERR_INVALID_PTR);
  // Asking for the size with no buffer is the usual first call.
  size = 0;
  EXPECT_EQ(clGetManufacturerInfo(nullptr, &size, nullptr), CL_ERR_BUFFER_TOO_SMALL);
  EXPECT_EQ(size, 10u);
}

// ---- clSerialInit in settings-string mode --------------------------------

struct SettingsCase {
  const char* name;
  const char* text;
  std::vector<std::pair<int32_t, int32_t>> sets;  // (index, value) in order
};

class SettingsMode : public ClserTest, public ::testing::WithParamInterface<SettingsCase> {};

TEST_P(SettingsMode, SetsFiveParametersInOrderWithoutDialog) {
  char area[256] = {};
  std::strncpy(area, GetParam().text, sizeof area - 1);
  ASSERT_EQ(clSerialInit(0x80000000u | 0, reinterpret_cast<void**>(area)), CL_ERR_NO_ERR);
  void* ref = nullptr;
  std::memcpy(&ref, area, sizeof ref);
  EXPECT_EQ(tyxSim64IsOpen(ref), 1);
  std::vector<ParamSet> expected;
  for (auto [index, value] : GetParam().sets) expected.push_back({ref, index, value});
  EXPECT_EQ(paramSets(), expected);
  EXPECT_EQ(dialogsShown(), 0);
  EXPECT_EQ(sleeps(), std::vector<uint32_t>{1000});
  clSerialClose(ref);
}

INSTANTIATE_TEST_SUITE_P(
    Strings, SettingsMode,
    ::testing::Values(SettingsCase{"WriterForm",
                                   "channel=1,baudrate=19200,databits=8,stopbits=1.5,parity=Odd",
                                   {{0, 1}, {1, 19200}, {2, 8}, {3, 1}, {4, 1}}},
                      SettingsCase{"BaudOnly", "baudrate=9600", {{0, 0}, {1, 9600}, {2, 0}, {3, 0}, {4, 0}}},
                      SettingsCase{"StopTwoThenNone",
                                   "channel=0,baudrate=9600,databits=8,stopbits=2,parity=None",
                                   {{0, 0}, {1, 9600}, {2, 8}, {3, 2}, {4, 0}}},
                      SettingsCase{"StopOneThenNone",
                                   "channel=0,baudrate=9600,databits=8,stopbits=1,parity=None",
                                   {{0, 0}, {1, 9600}, {2, 8}, {3, 0}, {4, 0}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ClserTest, SettingsStringWithoutTerminatorIsReadOnlyTo255Characters) {
  // 255 characters and no NUL: reading one byte more would leave the area.
  std::vector<char> area(255, 'x');
  const char head[] = "databits=8,baudrate=1200,";
  std::memcpy(area.data(), head, sizeof head - 1);
  ASSERT_EQ(clSerialInit(0x80000000u, reinterpret_cast<void**>(area.data())), CL_ERR_NO_ERR);
  void* ref = nullptr;
  std::memcpy(&ref, area.data(), sizeof ref);
  EXPECT_EQ(paramSets(),
            (std::vector<ParamSet>{{ref, 0, 0}, {ref, 1, 1200}, {ref, 2, 8}, {ref, 3, 0}, {ref, 4, 0}}));
  clSerialClose(ref);
}

TEST_F(ClserTest, SettingsStringKeysBeyond255CharactersAreIgnored) {
  std::string text = std::string(260, ' ') + "channel=1,baudrate=19200";
  std::vector<char> area(text.begin(), text.end());
  area.push_back('\0');
  ASSERT_EQ(clSerialInit(0x80000000u, reinterpret_cast<void**>(area.data())), CL_ERR_NO_ERR);
  void* ref = nullptr;
  std::memcpy(&ref, area.data(), sizeof ref);
  for (const ParamSet& p : paramSets()) EXPECT_EQ(p.value, 0) << p;
  clSerialClose(ref);
}

// ---- clSerialInit in standard mode ---------------------------------------

class StandardMode : public ClserTest, public ::testing::WithParamInterface<int32_t> {};

TEST_P(StandardMode, OnlyMinusTwoSuppressesTheDialog) {
  void* slot = slotWithSwitch(GetParam());
  ASSERT_EQ(clSerialInit(0, &slot), CL_ERR_NO_ERR);
  EXPECT_EQ(tyxSim64IsOpen(slot), 1);
  EXPECT_EQ(sleeps(), std::vector<uint32_t>{1000});
  if (GetParam() == -2) {
    EXPECT_EQ(dialogsShown(), 0);
    EXPECT_TRUE(paramSets().empty());
  } else {
    EXPECT_EQ(dialogsShown(), 1);
    // The dialog, ended without changes, applies what it shows.
    EXPECT_EQ(paramSets(), applied(slot, 0, 9600, 8, 1, 0));
  }
  clSerialClose(slot);
}

INSTANTIATE_TEST_SUITE_P(FirstValues, StandardMode, ::testing::Values(-2, 0, -1, 2, 0x7FFFFFFE));

TEST_F(ClserTest, InitRejectsNullReferencePointer) {
  EXPECT_EQ(clSerialInit(0, nullptr), CL_ERR_INVALID_PTR);
  EXPECT_EQ(clSerialInit(0x80000000u, nullptr), CL_ERR_INVALID_PTR);
  EXPECT_EQ(tyxSim64OpenCount(), 0u);
  EXPECT_TRUE(sleeps().empty());
}

// ---- board type check ------------------------------------------------------

struct TypeCase {
  int32_t code;
  bool accepted;
};

class BoardType : public ClserTest, public ::testing::WithParamInterface<TypeCase> {};

TEST_P(BoardType, OnlyTheCameraLinkRangesAreAccepted) {
  // The board sits at index 1 so that the high half of the type word is not
  // zero: only the low 16 bits are the code.
  const std::string list = "boards 6301:first|" + std::to_string(GetParam().code) + ":second";
  ASSERT_EQ(tyxSim64Control(list.c_str()), 1);
  void* slot = slotWithSwitch(-2);
  const int32_t status = clSerialInit(1, &slot);
  if (GetParam().accepted) {
    EXPECT_EQ(status, CL_ERR_NO_ERR);
    EXPECT_EQ(tyxSim64OpenCount(), 1u);
    clSerialClose(slot);
  } else {
    EXPECT_EQ(status, CL_ERR_INVALID_INDEX);
    EXPECT_EQ(tyxSim64OpenCount(), 0u);  // opened and closed again
    EXPECT_TRUE(sleeps().empty());
  }
}

INSTANTIATE_TEST_SUITE_P(Codes, BoardType,
                         ::testing::Values(TypeCase{6250, false}, TypeCase{6301, true}, TypeCase{6101, true},
                                           TypeCase{6199, true}, TypeCase{6300, true}, TypeCase{6399, true},
                                           TypeCase{6100, false}, TypeCase{6200, false},
                                           TypeCase{6299, false}, TypeCase{6400, false},
                                           TypeCase{0x10000 + 6301, true}, TypeCase{-6301, false}));

TEST_F(ClserTest, DefaultBoardsAreOneAcceptedAndOneRefused) {
  void* slot = slotWithSwitch(-2);
  EXPECT_EQ(clSerialInit(1, &slot), CL_ERR_INVALID_INDEX);  // 6250
  EXPECT_EQ(clSerialInit(2, &slot), CL_ERR_INVALID_INDEX);  // no such board
  EXPECT_EQ(tyxSim64OpenCount(), 0u);
  void* ref = openQuiet(0);  // 6301
  EXPECT_EQ(tyxSim64IsOpen(ref), 1);
  clSerialClose(ref);
  EXPECT_EQ(tyxSim64OpenCount(), 0u);
}

TEST_F(ClserTest, RefusedBoardLeavesNoCurrentBoard) {
  void* good = openQuiet(0);
  void* slot = slotWithSwitch(-2);
  ASSERT_EQ(clSerialInit(1, &slot), CL_ERR_INVALID_INDEX);
  tyxSim64Control("log-clear");
  // With no current board only the named reference is addressed.
  EXPECT_EQ(clSetBaudRate(good, 19200), CL_ERR_NO_ERR);
  EXPECT_EQ(paramSets(), (std::vector<ParamSet>{{good, 1, 19200}}));
  clSerialClose(good);
}

// ---- clSerialRead -----------------------------------------------------------

TEST_F(ClserTest, ReadOfEightWhenThreeArrive) {
  void* ref = openQuiet();
  writeText(ref, "GAIN=5\r");  // the camera answers "OK\r"
  char buffer[8] = {};
  uint32_t size = 8;
  EXPECT_EQ(clSerialRead(ref, buffer, &size, 100), CL_ERR_NO_ERR);
  EXPECT_EQ(size, 3u);
  EXPECT_EQ(std::string(buffer, 3), "OK\r");
  clSerialClose(ref);
}

TEST_F(ClserTest, ReadOfExactCountLeavesSize) {
  void* ref = openQuiet();
  writeText(ref, "ECHO abcdef\r");
  char buffer[7] = {};
  uint32_t size = 7;
  EXPECT_EQ(clSerialRead(ref, buffer, &size, 100), CL_ERR_NO_ERR);
  EXPECT_EQ(size, 7u);
  EXPECT_EQ(std::string(buffer, 7), "abcdef\r");
  clSerialClose(ref);
}

TEST_F(ClserTest, ReadWithNothingArrivingTimesOut) {
  void* ref = openQuiet();
  char buffer[4];
  uint32_t size = 4;
  EXPECT_EQ(clSerialRead(ref, buffer, &size, 50), CL_ERR_TIMEOUT);
  EXPECT_EQ(size, 0u);
  clSerialClose(ref);
}

struct BadCountCase {
  const char* name;
  int32_t boardResult;
  int32_t status;
};

class ReadBadCount : public ClserTest, public ::testing::WithParamInterface<BadCountCase> {};

TEST_P(ReadBadCount, IsAFailureThatReportsNoBytes) {
  void* ref = openQuiet();
  writeText(ref, "ECHO 0123456789\r");
  ASSERT_EQ(tyxSim64Control(("read-result " + std::to_string(GetParam().boardResult)).c_str()), 1);
  char buffer[4];
  uint32_t size = 4;
  EXPECT_EQ(clSerialRead(ref, buffer, &size, 100), GetParam().status);
  EXPECT_EQ(size, 0u);
  clSerialClose(ref);
}

INSTANTIATE_TEST_SUITE_P(Results, ReadBadCount,
                         ::testing::Values(BadCountCase{"Negative", -5, TYX64_STATUS_INVALID_VALUE},
                                           BadCountCase{"MoreThanAsked", 9, CL_ERR_BUFFER_TOO_SMALL}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ClserTest, ReadOfClosedReferenceReportsTheBoardStatus) {
  void* ref = openQuiet();
  clSerialClose(ref);
  char buffer[4];
  uint32_t size = 4;
  EXPECT_EQ(clSerialRead(ref, buffer, &size, 0), CL_ERR_INVALID_REFERENCE);
  EXPECT_EQ(size, 0u);
}

// ---- null references and pointers -------------------------------------

TEST_F(ClserTest, NullReferenceCases) {
  char buffer[4] = {'a', 'b', 'c', 'd'};
  uint32_t size = 4;
  EXPECT_EQ(clSerialRead(nullptr, buffer, &size, 0), CL_ERR_INVALID_REFERENCE);
  EXPECT_EQ(size, 4u);
  // Write hands the null reference to the board library, which refuses it.
  EXPECT_EQ(clSerialWrite(nullptr, buffer, &size, 0), CL_ERR_INVALID_REFERENCE);
  EXPECT_EQ(clSetBaudRate(nullptr, 9600), CL_ERR_INVALID_REFERENCE);
  uint32_t n = 0;
  EXPECT_EQ(clGetNumBytesAvail(nullptr, &n), CL_ERR_INVALID_REFERENCE);
  EXPECT_EQ(clGetSupportedBaudRates(nullptr, &n), CL_ERR_INVALID_REFERENCE);
  EXPECT_EQ(clFlushPort(nullptr), CL_ERR_INVALID_REFERENCE);

  void* ref = openQuiet();
  const uint32_t setsBefore = tyxSim64ParamCount();
  clSerialClose(nullptr);
  EXPECT_EQ(tyxSim64IsOpen(ref), 1);
  EXPECT_EQ(tyxSim64ParamCount(), setsBefore);
  EXPECT_EQ(clSerialRead(ref, nullptr, &size, 0), CL_ERR_INVALID_PTR);
  EXPECT_EQ(clSerialRead(ref, buffer, nullptr, 0), CL_ERR_INVALID_PTR);
  EXPECT_EQ(clSerialWrite(ref, buffer, nullptr, 0), CL_ERR_INVALID_PTR);
  EXPECT_EQ(clGetNumBytesAvail(ref, nullptr), CL_ERR_INVALID_PTR);
  clSerialClose(ref);
}

// ---- clSerialWrite -----------------------------------------------------------

TEST_F(ClserTest, WriteReachesTheCameraAndLeavesSize) {
  void* ref = openQuiet();
  char text[] = "GAIN=12\r";
  uint32_t size = 8;
  EXPECT_EQ(clSerialWrite(ref, text, &size, 100), CL_ERR_NO_ERR);
  EXPECT_EQ(size, 8u);
  char received[16] = {};
  EXPECT_EQ(tyxSim64Received(0, 0, received, sizeof received), 8u);
  EXPECT_EQ(std::string(received, 8), "GAIN=12\r");
  clSerialClose(ref);
}

// ---- clSetBaudRate ---------------------------------------------------------

struct BaudCase {
  uint32_t argument;
  int32_t bitsPerSecond;
};

class BaudRate : public ClserTest, public ::testing::WithParamInterface<BaudCase> {};

TEST_P(BaudRate, TranslatesBitsAndPassesNumbers) {
  void* ref = openQuiet();
  tyxSim64Control("log-clear");
  EXPECT_EQ(clSetBaudRate(ref, GetParam().argument), CL_ERR_NO_ERR);
  EXPECT_EQ(paramSets(),
            (std::vector<ParamSet>{{ref, 1, -1}, {ref, 1, GetParam().bitsPerSecond}, {ref, 1, -1}}));
  int32_t line = 0;
  ASSERT_EQ(tyxSim64LineSetting(0, 0, 1, &line), 1);
  EXPECT_EQ(line, GetParam().bitsPerSecond);
  clSerialClose(ref);
}

INSTANTIATE_TEST_SUITE_P(Rates, BaudRate,
                         ::testing::Values(BaudCase{0x01, 9600}, BaudCase{0x02, 19200}, BaudCase{0x04, 38400},
                                           BaudCase{0x08, 57600}, BaudCase{0x10, 115200},
                                           BaudCase{0x20, 230400}, BaudCase{0x40, 460800},
                                           BaudCase{0x80, 921600}, BaudCase{300, 300}, BaudCase{9600, 9600},
                                           BaudCase{76200, 76200}));

class BadBaudRate : public ClserTest, public ::testing::WithParamInterface<uint32_t> {};

TEST_P(BadBaudRate, SetsNothing) {
  void* ref = openQuiet();
  tyxSim64Control("log-clear");
  EXPECT_EQ(clSetBaudRate(ref, GetParam()), CL_ERR_BAUD_RATE_NOT_SUPPORTED);
  EXPECT_TRUE(paramSets().empty());
  clSerialClose(ref);
}

INSTANTIATE_TEST_SUITE_P(Values, BadBaudRate, ::testing::Values(0u, 3u, 5u, 0x81u, 255u, 299u, 0x80000000u));

TEST_F(ClserTest, BaudRateGoesToTheNamedReferenceBetweenCurrentBoardRefreshes) {
  void* first = openQuiet(0);
  void* second = openQuiet(0);  // now the current board; the first stays open
  EXPECT_EQ(tyxSim64IsOpen(first), 1);
  tyxSim64Control("log-clear");
  EXPECT_EQ(clSetBaudRate(first, CL_BAUDRATE_57600), CL_ERR_NO_ERR);
  EXPECT_EQ(paramSets(), (std::vector<ParamSet>{{second, 1, -1}, {first, 1, 57600}, {second, 1, -1}}));
  clSerialClose(first);
  clSerialClose(second);
}

TEST_F(ClserTest, ClosingTheCurrentBoardClearsIt) {
  void* first = openQuiet(0);
  void* second = openQuiet(0);
  clSerialClose(second);
  EXPECT_EQ(tyxSim64IsOpen(second), 0);
  tyxSim64Control("log-clear");
  EXPECT_EQ(clSetBaudRate(first, 19200), CL_ERR_NO_ERR);
  // No call addresses the closed board.
  EXPECT_EQ(paramSets(), (std::vector<ParamSet>{{first, 1, 19200}}));
  clSerialClose(first);
}

TEST_F(ClserTest, BaudRateReportsTheBoardStatus) {
  void* ref = openQuiet();
  // A million bits per second passes as a number; the board refuses it, and
  // the successful refresh of the current board that follows must not turn
  // that into success.
  EXPECT_EQ(clSetBaudRate(ref, 1000000), TYX64_STATUS_BAUD_RATE_NOT_SUPPORTED);
  EXPECT_EQ(paramSets().back(), (ParamSet{ref, 1, -1}));
  EXPECT_EQ(clSetBaudRate(ref, 19200), CL_ERR_NO_ERR);
  clSerialClose(ref);
}

// ---- the other Camera Link 1.1 calls ---------------------------------------

TEST_F(ClserTest, PortsAndIdentifiers) {
  uint32_t ports = 0;
  ASSERT_EQ(clGetNumSerialPorts(&ports), CL_ERR_NO_ERR);
  EXPECT_EQ(ports, 2u);
  EXPECT_EQ(clGetNumSerialPorts(nullptr), CL_ERR_INVALID_PTR);

  char id[64];
  uint32_t size = 4;
  EXPECT_EQ(clGetSerialPortIdentifier(0, id, &size), CL_ERR_BUFFER_TOO_SMALL);
  EXPECT_EQ(size, sizeof("TYX-CL6301 Camera Link"));
  size = sizeof id;
  EXPECT_EQ(clGetSerialPortIdentifier(0, id, &size), CL_ERR_NO_ERR);
  EXPECT_STREQ(id, "TYX-CL6301 Camera Link");
  size = sizeof id;
  EXPECT_EQ(clGetSerialPortIdentifier(1, id, &size), CL_ERR_NO_ERR);
  EXPECT_STREQ(id, "TYX-6250 Analog");
  size = sizeof id;
  EXPECT_EQ(clGetSerialPortIdentifier(2, id, &size), CL_ERR_INVALID_INDEX);

  ASSERT_EQ(tyxSim64Control("boards 6301"), 1);  // a board without a name
  size = sizeof id;
  EXPECT_EQ(clGetSerialPortIdentifier(0, id, &size), CL_ERR_NO_ERR);
  EXPECT_STREQ(id, "tyx board 0");
  ASSERT_EQ(tyxSim64Control("boards "), 1);
  EXPECT_EQ(clGetNumSerialPorts(&ports), CL_ERR_NO_ERR);
  EXPECT_EQ(ports, 0u);
}

TEST_F(ClserTest, ErrorTexts) {
  char text[64];
  uint32_t size = sizeof text;
  EXPECT_EQ(clGetErrorText(CL_ERR_TIMEOUT, text, &size), CL_ERR_NO_ERR);
  EXPECT_STREQ(text, "Time-out");
  EXPECT_EQ(size, sizeof("Time-out"));
  size = 3;
  EXPECT_EQ(clGetErrorText(CL_ERR_FUNCTION_NOT_FOUND, text, &size), CL_ERR_BUFFER_TOO_SMALL);
  EXPECT_EQ(size, std::strlen("Function not found in the board library") + 1);
  size = sizeof text;
  EXPECT_EQ(clGetErrorText(-12345, text, &size), CL_ERR_ERROR_NOT_FOUND);
  for (int32_t code : {0, -10001, -10002, -10003, -10004, -10005, -10006, -10007, -10008, -10009, -10010,
                       -10011, -10012, -10098, -10099, -10201}) {
    size = sizeof text;
    EXPECT_EQ(clGetErrorText(code, text, &size), CL_ERR_NO_ERR) << code;
  }
  // The published meaning of -10012.
  size = sizeof text;
  EXPECT_EQ(clGetErrorText(CL_ERR_IN_USE, text, &size), CL_ERR_NO_ERR);
  EXPECT_STREQ(text, "In use");
}

extern "C" int coexistTheirsFirstInUse(void);
extern "C" int coexistTheirsFirstBaud(void);
extern "C" int coexistOursFirstInUse(void);
extern "C" int coexistOursFirstBaud(void);

// The two files compiled with -Werror beside another maker's header, in both
// orders; here they must also agree on the values.
TEST(ClserHeader, CoexistsWithAnotherMakersHeader) {
  EXPECT_EQ(coexistTheirsFirstInUse(), -10012);
  EXPECT_EQ(coexistOursFirstInUse(), -10012);
  EXPECT_EQ(coexistTheirsFirstBaud(), 0x80);
  EXPECT_EQ(coexistOursFirstBaud(), 0x80);
}

TEST(ClserHeader, StatusAndBaudValuesAreThePublishedOnes) {
  static_assert(
      CL_ERR_NO_ERR == 0 && CL_ERR_BUFFER_TOO_SMALL == -10001 && CL_ERR_MANU_DOES_NOT_EXIST == -10002 &&
      CL_ERR_PORT_IN_USE == -10003 && CL_ERR_TIMEOUT == -10004 && CL_ERR_INVALID_INDEX == -10005 &&
      CL_ERR_INVALID_REFERENCE == -10006 && CL_ERR_ERROR_NOT_FOUND == -10007 &&
      CL_ERR_BAUD_RATE_NOT_SUPPORTED == -10008 && CL_ERR_OUT_OF_MEMORY == -10009 &&
      CL_ERR_REGISTRY_KEY_NOT_FOUND == -10010 && CL_ERR_INVALID_PTR == -10011 && CL_ERR_IN_USE == -10012 &&
      CL_ERR_UNABLE_TO_LOAD_DLL == -10098 && CL_ERR_FUNCTION_NOT_FOUND == -10099);
  static_assert(CL_BAUDRATE_9600 == 0x01 && CL_BAUDRATE_19200 == 0x02 && CL_BAUDRATE_38400 == 0x04 &&
                CL_BAUDRATE_57600 == 0x08 && CL_BAUDRATE_115200 == 0x10 && CL_BAUDRATE_230400 == 0x20 &&
                CL_BAUDRATE_460800 == 0x40 && CL_BAUDRATE_921600 == 0x80 &&
                CL_BAUDRATE_AUTOMAX == 0x40000000);
  // Our own status lies outside every published one.
  static_assert(CLSERTYX_ERR_VALUE_NOT_SUPPORTED < -10099);
  SUCCEED();
}

TEST_F(ClserTest, SupportedBaudRatesAreExactlyTheBitsThatSetBaudRateTakes) {
  void* ref = openQuiet();
  uint32_t rates = 0;
  ASSERT_EQ(clGetSupportedBaudRates(ref, &rates), CL_ERR_NO_ERR);
  EXPECT_EQ(rates, 0xFFu);  // 9600 to 921600
  // A client that trusts the mask must be able to set every rate in it, and
  // every published rate name outside it must be refused.
  for (uint32_t bit :
       {CL_BAUDRATE_9600, CL_BAUDRATE_19200, CL_BAUDRATE_38400, CL_BAUDRATE_57600, CL_BAUDRATE_115200,
        CL_BAUDRATE_230400, CL_BAUDRATE_460800, CL_BAUDRATE_921600, CL_BAUDRATE_AUTOMAX}) {
    const int32_t status = clSetBaudRate(ref, bit);
    if (rates & bit)
      EXPECT_EQ(status, CL_ERR_NO_ERR) << std::hex << bit;
    else
      EXPECT_NE(status, CL_ERR_NO_ERR) << std::hex << bit;
  }
  clSerialClose(ref);
}

// ---- clSetParity (extension) ------------------------------------------------

struct ParityCase {
  uint32_t argument;
  int32_t status;
  int32_t lineParity;  // the channel's parity afterwards
};

class Parity : public ClserTest, public ::testing::WithParamInterface<ParityCase> {};

TEST_P(Parity, SetsTheSettingsStringCodeOrNothing) {
  void* ref = openQuiet();
  ASSERT_EQ(clSetParity(ref, 1), CL_ERR_NO_ERR);  // start from odd so "none" shows
  tyxSim64Control("log-clear");
  EXPECT_EQ(clSetParity(ref, GetParam().argument), GetParam().status);
  if (GetParam().status == CL_ERR_NO_ERR)
    EXPECT_EQ(paramSets(), (std::vector<ParamSet>{{ref, 4, static_cast<int32_t>(GetParam().argument)}}));
  else
    EXPECT_TRUE(paramSets().empty());
  int32_t parity = -1;
  ASSERT_EQ(tyxSim64LineSetting(0, 0, 4, &parity), 1);
  EXPECT_EQ(parity, GetParam().lineParity);
  clSerialClose(ref);
}

INSTANTIATE_TEST_SUITE_P(Values, Parity,
                         ::testing::Values(ParityCase{0, CL_ERR_NO_ERR, 0}, ParityCase{1, CL_ERR_NO_ERR, 1},
                                           ParityCase{2, CL_ERR_NO_ERR, 2},
                                           ParityCase{3, CLSERTYX_ERR_VALUE_NOT_SUPPORTED, 1},
                                           ParityCase{0xFFFFFFFFu, CLSERTYX_ERR_VALUE_NOT_SUPPORTED, 1}));

TEST_F(ClserTest, ParityOnAStaleReferenceReportsTheBoardStatus) {
  void* ref = openQuiet();
  clSerialClose(ref);
  EXPECT_EQ(clSetParity(ref, 2), CL_ERR_INVALID_REFERENCE);
  EXPECT_EQ(clSetParity(nullptr, 0), CL_ERR_INVALID_REFERENCE);
}

TEST_F(ClserTest, BytesAvailableAreReadFirstAndInOrder) {
  void* ref = openQuiet();
  uint32_t avail = 99;
  EXPECT_EQ(clGetNumBytesAvail(ref, &avail), CL_ERR_NO_ERR);
  EXPECT_EQ(avail, 0u);
  writeText(ref, "ECHO abc\r");
  EXPECT_EQ(clGetNumBytesAvail(ref, &avail), CL_ERR_NO_ERR);
  EXPECT_EQ(avail, 4u);
  writeText(ref, "ECHO xyz\r");  // more arrives after the peek
  char buffer[16] = {};
  uint32_t size = 2;
  EXPECT_EQ(clSerialRead(ref, buffer, &size, 0), CL_ERR_NO_ERR);  // from the buffer alone
  EXPECT_EQ(std::string(buffer, 2), "ab");
  size = 16;
  EXPECT_EQ(clSerialRead(ref, buffer, &size, 0), CL_ERR_NO_ERR);
  EXPECT_EQ(size, 6u);
  EXPECT_EQ(std::string(buffer, 6), "c\rxyz\r");
  EXPECT_EQ(clGetNumBytesAvail(ref, &avail), CL_ERR_NO_ERR);
  EXPECT_EQ(avail, 0u);
  clSerialClose(ref);
}

TEST_F(ClserTest, FailedReadKeepsBufferedBytes) {
  void* ref = openQuiet();
  writeText(ref, "ECHO ab\r");
  uint32_t avail = 0;
  ASSERT_EQ(clGetNumBytesAvail(ref, &avail), CL_ERR_NO_ERR);
  ASSERT_EQ(avail, 3u);
  tyxSim64Control("read-result -1");
  char buffer[8];
  uint32_t size = 8;
  EXPECT_NE(clSerialRead(ref, buffer, &size, 0), CL_ERR_NO_ERR);
  EXPECT_EQ(size, 0u);
  size = 8;
  EXPECT_EQ(clSerialRead(ref, buffer, &size, 0), CL_ERR_NO_ERR);
  EXPECT_EQ(std::string(buffer, size), "ab\r");
  clSerialClose(ref);
}

TEST_F(ClserTest, FlushDropsBufferedAndWaitingBytes) {
  void* ref = openQuiet();
  writeText(ref, "ECHO first\r");
  uint32_t avail = 0;
  ASSERT_EQ(clGetNumBytesAvail(ref, &avail), CL_ERR_NO_ERR);
  writeText(ref, "ECHO second\r");
  EXPECT_EQ(clFlushPort(ref), CL_ERR_NO_ERR);
  EXPECT_EQ(clGetNumBytesAvail(ref, &avail), CL_ERR_NO_ERR);
  EXPECT_EQ(avail, 0u);
  clSerialClose(ref);
  EXPECT_EQ(clFlushPort(ref), CL_ERR_INVALID_REFERENCE);
}

}  // namespace
