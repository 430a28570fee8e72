// capture_rules_test.cpp - the timing, header and frame-size rules of the grab video window.
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstring>
#include <vector>

#include "imaging/capture_rules.h"

using capture::Aspect;
using capture::HeaderError;
using capture::HeaderInfo;

namespace {

uint32_t u32(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}
uint16_t u16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

struct TimingCase {
  const char* name;
  int32_t interlace, lines, rate;
  Aspect aspect;
  int32_t preset, clockClass;
  bool totals;
  int32_t pixels;
  bool computed;
  uint32_t offsetWord;
  int32_t width, height;
};

}  // namespace

TEST(TimingRule, Table) {
  const TimingCase cases[] = {
      {"625i 4:3 preset 0", 1, 625, 50, Aspect::FourThree, 0, 0, false, 0, false, 0, 768, 576},
      {"625i 1:1 fixed totals", 1, 625, 50, Aspect::Square, 2, 0, true, 709, false, 0, 576, 576},
      {"525i 4:3 preset 1", 1, 525, 60, Aspect::FourThree, 1, 0, false, 0, false, 0, 640, 480},
      // 1000 lines at 60 fields/s progressive: 1510 pixels give a clock of
      // 90, recomputed to 1000 pixels and a clock of 60, class 2.
      {"1000p60 4:3 recomputed", 0, 1000, 60, Aspect::FourThree, 2, 2, true, 1000, true,
       (80u << 16) | 180u, 800, 900},
      // 525 interlaced at 1:1 is not a preset: 594 pixels, clock 9, class 0.
      {"525i 1:1 computed", 1, 525, 60, Aspect::Square, 2, 0, true, 594, true,
       (42u << 16) | 106u, 475, 472},
      // 625 progressive at 50: 944 pixels, clock 29, class 1.
      {"625p50 4:3 class 1", 0, 625, 50, Aspect::FourThree, 2, 1, true, 944, true,
       (50u << 16) | 169u, 755, 562},
      // An unknown field rate (-1) gives a negative clock: class 0, no loop.
      {"unknown rate", 0, 800, -1, Aspect::FourThree, 2, 0, true, 1208, true,
       (64u << 16) | 217u, 966, 720},
  };
  for (const TimingCase& c : cases) {
    SCOPED_TRACE(c.name);
    const capture::TimingPlan p = capture::timingFor(c.interlace, c.lines, c.rate, c.aspect);
    ASSERT_TRUE(p.valid);
    EXPECT_EQ(p.interlace, c.interlace);
    EXPECT_EQ(p.preset, c.preset);
    EXPECT_EQ(p.clockClass, c.clockClass);
    EXPECT_EQ(p.writeTotals, c.totals);
    if (c.totals) {
      EXPECT_EQ(p.pixelsPerLine, c.pixels);
      EXPECT_EQ(p.linesPerFrame, c.lines);
    }
    EXPECT_EQ(p.computed, c.computed);
    if (c.computed) {
      EXPECT_EQ(p.offsetWord, c.offsetWord);
    }
    EXPECT_EQ(p.setParam9Low, c.lines == 625 && c.interlace == 1 && c.aspect == Aspect::Square);
    EXPECT_EQ(p.width, c.width);
    EXPECT_EQ(p.height, c.height);
  }
}

TEST(TimingRule, ClockStillTooHighAfterRecomputationTakesClassTwo) {
  // Interlaced at 3 fields/s: the recomputation divides by L * (3 >> 1) = L,
  // which leaves a clock of 90 at best; the loop must end with class 2.
  for (int32_t lines : {20000, 30000}) {
    SCOPED_TRACE(lines);
    const capture::TimingPlan p = capture::timingFor(1, lines, 3, Aspect::FourThree);
    ASSERT_TRUE(p.valid);
    EXPECT_GT(p.clock, 60);
    EXPECT_EQ(p.clockClass, 2);
  }
}

