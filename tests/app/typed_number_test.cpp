// typed_number_test.cpp - the typing rule shared by the numeric edits.
#include <gtest/gtest.h>

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <memory>
#include <vector>

#include "app/typed_number.h"

struct LeadsCase {
  const char* text;
  int64_t lo, hi;
  bool leads;
};

class TypedNumberLeads : public ::testing::TestWithParam<LeadsCase> {};

TEST_P(TypedNumberLeads, BeginningOfANumberInTheRange) {
  const LeadsCase& c = GetParam();
  EXPECT_EQ(TypedNumber::leadsTo(QString::fromLatin1(c.text), c.lo, c.hi), c.leads)
      << c.text << " in " << c.lo << ".." << c.hi;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TypedNumberLeads,
    ::testing::Values(LeadsCase{"", 0, 255, true}, LeadsCase{"", 5, 4, false},  // empty range
                      LeadsCase{"1", 0, 255, true}, LeadsCase{"25", 0, 255, true},
                      LeadsCase{"256", 0, 255, false}, LeadsCase{"3", 108, 400, true},
                      LeadsCase{"5", 108, 400, false},  // 5, 50..59, 500..599: none in range
                      LeadsCase{"4", 196, 1023, true}, LeadsCase{"0", 1, 1023, false},
                      LeadsCase{"-", -128, 127, true}, LeadsCase{"-12", -128, 127, true},
                      LeadsCase{"-129", -128, 127, false}, LeadsCase{"-", 0, 255, true},
                      LeadsCase{"-4", 0, 255, false}, LeadsCase{"x", 0, 255, false},
                      LeadsCase{" 12 ", 0, 255, true}, LeadsCase{"99999999999999999999", 0, 255, false}));

TEST(TypedNumberLeadsTo, WithRulesOfTheirOwn) {
  const auto even = [](int64_t v) { return v % 2 == 0; };
  EXPECT_TRUE(TypedNumber::leadsTo("1", 0, 100, even));  // 10, 12, ...
  EXPECT_FALSE(TypedNumber::leadsTo("9", 0, 9, even));
  EXPECT_TRUE(TypedNumber::leadsTo("", 1, 3, even));
  EXPECT_FALSE(TypedNumber::leadsTo("7", 0, 65535, [](int64_t v) { return v >= 6000 && v < 7000; }));
  EXPECT_TRUE(TypedNumber::leadsTo("6", 0, 65535, [](int64_t v) { return v >= 6000 && v < 7000; }));
  EXPECT_FALSE(TypedNumber::leadsTo("-1", -5, 5, even)) << "digits only";
}

struct JudgeCase {
  const char* text;
  bool quiet;
  bool refusalRewrites;
  TypedNumber::Verdict verdict;
};

class TypedNumberJudge : public ::testing::TestWithParam<JudgeCase> {};

TEST_P(TypedNumberJudge, ForTheRange0To255) {
  const JudgeCase& c = GetParam();
  const QString text = QString::fromLatin1(c.text);
  EXPECT_EQ(TypedNumber::judge(text, TypedNumber::intValue(text), 0, 255, c.quiet, c.refusalRewrites),
            c.verdict)
      << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TypedNumberJudge,
    ::testing::Values(JudgeCase{"12", true, false, TypedNumber::Take},   // a complete quiet value
                      JudgeCase{"12", false, false, TypedNumber::Wait},  // it would change more
                      JudgeCase{"012", true, false, TypedNumber::Wait},  // would be shown as 12
                      JudgeCase{"", true, false, TypedNumber::Wait},     // nothing typed yet
                      JudgeCase{"256", true, false, TypedNumber::Take},  // the page refuses it now
                      JudgeCase{"256", true, true, TypedNumber::Wait},   // ... by replacing the text
                      JudgeCase{"abc", true, false, TypedNumber::Take}));

