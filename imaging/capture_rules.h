// capture_rules.h - the rules of the grab video window that need no widgets or board.
#pragma once

#include <cstddef>
#include <cstdint>

#include "abi/tyxapi32.h"

namespace capture {

// Layout of the frame block: the display header and its colour table or bit
// masks come first, the converted frame from kPixelAreaOffset on.
constexpr size_t kPixelAreaOffset = 5120;
constexpr size_t kFrameBlockSize = 10485760;
constexpr size_t kFrameBlockFallbackSize = 4194304;
constexpr size_t kInfoHeaderSize = 40;

enum class Aspect { FourThree, Square };

// What the auto-set writes to the board, in the order it is written.
struct TimingPlan {
  bool valid = false;       // false: the signal gives nothing to compute from; write nothing
  int32_t interlace = 0;    // video 8 and capture 10
  int32_t preset = 0;       // video 7: 0 and 1 fixed presets, 2 timing from capture 11 and 12
  bool setParam9Low = false;  // read video 9, write it back with the low 16 bits = param9Low
  int32_t param9Low = 100;
  bool writeTotals = false;   // capture 11 = pixelsPerLine, capture 12 = linesPerFrame
  int32_t pixelsPerLine = 0;
  int32_t linesPerFrame = 0;
  int32_t clockClass = 0;     // video 13
  bool computed = false;      // the general case: offset word, wait, read 19, preset 2 again
  int32_t clock = 0;          // the last clock computed (MHz), for display and tests
  uint32_t offsetWord = 0;    // video 19: y in the high 16 bits, x in the low 16 bits
  int32_t width = 0;          // window rectangle set for targets 0 and 1
  int32_t height = 0;
};

// The capture timing for a signal of `lines` lines at `fieldRate` fields per
// second. The clock recomputation is done at most once: a clock still above
// 60 after it takes class 2. Lines outside 1..32767 give an invalid plan.
TimingPlan timingFor(int32_t interlace, int32_t lines, int32_t fieldRate, Aspect aspect);

// How the display header describes the frame.
struct HeaderInfo {
  int32_t width = 0;
  int32_t height = 0;
  uint16_t bits = 0;           // bits per pixel as stored
  uint32_t compression = 0;    // 0 none, 3 bit fields
  uint32_t colourCount = 0;
  uint32_t tableBytes = 0;     // colour table or the three masks
  uint64_t imageBytes = 0;     // rows padded to 32-bit words
};

enum class HeaderError {
  None,
  BadSize,         // width or height not positive, or the height too large to describe
  BadBits,         // bits per pixel below 1 or above 32, or bit fields below 16 bits
  TableTooLarge,   // the colour table would not fit before the pixel area
  AreaTooSmall,    // the caller's header area is smaller than the header
};

// Builds the display header (40-byte header plus colour table or masks) for
// a frame of width w, height h, `bits` bits per pixel and format code
// `format` into the header area (at most kPixelAreaOffset bytes are used).
//   - Format codes 2, 3, 4 and 18 are bit-field formats, code 3 always at 16
//     bits; 16-bit bit fields use the 5-6-5 masks, deeper ones 8-8-8.
//   - Up to 8 bits: a grey ramp of 2^bits levels from black to white.
//   - 9 and 10 bits: 2^bits entries, each level repeated 2^(bits-8) times.
//   - 11 to 14 bits: refused, the table would not fit before the pixel area.
//   - Above 14 bits: no table.
HeaderError buildDisplayHeader(uint8_t* area, size_t areaSize, int32_t w, int32_t h, int32_t bits,
                               int32_t format, HeaderInfo* info = nullptr);

// Reads back a display header built above (or any 40-byte header) for
// painting; false when it is not one this program can describe.
bool readDisplayHeader(const uint8_t* area, size_t areaSize, HeaderInfo* info);

// The board's readings that decide the frame geometry.
struct BoardReadings {
  TyxRect rect{};          // target -1 at opening, target 1 at a sequence begin
  int32_t capture3 = 0;    // format code low 16 bits, bits per pixel high 16 bits
  int32_t capture10 = 0;   // interlace flag as a capture mode
  int32_t convert1 = 0;    // field-combination mode
  int32_t convert6 = 0;    // > 0: width and height exchanged
  int32_t video8 = 0;      // interlace flag
};

struct FrameGeometry {
  int32_t width = 0;
  int32_t height = 0;
  int32_t bits = 0;
  int32_t format = 0;
};

// The header geometry at opening: the height doubles when capture 10 reads 0
// and convert 1 reads 1 or 4, and width and height are exchanged when
// convert 6 reads above 0.
FrameGeometry initialGeometry(const BoardReadings& r);
// The header geometry at the begin of a sequence: width and height exchanged
// when convert 6 reads above 0, then the height doubled when capture 10 reads
// 0, video 8 reads 1 in its low 16 bits and convert 1 reads non-zero.
FrameGeometry beginGeometry(const BoardReadings& r);

// True when a frame of the header's size fits the pixel area of a frame
// block of blockSize bytes; a frame that does not fit is not converted.
bool frameFits(const HeaderInfo& header, size_t blockSize);

// Fills the conversion descriptor for the pixel area of the frame block:
// type, width, negated height, bits per pixel and the pixel area's address;
// every other byte is 0. The board library learns nothing of the area's
// size, so the check is ours: false (descriptor cleared) when the frame does
// not fit the pixel area or its size cannot be expressed in the descriptor's
// 16-bit fields.
bool fillDescriptor(TyxConvertDesc* desc, uint8_t* block, size_t blockSize, const HeaderInfo& header);

}  // namespace capture
