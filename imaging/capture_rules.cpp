// capture_rules.cpp - the rules of the grab video window that need no widgets or board.
#include "imaging/capture_rules.h"

#include <cstring>
#include <limits>

namespace capture {
namespace {

constexpr uint32_t kCompressionBitFields = 3;

void putU16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
void putU32(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
  p[2] = static_cast<uint8_t>(v >> 16);
  p[3] = static_cast<uint8_t>(v >> 24);
}
uint32_t readU32(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

bool isBitFieldFormat(int32_t format) { return format == 2 || format == 3 || format == 4 || format == 18; }

uint64_t imageBytesFor(int64_t w, int64_t h, int64_t bits) {
  return static_cast<uint64_t>((w * bits + 31) / 32) * 4 * static_cast<uint64_t>(h);
}

int32_t clampToInt32(int64_t v) {
  if (v > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (v < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(v);
}

}  // namespace

TimingPlan timingFor(int32_t interlace, int32_t lines, int32_t fieldRate, Aspect aspect) {
  TimingPlan p;
  if (lines < 1 || lines > 32767) return p;
  p.valid = true;
  p.interlace = interlace;
  const bool fourThree = aspect == Aspect::FourThree;

  if (lines == 625 && interlace == 1 && fourThree) {
    p.preset = 0;
    p.clockClass = 0;
    p.width = 768;
    p.height = 576;
    return p;
  }
  if (lines == 625 && interlace == 1) {
    p.setParam9Low = true;
    p.param9Low = 100;
    p.preset = 2;
    p.clockClass = 0;
    p.writeTotals = true;
    p.pixelsPerLine = 709;
    p.linesPerFrame = 625;
    p.width = 576;
    p.height = 576;
    return p;
  }
  if (fourThree && lines == 525 && interlace == 1) {
    p.preset = 1;
    p.clockClass = 0;
    p.width = 640;
    p.height = 480;
    return p;
  }

  p.preset = 2;
  p.computed = true;
  const int64_t L = lines;
  // The field rate of a frame: an interlaced frame takes two fields.
  const int shift = interlace == 1 ? 1 : 0;
  int64_t P = static_cast<int64_t>(lines * (fourThree ? 1.5104 : 1.1328));
  // Integer arithmetic truncating each division, the way the board's clock
  // is defined. 64-bit so that an odd field rate cannot overflow; for every
  // real signal the values are those of 32-bit arithmetic.
  auto clockOf = [&](int64_t pixels) {
    int64_t c = (pixels * L) / 1000 * fieldRate / 1000;
    if (interlace == 1) c /= 2;
    return c;
  };
  int64_t C = clockOf(P);
  if (C > 60) {
    const int64_t denominator = L * (int64_t{fieldRate} >> shift);
    if (denominator > 0) {
      P = 60000000 / denominator;
      C = clockOf(P);
    }
  }
  // A clock still above 60 after the one recomputation (a truncation case of
  // an odd field rate with interlace) runs at the fastest class.
  if (C < 15)
    p.clockClass = 0;  // below 14.75 for an integer clock
  else if (C < 30)
    p.clockClass = 1;
  else
    p.clockClass = 2;
  p.clock = clampToInt32(C);

  p.pixelsPerLine = clampToInt32(P);
  p.linesPerFrame = lines;
  p.writeTotals = true;
  const uint32_t y = static_cast<uint32_t>(static_cast<int64_t>(lines * 0.08)) & 0xFFFF;
  const uint32_t x = static_cast<uint32_t>(static_cast<int64_t>(static_cast<double>(P) * 0.18)) & 0xFFFF;
  p.offsetWord = (y << 16) | x;
  p.width = clampToInt32(static_cast<int64_t>(static_cast<double>(P) * 0.8));
  p.height = clampToInt32(static_cast<int64_t>(lines * 0.9));
  // A pixel count of 0 (a field rate so high that the clock bound leaves
  // no pixel) describes no picture; nothing is written for it.
  if (P < 1 || p.width < 1 || p.height < 1) p.valid = false;
  return p;
}

HeaderError buildDisplayHeader(uint8_t* area, size_t areaSize, int32_t w, int32_t h, int32_t bits,
                               int32_t format, HeaderInfo* info) {
  if (w <= 0 || h <= 0) return HeaderError::BadSize;
  const bool bitFields = isBitFieldFormat(format);
  const int32_t stored = format == 3 ? 16 : bits;
  if (stored < 1 || stored > 32) return HeaderError::BadBits;
  if (bitFields && stored < 16) return HeaderError::BadBits;

  const uint64_t image = imageBytesFor(w, h, stored);
  if (image > std::numeric_limits<uint32_t>::max()) return HeaderError::BadSize;

  uint32_t colours = 0;
  uint32_t table = 0;
  if (bitFields) {
    table = 12;
  } else if (stored <= 14) {
    colours = 1u << stored;
    table = colours * 4;
  }
  if (kInfoHeaderSize + table > kPixelAreaOffset) return HeaderError::TableTooLarge;
  if (!area || areaSize < kInfoHeaderSize + table) return HeaderError::AreaTooSmall;

  std::memset(area, 0, kInfoHeaderSize);
  putU32(area, kInfoHeaderSize);
  putU32(area + 4, static_cast<uint32_t>(w));
  putU32(area + 8, static_cast<uint32_t>(h));
  putU16(area + 12, 1);
  putU16(area + 14, static_cast<uint16_t>(stored));
  putU32(area + 16, bitFields ? kCompressionBitFields : 0);
  putU32(area + 20, static_cast<uint32_t>(image));
  putU32(area + 32, colours);
  putU32(area + 36, colours);

  uint8_t* t = area + kInfoHeaderSize;
  if (bitFields) {
    // 8-8-8 masks describe nothing of a 16-bit pixel; those frames are 5-6-5.
    if (stored == 16) {
      putU32(t, 0xF800);
      putU32(t + 4, 0x07E0);
      putU32(t + 8, 0x001F);
    } else {
      putU32(t, 0xFF0000);
      putU32(t + 4, 0x00FF00);
      putU32(t + 8, 0x0000FF);
    }
  } else if (colours > 0) {
    for (uint32_t i = 0; i < colours; ++i) {
      // Below 8 bits the levels spread over the whole range (the division
      // by 2^bits / 256 would be by 0); from 8 bits on each level repeats
      // 2^(bits-8) times.
      const uint8_t v = stored < 8 ? static_cast<uint8_t>(i * 255 / (colours - 1))
                                   : static_cast<uint8_t>(i / (colours / 256));
      uint8_t* entry = t + size_t{4} * i;
      entry[0] = v;
      entry[1] = v;
      entry[2] = v;
      entry[3] = 0;
    }
  }
  if (info) {
    info->width = w;
    info->height = h;
    info->bits = static_cast<uint16_t>(stored);
    info->compression = bitFields ? kCompressionBitFields : 0;
    info->colourCount = colours;
    info->tableBytes = table;
    info->imageBytes = image;
  }
  return HeaderError::None;
}

bool readDisplayHeader(const uint8_t* area, size_t areaSize, HeaderInfo* info) {
  if (!area || areaSize < kInfoHeaderSize || readU32(area) != kInfoHeaderSize) return false;
  const int32_t w = static_cast<int32_t>(readU32(area + 4));
  const int32_t h = static_cast<int32_t>(readU32(area + 8));
  const uint16_t bits = static_cast<uint16_t>(area[14] | area[15] << 8);
  const uint32_t compression = readU32(area + 16);
  uint32_t colours = readU32(area + 32);
  if (w <= 0 || h <= 0 || bits < 1 || bits > 32) return false;
  if (compression != 0 && compression != kCompressionBitFields) return false;
  uint64_t table;
  if (compression == kCompressionBitFields) {
    if (bits < 16) return false;
    colours = 0;
    table = 12;
  } else {
    if (colours == 0 && bits <= 8) colours = 1u << bits;
    table = uint64_t{colours} * 4;
  }
  const size_t limit = areaSize < kPixelAreaOffset ? areaSize : kPixelAreaOffset;
  if (kInfoHeaderSize + table > limit) return false;
  if (info) {
    info->width = w;
    info->height = h;
    info->bits = bits;
    info->compression = compression;
    info->colourCount = colours;
    info->tableBytes = static_cast<uint32_t>(table);
    info->imageBytes = imageBytesFor(w, h, bits);
  }
  return true;
}

// A side of a rectangle as the 16-bit value the board reports: the
// difference is taken modulo 2^32 first, so no edge values can overflow.
int32_t side16(int32_t from, int32_t to) {
  return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint32_t>(to) - static_cast<uint32_t>(from)));
}

FrameGeometry initialGeometry(const BoardReadings& r) {
  const int32_t w = side16(r.rect.left, r.rect.right);
  int32_t h = side16(r.rect.top, r.rect.bottom);
  if (r.capture10 == 0 && (r.convert1 == 1 || r.convert1 == 4)) h *= 2;
  FrameGeometry g;
  g.bits = (r.capture3 >> 16) & 0xFFFF;
  g.format = r.capture3 & 0xFFFF;
  if (r.convert6 > 0) {
    g.width = h;
    g.height = w;
  } else {
    g.width = w;
    g.height = h;
  }
  return g;
}

FrameGeometry beginGeometry(const BoardReadings& r) {
  const int32_t w = side16(r.rect.left, r.rect.right);
  const int32_t h = side16(r.rect.top, r.rect.bottom);
  FrameGeometry g;
  g.bits = (r.capture3 >> 16) & 0xFFFF;
  g.format = r.capture3 & 0xFFFF;
  g.width = r.convert6 > 0 ? h : w;
  g.height = r.convert6 > 0 ? w : h;
  if (r.capture10 == 0 && (r.video8 & 0xFFFF) == 1 && r.convert1 != 0) g.height *= 2;
  return g;
}

bool frameFits(const HeaderInfo& header, size_t blockSize) {
  if (blockSize <= kPixelAreaOffset) return false;
  return header.imageBytes <= blockSize - kPixelAreaOffset;
}

bool fillDescriptor(TyxConvertDesc* desc, uint8_t* block, size_t blockSize, const HeaderInfo& header) {
  if (!desc) return false;
  std::memset(desc, 0, sizeof *desc);
  if (!block || header.width <= 0 || header.height <= 0 || header.width > 32767 || header.height > 32767 ||
      !frameFits(header, blockSize))
    return false;
  desc->type = 0;
  desc->width = static_cast<int16_t>(header.width);
  desc->height = static_cast<int16_t>(-header.height);
  desc->bitsPerPixel = static_cast<int16_t>(header.bits);
  desc->address = reinterpret_cast<uintptr_t>(block + kPixelAreaOffset);
  return true;
}

}  // namespace capture