// An edit whose page takes every value 0..255 as it comes, and replaces
// odd ones by the even one below (as a rounding page does).
class TypedNumberEdit : public ::testing::Test {
 protected:
  void SetUp() override {
    window = std::make_unique<QDialog>();
    auto* layout = new QVBoxLayout(window.get());
    edit = new QLineEdit(window.get());
    other = new QLineEdit(window.get());
    layout->addWidget(edit);
    layout->addWidget(other);
    edit->setText("40");
    TypedNumber::attach(
        edit,
        [](const QString& t) {
          const auto v = TypedNumber::intValue(t);
          return TypedNumber::judge(t, v, 0, 255, v && *v % 2 == 0);
        },
        [this] {
          // Like a page, it does not act on the text it sets itself.
          if (busy) return;
          const auto v = TypedNumber::intValue(edit->text());
          if (!v || *v > 255) return;
          taken.push_back(*v - *v % 2);
          busy = true;
          if (*v % 2 != 0) edit->setText(QString::number(*v - *v % 2));
          busy = false;
        });
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    // Focus moves (and leaving the edit) reach only the active window.
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    edit->setFocus();
    taken.clear();
  }
  void typeNew(const QString& text) {
    edit->selectAll();
    QTest::keyClicks(edit, text);
  }

  // Declared first, so it outlives the window (whose closing moves the
  // focus out of the edit).
  std::vector<int64_t> taken;
  bool busy = false;
  std::unique_ptr<QWidget> window;
  QLineEdit* edit = nullptr;
  QLineEdit* other = nullptr;
};

TEST_F(TypedNumberEdit, CompleteQuietValuesAreTakenAtOnceOthersWait) {
  typeNew("103");  // 1 and 103 would be replaced; 10 is taken
  EXPECT_EQ(taken, (std::vector<int64_t>{10}));
  EXPECT_EQ(edit->text(), "103");
  EXPECT_TRUE(TypedNumber::of(edit)->pending());
}

TEST_F(TypedNumberEdit, EnterConfirmsTheWaitingEntryOnce) {
  typeNew("13");
  EXPECT_TRUE(taken.empty());
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_EQ(taken, (std::vector<int64_t>{12}));
  EXPECT_EQ(edit->text(), "12");
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_EQ(taken.size(), 1u) << "nothing waits any more";
}

TEST_F(TypedNumberEdit, LeavingTheEditConfirms) {
  typeNew("7");
  EXPECT_TRUE(taken.empty());
  other->setFocus();
  EXPECT_EQ(taken, (std::vector<int64_t>{6}));
  EXPECT_EQ(edit->text(), "6");
}

TEST_F(TypedNumberEdit, EscapeGivesBackTheTextAndTakesNothing) {
  typeNew("13");
  QTest::keyClick(edit, Qt::Key_Escape);
  EXPECT_EQ(edit->text(), "40");
  EXPECT_FALSE(TypedNumber::of(edit)->pending());
  other->setFocus();
  EXPECT_TRUE(taken.empty());
}

TEST_F(TypedNumberEdit, ARefusedNumberIsHandedOverAtOnce) {
  typeNew("300");  // 3 waits, 30 is taken, 300 cannot become a value
  EXPECT_EQ(taken, (std::vector<int64_t>{30}));
  EXPECT_FALSE(TypedNumber::of(edit)->pending());
}

TEST_F(TypedNumberEdit, TheProgramsOwnChangesAreTakenAtOnce) {
  edit->setText("13");
  EXPECT_EQ(taken, (std::vector<int64_t>{12}));
  EXPECT_EQ(edit->text(), "12");
}

TEST_F(TypedNumberEdit, EnterGoesNoFurtherThanTheEdit) {
  // In a dialog Enter would also press the default button.
  auto* button = new QPushButton("Close", window.get());
  button->setDefault(true);
  bool pressed = false;
  QObject::connect(button, &QPushButton::clicked, [&pressed] { pressed = true; });
  edit->setFocus();
  typeNew("8");
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_FALSE(pressed);
}
