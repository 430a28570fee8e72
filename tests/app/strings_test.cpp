// strings_test.cpp - language choice and the string table.
#include <gtest/gtest.h>

#include "app/strings.h"

struct LocaleCase {
  const char* locale;
  int32_t flag;
};

class LanguageFlag : public ::testing::TestWithParam<LocaleCase> {};

TEST_P(LanguageFlag, FromLocaleName) {
  EXPECT_EQ(strings::languageFlagForLocale(QString::fromUtf8(GetParam().locale)), GetParam().flag)
      << GetParam().locale;
}

INSTANTIATE_TEST_SUITE_P(Locales, LanguageFlag,
                         ::testing::Values(LocaleCase{"zh_CN.UTF-8", 2}, LocaleCase{"zh_CN", 2},
                                           LocaleCase{"zh_SG.UTF-8", 2}, LocaleCase{"zh_TW.UTF-8", 0},
                                           LocaleCase{"zh_HK", 0}, LocaleCase{"en_US.UTF-8", 9},
                                           LocaleCase{"en_GB", 9}, LocaleCase{"de_DE.UTF-8", 0},
                                           LocaleCase{"fr_FR@euro", 0}));

TEST(LanguageFlag, FromPrimaryAndSubLanguage) {
  EXPECT_EQ(strings::languageFlagFor(4, 2), 2);
  EXPECT_EQ(strings::languageFlagFor(4, 1), 0);  // traditional Chinese is not the Chinese layout
  EXPECT_EQ(strings::languageFlagFor(9, 1), 9);
  EXPECT_EQ(strings::languageFlagFor(9, 2), 9);
  EXPECT_EQ(strings::languageFlagFor(7, 1), 0);
}

TEST(LanguageFlag, SystemLocaleFromEnvironment) {
  const QByteArray saved = qgetenv("LC_ALL");
  qputenv("LC_ALL", "zh_CN.UTF-8");
  EXPECT_EQ(strings::systemLanguageFlag(), 2);
  qputenv("LC_ALL", "de_DE.UTF-8");
  EXPECT_EQ(strings::systemLanguageFlag(), 0);
  qputenv("LC_ALL", "en_US.UTF-8");
  EXPECT_EQ(strings::systemLanguageFlag(), 9);
  qputenv("LC_ALL", saved);
}

struct ErrorCase {
  int32_t code;
  const char* english;
  const char* chinese;
};

class ErrorText : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(ErrorText, BothLanguages) {
  EXPECT_EQ(strings::cameraErrorMessage(GetParam().code, false), QString::fromUtf8(GetParam().english));
  EXPECT_EQ(strings::cameraErrorMessage(GetParam().code, true), QString::fromUtf8(GetParam().chinese));
}

INSTANTIATE_TEST_SUITE_P(
    Table, ErrorText,
    ::testing::Values(
        ErrorCase{5, "Allocate memory error", "内存分配错误"},
        ErrorCase{103, "can not read camera info, please check it", "无法读取设备信息，请检查设备连接是否正常"},
        ErrorCase{106, "Can not write in for invalid link.", "由于设备连接不正常，无法写入参数，仅改变界面设置。"},
        ErrorCase{114, "the tag of Config File is incorrect", "配置文件标识错误"},
        ErrorCase{116, "The product ID is inconsistent with the link device", "配置文件的产品型号与连接设备不一致"},
        ErrorCase{118, "can not open the config file", "配置文件打开失败"},
        ErrorCase{120, "Invalidate Handle", "引用句柄无效"},
        ErrorCase{124, "invalidate typecode", "设备型号错误"},
        // Codes the table does not know still say what failed.
        ErrorCase{777, "error 777", "error 777"}, ErrorCase{0, "error 0", "error 0"}));
