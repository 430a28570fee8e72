// frame_scaler_test.cpp - the nearest-neighbour painter of packed bitmaps.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <vector>

#include "imaging/capture_rules.h"
#include "imaging/frame_scaler.h"

namespace {

// A small packed bitmap whose every pixel has its own colour, built through
// the display-header rule so that header and table are those the program
// paints.
struct Frame {
  std::vector<uint8_t> block;
  BitmapView view;
};

QRgb colourAt(int x, int y) { return qRgb(x * 40 + 10, y * 50 + 5, (x + y) * 20); }

Frame makeFrame(int w, int h, int bits, int format) {
  Frame f;
  f.block.assign(capture::kPixelAreaOffset + size_t(w) * h * 4 + 64, 0);
  capture::HeaderInfo info;
  EXPECT_EQ(capture::buildDisplayHeader(f.block.data(), capture::kPixelAreaOffset, w, h, bits, format, &info),
            capture::HeaderError::None);
  const size_t stride = (size_t(w) * info.bits + 31) / 32 * 4;
  uint8_t* px = f.block.data() + capture::kPixelAreaOffset;
  for (int y = 0; y < h; ++y) {
    uint8_t* row = px + size_t(h - 1 - y) * stride;  // bottom-up
    for (int x = 0; x < w; ++x) {
      const QRgb c = colourAt(x, y);
      switch (info.bits) {
        case 8: row[x] = static_cast<uint8_t>(qGreen(c)); break;
        case 16: {
          const int v = (qRed(c) >> 3) << 11 | (qGreen(c) >> 2) << 5 | qBlue(c) >> 3;
          row[2 * x] = static_cast<uint8_t>(v);
          row[2 * x + 1] = static_cast<uint8_t>(v >> 8);
          break;
        }
        default: {
          uint8_t* p = row + x * (info.bits / 8);
          p[0] = static_cast<uint8_t>(qBlue(c));
          p[1] = static_cast<uint8_t>(qGreen(c));
          p[2] = static_cast<uint8_t>(qRed(c));
        }
      }
    }
  }
  EXPECT_TRUE(viewSplitBitmap(f.block.data(), capture::kPixelAreaOffset, px,
                              f.block.size() - capture::kPixelAreaOffset, &f.view));
  return f;
}

QRgb expected(int bits, QRgb c) {
  if (bits == 8) return qRgb(qGreen(c), qGreen(c), qGreen(c));
  if (bits == 16) {
    const int r = qRed(c) >> 3, g = qGreen(c) >> 2, b = qBlue(c) >> 3;
    return qRgb(r << 3 | r >> 2, g << 2 | g >> 4, b << 3 | b >> 2);
  }
  return c;
}

}  // namespace

TEST(FrameScaler, FormatsAtOwnSizeAndOrientation) {
  struct Case {
    const char* name;
    int bits, format;
  } cases[] = {{"8-bit grey", 8, 1}, {"RGB565", 16, 3}, {"RGB24", 24, 0}, {"RGB32", 32, 4}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Frame f = makeFrame(5, 4, c.bits, c.format);
    QImage target(5, 4, QImage::Format_RGB32);
    FrameScaler scaler;
    ASSERT_TRUE(scaler.paint(f.view, target));
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 5; ++x) ASSERT_EQ(target.pixel(x, y), expected(f.view.bits, colourAt(x, y))) << x << "," << y;
  }
}

TEST(FrameScaler, NearestNeighbourMatchesIntegerMapping) {
  // Shrinking and enlarging pick source pixel (x * sw / dw, y * sh / dh).
  const Frame f = makeFrame(5, 4, 24, 0);
  for (QSize size : {QSize(3, 2), QSize(11, 9), QSize(5, 1)}) {
    SCOPED_TRACE(size.width() * 100 + size.height());
    QImage target(size, QImage::Format_RGB32);
    FrameScaler scaler;
    ASSERT_TRUE(scaler.paint(f.view, target));
    for (int y = 0; y < size.height(); ++y)
      for (int x = 0; x < size.width(); ++x)
        ASSERT_EQ(target.pixel(x, y), colourAt(x * 5 / size.width(), y * 4 / size.height()));
  }
}

TEST(FrameScaler, SourceAndTargetRectangles) {
  const Frame f = makeFrame(5, 4, 32, 4);
  QImage target(8, 8, QImage::Format_RGB32);
  target.fill(Qt::magenta);
  FrameScaler scaler;
  // Unscaled copy of the source's lower-right 2 x 2 into the target at (1, 1).
  ASSERT_TRUE(scaler.paint(f.view, QRect(3, 2, 2, 2), target, QRect(1, 1, 2, 2)));
  EXPECT_EQ(target.pixel(1, 1), colourAt(3, 2));
  EXPECT_EQ(target.pixel(2, 2), colourAt(4, 3));
  EXPECT_EQ(target.pixel(0, 0), QColor(Qt::magenta).rgb());
  EXPECT_EQ(target.pixel(3, 3), QColor(Qt::magenta).rgb());
  // Rectangles reaching past either image are clipped, never followed.
  ASSERT_TRUE(scaler.paint(f.view, QRect(3, 2, 50, 50), target, QRect(6, 6, 50, 50)));
  EXPECT_EQ(target.pixel(6, 6), colourAt(3, 2));
  EXPECT_FALSE(scaler.paint(f.view, QRect(9, 9, 2, 2), target, QRect(0, 0, 2, 2)));
}

