// strings.cpp - string table entries in both languages.
#include "app/strings.h"

#include <QLocale>
#include <QtGlobal>

namespace strings {

int32_t languageFlagFor(int primaryLanguage, int subLanguage) {
  if (primaryLanguage == 4 && subLanguage == 2) return 2;
  if (primaryLanguage == 9) return 9;
  return 0;
}

int32_t languageFlagForLocale(const QString& localeName) {
  const QString name = localeName.section('.', 0, 0).section('@', 0, 0);
  const QString language = name.section('_', 0, 0).toLower();
  const QString region = name.section('_', 1, 1).toUpper();
  if (language == "zh") {
    // Simplified Chinese is the mainland and Singapore sub-language; a
    // traditional locale (Taiwan, Hong Kong) is another sub-language.
    const bool simplified = region.isEmpty() || region == "CN" || region == "SG" ||
                            name.contains("Hans", Qt::CaseInsensitive);
    return languageFlagFor(4, simplified ? 2 : 1);
  }
  if (language == "en") return languageFlagFor(9, 1);
  return languageFlagFor(0, 0);
}

int32_t systemLanguageFlag() {
  for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const QByteArray value = qgetenv(var);
    if (!value.isEmpty() && value != "C" && value != "POSIX") return languageFlagForLocale(QString::fromLocal8Bit(value));
    if (!value.isEmpty()) return languageFlagForLocale("en_US");
  }
  return languageFlagForLocale(QLocale::system().name());
}

struct Entry {
  int32_t code;
  const char* en;
  const char* zh;
};

static const Entry kErrors[] = {
    {5, "Allocate memory error", "内存分配错误"},
    {102, "can not open serial port", "无法打开端口"},
    {103, "can not read camera info, please check it", "无法读取设备信息，请检查设备连接是否正常"},
    {104, "Can not write the serial port.", "无法写端口"},
    {105, "can not read the serial port", "无法读端口"},
    {106, "Can not write in for invalid link.", "由于设备连接不正常，无法写入参数，仅改变界面设置。"},
    {113, "Can not open the specific camera.", "无法打开指定型号相机"},
    {114, "the tag of Config File is incorrect", "配置文件标识错误"},
    {116, "The product ID is inconsistent with the link device", "配置文件的产品型号与连接设备不一致"},
    {118, "can not open the config file", "配置文件打开失败"},
    {120, "Invalidate Handle", "引用句柄无效"},
    {122, "the input param is incorrect", "输入参数错误"},
    {124, "invalidate typecode", "设备型号错误"},
};

QString errorText(int32_t code, bool chinese) {
  for (const Entry& e : kErrors)
    if (e.code == code) return QString::fromUtf8(chinese ? e.zh : e.en);
  return {};
}

QString cameraErrorMessage(int32_t code, bool chinese) {
  QString text = errorText(code, chinese);
  if (text.isEmpty()) text = QString::asprintf("error %d", code);
  return text;
}

QString aboutItem(bool chinese) {
  return QString::fromUtf8(chinese ? "关于 Vistrel(&A)..." : "About Vistrel(&A)");
}

}  // namespace strings
