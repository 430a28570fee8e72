// bmp_writer.cpp - writes a frame block (packed device-independent bitmap) as a BMP file.
#include "imaging/bmp_writer.h"

#include <QByteArray>
#include <QBuffer>
#include <QFile>
#include <QFileDevice>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QIODevice>
#include <QString>
#include <QTemporaryFile>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>
#include <system_error>

namespace bmp {
namespace {

constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kCompressionRle8 = 1;
constexpr uint32_t kCompressionRle4 = 2;
constexpr uint32_t kCompressionBitFields = 3;

uint32_t readU32(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}
int32_t readI32(const uint8_t* p) { return static_cast<int32_t>(readU32(p)); }
uint16_t readU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

void putU32(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
  p[2] = static_cast<uint8_t>(v >> 16);
  p[3] = static_cast<uint8_t>(v >> 24);
}

// The 14-byte file header and the 40-byte header as they go into the file.
struct Heads {
  uint8_t bytes[kFileHeaderSize + kInfoHeaderSize];
};

Heads makeHeads(const uint8_t* block, const Layout& l) {
  Heads h{};
  h.bytes[0] = 'B';
  h.bytes[1] = 'M';
  putU32(h.bytes + 2, l.fileSize);
  putU32(h.bytes + 10, l.pixelOffset);
  std::memcpy(h.bytes + kFileHeaderSize, block, kInfoHeaderSize);
  // The image size the file is written with; the caller's block is left as
  // it is.
  putU32(h.bytes + kFileHeaderSize + 20, l.imageBytes);
  return h;
}

Error commitToPath(const QString& path, const std::function<Error(QIODevice&)>& produce) {
  const QFileInfo info(path);
  if (info.exists() && !info.isFile()) {
    // A device or pipe cannot be replaced by renaming; write into it.
    QFile device(path);
    if (!device.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return Error::CreateFailed;
    const Error e = produce(device);
    device.close();
    return e;
  }
  QTemporaryFile temp(info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                      QStringLiteral(".XXXXXX"));
  temp.setAutoRemove(true);
  if (!temp.open()) return Error::CreateFailed;
  const Error e = produce(temp);
  if (e != Error::None) return e;  // the temporary file is removed with temp
  if (!temp.flush()) return Error::WriteFailed;
  temp.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                      QFileDevice::ReadOther);
  const QString tempName = temp.fileName();
  temp.close();
  if (temp.error() != QFileDevice::NoError) return Error::WriteFailed;
  std::error_code ec;
  std::filesystem::rename(std::filesystem::path(QFile::encodeName(tempName).toStdString()),
                          std::filesystem::path(QFile::encodeName(path).toStdString()), ec);
  if (ec) return Error::CreateFailed;
  temp.setAutoRemove(false);
  return Error::None;
}

}  // namespace

Error plan(const void* blockPtr, size_t size, Layout* layout) {
  const auto* block = static_cast<const uint8_t*>(blockPtr);
  if (!block || size == 0) return Error::NoFrame;
  if (size < 4 || readU32(block) != kInfoHeaderSize) return Error::BadHeaderSize;
  if (size < kInfoHeaderSize) return Error::Truncated;

  const int32_t width = readI32(block + 4);
  const int32_t height = readI32(block + 8);
  const uint16_t bits = readU16(block + 14);
  const uint32_t compression = readU32(block + 16);
  const uint32_t sizeImage = readU32(block + 20);
  const uint32_t colourUsed = readU32(block + 32);

  if (height < 0) return Error::TopDown;
  if (width <= 0 || height == 0) return Error::BadDimensions;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
    return Error::Unsupported;
  if (compression > kCompressionBitFields) return Error::Unsupported;
  if ((compression == kCompressionRle8 && bits != 8) || (compression == kCompressionRle4 && bits != 4) ||
      (compression == kCompressionBitFields && bits < 16))
    return Error::Unsupported;

  uint64_t colours = colourUsed;
  if (colours == 0) colours = bits == 1 ? 2 : bits == 4 ? 16 : bits == 8 ? 256 : 0;
  // The maker's frames carry their bit depth in the used-colours field of a
  // true-colour frame; such a count stands for no table.
  if (colours == 24 || colours == 32) colours = 0;
  uint64_t table = colours * 4;
  // Bit-field frames keep their three masks where the colour table would be;
  // the pixels start after them.
  if (compression == kCompressionBitFields) table += 12;

  uint64_t image;
  if (compression == kCompressionRle8 || compression == kCompressionRle4) {
    image = sizeImage;
    if (image == 0) return Error::BadDimensions;
  } else {
    const uint64_t rowBytes = (uint64_t{bits} * static_cast<uint64_t>(width) + 31) / 32 * 4;
    image = rowBytes * static_cast<uint64_t>(height);
  }

  const uint64_t fileSize = uint64_t{kFileHeaderSize} + kInfoHeaderSize + table + image;
  if (fileSize > UINT32_MAX) return Error::TooLarge;
  if (uint64_t{kInfoHeaderSize} + table + image > size) return Error::Truncated;

  if (layout) {
    layout->colourCount = static_cast<uint32_t>(colours);
    layout->tableBytes = static_cast<uint32_t>(table);
    layout->imageBytes = static_cast<uint32_t>(image);
    layout->pixelOffset = static_cast<uint32_t>(kFileHeaderSize + kInfoHeaderSize + table);
    layout->fileSize = static_cast<uint32_t>(fileSize);
  }
  return Error::None;
}

Error write(const void* blockPtr, size_t size, std::vector<uint8_t>& out) {
  Layout l;
  const Error e = plan(blockPtr, size, &l);
  if (e != Error::None) return e;
  const auto* block = static_cast<const uint8_t*>(blockPtr);
  const Heads heads = makeHeads(block, l);
  out.reserve(out.size() + l.fileSize);
  out.insert(out.end(), heads.bytes, heads.bytes + sizeof heads.bytes);
  const uint8_t* rest = block + kInfoHeaderSize;
  out.insert(out.end(), rest, rest + (size_t{l.tableBytes} + l.imageBytes));
  return Error::None;
}

Error write(const void* blockPtr, size_t size, QIODevice& device) {
  Layout l;
  const Error e = plan(blockPtr, size, &l);
  if (e != Error::None) return e;
  if (!device.isWritable()) return Error::WriteFailed;
  const auto* block = static_cast<const uint8_t*>(blockPtr);
  const Heads heads = makeHeads(block, l);
  auto put = [&device](const uint8_t* data, qint64 count) {
    while (count > 0) {
      // Bounded chunks, so a device that takes only part of a write is
      // noticed as soon as it happens.
      const qint64 chunk = std::min<qint64>(count, qint64{1} << 20);
      const qint64 done = device.write(reinterpret_cast<const char*>(data), chunk);
      if (done != chunk) return false;
      data += chunk;
      count -= chunk;
    }
    return true;
  };
  if (!put(heads.bytes, sizeof heads.bytes)) return Error::WriteFailed;
  if (!put(block + kInfoHeaderSize, qint64{l.tableBytes} + l.imageBytes)) return Error::WriteFailed;
  // Buffered devices report a full disk only when the buffer is written out.
  if (auto* file = qobject_cast<QFileDevice*>(&device)) {
    if (!file->flush() || file->error() != QFileDevice::NoError) return Error::WriteFailed;
  }
  return Error::None;
}

Error saveBmp(const void* block, size_t size, const QString& path) {
  // Checked before anything is created, so a bad frame leaves no file.
  const Error e = plan(block, size, nullptr);
  if (e != Error::None) return e;
  return commitToPath(path, [&](QIODevice& device) { return write(block, size, device); });
}

Error savePng(const void* block, size_t size, const QString& path) {
  std::vector<uint8_t> bytes;
  const Error e = write(block, size, bytes);
  if (e != Error::None) return e;
  QImage image;
  if (!image.loadFromData(bytes.data(), static_cast<int>(std::min<size_t>(bytes.size(), INT32_MAX)), "BMP"))
    return Error::EncodeFailed;
  return commitToPath(path, [&](QIODevice& device) {
    QImageWriter writer(&device, "png");
    if (writer.write(image)) return Error::None;
    return writer.error() == QImageWriter::DeviceError ? Error::WriteFailed : Error::EncodeFailed;
  });
}

const char* describe(Error error, bool chinese) {
  // Both wordings side by side, so a new error cannot get only one of them.
  struct Text {
    const char* english;
    const char* chinese;
  };
  const auto text = [&]() -> Text {
    switch (error) {
      case Error::None: return {"written", "已写入"};
      case Error::NoFrame: return {"there is no frame to save", "没有可保存的图像"};
      case Error::BadHeaderSize:
        return {"the frame header is not a 40-byte bitmap header", "图像头不是40字节的位图头"};
      case Error::BadDimensions: return {"the frame has no valid width and height", "图像的宽度和高度无效"};
      case Error::Unsupported:
        return {"the frame's bit depth or compression cannot be saved", "图像的位深或压缩方式无法保存"};
      case Error::TopDown: return {"the frame's rows are stored top-down", "图像的行是自上而下存放的"};
      case Error::TooLarge: return {"the frame is too large for a BMP file", "图像太大，无法存为BMP文件"};
      case Error::Truncated:
        return {"the frame header describes more data than the frame holds",
                "图像头描述的数据多于图像实际的数据"};
      case Error::CreateFailed: return {"the file could not be created", "无法创建文件"};
      case Error::WriteFailed: return {"the file could not be written completely", "文件未能完整写入"};
      case Error::EncodeFailed: return {"the image could not be encoded", "图像无法编码"};
    }
    return {"unknown error", "未知错误"};
  }();
  return chinese ? text.chinese : text.english;
}

}  // namespace bmp
