// serial_settings_test.cpp - the settings-string reader and writer.

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "clser/serial_settings.h"

using clser::SerialSettings;

struct ParseCase {
  const char* name;
  std::string text;
  SerialSettings expected;
};

class ParseSettings : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseSettings, ReadsEachKey) {
  EXPECT_EQ(clser::parseSerialSettings(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseSettings,
    ::testing::Values(
        ParseCase{
            "WriterForm", "channel=1,baudrate=19200,databits=8,stopbits=1.5,parity=Odd", {1, 19200, 8, 1, 1}},
        ParseCase{"BaudOnly", "baudrate=9600", {0, 9600, 0, 0, 0}},
        ParseCase{"StopTwoThenNone",
                  "channel=0,baudrate=9600,databits=8,stopbits=2,parity=None",
                  {0, 9600, 8, 2, 0}},
        ParseCase{"StopOneThenNone",
                  "channel=0,baudrate=9600,databits=8,stopbits=1,parity=None",
                  {0, 9600, 8, 0, 0}},
        ParseCase{"EvenParity", "parity=Even", {0, 0, 0, 0, 2}},
        ParseCase{"UnknownParity", "parity=Mark", {0, 0, 0, 0, 0}},
        ParseCase{
            "OrderDoesNotMatter", "parity=Even,databits=7,channel=1,baudrate=57600", {1, 57600, 7, 0, 2}},
        // The searches run to the end: a later "2" is taken as two stop bits.
        ParseCase{"LaterFieldLeaksIntoStopBits", "stopbits=1,parity=None,x=2", {0, 0, 0, 2, 0}},
        ParseCase{"DigitsStopAtFirstOther", "baudrate=96x00,databits=8", {0, 96, 8, 0, 0}},
        ParseCase{"NoDigits", "baudrate=,channel=a", {0, 0, 0, 0, 0}},
        ParseCase{"Empty", "", {0, 0, 0, 0, 0}},
        ParseCase{"HugeNumberSaturates", "baudrate=99999999999999", {0, INT32_MAX, 0, 0, 0}},
        // Only the first 255 characters count.
        ParseCase{"KeyBeyondLimitIgnored", std::string(250, 'x') + ",baudrate=19200", {0, 0, 0, 0, 0}},
        ParseCase{"ValueCutAtLimit", std::string(240, 'x') + ",baudrate=1234567890", {0, 12345, 0, 0, 0}},
        ParseCase{"StopsAtNul", std::string("baudrate=9600\0channel=1", 23), {0, 9600, 0, 0, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FormatSettings, WritesTheFixedForm) {
  EXPECT_EQ(clser::formatSerialSettings("0", "9600", "8", "1", "None"),
            "channel=0,baudrate=9600,databits=8,stopbits=1,parity=None");
}

TEST(FormatSettings, CutsToTheLimitAndReadsBack) {
  const std::string longParity(300, 'N');
  const std::string s = clser::formatSerialSettings("1", "19200", "8", "2", longParity, 199);
  EXPECT_EQ(s.size(), 199u);
  EXPECT_EQ(clser::parseSerialSettings(s), (SerialSettings{1, 19200, 8, 2, 0}));
}

TEST(FormatSettings, RoundTripsEveryChoiceCombinationOfStopAndParity) {
  for (std::string_view stop : clser::kStopBitsChoices)
    for (std::string_view parity : clser::kParityChoices) {
      SerialSettings s =
          clser::parseSerialSettings(clser::formatSerialSettings("1", "38400", "9", stop, parity));
      EXPECT_EQ(s.stopBitCode, stop == "1.5" ? 1 : stop == "2" ? 2 : 0) << stop << parity;
      EXPECT_EQ(s.parityCode, parity == "Odd" ? 1 : parity == "Even" ? 2 : 0) << stop << parity;
    }
}

TEST(BoxText, LeadingNumberAndParity) {
  EXPECT_EQ(clser::leadingNumber("19200"), 19200);
  EXPECT_EQ(clser::leadingNumber("1.5"), 1);
  EXPECT_EQ(clser::leadingNumber(" 8"), 0);
  EXPECT_EQ(clser::leadingNumber("-1"), 0);
  EXPECT_EQ(clser::leadingNumber("4294967295"), INT32_MAX);  // never wraps to -1
  EXPECT_EQ(clser::parityCodeOfText("None"), 0);
  EXPECT_EQ(clser::parityCodeOfText("Odd"), 1);
  EXPECT_EQ(clser::parityCodeOfText("Even"), 2);
  EXPECT_EQ(clser::parityCodeOfText("odd"), 0);
  EXPECT_EQ(clser::parityCodeOfText("Odd "), 0);
  EXPECT_EQ(clser::parityCodeOfText(std::string(200, 'E')), 0);
}
