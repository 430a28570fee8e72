// dialog_answer.cpp - encoding and checking of the dialog program's answer.

#include "dialog_answer.h"

#include <array>

#include "serial_settings.h"

namespace clser {

namespace {

std::string_view cutField(std::string_view text) {
  if (auto nul = text.find('\0'); nul != std::string_view::npos) text = text.substr(0, nul);
  return text.substr(0, kMaxAnswerField);
}

}  // namespace

DialogSelection shownDefaults() {
  return {std::string(kDefaultChannel), std::string(kDefaultBaudRate), std::string(kDefaultDataBits),
          std::string(kDefaultStopBits), std::string(kDefaultParity)};
}

std::string encodeDialogAnswer(const DialogSelection& s) {
  std::string out(kDialogAnswerHeader);
  for (const std::string* field : {&s.channel, &s.baudRate, &s.dataBits, &s.stopBits, &s.parity}) {
    out.append(cutField(*field));
    out.push_back('\0');
  }
  return out;
}

std::optional<DialogSelection> decodeDialogAnswer(std::string_view answer) {
  if (answer.size() > kMaxDialogAnswer || answer.substr(0, kDialogAnswerHeader.size()) != kDialogAnswerHeader)
    return std::nullopt;
  answer.remove_prefix(kDialogAnswerHeader.size());
  std::array<std::string, 5> fields;
  for (std::string& field : fields) {
    const auto nul = answer.find('\0');
    if (nul == std::string_view::npos || nul > kMaxAnswerField) return std::nullopt;
    field.assign(answer.substr(0, nul));
    answer.remove_prefix(nul + 1);
  }
  if (!answer.empty()) return std::nullopt;
  return DialogSelection{fields[0], fields[1], fields[2], fields[3], fields[4]};
}

}  // namespace clser
