// tool_context.cpp - printing results and messages in the chosen form and language.
#include "tools/tyxctl/tool_context.h"

#include <QJsonDocument>

#include "app/strings.h"
#include "tools/tyxctl/console.h"

namespace tyxctl {

void Context::print(const QJsonObject& json, const QStringList& text) const {
  if (inv.json) {
    console_.out(QString::fromUtf8(QJsonDocument(json).toJson(QJsonDocument::Compact)));
    return;
  }
  for (const QString& line : text) console_.out(line);
}

void Context::say(const QString& message) const { console_.err(QStringLiteral("tyxctl: ") + message); }

void Context::say(tooltext::Id id, const QStringList& values) const {
  say(tooltext::format(id, chinese(), values));
}

QString libraryMessage(int32_t code, bool chinese) { return strings::cameraErrorMessage(code, chinese); }

}  // namespace tyxctl
