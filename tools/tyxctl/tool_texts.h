// tool_texts.h - the command-line tool's own texts in English and Chinese.
#pragma once

#include <QString>
#include <QStringList>

namespace tooltext {

// Every line the tool itself writes, beside the camera library's messages
// (those come from the program's string table). Placeholders are %1, %2...
enum class Id {
  UnknownCommand,
  UnknownOption,
  OptionNeedsValue,
  NeedsPort,
  UnknownPort,
  MissingArgument,
  ExtraArgument,
  BadLanguage,
  NoLibrary,
  NoCamera,
  NoCameraAnywhere,
  NotNetworkPort,
  BadAddress,
  NotUsbImage,
  BadImageName,
  BadCount,
  NoFrame,
  SaveFailed,
  Saved,
  Done,
  UnknownName,
  NotANumber,
  BadWord,
  ValueRefused,
  ValueRefusedAfter,
  NotOnThisCamera,
  NotAssignment,
  NoNetCameras,
  // Labels of the text output.
  LabelType,
  LabelModel,
  LabelVersion,
  LabelDriver,
  LabelPort,
  LabelTags,
  LabelLinked,
  LabelFile,
  LabelFrameRate,
};

// The text in the chosen language.
QString text(Id id, bool chinese);
// The text with %1, %2... replaced by values in one pass, so a value that
// itself holds "%2" (a typed port name, say) is never replaced again.
QString format(Id id, bool chinese, const QStringList& values);

// A value's line in the help's name list: its description's summary, or
// the Chinese line of the same name. Every described value has one (a
// test holds the two lists together).
QString valueSummary(const char* name, const char* english, bool chinese);
bool hasChineseSummary(const char* name);

}  // namespace tooltext
