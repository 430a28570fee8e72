// config_file_fuzz.cpp - libFuzzer entry point for the configuration file parser.
//
// Not built by default. Build by hand, for example:
//   clang++ -std=c++20 -g -fsanitize=fuzzer,address,undefined -I sim/tyxcamera \
//     sim/tyxcamera/fuzz/config_file_fuzz.cpp sim/tyxcamera/config_file.cpp -o config_file_fuzz
//   ./config_file_fuzz tests/corpus/config_file
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "config_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tyxsim::ParsedConfig config;
  int error = 0;
  const bool ok = tyxsim::parseConfigFile(data, size, &config, &error);
  // A parse either succeeds with no error or fails with the tag error.
  if (ok != (error == 0) || (!ok && error != 114)) std::abort();
  if (ok) {
    // What was accepted must survive a write and a second parse unchanged.
    const std::string again = tyxsim::formatConfigFile(config);
    tyxsim::ParsedConfig second;
    if (!tyxsim::parseConfigFile(reinterpret_cast<const uint8_t*>(again.data()), again.size(),
                                 &second, &error))
      std::abort();
  }
  return 0;
}
