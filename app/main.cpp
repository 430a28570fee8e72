// main.cpp - the application object: runs the main dialog modally.
#include <cstdio>
#include <cstring>

#include "app/application.h"
#include "app/startup.h"
#include "app/tyx_vistrel_dlg.h"

namespace {

// Qt's own command-line options, which it also takes with two dashes.
bool isQtOption(const char* name) {
  static const char* const qt[] = {"platform",
                                   "platformpluginpath",
                                   "platformtheme",
                                   "plugin",
                                   "style",
                                   "stylesheet",
                                   "widgetcount",
                                   "reverse",
                                   "session",
                                   "display",
                                   "geometry",
                                   "title",
                                   "visual",
                                   "ncols",
                                   "cmap",
                                   "nograb",
                                   "dograb",
                                   "sync",
                                   "qwindowgeometry",
                                   "qwindowtitle",
                                   "qwindowicon"};
  for (const char* q : qt)
    if (std::strcmp(name, q) == 0) return true;
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string programName = programNameOf(argc, argv);
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::fputs(helpText(programName).c_str(), stdout);
      return 0;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      std::fputs(versionText().c_str(), stdout);
      return 0;
    }
    if (std::strncmp(argv[i], "--", 2) == 0 && !isQtOption(argv[i] + 2)) {
      std::fprintf(stderr, "%s: unknown option %s; see --help\n", programName.c_str(), argv[i]);
      return 2;
    }
  }

  const std::unique_ptr<QApplication> app = startApplication(argc, argv, programName);
  if (!app) return 2;
  CTyxVistrelDlg dialog;
  // As a dialog initialises before it is first shown, the discovery runs with
  // only the progress window on screen.
  dialog.initialise();
  dialog.run();
  return 0;
}
