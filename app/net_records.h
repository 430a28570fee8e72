// net_records.h - reading the device records of a network scan and turning them into list lines.
//
// Everything here is plain data in, text out: no widgets, so the network
// camera list and the port page share it and it can be driven with any bytes
// the camera library might leave in the scan area.
#pragma once

#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "abi/tyxcamera_types.h"

namespace netrecords {

using Record = TyxNetDeviceRecord;

// The scan area holds four records, and the callers map only positions 0-3
// to a port name.
constexpr int kMaxRecords = 4;
constexpr size_t kRecordBytes = sizeof(Record);
constexpr size_t kAreaBytes = kMaxRecords * kRecordBytes;
// A connection line is cut to this many characters.
constexpr int kLineLength = 50;

// How many records a list may show when the scan reported `reported` and the
// area holds `areaBytes` bytes: never negative, never more than four, never
// more whole records than the area holds. A null area holds none.
int usableCount(const void* area, size_t areaBytes, int32_t reported);

// Copies the usable records out of the area, byte for byte: the area is
// filled by the library and need not be aligned for the record type.
std::vector<Record> readRecords(const void* area, size_t areaBytes, int32_t reported);

// Dotted form of an address kept in network byte order: the byte at the
// lowest address comes first.
QString dotted(uint32_t stored);

// "%d: %d " with the record's two numbers, cut to kLineLength characters.
QString connectionLine(const Record& record);
// "Camera IP1: ...", "Camera IP2: ...", "Camera IP3: %d" for the record.
QStringList addressLines(const Record& record);

// The position a list row stands for among `count` listed records: no
// selection (a negative row) counts as 0, a row past the end as the last
// record, and an empty list gives 0.
int positionOf(int row, int count);

// The port opened for a network port choice: "NetPort1".."NetPort4"; a
// choice outside 0-3 is taken as the nearest one.
QString portName(int choice);

// The text of a fixed-size character buffer the library filled: up to the
// first NUL or the end of the buffer, whichever comes first. Bytes that are
// not UTF-8 become replacement characters.
QString bufferText(const char* buffer, size_t size);

}  // namespace netrecords
