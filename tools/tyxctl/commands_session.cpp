// commands_session.cpp - memorize, recall, defaults, save and load: the camera session's operations.
#include <QFileInfo>

#include "app/camera_session.h"
#include "tools/tyxctl/camera_link.h"
#include "tools/tyxctl/commands.h"
#include "tools/tyxctl/tool_context.h"

namespace tyxctl {
namespace {

// A result line for an operation that printed nothing else: the port, the
// operation and, for a file, its full path.
void printDone(const Context& ctx, const QString& port, const QString& file = {}) {
  QJsonObject json{{"port", port}, {"operation", ctx.inv.command}};
  if (!file.isEmpty()) json["file"] = QFileInfo(file).absoluteFilePath();
  const QString what = file.isEmpty() ? ctx.inv.command : ctx.inv.command + " " + file;
  ctx.print(json, {tooltext::format(tooltext::Id::Done, ctx.chinese(), {port + " " + what})});
}

}  // namespace

int runMemory(const Context& ctx) {
  int exit = kExitOk;
  OpenCamera cam(ctx);
  if (!cam.open(&exit)) return exit;
  CameraSession& session = cameraSession();
  // A refusal has been told with the library's message by the session.
  const QString& c = ctx.inv.command;
  const SessionResult result = c == "memorize" ? session.memorize()
                               : c == "recall" ? session.recall()
                                               : session.restoreDefaults();
  if (!result) return kExitRefused;
  printDone(ctx, cam.port());
  return kExitOk;
}

int runFile(const Context& ctx) {
  int exit = kExitOk;
  OpenCamera cam(ctx);
  if (!cam.open(&exit)) return exit;
  const QString file = ctx.inv.args.value(0);
  CameraSession& session = cameraSession();
  const SessionResult result = ctx.inv.command == "save" ? session.saveFile(file) : session.loadFile(file);
  if (!result) return kExitRefused;
  printDone(ctx, cam.port(), file);
  return kExitOk;
}

}  // namespace tyxctl
