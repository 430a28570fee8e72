// bmp_writer_fuzz.cpp - feeds arbitrary frame blocks to the BMP writer.
//
// Built by tests/fuzz/CMakeLists.txt with imaging/bmp_writer.cpp and Qt.
// Seeds are in tests/corpus/bmp_writer/.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "imaging/bmp_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A copy of exactly the input's size, so any read past the block is caught.
  std::vector<uint8_t> block(data, data + size);
  const uint8_t* p = block.empty() ? nullptr : block.data();

  bmp::Layout layout;
  const bmp::Error planned = bmp::plan(p, size, &layout);
  std::vector<uint8_t> out;
  const bmp::Error written = bmp::write(p, size, out);
  if (planned != written) std::abort();
  if (written == bmp::Error::None) {
    if (out.size() != layout.fileSize || layout.fileSize != 54u + layout.tableBytes + layout.imageBytes)
      std::abort();
    if (std::memcmp(out.data() + 54, p + 40, out.size() - 54) != 0) std::abort();
  } else if (!out.empty()) {
    std::abort();  // a refused frame writes nothing
  }
  return 0;
}