TEST(TimingRule, RatesThatWouldDivideByZeroEndWithClassTwo) {
  // F >> I is 0 for one field per second interlaced; the recomputation has no
  // divisor and the clock keeps its first value.
  const capture::TimingPlan p = capture::timingFor(1, 30000, 1, Aspect::FourThree);
  ASSERT_TRUE(p.valid);
  EXPECT_EQ(p.clockClass, 2);
}

TEST(TimingRule, LinesOutsideTheDescribableRangeWriteNothing) {
  for (int32_t lines : {-1, 0, 32768}) {
    SCOPED_TRACE(lines);
    EXPECT_FALSE(capture::timingFor(0, lines, 50, Aspect::FourThree).valid);
  }
  // So many fields that the clock bound leaves no pixel per line.
  EXPECT_FALSE(capture::timingFor(0, 32767, 2000000, Aspect::FourThree).valid);
}

namespace {

struct HeaderCase {
  const char* name;
  int32_t bits, format;
  uint16_t storedBits;
  uint32_t compression, colours;
  std::array<uint32_t, 3> masks;  // when compression is 3
};

}  // namespace

TEST(HeaderRule, Table) {
  const HeaderCase cases[] = {
      {"8-bit grey", 8, 1, 8, 0, 256, {}},
      {"format 2 24-bit", 24, 2, 24, 3, 0, {0xFF0000, 0x00FF00, 0x0000FF}},
      {"format 3 is 16-bit 5-6-5 whatever bits say", 24, 3, 16, 3, 0, {0xF800, 0x07E0, 0x001F}},
      {"format 4 32-bit", 32, 4, 32, 3, 0, {0xFF0000, 0x00FF00, 0x0000FF}},
      {"format 18 32-bit", 32, 18, 32, 3, 0, {0xFF0000, 0x00FF00, 0x0000FF}},
      {"16-bit without bit fields", 16, 0, 16, 0, 0, {}},
      {"24-bit without bit fields", 24, 0, 24, 0, 0, {}},
      {"10-bit grey", 10, 0, 10, 0, 1024, {}},
      {"4-bit grey", 4, 0, 4, 0, 16, {}},
  };
  for (const HeaderCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<uint8_t> area(capture::kPixelAreaOffset, 0xAB);
    HeaderInfo info;
    ASSERT_EQ(capture::buildDisplayHeader(area.data(), area.size(), 768, 576, c.bits, c.format, &info),
              HeaderError::None);
    const uint8_t* h = area.data();
    EXPECT_EQ(u32(h), 40u);
    EXPECT_EQ(static_cast<int32_t>(u32(h + 4)), 768);
    EXPECT_EQ(static_cast<int32_t>(u32(h + 8)), 576);
    EXPECT_EQ(u16(h + 12), 1);
    EXPECT_EQ(u16(h + 14), c.storedBits);
    EXPECT_EQ(u32(h + 16), c.compression);
    const uint32_t rowBytes = (768u * c.storedBits + 31) / 32 * 4;
    EXPECT_EQ(u32(h + 20), rowBytes * 576);
    EXPECT_EQ(u32(h + 32), c.colours);
    EXPECT_EQ(u32(h + 36), c.colours);
    EXPECT_EQ(info.imageBytes, uint64_t{rowBytes} * 576);
    if (c.compression == 3) {
      EXPECT_EQ(u32(h + 40), c.masks[0]);
      EXPECT_EQ(u32(h + 44), c.masks[1]);
      EXPECT_EQ(u32(h + 48), c.masks[2]);
      EXPECT_EQ(info.tableBytes, 12u);
    } else {
      EXPECT_EQ(info.tableBytes, c.colours * 4);
    }
    HeaderInfo back;
    ASSERT_TRUE(capture::readDisplayHeader(area.data(), area.size(), &back));
    EXPECT_EQ(back.bits, info.bits);
    EXPECT_EQ(back.tableBytes, info.tableBytes);
    EXPECT_EQ(back.imageBytes, info.imageBytes);
  }
}

