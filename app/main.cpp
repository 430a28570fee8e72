// main.cpp - the application object: runs the main dialog modally.
#include <QApplication>
#include <cstdio>

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
  CTyxVistrelDlg dialog;
  // As a dialog initialises before it is first shown, the discovery runs with
  // only the progress window on screen.
  dialog.initialise();
  return dialog.exec() == QDialog::Accepted ? 0 : 0;
}
