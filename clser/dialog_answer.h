// dialog_answer.h - what the "Select a serial device" dialog hands back to
// clsertyx, and how it travels from the dialog program to the library.
//
// On Linux the dialog runs in a program of its own so that no GUI toolkit is
// mapped into the host. The program writes its answer to its standard output:
// a header line, then the five box texts, each ended by a NUL byte. The
// library treats the answer as data from another process: anything that is
// not exactly that shape is refused as a whole.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace clser {

// The texts of the five setting boxes when the dialog ends.
struct DialogSelection {
  std::string channel;
  std::string baudRate;
  std::string dataBits;
  std::string stopBits;
  std::string parity;
  bool operator==(const DialogSelection&) const = default;
};

// What the dialog shows when it opens; applied whenever no answer arrives.
DialogSelection shownDefaults();

// First line of every answer; a new layout gets a new number.
inline constexpr std::string_view kDialogAnswerHeader = "clsertyx-select 1\n";
// Longest text taken from a box. The library reads the number at the start of
// a box and compares the parity with short words, so nothing is lost.
inline constexpr std::size_t kMaxAnswerField = 90;
inline constexpr std::size_t kMaxDialogAnswer = kDialogAnswerHeader.size() + 5 * (kMaxAnswerField + 1);

// The answer for a selection; each text is cut to kMaxAnswerField bytes and
// at its first NUL.
std::string encodeDialogAnswer(const DialogSelection& selection);

// The selection in an answer, or nothing when the answer is short, long,
// has too few or too many fields, a field that is too long, or a wrong header.
std::optional<DialogSelection> decodeDialogAnswer(std::string_view answer);

}  // namespace clser
