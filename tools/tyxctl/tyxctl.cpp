// tyxctl.cpp - reads the command line and hands it to its command.
#include "tools/tyxctl/tyxctl.h"

#include "app/camera_state.h"
#include "tools/tyxctl/commands.h"
#include "tools/tyxctl/console.h"
#include "tools/tyxctl/tool_context.h"

namespace tyxctl {

int run(const QStringList& args, Console& console) {
  Invocation inv;
  QString error;
  if (!parseArguments(args, &inv, &error)) {
    console.err(QStringLiteral("tyxctl: ") + error);
    return kExitUsage;
  }
  if (inv.help) {
    for (const QString& line : helpText(inv.command, inv.sub, inv.chinese).split('\n')) console.out(line);
    return kExitOk;
  }
  // The shared camera code picks its messages by the program's language flag.
  cameraState().language = inv.chinese ? 2 : 9;
  // The records carry their own sizes, which the library checks on every
  // read; the program gives them their start values once, before any opening.
  cameraState().initRecords();
  const Context ctx(inv, console);
  const QString& c = inv.command;
  if (c == "ports") return runPorts(ctx);
  if (c == "net") return inv.sub == "scan" ? runNetScan(ctx) : runNetSetIp(ctx);
  if (c == "grab") return runGrab(ctx);
  if (c == "info") return runInfo(ctx);
  if (c == "get") return runGet(ctx);
  if (c == "set") return runSet(ctx);
  if (c == "memorize" || c == "recall" || c == "defaults") return runMemory(ctx);
  return runFile(ctx);
}

}  // namespace tyxctl
