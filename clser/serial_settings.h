// serial_settings.h - the Camera Link serial settings string and the choices
// offered for it.
//
// The text "channel=%s,baudrate=%s,databits=%s,stopbits=%s,parity=%s" is how
// serial settings travel from a settings dialog to clsertyx. This header is
// plain C++ (no Qt, no board library) so that every writer and reader of the
// string shares one implementation.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace clser {

// Longest settings string the reader looks at; anything after it is ignored.
inline constexpr std::size_t kMaxSettingsLength = 255;
// Longest text taken from a parity box or a product label.
inline constexpr std::size_t kMaxLabelLength = 90;

// The values a reader derives from a settings string.
struct SerialSettings {
  int32_t channel = 0;
  int32_t baudRate = 0;
  int32_t dataBits = 0;
  int32_t stopBitCode = 0;  // 0 one, 1 one and a half, 2 two
  int32_t parityCode = 0;   // 0 none, 1 odd, 2 even
  bool operator==(const SerialSettings&) const = default;
};

// Reads a settings string. Keys are found anywhere in the text; a missing key
// gives 0. Stop bits and parity look from their key to the end of the text,
// so only fields without "1.5", "2", "None", "Odd" or "Even" may follow them.
// Only the first kMaxSettingsLength characters (up to a NUL) are read.
SerialSettings parseSerialSettings(std::string_view text);

// Writes the settings string from the five box texts, cut to maxLength.
std::string formatSerialSettings(std::string_view channel, std::string_view baudRate,
                                 std::string_view dataBits, std::string_view stopBits,
                                 std::string_view parity, std::size_t maxLength = kMaxSettingsLength);

// The decimal number at the start of text; 0 when it does not start with a
// digit. Saturates at INT32_MAX instead of wrapping into negative values,
// which the board library would take as commands.
int32_t leadingNumber(std::string_view text);

// Parity code of a box text: exactly "None" 0, "Odd" 1, "Even" 2, else 0.
// The text is cut to kMaxLabelLength characters first.
int32_t parityCodeOfText(std::string_view text);

// The choices of a serial settings dialog, in order, and what it shows first.
// "76200" is the rate the boards' dialogs have always offered; it is kept.
inline constexpr std::array<std::string_view, 2> kChannelChoices{"0", "1"};
inline constexpr std::array<std::string_view, 14> kBaudRateChoices{
    "600",  "1200",  "1800",  "2400",  "3600",  "4800",  "7200",
    "9600", "14400", "19200", "28800", "38400", "57600", "76200"};
inline constexpr std::array<std::string_view, 2> kDataBitsChoices{"8", "9"};
inline constexpr std::array<std::string_view, 3> kStopBitsChoices{"1", "1.5", "2"};
inline constexpr std::array<std::string_view, 3> kParityChoices{"None", "Odd", "Even"};

inline constexpr std::string_view kDefaultChannel = "0";
inline constexpr std::string_view kDefaultBaudRate = "9600";
inline constexpr std::string_view kDefaultDataBits = "8";
inline constexpr std::string_view kDefaultStopBits = "1";
inline constexpr std::string_view kDefaultParity = "None";

}  // namespace clser
