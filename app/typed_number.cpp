// typed_number.cpp - the typing rule of every numeric edit.
#include "app/typed_number.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <algorithm>

#include "app/number_text.h"

TypedNumber::TypedNumber(QLineEdit* edit, Judge judge, Act act)
    : QObject(edit), edit_(edit), judge_(std::move(judge)), act_(std::move(act)), settled_(edit->text()) {
  setObjectName(QStringLiteral("typedNumber"));
  connect(edit, &QLineEdit::textChanged, this, [this] { changed(); });
  connect(edit, &QLineEdit::editingFinished, this, [this] { confirm(); });
  edit->installEventFilter(this);
}

TypedNumber* TypedNumber::attach(QLineEdit* edit, Judge judge, Act act) {
  return new TypedNumber(edit, std::move(judge), std::move(act));
}

TypedNumber* TypedNumber::of(QLineEdit* edit) {
  return edit == nullptr
             ? nullptr
             : edit->findChild<TypedNumber*>(QStringLiteral("typedNumber"), Qt::FindDirectChildrenOnly);
}

void TypedNumber::changed() {
  if (restoring_ || !armed_) return;
  // Only the user's own typing marks the edit modified; the program's
  // setText clears the mark, and its changes are taken as they come.
  if (edit_->isModified() && judge_ && judge_(edit_->text()) == Wait) {
    pending_ = true;
    return;
  }
  take();
}

void TypedNumber::confirm() {
  if (pending_) take();
}

void TypedNumber::take() {
  pending_ = false;
  if (!armed_) return;
  act_();
  if (!pending_) settled_ = edit_->text();
}

bool TypedNumber::eventFilter(QObject* watched, QEvent* event) {
  if (watched == edit_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      // Enter confirms the entry. It goes no further: in a dialog it would
      // also press the default button (the main window's Close).
      confirm();
      return true;
    }
    if (key == Qt::Key_Escape && pending_) {
      restoring_ = true;
      edit_->setText(settled_);
      restoring_ = false;
      pending_ = false;
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

bool TypedNumber::leadsTo(const QString& text, int64_t lo, int64_t hi) {
  if (lo > hi) return false;
  QString t = text.trimmed();
  bool negative = false;
  if (t.startsWith(QLatin1Char('-')) || t.startsWith(QLatin1Char('+'))) {
    negative = t.startsWith(QLatin1Char('-'));
    t.remove(0, 1);
  }
  constexpr int64_t kCap = 1'000'000'000'000'000LL;
  int64_t n = 0;
  for (const QChar c : t) {
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    n = std::min(kCap, n * 10 + (c.unicode() - '0'));
  }
  const int64_t reach = std::max(lo < 0 ? -lo : lo, hi < 0 ? -hi : hi);
  // The numbers written as the text followed by j more digits lie in
  // n * 10^j .. n * 10^j + 10^j - 1 (with no digits yet, any number).
  int64_t scale = 1;
  for (int j = 0; j <= 18; ++j) {
    int64_t a = 0;
    int64_t b = 0;
    if (t.isEmpty()) {
      a = 0;
      b = kCap;
    } else {
      a = n > kCap / scale ? kCap : n * scale;
      b = std::min(kCap, a + scale - 1);
    }
    const int64_t from = negative ? -b : a;
    const int64_t to = negative ? -a : b;
    if (from <= hi && to >= lo) return true;
    if (a > reach || t.isEmpty() || n == 0) break;  // no number is written "0" and more digits
    scale *= 10;
  }
  return false;
}

std::optional<int64_t> TypedNumber::intValue(const QString& text) { return numtext::intValue(text); }

bool TypedNumber::leadsTo(const QString& text, int64_t lo, int64_t hi,
                          const std::function<bool(int64_t)>& accepts) {
  const QString t = text.trimmed();
  int64_t n = 0;
  for (const QChar c : t) {
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    n = n * 10 + (c.unicode() - '0');
    if (n > hi) return false;
  }
  if (t.isEmpty()) {
    for (int64_t v = std::max<int64_t>(lo, 0); v <= hi; ++v)
      if (accepts(v)) return true;
    return false;
  }
  // The numbers written as the text followed by j more digits.
  for (int64_t scale = 1; n * scale <= hi; scale *= 10) {
    const int64_t from = std::max(lo, n * scale);
    const int64_t to = std::min(hi, n * scale + scale - 1);
    for (int64_t v = from; v <= to; ++v)
      if (accepts(v)) return true;
    if (n == 0) break;  // "0" followed by digits is not how a number is written
  }
  return false;
}

TypedNumber::Verdict TypedNumber::judge(const QString& text, std::optional<int64_t> value, int64_t lo,
                                        int64_t hi, bool quiet, bool refusalRewrites) {
  if (value && *value >= lo && *value <= hi) {
    return quiet && text == QString::number(*value) ? Take : Wait;
  }
  if (leadsTo(text, lo, hi)) return Wait;
  return refusalRewrites ? Wait : Take;
}