TEST(HeaderRule, GreyRamps) {
  std::vector<uint8_t> area(capture::kPixelAreaOffset);
  auto entry = [&](uint32_t i) { return area.data() + 40 + 4 * i; };

  ASSERT_EQ(capture::buildDisplayHeader(area.data(), area.size(), 8, 8, 8, 0), HeaderError::None);
  for (uint32_t i : {0u, 1u, 127u, 255u}) {
    EXPECT_EQ(entry(i)[0], i);
    EXPECT_EQ(entry(i)[1], i);
    EXPECT_EQ(entry(i)[2], i);
    EXPECT_EQ(entry(i)[3], 0);
  }
  // 10 bits: each of the 256 levels four times.
  ASSERT_EQ(capture::buildDisplayHeader(area.data(), area.size(), 8, 8, 10, 0), HeaderError::None);
  EXPECT_EQ(entry(3)[0], 0);
  EXPECT_EQ(entry(4)[0], 1);
  EXPECT_EQ(entry(1023)[1], 255);
  // Below 8 bits the ramp still runs from black to white.
  ASSERT_EQ(capture::buildDisplayHeader(area.data(), area.size(), 8, 8, 1, 0), HeaderError::None);
  EXPECT_EQ(u32(area.data() + 32), 2u);
  EXPECT_EQ(entry(0)[0], 0);
  EXPECT_EQ(entry(1)[0], 255);
  ASSERT_EQ(capture::buildDisplayHeader(area.data(), area.size(), 8, 8, 4, 0), HeaderError::None);
  EXPECT_EQ(entry(15)[2], 255);
  EXPECT_EQ(entry(5)[2], 85);
}

TEST(HeaderRule, RefusesWhatCannotBeDescribed) {
  struct Case {
    const char* name;
    int32_t w, h, bits, format;
    size_t area;
    HeaderError expected;
  } cases[] = {
      {"11-bit table does not fit before the pixel area", 64, 64, 11, 0, 5120, HeaderError::TableTooLarge},
      {"14-bit table", 64, 64, 14, 0, 5120, HeaderError::TableTooLarge},
      {"zero bits", 64, 64, 0, 0, 5120, HeaderError::BadBits},
      {"33 bits", 64, 64, 33, 0, 5120, HeaderError::BadBits},
      {"8-bit bit fields", 64, 64, 8, 2, 5120, HeaderError::BadBits},
      {"zero width", 0, 64, 8, 0, 5120, HeaderError::BadSize},
      {"negative height", 64, -5, 8, 0, 5120, HeaderError::BadSize},
      {"caller area smaller than the table", 64, 64, 8, 0, 1000, HeaderError::AreaTooSmall},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<uint8_t> area(c.area, 0x5A);
    EXPECT_EQ(capture::buildDisplayHeader(area.data(), area.size(), c.w, c.h, c.bits, c.format), c.expected);
    // A refused header leaves the area untouched.
    EXPECT_EQ(area[0], 0x5A);
  }
}

TEST(FrameGeometry, InitialAndBegin) {
  capture::BoardReadings r;
  r.rect = TyxRect{0, 0, 768, 288};
  r.capture3 = (24 << 16) | 2;
  r.capture10 = 0;
  r.convert1 = 4;
  capture::FrameGeometry g = capture::initialGeometry(r);
  EXPECT_EQ(g.width, 768);
  EXPECT_EQ(g.height, 576);  // fields combined: doubled
  EXPECT_EQ(g.bits, 24);
  EXPECT_EQ(g.format, 2);

  r.convert1 = 2;  // not a combining mode at opening
  EXPECT_EQ(capture::initialGeometry(r).height, 288);
  r.convert6 = 1;
  g = capture::initialGeometry(r);
  EXPECT_EQ(g.width, 288);
  EXPECT_EQ(g.height, 768);

  // At the begin of a sequence the exchange comes first, then the doubling,
  // which needs video 8 = 1 and any non-zero combination mode.
  r.convert6 = 1;
  r.video8 = 1;
  r.convert1 = 2;
  g = capture::beginGeometry(r);
  EXPECT_EQ(g.width, 288);
  EXPECT_EQ(g.height, 1536);
  r.video8 = 0x10000;  // only the low 16 bits count
  EXPECT_EQ(capture::beginGeometry(r).height, 768);
  r.capture10 = 1;
  r.video8 = 1;
  EXPECT_EQ(capture::beginGeometry(r).height, 768);
}

