// frame_scaler.h - nearest-neighbour painting of packed bitmaps into a preallocated image.
#pragma once

#include <QRect>
#include <cstddef>
#include <cstdint>
#include <vector>

class QImage;

// A device-independent bitmap as it lies in memory: header fields already
// checked, pixel rows bottom-up for a positive height.
struct BitmapView {
  int32_t width = 0;
  int32_t height = 0;  // positive: bottom row first; negative: top row first
  uint16_t bits = 0;
  uint32_t compression = 0;  // 0 none, 3 bit fields
  const uint8_t* table = nullptr;  // blue, green, red, unused per entry
  uint32_t colourCount = 0;
  uint32_t masks[3] = {0, 0, 0};   // red, green, blue masks of bit-field frames
  const uint8_t* pixels = nullptr;
  size_t pixelBytes = 0;

  int32_t rows() const { return height < 0 ? -height : height; }
  size_t stride() const { return (static_cast<size_t>(width) * bits + 31) / 32 * 4; }
};

// A view of a packed bitmap (40-byte header, colour table or masks, pixels)
// of `size` bytes; false when the header is not one we paint or the pixels
// would lie past the block.
bool viewPackedBitmap(const void* block, size_t size, BitmapView* view);
// A view of a header area followed, elsewhere, by a pixel area (the frame
// block of the grab video window).
bool viewSplitBitmap(const uint8_t* header, size_t headerBytes, const uint8_t* pixels,
                     size_t pixelBytes, BitmapView* view);

// Paints 8-bit (and 1, 2, 4-bit) indexed, 16-bit 5-5-5 and 5-6-5, 24-bit
// and 32-bit bitmaps into a 32-bit image with nearest-neighbour scaling.
// It allocates only when the geometry changes: the row and column tables are
// kept and reused while source and target rectangles stay the same, so the
// per-frame path allocates nothing.
class FrameScaler {
 public:
  // Stretches the whole bitmap onto the whole target.
  bool paint(const BitmapView& src, QImage& target);
  // Stretches source rectangle `from` (top-down coordinates of the bitmap)
  // onto rectangle `to` of the target; both are clipped to their images.
  // The target must be QImage::Format_RGB32, Format_ARGB32 or
  // Format_ARGB32_Premultiplied.
  bool paint(const BitmapView& src, const QRect& from, QImage& target, const QRect& to);

  // Times the tables were rebuilt (tests check that frames reuse them).
  int tableBuilds() const { return builds_; }

 private:
  enum class Kind { Indexed8, IndexedSub8, Rgb555, Rgb565, Bgr24, Bgrx32, Unsupported };
  static Kind kindOf(const BitmapView& src);
  void buildTables(const BitmapView& src, const QRect& from, const QRect& to);

  // Geometry the tables were built for.
  int32_t srcWidth_ = -1, srcHeight_ = -1;
  uint16_t srcBits_ = 0;
  QRect from_, to_;
  std::vector<uint32_t> columns_;  // byte offset (bit offset below 8 bits) per target column
  std::vector<size_t> rows_;       // byte offset of the source row per target row
  int wideColumns_ = 0;            // leading columns whose 32-bit load stays inside the row
  uint32_t palette_[256] = {};
  int builds_ = 0;
};
