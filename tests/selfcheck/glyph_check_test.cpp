// glyph_check_test.cpp - texts that would show as boxes are found, drawable ones are not.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

#include "selfcheck/glyph_check.h"

namespace {

// U+10FFFD is a private-use character of the last plane: no font has it.
const char32_t kNoFont = 0x10FFFD;
QString withNoFont(const QString& before) { return before + QString::fromUcs4(&kNoFont, 1); }

struct Case {
  const char* name;
  QString text;
  bool hidden;
  std::vector<char32_t> missing;
};

QWidget* shownWidget(const Case& c, QWidget* parent, int index) {
  // Each case puts its text in a different kind of control, so every kind
  // the check reads is exercised.
  switch (index % 4) {
    case 0: return new QLabel(c.text, parent);
    case 1: return new QPushButton(c.text, parent);
    case 2: return new QGroupBox(c.text, parent);
    default: {
      auto* combo = new QComboBox(parent);
      combo->addItems({"first", c.text});
      return combo;
    }
  }
}

}  // namespace

TEST(GlyphCheck, FindsOnlyCharactersNoFontDraws) {
  const std::vector<Case> cases = {
      {"English text", "Mode", false, {}},
      // The build machine has a CJK font (setup installs it), as the package
      // depends on one: Chinese labels on an English page are drawn.
      {"Chinese label on an English page", QString::fromUtf8("边沿触发 Edge"), false, {}},
      {"Latin-1 and symbols", QString::fromUtf8("50 µs ±1°"), false, {}},
      {"a character no font has", withNoFont("Gain "), false, {kNoFont}},
      {"a hidden control does not count", withNoFont("hidden "), true, {}},
  };
  for (size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(c.name);
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    QWidget* control = shownWidget(c, &window, static_cast<int>(i));
    layout->addWidget(control);
    if (c.hidden) control->hide();
    const std::vector<MissingGlyph> missing = missingGlyphs(&window);
    ASSERT_EQ(missing.size(), c.missing.size());
    for (size_t k = 0; k < missing.size(); ++k) {
      EXPECT_EQ(missing[k].code, c.missing[k]);
      EXPECT_EQ(missing[k].text, c.text);
      EXPECT_FALSE(missing[k].family.isEmpty());
    }
  }
}

TEST(GlyphCheck, ReadsTheWindowTitleAndEveryComboItem) {
  QWidget window;
  window.setWindowTitle(withNoFont("Vistrel "));
  auto* combo = new QComboBox(&window);
  combo->addItems({"one", withNoFont("two "), withNoFont("three ")});
  const std::vector<MissingGlyph> missing = missingGlyphs(&window);
  ASSERT_EQ(missing.size(), 3u);
  EXPECT_EQ(missing[0].text, withNoFont("Vistrel "));
  EXPECT_EQ(missing[2].text, withNoFont("three "));
}