TEST(FrameScaler, ReusesItsTablesWhileTheGeometryStays) {
  const Frame f = makeFrame(5, 4, 24, 0);
  QImage target(640, 480, QImage::Format_RGB32);
  FrameScaler scaler;
  for (int i = 0; i < 10; ++i) ASSERT_TRUE(scaler.paint(f.view, target));
  EXPECT_EQ(scaler.tableBuilds(), 1);
  const uchar* before = target.constBits();
  ASSERT_TRUE(scaler.paint(f.view, target));
  EXPECT_EQ(target.constBits(), before);  // painted in place, no new image
  QImage other(320, 240, QImage::Format_RGB32);
  ASSERT_TRUE(scaler.paint(f.view, other));
  EXPECT_EQ(scaler.tableBuilds(), 2);
}

TEST(FrameScaler, RefusesWhatItCannotPaintSafely) {
  Frame f = makeFrame(5, 4, 24, 0);
  QImage target(5, 4, QImage::Format_RGB32);
  FrameScaler scaler;
  BitmapView shortView = f.view;
  shortView.pixelBytes = shortView.stride() * 4 - 1;  // one byte short of the rows
  EXPECT_FALSE(scaler.paint(shortView, target));
  QImage wrongFormat(5, 4, QImage::Format_RGB888);
  EXPECT_FALSE(scaler.paint(f.view, wrongFormat));
  QImage null;
  EXPECT_FALSE(scaler.paint(f.view, null));
  BitmapView odd = f.view;
  odd.bits = 12;
  EXPECT_FALSE(scaler.paint(odd, target));

  // The packed-bitmap view refuses a header that claims more than the block.
  std::vector<uint8_t> packed(40 + 5 * 4 * 3 + 4, 0);
  packed[0] = 40;
  packed[4] = 5;
  packed[8] = 4;
  packed[12] = 1;
  packed[14] = 24;
  BitmapView v;
  EXPECT_TRUE(viewPackedBitmap(packed.data(), packed.size(), &v));
  packed[8] = 5;
  EXPECT_FALSE(viewPackedBitmap(packed.data(), packed.size(), &v));
  packed[8] = 4;
  packed[14] = 8;
  packed[32] = 200;  // a 200-entry table runs past the block
  EXPECT_FALSE(viewPackedBitmap(packed.data(), packed.size(), &v));
}

TEST(FrameScaler, AgreesWithQtForAScaledFrame) {
  // Qt's own unsmoothed drawImage is nearest-neighbour too; away from pixel
  // edges both must pick the same source pixel.
  const Frame f = makeFrame(8, 6, 24, 0);
  QImage reference(8, 6, QImage::Format_RGB32);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 8; ++x) reference.setPixel(x, y, colourAt(x, y));
  QImage stock(32, 24, QImage::Format_RGB32);
  {
    QPainter p(&stock);
    p.drawImage(stock.rect(), reference);
  }
  QImage ours(32, 24, QImage::Format_RGB32);
  FrameScaler scaler;
  ASSERT_TRUE(scaler.paint(f.view, ours));
  EXPECT_EQ(ours, stock);
}

TEST(FrameScaler, LastColumnAtTheVeryEndOfThePixelArea) {
  // Width 4 at 24 bits has no row padding: the source's last pixel ends the
  // pixel area. Enlarging repeats it many times; none of those reads may go
  // past the area (the sanitizer build checks the bytes, this the colours).
  const int w = 4, h = 3;
  std::vector<uint8_t> header(40 + 0, 0);
  header[0] = 40;
  header[4] = w;
  header[8] = h;
  header[12] = 1;
  header[14] = 24;
  std::vector<uint8_t> pixels(size_t(w) * 3 * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = pixels.data() + size_t(h - 1 - y) * w * 3 + x * 3;
      const QRgb c = colourAt(x, y);
      p[0] = static_cast<uint8_t>(qBlue(c));
      p[1] = static_cast<uint8_t>(qGreen(c));
      p[2] = static_cast<uint8_t>(qRed(c));
    }
  BitmapView view;
  ASSERT_TRUE(viewSplitBitmap(header.data(), header.size(), pixels.data(), pixels.size(), &view));
  QImage target(17, 9, QImage::Format_RGB32);
  FrameScaler scaler;
  ASSERT_TRUE(scaler.paint(view, target));
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 17; ++x) ASSERT_EQ(target.pixel(x, y), colourAt(x * w / 17, y * h / 9)) << x << "," << y;
}