TEST(FrameGeometry, ExtremeRectanglesWrapToSixteenBitsWithoutOverflow) {
  capture::BoardReadings r;
  r.capture3 = (8 << 16) | 1;
  r.capture10 = 1;
  // A driver's garbage: the difference does not fit 32 bits. Only its low 16
  // bits count, and the header rule then refuses the negative size.
  r.rect = TyxRect{INT32_MIN, INT32_MIN, INT32_MAX, 50331649};
  const capture::FrameGeometry g = capture::beginGeometry(r);
  EXPECT_EQ(g.width, -1);
  EXPECT_EQ(g.height, 1);
  EXPECT_EQ(capture::initialGeometry(r).width, -1);
  std::vector<uint8_t> area(capture::kPixelAreaOffset);
  EXPECT_EQ(capture::buildDisplayHeader(area.data(), area.size(), g.width, g.height, g.bits, g.format),
            HeaderError::BadSize);
}

TEST(FrameSize, BoundToThePixelArea) {
  std::vector<uint8_t> block(capture::kPixelAreaOffset + 768 * 576 * 3);
  HeaderInfo info;
  ASSERT_EQ(capture::buildDisplayHeader(block.data(), block.size(), 768, 576, 24, 0, &info), HeaderError::None);
  EXPECT_TRUE(capture::frameFits(info, block.size()));
  EXPECT_FALSE(capture::frameFits(info, block.size() - 1));
  EXPECT_FALSE(capture::frameFits(info, capture::kPixelAreaOffset));

  TyxConvertDesc desc;
  ASSERT_TRUE(capture::fillDescriptor(&desc, block.data(), block.size(), info));
  EXPECT_EQ(desc.type, 0);
  EXPECT_EQ(desc.width, 768);
  EXPECT_EQ(desc.height, -576);
  EXPECT_EQ(desc.bitsPerPixel, 24);
  // Every byte other than the named fields is 0.
  const auto* bytes = reinterpret_cast<const uint8_t*>(&desc);
  for (size_t i = 8; i < 24; ++i) EXPECT_EQ(bytes[i], 0) << "byte " << i;
  EXPECT_EQ(desc.address, reinterpret_cast<uintptr_t>(block.data() + capture::kPixelAreaOffset));

  // 2048 x 2048 at 32 bits is 16 MiB: more than the largest frame block.
  ASSERT_EQ(capture::buildDisplayHeader(block.data(), block.size(), 2048, 2048, 32, 4, &info), HeaderError::None);
  EXPECT_FALSE(capture::frameFits(info, capture::kFrameBlockSize));
  EXPECT_FALSE(capture::fillDescriptor(&desc, block.data(), capture::kFrameBlockSize, info));
  EXPECT_EQ(desc.address, 0u);

  // A doubled height beyond the descriptor's 16-bit field is not converted.
  info.width = 16;
  info.height = 40000;
  info.bits = 8;
  info.imageBytes = 16u * 40000u;
  EXPECT_TRUE(capture::frameFits(info, capture::kFrameBlockSize));
  EXPECT_FALSE(capture::fillDescriptor(&desc, block.data(), capture::kFrameBlockSize, info));
}

TEST(HeaderRule, ReadBackRefusesHostileHeaders) {
  std::vector<uint8_t> area(capture::kPixelAreaOffset, 0);
  ASSERT_EQ(capture::buildDisplayHeader(area.data(), area.size(), 64, 64, 8, 0), HeaderError::None);
  HeaderInfo info;
  ASSERT_TRUE(capture::readDisplayHeader(area.data(), area.size(), &info));
  // A used-colours count whose table would run into the pixel area.
  area[32] = 0xFF;
  area[33] = 0x05;  // 1535 entries
  EXPECT_FALSE(capture::readDisplayHeader(area.data(), area.size(), &info));
  area[33] = 0;
  area[0] = 12;
  EXPECT_FALSE(capture::readDisplayHeader(area.data(), area.size(), &info));
}
