// net_records_test.cpp - reading scan records and forming the network list's lines, hostile input included.
#include <gtest/gtest.h>

#include <QString>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "app/net_records.h"

namespace {

using netrecords::Record;

uint32_t stored(uint8_t a, uint8_t b, uint8_t c, uint8_t d) {
  const uint8_t bytes[4] = {a, b, c, d};
  uint32_t v = 0;
  std::memcpy(&v, bytes, sizeof v);
  return v;
}

// A record with every byte set to its offset plus a seed, so any shifted or
// swapped field shows up in a byte comparison.
std::vector<unsigned char> patternedBytes(size_t size, unsigned char seed) {
  std::vector<unsigned char> bytes(size);
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<unsigned char>(seed + i);
  return bytes;
}

TEST(NetRecordsLayout, AreaIsFourRecordsOfFiftyTwoBytes) {
  EXPECT_EQ(netrecords::kRecordBytes, 52u);
  EXPECT_EQ(netrecords::kAreaBytes, 208u);
}

struct CountCase {
  const char* name;
  size_t areaBytes;
  int32_t reported;
  int usable;
};

class NetRecordsCount : public ::testing::TestWithParam<CountCase> {};

TEST_P(NetRecordsCount, CountIsBoundByTheReportAndTheWholeRecordsOfTheArea) {
  const CountCase& c = GetParam();
  // Exactly areaBytes on the heap: a record copied from past the end is an
  // out-of-bounds read the sanitizer build reports.
  const std::vector<unsigned char> area = patternedBytes(c.areaBytes, 7);
  const void* at = c.areaBytes == 0 ? static_cast<const void*>("") : area.data();
  EXPECT_EQ(netrecords::usableCount(at, c.areaBytes, c.reported), c.usable);
  const std::vector<Record> records = netrecords::readRecords(at, c.areaBytes, c.reported);
  ASSERT_EQ(records.size(), static_cast<size_t>(c.usable));
  for (size_t i = 0; i < records.size(); ++i)
    EXPECT_EQ(std::memcmp(&records[i], area.data() + i * netrecords::kRecordBytes, netrecords::kRecordBytes),
              0)
        << "record " << i;
}

INSTANTIATE_TEST_SUITE_P(
    Counts, NetRecordsCount,
    ::testing::Values(CountCase{"none", 208, 0, 0}, CountCase{"one", 208, 1, 1}, CountCase{"four", 208, 4, 4},
                      CountCase{"fiveCutToFour", 208, 5, 4}, CountCase{"hugeCutToFour", 208, INT32_MAX, 4},
                      CountCase{"failedScan", 208, -1, 0}, CountCase{"mostNegative", 208, INT32_MIN, 0},
                      CountCase{"areaOfOneAndAHalf", 78, 4, 1}, CountCase{"areaShortOfOne", 51, 1, 0},
                      CountCase{"emptyArea", 0, 4, 0}, CountCase{"largerAreaStillFour", 5 * 52, 5, 4},
                      CountCase{"exactlyTwo", 104, 2, 2}),
    [](const ::testing::TestParamInfo<CountCase>& info) { return std::string(info.param.name); });

TEST(NetRecordsRead, NullAreaGivesNoRecordsWhateverTheCount) {
  EXPECT_EQ(netrecords::usableCount(nullptr, 208, 4), 0);
  EXPECT_TRUE(netrecords::readRecords(nullptr, 208, 4).empty());
}

TEST(NetRecordsRead, MisalignedAreaIsCopiedByteForByte) {
  // The library may hand any address; fields are read from their offsets.
  std::vector<unsigned char> buffer(1 + netrecords::kAreaBytes);
  unsigned char* area = buffer.data() + 1;
  Record r{};
  r.number1 = 11;
  r.number2 = -22;
  r.ip1 = stored(10, 1, 2, 3);
  r.ip2 = stored(192, 168, 0, 254);
  r.ip3 = 5003;
  std::memcpy(area + netrecords::kRecordBytes, &r, sizeof r);
  const std::vector<Record> records = netrecords::readRecords(area, netrecords::kAreaBytes, 2);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(netrecords::connectionLine(records[1]), "11: -22 ");
  EXPECT_EQ(netrecords::addressLines(records[1]),
            QStringList({"Camera IP1: 10.1.2.3", "Camera IP2: 192.168.0.254", "Camera IP3: 5003"}));
}

TEST(NetRecordsFormat, DottedPutsTheFirstStoredByteFirst) {
  const struct {
    uint32_t value;
    const char* text;
  } cases[] = {
      {stored(0, 0, 0, 0), "0.0.0.0"},           {stored(255, 255, 255, 255), "255.255.255.255"},
      {stored(192, 168, 1, 10), "192.168.1.10"}, {stored(1, 2, 3, 4), "1.2.3.4"},
      {stored(4, 3, 2, 1), "4.3.2.1"},           {stored(0, 128, 0, 127), "0.128.0.127"},
  };
  for (const auto& c : cases) EXPECT_EQ(netrecords::dotted(c.value), c.text) << c.text;
}

TEST(NetRecordsFormat, ConnectionLineHasBothNumbersAndStaysWithinFiftyCharacters) {
  const struct {
    int32_t number1, number2;
    const char* line;
  } cases[] = {
      {1, 321880, "1: 321880 "},
      {0, 0, "0: 0 "},
      {-1, INT32_MAX, "-1: 2147483647 "},
      {INT32_MIN, INT32_MIN, "-2147483648: -2147483648 "},
  };
  for (const auto& c : cases) {
    Record r{};
    r.number1 = c.number1;
    r.number2 = c.number2;
    const QString line = netrecords::connectionLine(r);
    EXPECT_EQ(line, c.line);
    EXPECT_LE(line.size(), netrecords::kLineLength);
  }
}

TEST(NetRecordsFormat, AddressLinesOfAnAllOnesRecord) {
  // Every byte 0xFF: both addresses at their largest, the number -1.
  Record r;
  std::memset(&r, 0xFF, sizeof r);
  EXPECT_EQ(netrecords::addressLines(r),
            QStringList({"Camera IP1: 255.255.255.255", "Camera IP2: 255.255.255.255", "Camera IP3: -1"}));
  EXPECT_EQ(netrecords::connectionLine(r), "-1: -1 ");
}

TEST(NetRecordsChoice, PositionOfARow) {
  const struct {
    int row, count, position;
  } cases[] = {
      {-1, 0, 0}, {0, 0, 0},       {3, 0, 0},        // empty list: position 0
      {-1, 4, 0}, {INT_MIN, 4, 0},                   // no selection counts as 0
      {0, 4, 0},  {2, 4, 2},       {3, 4, 3},        // a listed row is itself
      {4, 4, 3},  {7, 2, 1},       {INT_MAX, 4, 3},  // past the end: the last record
      {2, 10, 2}, {5, 10, 3},      {9, INT_MAX, 3},  // never past the four ports
      {1, -5, 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(netrecords::positionOf(c.row, c.count), c.position) << "row " << c.row << " count " << c.count;
}

TEST(NetRecordsChoice, PortNameOfAChoice) {
  const struct {
    int choice;
    const char* port;
  } cases[] = {
      {0, "NetPort1"}, {1, "NetPort2"},  {2, "NetPort3"},       {3, "NetPort4"},
      {4, "NetPort4"}, {-1, "NetPort1"}, {INT_MIN, "NetPort1"}, {INT_MAX, "NetPort4"},
  };
  for (const auto& c : cases) EXPECT_EQ(netrecords::portName(c.choice), c.port) << c.choice;
}

TEST(NetRecordsText, BufferTextStopsAtTheFirstNulOrTheEnd) {
  using namespace std::string_literals;
  const struct {
    const char* name;
    std::string bytes;  // exactly the buffer, NULs included
    QString text;
  } cases[] = {
      {"terminated", "192.168.1.10\0junk"s, "192.168.1.10"},
      {"firstByteNul", "\0"s + "192.168.1.10", ""},
      {"fullWithoutNul", "255.255.255.255.1234", "255.255.255.255.1234"},
      {"empty", "", ""},
      {"invalidUtf8", "\xff\xfe"s + "1", QString(QChar(0xFFFD)) + QChar(0xFFFD) + "1"},
      // A character cut off by the end of the buffer: each of its bytes is replaced.
      {"cutMultibyte", "10.0.0.1\xe4\xb8", QString("10.0.0.1") + QChar(0xFFFD) + QChar(0xFFFD)},
      {"validUtf8", "\xe7\x9b\xb8\xe6\x9c\xba", QString::fromUtf8("相机")},
  };
  for (const auto& c : cases) {
    // A heap copy of exactly the buffer's size, so reading on past a
    // missing NUL is caught by the sanitizer build.
    const std::vector<char> buffer(c.bytes.begin(), c.bytes.end());
    EXPECT_EQ(netrecords::bufferText(buffer.data(), buffer.size()).toStdString(), c.text.toStdString())
        << c.name;
  }
  EXPECT_EQ(netrecords::bufferText(nullptr, 20), "");
}

}  // namespace
