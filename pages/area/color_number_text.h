// color_number_text.h - reading and writing the numbers of the colour page and the control bar edits.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

class QLineEdit;

namespace colortext {

// The value of an edit read as an unsigned decimal number: digits only,
// surrounding blanks allowed. An empty or non-numeric text gives nothing, so
// the caller writes nothing. Values too large for the camera are kept large
// (saturated), never wrapped, so that a range check still refuses them.
std::optional<uint64_t> unsignedValue(const QString& text);

// A signed decimal read from the start of a text, at most maxChars
// characters of it; reading stops at the first character that is not part
// of the number, and a lone sign counts as 0. A text that does not start
// with a number (empty, or a letter first) gives nothing.
std::optional<int32_t> signedPrefix(const QString& text, int maxChars);

// Shows a number in an edit, leaving the text (and a typing user's cursor)
// alone when it already reads as that number.
void setNumber(QLineEdit* edit, int64_t value);

}  // namespace colortext
