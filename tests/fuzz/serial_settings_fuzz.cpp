// serial_settings_fuzz.cpp - the serial settings reader and writer on any text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "clser/serial_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const clser::SerialSettings parsed = clser::parseSerialSettings(text);
  (void)parsed;
  clser::parityCodeOfText(text);
  clser::leadingNumber(text);
  // Five box texts cut from the input; the written string must stay within
  // its limit and read back without trouble.
  const size_t fifth = size / 5;
  auto part = [&](size_t i) { return text.substr(i * fifth, fifth); };
  const std::string written = clser::formatSerialSettings(part(0), part(1), part(2), part(3), part(4));
  if (written.size() > clser::kMaxSettingsLength) __builtin_trap();
  clser::parseSerialSettings(written);
  return 0;
}
