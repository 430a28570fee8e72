// bmp_writer_test.cpp - BMP files written from frame blocks: sizes, read-back, refusals, failures.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>
#include <vector>

#include "imaging/bmp_writer.h"

namespace {

void put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}
uint32_t get32(const std::vector<uint8_t>& b, size_t at) {
  return uint32_t{b[at]} | uint32_t{b[at + 1]} << 8 | uint32_t{b[at + 2]} << 16 | uint32_t{b[at + 3]} << 24;
}

// A packed bitmap as the camera library hands it out: 40-byte header,
// colour table, bottom-up rows. The pixels carry a pattern that tells rows
// and columns apart.
std::vector<uint8_t> makeFrame(int32_t w, int32_t h, uint16_t bits, uint32_t colours = 0,
                               uint32_t compression = 0) {
  uint32_t tableEntries = colours ? colours : (bits <= 8 ? 1u << bits : 0);
  const uint32_t extra = compression == 3 ? 12 : tableEntries * 4;
  const uint32_t stride = (uint32_t(w) * bits + 31) / 32 * 4;
  std::vector<uint8_t> b(40 + extra + size_t{stride} * uint32_t(h));
  put32(b, 0, 40);
  put32(b, 4, static_cast<uint32_t>(w));
  put32(b, 8, static_cast<uint32_t>(h));
  b[12] = 1;
  b[14] = static_cast<uint8_t>(bits);
  put32(b, 16, compression);
  put32(b, 20, 0);  // left for the writer to compute
  put32(b, 32, colours);
  if (compression == 3) {
    put32(b, 40, 0xF800);
    put32(b, 44, 0x07E0);
    put32(b, 48, 0x001F);
  }
  for (uint32_t i = 0; compression != 3 && i < tableEntries; ++i) {
    b[40 + 4 * i] = static_cast<uint8_t>(255 - i);      // blue
    b[40 + 4 * i + 1] = static_cast<uint8_t>(i);        // green
    b[40 + 4 * i + 2] = static_cast<uint8_t>(i * 7);    // red
  }
  uint8_t* px = b.data() + 40 + extra;
  for (int32_t y = 0; y < h; ++y)
    for (uint32_t x = 0; x < stride; ++x) px[size_t(y) * stride + x] = static_cast<uint8_t>(x * 3 + y * 11);
  return b;
}

}  // namespace

TEST(BmpWriter, FileSizesAndOffsets) {
  struct Case {
    const char* name;
    int32_t w, h;
    uint16_t bits;
    uint32_t colours, compression;
    uint32_t fileSize, offset;
  } cases[] = {
      {"1280x1024 24-bit", 1280, 1024, 24, 0, 0, 3932214, 54},
      {"8-bit with no used-colours value", 640, 480, 8, 0, 0, 1078 + 640 * 480, 1078},
      {"8-bit with 16 used colours", 64, 4, 8, 16, 0, 54 + 64 + 64 * 4, 54 + 64},
      {"1-bit rows padded to words", 33, 2, 1, 0, 0, 62 + 8 * 2, 62},
      {"16-bit bit fields keep their masks", 10, 3, 16, 0, 3, 66 + 20 * 3, 66},
      {"32-bit", 3, 3, 32, 0, 0, 54 + 36, 54},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<uint8_t> frame = makeFrame(c.w, c.h, c.bits, c.colours, c.compression);
    std::vector<uint8_t> out;
    ASSERT_EQ(bmp::write(frame.data(), frame.size(), out), bmp::Error::None);
    ASSERT_EQ(out.size(), c.fileSize);
    EXPECT_EQ(out[0], 'B');
    EXPECT_EQ(out[1], 'M');
    EXPECT_EQ(get32(out, 2), c.fileSize);
    EXPECT_EQ(get32(out, 6), 0u);
    EXPECT_EQ(get32(out, 10), c.offset);
    EXPECT_EQ(get32(out, 14 + 20), c.fileSize - c.offset);  // image size stored in the header
    // Everything after the header is the block as it lies.
    EXPECT_EQ(0, std::memcmp(out.data() + 54, frame.data() + 40, out.size() - 54));
  }
}

