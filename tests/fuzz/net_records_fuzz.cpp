// net_records_fuzz.cpp - feeds arbitrary scan areas, counts and list rows to the network record reader.
//
// Built by tests/fuzz/CMakeLists.txt with app/net_records.cpp.
// Seeds are in tests/corpus/net_records/.
//
// Input: reported count (4 bytes), list row (4 bytes), then the scan area:
// every remaining byte, of any length and alignment. The area is read in
// place, so a record copied from past its end is caught by the sanitizer.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "app/net_records.h"
#include "fuzz_input.h"

namespace {

using fuzz::check;
using fuzz::take;

int32_t fieldAt(const uint8_t* record, size_t offset) {
  int32_t v;
  std::memcpy(&v, record + offset, sizeof v);
  return v;
}

// Parses a decimal int32 that must fill the whole of `text`.
bool parseInt(const QString& text, int32_t* out) {
  bool ok = false;
  const int v = text.toInt(&ok, 10);
  if (!ok || QString::number(v) != text) return false;  // no signs, spaces or zeros of its own
  *out = v;
  return true;
}

// Parses "a.b.c.d" back into the four bytes in the order they were written.
bool parseDotted(const QString& text, uint8_t bytes[4]) {
  const QStringList parts = text.split('.');
  if (parts.size() != 4) return false;
  for (int i = 0; i < 4; ++i) {
    int32_t v = 0;
    if (!parseInt(parts[i], &v) || v < 0 || v > 255) return false;
    bytes[i] = static_cast<uint8_t>(v);
  }
  return true;
}

void checkAddress(const QString& line, const char* prefix, const uint8_t* stored) {
  check(line.startsWith(prefix));
  uint8_t bytes[4];
  check(parseDotted(line.mid(static_cast<qsizetype>(std::strlen(prefix))), bytes));
  check(std::memcmp(bytes, stored, 4) == 0);
}

void checkRecord(const netrecords::Record& record, const uint8_t* raw) {
  // The connection line: "%d: %d " with the numbers at offsets 4 and 20.
  const QString line = netrecords::connectionLine(record);
  check(line.size() <= netrecords::kLineLength);
  check(line.endsWith(' '));
  const qsizetype colon = line.indexOf(": ");
  check(colon > 0);
  int32_t first = 0, second = 0;
  check(parseInt(line.left(colon), &first) && first == fieldAt(raw, 4));
  check(parseInt(line.mid(colon + 2).chopped(1), &second) && second == fieldAt(raw, 20));

  // Three address lines, the dotted ones first byte first.
  const QStringList lines = netrecords::addressLines(record);
  check(lines.size() == 3);
  checkAddress(lines[0], "Camera IP1: ", raw + 24);
  checkAddress(lines[1], "Camera IP2: ", raw + 28);
  check(lines[2].startsWith("Camera IP3: "));
  int32_t third = 0;
  check(parseInt(lines[2].mid(12), &third) && third == fieldAt(raw, 32));
}

void checkPosition(int32_t row, int count) {
  const int p = netrecords::positionOf(row, count);
  check(p >= 0 && p < netrecords::kMaxRecords);
  if (count > 0) check(p < count);
  if (row >= 0 && row < count && row < netrecords::kMaxRecords) check(p == row);
  if (row < 0) check(p == 0);
}

void checkText(const uint8_t* bytes, size_t size) {
  const char* text = reinterpret_cast<const char*>(bytes);
  const QString once = netrecords::bufferText(text, size);
  check(once == netrecords::bufferText(text, size));
  const void* nul = std::memchr(text, '\0', size);
  const size_t length = nul == nullptr ? size : static_cast<size_t>(static_cast<const char*>(nul) - text);
  check(!once.contains(QChar(0)));
  check(static_cast<size_t>(once.size()) <= length);
  bool ascii = true;
  for (size_t i = 0; i < length; ++i) ascii = ascii && bytes[i] < 0x80;
  if (ascii) check(once.toLatin1() == QByteArray(text, static_cast<qsizetype>(length)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const int32_t reported = take(data, size);
  const int32_t row = take(data, size);
  const uint8_t* area = size > 0 ? data : nullptr;
  const size_t areaBytes = size;

  const int n = netrecords::usableCount(area, areaBytes, reported);
  check(n >= 0 && n <= netrecords::kMaxRecords);
  check(static_cast<size_t>(n) <= areaBytes / netrecords::kRecordBytes);
  check(n <= (reported < 0 ? 0 : reported));
  // Whatever the library reports, the records the area holds are all shown.
  if (reported > 0 && areaBytes / netrecords::kRecordBytes >= static_cast<size_t>(netrecords::kMaxRecords))
    check(n == (reported < netrecords::kMaxRecords ? reported : netrecords::kMaxRecords));

  const std::vector<netrecords::Record> records = netrecords::readRecords(area, areaBytes, reported);
  check(records.size() == static_cast<size_t>(n));
  for (size_t i = 0; i < records.size(); ++i) {
    const uint8_t* raw = area + i * netrecords::kRecordBytes;
    check(std::memcmp(&records[i], raw, netrecords::kRecordBytes) == 0);
    checkRecord(records[i], raw);
  }

  checkPosition(row, n);
  checkPosition(row, reported);
  const QString port = netrecords::portName(row);
  check(port == QString("NetPort%1").arg(netrecords::positionOf(row, netrecords::kMaxRecords) + 1));

  // The address text the library writes into its 20-byte buffer, and any
  // other length of text.
  if (area != nullptr) {
    checkText(area, areaBytes < 20 ? areaBytes : 20);
    checkText(area, areaBytes);
  }
  return 0;
}
