// param_number.h - reading and showing the numbers of the mode and parameter page edits.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

class QLineEdit;

namespace paramnumber {

// An edit's text as an unsigned decimal: digits only, blanks around them
// allowed. Empty or non-numeric text gives nothing, so the caller writes
// nothing. Huge values saturate instead of wrapping, so that a range check
// still refuses them.
std::optional<uint64_t> unsignedValue(const QString& text);

// The same value limited to what a 32-bit camera argument can carry.
std::optional<int32_t> unsignedValue32(const QString& text);

// Shows a number in an edit. The text is only set when it differs, so that
// pushing an unchanged value fires no change signal and leaves the cursor of
// a typing user where it is.
void setNumber(QLineEdit* edit, int64_t value);

}  // namespace paramnumber
