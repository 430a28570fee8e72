// fuzz_input.h - reading a fuzzer's bytes as values, and failing on a broken rule.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace fuzz {

// The next 32-bit value of the input, little-endian; short inputs give
// their remaining bytes and then zeros, so every input is usable.
inline int32_t take(const uint8_t*& data, size_t& size) {
  int32_t v = 0;
  const size_t n = size < 4 ? size : 4;
  std::memcpy(&v, data, n);
  data += n;
  size -= n;
  return v;
}

// A rule the code under test must keep; a broken one is a finding.
inline void check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace fuzz
