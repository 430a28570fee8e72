// number_text.cpp - the one way the program reads a number out of an edit and shows one in it.
#include "app/number_text.h"

#include <QLineEdit>
#include <algorithm>

namespace numtext {

namespace {
// Far above every range of the edits, and far below overflow.
constexpr uint64_t kSaturated = 1'000'000'000'000ULL;
}  // namespace

std::optional<uint64_t> unsignedValue(const QString& text) {
  const QString t = text.trimmed();
  if (t.isEmpty()) return std::nullopt;
  uint64_t value = 0;
  for (const QChar c : t) {
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return std::nullopt;
    value = std::min(kSaturated, value * 10 + static_cast<uint64_t>(c.unicode() - '0'));
  }
  return value;
}

std::optional<int32_t> unsignedValue32(const QString& text) {
  const auto v = unsignedValue(text);
  if (!v) return std::nullopt;
  return static_cast<int32_t>(std::min<uint64_t>(*v, INT32_MAX));
}

std::optional<int64_t> intValue(const QString& text) {
  bool ok = false;
  const int v = text.trimmed().toInt(&ok);
  return ok ? std::optional<int64_t>(v) : std::nullopt;
}

std::optional<int32_t> signedPrefix(const QString& text, int maxChars) {
  const QString t = text.left(maxChars);
  int i = 0;
  while (i < t.size() && t[i].isSpace()) ++i;
  bool negative = false;
  bool sign = false;
  if (i < t.size() && (t[i] == QLatin1Char('-') || t[i] == QLatin1Char('+'))) {
    negative = t[i] == QLatin1Char('-');
    sign = true;
    ++i;
  }
  int64_t value = 0;
  int digits = 0;
  // At most maxChars digits, so the value cannot overflow for the short
  // prefixes the pages read.
  while (i < t.size() && t[i] >= QLatin1Char('0') && t[i] <= QLatin1Char('9')) {
    value = value * 10 + (t[i].unicode() - '0');
    ++digits;
    ++i;
  }
  if (digits == 0 && !sign) return std::nullopt;
  return static_cast<int32_t>(negative ? -value : value);
}

void show(QLineEdit* edit, int64_t value) {
  if (edit == nullptr) return;
  const QString text = QString::number(value);
  if (edit->text() != text) edit->setText(text);
}

void showUnlessReadsAs(QLineEdit* edit, int64_t value) {
  if (edit == nullptr) return;
  bool ok = false;
  const qlonglong shown = edit->text().trimmed().toLongLong(&ok);
  if (ok && shown == value && !edit->text().trimmed().startsWith(QLatin1Char('+'))) return;
  edit->setText(QString::number(value));
}

}  // namespace numtext
