// header_rule_fuzz.cpp - feeds arbitrary board readings to the display-header and timing rules.
//
// Built by tests/fuzz/CMakeLists.txt with imaging/capture_rules.cpp.
// Seeds are in tests/corpus/header_rule/.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <vector>

#include "fuzz_input.h"
#include "imaging/capture_rules.h"

namespace {

using fuzz::take;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  capture::BoardReadings r;
  r.rect.left = take(data, size);
  r.rect.top = take(data, size);
  r.rect.right = take(data, size);
  r.rect.bottom = take(data, size);
  r.capture3 = take(data, size);
  r.capture10 = take(data, size);
  r.convert1 = take(data, size);
  r.convert6 = take(data, size);
  r.video8 = take(data, size);
  const size_t areaSize = static_cast<uint32_t>(take(data, size)) % (capture::kPixelAreaOffset + 1);
  const int32_t lines = take(data, size);
  const int32_t rate = take(data, size);
  const int32_t interlace = take(data, size);

  for (const capture::FrameGeometry& g : {capture::initialGeometry(r), capture::beginGeometry(r)}) {
    // Exactly areaSize bytes, so a header or table written past it is caught.
    std::vector<uint8_t> area(areaSize);
    capture::HeaderInfo info;
    const capture::HeaderError e =
        capture::buildDisplayHeader(area.data(), area.size(), g.width, g.height, g.bits, g.format, &info);
    if (e == capture::HeaderError::None) {
      if (40u + info.tableBytes > area.size() || 40u + info.tableBytes > capture::kPixelAreaOffset)
        std::abort();
      capture::HeaderInfo back;
      if (!capture::readDisplayHeader(area.data(), area.size(), &back)) std::abort();
      if (back.imageBytes != info.imageBytes || back.tableBytes != info.tableBytes) std::abort();
      TyxConvertDesc desc;
      static std::vector<uint8_t> block(capture::kPixelAreaOffset + 4096);
      if (capture::fillDescriptor(&desc, block.data(), block.size(), info)) {
        const uint64_t rows = static_cast<uint64_t>(-desc.height);
        const uint64_t stride = (static_cast<uint64_t>(desc.width) * desc.bitsPerPixel + 31) / 32 * 4;
        const bool reservedClear =
            std::all_of(std::begin(desc.reserved), std::end(desc.reserved), [](uint8_t b) { return b == 0; });
        if (stride * rows > block.size() - capture::kPixelAreaOffset || !reservedClear) std::abort();
      }
    }
  }
  for (capture::Aspect a : {capture::Aspect::FourThree, capture::Aspect::Square}) {
    const capture::TimingPlan p = capture::timingFor(interlace, lines, rate, a);
    if (p.valid && (p.width < 1 || p.height < 1 || p.clockClass < 0 || p.clockClass > 2)) std::abort();
  }
  return 0;
}
