// main.cpp - the application object: runs the main dialog modally.
#include <QApplication>
#include <cstdio>
#include <cstring>

#include "app/smoke_run.h"
#include "app/tyx_vistrel_dlg.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
      qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    std::fprintf(stderr,
                 "vistrel: no display found (DISPLAY is not set).\n"
                 "Run it on a desktop, or under a virtual display:\n"
                 "  xvfb-run -a -s '-screen 0 1280x1024x24' %s\n",
                 argv[0]);
    return 2;
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName("Vistrel");
  // --smoke-shots DIR [--handshake]: the self-check of the installed program.
  QString smokeDir;
  bool handshake = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--smoke-shots") == 0 && i + 1 < argc) smokeDir = QString::fromLocal8Bit(argv[++i]);
    else if (std::strcmp(argv[i], "--handshake") == 0) handshake = true;
  }
  CTyxVistrelDlg dialog;
  // As a dialog initialises before it is first shown, the discovery runs with
  // only the progress window on screen.
  dialog.initialise();
  if (!smokeDir.isEmpty()) return runSmokeShots(dialog, smokeDir, handshake);
  dialog.run();
  return 0;
}
