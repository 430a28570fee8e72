// net_records.cpp - reading the device records of a network scan and turning them into list lines.
#include "app/net_records.h"

#include <algorithm>
#include <cstring>

namespace netrecords {

int usableCount(const void* area, size_t areaBytes, int32_t reported) {
  if (area == nullptr || reported <= 0) return 0;  // a failed scan reports a negative count
  const size_t whole = std::min<size_t>(areaBytes / kRecordBytes, kMaxRecords);
  return static_cast<int>(std::min<size_t>(whole, static_cast<size_t>(reported)));
}

std::vector<Record> readRecords(const void* area, size_t areaBytes, int32_t reported) {
  const int n = usableCount(area, areaBytes, reported);
  std::vector<Record> records(static_cast<size_t>(n));
  if (n > 0) std::memcpy(records.data(), area, static_cast<size_t>(n) * kRecordBytes);
  return records;
}

QString dotted(uint32_t stored) {
  unsigned char bytes[4];
  std::memcpy(bytes, &stored, sizeof bytes);
  return QString("%1.%2.%3.%4").arg(bytes[0]).arg(bytes[1]).arg(bytes[2]).arg(bytes[3]);
}

QString connectionLine(const Record& r) {
  return QString::asprintf("%d: %d ", r.number1, r.number2).left(kLineLength);
}

QStringList addressLines(const Record& r) {
  return {QString("Camera IP1: %1").arg(dotted(r.ip1)), QString("Camera IP2: %1").arg(dotted(r.ip2)),
          QString::asprintf("Camera IP3: %d", r.ip3)};
}

int positionOf(int row, int count) {
  const int last = std::clamp(count, 1, kMaxRecords) - 1;
  return std::clamp(row, 0, last);
}

QString portName(int choice) { return QString("NetPort%1").arg(std::clamp(choice, 0, kMaxRecords - 1) + 1); }

QString bufferText(const char* buffer, size_t size) {
  if (buffer == nullptr) return {};
  const auto* end = static_cast<const char*>(std::memchr(buffer, '\0', size));
  const size_t length = end == nullptr ? size : static_cast<size_t>(end - buffer);
  return QString::fromUtf8(buffer, static_cast<qsizetype>(length));
}

}  // namespace netrecords
