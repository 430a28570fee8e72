// glyph_check.cpp - laying texts out as Qt draws them and looking for .notdef.
#include "selfcheck/glyph_check.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGlyphRun>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTabBar>
#include <QTextLayout>
#include <QWidget>

namespace {

// Whether Qt draws c with a real glyph in font: the text layout applies the
// same font fallback as painting, and a character no font covers ends up
// as glyph 0, the box.
bool drawable(char32_t c, const QFont& font) {
  const QString text = QString::fromUcs4(&c, 1);
  QTextLayout layout(text, font);
  layout.beginLayout();
  QTextLine line = layout.createLine();
  if (line.isValid()) line.setLineWidth(1.0e6);
  layout.endLayout();
  const QList<QGlyphRun> runs = layout.glyphRuns();
  if (runs.isEmpty()) return false;
  for (const QGlyphRun& run : runs)
    for (quint32 glyph : run.glyphIndexes())
      if (glyph == 0) return false;
  return true;
}

class Checker {
 public:
  void check(const QString& text, const QWidget* widget) {
    if (text.isEmpty()) return;
    const QFont& font = widget->font();
    const QString key = font.key();
    for (char32_t c : text.toUcs4()) {
      // Plain ASCII is in every font; spaces and control characters draw
      // nothing anyway.
      if (c < 0x80 || QChar::isSpace(c) || QChar::category(c) == QChar::Other_Control ||
          QChar::category(c) == QChar::Other_Format)
        continue;
      const QString cacheKey = key + QLatin1Char('|') + QString::number(c);
      auto known = cache_.constFind(cacheKey);
      const bool ok = known != cache_.constEnd() ? *known : *cache_.insert(cacheKey, drawable(c, font));
      if (!ok) missing_.push_back({c, text, font.family()});
    }
  }
  std::vector<MissingGlyph> take() { return std::move(missing_); }

 private:
  QHash<QString, bool> cache_;
  std::vector<MissingGlyph> missing_;
};

}  // namespace

std::vector<MissingGlyph> missingGlyphs(const QWidget* root) {
  Checker checker;
  if (root == nullptr) return {};
  checker.check(root->windowTitle(), root);
  QList<const QWidget*> widgets{root};
  for (const QWidget* w : root->findChildren<QWidget*>()) widgets.push_back(w);
  for (const QWidget* w : widgets) {
    if (w != root && !w->isVisibleTo(root)) continue;
    if (auto* label = qobject_cast<const QLabel*>(w))
      checker.check(label->text(), w);
    else if (auto* button = qobject_cast<const QAbstractButton*>(w))
      checker.check(button->text(), w);
    else if (auto* group = qobject_cast<const QGroupBox*>(w))
      checker.check(group->title(), w);
    else if (auto* edit = qobject_cast<const QLineEdit*>(w))
      checker.check(edit->text(), w);
    else if (auto* combo = qobject_cast<const QComboBox*>(w)) {
      for (int i = 0; i < combo->count(); ++i) checker.check(combo->itemText(i), w);
    } else if (auto* list = qobject_cast<const QListWidget*>(w)) {
      for (int i = 0; i < list->count(); ++i) checker.check(list->item(i)->text(), w);
    } else if (auto* tabs = qobject_cast<const QTabBar*>(w)) {
      for (int i = 0; i < tabs->count(); ++i) checker.check(tabs->tabText(i), w);
    }
  }
  return checker.take();
}