TEST(BmpWriter, UsedColoursOf24Or32CountAsNoTable) {
  // The maker's true-colour frames carry their depth in the used-colours
  // field; it must not be taken for a colour table.
  for (uint32_t marker : {24u, 32u}) {
    std::vector<uint8_t> frame = makeFrame(4, 4, 24);
    put32(frame, 32, marker);
    bmp::Layout l;
    ASSERT_EQ(bmp::plan(frame.data(), frame.size(), &l), bmp::Error::None);
    EXPECT_EQ(l.tableBytes, 0u);
    EXPECT_EQ(l.pixelOffset, 54u);
  }
}

TEST(BmpWriter, ReadBackByQtPixelForPixel) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  struct Case {
    const char* name;
    int32_t w, h;
    uint16_t bits;
    uint32_t compression;
  } cases[] = {{"24-bit odd width", 37, 21, 24, 0},
               {"8-bit indexed", 50, 9, 8, 0},
               {"32-bit", 16, 5, 32, 0},
               {"16-bit 5-6-5", 15, 6, 16, 3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<uint8_t> frame = makeFrame(c.w, c.h, c.bits, 0, c.compression);
    const QString path = dir.filePath(QString::fromLatin1(c.name) + ".bmp");
    ASSERT_EQ(bmp::saveBmp(frame.data(), frame.size(), path), bmp::Error::None);
    QImageReader reader(path, "bmp");
    const QImage img = reader.read().convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(img.isNull()) << reader.errorString().toStdString();
    ASSERT_EQ(img.width(), c.w);
    ASSERT_EQ(img.height(), c.h);
    const uint32_t table = c.compression == 3 ? 12 : (c.bits <= 8 ? (1u << c.bits) * 4 : 0);
    const uint8_t* px = frame.data() + 40 + table;
    const size_t stride = (size_t(c.w) * c.bits + 31) / 32 * 4;
    for (int y = 0; y < c.h; ++y) {
      const uint8_t* row = px + size_t(c.h - 1 - y) * stride;  // bottom row first
      for (int x = 0; x < c.w; ++x) {
        int r = 0, g = 0, b = 0;
        if (c.bits == 24 || c.bits == 32) {
          const uint8_t* p = row + x * (c.bits / 8);
          b = p[0];
          g = p[1];
          r = p[2];
        } else if (c.bits == 8) {
          const uint8_t* e = frame.data() + 40 + 4 * row[x];
          b = e[0];
          g = e[1];
          r = e[2];
        } else {
          const int v = row[2 * x] | row[2 * x + 1] << 8;
          r = ((v >> 11) & 31) * 255 / 31;
          g = ((v >> 5) & 63) * 255 / 63;
          b = (v & 31) * 255 / 31;
        }
        // Qt widens 5- and 6-bit fields by shifting, not scaling.
        const int slack = c.bits == 16 ? 8 : 0;
        const QRgb got = img.pixel(x, y);
        ASSERT_NEAR(qRed(got), r, slack) << x << "," << y;
        ASSERT_NEAR(qGreen(got), g, slack) << x << "," << y;
        ASSERT_NEAR(qBlue(got), b, slack) << x << "," << y;
      }
    }
  }
}

