// bmp_writer.h - writes a frame block (packed device-independent bitmap) as a BMP file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class QIODevice;
class QString;

namespace bmp {

enum class Error {
  None,
  NoFrame,         // no block, or an empty one
  BadHeaderSize,   // the first 32-bit field is not 40, or the block is shorter than 40 bytes
  BadDimensions,   // width or height not positive
  Unsupported,     // a bit depth or compression a BMP file cannot hold as given
  TopDown,         // negative height: the rows are not in the order a BMP file has
  TooLarge,        // the sizes overflow the 32-bit fields of the file
  Truncated,       // the colour table or the pixels would lie past the end of the block
  CreateFailed,    // the file could not be created
  WriteFailed,     // a write failed part-way (disk full, device error)
  EncodeFailed,    // the image could not be encoded (PNG)
};

// Where the parts of a valid frame lie, as the file will hold them.
struct Layout {
  uint32_t colourCount = 0;  // entries of the colour table
  uint32_t tableBytes = 0;   // colour table, or the three bit-field masks
  uint32_t imageBytes = 0;   // pixel rows, as written and stored in the header
  uint32_t pixelOffset = 0;  // 14 + 40 + tableBytes
  uint32_t fileSize = 0;     // 14 + 40 + tableBytes + imageBytes
};

// Checks a frame block and computes its layout without writing anything.
Error plan(const void* block, size_t size, Layout* layout);

// Writes the BMP file of a frame block: the 14-byte file header, then the
// 40-byte header (with the image size it was written with), the colour table
// and the pixels as they lie in the block. Nothing is written for an error
// found by plan(); a device error part-way is reported as WriteFailed.
Error write(const void* block, size_t size, std::vector<uint8_t>& out);
Error write(const void* block, size_t size, QIODevice& device);

// Saves to a file: the frame is checked first, so a bad frame leaves no
// file behind; the data go to a temporary file beside the target that is
// renamed over it only when every byte was written, so a failed write leaves
// neither a partial file nor a damaged earlier one. An existing target that
// is not a regular file (a device) is written in place.
Error saveBmp(const void* block, size_t size, const QString& path);
// The same frame encoded as PNG.
Error savePng(const void* block, size_t size, const QString& path);

// A short description of an error for messages and logs, in English or in
// Chinese (UTF-8).
const char* describe(Error error, bool chinese = false);

}  // namespace bmp
