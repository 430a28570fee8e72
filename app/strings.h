// strings.h - the string table and the language choice.
#pragma once

#include <QString>
#include <cstdint>

namespace strings {

// The language flag: 2 for a Simplified Chinese system language, 9 for
// English, otherwise 0. The primary and sub-language follow the Windows
// numbering (Chinese 4 / Simplified 2, English 9).
int32_t languageFlagFor(int primaryLanguage, int subLanguage);
// The flag for a locale name such as "zh_CN.UTF-8", "en_US" or "de_DE".
int32_t languageFlagForLocale(const QString& localeName);
// The flag of the running system (LC_ALL, LC_MESSAGES, LANG, then Qt's locale).
int32_t systemLanguageFlag();

// The string-table entry for a last-error code; empty when there is none.
QString errorText(int32_t code, bool chinese);
// The text shown for a failed camera call: the entry, or "error %d" for a
// code the table does not know, so a failure never shows an empty box.
QString cameraErrorMessage(int32_t code, bool chinese);

// Entry 101, the about item.
QString aboutItem(bool chinese);

}  // namespace strings
