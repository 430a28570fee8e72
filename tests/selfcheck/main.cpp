// main.cpp - vistrel-selfcheck DIR [--handshake]: the program's windows checked on a real display.
#include <cstdio>
#include <cstring>

#include "app/application.h"
#include "app/tyx_vistrel_dlg.h"
#include "selfcheck/self_check.h"

int main(int argc, char** argv) {
  const std::string program = programNameOf(argc, argv);
  QString dir;
  bool handshake = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--handshake") == 0) {
      handshake = true;
    } else if (argv[i][0] != '-' && dir.isEmpty()) {
      dir = QString::fromLocal8Bit(argv[i]);
    } else {
      std::fprintf(stderr, "%s: unexpected argument %s\n", program.c_str(), argv[i]);
      dir.clear();
      break;
    }
  }
  if (dir.isEmpty()) {
    std::fprintf(stderr,
                 "Usage: %s DIR [--handshake]\n"
                 "Starts the program's main window as vistrel does, shows every window in turn,\n"
                 "saves a picture of each into DIR and checks none is blank and every text has\n"
                 "its glyphs. --handshake: once the pictures are taken, write DIR/ready and wait\n"
                 "up to 10 s for DIR/done.\n",
                 program.c_str());
    return 2;
  }

  const std::unique_ptr<QApplication> app = startApplication(argc, argv, program);
  if (!app) return 2;
  CTyxVistrelDlg dialog;
  dialog.initialise();
  return runSelfCheck(dialog, dir, handshake);
}
