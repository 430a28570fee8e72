// serial_settings.cpp - reader and writer of the serial settings string.

#include "serial_settings.h"

#include <climits>

namespace clser {

namespace {

std::string_view bounded(std::string_view text) {
  text = text.substr(0, kMaxSettingsLength);
  if (auto nul = text.find('\0'); nul != std::string_view::npos) text = text.substr(0, nul);
  return text;
}

// The text after KEY, or nothing when the key is absent.
bool afterKey(std::string_view text, std::string_view key, std::string_view& rest) {
  auto pos = text.find(key);
  if (pos == std::string_view::npos) return false;
  rest = text.substr(pos + key.size());
  return true;
}

bool contains(std::string_view text, std::string_view word) {
  return text.find(word) != std::string_view::npos;
}

}  // namespace

int32_t leadingNumber(std::string_view text) {
  int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    value = value * 10 + (c - '0');
    if (value > INT32_MAX) return INT32_MAX;
  }
  return static_cast<int32_t>(value);
}

int32_t parityCodeOfText(std::string_view text) {
  text = text.substr(0, kMaxLabelLength);
  if (text == "None") return 0;
  if (text == "Odd") return 1;
  if (text == "Even") return 2;
  return 0;
}

SerialSettings parseSerialSettings(std::string_view text) {
  text = bounded(text);
  SerialSettings s;
  std::string_view rest;
  if (afterKey(text, "channel=", rest)) s.channel = leadingNumber(rest);
  if (afterKey(text, "baudrate=", rest)) s.baudRate = leadingNumber(rest);
  if (afterKey(text, "databits=", rest)) s.dataBits = leadingNumber(rest);
  if (afterKey(text, "stopbits=", rest))
    s.stopBitCode = contains(rest, "1.5") ? 1 : contains(rest, "2") ? 2 : 0;
  if (afterKey(text, "parity=", rest))
    s.parityCode = contains(rest, "None") ? 0 : contains(rest, "Odd") ? 1 : contains(rest, "Even") ? 2 : 0;
  return s;
}

std::string formatSerialSettings(std::string_view channel, std::string_view baudRate,
                                 std::string_view dataBits, std::string_view stopBits,
                                 std::string_view parity, std::size_t maxLength) {
  std::string out;
  out.reserve(64);
  out.append("channel=").append(channel);
  out.append(",baudrate=").append(baudRate);
  out.append(",databits=").append(dataBits);
  out.append(",stopbits=").append(stopBits);
  out.append(",parity=").append(parity);
  if (out.size() > maxLength) out.resize(maxLength);
  return out;
}

}  // namespace clser
