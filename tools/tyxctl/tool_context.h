// tool_context.h - what every command of the tool works with.
#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include "tools/tyxctl/command_line.h"
#include "tools/tyxctl/tool_texts.h"

class Console;

namespace tyxctl {

class Context {
 public:
  Context(const Invocation& invocation, Console& console) : inv(invocation), console_(console) {}

  const Invocation& inv;
  bool chinese() const { return inv.chinese; }

  // One result: its JSON object on one line with --json, else its text lines.
  void print(const QJsonObject& json, const QStringList& text) const;
  // One message line on the message stream, "tyxctl: " first.
  void say(const QString& message) const;
  void say(tooltext::Id id, const QStringList& values = {}) const;
  QString text(tooltext::Id id) const { return tooltext::text(id, chinese()); }

 private:
  Console& console_;
};

// The one line that names a failure of the camera library and its
// string-table message in the chosen language.
QString libraryMessage(int32_t code, bool chinese);

}  // namespace tyxctl
