// number_text.h - the one way the program reads a number out of an edit and shows one in it.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

class QLineEdit;

// Every numeric edit of the program reads its text through these, so that
// "12a", " 12 ", "-0" or a forty-digit number mean the same in every window.
namespace numtext {

// The text as an unsigned decimal: digits only, blanks around them allowed.
// Empty or non-numeric text gives nothing, so the caller writes nothing.
// Huge values saturate instead of wrapping, so that a range check still
// refuses them.
std::optional<uint64_t> unsignedValue(const QString& text);

// The same value limited to what a 32-bit camera argument can carry.
std::optional<int32_t> unsignedValue32(const QString& text);

// A whole number as the platform reads an edit: blanks around it, an
// optional sign, within the range of int. Nothing for anything else.
std::optional<int64_t> intValue(const QString& text);

// A signed decimal read from the start of a text, at most maxChars
// characters of it; reading stops at the first character that is not part
// of the number, and a lone sign counts as 0. A text that does not start
// with a number (empty, or a letter first) gives nothing.
std::optional<int32_t> signedPrefix(const QString& text, int maxChars);

// Shows a number in an edit. The text is only set when it differs, so that
// pushing an unchanged value fires no change signal and leaves the cursor of
// a typing user where it is.
void show(QLineEdit* edit, int64_t value);

// Shows a number in an edit unless the text already reads as that number
// ("012" or " 12" for 12, but not "+12"): the colour page and the control bar
// leave such a text as the user typed it.
void showUnlessReadsAs(QLineEdit* edit, int64_t value);

}  // namespace numtext
