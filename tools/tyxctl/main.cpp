// main.cpp - tyxctl, the camera settings from the command line.
#include <QCoreApplication>

#include "app/desktop.h"
#include "tools/tyxctl/console.h"
#include "tools/tyxctl/terminal_desktop.h"
#include "tools/tyxctl/tyxctl.h"

int main(int argc, char** argv) {
  // No windows: the tool runs in a shell, over ssh, from a production line's
  // scripts, where there may be no display at all.
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName("tyxctl");
  StdConsole console;
  TerminalDesktop desktop(console);
  Desktop::install(&desktop);
  QStringList args = QCoreApplication::arguments();
  args.removeFirst();
  const int code = tyxctl::run(args, console);
  Desktop::install(nullptr);
  return code;
}