TEST(BmpWriter, HostileHeadersAreRefused) {
  struct Case {
    const char* name;
    size_t at;  // field to overwrite, or SIZE_MAX for none
    uint32_t value;
    size_t cut;  // bytes removed from the end of the block
    bmp::Error expected;
  } cases[] = {
      {"header size 12", 0, 12, 0, bmp::Error::BadHeaderSize},
      {"header size 124", 0, 124, 0, bmp::Error::BadHeaderSize},
      {"negative height (top-down)", 8, static_cast<uint32_t>(-8), 0, bmp::Error::TopDown},
      {"zero width", 4, 0, 0, bmp::Error::BadDimensions},
      {"negative width", 4, static_cast<uint32_t>(-8), 0, bmp::Error::BadDimensions},
      {"zero height", 8, 0, 0, bmp::Error::BadDimensions},
      {"pixels past the block", SIZE_MAX, 0, 1, bmp::Error::Truncated},
      {"height beyond the block", 8, 9, 0, bmp::Error::Truncated},
      {"colour table past the block", 32, 100000, 0, bmp::Error::Truncated},
      {"colour count that overflows 32 bits", 32, 0xFFFFFFFF, 0, bmp::Error::TooLarge},
      {"size arithmetic beyond 32 bits", 4, 0x7FFFFFFF, 0, bmp::Error::TooLarge},
      {"RLE size past the block", 16, 1, 0, bmp::Error::Truncated},
      {"JPEG compression", 16, 4, 0, bmp::Error::Unsupported},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<uint8_t> frame = makeFrame(8, 8, 8);
    if (c.at != SIZE_MAX) put32(frame, c.at, c.value);
    if (c.at == 16 && c.value == 1) put32(frame, 20, 0x10000000);  // RLE image size
    frame.resize(frame.size() - c.cut);
    std::vector<uint8_t> out;
    EXPECT_EQ(bmp::write(frame.data(), frame.size(), out), c.expected);
    EXPECT_TRUE(out.empty());
  }
  std::vector<uint8_t> out;
  EXPECT_EQ(bmp::write(nullptr, 100, out), bmp::Error::NoFrame);
  const std::vector<uint8_t> frame = makeFrame(8, 8, 8);
  EXPECT_EQ(bmp::write(frame.data(), 0, out), bmp::Error::NoFrame);
  EXPECT_EQ(bmp::write(frame.data(), 39, out), bmp::Error::Truncated);
  EXPECT_TRUE(out.empty());
}

TEST(BmpWriter, BadFrameLeavesNoFile) {
  QTemporaryDir dir;
  const QString path = dir.filePath("bad.bmp");
  std::vector<uint8_t> frame = makeFrame(8, 8, 24);
  put32(frame, 0, 108);
  EXPECT_EQ(bmp::saveBmp(frame.data(), frame.size(), path), bmp::Error::BadHeaderSize);
  EXPECT_EQ(bmp::saveBmp(nullptr, 0, path), bmp::Error::NoFrame);
  EXPECT_FALSE(QFileInfo::exists(path));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 0);
}

TEST(BmpWriter, CreateFailureIsReported) {
  const std::vector<uint8_t> frame = makeFrame(8, 8, 24);
  EXPECT_EQ(bmp::saveBmp(frame.data(), frame.size(), "/nonexistent-dir/x/frame.bmp"), bmp::Error::CreateFailed);
}

TEST(BmpWriter, FullDeviceIsReported) {
  // /dev/full fails every write with ENOSPC, like a full disk.
  const std::vector<uint8_t> frame = makeFrame(320, 240, 24);
  QFile full("/dev/full");
  ASSERT_TRUE(full.open(QIODevice::WriteOnly));
  EXPECT_EQ(bmp::write(frame.data(), frame.size(), full), bmp::Error::WriteFailed);
  full.close();
  // The save helper writes a device in place rather than renaming over it.
  EXPECT_EQ(bmp::saveBmp(frame.data(), frame.size(), "/dev/full"), bmp::Error::WriteFailed);
  struct stat st {};
  ASSERT_EQ(stat("/dev/full", &st), 0);
  EXPECT_TRUE(S_ISCHR(st.st_mode));
}

