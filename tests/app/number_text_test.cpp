// number_text_test.cpp - reading numbers out of edit texts and showing them, for every window alike.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QSignalSpy>
#include <cstdint>
#include <optional>

#include "app/number_text.h"

struct UnsignedCase {
  const char* text;
  std::optional<uint64_t> value;
};

class NumberTextUnsigned : public ::testing::TestWithParam<UnsignedCase> {};

TEST_P(NumberTextUnsigned, DigitsOnlyWithBlanksAround) {
  const UnsignedCase& c = GetParam();
  EXPECT_EQ(numtext::unsignedValue(QString::fromLatin1(c.text)), c.value) << c.text;
}

INSTANTIATE_TEST_SUITE_P(Cases, NumberTextUnsigned,
                         ::testing::Values(UnsignedCase{"12", 12}, UnsignedCase{" 12 ", 12},
                                           UnsignedCase{"007", 7}, UnsignedCase{"", std::nullopt},
                                           UnsignedCase{"   ", std::nullopt}, UnsignedCase{"12a", std::nullopt},
                                           UnsignedCase{"1 2", std::nullopt}, UnsignedCase{"-3", std::nullopt},
                                           UnsignedCase{"+3", std::nullopt},
                                           // Saturated, never wrapped: a range check still refuses it.
                                           UnsignedCase{"99999999999999999999999", 1'000'000'000'000ULL}));

TEST(NumberText, ThirtyTwoBitReadingSaturatesAtTheLargestArgument) {
  EXPECT_EQ(numtext::unsignedValue32("4294967296"), INT32_MAX);
  EXPECT_EQ(numtext::unsignedValue32("255"), 255);
  EXPECT_EQ(numtext::unsignedValue32("x"), std::nullopt);
}

TEST(NumberText, WholeNumberAsThePlatformReadsIt) {
  EXPECT_EQ(numtext::intValue(" -12 "), -12);
  EXPECT_EQ(numtext::intValue("+7"), 7);
  EXPECT_EQ(numtext::intValue("1.5"), std::nullopt);
  EXPECT_EQ(numtext::intValue(""), std::nullopt);
  // Beyond int: not a number the platform's edits give.
  EXPECT_EQ(numtext::intValue("99999999999"), std::nullopt);
}

struct PrefixCase {
  const char* text;
  int maxChars;
  std::optional<int32_t> value;
};

class NumberTextPrefix : public ::testing::TestWithParam<PrefixCase> {};

TEST_P(NumberTextPrefix, SignedNumberAtTheStart) {
  const PrefixCase& c = GetParam();
  EXPECT_EQ(numtext::signedPrefix(QString::fromLatin1(c.text), c.maxChars), c.value) << c.text;
}

INSTANTIATE_TEST_SUITE_P(Cases, NumberTextPrefix,
                         ::testing::Values(PrefixCase{"12ab", 7, 12}, PrefixCase{"  -34x", 7, -34},
                                           PrefixCase{"-", 7, 0}, PrefixCase{"+", 7, 0},
                                           PrefixCase{"abc", 7, std::nullopt}, PrefixCase{"", 7, std::nullopt},
                                           PrefixCase{"12345678", 3, 123}, PrefixCase{"-128", 7, -128}));

struct ShowCase {
  const char* before;
  int64_t value;
  const char* plain;        // after show()
  const char* keepingText;  // after showUnlessReadsAs()
};

class NumberTextShow : public ::testing::TestWithParam<ShowCase> {};

TEST_P(NumberTextShow, SetsTheTextOnlyWhenItMustChange) {
  const ShowCase& c = GetParam();
  for (bool keeping : {false, true}) {
    QLineEdit edit(QString::fromLatin1(c.before));
    QSignalSpy changes(&edit, &QLineEdit::textChanged);
    if (keeping)
      numtext::showUnlessReadsAs(&edit, c.value);
    else
      numtext::show(&edit, c.value);
    const QString expected = QString::fromLatin1(keeping ? c.keepingText : c.plain);
    EXPECT_EQ(edit.text(), expected) << c.before << (keeping ? " keeping" : " plain");
    // An unchanged text fires no change, which would make the page act again.
    EXPECT_EQ(changes.count(), expected == QString::fromLatin1(c.before) ? 0 : 1);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, NumberTextShow,
                         ::testing::Values(ShowCase{"12", 12, "12", "12"}, ShowCase{"012", 12, "12", "012"},
                                           ShowCase{" 12", 12, "12", " 12"}, ShowCase{"+12", 12, "12", "12"},
                                           ShowCase{"13", 12, "12", "12"}, ShowCase{"", -5, "-5", "-5"}));
