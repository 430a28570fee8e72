// frame_scaler.cpp - nearest-neighbour painting of packed bitmaps into a preallocated image.
#include "imaging/frame_scaler.h"

#include <QImage>

#include <algorithm>
#include <bit>
#include <cstring>

// Pixels are assembled from little-endian loads (blue in the lowest byte).
static_assert(std::endian::native == std::endian::little, "the painter assumes a little-endian machine");

namespace {

constexpr uint32_t kInfoHeaderSize = 40;

uint32_t readU32(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

// Fills the header fields of a view and returns the bytes of the colour
// table or masks that follow the header; -1 when the header is not usable.
int64_t parseHeader(const uint8_t* h, size_t available, BitmapView* v) {
  if (!h || available < kInfoHeaderSize || readU32(h) != kInfoHeaderSize) return -1;
  v->width = static_cast<int32_t>(readU32(h + 4));
  v->height = static_cast<int32_t>(readU32(h + 8));
  v->bits = static_cast<uint16_t>(h[14] | h[15] << 8);
  v->compression = readU32(h + 16);
  uint32_t colours = readU32(h + 32);
  if (v->width <= 0 || v->height == 0 || v->height == INT32_MIN) return -1;
  if (v->width > 65535 || v->rows() > 65535) return -1;
  int64_t extra = 0;
  if (v->compression == 3) {
    if (available < kInfoHeaderSize + 12) return -1;
    v->masks[0] = readU32(h + 40);
    v->masks[1] = readU32(h + 44);
    v->masks[2] = readU32(h + 48);
    extra = 12;
    colours = 0;
  } else if (v->compression == 0) {
    if (colours == 0 && v->bits <= 8) colours = 1u << v->bits;
    if (v->bits <= 8 && colours > (1u << v->bits)) colours = 1u << v->bits;
    extra = int64_t{colours} * 4;
  } else {
    return -1;
  }
  if (uint64_t(kInfoHeaderSize) + extra > available) return -1;
  v->colourCount = v->compression == 3 ? 0 : colours;
  v->table = v->colourCount ? h + kInfoHeaderSize : nullptr;
  return extra;
}

bool pixelsFit(const BitmapView& v) {
  const uint64_t need = uint64_t(v.stride()) * static_cast<uint64_t>(v.rows());
  return v.pixels && need <= v.pixelBytes;
}

inline uint32_t expand5(uint32_t v) { return (v << 3) | (v >> 2); }
inline uint32_t expand6(uint32_t v) { return (v << 2) | (v >> 4); }

}  // namespace

bool viewPackedBitmap(const void* block, size_t size, BitmapView* view) {
  BitmapView v;
  const auto* h = static_cast<const uint8_t*>(block);
  const int64_t extra = parseHeader(h, size, &v);
  if (extra < 0) return false;
  v.pixels = h + kInfoHeaderSize + extra;
  v.pixelBytes = size - kInfoHeaderSize - static_cast<size_t>(extra);
  if (!pixelsFit(v)) return false;
  *view = v;
  return true;
}

bool viewSplitBitmap(const uint8_t* header, size_t headerBytes, const uint8_t* pixels, size_t pixelBytes,
                     BitmapView* view) {
  BitmapView v;
  if (parseHeader(header, headerBytes, &v) < 0) return false;
  v.pixels = pixels;
  v.pixelBytes = pixelBytes;
  if (!pixelsFit(v)) return false;
  *view = v;
  return true;
}

FrameScaler::Kind FrameScaler::kindOf(const BitmapView& s) {
  if (s.compression == 0) {
    switch (s.bits) {
      case 1:
      case 2:
      case 4: return s.table ? Kind::IndexedSub8 : Kind::Unsupported;
      case 8: return s.table ? Kind::Indexed8 : Kind::Unsupported;
      case 16: return Kind::Rgb555;
      case 24: return Kind::Bgr24;
      case 32: return Kind::Bgrx32;
      default: return Kind::Unsupported;
    }
  }
  if (s.compression == 3) {
    const uint32_t r = s.masks[0], g = s.masks[1], b = s.masks[2];
    if (s.bits == 16 && r == 0xF800 && g == 0x07E0 && b == 0x001F) return Kind::Rgb565;
    if (s.bits == 16 && r == 0x7C00 && g == 0x03E0 && b == 0x001F) return Kind::Rgb555;
    if ((s.bits == 24 || s.bits == 32) && r == 0xFF0000 && g == 0x00FF00 && b == 0x0000FF)
      return s.bits == 24 ? Kind::Bgr24 : Kind::Bgrx32;
  }
  return Kind::Unsupported;
}

void FrameScaler::buildTables(const BitmapView& s, const QRect& from, const QRect& to) {
  ++builds_;
  srcWidth_ = s.width;
  srcHeight_ = s.height;
  srcBits_ = s.bits;
  from_ = from;
  to_ = to;
  const int64_t dw = to.width(), dh = to.height();
  const int64_t sw = from.width(), sh = from.height();
  columns_.resize(static_cast<size_t>(dw));
  rows_.resize(static_cast<size_t>(dh));
  for (int64_t x = 0; x < dw; ++x) {
    const int64_t sx = from.x() + (x * sw) / dw;
    // Below 8 bits the table holds bit offsets, from 8 bits on byte offsets.
    columns_[static_cast<size_t>(x)] =
        static_cast<uint32_t>(s.bits < 8 ? sx * s.bits : sx * (s.bits / 8));
  }
  const size_t stride = s.stride();
  wideColumns_ = 0;
  while (wideColumns_ < dw && columns_[static_cast<size_t>(wideColumns_)] + size_t{4} <= stride) ++wideColumns_;
  const int32_t rows = s.rows();
  for (int64_t y = 0; y < dh; ++y) {
    const int64_t sy = from.y() + (y * sh) / dh;  // counted from the top of the picture
    const int64_t stored = s.height > 0 ? rows - 1 - sy : sy;
    rows_[static_cast<size_t>(y)] = static_cast<size_t>(stored) * stride;
  }
}

bool FrameScaler::paint(const BitmapView& src, QImage& target) {
  return paint(src, QRect(0, 0, src.width, src.rows()), target, target.rect());
}

bool FrameScaler::paint(const BitmapView& src, const QRect& fromIn, QImage& target, const QRect& toIn) {
  // Every pixel written is opaque, so premultiplied targets take them as they are.
  if (target.isNull() || (target.format() != QImage::Format_RGB32 && target.format() != QImage::Format_ARGB32 &&
                          target.format() != QImage::Format_ARGB32_Premultiplied))
    return false;
  if (!pixelsFit(src) || src.width <= 0 || src.rows() <= 0) return false;
  const Kind kind = kindOf(src);
  if (kind == Kind::Unsupported) return false;
  const QRect from = fromIn.intersected(QRect(0, 0, src.width, src.rows()));
  const QRect to = toIn.intersected(target.rect());
  if (from.isEmpty() || to.isEmpty()) return false;

  if (src.width != srcWidth_ || src.height != srcHeight_ || src.bits != srcBits_ || from != from_ ||
      to != to_)
    buildTables(src, from, to);

  if (kind == Kind::Indexed8 || kind == Kind::IndexedSub8) {
    const uint32_t n = std::min<uint32_t>(src.colourCount, 256);
    for (uint32_t i = 0; i < 256; ++i) {
      if (i < n) {
        const uint8_t* e = src.table + size_t{4} * i;
        palette_[i] = 0xFF000000u | uint32_t{e[2]} << 16 | uint32_t{e[1]} << 8 | e[0];
      } else {
        palette_[i] = 0xFF000000u;  // an index past the table shows black
      }
    }
  }

  // bits() rather than scanLine(): one detach check for the whole frame.
  uchar* const base = target.bits();
  const qsizetype bpl = target.bytesPerLine();
  // The target, the source and the column table never overlap; saying so
  // lets the compiler keep loads out of the way of the stores.
  const uint32_t* __restrict const cols = columns_.data();
  const int width = to.width();
  const uint8_t subMask = static_cast<uint8_t>((1u << (src.bits < 8 ? src.bits : 1)) - 1);
  const uint8_t* previousRow = nullptr;
  uint32_t* previousOut = nullptr;

  for (int y = 0; y < to.height(); ++y) {
    uint32_t* __restrict out = reinterpret_cast<uint32_t*>(base + (to.y() + y) * bpl) + to.x();
    const uint8_t* __restrict row = src.pixels + rows_[static_cast<size_t>(y)];
    if (row == previousRow) {
      // Enlarging repeats source rows: copy the row already converted.
      std::memcpy(out, previousOut, static_cast<size_t>(width) * 4);
      continue;
    }
    previousRow = row;
    previousOut = out;
    switch (kind) {
      case Kind::Indexed8:
#pragma GCC unroll 8
        for (int x = 0; x < width; ++x) out[x] = palette_[row[cols[x]]];
        break;
      case Kind::IndexedSub8:
        for (int x = 0; x < width; ++x) {
          const uint32_t bit = cols[x];
          const int shift = 8 - src.bits - static_cast<int>(bit & 7);
          out[x] = palette_[(row[bit >> 3] >> shift) & subMask];
        }
        break;
      case Kind::Rgb555:
        for (int x = 0; x < width; ++x) {
          const uint32_t v = uint32_t{row[cols[x]]} | uint32_t{row[cols[x] + 1]} << 8;
          out[x] = 0xFF000000u | expand5((v >> 10) & 31) << 16 | expand5((v >> 5) & 31) << 8 |
                   expand5(v & 31);
        }
        break;
      case Kind::Rgb565:
        for (int x = 0; x < width; ++x) {
          const uint32_t v = uint32_t{row[cols[x]]} | uint32_t{row[cols[x] + 1]} << 8;
          out[x] = 0xFF000000u | expand5(v >> 11) << 16 | expand6((v >> 5) & 63) << 8 | expand5(v & 31);
        }
        break;
      case Kind::Bgr24: {
        // One unaligned 32-bit load per pixel, its fourth byte dropped, for
        // the columns whose four bytes lie within the row; the source's last
        // column may end the pixel area, so it is read byte by byte.
        const int wide = wideColumns_;
        // Unrolled: the loop is bound by its loads, and eight at a time lets
        // them overlap (measured in bench/scaler_bench: about 1.6x).
#pragma GCC unroll 8
        for (int x = 0; x < wide; ++x) {
          uint32_t v;
          std::memcpy(&v, row + cols[x], 4);
          out[x] = 0xFF000000u | (v & 0x00FFFFFFu);
        }
        for (int x = wide; x < width; ++x) {
          const uint8_t* p = row + cols[x];
          out[x] = 0xFF000000u | uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0];
        }
        break;
      }
      case Kind::Bgrx32:
#pragma GCC unroll 8
        for (int x = 0; x < width; ++x) {
          uint32_t v;
          std::memcpy(&v, row + cols[x], 4);
          out[x] = 0xFF000000u | (v & 0x00FFFFFFu);
        }
        break;
      case Kind::Unsupported: break;
    }
  }
  return true;
}