TEST(BmpWriter, WriteFailingPartWayRemovesThePartialFile) {
  QTemporaryDir dir;
  const QString path = dir.filePath("frame.bmp");
  // An earlier save of the same name must survive a failed one.
  const std::vector<uint8_t> small = makeFrame(4, 4, 24);
  ASSERT_EQ(bmp::saveBmp(small.data(), small.size(), path), bmp::Error::None);
  const qint64 earlierSize = QFileInfo(path).size();

  // A file-size limit makes the kernel refuse writes past 64 KiB, the same
  // failure a full disk gives part-way through a frame.
  const std::vector<uint8_t> frame = makeFrame(1280, 1024, 24);
  struct rlimit saved {};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto previous = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit limited = saved;
  limited.rlim_cur = 64 * 1024;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
  const bmp::Error result = bmp::saveBmp(frame.data(), frame.size(), path);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous);

  EXPECT_EQ(result, bmp::Error::WriteFailed);
  EXPECT_EQ(QFileInfo(path).size(), earlierSize);
  const QStringList left = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
  EXPECT_EQ(left, QStringList{"frame.bmp"});
}

TEST(BmpWriter, ShortWritesOfAnyDeviceAreReported) {
  // A device that takes only the first bytes of the file.
  class ShortDevice : public QIODevice {
   public:
    qint64 room = 100;
    QByteArray got;

   protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 len) override {
      const qint64 n = std::min(len, room);
      if (n <= 0) return -1;
      got.append(data, n);
      room -= n;
      return n;
    }
  } device;
  device.open(QIODevice::WriteOnly);
  const std::vector<uint8_t> frame = makeFrame(64, 64, 24);
  EXPECT_EQ(bmp::write(frame.data(), frame.size(), device), bmp::Error::WriteFailed);
  QBuffer closed;
  EXPECT_EQ(bmp::write(frame.data(), frame.size(), closed), bmp::Error::WriteFailed);
}

TEST(BmpWriter, SavesPng) {
  QTemporaryDir dir;
  const QString path = dir.filePath("frame.png");
  const std::vector<uint8_t> frame = makeFrame(37, 21, 24);
  ASSERT_EQ(bmp::savePng(frame.data(), frame.size(), path), bmp::Error::None);
  QImageReader reader(path);
  EXPECT_EQ(reader.format(), "png");
  const QImage img = reader.read();
  ASSERT_EQ(img.size(), QSize(37, 21));
  // Top-left pixel of the picture is the first pixel of the last stored row.
  const uint8_t* p = frame.data() + 40 + size_t(20) * ((37 * 24 + 31) / 32 * 4);
  EXPECT_EQ(img.pixel(0, 0), qRgb(p[2], p[1], p[0]));
  std::vector<uint8_t> bad = frame;
  put32(bad, 8, static_cast<uint32_t>(-21));
  EXPECT_EQ(bmp::savePng(bad.data(), bad.size(), dir.filePath("bad.png")), bmp::Error::TopDown);
  EXPECT_FALSE(QFileInfo::exists(dir.filePath("bad.png")));
}

// Each refusal has its own wording in both languages; a Chinese message never
// falls back to the English reason.
TEST(BmpWriter, EveryErrorIsDescribedInBothLanguages) {
  QSet<QString> english;
  QSet<QString> chinese;
  for (int e = static_cast<int>(bmp::Error::None); e <= static_cast<int>(bmp::Error::EncodeFailed); ++e) {
    SCOPED_TRACE(e);
    const auto error = static_cast<bmp::Error>(e);
    const QString en = QString::fromUtf8(bmp::describe(error));
    const QString zh = QString::fromUtf8(bmp::describe(error, true));
    EXPECT_FALSE(en.isEmpty());
    EXPECT_NE(en, "unknown error");
    EXPECT_NE(zh, QString::fromUtf8("未知错误"));
    // Chinese text: no Latin letters apart from the file format's name.
    EXPECT_FALSE(QString(zh).remove("BMP").contains(QRegularExpression("[A-Za-z]"))) << zh.toStdString();
    english.insert(en);
    chinese.insert(zh);
  }
  const int count = static_cast<int>(bmp::Error::EncodeFailed) + 1;
  EXPECT_EQ(english.size(), count);
  EXPECT_EQ(chinese.size(), count);
}
