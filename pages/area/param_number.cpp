// param_number.cpp - reading and showing the numbers of the mode and parameter page edits.
#include "pages/area/param_number.h"

#include <QLineEdit>
#include <algorithm>

namespace paramnumber {

namespace {
// Far above every range of these edits and far below overflow.
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

void setNumber(QLineEdit* edit, int64_t value) {
  if (edit == nullptr) return;
  const QString text = QString::number(value);
  if (edit->text() != text) edit->setText(text);
}

}  // namespace paramnumber
