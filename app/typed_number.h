// typed_number.h - the typing rule of every numeric edit: a half-typed number is not a value.
#pragma once

#include <QObject>
#include <QString>
#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>

class QLineEdit;

// The pages act on the text of their numeric edits: a value is written,
// corrected, refused with a message. Acting on every keystroke would send
// the camera numbers the user never meant (the "1" of "103"), or rewrite the
// text under the user's fingers. So, while the user types, the page is asked
// first (the judge) whether taking the text now is safe:
//   - the text is a complete value the page accepts, and taking it changes
//     only this value and leaves the text as typed: taken at once (one write
//     per such keystroke);
//   - the text is the beginning of some value the page accepts, or taking it
//     would correct or replace the text, or change another value: the page
//     waits, and shows, writes and warns nothing;
//   - anything else (a number no further typing can make valid): taken at
//     once, so the page's own rules for it apply (a message, or nothing).
// A waiting entry is taken when the user confirms it: Enter, Tab or leaving
// the edit; then the page's rules apply in full. Escape gives the edit back
// the text it had before the waiting entry, writing nothing.
// Changes the program makes to the text itself (a repaint, a scroll bar
// showing its value) are always taken at once, as before.
class TypedNumber : public QObject {
  Q_OBJECT
 public:
  enum Verdict { Take, Wait };
  using Judge = std::function<Verdict(const QString& text)>;
  using Act = std::function<void()>;

  // Makes `act` the edit's change handler under the typing rule; the helper
  // belongs to the edit.
  static TypedNumber* attach(QLineEdit* edit, Judge judge, Act act);
  // The helper attached to an edit, if any.
  static TypedNumber* of(QLineEdit* edit);

  // True while a typed entry waits for the user to confirm it.
  bool pending() const { return pending_; }
  // From now on nothing is taken: the page that acts on the edit is being
  // destroyed (its closing window still moves the focus out of the edit).
  void disarm() {
    armed_ = false;
    pending_ = false;
  }

  // Whether `text` (blanks around it allowed, digits with an optional sign)
  // is the beginning of the decimal form of some whole number in lo..hi.
  static bool leadsTo(const QString& text, int64_t lo, int64_t hi);
  // Whether `text` (digits only) is the beginning of some number in lo..hi
  // that `accepts`; for small ranges, where the accepted values follow
  // rules of their own.
  static bool leadsTo(const QString& text, int64_t lo, int64_t hi,
                      const std::function<bool(int64_t)>& accepts);
  // The verdict for the common case: the page accepts the values lo..hi,
  // and `quiet` says whether taking `value` changes nothing but this value.
  // A value is taken only when the text is its plain decimal form (the page
  // shows it that way); anything that can still become such a value waits;
  // refusing a value that can't is left to the page's rules, which either
  // leave the text alone (`refusalRewrites` false) or replace it.
  static Verdict judge(const QString& text, std::optional<int64_t> value, int64_t lo, int64_t hi,
                       bool quiet = true, bool refusalRewrites = false);

  // A whole number as the platform reads an edit (blanks around it, an
  // optional sign), or nothing.
  static std::optional<int64_t> intValue(const QString& text);
  // An unsigned reading of an edit as the signed value judge() takes.
  static std::optional<int64_t> value(std::optional<uint64_t> v) {
    return v ? std::optional<int64_t>(static_cast<int64_t>(std::min<uint64_t>(*v, INT64_MAX))) : std::nullopt;
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  TypedNumber(QLineEdit* edit, Judge judge, Act act);
  void changed();
  void confirm();
  void take();

  QLineEdit* edit_;
  Judge judge_;
  Act act_;
  bool pending_ = false;
  bool restoring_ = false;
  bool armed_ = true;
  // The text before the waiting entry began, for Escape.
  QString settled_;
};
